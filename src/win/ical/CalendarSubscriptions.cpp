#include "win/ical/CalendarSubscriptions.h"

#include <chrono>
#include <system_error>

#include "core/util/FileIo.h"
#include "core/util/Paths.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

// A local file is looked at this often for changes.
constexpr auto kPollInterval = std::chrono::seconds(30);

// The file's bytes, or nothing when it cannot be read or is too large to be a calendar.
std::optional<std::string> ReadCalendarFile(const fs::path& file) { return ReadFileBytes(file, IcsCalendar::kMaxBytes); }

}  // namespace

CalendarSubscriptions::CalendarSubscriptions(SubscribedEvents& events, fs::path calendarsFolder, HWND notify)
    : events_(events), folder_(std::move(calendarsFolder)), notify_(notify) {}

CalendarSubscriptions::~CalendarSubscriptions() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void CalendarSubscriptions::Start(std::vector<Subscription> list) {
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(list);
    hasPending_ = true;
  }
  wake_.notify_all();
  if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
}

bool CalendarSubscriptions::Refresh(Entry& e) {
  const fs::path cache = folder_ / CacheFileName(e.sub.source);
  std::optional<std::string> bytes;
  if (!IsWebSource(e.sub.source)) {
    const fs::path file = PathFromUtf8(e.sub.source);
    std::error_code ec;
    const auto time = fs::last_write_time(file, ec);
    if (!ec && e.loaded && time == e.seen) return false;
    if (!ec) bytes = ReadCalendarFile(file);
    if (bytes) {
      e.seen = time;
      // The last good copy, for when the file is away (a network drive, a removed stick).
      std::error_code dirEc;
      fs::create_directories(folder_, dirEc);
      WriteFileAtomic(cache, *bytes);
    }
  }
  if (!bytes && e.loaded) return false;  // keep what was read before
  if (!bytes) bytes = ReadCalendarFile(cache);
  e.loaded = true;
  e.calendar = std::make_shared<const IcsCalendar>(IcsCalendar::Parse(bytes ? *bytes : std::string()));
  return true;
}

void CalendarSubscriptions::Run() {
  std::vector<Entry> entries;
  std::unique_lock lock(mutex_);
  while (!stop_) {
    if (hasPending_) {
      entries.clear();
      for (Subscription& s : pending_)
        if (s.enabled) entries.push_back({std::move(s), nullptr, {}, false});
      hasPending_ = false;
    }
    lock.unlock();
    bool changed = false;
    std::vector<SubscribedEvents::Source> sources;
    for (Entry& e : entries) {
      // A calendar that cannot be read loses only itself; nothing leaves this thread.
      try {
        changed |= Refresh(e);
      } catch (...) {
      }
      sources.push_back({e.calendar, e.sub.rgb});
    }
    if (changed) {
      events_.SetSources(std::move(sources));
      PostMessageW(notify_, kMsgCalendarsChanged, 0, 0);
    }
    lock.lock();
    wake_.wait_for(lock, kPollInterval, [this] { return stop_ || hasPending_; });
  }
}

}  // namespace ov
