#include "win/ical/CalendarSubscriptions.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "core/ical/CalendarRefresh.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "win/ical/HttpFetch.h"

namespace ov {

namespace fs = std::filesystem;

struct CalendarSubscriptions::Shared {
  Shared(SubscribedEvents& e, fs::path f, HWND n) : events(e), folder(std::move(f)), notify(n) {}
  // Touched by the worker only while it holds the mutex and stop is false: the owner may
  // be gone once stop is set.
  SubscribedEvents& events;
  const fs::path folder;
  const HWND notify;
  int timeoutMs = kFetchTimeoutMs;

  mutable std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable finished;
  std::vector<Subscription> pending;
  bool hasPending = false;
  bool refreshNow = false;
  bool stop = false;
  bool done = false;
  std::map<std::string, std::string> states;  // by source
  std::map<std::string, std::string> names;   // the calendars' own names, by source
  FetchCancel cancel;
};

namespace {

// A local file is looked at this often for changes.
constexpr auto kPollInterval = std::chrono::seconds(30);
// The destructor waits this long for a fetch to end after cancelling it.
constexpr auto kStopWait = std::chrono::seconds(2);

int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The fetch time-out; tests shorten it through OV_TEST_FETCH_TIMEOUT_MS.
int FetchTimeoutMs() {
  wchar_t value[16] = {};
  const DWORD n = GetEnvironmentVariableW(L"OV_TEST_FETCH_TIMEOUT_MS", value, 16);
  if (n == 0 || n >= 16) return kFetchTimeoutMs;
  int ms = 0;
  for (const wchar_t* c = value; *c >= L'0' && *c <= L'9' && ms <= kFetchTimeoutMs; ++c) ms = ms * 10 + (*c - L'0');
  return ms >= 100 && ms <= kFetchTimeoutMs ? ms : kFetchTimeoutMs;
}

struct Entry {
  explicit Entry(Subscription s) : sub(std::move(s)), refresh(sub.refreshMinutes) {}
  Subscription sub;
  std::shared_ptr<const IcsCalendar> calendar;
  fs::file_time_type seen{};
  bool loaded = false;
  CalendarRefresh refresh;
  std::string state = kStateNotRead;
};

// The file's bytes, or nothing when it cannot be read or is too large to be a calendar.
std::optional<std::string> ReadCalendarFile(const fs::path& file) { return ReadFileBytes(file, IcsCalendar::kMaxBytes); }

void LocalTime(int& hour, int& minute) {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  hour = t.wHour;
  minute = t.wMinute;
}

class Worker {
 public:
  explicit Worker(std::shared_ptr<CalendarSubscriptions::Shared> s) : s_(std::move(s)) {}
  void Run();

 private:
  bool RefreshFile(Entry& e);
  bool LoadCache(Entry& e);
  bool Fetch(Entry& e);
  void PublishStates(bool eventsChanged, std::vector<SubscribedEvents::Source>* sources);
  // The cached copies of web calendars not yet loaded, all before any fetch: a fetch that
  // stalls does not keep the others' events off the desktop. True when one was loaded.
  bool LoadCaches();
  fs::path CacheOf(const Entry& e) const { return s_->folder / CacheFileName(e.sub.source); }

  std::shared_ptr<CalendarSubscriptions::Shared> s_;
  std::vector<Entry> entries_;
};

bool Worker::LoadCache(Entry& e) {
  if (e.loaded) return false;
  e.loaded = true;
  auto bytes = ReadCalendarFile(CacheOf(e));
  e.calendar = std::make_shared<const IcsCalendar>(IcsCalendar::Parse(bytes ? *bytes : std::string()));
  return bytes.has_value();
}

bool Worker::RefreshFile(Entry& e) {
  const fs::path cache = CacheOf(e);
  const fs::path file = PathFromUtf8(e.sub.source);
  std::error_code ec;
  const auto time = fs::last_write_time(file, ec);
  if (!ec && e.loaded && time == e.seen) return false;
  std::optional<std::string> bytes;
  if (!ec) bytes = ReadCalendarFile(file);
  int hour = 0, minute = 0;
  LocalTime(hour, minute);
  if (!bytes) {
    e.state = "无法读取文件";
    return LoadCache(e);  // the last good copy, read once; kept after that
  }
  e.seen = time;
  // The last good copy, for when the file is away (a network drive, a removed stick).
  std::error_code dirEc;
  fs::create_directories(s_->folder, dirEc);
  WriteFileAtomic(cache, *bytes);
  e.loaded = true;
  e.calendar = std::make_shared<const IcsCalendar>(IcsCalendar::Parse(*bytes));
  e.state = ReadState(*e.calendar, hour, minute);
  return true;
}

bool Worker::Fetch(Entry& e) {
  bool changed = LoadCache(e);
  if (!e.refresh.Due(NowSeconds())) return changed;
  const fs::path cache = CacheOf(e);
  const fs::path validatorsFile = s_->folder / ValidatorsFileName(CacheFileName(e.sub.source));
  std::error_code ec;
  const bool haveCache = fs::exists(cache, ec);
  const HttpValidators cached = ParseValidators(ReadFileBytes(validatorsFile, 64 * 1024).value_or(""));
  const std::string before = e.state;
  e.state = kStateUpdating;
  PublishStates(false, nullptr);
  const auto headers = e.refresh.Begin(NowSeconds(), cached, haveCache);
  const FetchResult result = FetchUrl(FetchAddress(e.sub.source), headers, s_->timeoutMs, kMaxFetchBytes, s_->cancel);
  std::optional<IcsCalendar> parsed;
  if (result.kind == FetchResult::Kind::Response && result.status >= 200 && result.status <= 299)
    parsed = IcsCalendar::Parse(result.body);
  int hour = 0, minute = 0;
  LocalTime(hour, minute);
  const FetchDecision d = e.refresh.Finish(result, parsed ? &*parsed : nullptr, hour, minute);
  e.state = d.state.empty() ? before : d.state;
  if (!d.useBody) return changed;
  fs::create_directories(s_->folder, ec);
  // The copy first, then what the server said about it: validators never stand for a
  // copy that is not there.
  if (WriteFileAtomic(cache, result.body)) WriteFileAtomic(validatorsFile, SerializeValidators(result.validators));
  e.calendar = std::make_shared<const IcsCalendar>(std::move(*parsed));
  return true;
}

void Worker::PublishStates(bool eventsChanged, std::vector<SubscribedEvents::Source>* sources) {
  std::map<std::string, std::string> states, names;
  for (const Entry& e : entries_) {
    states[e.sub.source] = e.state;
    if (e.calendar) names[e.sub.source] = e.calendar->Name();
  }
  std::lock_guard lock(s_->mutex);
  if (s_->stop) return;
  const bool statesChanged = states != s_->states || names != s_->names;
  s_->states = std::move(states);
  s_->names = std::move(names);
  if (sources) s_->events.SetSources(std::move(*sources));
  if (eventsChanged || statesChanged) PostMessageW(s_->notify, kMsgCalendarsChanged, eventsChanged ? 1 : 0, 0);
}

bool Worker::LoadCaches() {
  bool loaded = false;
  for (Entry& e : entries_) {
    if (!IsWebSource(e.sub.source)) continue;
    try {
      loaded |= LoadCache(e);
    } catch (...) {
    }
  }
  if (!loaded) return false;
  std::vector<SubscribedEvents::Source> sources;
  for (const Entry& e : entries_)
    if (e.calendar) sources.push_back({e.calendar, e.sub.rgb});
  PublishStates(true, &sources);
  return true;
}

void Worker::Run() {
  std::unique_lock lock(s_->mutex);
  while (!s_->stop) {
    bool changed = false;
    if (s_->hasPending) {
      // Entries of unchanged subscriptions keep their calendar and their schedule.
      std::vector<Entry> next;
      for (Subscription& sub : s_->pending) {
        if (!sub.enabled) continue;
        auto same = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
          return e.sub.source == sub.source && e.sub.refreshMinutes == sub.refreshMinutes;
        });
        if (same != entries_.end()) {
          next.push_back(std::move(*same));
          next.back().sub = std::move(sub);
          entries_.erase(same);
        } else {
          next.emplace_back(std::move(sub));
        }
      }
      // No subscriptions before or after (a start without any): the cells have no lines
      // to change, and a rebuild of the wallpaper for nothing is skipped.
      changed = !entries_.empty() || !next.empty();
      entries_ = std::move(next);
      s_->hasPending = false;
      s_->cancel.Reset();
    }
    if (s_->refreshNow) {
      for (Entry& e : entries_) e.refresh.Force();
      s_->refreshNow = false;
    }
    lock.unlock();
    LoadCaches();
    std::vector<SubscribedEvents::Source> sources;
    int64_t waitSeconds = kPollInterval.count();
    for (Entry& e : entries_) {
      // A calendar that cannot be read loses only itself; nothing leaves this thread.
      try {
        changed |= IsWebSource(e.sub.source) ? Fetch(e) : RefreshFile(e);
      } catch (...) {
        e.state = "无法读取";
      }
      if (IsWebSource(e.sub.source)) waitSeconds = std::min(waitSeconds, e.refresh.SecondsUntilDue(NowSeconds()));
      sources.push_back({e.calendar, e.sub.rgb});
      // A quit or a new list does not wait for the other calendars.
      if (s_->cancel.Cancelled()) break;
    }
    if (!s_->cancel.Cancelled()) PublishStates(changed, changed ? &sources : nullptr);
    lock.lock();
    if (s_->stop || s_->hasPending || s_->refreshNow) continue;
    s_->wake.wait_for(lock, std::chrono::seconds(std::max<int64_t>(1, waitSeconds)),
                      [this] { return s_->stop || s_->hasPending || s_->refreshNow; });
  }
  s_->done = true;
  s_->finished.notify_all();
}

}  // namespace

CalendarSubscriptions::CalendarSubscriptions(SubscribedEvents& events, fs::path calendarsFolder, HWND notify)
    : shared_(std::make_shared<Shared>(events, std::move(calendarsFolder), notify)) {
  shared_->timeoutMs = FetchTimeoutMs();
}

CalendarSubscriptions::~CalendarSubscriptions() {
  if (!worker_.joinable()) return;
  std::unique_lock lock(shared_->mutex);
  shared_->stop = true;
  lock.unlock();
  shared_->cancel.Cancel();
  shared_->wake.notify_all();
  lock.lock();
  const bool ended = shared_->finished.wait_for(lock, kStopWait, [this] { return shared_->done; });
  lock.unlock();
  // A fetch that the system does not let go of at once ends within its time-out; the
  // worker holds its own share of the state and touches nothing else after stop.
  if (ended) worker_.join();
  else worker_.detach();
}

void CalendarSubscriptions::Start(std::vector<Subscription> list) {
  // Cancelled before the new list is there: the worker resets the cancel only when it
  // takes the list, so no cancel outlives the list it was meant for.
  shared_->cancel.Cancel();
  {
    std::lock_guard lock(shared_->mutex);
    shared_->pending = std::move(list);
    shared_->hasPending = true;
  }
  shared_->wake.notify_all();
  if (!worker_.joinable()) {
    worker_ = std::thread([s = shared_] {
      try {
        Worker(s).Run();
      } catch (...) {
        std::lock_guard lock(s->mutex);
        s->done = true;
        s->finished.notify_all();
      }
    });
  }
}

void CalendarSubscriptions::RefreshNow() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->refreshNow = true;
  }
  shared_->wake.notify_all();
}

std::string CalendarSubscriptions::StateOf(const Subscription& s) const {
  if (!s.enabled) return kStateOff;
  std::lock_guard lock(shared_->mutex);
  auto it = shared_->states.find(s.source);
  return it == shared_->states.end() ? kStateNotRead : it->second;
}

}  // namespace ov

namespace ov {

std::string CalendarSubscriptions::CalendarNameOf(const Subscription& s) const {
  std::lock_guard lock(shared_->mutex);
  auto it = shared_->names.find(s.source);
  return it == shared_->names.end() ? std::string() : it->second;
}

}  // namespace ov
