#pragma once
// Date-times as text, "2026-12-09T09:25:00.000" (local time, milliseconds optional when
// read), for small files a person may read and for the test clock's start time.
#include <optional>
#include <string>
#include <string_view>

namespace ov {

std::string FormatIsoDateTime(double dateTime);
// nullopt for anything but "YYYY-MM-DDTHH:MM:SS" or "YYYY-MM-DDTHH:MM:SS.mmm" naming a
// real moment of 0001..9999.
std::optional<double> ParseIsoDateTime(std::string_view text);

}  // namespace ov
