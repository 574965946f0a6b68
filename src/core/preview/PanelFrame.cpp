#include "core/preview/PanelFrame.h"

#include <algorithm>

#include "core/render/Blend.h"
#include "core/util/Numeric.h"

namespace ov {

Rect PanelFrame::Show(const Rect& calendarRect, Size wallpaper, Size preview) {
  const Rect held = ClampCalendarRect(calendarRect, wallpaper);
  visible_ = true;
  hit_ = kFrameNone;
  Place(held, wallpaper, preview);
  return held;
}

void PanelFrame::Hide() {
  visible_ = false;
  hit_ = kFrameNone;
}

void PanelFrame::Place(const Rect& calendarRect, Size wallpaper, Size preview) {
  wallpaper_ = wallpaper;
  preview_ = preview;
  const Rect r = PreviewMapping(preview, wallpaper).ToPreview(calendarRect);
  frame_ = {double(r.left), double(r.top), double(r.right), double(r.bottom)};
}

uint8_t PanelFrame::HitTest(Point p) const { return visible_ ? HitTestFrame(frame_, p) : uint8_t{kFrameNone}; }

bool PanelFrame::Press(Point p) {
  hit_ = HitTest(p);
  if (hit_ == kFrameNone) return false;
  start_ = frame_;
  pressed_ = p;
  return true;
}

std::optional<Rect> PanelFrame::MoveTo(Point p) {
  if (!visible_ || hit_ == kFrameNone) return std::nullopt;
  // Without both sizes the mapping gives zeros: storing them would lose the panel's place.
  if (preview_.width <= 0 || preview_.height <= 0 || wallpaper_.width <= 0 || wallpaper_.height <= 0)
    return std::nullopt;
  frame_ = DragFrame(start_, hit_, double(p.x) - pressed_.x, double(p.y) - pressed_.y);
  return FrameToCalendarRect(frame_, PreviewMapping(preview_, wallpaper_));
}

void MakePanelLabel(TBitmap32& label, ITextRenderer& text, const FontSpec& font, uint32_t calendarColor,
                    int32_t calendarAlpha) {
  const uint32_t alpha = static_cast<uint32_t>(Clamp(calendarAlpha, 0, 255));
  label.SetSize(kPanelLabelSize, kPanelLabelSize);
  label.Clear((alpha << 24) | (calendarColor & 0xFFFFFFu));
  // The text is drawn white on black first and every pixel more than half covered takes
  // the text colour whole: hard edges whatever smoothing the platform applies.
  TBitmap32 mask(kPanelLabelSize, kPanelLabelSize);
  mask.Clear(0xFF000000u);
  text.DrawAt(mask, 2, 2, font, 0xFFFFFF, "日历面板");
  constexpr Pixel kTextColor = 0xFFFFFFC0u;
  for (int32_t y = 0; y < kPanelLabelSize; ++y)
    for (int32_t x = 0; x < kPanelLabelSize; ++x)
      if (GreenOf(mask.At(x, y)) >= 128) label.At(x, y) = kTextColor;
}

namespace {

void HandleAt(TBitmap32& dst, int32_t cx, int32_t cy) {
  constexpr int32_t r = kFrameHandle - 1;
  dst.FillRectOpaque(Rect{cx - r, cy - r, cx + r + 1, cy + r + 1}, 0xFF000000u);
  dst.FillRectOpaque(Rect{cx - r + 1, cy - r + 1, cx + r, cy + r}, 0xFFFFFFFFu);
}

// A one-pixel line in alternating black and white runs of two, so it shows on any picture.
void StippleH(TBitmap32& dst, int32_t x0, int32_t x1, int32_t y) {
  if (y < 0 || y >= dst.Height()) return;
  for (int32_t x = std::max(x0, 0); x < std::min(x1, dst.Width()); ++x)
    dst.At(x, y) = ((x >> 1) & 1) ? 0xFFFFFFFFu : 0xFF000000u;
}

void StippleV(TBitmap32& dst, int32_t x, int32_t y0, int32_t y1) {
  if (x < 0 || x >= dst.Width()) return;
  for (int32_t y = std::max(y0, 0); y < std::min(y1, dst.Height()); ++y)
    dst.At(x, y) = ((y >> 1) & 1) ? 0xFFFFFFFFu : 0xFF000000u;
}

}  // namespace

void DrawPanelLayers(TBitmap32& dst, const TBitmap32& label, const FrameRect& frame) {
  if (dst.Empty()) return;
  const int32_t l = Round32(frame.left), t = Round32(frame.top), r = Round32(frame.right), b = Round32(frame.bottom);
  const int64_t w = int64_t(r) - l, h = int64_t(b) - t;
  if (w <= 0 || h <= 0) return;
  if (!label.Empty()) {
    const int32_t y0 = std::max(t, 0), y1 = std::min(b, dst.Height());
    const int32_t x0 = std::max(l, 0), x1 = std::min(r, dst.Width());
    for (int32_t y = y0; y < y1; ++y) {
      const Pixel* src = label.Row(static_cast<int32_t>((int64_t(y) - t) * label.Height() / h));
      Pixel* row = dst.Row(y);
      for (int32_t x = x0; x < x1; ++x)
        row[x] = BlendOver(src[static_cast<int32_t>((int64_t(x) - l) * label.Width() / w)], row[x]);
    }
  }
  StippleH(dst, l, r, t);
  StippleH(dst, l, r, b - 1);
  StippleV(dst, l, t, b);
  StippleV(dst, r - 1, t, b);
  const int32_t mx = l + static_cast<int32_t>(w / 2), my = t + static_cast<int32_t>(h / 2);
  for (int32_t x : {l, mx, r - 1})
    for (int32_t y : {t, my, b - 1})
      if (x != mx || y != my) HandleAt(dst, x, y);
}

}  // namespace ov
