#include "core/ical/Subscriptions.h"

#include <algorithm>
#include <cstdio>

namespace ov {
namespace {

constexpr char kSection[] = "Calendars";
constexpr uint32_t kPalette[] = {0x1E88E5, 0xE53935, 0x43A047, 0xFB8C00, 0x8E24AA, 0x00ACC1, 0x6D4C41, 0xD81B60};

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

bool StartsWith(const std::string& s, const char* prefix) { return Lower(s).rfind(prefix, 0) == 0; }

std::string ReadText(const ISettingsStore& store, const std::string& name) {
  auto v = store.Read(kSection, name);
  return v && v->kind == StoredValue::Kind::String ? v->text : std::string();
}

std::optional<uint32_t> ReadNumber(const ISettingsStore& store, const std::string& name) {
  auto v = store.Read(kSection, name);
  if (v && v->kind == StoredValue::Kind::Dword) return v->dword;
  return std::nullopt;
}

}  // namespace

uint32_t SubscriptionPaletteColor(size_t index) { return kPalette[index % std::size(kPalette)]; }

bool IsWebSource(const std::string& source) {
  return StartsWith(source, "http://") || StartsWith(source, "https://") || StartsWith(source, "webcal://");
}

std::string FetchAddress(const std::string& source) {
  if (StartsWith(source, "webcal://")) return "https://" + source.substr(9);
  return source;
}

std::string SourceForLog(const std::string& source) {
  if (IsWebSource(source)) {
    const size_t scheme = source.find("://") + 3;
    const size_t hostEnd = source.find_first_of("/?#", scheme);
    // user:password@ before the host is left out too.
    std::string host = source.substr(scheme, hostEnd == std::string::npos ? std::string::npos : hostEnd - scheme);
    if (size_t at = host.rfind('@'); at != std::string::npos) host = host.substr(at + 1);
    return source.substr(0, scheme) + host + (hostEnd == std::string::npos ? "" : "/…");
  }
  const size_t slash = source.find_last_of("/\\");
  return slash == std::string::npos ? source : source.substr(slash + 1);
}

std::string CacheFileName(const std::string& source) {
  uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : source) h = (h ^ c) * 1099511628211ULL;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%016llx.ics", static_cast<unsigned long long>(h));
  return buf;
}

std::vector<Subscription> ReadSubscriptions(const ISettingsStore& store) {
  std::vector<Subscription> out;
  const uint32_t count = std::min(ReadNumber(store, "Count").value_or(0), kMaxSubscriptionCount);
  for (uint32_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    Subscription s;
    s.source = ReadText(store, "Source" + n);
    if (s.source.empty()) continue;
    s.name = ReadText(store, "Name" + n);
    s.rgb = ReadNumber(store, "Color" + n).value_or(SubscriptionPaletteColor(i)) & 0xFFFFFF;
    s.enabled = ReadNumber(store, "Enabled" + n).value_or(1) != 0;
    s.refreshMinutes = int(std::clamp<uint32_t>(ReadNumber(store, "RefreshMinutes" + n).value_or(60),
                                                kMinRefreshMinutes, kMaxRefreshMinutes));
    out.push_back(std::move(s));
  }
  return out;
}

bool WriteSubscriptions(ISettingsStore& store, const std::vector<Subscription>& list) {
  bool ok = true;
  const uint32_t count = std::min<uint32_t>(uint32_t(list.size()), kMaxSubscriptionCount);
  for (uint32_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    const Subscription& s = list[i];
    ok &= store.Write(kSection, "Name" + n, StoredValue::String(s.name));
    ok &= store.Write(kSection, "Source" + n, StoredValue::String(s.source));
    ok &= store.Write(kSection, "Color" + n, StoredValue::Dword(s.rgb & 0xFFFFFF));
    ok &= store.Write(kSection, "Enabled" + n, StoredValue::Dword(s.enabled ? 1 : 0));
    ok &= store.Write(kSection, "RefreshMinutes" + n,
                      StoredValue::Dword(uint32_t(std::clamp(s.refreshMinutes, kMinRefreshMinutes, kMaxRefreshMinutes))));
  }
  ok &= store.Write(kSection, "Count", StoredValue::Dword(count));
  return ok;
}

}  // namespace ov

namespace ov {

std::string SubscriptionSourceProblem(const std::string& source) {
  const size_t first = source.find_first_not_of(" \t");
  if (first == std::string::npos) return "请输入日历文件或网址。";
  if (IsWebSource(source)) {
    const size_t scheme = source.find("://") + 3;
    if (source.find_first_of("/?#", scheme) == scheme || scheme >= source.size()) return "网址中缺少服务器名称。";
    if (source.find_first_of(" \t\r\n") != std::string::npos) return "网址中不能有空格。";
    return {};
  }
  if (source.find("://") != std::string::npos) return "只能订阅 http://、https:// 或 webcal:// 网址。";
  return {};
}

std::string SubscriptionDisplayName(const Subscription& s, const std::string& calendarName) {
  if (!s.name.empty()) return s.name;
  if (!calendarName.empty()) return calendarName;
  if (IsWebSource(s.source)) {
    std::string host = SourceForLog(s.source);
    host = host.substr(host.find("://") + 3);
    const size_t end = host.find('/');
    return end == std::string::npos ? host : host.substr(0, end);
  }
  std::string file = SourceForLog(s.source);
  const size_t dot = file.rfind('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

}  // namespace ov
