#include "win/desktop/EntryPopup.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "core/calendar/ChineseCalendar.h"
#include "core/calendar/ColorCodeEdit.h"
#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/DisplayDate.h"
#include "core/calendar/Repeat.h"
#include "core/desktop/DesktopMetrics.h"
#include "core/desktop/EntryEditMenu.h"
#include "core/desktop/PopupPlacement.h"
#include "core/desktop/PopupText.h"
#include "core/ical/SubscribedEvents.h"
#include "core/sync/NoteConflicts.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"
#include "win/app/App.h"
#include "win/app/ApplicationWindow.h"
#include "win/app/MainForm.h"
#include "win/desktop/DatePicker.h"
#include "win/desktop/RepeatDialog.h"
#include "win/platform/ComputerName.h"
#include "win/platform/DateConvert.h"
#include "win/platform/Utf16.h"
#include "win/ui/Dpi.h"
#include "win/ui/MessageBoxes.h"
#include "win/ui/SharedImages.h"
#include "win/platform/FileErrors.h"
#include "win/wallpaper/Monitors.h"
#include "win/ui/MenuTracking.h"

namespace ov {

namespace {

const wchar_t kClassName[] = L"TFEntry";
constexpr int kMemoId = 1;
// Posted to itself after opening on a note that could not be read, or that is shown
// only in its beginning.
constexpr UINT kMsgShowReadError = WM_APP + 1;
constexpr UINT kMsgShowTruncated = WM_APP + 2;
constexpr UINT kMsgOfferMerge = WM_APP + 3;

const char kOfferMergeText[] =
    "此项目在另一台电脑上也被修改了。\r\n\r\n要把另一个版本合并到本项目中吗？\r\n"
    "(选择“否”将保留另一个版本，下次打开时再询问。)";

// "2026-12-09 101500" for a local date-time.
std::string ConflictStamp(double now) {
  CivilDate d = DecodeDate(now);
  const int seconds = static_cast<int>((now - std::floor(now)) * 86400.0 + 0.5) % 86400;
  return Format("%.4d-%.2d-%.2d %.2d%.2d%.2d", d.year, d.month, d.day, seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// Menu command ids.
enum : int {
  kCmdColorFirst = 1000,  // 1000..1007 the eight codes, 1008 "清除"
  kCmdColorClear = 1008,
  kCmdPreviousMonth = 1100,
  kCmdNextMonth,
  kCmdToday,
  kCmdSelectDate,
  kCmdRepeat,
  kCmdShowCaption,
  kCmdShowScrollbar,
  kCmdAutoHeight,
  kCmdCopy,
  kCmdCut,
  kCmdPaste,
  kCmdUndo,
  kCmdSelectAll,
  kCmdResetSize,
  kCmdOpenProgram,
  kCmdClose,
};

int EditMenuCommandId(EditCommand command) {
  switch (command) {
    case EditCommand::Undo: return kCmdUndo;
    case EditCommand::Copy: return kCmdCopy;
    case EditCommand::Cut: return kCmdCut;
    case EditCommand::Paste: return kCmdPaste;
    case EditCommand::SelectAll: return kCmdSelectAll;
    case EditCommand::Separator: break;
  }
  return 0;
}

COLORREF FromRgb(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
uint32_t ToRgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

void AppendItem(HMENU menu, int id, const wchar_t* caption, UINT state = 0, HBITMAP image = nullptr) {
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
  mi.wID = static_cast<UINT>(id);
  mi.dwTypeData = const_cast<wchar_t*>(caption);
  mi.fState = state;
  SetMenuItemImage(mi, image);
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mi);
}

void AppendSubMenu(HMENU menu, HMENU sub, const wchar_t* caption) {
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_SUBMENU | MIIM_STRING;
  mi.hSubMenu = sub;
  mi.dwTypeData = const_cast<wchar_t*>(caption);
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mi);
}

void AppendSeparator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

// A 3D edge one pixel wide: light over the top and left lines, dark over the bottom and
// right ones (swapped when sunken), blended with the given contrast in percent.
void DrawBevel(HDC dc, const RECT& r, int contrast, bool sunken) {
  int light = std::min(255, 512 * contrast / 100);
  int dark = sunken ? 255 * contrast / 100 : std::min(255, 255 * contrast / 100);
  auto blendLine = [&](int x, int y, int w, int h, COLORREF color, int alpha) {
    if (w <= 0 || h <= 0 || alpha <= 0) return;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetPixel(mem, 0, 0, color);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, static_cast<BYTE>(std::min(alpha, 255)), 0};
    AlphaBlend(dc, x, y, w, h, mem, 0, 0, 1, 1, bf);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
  };
  COLORREF topLeft = sunken ? RGB(0, 0, 0) : RGB(255, 255, 255);
  COLORREF bottomRight = sunken ? RGB(255, 255, 255) : RGB(0, 0, 0);
  int topAlpha = sunken ? dark : light, bottomAlpha = sunken ? light : dark;
  int w = r.right - r.left, h = r.bottom - r.top;
  blendLine(r.left, r.top, w, 1, topLeft, topAlpha);
  blendLine(r.left, r.top + 1, 1, h - 1, topLeft, topAlpha);
  blendLine(r.left + 1, r.bottom - 1, w - 1, 1, bottomRight, bottomAlpha);
  blendLine(r.right - 1, r.top + 1, 1, h - 2, bottomRight, bottomAlpha);
}

// The message for a note that exists but cannot be read: its file and the reason.
std::string NoteReadErrorText(const std::filesystem::path& file) {
  return Format("无法读取项目文件“%s”。\r\n%s\r\n\r\n该项目只能查看，不能更改。", PathToUtf8(file).c_str(),
                ReadFailureReason(file, kMaxNoteFileBytes).c_str());
}

// The message for a note too long for the pop-up, which shows its beginning only.
std::string NoteTruncatedText(const std::filesystem::path& file) {
  return Format("这个项目太长，这里只显示它的开头，不能更改。\r\n项目文件“%s”保持完整，可以用文本编辑器打开它。",
                PathToUtf8(file).c_str());
}

std::wstring DateText(double date, const wchar_t* picture) {
  SYSTEMTIME st = SystemTimeFromDays(date);
  wchar_t buf[128] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, picture, buf, 128);
  return buf;
}

}  // namespace

TFEntry::TFEntry(App& app, double date, const Rect& cell) : app_(app), date_(DateOf(date)), cellRect_(cell) {}

TFEntry* TFEntry::Open(App& app, double date, const Rect& cell) {
  if (app.EntryPopup) return nullptr;
  auto* popup = new TFEntry(app, date, cell);
  if (!popup->Create()) {
    delete popup;
    return nullptr;
  }
  return popup;
}

bool TFEntry::Create() {
  Settings& s = app_.settings;
  showing_ = true;
  // The text area: the cell, or the user's own size moved to the cell (which is also
  // remembered that way).
  popupRect_ = PopupRectForCell(cellRect_, s.EntryRect, s.HasEntryRect());
  // The window works in screen coordinates; the stored rectangle is in wallpaper pixels.
  if (s.HasEntryRect()) s.EntryRect = ScreenToWallpaper(popupRect_, app_.Monitors.Mapping());

  DWORD exStyle = WS_EX_TOOLWINDOW;
  if (s.EntryPopUpAlpha < 255) exStyle |= WS_EX_LAYERED;
  // Owned by the hidden application window: no task-bar button of its own.
  HWND owner = app_.AppWindow ? app_.AppWindow->Handle() : nullptr;
  if (!CreateWindowOfClass(kClassName, L"", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, exStyle, popupRect_.left,
                           popupRect_.top, 100, 100, owner, nullptr, CS_DBLCLKS))
    return false;
  app_.EntryPopup = this;
  if (s.EntryPopUpAlpha < 255)
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(std::clamp(s.EntryPopUpAlpha, 0, 255)), LWA_ALPHA);

  wait_ = CreateWindowExW(0, L"STATIC", L"请稍等...", WS_CHILD | SS_CENTER | SS_CENTERIMAGE, 0, 0, 10, 10, Handle(),
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  // The caption bar and the panel's font at the DPI of the cell's monitor.
  ApplyDpi(DpiAt({cellRect_.left, cellRect_.top}));
  // Read the day first: how much of it shows decides how the text field is made. A note
  // that cannot be read is not offered for editing, so closing can never replace it with
  // an empty text.
  auto read = app_.Entries->TryReadDayEntry(date_);
  section_ = app_.Entries->CurrentSection();
  if (read) {
    entry_ = *read;
    readText_ = entry_.Text;
  } else {
    readFailed_ = true;
    entry_.ColorCodes = app_.Entries->ColorCodesOf(date_);
  }
  PopupText shown = PopupTextFor(entry_.Text);
  truncated_ = shown.truncated;
  // The subscribed calendars' events of the day, shown above the note and never part of
  // it; with the event lines switched off the pop-up shows none either.
  if (s.ShowEventLines && app_.Events) events_ = PopupEventLines(app_.Events->EventsOf(DayNumber(date_)));

  // Created as wide as the text area will be: the text goes in before placing, and an
  // edit control wraps a long note into one line per character at a width of a few
  // pixels, which takes seconds. A line too long to wrap quickly scrolls sideways.
  DWORD memoStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (!shown.wrap) memoStyle |= ES_AUTOHSCROLL;
  memo_ = CreateWindowExW(0, L"EDIT", L"", memoStyle, 0, 0, std::max<int>(200, static_cast<int>(popupRect_.Width())),
                          100, Handle(), reinterpret_cast<HMENU>(kMemoId), GetModuleHandleW(nullptr), nullptr);
  SetWindowSubclass(memo_, MemoProc, 1, reinterpret_cast<DWORD_PTR>(this));
  ApplyMemoFont();
  // Typing stops where the field stops showing a note whole, so a saved note always
  // opens whole again.
  SendMessageW(memo_, EM_SETLIMITTEXT, kPopupMaxUnits, 0);
  std::string text = ReplaceAll(shown.text, "\n", "\r\n");
  SetWindowTextW(memo_, Widen(text).c_str());
  if (readFailed_) {
    EnableWindow(memo_, FALSE);
    // Told once, after the window is up, so the user knows why the editor is grey.
    PostMessageW(Handle(), kMsgShowReadError, 0, 0);
  } else if (truncated_) {
    // Read-only rather than disabled: the beginning can still be scrolled and copied.
    SendMessageW(memo_, EM_SETREADONLY, TRUE, 0);
    PostMessageW(Handle(), kMsgShowTruncated, 0, 0);
  } else if (!ConflictCopiesOf(app_.Entries->NoteFilePath(date_, section_)).empty()) {
    // Another version of this day waits beside the note: the user decides about it.
    PostMessageW(Handle(), kMsgOfferMerge, 0, 0);
  }
  entry_.Modified = false;

  if (!s.DisableHints) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, Handle(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(memo_);
    std::wstring hint = L"右击查看更多选项";
    ti.lpszText = hint.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  Place();
  return true;
}

void TFEntry::ApplyMemoFont() {
  const FontSpec& f = app_.settings.EntryFont;
  if (memoFont_) DeleteObject(memoFont_);
  // The entry font's face, size and character set, without its style.
  memoFont_ = CreateFontW(f.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, f.charSet, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, Widen(f.face).c_str());
  SendMessageW(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_), TRUE);
}

void TFEntry::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  EntryCaptionMetrics m = EntryCaptionFor(dpi);
  caption_ = m.captionHeight;
  HFONT old = uiFont_;
  uiFont_ = CreateFontW(m.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
  SendMessageW(wait_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
  if (old) DeleteObject(old);
}

void TFEntry::Place() {
  Settings& s = app_.settings;
  showing_ = true;
  // The memo's tint from the day's colour code.
  uint32_t codes[8];
  for (int i = 0; i < 8; ++i) codes[i] = ColorCodeRgb(i);
  memoColor_ = FromRgb(EntryMemoColor(ToRgb(GetSysColor(COLOR_WINDOW)), entry_.ColorCodes, codes));
  if (memoBrush_) DeleteObject(memoBrush_);
  memoBrush_ = CreateSolidBrush(memoColor_);

  // The scroll bar's width and the window's chrome are measured, not assumed.
  LONG_PTR style = GetWindowLongPtrW(memo_, GWL_STYLE);
  SetWindowLongPtrW(memo_, GWL_STYLE, style | WS_VSCROLL);
  SetWindowPos(memo_, nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE | SWP_FRAMECHANGED);
  RECT mc;
  GetClientRect(memo_, &mc);
  int scrollbarWidth = 200 - (mc.right - mc.left);

  HDC dc = GetDC(memo_);
  HGDIOBJ old = SelectObject(dc, memoFont_);
  SIZE xq{};
  GetTextExtentPoint32W(dc, L"Xq", 2, &xq);
  SelectObject(dc, old);
  ReleaseDC(memo_, dc);

  // One event row is a memo line with a pixel above and below.
  eventLine_ = std::max<int>(1, xq.cy) + 2;
  eventsHeight_ = static_cast<int>(events_.size()) * eventLine_;

  PopupPlacementInput in;
  in.popupRect = popupRect_;
  in.showCaption = s.EntryShowCaption;
  in.captionHeight = caption_;
  in.eventsHeight = eventsHeight_;
  in.showScrollbar = s.EntryShowScrollbar;
  in.autoHeight = s.EntryAutoHeight;
  in.scrollbarWidth = scrollbarWidth;
  in.lineHeight = std::max<int>(1, xq.cy);
  // Kept on the monitor of the cell it opens over.
  in.desktop = WorkAreaAt({cellRect_.left, cellRect_.top});
  // Chrome: the window frame and the caption bar, around the memo's client area.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  in.chromeHeight = (frame.bottom - frame.top) + (s.EntryShowCaption ? caption_ : 0) + eventsHeight_;
  // Lines the text needs at the placed width: lay the memo out at that width first.
  PopupPlacementResult first = PlacePopup(in);
  int memoWidth = static_cast<int>(first.window.Width()) - (frame.right - frame.left) -
                  (first.verticalScrollbar ? 0 : 0);
  SetWindowLongPtrW(memo_, GWL_STYLE, (style & ~WS_VSCROLL) | (first.verticalScrollbar ? WS_VSCROLL : 0));
  SetWindowPos(memo_, nullptr, 0, 0, std::max(1, memoWidth), 100, SWP_NOZORDER | SWP_NOMOVE | SWP_FRAMECHANGED);
  in.lineCount = static_cast<int32_t>(SendMessageW(memo_, EM_GETLINECOUNT, 0, 0));
  PopupPlacementResult placed = PlacePopup(in);
  scrollbar_ = placed.verticalScrollbar;
  SetWindowLongPtrW(memo_, GWL_STYLE, (style & ~WS_VSCROLL) | (scrollbar_ ? WS_VSCROLL : 0));

  SetWindowPos(Handle(), HWND_TOP, placed.window.left, placed.window.top, static_cast<int>(placed.window.Width()),
               static_cast<int>(placed.window.Height()), SWP_SHOWWINDOW | SWP_FRAMECHANGED);
  Layout();
  InvalidateRect(Handle(), nullptr, TRUE);
  InvalidateRect(memo_, nullptr, TRUE);

  // Into the foreground even though another program's window is active.
  HWND foreground = GetForegroundWindow();
  DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  DWORD thisThread = GetCurrentThreadId();
  if (foregroundThread && foregroundThread != thisThread) AttachThreadInput(foregroundThread, thisThread, TRUE);
  SetForegroundWindow(Handle());
  if (foregroundThread && foregroundThread != thisThread) AttachThreadInput(foregroundThread, thisThread, FALSE);
  SetFocus(memo_);
  showing_ = false;
}

void TFEntry::Layout() {
  RECT rc;
  GetClientRect(Handle(), &rc);
  int top = EventsTop() + eventsHeight_;
  SetWindowPos(memo_, nullptr, 0, top, rc.right, std::max<int>(0, rc.bottom - top), SWP_NOZORDER | SWP_FRAMECHANGED);
  SetWindowPos(wait_, nullptr, 0, top, rc.right, std::max<int>(0, rc.bottom - top), SWP_NOZORDER);
  UpdateTitle();
  // The event lines are cut at the window's width: a new width lays them out again.
  if (eventsHeight_ > 0) {
    RECT strip{0, EventsTop(), rc.right, top};
    InvalidateRect(Handle(), &strip, TRUE);
  }
}

int TFEntry::EventsTop() const { return app_.settings.EntryShowCaption ? caption_ : 0; }

RECT TFEntry::TitleBox() const {
  RECT rc;
  GetClientRect(Handle(), &rc);
  return {0, 0, std::max<LONG>(0, rc.right - caption_), caption_};
}

RECT TFEntry::CloseBox() const {
  RECT rc;
  GetClientRect(Handle(), &rc);
  return {std::max<LONG>(0, rc.right - caption_), 0, rc.right, caption_};
}

void TFEntry::UpdateTitle() {
  // The long form when it fits, else the short one, else the day number alone.
  RECT box = TitleBox();
  std::vector<std::string> candidates = {Narrow(L"  " + DateText(date_, L"dddd") + L", " + DateText(date_, L"d") + L"  "),
                                         Narrow(L"  " + DateText(date_, L"ddd") + L", " + DateText(date_, L"d") + L"  "),
                                         Narrow(DateText(date_, L"d"))};
  // With the Chinese calendar layer on, the lunar date (with its year, else without) follows
  // the Gregorian one; in a narrow pop-up it goes before the weekday, which the column
  // header shows anyway.
  if (auto lunar = app_.settings.ShowLunar ? ToLunar(DayNumber(date_)) : std::nullopt) {
    const std::string monthDay = LunarMonthName(lunar->month, lunar->leap) + LunarDayName(lunar->day) + "  ";
    candidates.insert(candidates.begin(), {candidates[0] + LunarYearName(lunar->year) + "年" + monthDay,
                                           candidates[0] + monthDay, candidates[1] + monthDay,
                                           "  " + candidates[2] + "  " + monthDay});
  }
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, uiFont_);
  title_ = Widen(ChooseTitle(candidates, box.right - box.left, [&](const std::string& t) {
    std::wstring w = Widen(t);
    SIZE sz{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &sz);
    return static_cast<int32_t>(sz.cx);
  }));
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  // The window has no title bar, but its text names the day for tools that read it.
  SetWindowTextW(Handle(), title_.c_str());
}

void TFEntry::PaintCaption(HDC dc) {
  if (!app_.settings.EntryShowCaption) return;
  SharedImages& images = SharedImages::Get();
  RECT title = TitleBox(), close = CloseBox();
  TileBitmap(dc, title, images.Tile32());
  TileBitmap(dc, close, images.Tile32());
  // The close box shows the first image of the icon list, at its top-left corner at its
  // design size and centred in the larger box of a higher DPI.
  HRGN clip = CreateRectRgnIndirect(&close);
  SelectClipRgn(dc, clip);
  BITMAP icon{};
  HBITMAP closeIcon = images.CloseIcon();
  GetObjectW(closeIcon, sizeof(icon), &icon);
  int inset = std::max(0, (caption_ - static_cast<int>(icon.bmWidth)) / 2);
  DrawAlphaBitmap(dc, close.left + inset, close.top + inset, closeIcon);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  // The title in the title font, x = 2, vertically centred on the height of "0g".
  HGDIOBJ old = SelectObject(dc, uiFont_);
  SIZE sz{};
  GetTextExtentPoint32W(dc, L"0g", 2, &sz);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HRGN titleClip = CreateRectRgnIndirect(&title);
  SelectClipRgn(dc, titleClip);
  TextOutW(dc, title.left + 2, title.top + (caption_ - sz.cy) / 2, title_.c_str(), static_cast<int>(title_.size()));
  SelectClipRgn(dc, nullptr);
  DeleteObject(titleClip);
  SelectObject(dc, old);
  DrawBevel(dc, title, 20, false);
  DrawBevel(dc, close, closePressed_ ? 50 : 20, closePressed_);
}

void TFEntry::PaintEvents(HDC dc) {
  if (events_.empty()) return;
  RECT rc;
  GetClientRect(Handle(), &rc);
  HGDIOBJ old = SelectObject(dc, memoFont_);
  SetBkMode(dc, TRANSPARENT);
  const int bar = std::max(2, eventLine_ / 6);
  int y = EventsTop();
  for (const DayEvent& e : events_) {
    // The calendar's colour bar at the line's start, as in the day cells.
    if (e.rgb != kNoEventColor) {
      RECT b{2, y + 1, 2 + bar, y + eventLine_ - 1};
      HBRUSH brush = CreateSolidBrush(RGB((e.rgb >> 16) & 0xFF, (e.rgb >> 8) & 0xFF, e.rgb & 0xFF));
      FillRect(dc, &b, brush);
      DeleteObject(brush);
    }
    SetTextColor(dc, GetSysColor(e.rgb == kNoEventColor ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT t{2 + bar + 3, y, std::max<LONG>(2 + bar + 3, rc.right - 2), y + eventLine_};
    std::wstring text = Widen(e.text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
    y += eventLine_;
  }
  // A line between the events and the note.
  RECT sep{0, y - 1, rc.right, y};
  FillRect(dc, &sep, GetSysColorBrush(COLOR_BTNSHADOW));
  SelectObject(dc, old);
}

LRESULT TFEntry::HitTest(LPARAM lp) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  RECT wr;
  GetWindowRect(Handle(), &wr);
  int x = pt.x - wr.left, y = pt.y - wr.top, w = wr.right - wr.left, h = wr.bottom - wr.top;
  // The close box and the title take their own clicks.
  POINT client = pt;
  ScreenToClient(Handle(), &client);
  RECT close = CloseBox();
  if (app_.settings.EntryShowCaption && PtInRect(&close, client) && y >= 3) return HTCLIENT;
  switch (EntryFrameHitTest(x, y, w, h)) {
    case FrameHit::Left: return HTLEFT;
    case FrameHit::Right: return HTRIGHT;
    case FrameHit::Top: return app_.settings.EntryShowCaption && y >= 3 ? HTCLIENT : HTTOP;
    case FrameHit::Bottom: return HTBOTTOM;
    case FrameHit::TopLeft: return HTTOPLEFT;
    case FrameHit::TopRight: return HTTOPRIGHT;
    case FrameHit::BottomLeft: return HTBOTTOMLEFT;
    case FrameHit::BottomRight: return HTBOTTOMRIGHT;
    case FrameHit::None: break;
  }
  return HTCLIENT;
}

void TFEntry::OnResized() {
  Layout();
  if (showing_) return;
  RECT wr;
  GetWindowRect(Handle(), &wr);
  popupRect_ = PopupRectFromWindow({wr.left, wr.top, wr.right, wr.bottom}, app_.settings.EntryShowCaption, caption_,
                                   eventsHeight_);
  // Kept for the next pop-ups and saved with the settings.
  app_.settings.EntryRect = ScreenToWallpaper(popupRect_, app_.Monitors.Mapping());
}

LRESULT TFEntry::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HitTest(lp);
    case WM_DPICHANGED:
      // The pop-up stays over its cell (screen pixels): only the caption bar and its font
      // follow the new DPI, and the placement runs again for the new caption height.
      if (HIWORD(wp) && HIWORD(wp) != dpi_) {
        ApplyDpi(HIWORD(wp));
        if (!showing_) Place();
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
      mmi->ptMinTrackSize = {32, 32};
      return 0;
    }
    case WM_SIZE:
      OnResized();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintCaption(dc);
      PaintEvents(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(Handle(), &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == memo_ && !MemoHoldsTheNote()) {
        // A note that could not be read or is shown in part: the memo is grey, as
        // read-only fields are.
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      if (reinterpret_cast<HWND>(lp) == memo_) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, memoColor_);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(memoBrush_);
      }
      break;
    case WM_LBUTTONDOWN: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT close = CloseBox();
      if (app_.settings.EntryShowCaption && PtInRect(&close, pt)) {
        closePressed_ = true;
        SetCapture(Handle());
        InvalidateRect(Handle(), &close, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT close = CloseBox(), title = TitleBox();
      bool wasPressed = closePressed_;
      if (closePressed_) {
        closePressed_ = false;
        ReleaseCapture();
        InvalidateRect(Handle(), &close, FALSE);
      }
      if (!app_.settings.EntryShowCaption) return 0;
      if (msg == WM_LBUTTONUP && wasPressed && PtInRect(&close, pt)) {
        CloseEntry();
      } else if (PtInRect(&title, pt)) {
        RECT wr;
        GetWindowRect(Handle(), &wr);
        ShowMenu({wr.left + pt.x, wr.top + pt.y});
      }
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0) RunMenuCommand(LOWORD(wp));
      return 0;
    case WM_CLOSE:
      CloseEntry();
      return 0;
    case kMsgShowReadError:
      ShowReadError();
      return 0;
    case kMsgOfferMerge:
      OfferMerge();
      return 0;
    case kMsgShowTruncated: {
      ModalScope modal(*this);
      InfoBox(Handle(), NoteTruncatedText(app_.Entries->NoteFilePath(date_)));
      CloseIfDeferred();
      return 0;
    }
    case WM_DESTROY:
      if (app_.EntryPopup == this) app_.EntryPopup = nullptr;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}

void TFEntry::OnDestroyed() {
  if (app_.EntryPopup == this) app_.EntryPopup = nullptr;
  if (memoFont_) DeleteObject(memoFont_);
  if (uiFont_) DeleteObject(uiFont_);
  if (memoBrush_) DeleteObject(memoBrush_);
  delete this;
}

void TFEntry::ShowAgain() { ShowWindow(Handle(), SW_SHOWNA); }

void TFEntry::OfferMerge() {
  if (closing_ || !MemoHoldsTheNote()) return;
  bool merge = false;
  {
    ModalScope modal(*this);
    merge = ConfirmBox(Handle(), kOfferMergeText);
  }
  if (merge && !closing_) {
    // What the user typed meanwhile is saved first, so the merge starts from it.
    std::string typed = MemoText();
    if (typed != readText_) {
      TDayEntry e;
      e.Text = typed;
      app_.Entries->WriteDayEntry(e, date_, section_);
    }
    if (auto merged = MergeConflictCopies(*app_.Entries, date_, section_)) {
      readText_ = entry_.Text = *merged;
      SetWindowTextW(memo_, Widen(ReplaceAll(*merged, "\n", "\r\n")).c_str());
      // Nothing left to save; the wallpaper shows the merged note.
      app_.MainWindow->UpdateWallpaper();
    }
  }
  CloseIfDeferred();
}

std::string TFEntry::MemoText() const {
  int n = GetWindowTextLengthW(memo_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(memo_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  return TrimControl(ReplaceAll(Narrow(text), "\r\n", "\n"));
}

void TFEntry::ShowReadError() {
  const std::filesystem::path file = app_.Entries->NoteFilePath(date_);
  ModalScope modal(*this);
  ErrorBox(Handle(), NoteReadErrorText(file));
  CloseIfDeferred();
}

bool TFEntry::CloseIfDeferred() {
  if (modalDepth_ > 0 || !closeDeferred_) return false;
  closeDeferred_ = false;
  CloseEntry();
  return true;
}

void TFEntry::CloseEntry() {
  if (closing_) return;
  if (modalDepth_ > 0) {
    closeDeferred_ = true;
    return;
  }
  closing_ = true;
  if (entry_.Modified && MemoHoldsTheNote()) {
    entry_.Text = MemoText();
    // Into the section the note came from, also when another one became active while a
    // dialog of the pop-up held the close back. When another computer changed the note
    // meanwhile, its version is kept beside it as a conflict copy; when only the other
    // computer changed it, its text stays and shows on the rebuilt wallpaper.
    CloseNote(*app_.Entries, date_, section_, readText_, entry_.Text, ComputerName(),
              ConflictStamp(app_.Clock.Now()));
    ShowWindow(memo_, SW_HIDE);
    ShowWindow(wait_, SW_SHOW);
    UpdateWindow(Handle());
    saved_ = true;
    app_.MainWindow->UpdateWallpaper();
  } else if (entry_.Modified) {
    // The memo does not hold the note (unreadable, or only its beginning), so there is
    // nothing to save; the rebuild (month navigation, colour codes) still happens.
    saved_ = true;
    app_.MainWindow->UpdateWallpaper();
  }
  if (app_.EntryPopup == this) app_.EntryPopup = nullptr;
  DestroyWindow(Handle());
}

void TFEntry::ShowMenu(POINT screen) {
  Settings& s = app_.settings;
  SharedImages& images = SharedImages::Get();
  HMENU menu = CreatePopupMenu();

  HMENU colors = CreatePopupMenu();
  for (const ColorCodeItem& item : kColorCodeTable)
    AppendItem(colors, kCmdColorFirst + item.index, Widen(item.caption).c_str(), 0,
               images.MenuBitmap(kMenuImageColorFirst + item.index));
  AppendSeparator(colors);
  AppendItem(colors, kCmdColorClear, Widen(kColorCodeClearItem.caption).c_str());
  AppendSubMenu(menu, colors, L"颜色代码");

  HMENU go = CreatePopupMenu();
  AppendItem(go, kCmdPreviousMonth, L"上个月");
  AppendItem(go, kCmdNextMonth, L"下个月");
  AppendItem(go, kCmdToday, L"今天");
  AppendSeparator(go);
  AppendItem(go, kCmdSelectDate, L"选择日期...");
  AppendSubMenu(menu, go, L"转到");

  // A note that was not read cannot be repeated: that would write over it.
  AppendItem(menu, kCmdRepeat, L"重复项目...", MemoHoldsTheNote() ? 0 : MFS_DISABLED);
  AppendSeparator(menu);
  auto tick = [&](bool on) { return on ? images.MenuBitmap(kMenuImageTick) : images.MenuBitmap(kMenuImageBlank); };
  AppendItem(menu, kCmdShowCaption, L"显示标题", 0, tick(s.EntryShowCaption));
  if (!s.EntryAutoHeight) AppendItem(menu, kCmdShowScrollbar, L"显示滚动条", 0, tick(s.EntryShowScrollbar));
  AppendItem(menu, kCmdAutoHeight, L"自动调整高度", 0, tick(s.EntryAutoHeight));
  AppendSeparator(menu);
  DWORD selStart = 0, selEnd = 0;
  SendMessageW(memo_, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  EditMenuState edit;
  edit.canUndo = SendMessageW(memo_, EM_CANUNDO, 0, 0) != 0;
  edit.hasSelection = selEnd > selStart;
  edit.clipboardHasText = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
  edit.hasText = GetWindowTextLengthW(memo_) > 0;
  for (const EditMenuItem& item : EntryEditMenu(edit)) {
    if (item.command == EditCommand::Separator) {
      AppendSeparator(menu);
      continue;
    }
    AppendItem(menu, EditMenuCommandId(item.command), Widen(item.caption).c_str(), item.enabled ? 0 : MFS_DISABLED);
  }
  AppendSeparator(menu);
  AppendItem(menu, kCmdResetSize, L"重置大小", s.HasEntryRect() ? 0 : MFS_DISABLED);
  AppendItem(menu, kCmdOpenProgram, L"打开程序...");
  AppendItem(menu, kCmdClose, L"关闭项目");

  SetForegroundWindow(Handle());
  int cmd = 0;
  {
    ModalScope modal(*this);
    cmd = TrackMenuInWorkArea(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y,
                              Handle());
  }
  DestroyMenu(menu);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  // Closed meanwhile (a day change, a desktop press): the command is dropped.
  if (CloseIfDeferred()) return;
  if (cmd) RunMenuCommand(cmd);
}

void TFEntry::RunMenuCommand(int id) {
  Settings& s = app_.settings;
  if (id >= kCmdColorFirst && id <= kCmdColorClear) {
    ChooseColorCode(id == kCmdColorClear ? -1 : id - kCmdColorFirst);
    return;
  }
  switch (id) {
    case kCmdPreviousMonth: GoToMonth(-1); break;
    case kCmdNextMonth: GoToMonth(1); break;
    case kCmdToday:
      app_.DisplayDate = DisplayDateToday(app_.Clock);
      entry_.Modified = true;
      CloseEntry();
      break;
    case kCmdSelectDate: app_.ShowDatePicker(); break;
    case kCmdRepeat: RepeatEntry(); break;
    case kCmdShowCaption:
      s.EntryShowCaption = !s.EntryShowCaption;
      Place();
      break;
    case kCmdShowScrollbar:
      s.EntryShowScrollbar = !s.EntryShowScrollbar;
      Place();
      break;
    case kCmdAutoHeight:
      s.EntryAutoHeight = !s.EntryAutoHeight;
      Place();
      break;
    case kCmdCopy: SendMessageW(memo_, WM_COPY, 0, 0); break;
    case kCmdCut:
      SendMessageW(memo_, WM_CUT, 0, 0);
      entry_.Modified = true;
      break;
    case kCmdPaste:
      SendMessageW(memo_, WM_PASTE, 0, 0);
      entry_.Modified = true;
      break;
    case kCmdUndo:
      SendMessageW(memo_, EM_UNDO, 0, 0);
      entry_.Modified = true;
      break;
    case kCmdSelectAll: SendMessageW(memo_, EM_SETSEL, 0, -1); break;
    case kCmdResetSize:
      s.EntryRect = {-1, -1, -1, -1};
      popupRect_ = cellRect_;
      Place();
      break;
    case kCmdOpenProgram: app_.MainWindow->ShowMainWindow(); break;
    case kCmdClose: CloseEntry(); break;
    default: break;
  }
}

void TFEntry::GoToMonth(int step) {
  app_.DisplayDate = step < 0 ? DisplayDatePreviousMonth(app_.DisplayDate) : DisplayDateNextMonth(app_.DisplayDate);
  entry_.Modified = true;
  CloseEntry();
}

void TFEntry::ChooseColorCode(int index) {
  const RepeatSeries* series = nullptr;
  if (GetKeyState(VK_SHIFT) < 0) {
    // Shift: the code goes over a series chosen in the repeat dialog, without the options
    // for days that already have text and without the colour check box.
    bool confirmed;
    {
      ModalScope modal(*this);
      confirmed = app_.RepeatDialog().ShowRepeatDialog(Handle(), false, false, app_.settings.RepeatColorWithEntry, date_);
    }
    if (!confirmed) {
      CloseIfDeferred();
      return;
    }
    series = &app_.RepeatDialog().Series();
  }
  bool set = index >= 0 && !(entry_.ColorCodes & (1u << index));
  ApplyColorCode(*app_.Entries, index, set, series, date_);
  entry_.Modified = true;
  CloseEntry();
}

void TFEntry::RepeatEntry() {
  if (!MemoHoldsTheNote()) return;
  bool confirmed;
  {
    ModalScope modal(*this);
    confirmed = app_.RepeatDialog().ShowRepeatDialog(Handle(), true, true, app_.settings.RepeatColorWithEntry, date_);
  }
  if (!confirmed) {
    CloseIfDeferred();
    return;
  }
  entry_.Modified = true;
  // Another section became active while the dialog was open: the series would go into
  // that one, so only the pop-up's own text is saved.
  if (app_.Entries->CurrentSection() != section_) {
    CloseEntry();
    return;
  }
  int n = GetWindowTextLengthW(memo_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(memo_, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  std::string memoText = ReplaceAll(Narrow(text), "\r\n", "\n");
  RepeatEntryText(*app_.Entries, app_.RepeatDialog().Series(), memoText, app_.RepeatDialog().Choices().target,
                  app_.settings.RepeatColorWithEntry);
  if (auto back = app_.Entries->TryReadDayEntry(date_)) entry_.ColorCodes = back->ColorCodes;
  CloseEntry();
}

LRESULT CALLBACK TFEntry::MemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<TFEntry*>(data);
  switch (msg) {
    case WM_KEYDOWN:
      // Any key, even an arrow, means the note is to be saved and the wallpaper rebuilt.
      self->entry_.Modified = true;
      if (wp == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == 1) return 0;  // Ctrl+A handled above; no beep
      break;
    case WM_CONTEXTMENU: {
      // At the window's corner plus the pointer's place within the memo.
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (pt.x == -1 && pt.y == -1) pt = {0, 0};
      else ScreenToClient(hwnd, &pt);
      RECT wr;
      GetWindowRect(self->Handle(), &wr);
      self->ShowMenu({wr.left + pt.x, wr.top + pt.y});
      return 0;
    }
    case WM_NCHITTEST: {
      // The frame's sizing zones reach over the memo's edges.
      RECT wr;
      GetWindowRect(self->Handle(), &wr);
      int x = GET_X_LPARAM(lp) - wr.left, y = GET_Y_LPARAM(lp) - wr.top;
      if (EntryFrameHitTest(x, y, wr.right - wr.left, wr.bottom - wr.top) != FrameHit::None) return HTTRANSPARENT;
      break;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace ov
