#include <gtest/gtest.h>

#include <set>

#include "core/library/LibraryView.h"
#include "core/util/Paths.h"

namespace ov {
namespace {

TEST(LibraryView, ThumbnailCellSizes) {
  struct Case {
    int32_t index, width, height;
  } cases[] = {{0, 28, 21}, {1, 50, 37}, {2, 66, 49}, {3, 99, 74}, {4, 199, 149}, {-1, 66, 49}, {5, 66, 49}};
  for (const auto& c : cases) {
    EXPECT_EQ(ThumbColumnWidth(c.index), c.width) << c.index;
    EXPECT_EQ(ThumbRowHeight(c.index), c.height) << c.index;
  }
}

TEST(LibraryView, ThumbnailIsThePictureAsFittedOnTheScreen) {
  struct Case {
    Size cell, screen, image;
    Rect want;
  } cases[] = {
      {{62, 45}, {1920, 1080}, {1920, 1080}, {1, 1, 63, 46}},  // same aspect: fills the cell
      {{62, 45}, {1920, 1080}, {1280, 1024}, {9, 1, 53, 46}},  // narrower: centred across
      {{62, 45}, {1920, 1080}, {3000, 500}, {2, 15, 64, 28}},  // wide: centred down
      {{62, 45}, {0, 0}, {100, 100}, {0, 0, 0, 0}},           // no screen: nothing
  };
  for (const auto& c : cases)
    EXPECT_EQ(ThumbnailPlacement(c.cell, c.screen, c.image), c.want) << c.image.width << "x" << c.image.height;
}

TEST(LibraryView, GridTextsAndHeader) {
  EXPECT_EQ(WithThousands(0), "0");
  EXPECT_EQ(WithThousands(999), "999");
  EXPECT_EQ(WithThousands(1000), "1,000");
  EXPECT_EQ(WithThousands(-1234567), "-1,234,567");
  EXPECT_EQ(ThumbnailText(1920, 1080, 1536000), "1920 x 1080 像素\r1,500 KB");
  EXPECT_EQ(ThumbnailText(16, 16, 511), "16 x 16 像素\r0 KB");
  EXPECT_EQ(ThumbnailText(16, 16, 1536), "16 x 16 像素\r2 KB");  // 1.5 rounds to even
  EXPECT_EQ(ThumbnailText(16, 16, uint64_t(5) << 30), "16 x 16 像素\r5,242,880 KB");
  EXPECT_EQ(LibraryCountCaption(0), "0 张图像");
  EXPECT_EQ(LibraryCountCaption(1234), "1234 张图像");
}

TEST(LibraryView, BackgroundRowAndDeletePrompt) {
  std::vector<TImageItem> lib(3);
  lib[0].FileName = "C:\\Pics\\a.jpg";
  lib[1].FileName = "C:\\Pics\\B.jpg";
  lib[2].FileName = "C:\\Pics\\B.jpg";
  EXPECT_EQ(BackgroundRow(lib, "C:\\Pics\\B.jpg"), 1u);
  EXPECT_EQ(BackgroundRow(lib, "C:\\Pics\\b.jpg"), 0u);  // letter case counts
  EXPECT_EQ(BackgroundRow(lib, ""), 0u);
  EXPECT_EQ(BackgroundRow({}, "C:\\Pics\\a.jpg"), std::nullopt);
  const std::filesystem::path file = std::filesystem::path("Pics") / PathFromUtf8("夏天.jpg");
  EXPECT_EQ(DeleteImagePrompt(PathToUtf8(file)), "您确定您要永久删除图像吗?\r“夏天.jpg”");
}

class FixedRandom final : public IRandom {
 public:
  explicit FixedRandom(size_t v) : v_(v) {}
  size_t Below(size_t n) override {
    last_n = n;
    return v_;
  }
  size_t last_n = 0;

 private:
  size_t v_;
};

TEST(LibraryView, SearchDrawsOneOfThirtyFiveTerms) {
  const auto& terms = WallpaperSearchTerms();
  std::set<std::string> distinct(terms.begin(), terms.end());
  EXPECT_EQ(distinct.size(), kSearchTermCount);
  struct Case {
    size_t draw;
    const char* term;
  } cases[] = {{1, "wild+nature"}, {16, "painting"}, {18, "movie+poster"}, {29, "desktop+wallpaper"},
               {31, "river"},      {34, "cat"}};
  for (const auto& c : cases) {
    FixedRandom r(c.draw);
    EXPECT_EQ(WallpaperSearchQuery(r), std::string("imgsz=xxlarge&scoring=d&q=") + c.term);
    EXPECT_EQ(r.last_n, kSearchTermCount);
  }
  for (size_t painter : {0, 17, 30}) {
    std::string t = terms[painter];
    EXPECT_FALSE(t.empty());
    EXPECT_EQ(t.find(' '), std::string::npos) << t;  // words joined by "+"
  }
}

}  // namespace
}  // namespace ov
