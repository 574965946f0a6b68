// The refresh decisions of a web calendar: when it is due, the conditional headers, what
// each way a fetch can end does to the cached copy, and the state texts.
#include "IcalTestSupport.h"
#include "core/ical/CalendarRefresh.h"
#include "core/util/Text.h"

namespace ov::test {
namespace {

TEST(CalendarRefresh, DueAtStartThenEveryIntervalOrWhenForcedButNeverTwiceAtOnce) {
  CalendarRefresh r(15);
  EXPECT_TRUE(r.Due(1000));
  r.Begin(1000, {}, false);
  EXPECT_FALSE(r.Due(1000 + 3600)) << "a fetch under way is not started again";
  r.Finish({FetchResult::Kind::TimedOut}, nullptr, 9, 0);
  // A failed fetch waits its interval like a good one: a dead server is not hammered.
  EXPECT_FALSE(r.Due(1000 + 15 * 60 - 1));
  EXPECT_EQ(r.SecondsUntilDue(1000 + 60), 14 * 60);
  EXPECT_TRUE(r.Due(1000 + 15 * 60));
  r.Force();
  EXPECT_TRUE(r.Due(1001));
  r.Begin(2000, {}, false);
  // A cancelled fetch (list changed, program quits) was no attempt: due again at once.
  EXPECT_EQ(r.Finish({FetchResult::Kind::Cancelled}, nullptr, 9, 0).state, "");
  EXPECT_TRUE(r.Due(2001));
}

TEST(CalendarRefresh, ConditionalHeadersOnlyWithACachedCopyAndValidatorsSurviveTheirFile) {
  const HttpValidators v{"\"abc-1\"", "Wed, 09 Dec 2026 10:00:00 GMT"};
  EXPECT_EQ(ParseValidators(SerializeValidators(v)), v);
  EXPECT_EQ(ParseValidators("garbage\n\nETag:\n"), HttpValidators{});
  EXPECT_EQ(ValidatorsFileName("00ab.ics"), "00ab.http");
  CalendarRefresh r(60);
  EXPECT_TRUE(r.Begin(0, v, false).empty());
  EXPECT_EQ(r.Begin(0, v, true), (std::vector<std::string>{"If-None-Match: \"abc-1\"",
                                                          "If-Modified-Since: Wed, 09 Dec 2026 10:00:00 GMT"}));
  // A value with a line break cannot add a header of its own.
  EXPECT_EQ(r.Begin(0, {"x\r\nCookie: y", ""}, true), std::vector<std::string>{"If-None-Match: xCookie: y"});
}

TEST(CalendarRefresh, EachEndOfAFetchDecidesTheCopyAndTheState) {
  const IcsCalendar good = IcsCalendar::Parse(Calendar({"BEGIN:VEVENT", "UID:a", "SUMMARY:A", "DTSTART:20260310",
                                                        "END:VEVENT"}));
  const IcsCalendar partly = IcsCalendar::Parse(Calendar({"BEGIN:VEVENT", "UID:a", "SUMMARY:A", "DTSTART:20260310",
                                                          "END:VEVENT", "BEGIN:VEVENT", "DTSTART:garbage",
                                                          "END:VEVENT"}));
  const IcsCalendar garbage = IcsCalendar::Parse("<html>503 Service Unavailable</html>");
  ASSERT_GT(partly.FirstBadLine(), 0);
  using K = FetchResult::Kind;
  struct Case {
    FetchResult result;
    const IcsCalendar* parsed;
    bool haveCache;
    bool useBody;
    std::string state;
  };
  const std::vector<Case> cases = {
      {{K::Response, 200}, &good, false, true, "已更新 10:42"},
      {{K::Response, 200}, &partly, true, true, Format("第 %d 行无法读取", partly.FirstBadLine())},
      {{K::Response, 200}, &garbage, true, false, "无法读取: 不是日历"},
      {{K::Response, 304}, nullptr, true, false, "已更新 10:42"},
      {{K::Response, 304}, nullptr, false, false, "无法下载: 服务器回答 304"},
      {{K::Response, 404}, nullptr, true, false, "无法下载: 找不到日历 (404)"},
      {{K::Response, 403}, nullptr, true, false, "无法下载: 没有访问权限 (403)"},
      {{K::Response, 503}, nullptr, true, false, "无法下载: 服务器错误 (503)"},
      {{K::Response, 302}, nullptr, true, false, "无法下载: 服务器回答 302"},
      {{K::TooLarge}, nullptr, true, false, "文件太大 (超过 20 MB)"},
      {{K::TimedOut}, nullptr, true, false, "无法连接: 超时"},
      {{K::NoServer}, nullptr, true, false, "无法连接: 找不到服务器"},
      {{K::Refused}, nullptr, true, false, "无法连接: 没有回应"},
      {{K::Certificate}, nullptr, true, false, "无法连接: 服务器的证书无效"},
      {{K::OtherError, 0, "", {}, 12345}, nullptr, true, false, "无法连接: 错误 12345"},
  };
  for (const Case& c : cases) {
    CalendarRefresh r(60);
    r.Begin(0, {"e", ""}, c.haveCache);
    const FetchDecision d = r.Finish(c.result, c.parsed, 10, 42);
    EXPECT_EQ(d.useBody, c.useBody) << c.state;
    EXPECT_EQ(d.state, c.state);
  }
}

}  // namespace
}  // namespace ov::test
