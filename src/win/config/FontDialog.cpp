#include "win/config/FontDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "core/render/Color.h"
#include "win/platform/Utf16.h"
#include "win/ui/Dpi.h"

namespace ov {

namespace {

constexpr int kClientWidth = 479, kClientHeight = 372;
constexpr int kCustomColorItem = 0;  // the colour box's first item; the named colours follow
constexpr UINT kMsgFocusFamilies = WM_APP + 1;

COLORREF Resolved(uint32_t platformColor) { return ToWinColor(ToArgb(platformColor)); }

// A lowered bevel `width` pixels wide just inside r.
void DrawLoweredBevel(HDC dc, RECT r, int width) {
  HBRUSH dark = GetSysColorBrush(COLOR_BTNSHADOW), light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  for (int i = 0; i < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
    RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, dark);
    FillRect(dc, &left, dark);
    FillRect(dc, &bottom, light);
    FillRect(dc, &right, light);
    InflateRect(&r, -1, -1);
  }
}

}  // namespace

TFFont::~TFFont() { FreeFonts(); }

void TFFont::FreeFonts() {
  for (HFONT& f : styleFonts_) {
    if (f) DeleteObject(f);
    f = nullptr;
  }
  if (sampleFont_) DeleteObject(sampleFont_);
  sampleFont_ = nullptr;
}

bool TFFont::Create(HWND owner) {
  // The Chinese dialog face, as the date picker uses, so captions render whatever the
  // system's message font is.
  if (!CreateDialogWindow(L"TFFont", L"选择字体", kClientWidth, kClientHeight, owner, L"宋体", 13)) return false;
  // A dialog frame with no buttons in the title bar; Esc and WM_CLOSE still cancel.
  LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  SetWindowLongPtrW(Handle(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetClientSize(kClientWidth, kClientHeight);

  AddGroup(L"字体", 8, 4, 232, 226);
  HWND fonts = AddControl(WC_COMBOBOXW, L"",
                          CBS_SIMPLE | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT |
                              WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                          18, 24, 212, 196, kIdFontCombo);
  fontCombo_.Attach(fonts, Dpi(96));

  AddGroup(L"大小", 248, 4, 72, 226);
  comboSize_ = AddControl(WC_COMBOBOXW, L"", CBS_SIMPLE | CBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                          258, 24, 52, 196, kIdComboSize);
  for (const std::string& s : SizeEntries())
    SendMessageW(comboSize_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(s).c_str()));

  AddGroup(L"字体样式", 328, 4, 143, 68);
  CreateStyleBox(kIdCheckItalic, L"斜体", 340, 22);
  CreateStyleBox(kIdCheckBold, L"粗体", 340, 44);
  AddGroup(L"效果", 328, 78, 143, 68);
  CreateStyleBox(kIdCheckUnderlined, L"下划线", 340, 96);
  CreateStyleBox(kIdCheckStrike, L"删除线", 340, 118);

  AddGroup(L"颜色", 328, 152, 143, 78);
  colorBox_ = AddControl(WC_COMBOBOXW, L"",
                         CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                         338, 176, 123, 300, kIdColorBox);
  SendMessageW(colorBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(kCustomColorName).c_str()));
  for (const NamedColor& c : kFontColorList)
    SendMessageW(colorBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(c.name).c_str()));

  AddGroup(L"示例", 8, 236, 463, 96);
  preview_ = AddControl(L"STATIC", L"桌面日历 1234567890", SS_OWNERDRAW, 18, 254, 443, 70, kIdPanelPreview);

  AddButton(L"确定", 316, 340, 75, 25, IDOK, true);
  AddButton(L"取消", 396, 340, 75, 25, IDCANCEL);
  defaultButton_ = IDOK;
  return true;
}

void TFFont::CreateStyleBox(int id, const wchar_t* caption, int x, int y) {
  HWND box = AddCheck(caption, x, y, 120, 20, id);
  // Each caption shows the style it stands for.
  LOGFONTW lf{};
  GetObjectW(Font(), sizeof(lf), &lf);
  switch (id) {
    case kIdCheckItalic: lf.lfItalic = TRUE; break;
    case kIdCheckBold: lf.lfWeight = FW_BOLD; break;
    case kIdCheckUnderlined: lf.lfUnderline = TRUE; break;
    default: lf.lfStrikeOut = TRUE; break;
  }
  HFONT& f = styleFonts_[id - kIdCheckItalic];
  f = CreateFontIndirectW(&lf);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
}

bool TFFont::Execute(FontSpec& font) {
  if (!Handle()) return false;
  filling_ = true;
  // 1. The sample takes a copy of the font, its style rebuilt from the style boxes (4.).
  model_.Open(font);
  // 2. Family and size; a size outside the list selects no entry and stays as the text.
  fontCombo_.SetFontName(font.face);
  std::optional<int> sizeIndex = SizeEntryIndex(font.PointSize());
  SendMessageW(comboSize_, CB_SETCURSEL, sizeIndex ? static_cast<WPARAM>(*sizeIndex) : static_cast<WPARAM>(-1), 0);
  if (!sizeIndex) SetWindowTextW(comboSize_, std::to_wstring(font.PointSize()).c_str());
  // 3. The colour, which also picks the sample's background.
  SelectColor(font.color);
  // 4. The style boxes.
  FontStyleBoxes boxes = model_.StyleBoxes();
  const bool checks[4] = {boxes.italic, boxes.bold, boxes.underline, boxes.strikeOut};
  for (int i = 0; i < 4; ++i) CheckDlgButton(Handle(), kIdCheckItalic + i, checks[i] ? BST_CHECKED : BST_UNCHECKED);
  filling_ = false;
  SampleChanged();

  // Centred on the desktop.
  RECT wr;
  GetWindowRect(Handle(), &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  SetWindowPos(Handle(), HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0,
               0, SWP_NOSIZE | SWP_NOACTIVATE);
  // 5.
  if (ShowModal(GetWindow(Handle(), GW_OWNER)) != IDOK) return false;
  model_.CopyBack(font);
  return true;
}

void TFFont::SelectColor(uint32_t color) {
  std::optional<int> entry = FontColorEntry(color);
  if (!entry) customColor_ = color;
  colorIndex_ = entry ? *entry + 1 : kCustomColorItem;
  SendMessageW(colorBox_, CB_SETCURSEL, static_cast<WPARAM>(colorIndex_), 0);
  model_.SetColor(color);
  SampleChanged();
}

void TFFont::ColorBoxChanged() {
  int index = static_cast<int>(SendMessageW(colorBox_, CB_GETCURSEL, 0, 0));
  if (index < 0) return;
  if (index == kCustomColorItem) {
    // The custom entry asks for any colour; cancelling goes back to the previous entry.
    static COLORREF customColors[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = Handle();
    cc.rgbResult = Resolved(model_.Sample().color);
    cc.lpCustColors = customColors;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) {
      SendMessageW(colorBox_, CB_SETCURSEL, static_cast<WPARAM>(colorIndex_), 0);
      return;
    }
    SelectColor(cc.rgbResult & 0xFFFFFF);
    if (colorIndex_ != kCustomColorItem) return;  // the colour was a named one
    InvalidateRect(colorBox_, nullptr, TRUE);
    return;
  }
  SelectColor(kFontColorList[index - 1].color);
}

void TFFont::StyleBoxChanged() {
  auto checked = [&](int id) { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED; };
  model_.SetStyleBoxes({checked(kIdCheckItalic), checked(kIdCheckBold), checked(kIdCheckUnderlined),
                        checked(kIdCheckStrike)});
  SampleChanged();
}

void TFFont::SampleChanged() {
  if (filling_) return;
  const FontSpec& s = model_.Sample();
  LOGFONTW lf{};
  lf.lfHeight = Dpi(s.height);
  lf.lfWeight = s.weight;
  lf.lfItalic = s.italic;
  lf.lfUnderline = s.underline;
  lf.lfStrikeOut = s.strikeOut;
  lf.lfCharSet = s.charSet;
  lf.lfQuality = DEFAULT_QUALITY;
  std::wstring face = Widen(s.face);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  if (sampleFont_) DeleteObject(sampleFont_);
  sampleFont_ = CreateFontIndirectW(&lf);
  InvalidateRect(preview_, nullptr, FALSE);
}

void TFFont::OnCommand(int id, int code, HWND) {
  if (id == IDOK) {
    EndDialog(IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(IDCANCEL);
  } else if (filling_) {
    return;
  } else if (id == kIdFontCombo && code == CBN_SELCHANGE) {
    model_.ChooseFamily(fontCombo_.FontName());
    SampleChanged();
  } else if (id == kIdComboSize && code == CBN_SELCHANGE) {
    LRESULT sel = SendMessageW(comboSize_, CB_GETCURSEL, 0, 0);
    if (sel < 0) return;
    wchar_t text[16] = L"";
    if (SendMessageW(comboSize_, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0) < 16)
      SendMessageW(comboSize_, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
    model_.ChooseSizeEntry(Narrow(text));
    SampleChanged();
  } else if (id >= kIdCheckItalic && id <= kIdCheckStrike && code == BN_CLICKED) {
    StyleBoxChanged();
  } else if (id == kIdColorBox && code == CBN_SELCHANGE) {
    ColorBoxChanged();
  }
}

void TFFont::DrawColorItem(const DRAWITEMSTRUCT& di) const {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (di.itemID == static_cast<UINT>(-1)) return;
  int index = static_cast<int>(di.itemID);
  uint32_t color = index == kCustomColorItem ? customColor_ : kFontColorList[index - 1].color;
  // A swatch in a black frame, then the colour's name.
  int pad = Dpi(2);
  RECT swatch{r.left + pad, r.top + pad, r.left + pad + Dpi(22), r.bottom - pad};
  HBRUSH fill = CreateSolidBrush(Resolved(color));
  FillRect(dc, &swatch, fill);
  DeleteObject(fill);
  FrameRect(dc, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const char* name = index == kCustomColorItem ? kCustomColorName : kFontColorList[index - 1].name;
  std::wstring text = Widen(name);
  RECT tr = r;
  tr.left = swatch.right + Dpi(5);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void TFFont::DrawPreview(const DRAWITEMSTRUCT& di) const {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  // Lowered bevel 4, border 4, on the background that keeps the colour readable.
  HBRUSH back = CreateSolidBrush(Resolved(model_.Background()));
  FillRect(dc, &r, back);
  DeleteObject(back);
  DrawLoweredBevel(dc, r, Dpi(4));
  InflateRect(&r, -Dpi(8), -Dpi(8));
  HRGN clip = CreateRectRgnIndirect(&r);
  SelectClipRgn(dc, clip);
  HGDIOBJ old = SelectObject(dc, sampleFont_ ? sampleFont_ : Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Resolved(model_.Sample().color));
  const wchar_t kSample[] = L"桌面日历 1234567890";
  DrawTextW(dc, kSample, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
}

void TFFont::DpiChanged(UINT fromDpi, UINT toDpi) {
  // The style boxes' own fonts, the list heights and the sample follow the new DPI.
  for (int i = 0; i < 4; ++i) {
    HFONT scaled = ScaleFont(styleFonts_[i], fromDpi, toDpi);
    if (!scaled) continue;
    SendMessageW(GetDlgItem(Handle(), kIdCheckItalic + i), WM_SETFONT, reinterpret_cast<WPARAM>(scaled), TRUE);
    DeleteObject(styleFonts_[i]);
    styleFonts_[i] = scaled;
  }
  fontCombo_.SetDpi(static_cast<int>(toDpi));
  SendMessageW(colorBox_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Dpi(18));
  SendMessageW(colorBox_, CB_SETITEMHEIGHT, 0, Dpi(18));
  SampleChanged();
}

LRESULT TFFont::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      // The font list sets its own height once it has its font (TFontComboBox::Attach).
      mi->itemHeight = static_cast<UINT>(Dpi(mi->CtlID == kIdColorBox ? 18 : 16));
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di.CtlID == kIdFontCombo) fontCombo_.DrawItem(di);
      else if (di.CtlID == kIdColorBox) DrawColorItem(di);
      else if (di.CtlID == kIdPanelPreview) DrawPreview(di);
      return TRUE;
    }
    case WM_SHOWWINDOW:
      // Each opening starts in the family list, once the window is active.
      if (wp) PostMessageW(Handle(), kMsgFocusFamilies, 0, 0);
      break;
    case kMsgFocusFamilies:
      SetFocus(fontCombo_.Handle());
      return 0;
    case WM_FONTCHANGE:
      // Fonts were installed or removed: the family list follows.
      fontCombo_.Rebuild();
      return 0;
    case WM_DESTROY:
      FreeFonts();
      break;
    default:
      break;
  }
  return Dialog::OnMessage(msg, wp, lp);
}

}  // namespace ov
