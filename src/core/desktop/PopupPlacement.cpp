#include "core/desktop/PopupPlacement.h"

#include <algorithm>

#include "core/util/Numeric.h"

namespace ov {

namespace {

int32_t Sat(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

Rect PopupRectForCell(const Rect& cell, const Rect& entryRect, bool hasEntryRect) {
  if (!hasEntryRect) return cell;
  return {cell.left, cell.top, Sat(int64_t(cell.left) + entryRect.Width()), Sat(int64_t(cell.top) + entryRect.Height())};
}

PopupPlacementResult PlacePopup(const PopupPlacementInput& in) {
  const Rect& desktop = in.desktop;
  int64_t left = in.popupRect.left;
  int64_t top = (in.showCaption ? int64_t(in.popupRect.top) - in.captionHeight - 1 : in.popupRect.top) -
                std::max<int32_t>(in.eventsHeight, 0);
  bool scrollbar = in.showScrollbar && !in.autoHeight;
  int64_t s = scrollbar ? in.scrollbarWidth : 0;
  int64_t width = std::max<int64_t>(kEntryMinWidth, in.popupRect.right + s - left);
  int64_t height = std::max<int64_t>(kEntryMinHeight, in.popupRect.bottom - top);

  if (in.autoHeight && in.lineHeight > 0) {
    int64_t visible = std::max<int64_t>(0, height - in.chromeHeight) / in.lineHeight;
    if (in.lineCount > visible) {
      height += (in.lineCount - visible) * in.lineHeight;
      if (height > desktop.Height()) {
        height = desktop.Height();
        scrollbar = true;
      }
    }
  }

  // Never taller than the area, whatever the stored size (one saved on a taller monitor,
  // or with auto height off): the memo scrolls instead. With auto height on the scroll bar
  // comes on when the shortened memo no longer shows every line.
  if (height > desktop.Height() && desktop.Height() > 0) {
    height = desktop.Height();
    if (in.autoHeight && in.lineHeight > 0 && in.lineCount > std::max<int64_t>(0, height - in.chromeHeight) / in.lineHeight)
      scrollbar = true;
  }

  if (left + width > desktop.right) left = desktop.right - width;
  if (left < desktop.left) left = desktop.left;
  if (top + height > desktop.bottom) top = desktop.bottom - height;
  if (top < desktop.top) top = desktop.top;
  return {{Sat(left), Sat(top), Sat(left + width), Sat(top + height)}, scrollbar};
}

Rect PopupRectFromWindow(const Rect& window, bool showCaption, int32_t captionHeight, int32_t eventsHeight) {
  Rect r = window;
  r.top = Sat(int64_t(window.top) + (showCaption ? int64_t(captionHeight) + 1 : 0) + std::max<int32_t>(eventsHeight, 0));
  return r;
}

std::vector<DayEvent> PopupEventLines(const std::vector<DayEvent>& events, size_t maxLines) {
  if (events.size() <= maxLines) return events;
  if (maxLines == 0) return {};
  // The last row tells how many more there are, in no calendar's colour.
  std::vector<DayEvent> shown(events.begin(), events.begin() + std::ptrdiff_t(maxLines - 1));
  shown.push_back({"还有 " + std::to_string(events.size() - (maxLines - 1)) + " 项", kNoEventColor});
  return shown;
}

FrameHit EntryFrameHitTest(int32_t x, int32_t y, int32_t w, int32_t h) {
  FrameHit hit = FrameHit::None;
  if (x < 8) {
    hit = FrameHit::Left;
    if (y < 8) hit = FrameHit::TopLeft;
    if (y > h - 16) hit = FrameHit::BottomLeft;
  }
  if (x > w - 8) {
    hit = FrameHit::Right;
    if (y < 8) hit = FrameHit::TopRight;
    if (y > h - 16) hit = FrameHit::BottomRight;
  }
  if (y < 8) {
    hit = FrameHit::Top;
    if (x < 8) hit = FrameHit::TopLeft;
    if (x > w - 16) hit = FrameHit::TopRight;
  }
  if (y > h - 8) {
    hit = FrameHit::Bottom;
    if (x < 8) hit = FrameHit::BottomLeft;
    if (x > w - 16) hit = FrameHit::BottomRight;
  }
  return hit;
}

uint32_t EntryMemoColor(uint32_t windowColor, uint32_t codeMask, const uint32_t (&codeColors)[8]) {
  int index = -1;
  for (int i = 0; i < 8; ++i)
    if (codeMask & (1u << i)) {
      index = i;
      break;
    }
  if (index < 0) return windowColor & 0xFFFFFF;
  uint32_t code = codeColors[index];
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int base = Clamp<int>(static_cast<int>((windowColor >> shift) & 0xFF) - 30, 0, 255);
    int add = static_cast<int>((code >> shift) & 0xFF) / 10;
    out |= static_cast<uint32_t>(std::min(255, base + add)) << shift;
  }
  return out;
}

Point CenterOnPointKeptOnDesktop(Point cursor, Size window, Size desktop) {
  return CenterOnPointKeptInArea(cursor, window, {0, 0, desktop.width, desktop.height});
}

Point CenterOnPointKeptInArea(Point cursor, Size window, const Rect& area) {
  const Rect& a = area;
  int64_t left = int64_t(cursor.x) - window.width / 2;
  int64_t top = int64_t(cursor.y) - window.height / 2;
  if (left + window.width > a.right) left = int64_t(a.right) - window.width;
  if (top + window.height > a.bottom) top = int64_t(a.bottom) - window.height;
  if (left < a.left) left = a.left;
  if (top < a.top) top = a.top;
  return {Sat(left), Sat(top)};
}

}  // namespace ov
