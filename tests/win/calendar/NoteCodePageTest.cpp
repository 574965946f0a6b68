// Note files under the system's ANSI code page: this program runs twice, under a Western
// (1252) and a Chinese (936) code page, chosen by the locale Wine starts it with.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/calendar/NoteFile.h"
#include "support/TempDir.h"
#include "win/platform/WinCodePage.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

const std::string kChinese = "在桌面上任何可见的日期上三击鼠标\n默认 部分";
const std::string kWestern = "Café à la crème – 5 €";
const std::string kEmoji = "Party 🎉 tonight";

class NoteCodePageTest : public ::testing::Test {
 protected:
  NoteCodePageTest() : store_(dir_.Path() / "Entries", "默认", codePage_) {}

  std::string Bytes() { return test::ReadFile(store_.NoteFilePath(day_)); }
  std::string RoundTrip(const std::string& text) {
    EXPECT_TRUE(store_.WriteNoteText(text, day_));
    return store_.ReadDayEntry(day_).Text;
  }

  test::TempDir dir_;
  WinCodePage codePage_;
  EntryStore store_;
  const double day_ = EncodeDate(2025, 6, 14);
};

// The test registration names the code page each run must see, so a run that silently
// got another one fails instead of testing the wrong thing.
TEST_F(NoteCodePageTest, RunsUnderTheExpectedCodePage) {
  const char* expected = std::getenv("ORV_EXPECT_ACP");
  ASSERT_NE(expected, nullptr) << "ORV_EXPECT_ACP is not set";
  EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
  EXPECT_EQ(codePage_.Id(), GetACP());
}

TEST_F(NoteCodePageTest, ChineseTextComesBackUnchanged) {
  EXPECT_EQ(RoundTrip(kChinese), kChinese);
  const std::string bytes = Bytes();
  if (GetACP() == 936) {
    // Stored in the code page: GBK bytes, no byte-order mark. 默认 is C4 AC C8 CF.
    EXPECT_NE(bytes.substr(0, 3), kUtf8Bom);
    EXPECT_NE(bytes.find("\xC4\xAC\xC8\xCF"), std::string::npos);
    EXPECT_EQ(bytes.find("默认"), std::string::npos);
  } else {
    // The Western code page cannot hold it: UTF-8 behind a byte-order mark.
    EXPECT_EQ(bytes.substr(0, 3), kUtf8Bom);
    EXPECT_EQ(bytes.substr(3), "[EOHDR]\r\n在桌面上任何可见的日期上三击鼠标\r\n默认 部分\r\n");
  }
}

TEST_F(NoteCodePageTest, WesternTextComesBackUnchanged) {
  EXPECT_EQ(RoundTrip(kWestern), kWestern);
  if (GetACP() == 1252) {
    EXPECT_EQ(Bytes(), "[EOHDR]\r\nCaf\xE9 \xE0 la cr\xE8me \x96 5 \x80\r\n");
  }
}

TEST_F(NoteCodePageTest, TextNoCodePageHoldsIsKeptAsUtf8) {
  EXPECT_EQ(RoundTrip(kEmoji), kEmoji);
  EXPECT_EQ(Bytes().substr(0, 3), kUtf8Bom);
  // Letters that would only have a best-fit look-alike are not flattened either.
  const std::string macron = "Ā ă Ł";
  EXPECT_EQ(RoundTrip(macron), macron);
}

TEST_F(NoteCodePageTest, FilesOfTheCodePageWrittenByOthersRead) {
  // A note as older versions and other programs wrote it, in the code page itself.
  const std::string text = GetACP() == 936 ? "\xC4\xAC\xC8\xCF" : "Gr\xFC\xDF" "e";
  test::WriteFile(store_.NoteFilePath(day_), "Holiday=1\r\n[EOHDR]\r\n" + text + "\r\n");
  EXPECT_EQ(store_.ReadDayEntry(day_).Text, GetACP() == 936 ? "默认" : "Grüße");
}

TEST(WinCodePage, ConvertsBothWays) {
  WinCodePage western(1252), chinese(936);
  EXPECT_EQ(western.FromUtf8("é€"), std::optional<std::string>("\xE9\x80"));
  EXPECT_FALSE(western.FromUtf8("中").has_value());
  EXPECT_FALSE(western.FromUtf8("bad \xC3").has_value());
  EXPECT_EQ(western.ToUtf8("\xE9\x80"), "é€");
  EXPECT_EQ(chinese.FromUtf8("中文"), std::optional<std::string>("\xD6\xD0\xCE\xC4"));
  EXPECT_EQ(chinese.ToUtf8("\xD6\xD0\xCE\xC4"), "中文");
  EXPECT_FALSE(chinese.FromUtf8("🎉").has_value());
  EXPECT_EQ(WinCodePage(CP_UTF8).FromUtf8("🎉"), std::optional<std::string>("🎉"));
  EXPECT_EQ(western.FromUtf8(""), std::optional<std::string>(""));
}

}  // namespace
}  // namespace ov
