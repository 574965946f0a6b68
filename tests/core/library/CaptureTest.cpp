#include <gtest/gtest.h>

#include "core/calendar/DateTime.h"
#include "core/library/Capture.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

TEST(CaptureTest, TheCopyIsNamedAfterTheWallpaperAndTheMoment) {
  const double at = EncodeDateTime(2025, 3, 7, 9, 5, 2);
  EXPECT_EQ(CaptureFileName("C:\\Windows\\sunset.bmp", at, false), "sunset 2025.03.07 [09.05.02].jpg");
  EXPECT_EQ(CaptureFileName("C:\\Pics\\Sunset.BMP", at, true), "Sunset 2025.03.07 [09.05.02].png");
  EXPECT_EQ(CaptureFileName("C:\\a.b\\my.photo.jpeg", at, false), "my.photo 2025.03.07 [09.05.02].jpg");
  EXPECT_EQ(CaptureFileName("noext", EncodeDateTime(2025, 12, 31, 23, 59, 59, 999), false),
            "noext 2025.12.31 [23.59.59].jpg");
  // Half a millisecond before a second counts as that second.
  EXPECT_EQ(CaptureFileName("x.bmp", at - 0.4 / 86400000, false), "x 2025.03.07 [09.05.02].jpg");
}

TEST(CaptureTest, TheComparisonIgnoresLetterCase) {
  struct Case {
    const char* desktop;
    const char* own;
    bool foreign;
  };
  const Case cases[] = {
      {"C:\\Users\\me\\AppData\\Quenlar\\Orvinta\\Wallpaper.bmp", "C:\\Users\\me\\AppData\\Quenlar\\Orvinta\\Wallpaper.bmp", false},
      {"c:\\users\\ME\\appdata\\quenlar\\orvinta\\WALLPAPER.BMP", "C:\\Users\\me\\AppData\\Quenlar\\Orvinta\\Wallpaper.bmp", false},
      {"C:\\Users\\ÉLODIE\\Wallpaper.bmp", "C:\\Users\\élodie\\Wallpaper.bmp", false},
      {"C:\\Users\\ДИМА\\Wallpaper.bmp", "C:\\Users\\дима\\Wallpaper.bmp", false},
      {"C:\\用户\\Wallpaper.bmp", "C:\\用户\\wallpaper.BMP", false},
      {"C:\\Pics\\sunset.bmp", "C:\\Users\\me\\Wallpaper.bmp", true},
      {"", "C:\\Users\\me\\Wallpaper.bmp", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsForeignWallpaper(c.desktop, c.own), c.foreign) << c.desktop;
}

class FakeCaptureHost final : public CaptureHost, public IImageEncoder {
 public:
  std::string ReadDesktopWallpaper() override { return desktop; }
  bool SaveAsPng(const fs::path& source, const fs::path& target) override { return Save(source, target, "png"); }
  bool SaveAsJpeg(const fs::path& source, const fs::path& target, int quality) override {
    return Save(source, target, "jpeg " + std::to_string(quality));
  }
  bool Save(const fs::path& source, const fs::path& target, const std::string& how) {
    saves.push_back(PathToUtf8(source) + " -> " + PathToUtf8(target) + " " + how);
    folderExisted = fs::is_directory(target.parent_path());
    return saveOk;
  }
  void UseCapturedImage(const std::string& target) override { used.push_back(target); }

  std::string desktop;
  bool saveOk = true;
  bool folderExisted = false;
  std::vector<std::string> saves, used;
};

TEST(CaptureTest, AForeignWallpaperIsCopiedIntoTheLibraryAndTakenIntoUse) {
  test::TempDir tmp;
  FakeCaptureHost host;
  WallpaperCapture capture;
  CaptureInput in{"C:\\Data\\Wallpaper.bmp", tmp.Utf8WithSlash() + "Lib" + "/", false,
                  EncodeDateTime(2025, 3, 7, 9, 5, 2)};
  const std::string expected =
      PathToUtf8(PathFromUtf8(tmp.Utf8WithSlash() + "Lib/") / "Captured Images" / "sunset 2025.03.07 [09.05.02].jpg");

  host.desktop = "c:\\data\\WALLPAPER.bmp";  // our own, in another case
  EXPECT_FALSE(capture.Check(in, host, host));
  host.desktop = "";  // no wallpaper at all
  EXPECT_FALSE(capture.Check(in, host, host));
  CaptureInput noLibrary = in;
  noLibrary.imagesPath.clear();
  host.desktop = "C:\\Pics\\sunset.bmp";
  EXPECT_FALSE(capture.Check(noLibrary, host, host));
  EXPECT_TRUE(host.saves.empty());

  host.desktop = "C:\\Pics\\sunset.bmp";
  host.saveOk = false;  // unreadable: nothing is taken, the next tick tries again
  EXPECT_FALSE(capture.Check(in, host, host));
  EXPECT_TRUE(host.used.empty());
  EXPECT_TRUE(host.folderExisted);

  host.saveOk = true;
  EXPECT_EQ(capture.Check(in, host, host), expected);
  EXPECT_EQ(host.saves.back(), "C:\\Pics\\sunset.bmp -> " + expected + " jpeg 75");
  EXPECT_EQ(host.used, std::vector<std::string>{expected});

  // Still installed after the copy (the calendar could not be built over it): not copied
  // again until another wallpaper has been installed.
  EXPECT_FALSE(capture.Check(in, host, host));
  host.desktop = "C:\\Data\\Wallpaper.bmp";
  EXPECT_FALSE(capture.Check(in, host, host));
  host.desktop = "C:\\Pics\\sunset.bmp";
  in.captureToPng = true;
  EXPECT_EQ(capture.Check(in, host, host).value_or("").substr(expected.size() - 3), "png");
  EXPECT_EQ(host.used.size(), 2u);
}

}  // namespace
}  // namespace ov
