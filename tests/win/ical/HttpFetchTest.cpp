// Fetching through WinHTTP against a server in this process: the request's conditional
// headers and the response's validators, a body over the limit refused while it streams,
// a server that never answers ended by the time-out, and a stalled fetch cancelled from
// another thread.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "win/ical/HttpFetch.h"

namespace ov::test {
namespace {

// Answers each connection with what `respond` makes of the request; an empty answer
// stalls until the server is stopped.
class LocalServer {
 public:
  explicit LocalServer(std::function<std::string(const std::string&)> respond) : respond_(std::move(respond)) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener_, 4);
    int len = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LocalServer() {
    stop_ = true;
    closesocket(listener_);
    thread_.join();
    WSACleanup();
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  std::string LastRequest() {
    std::lock_guard lock(mutex_);
    return request_;
  }

 private:
  void Serve() {
    while (!stop_) {
      SOCKET c = accept(listener_, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      std::string request;
      char buf[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        int n = recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, size_t(n));
      }
      {
        std::lock_guard lock(mutex_);
        request_ = request;
      }
      const std::string answer = respond_(request);
      if (answer.empty()) {
        while (!stop_) Sleep(20);
      } else {
        for (size_t at = 0; at < answer.size();) {
          int n = send(c, answer.data() + at, int(std::min<size_t>(answer.size() - at, 65536)), 0);
          if (n <= 0) break;
          at += size_t(n);
        }
      }
      closesocket(c);
    }
  }

  std::function<std::string(const std::string&)> respond_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::string request_;
  std::thread thread_;
};

int64_t MsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t).count();
}

TEST(HttpFetch, ConditionalRequestAndValidatorsAndTheSizeLimit) {
  LocalServer server([](const std::string& request) -> std::string {
    if (request.find("If-None-Match: \"v1\"\r\n") != std::string::npos)
      return "HTTP/1.1 304 Not Modified\r\nETag: \"v1\"\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    if (request.rfind("GET /announced", 0) == 0)  // a length over the limit, and only a little of it
      return "HTTP/1.1 200 OK\r\nContent-Length: 52428800\r\nConnection: close\r\n\r\nBEGIN:VCALENDAR\r\n";
    if (request.rfind("GET /big", 0) == 0)
      return "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + std::string(300000, 'x');
    return "HTTP/1.1 200 OK\r\nETag: \"v1\"\r\nLast-Modified: Wed, 09 Dec 2026 10:00:00 GMT\r\nContent-Length: 5\r\n"
           "Connection: close\r\n\r\nhello";
  });
  FetchCancel cancel;
  FetchResult r = FetchUrl(server.Url("/a.ics"), {}, 5000, 1000, cancel);
  ASSERT_EQ(r.kind, FetchResult::Kind::Response);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "hello");
  EXPECT_EQ(r.validators, (HttpValidators{"\"v1\"", "Wed, 09 Dec 2026 10:00:00 GMT"}));
  r = FetchUrl(server.Url("/a.ics"), {"If-None-Match: \"v1\""}, 5000, 1000, cancel);
  EXPECT_EQ(r.status, 304);
  EXPECT_NE(server.LastRequest().find("If-None-Match: \"v1\""), std::string::npos);
  // Without a length the body is read only up to the limit.
  EXPECT_EQ(FetchUrl(server.Url("/big"), {}, 5000, 100000, cancel).kind, FetchResult::Kind::TooLarge);
  // An announced length over the limit is refused before the body is read (the server
  // sends only a few bytes of it: a fetch that read on would end with those).
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FetchUrl(server.Url("/announced"), {}, 5000, 100000, cancel).kind, FetchResult::Kind::TooLarge);
  EXPECT_LT(MsSince(start), 3000);
}

TEST(HttpFetch, AServerThatNeverAnswersEndsByTheTimeOutOrByCancel) {
  LocalServer server([](const std::string&) { return std::string(); });
  FetchCancel cancel;
  auto start = std::chrono::steady_clock::now();
  const FetchResult stalled = FetchUrl(server.Url("/stall"), {}, 1000, 1000, cancel);
  EXPECT_EQ(stalled.kind, FetchResult::Kind::TimedOut) << stalled.error;
  EXPECT_LT(MsSince(start), 5000);

  start = std::chrono::steady_clock::now();
  std::thread quit([&] {
    Sleep(500);
    cancel.Cancel();
  });
  EXPECT_EQ(FetchUrl(server.Url("/stall"), {}, 20000, 1000, cancel).kind, FetchResult::Kind::Cancelled);
  const int64_t took = MsSince(start);
  quit.join();
  EXPECT_LT(took, 3000);
  // A cancelled fetcher starts nothing more until it is reset.
  EXPECT_EQ(FetchUrl(server.Url("/stall"), {}, 20000, 1000, cancel).kind, FetchResult::Kind::Cancelled);
}

}  // namespace
}  // namespace ov::test
