#include "win/config/ImageGrid.h"

#include <windowsx.h>

#include <algorithm>

#include "core/library/GridText.h"
#include "core/library/LibraryView.h"
#include "core/render/Bitmap32.h"
#include "win/platform/Utf16.h"
#include "win/ui/Dpi.h"

namespace ov {

namespace {

const wchar_t kGridClass[] = L"OVImageGrid";
// From the cell's top to the name, and from the name to the size text (96-dpi units).
constexpr int kTextTop = 2, kTextGap = 18;

void FillSys(HDC dc, const RECT& r, int color) { FillRect(dc, &r, GetSysColorBrush(color)); }

void DrawThumbnail(HDC dc, const TBitmap32& t, int x, int y, const RECT& clip) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = t.Width();
  bi.bmiHeader.biHeight = -t.Height();
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  const int w = std::min<int>(t.Width(), clip.right - x), h = std::min<int>(t.Height(), clip.bottom - y);
  if (w <= 0 || h <= 0) return;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(t.Height()),
                    t.Bits(), &bi, DIB_RGB_COLORS);
}

}  // namespace

ImageGrid::~ImageGrid() {
  if (bold_) DeleteObject(bold_);
  if (ownFont_ && font_) DeleteObject(font_);
}

bool ImageGrid::Create(HWND parent, const std::vector<TImageItem>& library, Events events) {
  library_ = &library;
  events_ = std::move(events);
  if (!CreateWindowOfClass(kGridClass, L"", WS_CHILD | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS, WS_EX_CLIENTEDGE,
                           0, 0, 10, 10, parent, nullptr, CS_DBLCLKS))
    return false;
  MakeFonts(reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)));
  Reset();
  return true;
}

void ImageGrid::MakeFonts(HFONT base) {
  if (bold_) DeleteObject(bold_);
  if (ownFont_ && font_) DeleteObject(font_);
  ownFont_ = base == nullptr;
  font_ = base ? base : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  GetObjectW(font_, sizeof(lf), &lf);
  lf.lfWeight = FW_BOLD;
  bold_ = CreateFontIndirectW(&lf);
}

void ImageGrid::SetGeometry(int thumbWidth, int rowHeight, int textWidth) {
  thumbWidth_ = std::max(thumbWidth, 5);
  rowHeight_ = std::max(rowHeight, 5);
  textWidth_ = textWidth;
  if (!Handle()) return;
  UpdateScrollBar();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageGrid::Reset() {
  thumbs_.assign(RowCount(), Thumb::kNone);
  current_ = std::min(current_, RowCount() - 1);
  top_ = 0;
  if (!Handle()) return;
  UpdateScrollBar();
  InvalidateRect(Handle(), nullptr, FALSE);
}

int ImageGrid::VisibleRows() const {
  RECT rc;
  GetClientRect(Handle(), &rc);
  return std::max<int>(1, rc.bottom / rowHeight_);
}

void ImageGrid::UpdateScrollBar() {
  if (!Handle()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = static_cast<int>(RowCount()) - 1;
  si.nPage = static_cast<UINT>(VisibleRows());
  top_ = std::clamp(top_, 0, std::max(0, static_cast<int>(RowCount()) - VisibleRows()));
  si.nPos = top_;
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

void ImageGrid::ScrollTo(int top) {
  if (!Handle()) return;
  const int maxTop = std::max(0, static_cast<int>(RowCount()) - VisibleRows());
  top = std::clamp(top, 0, maxTop);
  if (top == top_) return;
  top_ = top;
  SetScrollPos(Handle(), SB_VERT, top_, TRUE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageGrid::SetCurrentRow(size_t row, bool makeTop) {
  if (!Handle() || row >= RowCount()) return;
  current_ = row;
  if (makeTop) {
    ScrollTo(static_cast<int>(row));
  } else if (static_cast<int>(row) < top_) {
    ScrollTo(static_cast<int>(row));
  } else if (static_cast<int>(row) >= top_ + VisibleRows()) {
    ScrollTo(static_cast<int>(row) - VisibleRows() + 1);
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

void ImageGrid::MoveCurrent(long long row) {
  if (library_->empty()) return;
  row = std::clamp<long long>(row, 0, static_cast<long long>(RowCount()) - 1);
  if (static_cast<size_t>(row) == current_) return;
  SetCurrentRow(static_cast<size_t>(row), false);
  UpdateWindow(Handle());
  if (events_.onClick) events_.onClick();
}

void ImageGrid::ThumbnailArrived(size_t row) {
  if (!Handle() || row >= thumbs_.size()) return;
  const bool made = row < library_->size() && (*library_)[row].Thumbnail;
  thumbs_[row] = made ? Thumb::kNone : Thumb::kFailed;
  RECT r;
  RowRect(row, r);
  InvalidateRect(Handle(), &r, FALSE);
}

void ImageGrid::RowRect(size_t row, RECT& r) const {
  RECT rc;
  GetClientRect(Handle(), &rc);
  const int y = (static_cast<int>(row) - top_) * rowHeight_;
  r = RECT{0, y, rc.right, y + rowHeight_};
}

long long ImageGrid::RowAt(int y) const {
  if (y < 0) return -1;
  long long row = top_ + y / rowHeight_;
  return row < static_cast<long long>(library_->size()) ? row : -1;
}

void ImageGrid::Paint(HDC dc, const RECT& clip) {
  RECT rc;
  GetClientRect(Handle(), &rc);
  // Drawn off-screen first, so scrolling and arriving thumbnails do not flicker.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, std::max<int>(1, rc.right), std::max<int>(1, rc.bottom));
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  FillSys(mem, rc, COLOR_WINDOW);
  if (!library_->empty()) {
    for (size_t row = static_cast<size_t>(top_); row < library_->size(); ++row) {
      RECT r;
      RowRect(row, r);
      if (r.top >= rc.bottom) break;
      if (r.bottom <= clip.top || r.top >= clip.bottom) continue;
      PaintRow(mem, row, r);
    }
  }
  BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top, SRCCOPY);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
}

void ImageGrid::PaintRow(HDC dc, size_t row, const RECT& rowRect) {
  const TImageItem& item = (*library_)[row];
  const bool selected = row == current_;
  const RECT cells[2] = {{0, rowRect.top, thumbWidth_, rowRect.bottom},
                         {thumbWidth_, rowRect.top, thumbWidth_ + textWidth_, rowRect.bottom}};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
  for (int c = 0; c < 2; ++c) {
    RECT r = cells[c];
    if (selected) {
      FillSys(dc, r, COLOR_HIGHLIGHT);
      DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
      // A thin two-tone frame inside the edge.
      RECT inner = r;
      InflateRect(&inner, -2, -2);
      DrawEdge(dc, &inner, BDR_RAISEDINNER, BF_RECT | BF_MONO);
    } else {
      FillSys(dc, r, COLOR_BTNFACE);
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
    InflateRect(&r, -2, -2);
    if (c == 0) {
      if (item.Thumbnail) {
        DrawThumbnail(dc, *item.Thumbnail, r.left, r.top, r);
      } else {
        HBRUSH grey = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
        FillRect(dc, &r, grey);
        DeleteObject(grey);
        if (row < thumbs_.size() && thumbs_[row] == Thumb::kNone && events_.onThumbnailWanted) {
          thumbs_[row] = Thumb::kAsked;
          events_.onThumbnailWanted(row, ThumbnailCell());
        }
      }
    } else {
      std::wstring name = Widen(item.Name);
      HGDIOBJ old = SelectObject(dc, font_);
      TEXTMETRICW tm{};
      GetTextMetricsW(dc, &tm);
      // Three lines in rows that may be barely three lines high: they close up rather
      // than lose the file size.
      const GridTextRows rows = PlaceGridText(static_cast<int32_t>(r.bottom - r.top), tm.tmHeight,
                                              ScaleForWindow(Handle(), kTextTop), ScaleForWindow(Handle(), kTextGap));
      RECT nameRect{r.left, r.top + rows.nameTop, r.right, r.bottom};
      SelectObject(dc, bold_);
      DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &nameRect,
                DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      SelectObject(dc, font_);
      if (item.Thumbnail) {
        std::wstring text = Widen(ThumbnailText(item.ImageWidth, item.ImageHeight, item.FileSize));
        RECT textRect{r.left, r.top + rows.infoTop, r.right, r.bottom};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_NOPREFIX | DT_WORDBREAK);
      }
      SelectObject(dc, old);
    }
  }
}

LRESULT ImageGrid::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBar();
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_SETFONT:
      MakeFonts(reinterpret_cast<HFONT>(wp));
      if (LOWORD(lp)) InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_VERT, &si);
      int top = top_;
      switch (LOWORD(wp)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= VisibleRows(); break;
        case SB_PAGEDOWN: top += VisibleRows(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = si.nTrackPos; break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = static_cast<int>(RowCount()); break;
        default: break;
      }
      ScrollTo(top);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      wheelRest_ += GET_WHEEL_DELTA_WPARAM(wp);
      int steps = wheelRest_ / WHEEL_DELTA;
      wheelRest_ -= steps * WHEEL_DELTA;
      ScrollTo(top_ - steps * 3);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(Handle());
      long long row = RowAt(GET_Y_LPARAM(lp));
      if (row < 0) return 0;
      SetCurrentRow(static_cast<size_t>(row), false);
      UpdateWindow(Handle());
      if (events_.onClick) events_.onClick();
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (RowAt(GET_Y_LPARAM(lp)) >= 0 && events_.onDoubleClick) events_.onDoubleClick();
      return 0;
    case WM_RBUTTONDOWN:
      SetFocus(Handle());
      return 0;
    case WM_CONTEXTMENU: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (pt.x == -1 && pt.y == -1) {  // from the keyboard: at the current row
        RECT r;
        RowRect(current_, r);
        pt = POINT{r.left + 8, r.top + 8};
        ClientToScreen(Handle(), &pt);
      }
      if (events_.onContextMenu) events_.onContextMenu(pt);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      const long long cur = static_cast<long long>(current_);
      switch (wp) {
        case VK_UP: MoveCurrent(cur - 1); return 0;
        case VK_DOWN: MoveCurrent(cur + 1); return 0;
        case VK_PRIOR: MoveCurrent(cur - VisibleRows()); return 0;
        case VK_NEXT: MoveCurrent(cur + VisibleRows()); return 0;
        case VK_HOME: MoveCurrent(0); return 0;
        case VK_END: MoveCurrent(static_cast<long long>(RowCount()) - 1); return 0;
        case VK_RETURN:
          if (events_.onDoubleClick && !library_->empty()) events_.onDoubleClick();
          return 0;
        default: break;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mi->CtlType != ODT_MENU) break;
      MeasureMenuHeader(Handle(), *mi);
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (di->CtlType != ODT_MENU) break;
      DrawMenuHeader(*di);
      return TRUE;
    }
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void MeasureMenuHeader(HWND hwnd, MEASUREITEMSTRUCT& mi) {
  const auto* text = reinterpret_cast<const wchar_t*>(mi.itemData);
  HDC dc = GetDC(hwnd);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  HFONT font = CreateFontIndirectW(&ncm.lfMenuFont);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE s{0, 0};
  if (text) GetTextExtentPoint32W(dc, text, lstrlenW(text), &s);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(hwnd, dc);
  mi.itemWidth = static_cast<UINT>(s.cx + 16);
  mi.itemHeight = static_cast<UINT>(std::max<LONG>(s.cy + 6, 18));
}

void DrawMenuHeader(const DRAWITEMSTRUCT& di) {
  const auto* text = reinterpret_cast<const wchar_t*>(di.itemData);
  RECT r = di.rcItem;
  HBRUSH fill = CreateSolidBrush(RGB(0x20, 0x40, 0x40));
  FillRect(di.hDC, &r, fill);
  DeleteObject(fill);
  DrawEdge(di.hDC, &r, EDGE_RAISED, BF_RECT);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  HFONT font = CreateFontIndirectW(&ncm.lfMenuFont);
  HGDIOBJ old = SelectObject(di.hDC, font);
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, RGB(0x80, 0xFF, 0xFF));
  if (text) DrawTextW(di.hDC, text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(di.hDC, old);
  DeleteObject(font);
}

}  // namespace ov
