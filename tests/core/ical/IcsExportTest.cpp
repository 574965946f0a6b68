// The exported file: its form (UTF-8, CRLF, folding, the properties importers require)
// and the round trip through libical and python3-icalendar.
#include <libical/ical.h>

#include <cstdlib>

#include "IcalTestSupport.h"
#include "core/ical/IcsExport.h"
#include "support/TempDir.h"

namespace ov::test {
namespace {

const std::vector<ExportedNote> kNotes = {
    {Day("2026-03-10"), "开会\n带上 \"报告\"; 逗号, 反斜杠 \\ 结束", {"工作", "重要"}},
    {Day("2026-03-11"), std::string(40, 'x') + "长长的一行中文文字，超过七十五个八位字节就要折行。" + std::string(30, 'y'), {}},
    {Day("2026-12-31"), "Single line", {"Home"}},
};

TEST(IcsExport, FormImportersRequire) {
  const std::string ics = NotesAsIcs("工作", kNotes, 1773100800);
  ASSERT_GE(ics.size(), 2u);
  size_t pos = 0;
  while (pos < ics.size()) {
    const size_t end = ics.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos) << "a line without CRLF at " << pos;
    const std::string line = ics.substr(pos, end - pos);
    EXPECT_LE(line.size(), 75u) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    // A fold never splits a UTF-8 character: no line starts with a continuation byte
    // after the fold's space.
    if (line.size() > 1 && line[0] == ' ') {
      EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << line;
    }
    pos = end + 2;
  }
  for (const char* needed : {"VERSION:2.0", "PRODID:", "DTSTART;VALUE=DATE:20260310", "DTEND;VALUE=DATE:20260311",
                             "DTSTART;VALUE=DATE:20261231", "DTEND;VALUE=DATE:20270101", "DTSTAMP:20260310T000000Z"})
    EXPECT_NE(ics.find(needed), std::string::npos) << needed;
  // The same section and day give the same UID; another section another one.
  auto uids = [](const std::string& text) {
    std::vector<std::string> out;
    for (size_t p = text.find("UID:"); p != std::string::npos; p = text.find("UID:", p + 1))
      out.push_back(text.substr(p, text.find("\r\n", p) - p));
    return out;
  };
  EXPECT_EQ(uids(ics), uids(NotesAsIcs("工作", kNotes, 0)));
  EXPECT_NE(uids(ics), uids(NotesAsIcs("家", kNotes, 0)));
  EXPECT_EQ(uids(ics).size(), kNotes.size());
}

// Read back by libical and by python3-icalendar, every note's text comes back unchanged.
TEST(IcsExport, RoundTripKeepsEveryNote) {
  const std::string ics = NotesAsIcs("工作", kNotes, 1773100800);
  icalcomponent* cal = icalparser_parse_string(ics.c_str());
  ASSERT_NE(cal, nullptr);
  size_t i = 0;
  for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
       ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT), ++i) {
    ASSERT_LT(i, kNotes.size());
    EXPECT_EQ(icalcomponent_get_description(ev), kNotes[i].text);
    EXPECT_EQ(icalcomponent_get_summary(ev), kNotes[i].text.substr(0, kNotes[i].text.find('\n')));
    EXPECT_EQ(DayNumberFromCivil(icalcomponent_get_dtstart(ev).year, icalcomponent_get_dtstart(ev).month,
                                 icalcomponent_get_dtstart(ev).day),
              kNotes[i].day);
    EXPECT_EQ(icalcomponent_count_errors(ev), 0);
  }
  EXPECT_EQ(i, kNotes.size());
  icalcomponent_free(cal);

#ifndef _WIN32
  TempDir dir;
  std::string expected;
  for (const ExportedNote& n : kNotes) {
    std::string cats;
    for (const auto& c : n.categories) cats += (cats.empty() ? "" : ",") + c;
    expected += Iso(n.day).substr(0, 4) + Iso(n.day).substr(5, 2) + Iso(n.day).substr(8, 2) + '\0' +
                n.text.substr(0, n.text.find('\n')) + '\0' + n.text + '\0' + cats + '\0';
  }
  WriteFile(dir.Path() / "notes.ics", ics);
  WriteFile(dir.Path() / "expected", expected);
  // Debian's Python, which has python3-icalendar.
  const std::string cmd = "/usr/bin/python3 '" ORV_ICAL_TEST_DIR "/read_back.py' '" +
                          (dir.Path() / "notes.ics").string() + "' '" + (dir.Path() / "expected").string() + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
#endif
}

}  // namespace
}  // namespace ov::test
