// The small dialogs follow their window onto a monitor of another DPI: WM_DPICHANGED, with
// the rectangle the system suggests, moves and grows every control and its font by the
// factor; and the rescaling leaves the inner parts of system controls to their control.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "WindowShot.h"
#include "support/PngFile.h"
#include "win/config/FontDialog.h"
#include "win/desktop/DatePicker.h"
#include "win/desktop/RepeatDialog.h"
#include "win/ui/Dpi.h"

namespace ov {
namespace {

constexpr UINT kFrom = 96, kTo = 144;

int Scaled(int v) { return MulDiv(v, kTo, kFrom); }

RECT RectIn(HWND parent, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int FontHeight(HWND control) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

bool IsButton(HWND h) {
  wchar_t cls[32] = L"";
  GetClassNameW(h, cls, 32);
  return lstrcmpiW(cls, L"Button") == 0;
}

struct DialogCase {
  const char* name;
  std::function<std::unique_ptr<Dialog>()> make;
  int ownFontControl;  // a control with a font of its own that must grow as well (0: none)
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.name; }

template <typename T, typename... Args>
std::unique_ptr<Dialog> Made(Args... args) {
  auto d = std::make_unique<T>(args...);
  EXPECT_TRUE(d->Create(nullptr));
  return d;
}

class DialogDpiTest : public ::testing::TestWithParam<DialogCase> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
  }
};

TEST_P(DialogDpiTest, ControlsAndFontsGrowByTheFactor) {
  std::unique_ptr<Dialog> dialog = GetParam().make();
  HWND h = dialog->Handle();
  ASSERT_TRUE(h);
  SetWindowPos(h, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(h, SW_SHOWNA);
  struct Before {
    HWND control;
    RECT rect;
  };
  std::vector<Before> buttons;
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsButton(c)) buttons.push_back({c, RectIn(h, c)});
  ASSERT_GE(buttons.size(), 2u);
  HWND ok = GetDlgItem(h, IDOK);
  const int okFont = FontHeight(ok);
  HWND own = GetParam().ownFontControl ? GetDlgItem(h, GetParam().ownFontControl) : nullptr;
  const int ownFont = own ? FontHeight(own) : 0;
  RECT window;
  GetWindowRect(h, &window);
  RECT suggested{window.left, window.top, window.left + Scaled(window.right - window.left),
                 window.top + Scaled(window.bottom - window.top)};

  SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(kTo, kTo), reinterpret_cast<LPARAM>(&suggested));

  RECT now;
  GetWindowRect(h, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested)) << "the window takes the suggested rectangle";
  for (const Before& b : buttons) {
    RECT r = RectIn(h, b.control);
    EXPECT_EQ(Scaled(b.rect.left), r.left);
    EXPECT_EQ(Scaled(b.rect.top), r.top);
    EXPECT_EQ(Scaled(b.rect.right), r.right);
    EXPECT_EQ(Scaled(b.rect.bottom), r.bottom);
  }
  EXPECT_NEAR(Scaled(okFont), FontHeight(ok), 1) << "the dialog font";
  if (own) {
    EXPECT_NEAR(Scaled(ownFont), FontHeight(own), 1) << "a control's own font";
  }
  EXPECT_TRUE(test::WritePng(Capture(h), test::ArtefactsFolder() / (std::string("dpi144-") + GetParam().name + ".png")));

  // Back at the first DPI, the layout is where it started.
  GetWindowRect(h, &window);
  SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(kFrom, kFrom), reinterpret_cast<LPARAM>(&window));
  RECT first = RectIn(h, buttons[0].control);
  EXPECT_TRUE(EqualRect(&buttons[0].rect, &first));
  EXPECT_EQ(okFont, FontHeight(ok));
  DestroyWindow(h);
}

TEST_P(DialogDpiTest, GrownPastTheWorkAreaItMovesBackInside) {
  // Opened near the bottom-right corner of a monitor that turns out to have a higher DPI:
  // the suggested rectangle, grown from the same top-left corner, runs past the edge.
  if (std::string(GetParam().name) == "font") GTEST_SKIP() << "the font dialog is placed by the main window";
  std::unique_ptr<Dialog> dialog = GetParam().make();
  HWND h = dialog->Handle();
  ASSERT_TRUE(h);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT window;
  GetWindowRect(h, &window);
  const int w = window.right - window.left, hgt = window.bottom - window.top;
  SetWindowPos(h, nullptr, work.right - w - 4, work.bottom - hgt - 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(h, SW_SHOWNA);
  GetWindowRect(h, &window);
  RECT suggested{window.left, window.top, window.left + Scaled(w), window.top + Scaled(hgt)};
  ASSERT_GT(suggested.right, work.right);

  SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(kTo, kTo), reinterpret_cast<LPARAM>(&suggested));

  RECT now;
  GetWindowRect(h, &now);
  EXPECT_EQ(Scaled(w), now.right - now.left) << "the size of the new DPI";
  EXPECT_EQ(Scaled(hgt), now.bottom - now.top);
  EXPECT_EQ(work.right, now.right) << "moved left just enough";
  EXPECT_EQ(work.bottom, now.bottom) << "moved up just enough";
  DestroyWindow(h);
}

INSTANTIATE_TEST_SUITE_P(
    SmallDialogs, DialogDpiTest,
    ::testing::Values(DialogCase{"font", [] { return Made<TFFont>(); }, kIdCheckBold},
                      DialogCase{"repeat", [] { return Made<TFRepeat>(std::function<void(bool)>([](bool) {})); }, 0},
                      DialogCase{"datepicker",
                                 [] { return Made<TFormPickDate>(std::function<void(double)>([](double) {})); }, 0}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return std::string(info.param.name); });

TEST(RescaleForDpiTest, OwnContainersFollowSystemControlsLayOutTheirParts) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = inst;
  wc.lpszClassName = L"OVDpiTestBox";
  RegisterClassExW(&wc);
  HWND top = CreateWindowExW(0, L"OVDpiTestBox", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, inst, nullptr);
  HWND box = CreateWindowExW(0, L"OVDpiTestBox", L"", WS_CHILD, 20, 20, 200, 100, top, nullptr, inst, nullptr);
  HWND inner = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD, 10, 8, 60, 20, box, nullptr, inst, nullptr);
  HWND combo = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWN, 10, 140, 120, 200, top, nullptr, inst,
                               nullptr);
  ASSERT_TRUE(top && box && inner && combo);

  RescaleForDpi(top, kFrom, kTo, nullptr, nullptr, nullptr);

  RECT r = RectIn(box, inner);
  EXPECT_EQ(Scaled(10), r.left);
  EXPECT_EQ(Scaled(8), r.top);
  EXPECT_EQ(Scaled(70), r.right);
  EXPECT_EQ(Scaled(28), r.bottom);
  // The combo box placed its edit field itself; rescaled again it would stick out.
  RECT comboClient;
  GetClientRect(combo, &comboClient);
  HWND edit = GetWindow(combo, GW_CHILD);
  ASSERT_TRUE(edit);
  EXPECT_LE(RectIn(combo, edit).right, comboClient.right);
  EXPECT_EQ(Scaled(120), comboClient.right);
  DestroyWindow(top);
}

}  // namespace
}  // namespace ov
