// ovtool.exe: the end-to-end harness's hands inside Wine. Finds and inspects top-level
// windows, posts and sends messages, reads message boxes and presses their buttons,
// reads registry values and shell folders, and shows a plain window to click on. Text
// goes out as UTF-8, one record per line; the exit code says whether it worked.
//
//   ovtool list [CLASS]
//   ovtool find CLASS [TITLE]
//   ovtool wait CLASS exists|gone|visible|hidden [TIMEOUT_MS] [TITLE]
//   ovtool post TARGET MSG [WPARAM [LPARAM]]
//   ovtool send TARGET MSG [WPARAM [LPARAM [TIMEOUT_MS]]]
//   ovtool msgboxes
//   ovtool press BUTTON [TITLE]
//   ovtool children TARGET             child controls: id, state, rect, class, text
//   ovtool items TARGET                a list view's rows: index, selected, screen rect, text,
//                                      the other columns' texts and a check box's state;
//                                      for a tree view its selected item and whether it is in view
//   ovtool click TARGET TEXT|#ID       BM_CLICK on a child control of any window
//   ovtool hint TARGET TEXT|#ID        the text of a child control's tooltip
//   ovtool settext TARGET TEXT|#ID|. NEW  WM_SETTEXT on a child control ("." TARGET itself)
//   ovtool select TARGET TEXT|#ID N    chooses item N of a combo box
//   ovtool desktop                     screen size; the desktop window; the work area
//   ovtool cursor [X Y]                 prints the cursor position, after moving it to X, Y
//   ovtool reg get KEY VALUE
//   ovtool reg list KEY
//   ovtool folder appdata|localappdata|pictures|documents|startup|temp|programfiles|windows
//   ovtool window TITLE X Y W H [RRGGBB]
//   ovtool msgbox TITLE TEXT           shows an OK box, prints the button pressed
//   ovtool link FILE                   a shell link's target, working folder and arguments
//   ovtool wallpaper PATH              installs a wallpaper as another program would
//   ovtool procstats PID|TARGET        CPU time, memory, GDI and USER objects of a process
//   ovtool ping TARGET MS              sends WM_NULL every 10 ms for MS milliseconds and
//                                      prints the answers' count and longest wait
//   ovtool serve                       runs the commands of stdin's lines (see Serve)
//
// TARGET is a window handle (0x...) or a class name (its first top-level window). MSG is
// a number or a name such as WM_CLOSE, WM_USER+23, WM_APP+1.
#include <shlobj.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "win/platform/Utf16.h"
#include "win/shell/Autostart.h"

namespace {

using ov::Narrow;
using ov::Widen;

enum Exit { kOk = 0, kNotFound = 1, kFailed = 2, kUsage = 64 };

// In serve mode: whether the last byte written ended a line, and a command's errors go
// into its answer, marked, instead of to the server's own stderr.
bool gServing = false;
bool gLineOpen = false;

void Out(const std::string& text) {
  if (!text.empty()) gLineOpen = text.back() != '\n';
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  if (GetFileType(out) == FILE_TYPE_CHAR) {
    std::wstring wide = Widen(text);
    if (WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) return;
  }
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Line(const std::string& text) { Out(text + "\n"); }

void Error(const std::string& text) {
  std::string line = "ovtool: " + text + "\n";
  if (gServing) {
    Out(std::string(gLineOpen ? "\n" : "") + "\x1f" + line);
    return;
  }
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// Control characters escaped so that every record stays on one line.
std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Narrow(text)) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string Hex(uintptr_t value) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "0x%08llx", static_cast<unsigned long long>(value));
  return buf;
}

std::string HandleText(HWND hwnd) { return Hex(reinterpret_cast<uintptr_t>(hwnd)); }

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  // WM_GETTEXT with a time-out: a hung program must not hang the harness.
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied))
    return {};
  return text;
}

std::optional<long long> ParseNumber(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  wchar_t* end = nullptr;
  long long value = std::wcstoll(text.c_str(), &end, 0);
  if (*end != L'\0') {
    // Handles and masks above the signed range, e.g. 0xFFFFFFFFFFFFFFFF.
    unsigned long long u = std::wcstoull(text.c_str(), &end, 0);
    if (*end != L'\0') return std::nullopt;
    value = static_cast<long long>(u);
  }
  return value;
}

// A message number, or a name with an optional "+N".
std::optional<UINT> ParseMessage(const std::wstring& text) {
  struct Named {
    const wchar_t* Name;
    UINT Value;
  };
  static const Named kNames[] = {
      {L"WM_CLOSE", WM_CLOSE},     {L"WM_QUIT", WM_QUIT},   {L"WM_QUERYENDSESSION", WM_QUERYENDSESSION},
      {L"WM_ENDSESSION", WM_ENDSESSION}, {L"WM_HOTKEY", WM_HOTKEY}, {L"WM_TIMECHANGE", WM_TIMECHANGE},
      {L"WM_COMMAND", WM_COMMAND}, {L"WM_USER", WM_USER},   {L"WM_APP", WM_APP},
  };
  std::wstring name = text, offset;
  size_t plus = text.find(L'+');
  if (plus != std::wstring::npos) {
    name = text.substr(0, plus);
    offset = text.substr(plus + 1);
  }
  for (const auto& n : kNames) {
    if (name == n.Name) {
      if (offset.empty()) return n.Value;
      auto add = ParseNumber(offset);
      if (!add) return std::nullopt;
      return n.Value + static_cast<UINT>(*add);
    }
  }
  auto value = ParseNumber(text);
  if (!value) return std::nullopt;
  return static_cast<UINT>(*value);
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The first top-level window of a class ("*" for any), with the given title if one is given.
HWND FindTopLevel(const std::wstring& className, const wchar_t* title) {
  for (HWND hwnd : TopLevelWindows()) {
    if (className != L"*" && ClassOf(hwnd) != className) continue;
    if (title && TextOf(hwnd) != title) continue;
    return hwnd;
  }
  return nullptr;
}

HWND ResolveTarget(const std::wstring& target) {
  if (target.rfind(L"0x", 0) == 0 || target.rfind(L"0X", 0) == 0) {
    auto value = ParseNumber(target);
    HWND hwnd = value ? reinterpret_cast<HWND>(static_cast<intptr_t>(*value)) : nullptr;
    return IsWindow(hwnd) ? hwnd : nullptr;
  }
  return FindTopLevel(target, nullptr);
}

std::string Describe(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char buf[160];
  std::snprintf(buf, sizeof(buf), " pid=%lu visible=%d rect=%ld,%ld,%ld,%ld ", pid, IsWindowVisible(hwnd) ? 1 : 0,
                r.left, r.top, r.right, r.bottom);
  return HandleText(hwnd) + buf + "class=" + Quote(ClassOf(hwnd)) + " title=" + Quote(TextOf(hwnd));
}

int CmdList(const std::vector<std::wstring>& args) {
  for (HWND hwnd : TopLevelWindows()) {
    if (!args.empty() && ClassOf(hwnd) != args[0]) continue;
    Line(Describe(hwnd));
  }
  return kOk;
}

int CmdFind(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  HWND hwnd = FindTopLevel(args[0], args.size() > 1 ? args[1].c_str() : nullptr);
  if (!hwnd) return kNotFound;
  Line(Describe(hwnd));
  return kOk;
}

int CmdWait(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kUsage;
  const std::wstring& state = args[1];
  if (state != L"exists" && state != L"gone" && state != L"visible" && state != L"hidden") return kUsage;
  DWORD timeout = 10000;
  if (args.size() > 2) {
    auto ms = ParseNumber(args[2]);
    if (!ms || *ms < 0) return kUsage;
    timeout = static_cast<DWORD>(*ms);
  }
  const wchar_t* title = args.size() > 3 ? args[3].c_str() : nullptr;
  // A deadline on the 64-bit tick count: a difference of 32-bit ticks turns huge, and the
  // wait ends at once, if the count ever reads lower than at the start.
  const ULONGLONG deadline = GetTickCount64() + timeout;
  for (;;) {
    HWND hwnd = FindTopLevel(args[0], title);
    bool done = (state == L"exists" && hwnd) || (state == L"gone" && !hwnd) ||
                (state == L"visible" && hwnd && IsWindowVisible(hwnd)) ||
                (state == L"hidden" && hwnd && !IsWindowVisible(hwnd));
    if (done) {
      if (hwnd) Line(Describe(hwnd));
      return kOk;
    }
    if (GetTickCount64() >= deadline) return kNotFound;
    Sleep(50);
  }
}

struct MessageArgs {
  HWND Target;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

std::optional<MessageArgs> ParseMessageArgs(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return std::nullopt;
  MessageArgs m{ResolveTarget(args[0]), 0, 0, 0};
  auto msg = ParseMessage(args[1]);
  if (!msg) return std::nullopt;
  m.Msg = *msg;
  if (args.size() > 2) {
    auto w = ParseNumber(args[2]);
    if (!w) return std::nullopt;
    m.WParam = static_cast<WPARAM>(*w);
  }
  if (args.size() > 3) {
    auto l = ParseNumber(args[3]);
    if (!l) return std::nullopt;
    m.LParam = static_cast<LPARAM>(*l);
  }
  return m;
}

int CmdPost(const std::vector<std::wstring>& args) {
  auto m = ParseMessageArgs(args);
  if (!m) return kUsage;
  if (!m->Target) {
    Error("no window " + Narrow(args[0]));
    return kNotFound;
  }
  return PostMessageW(m->Target, m->Msg, m->WParam, m->LParam) ? kOk : kFailed;
}

int CmdSend(const std::vector<std::wstring>& args) {
  auto m = ParseMessageArgs(args);
  if (!m) return kUsage;
  if (!m->Target) {
    Error("no window " + Narrow(args[0]));
    return kNotFound;
  }
  DWORD timeout = 5000;
  if (args.size() > 4) {
    auto ms = ParseNumber(args[4]);
    if (!ms || *ms < 0) return kUsage;
    timeout = static_cast<DWORD>(*ms);
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(m->Target, m->Msg, m->WParam, m->LParam, SMTO_ABORTIFHUNG, timeout, &result)) {
    Error("no answer from " + Narrow(args[0]));
    return kFailed;
  }
  Line(std::to_string(static_cast<long long>(result)));
  return kOk;
}

bool IsDialog(HWND hwnd) { return ClassOf(hwnd) == L"#32770"; }

int CmdMsgBoxes(const std::vector<std::wstring>&) {
  for (HWND dialog : TopLevelWindows()) {
    if (!IsDialog(dialog) || !IsWindowVisible(dialog)) continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(dialog, &pid);
    Line("dialog " + HandleText(dialog) + " pid=" + std::to_string(pid) + " title=" + Quote(TextOf(dialog)));
    for (HWND child : ChildWindows(dialog)) {
      std::wstring cls = ClassOf(child);
      int id = GetDlgCtrlID(child);
      if (_wcsicmp(cls.c_str(), L"Button") == 0)
        Line("  button " + std::to_string(id) + " " + Quote(TextOf(child)));
      else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        std::wstring text = TextOf(child);
        if (!text.empty()) Line("  text " + Quote(text));
      }
    }
  }
  return kOk;
}

// "确定", "&Yes" and "是(&Y)" all match their plain words.
std::wstring PlainButtonText(std::wstring text) {
  size_t paren = text.find(L"(&");
  if (paren != std::wstring::npos) text.erase(paren);
  std::wstring out;
  for (wchar_t c : text)
    if (c != L'&') out += c;
  return out;
}

int CmdPress(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  auto id = ParseNumber(args[0]);
  const wchar_t* title = args.size() > 1 ? args[1].c_str() : nullptr;
  for (HWND dialog : TopLevelWindows()) {
    if (!IsDialog(dialog) || !IsWindowVisible(dialog)) continue;
    if (title && TextOf(dialog) != title) continue;
    for (HWND child : ChildWindows(dialog)) {
      if (_wcsicmp(ClassOf(child).c_str(), L"Button") != 0) continue;
      int childId = GetDlgCtrlID(child);
      if (id ? childId == *id : PlainButtonText(TextOf(child)) == PlainButtonText(args[0])) {
        // What a click on the button sends its dialog; posted, as the dialog runs modal.
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(childId, BN_CLICKED), reinterpret_cast<LPARAM>(child));
        Line("pressed " + std::to_string(childId) + " " + Quote(TextOf(child)));
        return kOk;
      }
    }
  }
  Error("no dialog button " + Narrow(args[0]));
  return kNotFound;
}

// A child control of a window: "#ID", or its text compared like a button's.
HWND FindChild(HWND parent, const std::wstring& which) {
  std::optional<long long> id;
  if (!which.empty() && which[0] == L'#') id = ParseNumber(which.substr(1));
  for (HWND child : ChildWindows(parent)) {
    if (id ? GetDlgCtrlID(child) == *id : PlainButtonText(TextOf(child)) == PlainButtonText(which)) return child;
  }
  return nullptr;
}

int CmdChildren(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  HWND parent = ResolveTarget(args[0]);
  if (!parent) {
    Error("no window " + Narrow(args[0]));
    return kNotFound;
  }
  for (HWND child : ChildWindows(parent)) {
    RECT r{};
    GetWindowRect(child, &r);
    LRESULT checked = SendMessageW(child, BM_GETCHECK, 0, 0);
    char buf[200];
    std::snprintf(buf, sizeof(buf), " id=%d visible=%d enabled=%d checked=%d rect=%ld,%ld,%ld,%ld ", GetDlgCtrlID(child),
                  IsWindowVisible(child) ? 1 : 0, IsWindowEnabled(child) ? 1 : 0,
                  _wcsicmp(ClassOf(child).c_str(), L"Button") == 0 && checked == BST_CHECKED ? 1 : 0, r.left, r.top,
                  r.right, r.bottom);
    Line(HandleText(child) + buf + "class=" + Quote(ClassOf(child)) + " text=" + Quote(TextOf(child)));
  }
  return kOk;
}

// The rows of a list view in another process: the item text and rectangle are read
// through a buffer allocated in that process, as the list view writes only there.
// A tree view's selected item: its screen rect, whether all of it lies in the tree's
// client area, and its text.
int TreeSelection(HWND tree, HANDLE process) {
  struct Remote {
    TVITEMW Item;
    RECT Rect;
    wchar_t Text[512];
  };
  auto* remote =
      static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return kFailed;
  int result = kNotFound;
  auto selected = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  Remote local{};
  local.Item.mask = TVIF_TEXT;
  local.Item.hItem = selected;
  local.Item.pszText = remote->Text;
  local.Item.cchTextMax = 512;
  std::memcpy(&local.Rect, &selected, sizeof(selected));  // TVM_GETITEMRECT takes the item in the rect
  SIZE_T done = 0;
  if (selected && WriteProcessMemory(process, remote, &local, sizeof(local), &done)) {
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&remote->Item));
    const bool shown = SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&remote->Rect)) != 0;
    if (ReadProcessMemory(process, remote, &local, sizeof(local), &done)) {
      local.Text[511] = L'\0';
      RECT client{};
      GetClientRect(tree, &client);
      const bool inside = shown && local.Rect.top >= client.top && local.Rect.bottom <= client.bottom;
      MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&local.Rect), 2);
      char buf[120];
      std::snprintf(buf, sizeof(buf), "selected visible=%d rect=%ld,%ld,%ld,%ld ", inside ? 1 : 0, local.Rect.left,
                    local.Rect.top, local.Rect.right, local.Rect.bottom);
      Line(buf + std::string("text=") + Quote(local.Text));
      result = kOk;
    }
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return result;
}

int CmdItems(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  HWND list = ResolveTarget(args[0]);
  DWORD pid = 0;
  if (!list || !GetWindowThreadProcessId(list, &pid)) {
    Error("no window " + Narrow(args[0]));
    return kNotFound;
  }
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return kFailed;
  wchar_t cls[64] = L"";
  GetClassNameW(list, cls, 64);
  if (lstrcmpW(cls, WC_TREEVIEWW) == 0) {
    const int result = TreeSelection(list, process);
    CloseHandle(process);
    return result;
  }
  struct Remote {
    LVITEMW Item;
    RECT Rect;
    wchar_t Text[512];
  };
  auto* remote =
      static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  int result = remote ? kOk : kFailed;
  const int count = remote ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = 0; i < count; ++i) {
    Remote local{};
    local.Item.iSubItem = 0;
    local.Item.pszText = remote->Text;
    local.Item.cchTextMax = 512;
    local.Rect.left = LVIR_BOUNDS;
    SIZE_T done = 0;
    if (!WriteProcessMemory(process, remote, &local, sizeof(local), &done)) {
      result = kFailed;
      break;
    }
    SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&remote->Item));
    SendMessageW(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&remote->Rect));
    const bool selected = SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED;
    if (!ReadProcessMemory(process, remote, &local, sizeof(local), &done)) {
      result = kFailed;
      break;
    }
    local.Text[511] = L'\0';
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&local.Rect), 2);
    char buf[120];
    std::snprintf(buf, sizeof(buf), "%d selected=%d rect=%ld,%ld,%ld,%ld ", i, selected ? 1 : 0, local.Rect.left,
                  local.Rect.top, local.Rect.right, local.Rect.bottom);
    std::string line = buf + std::string("text=") + Quote(local.Text);
    // The other columns of a report view: col1="..." col2="..."
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    for (int c = 1; c < columns; ++c) {
      local.Item.iSubItem = c;
      local.Item.pszText = remote->Text;
      local.Item.cchTextMax = 512;
      if (!WriteProcessMemory(process, remote, &local, sizeof(local), &done)) break;
      SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&remote->Item));
      if (!ReadProcessMemory(process, remote, &local, sizeof(local), &done)) break;
      local.Text[511] = L'\0';
      line += " col" + std::to_string(c) + "=" + Quote(local.Text);
    }
    const UINT check = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
    if (check) line += std::string(" checked=") + ((check >> 12) == 2 ? "1" : "0");
    Line(line);
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return result;
}

// The hint of a child control: the text of the tool for that control in any tooltip
// window of its process, read through a buffer allocated in that process.
int CmdHint(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kUsage;
  HWND parent = ResolveTarget(args[0]);
  HWND child = parent ? FindChild(parent, args[1]) : nullptr;
  DWORD pid = 0;
  if (!child || !GetWindowThreadProcessId(child, &pid)) {
    Error("no control " + Narrow(args[1]) + " in " + Narrow(args[0]));
    return kNotFound;
  }
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return kFailed;
  struct Remote {
    TTTOOLINFOW Info;
    wchar_t Text[1024];
  };
  auto* remote =
      static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  int result = kNotFound;
  for (HWND tip : TopLevelWindows()) {
    DWORD tipPid = 0;
    if (!remote || result == kOk || _wcsicmp(ClassOf(tip).c_str(), L"tooltips_class32") != 0 ||
        !GetWindowThreadProcessId(tip, &tipPid) || tipPid != pid)
      continue;
    const int count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count && result != kOk; ++i) {
      Remote local{};
      local.Info.cbSize = sizeof(local.Info);
      local.Info.lpszText = remote->Text;
      SIZE_T done = 0;
      if (!WriteProcessMemory(process, remote, &local, sizeof(local), &done) ||
          !SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&remote->Info)) ||
          !ReadProcessMemory(process, remote, &local, sizeof(local), &done))
        continue;
      local.Text[1023] = L'\0';
      if ((local.Info.uFlags & TTF_IDISHWND) && reinterpret_cast<HWND>(local.Info.uId) == child) {
        Line(Narrow(local.Text));
        result = kOk;
      }
    }
  }
  if (result != kOk) Error("no hint for " + Narrow(args[1]));
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return result;
}

// Clicks a child control of any window (not only dialogs): BM_CLICK, posted, so that a
// modal loop the click starts does not block the tool.
int CmdClick(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kUsage;
  HWND parent = ResolveTarget(args[0]);
  HWND child = parent ? FindChild(parent, args[1]) : nullptr;
  if (!child) {
    Error("no control " + Narrow(args[1]) + " in " + Narrow(args[0]));
    return kNotFound;
  }
  PostMessageW(child, BM_CLICK, 0, 0);
  Line("clicked " + std::to_string(GetDlgCtrlID(child)) + " " + Quote(TextOf(child)));
  return kOk;
}

// Sets a child control's text, as typing would end up.
int CmdSetText(const std::vector<std::wstring>& args) {
  if (args.size() < 3) return kUsage;
  HWND parent = ResolveTarget(args[0]);
  HWND child = parent && args[1] == L"." ? parent : parent ? FindChild(parent, args[1]) : nullptr;
  if (!child) {
    Error("no control " + Narrow(args[1]) + " in " + Narrow(args[0]));
    return kNotFound;
  }
  SendMessageW(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str()));
  return kOk;
}

// Selects item INDEX of a combo box and tells its parent, as a choice by the user does.
int CmdSelect(const std::vector<std::wstring>& args) {
  if (args.size() < 3) return kUsage;
  HWND parent = ResolveTarget(args[0]);
  HWND child = parent ? FindChild(parent, args[1]) : nullptr;
  auto index = ParseNumber(args[2]);
  if (!child || !index) {
    Error("no combo box " + Narrow(args[1]) + " in " + Narrow(args[0]));
    return kNotFound;
  }
  SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(*index), 0);
  PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(child));
  return kOk;
}

int CmdDesktop(const std::vector<std::wstring>&) {
  RECT r{};
  GetWindowRect(GetDesktopWindow(), &r);
  Line(std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " + std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  Line("desktop " + HandleText(GetDesktopWindow()) + " class=" + Quote(ClassOf(GetDesktopWindow())) + " rect=" +
       std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
       std::to_string(r.bottom));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Line("workarea " + std::to_string(work.left) + " " + std::to_string(work.top) + " " + std::to_string(work.right) +
       " " + std::to_string(work.bottom));
  return kOk;
}

int CmdCursor(const std::vector<std::wstring>& args) {
  // With X and Y the cursor is moved there first (the position posted messages carry).
  if (args.size() == 2 && !SetCursorPos(_wtoi(args[0].c_str()), _wtoi(args[1].c_str()))) return kFailed;
  POINT p{};
  if (!GetCursorPos(&p)) return kFailed;
  Line(std::to_string(p.x) + " " + std::to_string(p.y));
  return kOk;
}

bool OpenKey(const std::wstring& path, HKEY* key) {
  struct Root {
    const wchar_t* Name;
    HKEY Key;
  };
  static const Root kRoots[] = {{L"HKCU", HKEY_CURRENT_USER},        {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                {L"HKLM", HKEY_LOCAL_MACHINE},       {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                                {L"HKU", HKEY_USERS},                {L"HKEY_USERS", HKEY_USERS},
                                {L"HKCR", HKEY_CLASSES_ROOT},        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT}};
  size_t slash = path.find(L'\\');
  std::wstring rootName = path.substr(0, slash);
  std::wstring sub = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
  for (const auto& root : kRoots) {
    if (_wcsicmp(rootName.c_str(), root.Name) == 0)
      return RegOpenKeyExW(root.Key, sub.c_str(), 0, KEY_READ, key) == ERROR_SUCCESS;
  }
  return false;
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_DWORD: return "REG_DWORD";
    case REG_QWORD: return "REG_QWORD";
    case REG_BINARY: return "REG_BINARY";
    case REG_NONE: return "REG_NONE";
    default: return "REG_OTHER";
  }
}

// Strings as text, numbers as signed decimals, everything else as hex bytes.
std::string FormatValue(DWORD type, const std::vector<BYTE>& data) {
  auto text = [&](size_t bytes) {
    std::wstring w(reinterpret_cast<const wchar_t*>(data.data()), bytes / sizeof(wchar_t));
    return w;
  };
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring w = text(data.size());
      while (!w.empty() && w.back() == L'\0') w.pop_back();
      return Narrow(w);
    }
    case REG_MULTI_SZ: {
      std::wstring w = text(data.size());
      while (!w.empty() && w.back() == L'\0') w.pop_back();
      for (auto& c : w)
        if (c == L'\0') c = L'\n';
      return Narrow(w);
    }
    case REG_DWORD:
      if (data.size() == 4) {
        int32_t v;
        std::memcpy(&v, data.data(), 4);
        return std::to_string(v);
      }
      break;
    case REG_QWORD:
      if (data.size() == 8) {
        int64_t v;
        std::memcpy(&v, data.data(), 8);
        return std::to_string(v);
      }
      break;
  }
  std::string hex;
  char buf[4];
  for (BYTE b : data) {
    std::snprintf(buf, sizeof(buf), "%02x", b);
    hex += buf;
  }
  return hex;
}

int CmdReg(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kUsage;
  HKEY key = nullptr;
  if (!OpenKey(args[1], &key)) return kNotFound;
  int result = kOk;
  if (args[0] == L"get" && args.size() == 3) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, args[2].c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      result = kNotFound;
    } else {
      std::vector<BYTE> data(size);
      RegQueryValueExW(key, args[2].c_str(), nullptr, &type, data.data(), &size);
      data.resize(size);
      Line(FormatValue(type, data));
    }
  } else if (args[0] == L"list") {
    for (DWORD i = 0;; ++i) {
      wchar_t name[16384];
      DWORD nameLen = 16384, type = 0, size = 0;
      if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
      std::vector<BYTE> data(size);
      nameLen = 16384;
      RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data.data(), &size);
      data.resize(size);
      std::string value = FormatValue(type, data);
      for (auto& c : value)
        if (c == '\n') c = '|';
      Line(Narrow(name) + "\t" + TypeName(type) + "\t" + value);
    }
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameLen = 256;
      if (RegEnumKeyExW(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      std::string line = "[";
      line += Narrow(name);
      line += ']';
      Line(line);
    }
  } else {
    result = kUsage;
  }
  RegCloseKey(key);
  return result;
}

int CmdFolder(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  wchar_t path[MAX_PATH] = {};
  if (args[0] == L"temp") {
    if (!GetTempPathW(MAX_PATH, path)) return kFailed;
    Line(Narrow(path));
    return kOk;
  }
  struct Named {
    const wchar_t* Name;
    int Csidl;
  };
  static const Named kFolders[] = {{L"appdata", CSIDL_APPDATA},        {L"localappdata", CSIDL_LOCAL_APPDATA},
                                   {L"pictures", CSIDL_MYPICTURES},    {L"documents", CSIDL_PERSONAL},
                                   {L"startup", CSIDL_STARTUP},        {L"programfiles", CSIDL_PROGRAM_FILES},
                                   {L"windows", CSIDL_WINDOWS},        {L"desktop", CSIDL_DESKTOPDIRECTORY}};
  for (const auto& f : kFolders) {
    if (args[0] == f.Name) {
      if (FAILED(SHGetFolderPathW(nullptr, f.Csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return kFailed;
      Line(Narrow(path));
      return kOk;
    }
  }
  return kUsage;
}

COLORREF gWindowColor = RGB(192, 48, 48);

LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      HBRUSH brush = CreateSolidBrush(gWindowColor);
      FillRect(dc, &rc, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int CmdWindow(const std::vector<std::wstring>& args) {
  if (args.size() < 5) return kUsage;
  auto x = ParseNumber(args[1]), y = ParseNumber(args[2]), w = ParseNumber(args[3]), h = ParseNumber(args[4]);
  if (!x || !y || !w || !h) return kUsage;
  if (args.size() > 5) {
    auto rgb = ParseNumber(L"0x" + args[5]);
    if (!rgb) return kUsage;
    gWindowColor = RGB((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF, *rgb & 0xFF);
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"OvToolWindow";
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, L"OvToolWindow", args[0].c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              static_cast<int>(*x), static_cast<int>(*y), static_cast<int>(*w), static_cast<int>(*h),
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return kFailed;
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return kOk;
}

// A message box like the program's own, for testing the harness's dialog commands.
int CmdMsgBox(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return kUsage;
  int pressed = MessageBoxW(nullptr, args[1].c_str(), args[0].c_str(), MB_OK | MB_ICONINFORMATION);
  Line(std::to_string(pressed));
  return pressed ? kOk : kFailed;
}

// A shell link's target, working folder and arguments, one per line.
int CmdLink(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto info = ov::ReadShortcut(args[0]);
  if (!info) return kNotFound;
  Line("target " + Narrow(info->target.wstring()));
  Line("folder " + Narrow(info->workingFolder.wstring()));
  Line("arguments \"" + info->arguments + "\"");
  return kOk;
}

// A process's GDI objects, stock objects not counted. GetGuiResources where it works;
// Wine's answers 0, so there the process's GDI handle table is read instead: the PEB
// points to it (as on Windows), 65536 entries of 24 bytes, a used entry having a type in
// byte 14, a stock object the top bit of byte 12. Returns the count and its source.
std::pair<long, const char*> GdiObjects(HANDLE process) {
  if (DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return {static_cast<long>(n), "guiresources"};
  struct BasicInformation {
    LONG_PTR exitStatus;
    void* pebBaseAddress;
    ULONG_PTR affinityMask, basePriority, uniqueProcessId, parentProcessId;
  } info{};
  using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(process, 0, &info, sizeof(info), nullptr) != 0 || !info.pebBaseAddress) return {-1, "none"};
  constexpr size_t kTableOffset = 0xF8, kEntries = 0x10000, kEntrySize = 24;
  void* table = nullptr;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(info.pebBaseAddress) + kTableOffset, &table, sizeof(table),
                         &read) ||
      !table)
    return {-1, "none"};
  std::vector<unsigned char> entries(kEntries * kEntrySize);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &read)) return {-1, "none"};
  long count = 0;
  for (size_t i = 0; i < kEntries; ++i) {
    const unsigned char* e = &entries[i * kEntrySize];
    if (e[14] != 0 && (e[12] & 0x80) == 0) ++count;
  }
  return {count, "handletable"};
}

// A process's USER objects: GetGuiResources where it works, else (Wine) its windows,
// top-level, message-only and child.
std::pair<long, const char*> UserObjects(HANDLE process, DWORD pid) {
  if (DWORD n = GetGuiResources(process, GR_USEROBJECTS)) return {static_cast<long>(n), "guiresources"};
  std::vector<HWND> tops = TopLevelWindows();
  for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) tops.push_back(w);
  long count = 0;
  for (HWND top : tops) {
    DWORD owner = 0;
    GetWindowThreadProcessId(top, &owner);
    if (owner != pid) continue;
    count += 1 + static_cast<long>(ChildWindows(top).size());
  }
  return {count, "windows"};
}

// A process's CPU time (user, kernel, in milliseconds), memory (private bytes, working
// set and their peaks, in bytes) and GDI and USER objects (each with its source), one
// "name value" per line. The process is given by its
// id or by one of its top-level windows.
int CmdProcStats(const std::vector<std::wstring>& args) {
  if (args.empty()) return kUsage;
  DWORD pid = 0;
  if (HWND hwnd = ResolveTarget(args[0])) {
    GetWindowThreadProcessId(hwnd, &pid);
  } else if (auto n = ParseNumber(args[0]); n && args[0].rfind(L"0x", 0) != 0) {
    pid = static_cast<DWORD>(*n);
  }
  if (!pid) return kNotFound;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return kNotFound;
  FILETIME created, exited, kernel, user;
  const auto gdi = GdiObjects(process);
  const auto userObjects = UserObjects(process, pid);
  PROCESS_MEMORY_COUNTERS_EX mem{};
  mem.cb = sizeof(mem);
  const bool times = GetProcessTimes(process, &created, &exited, &kernel, &user);
  const bool memory = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof(mem));
  CloseHandle(process);
  if (!times || !memory) return kFailed;
  auto ms = [](const FILETIME& t) {  // 100 ns units
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
  };
  Line("pid " + std::to_string(pid));
  Line("user_ms " + std::to_string(ms(user)));
  Line("kernel_ms " + std::to_string(ms(kernel)));
  Line("private_bytes " + std::to_string(mem.PrivateUsage));
  Line("peak_private_bytes " + std::to_string(mem.PeakPagefileUsage));
  Line("working_set " + std::to_string(mem.WorkingSetSize));
  Line("peak_working_set " + std::to_string(mem.PeakWorkingSetSize));
  Line("gdi_objects " + std::to_string(gdi.first) + " " + gdi.second);
  Line("user_objects " + std::to_string(userObjects.first) + " " + userObjects.second);
  return kOk;
}

// How long a window's thread keeps messages waiting: WM_NULL is sent again and again and
// each answer timed; the longest, the 99th percentile and the count are printed.
int CmdPing(const std::vector<std::wstring>& args) {
  if (args.size() != 2) return kUsage;
  HWND target = ResolveTarget(args[0]);
  if (!target) return kNotFound;
  const double duration = _wtof(args[1].c_str());
  LARGE_INTEGER freq, start, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  std::vector<double> waits;
  double maxWait = 0, maxAt = 0;  // the longest wait and when it began
  std::string slow;               // the waits over 50 ms, when they began: " at_ms:wait_ms"
  auto ms = [&freq](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
  };
  for (;;) {
    QueryPerformanceCounter(&t0);
    if (ms(start, t0) >= duration) break;
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &r)) return kFailed;
    QueryPerformanceCounter(&t1);
    waits.push_back(ms(t0, t1));
    if (waits.back() > 50) {
      slow += " " + std::to_string(static_cast<int>(ms(start, t0))) + ":";
      slow += std::to_string(static_cast<int>(waits.back()));
    }
    if (waits.back() > maxWait) {
      maxWait = waits.back();
      maxAt = ms(start, t0);
    }
    Sleep(10);
  }
  if (waits.empty()) return kFailed;
  std::vector<double> sorted = waits;
  std::sort(sorted.begin(), sorted.end());
  char buf[200];
  std::snprintf(buf, sizeof(buf), "pings %zu max_ms %.1f (at %.0f ms) p99_ms %.1f median_ms %.2f", sorted.size(),
                sorted.back(), maxAt, sorted[sorted.size() * 99 / 100], sorted[sorted.size() / 2]);
  Line(buf);
  if (!slow.empty()) Line("slow" + slow);
  return kOk;
}

// Installs a desktop wallpaper the way display settings and picture viewers do.
int CmdWallpaper(const std::vector<std::wstring>& args) {
  if (args.size() != 1) return kUsage;
  std::wstring path = args[0];
  if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
    return kFailed;
  return kOk;
}

// Coordinates in physical pixels, like the program under test.
void UsePhysicalPixels() {
  using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto set = user32 ? reinterpret_cast<SetContextFn>(
                          reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                    : nullptr;
  if (set) set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

int RunCommand(const std::wstring& command, const std::vector<std::wstring>& args) {
  struct Command {
    const wchar_t* Name;
    int (*Run)(const std::vector<std::wstring>&);
  };
  static const Command kCommands[] = {
      {L"list", CmdList},       {L"find", CmdFind},     {L"wait", CmdWait},         {L"post", CmdPost},
      {L"send", CmdSend},       {L"msgboxes", CmdMsgBoxes}, {L"press", CmdPress},   {L"desktop", CmdDesktop},
      {L"cursor", CmdCursor},   {L"reg", CmdReg},       {L"folder", CmdFolder},     {L"window", CmdWindow},
      {L"msgbox", CmdMsgBox},   {L"children", CmdChildren}, {L"click", CmdClick},   {L"settext", CmdSetText},
      {L"select", CmdSelect},   {L"items", CmdItems},     {L"link", CmdLink},       {L"wallpaper", CmdWallpaper},
      {L"procstats", CmdProcStats}, {L"ping", CmdPing}, {L"hint", CmdHint},
  };
  for (const auto& c : kCommands) {
    if (command == c.Name) {
      int result = c.Run(args);
      if (result == kUsage) Error("bad arguments for " + Narrow(command));
      return result;
    }
  }
  Error("unknown command " + Narrow(command));
  return kUsage;
}

// Runs commands read from stdin, one per line, its words separated by tabs (UTF-8),
// so that a scenario's many short queries do not each start a Wine process. After each
// command's output comes a line "\x1e<ID> <EXIT CODE>", where ID is the request's first
// word; its error lines are marked with a leading \x1f. Ends at the end of the input.
int Serve() {
  gServing = true;
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buf[4096];
  for (;;) {
    size_t nl;
    while ((nl = pending.find('\n')) == std::string::npos) {
      DWORD got = 0;
      if (!ReadFile(in, buf, sizeof(buf), &got, nullptr) || got == 0) return kOk;
      pending.append(buf, got);
    }
    std::string request = pending.substr(0, nl);
    pending.erase(0, nl + 1);
    if (!request.empty() && request.back() == '\r') request.pop_back();
    std::vector<std::wstring> words;
    for (size_t from = 0;;) {
      const size_t tab = request.find('\t', from);
      words.push_back(Widen(request.substr(from, tab == std::string::npos ? std::string::npos : tab - from)));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    if (words.size() < 2) continue;
    gLineOpen = false;
    const int result = RunCommand(words[1], std::vector<std::wstring>(words.begin() + 2, words.end()));
    Out(std::string(gLineOpen ? "\n" : "") + "\x1e" + Narrow(words[0]) + " " + std::to_string(result) + "\n");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  UsePhysicalPixels();
  if (argc < 2) {
    Error("usage: ovtool list|find|wait|post|send|msgboxes|press|children|click|settext|select|desktop|cursor|reg|"
          "items|folder|window|msgbox|link|wallpaper|procstats|ping|serve ...");
    return kUsage;
  }
  const std::wstring command = argv[1];
  if (command == L"serve") return Serve();
  return RunCommand(command, std::vector<std::wstring>(argv + 2, argv + argc));
}
