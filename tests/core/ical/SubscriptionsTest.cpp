// The subscription list in the settings store, what may be logged of a source, and the
// event lines of several calendars per day.
#include "IcalTestSupport.h"
#include "core/ical/SubscribedEvents.h"
#include "core/ical/Subscriptions.h"

namespace ov::test {
namespace {

TEST(Subscriptions, ListRoundTripsAndBadValuesAreHeld) {
  MemorySettingsStore store;
  ASSERT_TRUE(store.Open());
  const std::vector<Subscription> list = {
      {"工作", "C:\\Users\\me\\work.ics", 0x123456, true, 60},
      {"", "webcal://example.com/cal/secret-token/basic.ics", 0xABCDEF, false, 15}};
  ASSERT_TRUE(WriteSubscriptions(store, list));
  EXPECT_EQ(ReadSubscriptions(store), list);
  store.Write("Calendars", "RefreshMinutes0", StoredValue::Dword(1));
  store.Write("Calendars", "Count", StoredValue::Dword(100000));
  const auto held = ReadSubscriptions(store);
  ASSERT_EQ(held.size(), 2u);
  EXPECT_EQ(held[0].refreshMinutes, kMinRefreshMinutes);
}

TEST(Subscriptions, SourcesNeverLoggedInFull) {
  struct Case { const char* source; const char* logged; const char* fetched; };
  for (const Case& c : std::vector<Case>{
           {"webcal://example.com/cal/secret/basic.ics", "webcal://example.com/…", "https://example.com/cal/secret/basic.ics"},
           {"https://user:pw@host.example/x?token=1", "https://host.example/…", "https://user:pw@host.example/x?token=1"},
           {"HTTP://host", "HTTP://host", "HTTP://host"},
           {"D:\\cals\\team.ics", "team.ics", "D:\\cals\\team.ics"}}) {
    EXPECT_EQ(SourceForLog(c.source), c.logged) << c.source;
    EXPECT_EQ(FetchAddress(c.source), c.fetched) << c.source;
  }
  EXPECT_NE(CacheFileName("a"), CacheFileName("b"));
  EXPECT_EQ(CacheFileName("a"), CacheFileName("a"));
}

TEST(SubscribedEvents, LinesOfEachCalendarInItsColourAndNewSourcesReplaceTheOld) {
  FixedLocalZone utc;
  SubscribedEvents events(utc);
  auto cal = [](const std::string& title, const std::string& start) {
    return std::make_shared<const IcsCalendar>(IcsCalendar::Parse(
        Calendar({"BEGIN:VEVENT", "UID:" + title, "SUMMARY:" + title, "DTSTART:" + start, "END:VEVENT"})));
  };
  events.SetSources({{cal("A", "20260310T083000Z"), 0x111111}, {cal("B", "20260310"), 0x222222}});
  EXPECT_EQ(events.EventsOf(Day("2026-03-10")),
            (std::vector<DayEvent>{{"08:30 A", 0x111111}, {"B", 0x222222}}));
  EXPECT_TRUE(events.EventsOf(Day("2026-03-11")).empty());
  // A day far from the cached window is expanded afresh.
  EXPECT_TRUE(events.EventsOf(Day("2027-03-10")).empty());
  EXPECT_EQ(events.EventsOf(Day("2026-03-10")).size(), 2u);
  events.SetSources({{cal("C", "20260310"), 0x333333}});
  EXPECT_EQ(events.EventsOf(Day("2026-03-10")), (std::vector<DayEvent>{{"C", 0x333333}}));
}

}  // namespace
}  // namespace ov::test

namespace ov::test {
namespace {

TEST(Subscriptions, SourcesTheDialogRefusesAndNamesTheListShows) {
  for (const char* ok : {"C:\\cals\\team.ics", "webcal://example.com/x.ics", "http://127.0.0.1:8080/a"})
    EXPECT_EQ(SubscriptionSourceProblem(ok), "") << ok;
  for (const char* bad : {"", "   ", "ftp://example.com/x.ics", "https:///x.ics", "https://", "https://a b/c"})
    EXPECT_NE(SubscriptionSourceProblem(bad), "") << bad;
  struct Case { Subscription s; const char* calendarName; const char* shown; };
  for (const Case& c : std::vector<Case>{
           {{"Mine", "D:\\a\\team.ics"}, "Team", "Mine"},
           {{"", "D:\\a\\team.ics"}, "Team", "Team"},
           {{"", "D:\\a\\team.ics"}, "", "team"},
           {{"", "webcal://user:pw@cal.example.com/secret/basic.ics"}, "", "cal.example.com"},
           {{"", "https://cal.example.com"}, "", "cal.example.com"}})
    EXPECT_EQ(SubscriptionDisplayName(c.s, c.calendarName), c.shown) << c.s.source;
}

}  // namespace
}  // namespace ov::test
