#pragma once
// ImageGrid: the picture library's owner-drawn grid on the image tab. Two columns (the
// thumbnail and the text), one row per library entry, whole-row selection, a vertical
// scroll bar. Thumbnails are asked for when a row is first painted without one; until
// theirs arrives a cell shows the grey fill. A picture that gave no thumbnail is not asked
// for again until the library is rebuilt: its row stays grey.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/library/ImageLibrary.h"
#include "core/util/Rect.h"
#include "win/ui/Window.h"

namespace ov {

class ImageGrid final : public Window {
 public:
  struct Events {
    std::function<void()> onClick;        // a row chosen with the mouse or the keys
    std::function<void()> onDoubleClick;
    std::function<void(POINT screen)> onContextMenu;
    // A painted row without a thumbnail; `cell` is the thumbnail's size.
    std::function<void(size_t row, Size cell)> onThumbnailWanted;
  };

  ~ImageGrid() override;
  bool Create(HWND parent, const std::vector<TImageItem>& library, Events events);

  // Column 0's width and the row height; column 1 is `textWidth` wide.
  void SetGeometry(int thumbWidth, int rowHeight, int textWidth);
  // The library changed: as many rows as entries (at least one), nothing asked for yet.
  void Reset();
  size_t CurrentRow() const { return current_; }
  // Makes `row` current, and with `makeTop` the first visible row as well.
  void SetCurrentRow(size_t row, bool makeTop);
  int RowHeight() const { return rowHeight_; }
  int TopRow() const { return top_; }
  // Scrolls so that `row` is the first visible row, as far as the rows allow.
  void SetTopRow(int row) { ScrollTo(row); }
  // A thumbnail arrived, or failed when the row's item still has none: that row is
  // painted again; a failure is remembered, so that painting does not ask again.
  void ThumbnailArrived(size_t row);
  // The cell size a thumbnail is made for: the column cell shrunk by 2 on every side.
  Size ThumbnailCell() const { return {thumbWidth_ - 4, rowHeight_ - 4}; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  size_t RowCount() const { return library_->empty() ? 1 : library_->size(); }
  int VisibleRows() const;
  void UpdateScrollBar();
  void ScrollTo(int top);
  void MoveCurrent(long long row);
  void Paint(HDC dc, const RECT& clip);
  void PaintRow(HDC dc, size_t row, const RECT& rowRect);
  void RowRect(size_t row, RECT& r) const;
  long long RowAt(int y) const;
  void MakeFonts(HFONT base);

  const std::vector<TImageItem>* library_ = nullptr;
  Events events_;
  // Per row: nothing asked yet, a thumbnail on its way, or the picture gave none.
  enum class Thumb : uint8_t { kNone, kAsked, kFailed };
  std::vector<Thumb> thumbs_;
  HFONT font_ = nullptr, bold_ = nullptr;
  bool ownFont_ = false;
  int thumbWidth_ = 66, rowHeight_ = 49, textWidth_ = 220;
  int top_ = 0;
  size_t current_ = 0;
  int wheelRest_ = 0;
};

// Measures and draws the owner-drawn header item of a pop-up menu whose item data is the
// caption (a wide string): light cyan on dark teal, centred, with a raised edge.
void MeasureMenuHeader(HWND hwnd, MEASUREITEMSTRUCT& mi);
void DrawMenuHeader(const DRAWITEMSTRUCT& di);

}  // namespace ov
