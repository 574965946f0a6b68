#include "core/ical/CalendarRefresh.h"

#include <algorithm>

#include "core/util/Text.h"

namespace ov {
namespace {

// A header value on one line: a server's value must not smuggle another header into
// our request.
std::string OneLine(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != '\r' && c != '\n') out += c;
  const size_t first = out.find_first_not_of(" \t");
  const size_t last = out.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
}

}  // namespace

std::string SerializeValidators(const HttpValidators& v) {
  std::string out;
  if (!v.etag.empty()) out += "ETag: " + OneLine(v.etag) + "\r\n";
  if (!v.lastModified.empty()) out += "Last-Modified: " + OneLine(v.lastModified) + "\r\n";
  return out;
}

HttpValidators ParseValidators(std::string_view text) {
  HttpValidators v;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string name = OneLine(line.substr(0, colon));
    const std::string value = OneLine(line.substr(colon + 1));
    if (name == "ETag") v.etag = value;
    else if (name == "Last-Modified") v.lastModified = value;
  }
  return v;
}

std::string ValidatorsFileName(const std::string& cacheFileName) {
  const size_t dot = cacheFileName.rfind('.');
  return (dot == std::string::npos ? cacheFileName : cacheFileName.substr(0, dot)) + ".http";
}

CalendarRefresh::CalendarRefresh(int refreshMinutes) : refreshMinutes_(refreshMinutes) {}

bool CalendarRefresh::Due(int64_t nowSeconds) const { return !fetching_ && SecondsUntilDue(nowSeconds) == 0; }

int64_t CalendarRefresh::SecondsUntilDue(int64_t nowSeconds) const {
  if (!fetched_ || forced_) return 0;
  return std::max<int64_t>(0, lastStart_ + int64_t(refreshMinutes_) * 60 - nowSeconds);
}

std::vector<std::string> CalendarRefresh::Begin(int64_t nowSeconds, const HttpValidators& cached, bool haveCache) {
  fetching_ = true;
  forced_ = false;
  lastStart_ = nowSeconds;
  haveCache_ = haveCache;
  std::vector<std::string> headers;
  if (!haveCache) return headers;
  if (!cached.etag.empty()) headers.push_back("If-None-Match: " + OneLine(cached.etag));
  if (!cached.lastModified.empty()) headers.push_back("If-Modified-Since: " + OneLine(cached.lastModified));
  return headers;
}

FetchDecision CalendarRefresh::Finish(const FetchResult& result, const IcsCalendar* parsed, int hour, int minute) {
  fetching_ = false;
  if (result.kind == FetchResult::Kind::Cancelled) {
    forced_ = true;  // not an attempt: fetched again as soon as the worker may
    return {};
  }
  fetched_ = true;
  if (result.kind != FetchResult::Kind::Response) return {false, FailureState(result)};
  const int status = result.status;
  if (status == 304 && haveCache_) return {false, UpdatedState(hour, minute)};
  if (status < 200 || status > 299) return {false, FailureState(result)};
  if (!parsed) return {false, FailureState(result)};
  // A body that holds no calendar at all keeps the last good copy; one with unreadable
  // lines replaces it, as every event that could be read is in it.
  return {!parsed->Unreadable(), ReadState(*parsed, hour, minute)};
}

std::string UpdatedState(int hour, int minute) { return Format("已更新 %02d:%02d", hour, minute); }

std::string ReadState(const IcsCalendar& calendar, int hour, int minute) {
  if (calendar.Unreadable()) return "无法读取: 不是日历";
  if (calendar.FirstBadLine() > 0) return Format("第 %d 行无法读取", calendar.FirstBadLine());
  return UpdatedState(hour, minute);
}

std::string FailureState(const FetchResult& r) {
  using K = FetchResult::Kind;
  switch (r.kind) {
    case K::TooLarge: return Format("文件太大 (超过 %d MB)", int(kMaxFetchBytes >> 20));
    case K::TimedOut: return "无法连接: 超时";
    case K::NoServer: return "无法连接: 找不到服务器";
    case K::Refused: return "无法连接: 没有回应";
    case K::Certificate: return "无法连接: 服务器的证书无效";
    case K::BadAddress: return "无法连接: 地址无效";
    case K::OtherError: return Format("无法连接: 错误 %lu", r.error);
    case K::Cancelled: return std::string();
    case K::Response: break;
  }
  const int s = r.status;
  if (s == 401 || s == 403) return Format("无法下载: 没有访问权限 (%d)", s);
  if (s == 404 || s == 410) return Format("无法下载: 找不到日历 (%d)", s);
  if (s >= 500 && s <= 599) return Format("无法下载: 服务器错误 (%d)", s);
  return Format("无法下载: 服务器回答 %d", s);
}

}  // namespace ov
