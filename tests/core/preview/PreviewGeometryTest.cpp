#include <gtest/gtest.h>

#include "core/preview/PreviewGeometry.h"

namespace ov {
namespace {

TEST(PreviewGeometry, LayoutKeepsTheAspectInsideThePanel) {
  struct Case {
    int32_t w, h, cw, ch;
    Rect want;
  } cases[] = {
      {1920, 1080, 576, 309, {13, 0, 562, 309}},  // height-limited
      {1280, 1024, 576, 309, {95, 0, 481, 309}},
      {1920, 1080, 576, 400, {0, 38, 576, 362}},  // width-limited, centred vertically
      {1920, 1080, 2, 1, {0, 0, 4, 4}},           // never below 4 x 4
      {0, 0, 100, 50, {25, 0, 75, 50}},           // no size: square
  };
  for (const auto& c : cases) EXPECT_EQ(LayoutPreviewRect(c.w, c.h, c.cw, c.ch), c.want) << c.w << "x" << c.h;
}

TEST(PreviewGeometry, MappingRoundsHalfToEvenBothWays) {
  PreviewMapping m({549, 309}, {1920, 1080});
  EXPECT_EQ(m.ToPreview(Point{1920, 1080}), (Point{549, 309}));
  EXPECT_EQ(m.ToWallpaper(Point{549, 309}), (Point{1920, 1080}));
  EXPECT_EQ(m.ToWallpaper(Point{100, 10}), (Point{350, 35}));  // 349.72, 34.95
  // 1/2 scale: 5 -> 2.5 -> 2 and 7 -> 3.5 -> 4 (ties to even).
  PreviewMapping half({50, 50}, {100, 100});
  EXPECT_EQ(half.ToPreview(Rect{5, 7, 9, 11}), (Rect{2, 4, 4, 6}));
  EXPECT_EQ(half.ToWallpaper(Rect{2, 4, 4, 6}), (Rect{4, 8, 8, 12}));
  EXPECT_EQ(PreviewMapping({0, 0}, {1920, 1080}).ToWallpaper(Point{3, 3}), (Point{0, 0}));
}

TEST(PreviewGeometry, CalendarRectIsClampedToTheWallpaper) {
  EXPECT_EQ(ClampCalendarRect({-10, -5, 5000, 5000}, {1920, 1080}), (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(ClampCalendarRect({640, 60, 1860, 1040}, {1920, 1080}), (Rect{640, 60, 1860, 1040}));
}

TEST(PreviewGeometry, PictureDragRules) {
  TImageProps fit, tile, stretch;
  tile.Tile = true;
  stretch.Stretch = true;
  EXPECT_TRUE(StartsPictureDrag(true, false, fit));
  EXPECT_FALSE(StartsPictureDrag(false, false, fit));
  EXPECT_FALSE(StartsPictureDrag(true, true, fit));
  EXPECT_FALSE(StartsPictureDrag(true, false, tile));
  EXPECT_FALSE(StartsPictureDrag(true, false, stretch));
  // 549 preview pixels for 1920: 10 pixels are 34.97 wallpaper pixels, cut toward zero.
  EXPECT_EQ(DraggedOffset(0, 110, 100, 549, 1920), 34);
  EXPECT_EQ(DraggedOffset(0, 90, 100, 549, 1920), -34);
  EXPECT_EQ(DraggedOffset(5, 110, 100, 549, 1920), 39);
  EXPECT_EQ(DraggedOffset(7, 110, 100, 0, 1920), 7);
}

TEST(PreviewGeometry, FrameHandlesAreFourPixels) {
  const FrameRect f{100, 50, 200, 150};
  struct Case {
    Point p;
    uint8_t want;
  } cases[] = {
      {{150, 100}, kFrameMove},
      {{96, 100}, kFrameLeft},   {{95, 100}, kFrameNone},   {{104, 100}, kFrameLeft},
      {{105, 100}, kFrameMove},  {{204, 100}, kFrameRight}, {{150, 46}, kFrameTop},
      {{150, 153}, kFrameBottom}, {{98, 52}, kFrameLeft | kFrameTop},
      {{203, 148}, kFrameRight | kFrameBottom}, {{300, 300}, kFrameNone},
  };
  for (const auto& c : cases) EXPECT_EQ(HitTestFrame(f, c.p), c.want) << c.p.x << "," << c.p.y;
  // A frame narrower than both handles: the nearer edge wins.
  EXPECT_EQ(HitTestFrame({100, 50, 103, 150}, Point{102, 100}), kFrameRight);
}

TEST(PreviewGeometry, FrameDragsWithoutClampAndStoresWallpaperPixels) {
  const FrameRect f{100, 50, 200, 150};
  FrameRect moved = DragFrame(f, kFrameMove, -150, 400);  // past the preview: not held back
  EXPECT_DOUBLE_EQ(moved.left, -50);
  EXPECT_DOUBLE_EQ(moved.bottom, 550);
  FrameRect grown = DragFrame(f, kFrameRight | kFrameBottom, 20.5, -10);
  EXPECT_DOUBLE_EQ(grown.right, 220.5);
  EXPECT_DOUBLE_EQ(grown.bottom, 140);
  EXPECT_DOUBLE_EQ(grown.left, 100);
  FrameRect crossed = DragFrame(f, kFrameLeft, 500, 0);
  EXPECT_DOUBLE_EQ(crossed.left, 199);
  PreviewMapping m({549, 309}, {1920, 1080});
  // 220.5 rounds to 220 (even), then maps to 769.4 -> 769.
  EXPECT_EQ(FrameToCalendarRect(grown, m), (Rect{350, 175, 769, 489}));
  EXPECT_EQ(FrameToCalendarRect(moved, m), (Rect{-175, 1573, 175, 1922}));
}

}  // namespace
}  // namespace ov
