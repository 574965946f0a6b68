#pragma once
// The user's calendar subscriptions: a local .ics file or a web address each, stored
// beside the other settings, with a cached copy of each calendar in the data folder.
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/SettingsStore.h"

namespace ov {

struct Subscription {
  std::string name;          // shown in the list; the calendar's own name when empty
  std::string source;        // a file path, or an http://, https:// or webcal:// address
  uint32_t rgb = 0;          // colour of its lines, 0xRRGGBB
  bool enabled = true;
  int refreshMinutes = 60;   // 15 minutes to 24 hours
  bool operator==(const Subscription&) const = default;
};

inline constexpr char kCalendarsFolderName[] = "Calendars";
inline constexpr int kMinRefreshMinutes = 15;
inline constexpr int kMaxRefreshMinutes = 24 * 60;
inline constexpr uint32_t kMaxSubscriptionCount = 64;

// The colour a new subscription gets: a small fixed palette, in turn.
uint32_t SubscriptionPaletteColor(size_t index);
bool IsWebSource(const std::string& source);
// The address to fetch: webcal:// is fetched as https://.
std::string FetchAddress(const std::string& source);
// The source as it may be written to a log: a web address without its path and query
// (they often carry a secret token), a file by its name only.
std::string SourceForLog(const std::string& source);
// The cached copy's file name in the Calendars folder, stable for the source.
std::string CacheFileName(const std::string& source);

std::vector<Subscription> ReadSubscriptions(const ISettingsStore& store);
bool WriteSubscriptions(ISettingsStore& store, const std::vector<Subscription>& list);

}  // namespace ov

namespace ov {

// Why a source typed in the subscription dialog cannot be used; empty when it can.
std::string SubscriptionSourceProblem(const std::string& source);
// The name the list shows: the user's, else the calendar's own (X-WR-CALNAME), else the
// file's name without its extension or the web address's host.
std::string SubscriptionDisplayName(const Subscription& s, const std::string& calendarName);

}  // namespace ov
