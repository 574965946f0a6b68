#pragma once
// Windows time-zone names ("China Standard Time", as Outlook and Exchange write them in
// TZID) and the IANA zone each stands for.
#include <string_view>

namespace ov {

// The IANA name ("Asia/Shanghai"), or empty when the name is not a Windows zone name.
std::string_view IanaZoneForWindowsName(std::string_view windowsName);

}  // namespace ov
