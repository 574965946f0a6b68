#include "win/ical/HttpFetch.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <thread>

#include "win/platform/Utf16.h"

namespace ov {
namespace {

using K = FetchResult::Kind;

class Handle {
 public:
  explicit Handle(HINTERNET h = nullptr) : h_(h) {}
  ~Handle() {
    if (h_) WinHttpCloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return h_; }
  HINTERNET release() {
    HINTERNET h = h_;
    h_ = nullptr;
    return h;
  }

 private:
  HINTERNET h_;
};

FetchResult Failure(DWORD error) {
  FetchResult r;
  r.error = error;
  switch (error) {
    // Some WinHTTP implementations pass the socket's own error on (WSAETIMEDOUT,
    // WSAHOST_NOT_FOUND, WSAECONNREFUSED, WSAECONNRESET).
    case ERROR_WINHTTP_TIMEOUT:
    case 10060: r.kind = K::TimedOut; break;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case 11001: r.kind = K::NoServer; break;
    case 10061:
    case 10054:
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR: r.kind = K::Refused; break;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR: r.kind = K::Certificate; break;
    case ERROR_WINHTTP_OPERATION_CANCELLED:
    case ERROR_INVALID_HANDLE: r.kind = K::Cancelled; break;
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME: r.kind = K::BadAddress; break;
    default: r.kind = K::OtherError; break;
  }
  return r;
}

std::wstring QueryText(HINTERNET request, DWORD info) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0 || bytes > 8192) return {};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes, WINHTTP_NO_HEADER_INDEX))
    return {};
  text.resize(bytes / sizeof(wchar_t));
  return text;
}

// True when text is a decimal number larger than limit.
bool DecimalOver(const std::wstring& text, uint64_t limit) {
  uint64_t n = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    n = n * 10 + uint64_t(c - L'0');
    if (n > limit) return true;
  }
  return false;
}

// The proxy the user's Internet settings name for this address: automatic detection or a
// configuration script where those are on, else the fixed proxy. Without either, the
// session's default (the machine's WinHTTP proxy) stands.
void ApplyUserProxy(HINTERNET session, HINTERNET request, const std::wstring& url) {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG ie{};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&ie)) return;
  bool applied = false;
  if (ie.fAutoDetect || ie.lpszAutoConfigUrl) {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (ie.fAutoDetect) {
      options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
      options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    if (ie.lpszAutoConfigUrl) {
      options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
      options.lpszAutoConfigUrl = ie.lpszAutoConfigUrl;
    }
    options.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO info{};
    if (WinHttpGetProxyForUrl(session, url.c_str(), &options, &info)) {
      applied = WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info) != FALSE;
      if (info.lpszProxy) GlobalFree(info.lpszProxy);
      if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
    }
  }
  if (!applied && ie.lpszProxy) {
    WINHTTP_PROXY_INFO info{};
    info.dwAccessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    info.lpszProxy = ie.lpszProxy;
    info.lpszProxyBypass = ie.lpszProxyBypass;
    WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
  }
  if (ie.lpszAutoConfigUrl) GlobalFree(ie.lpszAutoConfigUrl);
  if (ie.lpszProxy) GlobalFree(ie.lpszProxy);
  if (ie.lpszProxyBypass) GlobalFree(ie.lpszProxyBypass);
}

}  // namespace

// One fetch, run on a thread of its own so that the caller can stop waiting for it at
// once: closing a request's handle does not end a blocked call on every system. An
// abandoned fetch ends within its own time-outs and touches nothing but this record.
struct FetchJob {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  bool stopped = false;
  HINTERNET request = nullptr;
  FetchResult result;

  // The fetch registers its request handle; false when the job was stopped already.
  bool Attach(HINTERNET h) {
    std::lock_guard lock(mutex);
    if (stopped) return false;
    request = h;
    return true;
  }
  void Stop() {
    std::lock_guard lock(mutex);
    stopped = true;
    if (request) WinHttpCloseHandle(request);
    request = nullptr;
    changed.notify_all();
  }
  void Finish(FetchResult r) {
    std::lock_guard lock(mutex);
    if (request) WinHttpCloseHandle(request);
    request = nullptr;
    result = std::move(r);
    done = true;
    changed.notify_all();
  }
};

void FetchCancel::Cancel() {
  std::shared_ptr<FetchJob> job;
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    job = job_;
  }
  if (job) job->Stop();
}

void FetchCancel::Reset() {
  std::lock_guard lock(mutex_);
  cancelled_ = false;
}

bool FetchCancel::Cancelled() {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

bool FetchCancel::Begin(std::shared_ptr<FetchJob> job) {
  std::lock_guard lock(mutex_);
  if (cancelled_) return false;
  job_ = std::move(job);
  return true;
}

void FetchCancel::End() {
  std::lock_guard lock(mutex_);
  job_.reset();
}

namespace {

FetchResult RunFetch(FetchJob& job, const std::string& url, const std::vector<std::string>& headers, int timeoutMs,
                     uint64_t maxBytes) {
  const auto started = std::chrono::steady_clock::now();
  auto elapsedMs = [&] {
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
                   .count());
  };
  const std::wstring wurl = Widen(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = DWORD(-1);
  parts.dwUrlPathLength = DWORD(-1);
  parts.dwExtraInfoLength = DWORD(-1);
  if (!WinHttpCrackUrl(wurl.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
    return Failure(ERROR_WINHTTP_INVALID_URL);
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  Handle session(WinHttpOpen(L"Orvinta/3", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                             WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.get()) return Failure(GetLastError());
  WinHttpSetTimeouts(session.get(), timeoutMs, timeoutMs, timeoutMs, timeoutMs);
  Handle connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection.get()) return Failure(GetLastError());
  Handle request(WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                    WINHTTP_DEFAULT_ACCEPT_TYPES,
                                    parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request.get()) return Failure(GetLastError());
  // From here the handle is the job's: closed when it is stopped or finished.
  HINTERNET req = request.release();
  if (!job.Attach(req)) {
    WinHttpCloseHandle(req);
    return Failure(ERROR_WINHTTP_OPERATION_CANCELLED);
  }
  // The wait for the response's headers has a time-out of its own.
  DWORD responseTimeout = DWORD(timeoutMs);
  WinHttpSetOption(req, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout, sizeof responseTimeout);
  ApplyUserProxy(session.get(), req, wurl);
  std::wstring extra;
  for (const std::string& h : headers) extra += Widen(h) + L"\r\n";
  if (!extra.empty())
    WinHttpAddRequestHeaders(req, extra.c_str(), DWORD(-1), WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
  if (!WinHttpSendRequest(req, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(req, nullptr))
    return Failure(GetLastError());
  FetchResult r;
  r.kind = K::Response;
  DWORD status = 0, size = sizeof status;
  if (!WinHttpQueryHeaders(req, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &status, &size, WINHTTP_NO_HEADER_INDEX))
    return Failure(GetLastError());
  r.status = int(status);
  if (r.status < 200 || r.status > 299) return r;
  r.validators.etag = Narrow(QueryText(req, WINHTTP_QUERY_ETAG));
  r.validators.lastModified = Narrow(QueryText(req, WINHTTP_QUERY_LAST_MODIFIED));
  // A body that announces itself too large is not read at all.
  if (DecimalOver(QueryText(req, WINHTTP_QUERY_CONTENT_LENGTH), maxBytes)) return {K::TooLarge};
  std::string chunk(64 * 1024, '\0');
  for (;;) {
    if (elapsedMs() > timeoutMs) return {K::TimedOut};
    DWORD read = 0;
    if (!WinHttpReadData(req, chunk.data(), DWORD(chunk.size()), &read)) return Failure(GetLastError());
    if (read == 0) break;
    if (r.body.size() + read > maxBytes) return {K::TooLarge};
    r.body.append(chunk.data(), read);
  }
  return r;
}

}  // namespace

FetchResult FetchUrl(const std::string& url, const std::vector<std::string>& headers, int timeoutMs,
                     uint64_t maxBytes, FetchCancel& cancel) {
  auto job = std::make_shared<FetchJob>();
  if (!cancel.Begin(job)) return {K::Cancelled};
  try {
    std::thread([job, url, headers, timeoutMs, maxBytes] {
      // Nothing leaves this thread; a job that cannot even finish is ended by the
      // waiter's bound.
      try {
        job->Finish(RunFetch(*job, url, headers, timeoutMs, maxBytes));
      } catch (...) {
        try {
          job->Finish({K::OtherError});
        } catch (...) {
        }
      }
    }).detach();
  } catch (...) {
    cancel.End();
    return {K::OtherError};
  }
  FetchResult result;
  {
    std::unique_lock lock(job->mutex);
    // The whole fetch's bound, whatever the system makes of its time-outs; a little
    // slack lets the fetch report its own time-out first.
    job->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs + 2000),
                          [&] { return job->done || job->stopped; });
    if (job->done) result = std::move(job->result);
    else result.kind = job->stopped ? K::Cancelled : K::TimedOut;
  }
  job->Stop();
  cancel.End();
  // A fetch cut short by a cancel reports that, whatever its call returned meanwhile.
  if (cancel.Cancelled() && result.kind != K::Response) result.kind = K::Cancelled;
  return result;
}

}  // namespace ov
