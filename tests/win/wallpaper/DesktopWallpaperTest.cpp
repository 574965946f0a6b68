#include <gtest/gtest.h>
#include <windows.h>

#include "win/platform/RegistryStore.h"
#include "win/wallpaper/DesktopWallpaper.h"

namespace ov {
namespace {

// Runs in the test prefix, whose desktop settings belong to the tests.
TEST(DesktopWallpaper, InstallWritesTheDesktopValuesAndReadsThemBack) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring file = std::wstring(temp) + L"ov-wallpaper-test.bmp";
  // A 2 x 2 24-bit BMP.
  const unsigned char bmp[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                               0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0};
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, bmp, sizeof(bmp), &written, nullptr);
  CloseHandle(h);

  std::string path;
  for (wchar_t c : file) path += static_cast<char>(c);  // the temp path is ASCII here
  EXPECT_TRUE(SetDesktopWallpaper(path, 2, 0, 0));
  EXPECT_EQ(ReadDesktopWallpaper(), path);
  auto style = ReadRegistryString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle");
  auto tile = ReadRegistryString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"TileWallpaper");
  ASSERT_TRUE(style && tile);
  EXPECT_EQ(*style, L"2");
  EXPECT_EQ(*tile, L"0");
  DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace ov
