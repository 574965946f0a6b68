// The font dialog driven as a user would: controls changed through their notifications,
// the buttons clicked, the result read back, and a screenshot kept to be looked at.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>

#include "core/render/Bitmap32.h"
#include "core/util/Text.h"
#include "support/PngFile.h"
#include "WindowShot.h"
#include "win/config/FontDialog.h"
#include "win/platform/Utf16.h"

namespace ov {
namespace {

std::function<void(HWND)> gSteps;
HWND gDialog = nullptr;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gSteps) gSteps(gDialog);
  gSteps = nullptr;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  // A step that went wrong must not leave the modal loop running for ever.
  if (IsWindowVisible(gDialog)) PostMessageW(gDialog, WM_COMMAND, IDCANCEL, 0);
}

// Runs Execute with `steps` called from inside the modal loop once the dialog shows.
bool ExecuteDriven(TFFont& dialog, FontSpec& font, std::function<void(HWND)> steps) {
  gDialog = dialog.Handle();
  gSteps = std::move(steps);
  UINT_PTR run = SetTimer(nullptr, 0, 300, RunSteps);
  UINT_PTR watchdog = SetTimer(nullptr, 0, 15000, Watchdog);
  bool ok = dialog.Execute(font);
  KillTimer(nullptr, run);
  KillTimer(nullptr, watchdog);
  return ok;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

// Selects a list entry the way a click does: the selection, then its notification.
void Choose(HWND dialog, int id, int index) {
  HWND combo = Item(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int FindEntry(HWND dialog, int id, const std::wstring& text) {
  return static_cast<int>(SendMessageW(Item(dialog, id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str())));
}

std::wstring EntryText(HWND combo, int index) {
  wchar_t buf[LF_FACESIZE + 8] = L"";
  if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) < LF_FACESIZE + 8)
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf));
  return buf;
}

// The sample's background: a pixel just inside the bevel of the preview panel.
Pixel PreviewBackground(HWND dialog, const TBitmap32& shot) {
  RECT wr, pr;
  GetWindowRect(dialog, &wr);
  GetWindowRect(Item(dialog, kIdPanelPreview), &pr);
  return shot.At(pr.left - wr.left + 6, pr.top - wr.top + 6) & 0xFFFFFF;
}

class FontDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void SetUp() override {
    ASSERT_TRUE(dialog.Create(nullptr));
    font.face = "Tahoma";
    font.SetPointSize(10);
    font.weight = 400;
    font.color = 0xC0FFFF;  // pale yellow
  }
  TFFont dialog;
  FontSpec font;
};

TEST_F(FontDialogTest, WindowFamiliesAndSizes) {
  HWND h = dialog.Handle();
  wchar_t caption[32] = L"";
  GetWindowTextW(h, caption, 32);
  EXPECT_EQ(std::wstring(caption), L"选择字体");
  LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU) << "no buttons in the title bar";
  RECT client;
  GetClientRect(h, &client);
  HDC dc = GetDC(h);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(h, dc);
  EXPECT_EQ(client.right, MulDiv(479, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(372, dpi, 96));

  // Families: enumerated when the dialog is first shown (it is made at start-up), not
  // before; then each once, sorted, no symbol-charset family (Marlett is one in this prefix).
  HWND fonts = Item(h, kIdFontCombo);
  EXPECT_EQ(SendMessageW(fonts, CB_GETCOUNT, 0, 0), 0);
  ExecuteDriven(dialog, font, [](HWND d) { SendMessageW(Item(d, IDCANCEL), BM_CLICK, 0, 0); });
  int n = static_cast<int>(SendMessageW(fonts, CB_GETCOUNT, 0, 0));
  ASSERT_GT(n, 3);
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back(ToLowerAscii(Narrow(EntryText(fonts, i))));
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  bool marlettInstalled = false;
  for (const FontFamilyRecord& r : EnumerateScreenFontFamilies())
    if (r.name == "Marlett" && r.charSet == kSymbolCharSet) marlettInstalled = true;
  EXPECT_TRUE(marlettInstalled) << "the prefix should have a symbol font to leave out";
  EXPECT_EQ(FindEntry(h, kIdFontCombo, L"Marlett"), CB_ERR);

  // Item height from the list's font and the TrueType glyph.
  HBITMAP tt = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"TRUETYPE_FNT", IMAGE_BITMAP, 0, 0, 0));
  ASSERT_TRUE(tt) << "the glyph resources are linked in";
  BITMAP bm{};
  GetObjectW(tt, sizeof(bm), &bm);
  DeleteObject(tt);
  EXPECT_TRUE(LoadImageW(GetModuleHandleW(nullptr), L"DEVICE_FNT", IMAGE_BITMAP, 0, 0, 0));
  dc = GetDC(fonts);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(fonts, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(fonts, dc);
  EXPECT_EQ(SendMessageW(fonts, CB_GETITEMHEIGHT, 0, 0), FontItemHeight(tm.tmHeight, MulDiv(bm.bmHeight, dpi, 96)));

  HWND sizes = Item(h, kIdComboSize);
  ASSERT_EQ(SendMessageW(sizes, CB_GETCOUNT, 0, 0), 27);
  EXPECT_EQ(EntryText(sizes, 0), L"6");
  EXPECT_EQ(EntryText(sizes, 26), L"32");
}

TEST_F(FontDialogTest, OkCopiesFamilySizeBoldAndColour) {
  std::wstring family;
  Pixel backgroundBefore = 0, backgroundAfter = 0;
  RECT placed{};
  bool ok = ExecuteDriven(dialog, font, [&](HWND h) {
    GetWindowRect(h, &placed);
    backgroundBefore = PreviewBackground(h, Capture(h));
    // A TrueType family other than the current one, a Chinese one when there is.
    HWND fonts = Item(h, kIdFontCombo);
    int pick = FindEntry(h, kIdFontCombo, L"文泉驿微米黑");
    if (pick < 0) pick = FindEntry(h, kIdFontCombo, L"WenQuanYi Micro Hei");
    if (pick < 0) pick = SendMessageW(fonts, CB_GETCURSEL, 0, 0) == 0 ? 1 : 0;
    family = EntryText(fonts, pick);
    Choose(h, kIdFontCombo, pick);
    Choose(h, kIdComboSize, FindEntry(h, kIdComboSize, L"14"));
    SendMessageW(Item(h, kIdCheckBold), BM_CLICK, 0, 0);
    Choose(h, kIdColorBox, FindEntry(h, kIdColorBox, L"红色"));
    // Scroll the list to the chosen family's neighbours so the shot shows glyphs and faces.
    SendMessageW(fonts, CB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, pick - 3)), 0);
    TBitmap32 shot = Capture(h);
    backgroundAfter = PreviewBackground(h, shot);
    EXPECT_TRUE(test::WritePng(shot, test::ArtefactsFolder() / "font-dialog.png"));
    SendMessageW(Item(h, IDOK), BM_CLICK, 0, 0);
  });
  ASSERT_TRUE(ok);
  EXPECT_EQ(font.face, Narrow(family));
  EXPECT_EQ(font.PointSize(), 14);
  EXPECT_EQ(font.weight, 700);
  EXPECT_FALSE(font.italic);
  EXPECT_EQ(font.color, 0x0000FFu);
  // Pale yellow shows on black, red on white.
  EXPECT_EQ(backgroundBefore, 0x000000u);
  EXPECT_EQ(backgroundAfter, 0xFFFFFFu);
  // Centred on the desktop.
  EXPECT_NEAR((placed.left + placed.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((placed.top + placed.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(FontDialogTest, CancelLeavesTheFontAlone) {
  font.italic = true;
  const FontSpec before = font;
  bool ok = ExecuteDriven(dialog, font, [](HWND h) {
    Choose(h, kIdComboSize, 20);
    SendMessageW(Item(h, kIdCheckItalic), BM_CLICK, 0, 0);
    SendMessageW(Item(h, kIdCheckStrike), BM_CLICK, 0, 0);
    Choose(h, kIdColorBox, FindEntry(h, kIdColorBox, L"黑色"));
    Choose(h, kIdFontCombo, 0);
    SendMessageW(Item(h, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(font.SameLook(before));
  EXPECT_EQ(font.color, before.color);
  // The dialog worked on its own copy, which did change.
  EXPECT_TRUE(dialog.Sample().strikeOut);
}

TEST_F(FontDialogTest, FortyPointsSelectNoSizeAndStayUnlessOneIsChosen) {
  font.SetPointSize(40);
  font.color = 0x00123456;  // not a named colour: the custom entry
  LRESULT sizeSelection = 0, colorSelection = -1;
  std::wstring sizeText;
  bool ok = ExecuteDriven(dialog, font, [&](HWND h) {
    sizeSelection = SendMessageW(Item(h, kIdComboSize), CB_GETCURSEL, 0, 0);
    wchar_t text[16] = L"";
    GetWindowTextW(Item(h, kIdComboSize), text, 16);
    sizeText = text;
    colorSelection = SendMessageW(Item(h, kIdColorBox), CB_GETCURSEL, 0, 0);
    SendMessageW(Item(h, kIdCheckItalic), BM_CLICK, 0, 0);
    SendMessageW(Item(h, IDOK), BM_CLICK, 0, 0);
  });
  ASSERT_TRUE(ok);
  EXPECT_EQ(sizeSelection, CB_ERR);
  EXPECT_EQ(sizeText, L"40");
  EXPECT_EQ(colorSelection, 0);
  EXPECT_EQ(font.PointSize(), 40);
  EXPECT_TRUE(font.italic);
  EXPECT_EQ(font.color, 0x00123456u);
}

}  // namespace
}  // namespace ov
