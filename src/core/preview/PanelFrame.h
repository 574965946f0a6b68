#pragma once
// The layers of the "面板" tab over the preview: a translucent label that stands in for
// the calendar panel, stretched inside a rubber-band frame the user moves and resizes.
// Every change of the frame gives the calendar rectangle to store, in wallpaper pixels.
#include <optional>

#include "core/platform/TextRenderer.h"
#include "core/preview/PreviewGeometry.h"
#include "core/render/Bitmap32.h"

namespace ov {

class PanelFrame {
 public:
  // Creates the layers for a preview of `preview` pixels showing a wallpaper of
  // `wallpaper` pixels. The calendar rectangle is first held inside the wallpaper; the
  // held rectangle is returned for the caller to store, and the frame is placed on it.
  Rect Show(const Rect& calendarRect, Size wallpaper, Size preview);
  // The layers are deleted; the frame no longer takes the mouse.
  void Hide();
  bool Visible() const { return visible_; }

  // The preview was laid out anew: the frame moves to the rectangle, no clamping.
  void Place(const Rect& calendarRect, Size wallpaper, Size preview);

  // Which part of the frame is under a preview point; kFrameNone when hidden.
  uint8_t HitTest(Point p) const;
  // A press on the frame begins moving or resizing it; false when the press missed it.
  bool Press(Point p);
  bool Dragging() const { return hit_ != kFrameNone; }
  // The mouse moved while pressed: the frame follows, and the rectangle to store comes
  // back. Nothing limits it to the wallpaper here.
  std::optional<Rect> MoveTo(Point p);
  void Release() { hit_ = kFrameNone; }

  const FrameRect& Frame() const { return frame_; }

 private:
  bool visible_ = false;
  Size wallpaper_{0, 0}, preview_{0, 0};
  FrameRect frame_, start_;
  Point pressed_{0, 0};
  uint8_t hit_ = kFrameNone;
};

// The label layer's 80 x 80 picture: CalendarColor (0xRRGGBB) with alpha CalendarAlpha,
// and "日历面板" at (2, 2) in 0xFFFFFFC0 with hard edges.
inline constexpr int32_t kPanelLabelSize = 80;
void MakePanelLabel(TBitmap32& label, ITextRenderer& text, const FontSpec& font, uint32_t calendarColor,
                    int32_t calendarAlpha);

// Blends the label stretched to the frame onto the preview, then draws the frame's
// outline and its eight handles (kFrameHandle pixels either side of the edge lines).
void DrawPanelLayers(TBitmap32& preview, const TBitmap32& label, const FrameRect& frame);

}  // namespace ov
