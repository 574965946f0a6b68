#pragma once
// Where the entry pop-up goes and how big it is, worked out without a window so that
// every rule can be tested.
#include <cstdint>
#include <string>
#include <vector>

#include "core/render/DayDataSource.h"
#include "core/util/Rect.h"

namespace ov {

// The caption bar of the pop-up, 16 pixels high plus one pixel of frame.
inline constexpr int32_t kEntryCaptionHeight = 16;
inline constexpr int32_t kEntryMinWidth = 42;
inline constexpr int32_t kEntryMinHeight = 32;

// Where the pop-up's text area goes for a cell: the cell itself, or the user's own
// rectangle (EntryRect) moved so that its top-left corner is the cell's. The moved
// rectangle is also what EntryRect becomes.
Rect PopupRectForCell(const Rect& cell, const Rect& entryRect, bool hasEntryRect);

struct PopupPlacementInput {
  Rect popupRect;                 // the text area the window is placed for
  bool showCaption = true;
  int32_t captionHeight = kEntryCaptionHeight;  // the caption bar at the monitor's DPI
  // The day's subscribed events, read-only between the caption bar and the memo; the
  // window grows upwards by this much so the memo still lies over the cell.
  int32_t eventsHeight = 0;
  bool showScrollbar = true;      // the user's choice; ignored while auto height is on
  bool autoHeight = true;
  int32_t scrollbarWidth = 17;    // memo width minus its client width with a scroll bar
  int32_t chromeHeight = 0;       // window height minus the memo's client height
  int32_t lineHeight = 13;        // text height of "Xq" in the memo's font
  int32_t lineCount = 0;          // lines the memo shows (wrapped) for its text
  Rect desktop{0, 0, 1280, 1024}; // the area to stay in: the work area of the cell's monitor
};

struct PopupPlacementResult {
  Rect window;             // left, top, right, bottom of the whole window
  bool verticalScrollbar;  // the memo shows a vertical scroll bar
};

PopupPlacementResult PlacePopup(const PopupPlacementInput& in);

// The rectangle the user's resize leaves as PopupRect (and EntryRect): the window's
// bounds, with the top below the caption bar when it is shown and below the events.
Rect PopupRectFromWindow(const Rect& window, bool showCaption, int32_t captionHeight = kEntryCaptionHeight,
                         int32_t eventsHeight = 0);

// The event lines the pop-up shows above the memo: all of them when they are at most
// maxLines, else the first maxLines - 1 and a line "还有 N 项" whose rgb is
// kNoEventColor (no bar).
inline constexpr size_t kPopupMaxEventLines = 6;
inline constexpr uint32_t kNoEventColor = 0xFFFFFFFFu;
std::vector<DayEvent> PopupEventLines(const std::vector<DayEvent>& events, size_t maxLines = kPopupMaxEventLines);

// Frame hit-testing of the borderless pop-up, in window coordinates: which edge or corner
// a point is on (later rules override earlier ones); `fallback` when none.
enum class FrameHit { None, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };
FrameHit EntryFrameHitTest(int32_t x, int32_t y, int32_t width, int32_t height);

// The memo's background for a day's colour-code mask: the window colour less 30 in each
// channel plus a tenth of the code colour, or the window colour itself without a code.
// Colours are 0xRRGGBB.
uint32_t EntryMemoColor(uint32_t windowColor, uint32_t codeMask, const uint32_t (&codeColors)[8]);

// The first title that fits the title area: the long form, then the short one, then the
// bare day number. measure returns a text's width in the title's font.
template <typename Measure>
std::string ChooseTitle(const std::vector<std::string>& candidates, int32_t areaWidth, Measure measure) {
  for (size_t i = 0; i + 1 < candidates.size(); ++i)
    if (measure(candidates[i]) < areaWidth) return candidates[i];
  return candidates.empty() ? std::string() : candidates.back();
}

// A window centred on the cursor and kept on the desktop (from 0, 0),
// or kept in an area such as the work area of the cursor's monitor.
Point CenterOnPointKeptOnDesktop(Point cursor, Size window, Size desktop);
Point CenterOnPointKeptInArea(Point cursor, Size window, const Rect& area);

}  // namespace ov
