#pragma once
// One GET of a web calendar through WinHTTP: the system's proxy settings and certificate
// store, a bound on the whole fetch's time and on the body's size, and cancellation
// from another thread.
#include <windows.h>
#include <winhttp.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/ical/CalendarRefresh.h"

namespace ov {

struct FetchJob;

// Lets another thread stop the fetch under way (its caller returns at once) and any
// fetch that would start after it, until Reset.
class FetchCancel {
 public:
  void Cancel();
  void Reset();
  bool Cancelled();
  // The fetch under way registers itself; false when cancelled already.
  bool Begin(std::shared_ptr<FetchJob> job);
  void End();

 private:
  std::mutex mutex_;
  std::shared_ptr<FetchJob> job_;
  bool cancelled_ = false;
};

// Fetches url (http:// or https://) with the extra request headers ("Name: value").
FetchResult FetchUrl(const std::string& url, const std::vector<std::string>& headers, int timeoutMs,
                     uint64_t maxBytes, FetchCancel& cancel);

}  // namespace ov
