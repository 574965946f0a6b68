#include <gtest/gtest.h>

#include "PictureTestUtil.h"
#include "core/images/ImageChecksum.h"
#include "core/images/ImagePropsStore.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

class ImagePropsStoreTest : public ::testing::Test {
 protected:
  ImagePropsStoreTest() : crcFolder(dir.Path() / "ImageCRC"), store(crcFolder, decoder) {}

  fs::path Picture(const std::string& name, const TBitmap32& pic) {
    fs::path p = dir.Path() / PathFromUtf8(name);
    test::WriteFile(p, EncodePpm(pic));
    return p;
  }

  test::TempDir dir;
  fs::path crcFolder;
  NetpbmImageDecoder decoder;
  ImagePropsStore store;
};

TEST_F(ImagePropsStoreTest, TheSamePictureUnderAnotherNameSharesItsFile) {
  TBitmap32 pic = test::Numbered(6, 4);
  fs::path a = Picture("a.ppm", pic), b = Picture("其它/b.ppm", pic);

  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  store.Props(ImageSlot::Current).Zoom = 175;
  store.Props(ImageSlot::Current).Gamma = 1.5;
  store.SetModified(true);
  fs::path file = store.WriteImageProps(store.ShownPicture());
  EXPECT_EQ(file, crcFolder / ImagePropsFileName(pic));
  EXPECT_TRUE(fs::exists(file));

  TBitmap32 other;
  ASSERT_TRUE(store.LoadImageWithProperties(other, b, ImageSlot::Bottom).ok);
  EXPECT_EQ(store.PropsFileFor(other), file);
  EXPECT_EQ(store.Props(ImageSlot::Bottom).Zoom, 175);
  EXPECT_EQ(store.Props(ImageSlot::Bottom).Gamma, 1.5);
}

TEST_F(ImagePropsStoreTest, PicturesAlikeInTheirFirstQuarterShareAFile) {
  // 4 x 4 pixels: the checksum reads 16 bytes, the first four pixels (row 0).
  TBitmap32 one = test::Numbered(4, 4), two = one;
  two.At(0, 3) = MakeArgb(255, 1, 2, 3);
  EXPECT_EQ(store.PropsFileFor(one), store.PropsFileFor(two));
  two.At(3, 0) = MakeArgb(255, 1, 2, 3);
  EXPECT_NE(store.PropsFileFor(one), store.PropsFileFor(two));
}

TEST_F(ImagePropsStoreTest, LoadingAnotherPictureSavesTheUnsavedEditsFirst) {
  fs::path a = Picture("a.ppm", test::Numbered(5, 5)), b = Picture("b.ppm", test::Filled(3, 3, 0xFF102030));
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  const fs::path fileA = store.PropsFileFor(store.ShownPicture());
  EXPECT_FALSE(fs::exists(fileA)) << "reading never writes";

  store.Props(ImageSlot::Current).OffsetX = -120;
  store.Props(ImageSlot::Current).FlipHorz = true;
  store.SetModified(true);
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), b, ImageSlot::Current).ok);

  EXPECT_EQ(store.ShownPicture().Width(), 3);
  EXPECT_EQ(store.Props(ImageSlot::Current), TImageProps{}) << "b has no file of its own yet";
  EXPECT_FALSE(store.Modified());
  ProfileIni saved = ProfileIni::Load(fileA);
  EXPECT_EQ(saved.Get("Size", "OffsetX"), "-120");
  EXPECT_EQ(saved.Get("Size", "FlipHorz"), "1");
  EXPECT_EQ(saved.Get("Misc", "Ver"), "30");

  // Without edits nothing is written.
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  EXPECT_EQ(store.Props(ImageSlot::Current).OffsetX, -120);
  EXPECT_FALSE(fs::exists(store.PropsFileFor(test::Filled(3, 3, 0xFF102030))));
}

TEST_F(ImagePropsStoreTest, LoadingTheBottomImageLeavesTheCurrentEditsAlone) {
  fs::path a = Picture("a.ppm", test::Numbered(5, 5)), b = Picture("b.ppm", test::Numbered(7, 2));
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  store.Props(ImageSlot::Current).Zoom = 300;
  store.SetModified(true);
  ASSERT_TRUE(store.SetBottomImage(PathToUtf8(b)));
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(store.Props(ImageSlot::Current).Zoom, 300);
  EXPECT_FALSE(fs::exists(store.PropsFileFor(store.ShownPicture())));
  EXPECT_EQ(store.BottomImage().Width(), 7);
  EXPECT_EQ(store.BottomImageFilename(), PathToUtf8(b));

  store.ClearBottomImage();
  EXPECT_TRUE(store.BottomImage().Empty());
  EXPECT_EQ(store.BottomImageFilename(), "");
}

TEST_F(ImagePropsStoreTest, SavingRereadsTheBottomSlotWhichMayBeTheSamePicture) {
  fs::path a = Picture("a.ppm", test::Numbered(5, 5));
  ASSERT_TRUE(store.SetBottomImage(PathToUtf8(a)));
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  store.Props(ImageSlot::Current).Contrast = 40;
  store.SetModified(true);
  EXPECT_EQ(store.Props(ImageSlot::Bottom).Contrast, 0);
  store.WriteImageProps(store.ShownPicture());
  EXPECT_EQ(store.Props(ImageSlot::Bottom).Contrast, 40);
  EXPECT_FALSE(store.Modified());
}

TEST_F(ImagePropsStoreTest, AFileThatDoesNotDecodeGivesAnEmptyPictureAndTheDefaults) {
  // The empty picture's file (checksum ffffffff) is what gets read.
  fs::create_directories(crcFolder);
  test::WriteFile(crcFolder / "CRC_ffffffff.ini", "[Misc]\r\nVer=30\r\n[Size]\r\nMagnify=55\r\n");
  const fs::path bad[] = {Picture("text.ppm", TBitmap32()), dir.Path() / "missing.ppm", dir.Path() / "zero.png",
                          dir.Path() / "truncated.ppm", dir.Path() / "huge.ppm"};
  test::WriteFile(bad[0], "this is not a picture");
  test::WriteFile(bad[2], "");
  test::WriteFile(bad[3], "P6\n4 4\n255\n" + std::string(10, 'x'));
  test::WriteFile(bad[4], "P6\n30000 30000\n255\n" + std::string(100, 'x'));
  for (const fs::path& f : bad) {
    TBitmap32 surface = test::Numbered(2, 2);
    store.Props(ImageSlot::Current).Zoom = 1;
    DecodeResult r = store.LoadImageWithProperties(surface, f, ImageSlot::Current);
    EXPECT_FALSE(r.ok) << f;
    EXPECT_TRUE(surface.Empty()) << f;
    EXPECT_EQ(store.Props(ImageSlot::Current).Zoom, 55) << f;
  }
}

TEST_F(ImagePropsStoreTest, JunkInAFileIsReadButTheFileIsNotRewritten) {
  TBitmap32 pic = test::Numbered(3, 3);
  fs::path a = Picture("a.ppm", pic);
  fs::create_directories(crcFolder);
  const std::string junk = "[Size]\nMagnify=0\nOffsetX=abc\n[Color]\nGamma=1e300\nContrast=-5000\n";
  test::WriteFile(crcFolder / ImagePropsFileName(pic), junk);
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  EXPECT_EQ(store.Props(ImageSlot::Current).Zoom, 0);
  EXPECT_EQ(store.Props(ImageSlot::Current).Contrast, -5000 * 100 / 255 - 100);  // no Misc: old form
  store.WriteImageProps(store.ShownPicture());  // not modified: nothing written
  EXPECT_EQ(test::ReadFile(crcFolder / ImagePropsFileName(pic)), junk);
}

TEST_F(ImagePropsStoreTest, WritingKeepsForeignKeysAndSurvivesAnUnwritableFolder) {
  TBitmap32 pic = test::Numbered(3, 3);
  fs::path a = Picture("a.ppm", pic);
  fs::create_directories(crcFolder);
  test::WriteFile(crcFolder / ImagePropsFileName(pic), "[Notes]\r\nBy=hand\r\n");
  ASSERT_TRUE(store.LoadImageWithProperties(store.ShownPicture(), a, ImageSlot::Current).ok);
  store.SetModified(true);
  store.WriteImageProps(store.ShownPicture());
  ProfileIni saved = ProfileIni::Load(crcFolder / ImagePropsFileName(pic));
  EXPECT_EQ(saved.Get("Notes", "By"), "hand");
  EXPECT_EQ(saved.Get("Size", "Magnify"), "100");

  // The folder is a file: nothing can be written, the flag is still cleared.
  test::WriteFile(dir.Path() / "blocked", "x");
  ImagePropsStore blocked(dir.Path() / "blocked", decoder);
  blocked.SetModified(true);
  fs::path file = blocked.WriteImageProps(pic);
  EXPECT_EQ(file.filename(), PathFromUtf8(ImagePropsFileName(pic)));
  EXPECT_FALSE(blocked.Modified());
}

TEST_F(ImagePropsStoreTest, ReadingTheCurrentSlotTellsTheImageTab) {
  int shown = 0;
  store.SetOnCurrentPropsRead([&] { ++shown; });
  fs::path a = Picture("a.ppm", test::Numbered(3, 3));
  store.SetModified(true);
  store.LoadImageWithProperties(store.BottomImage(), a, ImageSlot::Bottom);
  EXPECT_EQ(shown, 0);
  EXPECT_TRUE(store.Modified());
  store.ReadImageProps(store.BottomImage(), ImageSlot::Current);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(store.Modified());
}

}  // namespace
}  // namespace ov
