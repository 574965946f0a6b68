#include "win/config/FontComboBox.h"

#include "win/platform/Utf16.h"

namespace ov {

namespace {

constexpr int kGlyphSlot = 20;  // 96-dpi width of a glyph, kept free for raster families too

int CALLBACK CollectFamily(const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM data) {
  auto* records = reinterpret_cast<std::vector<FontFamilyRecord>*>(data);
  FontType t = (type & TRUETYPE_FONTTYPE) ? FontType::TrueType
               : (type & DEVICE_FONTTYPE) ? FontType::Device
                                           : FontType::Raster;
  records->push_back({Narrow(lf->lfFaceName), lf->lfCharSet, t});
  return 1;
}

SIZE BitmapSize(HBITMAP b) {
  BITMAP bm{};
  if (!b || !GetObjectW(b, sizeof(bm), &bm)) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

std::vector<FontFamilyRecord> EnumerateScreenFontFamilies() {
  std::vector<FontFamilyRecord> records;
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &lf, CollectFamily, reinterpret_cast<LPARAM>(&records), 0);
  ReleaseDC(nullptr, dc);
  return records;
}

void DrawTransparentGlyph(HDC dc, HBITMAP glyph, const RECT& target) {
  SIZE s = BitmapSize(glyph);
  if (!s.cx || !s.cy) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, glyph);
  COLORREF key = GetPixel(mem, 0, s.cy - 1);
  TransparentBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, mem, 0, 0, s.cx,
                 s.cy, key);
  SelectObject(mem, old);
  DeleteDC(mem);
}

TFontComboBox::~TFontComboBox() {
  if (trueType_) DeleteObject(trueType_);
  if (device_) DeleteObject(device_);
}

void TFontComboBox::Attach(HWND combo, int dpi) {
  hwnd_ = combo;
  dpi_ = dpi;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (!trueType_) trueType_ = static_cast<HBITMAP>(LoadImageW(inst, L"TRUETYPE_FNT", IMAGE_BITMAP, 0, 0, 0));
  if (!device_) device_ = static_cast<HBITMAP>(LoadImageW(inst, L"DEVICE_FNT", IMAGE_BITMAP, 0, 0, 0));
  MeasureItems();
}

void TFontComboBox::SetDpi(int dpi) {
  dpi_ = dpi;
  MeasureItems();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TFontComboBox::MeasureItems() {
  // h = the control font's text height + 1, at least 9; a taller glyph decides instead.
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  itemHeight_ = FontItemHeight(tm.tmHeight, MulDiv(BitmapSize(trueType_).cy, dpi_, 96));
  SendMessageW(hwnd_, CB_SETITEMHEIGHT, 0, itemHeight_);
}

void TFontComboBox::Fill() {
  filled_ = true;
  items_ = BuildFontFamilyList(EnumerateScreenFontFamilies());
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < items_.size(); ++i) {
    LRESULT at = SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(items_[i].name).c_str()));
    if (at >= 0) SendMessageW(hwnd_, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
  }
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TFontComboBox::Rebuild() {
  if (!filled_) return;  // filled with the families of its first use
  std::string name = FontName();
  Fill();
  SetFontName(name);
}

void TFontComboBox::SetFontName(const std::string& name) {
  if (!filled_) Fill();
  std::optional<size_t> found = FindFontFamily(items_, name);
  SendMessageW(hwnd_, CB_SETCURSEL, found ? static_cast<WPARAM>(*found) : static_cast<WPARAM>(-1), 0);
  // The list has an edit field: an unknown name stays readable there.
  if (!found) SetWindowTextW(hwnd_, Widen(name).c_str());
}

std::string TFontComboBox::FontName() const {
  LRESULT sel = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
  if (sel >= 0) {
    LRESULT index = SendMessageW(hwnd_, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
    if (index >= 0 && static_cast<size_t>(index) < items_.size()) return items_[static_cast<size_t>(index)].name;
  }
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(hwnd_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return Narrow(text);
}

void TFontComboBox::DrawItem(const DRAWITEMSTRUCT& di) const {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (di.itemID == static_cast<UINT>(-1)) return;
  LRESULT index = SendMessageW(hwnd_, CB_GETITEMDATA, di.itemID, 0);
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return;
  const FontFamilyItem& item = items_[static_cast<size_t>(index)];

  // The type glyph at left + 2, centred vertically; raster families keep the slot empty.
  HBITMAP glyph = item.type == FontType::TrueType ? trueType_ : item.type == FontType::Device ? device_ : nullptr;
  SIZE gs = BitmapSize(glyph);
  int glyphW = MulDiv(gs.cx ? gs.cx : kGlyphSlot, dpi_, 96), glyphH = MulDiv(gs.cy, dpi_, 96);
  if (glyph) {
    int top = r.top + (r.bottom - r.top - glyphH) / 2;
    DrawTransparentGlyph(dc, glyph, RECT{r.left + 2, top, r.left + 2 + glyphW, top + glyphH});
  }

  // The name after the glyph, in the family's own typeface when it may be.
  HFONT controlFont = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  HFONT own = nullptr;
  if (item.ownTypeface) {
    LOGFONTW lf{};
    GetObjectW(controlFont ? static_cast<HGDIOBJ>(controlFont) : GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    std::wstring face = Widen(item.name);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
    own = CreateFontIndirectW(&lf);
  }
  HGDIOBJ oldFont = SelectObject(dc, own ? own : controlFont);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT text = r;
  text.left += glyphW + 6;
  std::wstring name = Widen(item.name);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  if (own) DeleteObject(own);
  if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace ov
