#include <gtest/gtest.h>

#include "core/platform/FakeTextRenderer.h"
#include "core/preview/PanelFrame.h"

namespace ov {
namespace {

const Size kWallpaper{1920, 1080}, kPreview{549, 309};

TEST(PanelFrame, ShowClampsThenDragsStoreUnclampedWallpaperRects) {
  PanelFrame f;
  EXPECT_EQ(f.HitTest(Point{10, 10}), kFrameNone);  // no layers before the tab shows
  EXPECT_EQ(f.Show({-10, -5, 5000, 5000}, kWallpaper, kPreview), (Rect{0, 0, 1920, 1080}));
  EXPECT_DOUBLE_EQ(f.Frame().right, 549);

  // Each step presses at `from` and moves to `to`, starting from the rectangle shown.
  struct Step {
    Rect shown;
    Point from, to;
    std::optional<Rect> stored;
  } steps[] = {
      // The middle moves the whole frame; 40 preview pixels are 139.9 wallpaper pixels.
      {{640, 60, 1860, 1040}, {200, 150}, {160, 170}, Rect{500, 129, 1721, 1111}},
      // Past the wallpaper's edge while dragging: nothing holds it back (60 went to 17
      // preview pixels and comes back as 59).
      {{640, 60, 1860, 1040}, {200, 150}, {500, 150}, Rect{1689, 59, 2910, 1042}},
      // The bottom-right handle resizes; the top-left corner stays.
      {{640, 60, 1860, 1040}, {532, 297}, {512, 287}, Rect{640, 59, 1791, 1007}},
      // A press beside the frame takes nothing.
      {{640, 60, 1860, 1040}, {100, 150}, {120, 150}, std::nullopt},
  };
  for (const Step& s : steps) {
    f.Show(s.shown, kWallpaper, kPreview);
    const bool pressed = f.Press(s.from);
    EXPECT_EQ(pressed, s.stored.has_value()) << s.from.x << "," << s.from.y;
    EXPECT_EQ(f.MoveTo(s.to), s.stored) << s.to.x << "," << s.to.y;
    f.Release();
    EXPECT_EQ(f.MoveTo(Point{0, 0}), std::nullopt);  // released: moves do nothing
  }

  // A new layout moves the frame to the stored rectangle as it is.
  f.Place({-100, 0, 960, 540}, kWallpaper, {274, 154});
  EXPECT_DOUBLE_EQ(f.Frame().left, -14);
  EXPECT_DOUBLE_EQ(f.Frame().right, 137);
  // A preview not laid out yet maps everything to 0: a drag then stores nothing.
  f.Show({640, 60, 1860, 1040}, kWallpaper, {0, 0});
  f.Press(Point{0, 0});
  EXPECT_EQ(f.MoveTo(Point{5, 5}), std::nullopt);
  f.Hide();
  EXPECT_FALSE(f.Press(Point{50, 50}));
}

TEST(PanelFrame, LabelAndFrameDrawing) {
  FakeTextRenderer text;
  FontSpec font;
  font.height = -12;
  TBitmap32 label;
  MakePanelLabel(label, text, font, 0x336699, 82);
  ASSERT_EQ(label.Width(), kPanelLabelSize);
  const Pixel fill = 0x52336699u;
  EXPECT_EQ(label.At(1, 1), fill);
  EXPECT_EQ(label.At(2, 3), 0xFFFFFFC0u);  // the first glyph
  for (int32_t y = 0; y < label.Height(); ++y)
    for (int32_t x = 0; x < label.Width(); ++x)
      ASSERT_TRUE(label.At(x, y) == fill || label.At(x, y) == 0xFFFFFFC0u) << "soft edge at " << x << "," << y;

  // A frame hanging over the preview's edges: the label blends inside, the outline and
  // handles lie on the edges, and nothing is drawn outside.
  TBitmap32 preview(120, 80);
  preview.Clear(0xFF000000u);
  DrawPanelLayers(preview, label, FrameRect{-30, 20, 60.4, 200});
  EXPECT_EQ(preview.At(100, 10), 0xFF000000u);
  EXPECT_EQ(preview.At(30, 60), 0xFF102131u);  // 0x336699 at 82 / 255 over black
  EXPECT_NE(preview.At(59, 50), preview.At(58, 50));  // the right edge's line
  EXPECT_EQ(preview.At(60, 50), 0xFF000000u);
}

}  // namespace
}  // namespace ov
