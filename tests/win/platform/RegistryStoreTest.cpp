#include <gtest/gtest.h>
#include <windows.h>

#include "core/settings/SettingsSchema.h"
#include "win/platform/RegistryStore.h"
#include "win/platform/WinCodePage.h"

namespace ov {
namespace {

// Every test works under a scratch key of its own, never the program's real settings.
class RegistryStoreTest : public ::testing::Test {
 protected:
  RegistryStoreTest()
      : path_(L"Software\\Quenlar\\OrvintaTest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount())),
        store_(path_) {}
  ~RegistryStoreTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }

  void SetRaw(const wchar_t* section, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    RegKey k = RegKey::Create(HKEY_CURRENT_USER, path_ + L"\\" + section);
    ASSERT_TRUE(k);
    ASSERT_EQ(RegSetValueExW(k.Get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }

  std::wstring path_;
  RegistrySettingsStore store_;
  WinCodePage codePage_;
};

TEST_F(RegistryStoreTest, WritesTheRegistryTypesOfEachKind) {
  ASSERT_TRUE(store_.Open());
  EXPECT_TRUE(store_.Write("App", "Ec", StoredValue::Dword(0xFFFFFFFE)));
  EXPECT_TRUE(store_.Write("App", "SubEntryName", StoredValue::String("家庭")));
  EXPECT_TRUE(store_.Write("App", "NextRotationTime", StoredValue::Binary(std::string("\x01\x02\x00\x04", 4))));
  store_.Close();

  RegKey k = RegKey::OpenRead(HKEY_CURRENT_USER, path_ + L"\\App");
  ASSERT_TRUE(k);
  DWORD type = 0, d = 0, size = sizeof(d);
  ASSERT_EQ(RegQueryValueExW(k.Get(), L"Ec", nullptr, &type, reinterpret_cast<BYTE*>(&d), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(d, 0xFFFFFFFEu);
  wchar_t text[16] = L"";
  size = sizeof(text);
  ASSERT_EQ(RegQueryValueExW(k.Get(), L"SubEntryName", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, L"家庭");

  ASSERT_TRUE(store_.Open());
  auto bin = store_.Read("App", "NextRotationTime");
  ASSERT_TRUE(bin);
  EXPECT_EQ(bin->kind, StoredValue::Kind::Binary);
  EXPECT_EQ(bin->bytes, std::string("\x01\x02\x00\x04", 4));
  EXPECT_FALSE(store_.Read("App", "Missing"));
  EXPECT_FALSE(store_.Read("NoSection", "Ec"));
}

TEST_F(RegistryStoreTest, SettingsSurviveASaveAndLoadThroughTheRegistry) {
  SettingsContext ctx;
  ctx.programFolder = "C:\\Program Files\\Orvinta\\";
  ctx.now = 46000;
  Settings s = LoadSettings(store_, ctx, codePage_);
  EXPECT_TRUE(s.FirstRun);
  s.Ec = 7;
  s.SubEntryName = "生意";
  s.CalendarRect = {-10, 20, 1500, 900};
  s.NextRotationTime = 46001.25;
  s.CaptionFont.face = "Arial";
  ASSERT_TRUE(SaveSettings(store_, s, codePage_));
  Settings back = LoadSettings(store_, ctx, codePage_);
  EXPECT_FALSE(back.FirstRun);
  EXPECT_EQ(back.Ec, 7);
  EXPECT_EQ(back.SubEntryName, "生意");
  EXPECT_EQ(back.CalendarRect, s.CalendarRect);
  EXPECT_DOUBLE_EQ(back.NextRotationTime, 46001.25);
  EXPECT_EQ(back.CaptionFont.face, "Arial");
}

TEST_F(RegistryStoreTest, ValuesOfTheWrongTypeGiveSaneSettings) {
  DWORD one = 1;
  SetRaw(L"App", L"WeekNumbers", REG_DWORD, &one, sizeof(one));  // boolean stored as DWORD
  const wchar_t rows[] = L"12";
  SetRaw(L"App", L"VisibleWeeks", REG_SZ, rows, sizeof(rows));  // integer stored as text
  const wchar_t junk[] = L"lots";
  SetRaw(L"App", L"CellGap", REG_SZ, junk, sizeof(junk));
  SetRaw(L"App", L"SubEntryName", REG_DWORD, &one, sizeof(one));
  BYTE shortFloat[3] = {1, 2, 3};
  SetRaw(L"App", L"NextRotationTime", REG_BINARY, shortFloat, sizeof(shortFloat));
  DWORD huge = 100000;
  SetRaw(L"App", L"PastVisibleWeeks", REG_DWORD, &huge, sizeof(huge));
  BYTE font[60];
  memset(font, 0x41, sizeof(font));  // no terminating zero in the face name
  SetRaw(L"App", L"CaptionFont", REG_BINARY, font, sizeof(font));
  SetRaw(L"MainForm", L"State", REG_DWORD, &one, sizeof(one));

  SettingsContext ctx;
  ctx.now = 46000;
  Settings s = LoadSettings(store_, ctx, codePage_);
  EXPECT_TRUE(s.WeekNumbers);
  EXPECT_EQ(s.VisibleWeeks, 12);
  EXPECT_EQ(s.CellGap, 1);
  EXPECT_EQ(s.SubEntryName, "默认");
  EXPECT_DOUBLE_EQ(s.NextRotationTime, 46000 + 60.0 / 86400);
  EXPECT_EQ(s.PastVisibleWeeks, 32);
  EXPECT_EQ(s.CaptionFont.face, "Tahoma");
  EXPECT_EQ(s.MainForm.state, "wsNormal");
}

}  // namespace
}  // namespace ov
