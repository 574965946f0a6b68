#include <gtest/gtest.h>

#include "core/util/PathEllipsis.h"

namespace ov {
namespace {

// One unit per character (UTF-8 lead bytes), so widths read as character counts.
int32_t CountChars(std::string_view s) {
  int32_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

TEST(PathEllipsis, DropsFoldersFromTheMiddleAndKeepsTheName) {
  const std::string skin = "C:\\Program Files\\Orvinta\\Skin Images\\gold.png";  // 45 characters
  struct Case {
    std::string path;
    int32_t width;
    std::string expected;
  } cases[] = {
      {skin, 45, skin},
      {skin, 43, "C:\\…\\Orvinta\\Skin Images\\gold.png"},
      {skin, 30, "C:\\…\\Skin Images\\gold.png"},
      {skin, 20, "C:\\…\\gold.png"},
      {skin, 11, "…\\gold.png"},
      {skin, 7, "gol…png"},
      {skin, 1, "…"},
      {"D:/pictures/2024/summer/beach.jpg", 22, "D:/…/summer/beach.jpg"},
      {"\\\\server\\share\\folder\\a.bmp", 20, "\\\\server\\…\\a.bmp"},
      {"C:\\图片\\壁纸\\很长的名字的图像.png", 20, "C:\\…\\壁纸\\很长的名字的图像.png"},
      {"C:\\图片\\壁纸\\很长的名字的图像.png", 6, "很长的…ng"},
      {"a-very-long-name-without-folders.png", 10, "a-ver….png"},
      {"", 5, ""},
  };
  for (const Case& c : cases) {
    std::string got = ShortenPathMiddle(c.path, c.width, CountChars);
    EXPECT_EQ(got, c.expected) << c.path << " in " << c.width;
    if (!c.path.empty() && c.width > 1) {
      EXPECT_LE(CountChars(got), c.width) << c.path;
    }
  }
}

}  // namespace
}  // namespace ov
