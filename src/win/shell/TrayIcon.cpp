#include "win/shell/TrayIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "core/calendar/DateTime.h"
#include "core/calendar/Sections.h"
#include "core/ical/NotesExport.h"
#include "core/shell/TrayIconFace.h"
#include "win/app/App.h"
#include "win/app/Commands.h"
#include "win/app/MainForm.h"
#include "win/app/Reminders.h"
#include "win/platform/DibSection.h"
#include "win/platform/Utf16.h"
#include "win/ui/SharedImages.h"
#include "win/ui/MenuTracking.h"

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

// A square 32-bit surface to draw an icon on: the caller draws through Dc(), sets each
// pixel's alpha through Pixels(), and MakeIcon turns it into an icon. The GDI objects go
// with the canvas.
class IconCanvas {
 public:
  explicit IconCanvas(int size) : size_(size), screen_(GetDC(nullptr)), dc_(CreateCompatibleDC(screen_)) {
    color_ = CreateTopDownDib32(screen_, size, size, &bits_);
    if (color_) old_ = SelectObject(dc_, color_);
  }
  ~IconCanvas() {
    if (old_) SelectObject(dc_, old_);
    if (color_) DeleteObject(color_);
    DeleteDC(dc_);
    ReleaseDC(nullptr, screen_);
  }
  IconCanvas(const IconCanvas&) = delete;
  IconCanvas& operator=(const IconCanvas&) = delete;

  bool Ok() const { return color_ != nullptr; }
  HDC Dc() const { return dc_; }
  // The pixels, with every drawing call finished.
  uint32_t* Pixels() {
    GdiFlush();
    return static_cast<uint32_t*>(bits_);
  }
  HICON MakeIcon() {
    // The bitmap leaves the DC before it becomes part of an icon.
    if (old_) SelectObject(dc_, old_);
    old_ = nullptr;
    HBITMAP mask = CreateBitmap(size_, size_, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, mask, color_};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    return icon;
  }

 private:
  int size_;
  HDC screen_, dc_;
  HBITMAP color_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// An animation frame: the program icon with a bright dot circling its lower right
// quarter, so the icon visibly works while a wallpaper is being made.
HICON MakeFrame(HICON base, int index) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  IconCanvas canvas(size);
  if (!canvas.Ok()) return nullptr;
  HDC dc = canvas.Dc();
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
  // Opaque where drawn: the dot and the icon's own pixels (alpha from the icon is lost on
  // the black fill, so the frame keeps a mask of everything drawn).
  uint32_t* px = canvas.Pixels();
  for (int i = 0; i < size * size; ++i) px[i] = (px[i] & 0x00FFFFFFu) ? (px[i] | 0xFF000000u) : 0;
  return canvas.MakeIcon();
}

// The calendar leaf with the day of the month: a dark rounded frame, a red strip on top
// and the digits on a light page, transparent outside the rounded corners.
HICON MakeDayIcon(const TrayIconFace& face) {
  const int size = face.size;
  IconCanvas canvas(size);
  if (!canvas.Ok()) return nullptr;
  HDC dc = canvas.Dc();
  // A key colour marks what stays transparent.
  const COLORREF key = RGB(255, 0, 255);
  RECT all{0, 0, size, size};
  HBRUSH keyBrush = CreateSolidBrush(key);
  FillRect(dc, &all, keyBrush);
  DeleteObject(keyBrush);

  const int round = std::max(2, size / 5);
  HBRUSH page = CreateSolidBrush(RGB(0xF4, 0xF4, 0xF0));
  HPEN frame = CreatePen(PS_SOLID, 1, RGB(0x50, 0x50, 0x50));
  HGDIOBJ oldBrush = SelectObject(dc, page);
  HGDIOBJ oldPen = SelectObject(dc, frame);
  RoundRect(dc, 0, 0, size, size, round, round);
  // The strip: clipped to the rounded leaf so its corners follow the frame.
  HRGN leaf = CreateRoundRectRgn(1, 1, size, size, round, round);
  SelectClipRgn(dc, leaf);
  RECT strip{1, 1, size - 1, face.header.bottom};
  HBRUSH red = CreateSolidBrush(RGB(0xD6, 0x3A, 0x36));
  FillRect(dc, &strip, red);
  DeleteObject(red);
  SelectClipRgn(dc, nullptr);
  DeleteObject(leaf);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(frame);
  DeleteObject(page);

  // The digits as large as the page allows, narrowed until two of them fit.
  std::wstring text = Widen(face.text);
  RECT area{face.textArea.left + 1, face.textArea.top, face.textArea.right - 1, face.textArea.bottom - 1};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0x26, 0x26, 0x26));
  for (int height = face.fontHeight; height >= 5; --height) {
    HFONT font = CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const bool fits = extent.cx <= area.right - area.left || height == 5;
    if (fits)
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    if (fits) break;
  }
  uint32_t* px = canvas.Pixels();
  const uint32_t keyPixel = 0x00FF00FFu;
  for (int i = 0; i < size * size; ++i) px[i] = (px[i] & 0x00FFFFFFu) == keyPixel ? 0 : (px[i] | 0xFF000000u);
  return canvas.MakeIcon();
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
  if (ownIcon_ && icon_) DestroyIcon(icon_);
}

bool TrayIcon::Create() {
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // A hidden top-level window: it must receive the shell's broadcast of a new task bar.
  if (!CreateWindowOfClass(L"TOrvintaTray", L"Orvinta 3", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
    return false;
  MakeIcons(app_.Clock.Now());
  return Add();
}

void TrayIcon::MakeIcons(double now) {
  for (HICON f : frames_) DestroyIcon(f);
  frames_.clear();
  if (ownIcon_ && icon_) DestroyIcon(icon_);
  // The notification area shows small icons: their size already follows the DPI.
  const TrayIconFace face = TrayIconFaceFor(now, GetSystemMetrics(SM_CXSMICON));
  icon_ = MakeDayIcon(face);
  ownIcon_ = icon_ != nullptr;
  day_ = face.day;
  if (!icon_) {
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (!icon_) icon_ = LoadIconW(nullptr, IDI_APPLICATION);
  }
  for (int i = 0; i < kFrameCount; ++i)
    if (HICON f = MakeFrame(icon_, i)) frames_.push_back(f);
  frame_ = std::min(frame_, frames_.empty() ? size_t{0} : frames_.size() - 1);
}

void TrayIcon::ShowDay(double now) {
  if (!Handle() || !TrayIconOutdated(day_, now)) return;
  MakeIcons(now);
  SetIcon(cycling_ && !frames_.empty() ? frames_[frame_] : icon_);
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
  // A build at the day change ends on the new day's face.
  if (!on) ShowDay(app_.Clock.Now());
}

void TrayIcon::ShowBalloon(const std::string& title, const std::string& body) {
  if (!Handle() || !added_) return;
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = Handle();
  nid.uID = kIconId;
  nid.uFlags = NIF_INFO;
  // The texts arrive within the shell's limits; the copies cut at the buffer's end anyway.
  lstrcpynW(nid.szInfoTitle, Widen(title).c_str(), ARRAYSIZE(nid.szInfoTitle));
  lstrcpynW(nid.szInfo, Widen(body).c_str(), ARRAYSIZE(nid.szInfo));
  // The program's own icon in the notification.
  if (!balloonIcon_)
    balloonIcon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  nid.dwInfoFlags = NIIF_USER | NIIF_LARGE_ICON;
  nid.hBalloonIcon = balloonIcon_;
  Shell_NotifyIconW(NIM_MODIFY, &nid);
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
  if (!names.empty()) AppendMenuW(sections, MF_SEPARATOR, 0, nullptr);
  AppendItem(sections, kCmdExportIcs, Widen(kExportIcsCaption).c_str());
  AppendSub(menu, sections, L"项目部分");

  HMENU go = CreatePopupMenu();
  AppendItem(go, kCmdToday, L"今天", DateOf(app.DisplayDate) != DateOf(app.Clock.Now()));
  AppendItem(go, kCmdPreviousMonth, L"上个月");
  AppendItem(go, kCmdNextMonth, L"下个月");
  AppendItem(go, kCmdSelectDate, L"选择日期...");
  AppendSub(menu, go, L"日历跳转");

  // The next reminders, each opening its day, and the pause.
  HMENU reminders = CreatePopupMenu();
  std::vector<ReminderItem> next;
  if (app.Reminders) next = app.Reminders->Upcoming(kCmdReminderLast - kCmdReminderFirst + 1);
  const std::string active = app.Entries ? app.Entries->CurrentSection() : std::string();
  for (size_t i = 0; i < next.size(); ++i)
    AppendItem(reminders, static_cast<UINT>(kCmdReminderFirst + i),
               Widen(ReminderWhenText(next[i]) + "  " + LimitChars(ReminderLineText(next[i], active), 40)).c_str());
  if (next.empty()) AppendItem(reminders, 0, app.settings.RemindersEnabled ? L"没有待定的提醒" : L"提醒已关闭", false);
  AppendSub(menu, reminders, L"提醒");
  AppendItem(menu, kCmdReminderPause, L"暂停提醒一小时", app.settings.RemindersEnabled,
             tick(app.Reminders && app.Reminders->Paused()));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendItem(menu, kCmdQuit, L"退出");

  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(Handle());
  UINT cmd = static_cast<UINT>(TrackMenuInWorkArea(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, Handle()));
  DestroyMenu(menu);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (cmd >= kCmdSectionFirst && cmd < kCmdSectionFirst + names.size()) {
    ChooseSection(app, names[cmd - kCmdSectionFirst]);
  } else if (cmd >= kCmdReminderFirst && cmd < kCmdReminderFirst + next.size()) {
    if (app.Reminders) app.Reminders->OpenDay(next[cmd - kCmdReminderFirst].day);
  } else if (cmd == kCmdReminderPause) {
    if (app.Reminders) app.Reminders->TogglePause();
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
      case NIN_BALLOONUSERCLICK:
        if (app_.Reminders) app_.Reminders->NoticeClicked();
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
