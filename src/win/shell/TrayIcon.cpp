#include "win/shell/TrayIcon.h"

#include <shellapi.h>

#include <cmath>

#include "core/calendar/DateTime.h"
#include "core/calendar/Sections.h"
#include "win/app/App.h"
#include "win/app/Commands.h"
#include "win/app/MainForm.h"
#include "win/platform/Utf16.h"
#include "win/ui/SharedImages.h"

namespace ov {

namespace {

constexpr UINT kIconId = 1;
constexpr UINT_PTR kTimerAnim = 1;
constexpr UINT kAnimInterval = 100;
constexpr int kFrameCount = 8;

void AppendItem(HMENU menu, UINT id, const wchar_t* caption, bool enabled = true, HBITMAP image = nullptr) {
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
  mi.wID = id;
  mi.dwTypeData = const_cast<wchar_t*>(caption);
  mi.fState = enabled ? MFS_ENABLED : MFS_DISABLED;
  SetMenuItemImage(mi, image);
  InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mi);
}

void AppendSub(HMENU menu, HMENU sub, const wchar_t* caption) {
  AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption);
}

// An animation frame: the program icon with a bright dot circling its lower right
// quarter, so the icon visibly works while a wallpaper is being made.
HICON MakeFrame(HICON base, int index) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = size;
  bi.bmiHeader.biHeight = -size;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, color);
  RECT all{0, 0, size, size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DrawIconEx(dc, 0, 0, base, size, size, 0, nullptr, DI_NORMAL);
  const double angle = 2 * 3.14159265358979 * index / kFrameCount;
  const int cx = size * 3 / 4 + static_cast<int>(std::lround(std::cos(angle) * size / 6.0));
  const int cy = size * 3 / 4 + static_cast<int>(std::lround(std::sin(angle) * size / 6.0));
  HBRUSH dot = CreateSolidBrush(RGB(255, 220, 40));
  HGDIOBJ oldBrush = SelectObject(dc, dot);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(dot);
  SelectObject(dc, old);
  // Opaque where drawn: the dot and the icon's own pixels (alpha from the icon is lost on
  // the black fill, so the frame keeps a mask of everything drawn).
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < size * size; ++i) px[i] = (px[i] & 0x00FFFFFFu) ? (px[i] | 0xFF000000u) : 0;
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  ICONINFO ii{TRUE, 0, 0, mask, color};
  HICON frame = CreateIconIndirect(&ii);
  DeleteObject(mask);
  DeleteObject(color);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return frame;
}

}  // namespace

TrayIcon::~TrayIcon() {
  if (added_ && Handle()) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = Handle();
    nid.uID = kIconId;
    Shell_NotifyIconW(NIM_DELETE, &nid);
  }
  for (HICON f : frames_) DestroyIcon(f);
}

bool TrayIcon::Create() {
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // A hidden top-level window: it must receive the shell's broadcast of a new task bar.
  if (!CreateWindowOfClass(L"TOrvintaTray", L"Orvinta 3", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
    return false;
  icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
  CreateFrames();
  return Add();
}

void TrayIcon::CreateFrames() {
  for (int i = 0; i < kFrameCount; ++i)
    if (HICON f = MakeFrame(icon_, i)) frames_.push_back(f);
}

bool TrayIcon::Add() {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = Handle();
  nid.uID = kIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid.uCallbackMessage = kCallbackMessage;
  nid.hIcon = cycling_ && !frames_.empty() ? frames_[frame_] : icon_;
  wcscpy_s(nid.szTip, L"Orvinta 3");
  added_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
  return added_;
}

void TrayIcon::SetIcon(HICON icon) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = Handle();
  nid.uID = kIconId;
  nid.uFlags = NIF_ICON;
  nid.hIcon = icon;
  Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void TrayIcon::SetCycling(bool on) {
  if (!Handle() || frames_.empty()) return;
  if (on) {
    frame_ = 0;
    SetIcon(frames_[0]);
    SetTimer(Handle(), kTimerAnim, kAnimInterval, nullptr);
  } else {
    KillTimer(Handle(), kTimerAnim);
  }
  cycling_ = on;
}

void TrayIcon::ShowMenu() {
  App& app = app_;
  SharedImages& images = SharedImages::Get();
  auto tick = [&](bool on) { return images.MenuBitmap(on ? kMenuImageTick : kMenuImageBlank); };
  const bool mainVisible = app.MainWindow && IsWindowVisible(app.MainWindow->Handle());

  HMENU menu = CreatePopupMenu();
  AppendItem(menu, kCmdOpenProgram, L"打开程序...", !mainVisible);
  AppendItem(menu, kCmdRotateWallpaper, L"更换背景图像");
  AppendSub(menu, CreateImagesMenu(), L"图像");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendItem(menu, kCmdCalendarVisible, L"显示日历", true, tick(app.settings.CalendarVisible));
  AppendItem(menu, kCmdMiniController, L"迷你控制器", true, tick(app.settings.ShowController));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);

  // One radio item per entry section; the current one carries the selected image.
  HMENU sections = CreatePopupMenu();
  std::vector<std::string> names;
  if (app.Entries && app.Shell) names = ListSections(*app.Shell, app.Entries->EntriesFolder());
  const std::string current = app.Entries ? app.Entries->CurrentSection() : app.settings.SubEntryName;
  for (size_t i = 0; i < names.size() && kCmdSectionFirst + i <= kCmdSectionLast; ++i)
    AppendItem(sections, static_cast<UINT>(kCmdSectionFirst + i), Widen(SectionMenuCaption(names[i])).c_str(), true,
               images.MenuBitmap(names[i] == current ? kMenuImageRadioOn : kMenuImageRadioOff));
  AppendSub(menu, sections, L"项目部分");

  HMENU go = CreatePopupMenu();
  AppendItem(go, kCmdToday, L"今天", DateOf(app.DisplayDate) != DateOf(app.Clock.Now()));
  AppendItem(go, kCmdPreviousMonth, L"上个月");
  AppendItem(go, kCmdNextMonth, L"下个月");
  AppendItem(go, kCmdSelectDate, L"选择日期...");
  AppendSub(menu, go, L"日历跳转");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendItem(menu, kCmdQuit, L"退出");

  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(Handle());
  UINT cmd = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, Handle(), nullptr));
  DestroyMenu(menu);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (cmd >= kCmdSectionFirst && cmd < kCmdSectionFirst + names.size()) {
    ChooseSection(app, names[cmd - kCmdSectionFirst]);
  } else if (cmd) {
    RunSharedCommand(app, cmd);
  }
}

LRESULT TrayIcon::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallbackMessage) {
    // Disabled while a dialog of the program (the folder browser) is open: the icon's
    // menu would offer a second one over it.
    if (!IsWindowEnabled(Handle())) return 0;
    switch (LOWORD(lp)) {
      case WM_RBUTTONUP: ShowMenu(); break;
      case WM_LBUTTONDBLCLK:
        if (app_.MainWindow) app_.MainWindow->ShowMainWindow();
        break;
      default: break;
    }
    return 0;
  }
  if (msg == taskbarCreated_ && taskbarCreated_) {
    Add();
    return 0;
  }
  if (msg == WM_TIMER && wp == kTimerAnim) {
    if (!frames_.empty()) {
      frame_ = (frame_ + 1) % frames_.size();
      SetIcon(frames_[frame_]);
    }
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace ov
