#pragma once
// When a subscribed web calendar is fetched again, which headers make the fetch
// conditional, what a finished fetch means for the cached copy, and the state text the
// subscription list shows. The fetching itself is the platform's; this holds only the
// decisions, so that they can be tested without a network.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ical/IcsCalendar.h"

namespace ov {

// A whole fetch may take this long before it is given up.
inline constexpr int kFetchTimeoutMs = 30'000;
// A body larger than this is refused (the most a calendar may hold).
inline constexpr uint64_t kMaxFetchBytes = IcsCalendar::kMaxBytes;

// What the server said about its copy; kept beside the cached copy so that the next
// fetch can ask for the calendar only when it has changed.
struct HttpValidators {
  std::string etag;
  std::string lastModified;
  bool operator==(const HttpValidators&) const = default;
};
std::string SerializeValidators(const HttpValidators& v);
HttpValidators ParseValidators(std::string_view text);
// The validators file's name beside a cached copy's name ("x.ics" -> "x.http").
std::string ValidatorsFileName(const std::string& cacheFileName);

// How a fetch ended, as the platform reports it.
struct FetchResult {
  enum class Kind {
    Response,       // the server answered: status, and a body for a 2xx status
    TooLarge,       // the body was (or announced itself) larger than kMaxFetchBytes
    TimedOut,       // no whole answer within kFetchTimeoutMs
    NoServer,       // the host name could not be resolved
    Refused,        // no connection could be made
    Certificate,    // the server's certificate was not accepted
    BadAddress,     // the address cannot be fetched
    OtherError,     // any other failure; `error` holds its code
    Cancelled,      // stopped because the program quits or the list changed
  };
  Kind kind = Kind::OtherError;
  int status = 0;
  std::string body;
  HttpValidators validators;  // from the response headers
  unsigned long error = 0;
};

// What to do with a finished fetch.
struct FetchDecision {
  bool useBody = false;  // the body becomes the calendar, the cached copy and its validators
  std::string state;     // the new state text; empty: the state is left as it was
};

// One web subscription's refreshes.
class CalendarRefresh {
 public:
  explicit CalendarRefresh(int refreshMinutes);

  // True when a fetch should start now: never fetched yet, forced, or refreshMinutes
  // passed since the last fetch began. Times are seconds of a monotonic clock.
  bool Due(int64_t nowSeconds) const;
  // Seconds until Due turns true (0 when it is already).
  int64_t SecondsUntilDue(int64_t nowSeconds) const;
  // "立即刷新": the next Due is true whatever the time.
  void Force() { forced_ = true; }

  // A fetch starts: its conditional headers ("Name: value"), sent only when there is a
  // cached copy that a "not modified" answer would stand for.
  std::vector<std::string> Begin(int64_t nowSeconds, const HttpValidators& cached, bool haveCache);
  // A fetch ended. `parsed` is the body read as a calendar (only for a 2xx response);
  // hour and minute are the PC's local time, for the state text.
  FetchDecision Finish(const FetchResult& result, const IcsCalendar* parsed, int hour, int minute);

  bool Fetching() const { return fetching_; }

 private:
  int refreshMinutes_;
  bool fetched_ = false;
  bool forced_ = false;
  bool fetching_ = false;
  bool haveCache_ = false;
  int64_t lastStart_ = 0;
};

// State texts of the subscription list.
inline constexpr char kStateUpdating[] = "正在更新...";
inline constexpr char kStateOff[] = "已关闭";
inline constexpr char kStateNotRead[] = "尚未读取";
std::string UpdatedState(int hour, int minute);  // "已更新 10:42"
// The state of a calendar just read: its first unreadable line, or that it is no calendar,
// or updated at the given time.
std::string ReadState(const IcsCalendar& calendar, int hour, int minute);
// "无法连接: …", "文件太大 …", "无法下载: …" for a failed fetch.
std::string FailureState(const FetchResult& result);

}  // namespace ov
