#include <gtest/gtest.h>

#include <algorithm>

#include "core/library/ImageLibrary.h"
#include "core/util/Paths.h"
#include "support/TempDir.h"

namespace ov {
namespace {

TEST(ImageLibrary, FindsPicturesInEveryFolderAndSkipsShortAndBracketedNames) {
  test::TempDir tmp;
  const auto& root = tmp.Path();
  test::WriteFile(root / "one.jpg", "x");
  test::WriteFile(root / "Sub" / "two.PNG", "xy");
  test::WriteFile(root / "Sub" / "Deeper" / "three.tiff", "xyz");
  test::WriteFile(root / "notes.txt", "x");
  test::WriteFile(root / "(old)" / "four.jpg", "x");   // folder skipped
  test::WriteFile(root / "(five).bmp", "x");           // file skipped
  test::WriteFile(root / "ab" / "six.gif", "x");        // 2-character folder skipped
  test::WriteFile(root / PathFromUtf8("图片集") / PathFromUtf8("七月.jpeg"), "x");
  std::vector<TImageItem> items;
  ScanImageFolder(root, items);
  std::vector<std::string> names;
  for (const auto& i : items) names.push_back(i.Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"one.jpg", "three.tiff", "two.PNG", "七月.jpeg"}));
  for (const auto& i : items)
    if (i.Name == "two.PNG") {
      EXPECT_EQ(i.FileSize, 2u);
      EXPECT_EQ(PathFromUtf8(i.FileName), root / "Sub" / "two.PNG");
    }
}

TEST(ImageLibrary, ListsHiddenFoldersAndAnyCaseOfExtension) {
  test::TempDir tmp;
  const auto& root = tmp.Path();
  test::WriteFile(root / "a.jpg", "x");
  test::WriteFile(root / "x", "x");
  test::WriteFile(root / "noext", "x");
  test::WriteFile(root / "PHOTO.JPG", "x");
  test::WriteFile(root / "photo.Jpeg", "x");
  test::WriteFile(root / ".hidden" / "h.png", "x");
  test::WriteFile(root / "(skip)" / "s.png", "x");
  test::WriteFile(root / "sub" / "inner" / "i.bmp", "x");
  test::WriteFile(root / PathFromUtf8("图") / "c.png", "x");  // one character, three bytes
  std::vector<TImageItem> items;
  ScanImageFolder(root, items);
  std::vector<std::string> names;
  for (const auto& i : items) names.push_back(i.Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"PHOTO.JPG", "a.jpg", "h.png", "i.bmp", "photo.Jpeg"}));
  // Without the image filter every file counts, the short and bracketed names still not.
  std::vector<std::filesystem::path> all;
  ScanAllFiles(root, all);
  EXPECT_EQ(all.size(), 6u);  // the five images and "noext"
  EXPECT_NE(std::find(all.begin(), all.end(), root / "noext"), all.end());
}

TEST(ImageLibrary, AMissingFolderGivesNothing) {
  std::vector<TImageItem> items;
  ScanImageFolder("/no/such/folder/anywhere", items);
  ScanImageFolder("", items);
  ScanImageFolder("/", items);  // a one-character folder is not scanned
  EXPECT_TRUE(items.empty());
}

}  // namespace
}  // namespace ov
