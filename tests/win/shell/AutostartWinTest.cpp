#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <filesystem>

#include "core/shell/Autostart.h"
#include "core/util/FileIo.h"
#include "support/TempDir.h"
#include "win/shell/Autostart.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

TEST(AutostartWin, ShortcutKeepsTargetFolderAndArguments) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  test::TempDir dir;
  const fs::path link = dir.Path() / "Startup" / "Orvinta.lnk";  // the folder does not exist yet
  ShortcutInfo info{L"C:\\windows\\notepad.exe", L"C:\\windows", AutostartArguments(true, 5)};
  ASSERT_TRUE(WriteShortcut(link, info));
  auto back = ReadShortcut(link);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->arguments, "/quit /delay 5");
  EXPECT_EQ(_wcsicmp(back->target.c_str(), L"C:\\windows\\notepad.exe"), 0) << back->target.string();
  EXPECT_EQ(_wcsicmp(back->workingFolder.c_str(), L"C:\\windows"), 0) << back->workingFolder.string();
  CoUninitialize();
}

TEST(AutostartWin, ManifestIsWrittenBesideTheProgramAndDeleted) {
  wchar_t exe[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const fs::path manifest = std::wstring(exe) + L".manifest";
  fs::remove(manifest);
  ASSERT_TRUE(SetVisualStylesManifest(true));
  EXPECT_EQ(ReadFileBytes(manifest), VisualStylesManifest());
  EXPECT_TRUE(SetVisualStylesManifest(false));
  EXPECT_FALSE(fs::exists(manifest));
  // Deleting a manifest that is not there counts as a failure (the user gets the box).
  EXPECT_FALSE(SetVisualStylesManifest(false));
}

}  // namespace
}  // namespace ov
