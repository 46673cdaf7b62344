// The whole-program test driver. See driver.h.
#include "driver/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/text.h"
#include "support/waits.h"

namespace {

// A message to a window of another process that gives up after kDriverSendTimeoutMs, so
// a hung or busy program fails the call instead of stopping the driver.
bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &r)) {
    return false;
  }
  if (result) *result = r;
  return true;
}

// The title stored with a window, read without sending it a message: looking at windows
// must not depend on their programs answering.
std::wstring StoredTitle(HWND w) {
  wchar_t buf[512];
  int n = InternalGetWindowText(w, buf, static_cast<int>(sizeof(buf) / sizeof(buf[0])));
  return std::wstring(buf, n > 0 ? n : 0);
}

std::wstring ClassOf(HWND w) {
  wchar_t buf[256];
  int n = GetClassNameW(w, buf, static_cast<int>(sizeof(buf) / sizeof(buf[0])));
  return std::wstring(buf, n > 0 ? n : 0);
}

enum class TitleMatch { Exact, Prefix };

struct TopSearch {
  std::wstring title;
  TitleMatch match = TitleMatch::Exact;
  const std::wstring* cls = nullptr;  // null: any class
  DWORD pid = 0;                      // 0: any process
  HWND found = nullptr;
};

BOOL CALLBACK TopProc(HWND w, LPARAM lp) {
  TopSearch* s = reinterpret_cast<TopSearch*>(lp);
  if (s->pid) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->pid) return TRUE;
  }
  // A program usually creates its window hidden, fills it and then shows it; only a shown
  // window is complete, and only a shown window can be worked by a person.
  if (!IsWindowVisible(w)) return TRUE;
  if (s->cls && lstrcmpiW(ClassOf(w).c_str(), s->cls->c_str()) != 0) return TRUE;
  std::wstring t = StoredTitle(w);
  bool hit = s->match == TitleMatch::Exact ? t == s->title : t.compare(0, s->title.size(), s->title) == 0;
  if (!hit) return TRUE;
  s->found = w;
  return FALSE;
}

HWND WaitTop(TopSearch s, DWORD timeoutMs) {
  DriverPoll(
      [&] {
        s.found = nullptr;
        EnumWindows(TopProc, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
      },
      timeoutMs);
  return s.found;
}

struct ChildSearch {
  int id = 0;
  bool byId = false;
  const std::wstring* cls = nullptr;
  const std::wstring* text = nullptr;
  HWND found = nullptr;
};

// EnumChildWindows walks every descendant, so nested controls are found too.
BOOL CALLBACK ChildProc(HWND w, LPARAM lp) {
  ChildSearch* s = reinterpret_cast<ChildSearch*>(lp);
  if (s->byId && GetDlgCtrlID(w) != s->id) return TRUE;
  if (s->cls && lstrcmpiW(ClassOf(w).c_str(), s->cls->c_str()) != 0) return TRUE;
  if (s->text && StoredTitle(w) != *s->text) return TRUE;
  s->found = w;
  return FALSE;
}

// The parent hears about a control's change through WM_COMMAND, as from the control itself.
bool NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return false;
  WPARAM wp = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code);
  return Send(parent, WM_COMMAND, wp, reinterpret_cast<LPARAM>(control), nullptr);
}

// A block of memory in the process of window `w`, for common-control messages: they pass
// their pointers unchanged, so the record they fill and its text buffer must live there.
// The text buffer follows the record at offset kRecordBytes.
struct Remote {
  HANDLE process = nullptr;
  char* base = nullptr;
};
constexpr SIZE_T kRecordBytes = 256;
constexpr int kRemoteChars = 1024;

bool RemoteOpen(HWND w, Remote* r) {
  *r = Remote();
  DWORD pid = 0;
  if (!w || !IsWindow(w) || !GetWindowThreadProcessId(w, &pid)) return false;
  r->process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (!r->process) return false;
  r->base = static_cast<char*>(VirtualAllocEx(r->process, nullptr, kRecordBytes + kRemoteChars * sizeof(wchar_t),
                                              MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (r->base) return true;
  CloseHandle(r->process);
  *r = Remote();
  return false;
}

void RemoteClose(Remote* r) {
  if (r->base) VirtualFreeEx(r->process, r->base, 0, MEM_RELEASE);
  if (r->process) CloseHandle(r->process);
  *r = Remote();
}

wchar_t* RemoteText(const Remote& r) { return reinterpret_cast<wchar_t*>(r.base + kRecordBytes); }

bool RemotePut(const Remote& r, const void* record, SIZE_T size) {
  SIZE_T moved = 0;
  if (size > kRecordBytes || !WriteProcessMemory(r.process, r.base, record, size, &moved) || moved != size) {
    return false;
  }
  // The text buffer is cleared, so a message that writes no text reads as "".
  std::vector<wchar_t> zero(kRemoteChars, L'\0');
  return WriteProcessMemory(r.process, RemoteText(r), zero.data(), kRemoteChars * sizeof(wchar_t), &moved) != FALSE;
}

bool RemoteGet(const Remote& r, void* record, SIZE_T size, std::string* text) {
  SIZE_T moved = 0;
  if (size > kRecordBytes || !ReadProcessMemory(r.process, r.base, record, size, &moved) || moved != size) {
    return false;
  }
  if (!text) return true;
  std::vector<wchar_t> buf(kRemoteChars, L'\0');
  if (!ReadProcessMemory(r.process, RemoteText(r), buf.data(), kRemoteChars * sizeof(wchar_t), &moved)) {
    return false;
  }
  buf.back() = L'\0';
  *text = WideToUtf8(buf.data());
  return true;
}

// Sends `msg` with lParam pointing at a copy of `record` in the other process and reads
// the record back after. `aim(record, buffer, chars)` may point the record at the text
// buffer there; with `text` not null, that buffer's text is read back too.
template <typename Record, typename Aim>
bool SendRecord(HWND w, UINT msg, WPARAM wp, Record* record, Aim aim, std::string* text, LRESULT* answer) {
  Remote r;
  if (!RemoteOpen(w, &r)) return false;
  aim(record, RemoteText(r), kRemoteChars);
  DWORD_PTR got = 0;
  bool ok = RemotePut(r, record, sizeof(Record)) && Send(w, msg, wp, reinterpret_cast<LPARAM>(r.base), &got) &&
            RemoteGet(r, record, sizeof(Record), text);
  RemoteClose(&r);
  if (ok && answer) *answer = static_cast<LRESULT>(got);
  return ok;
}

template <typename Record>
void NoText(Record*, wchar_t*, int) {}

// For the records that take their text buffer as pszText and cchTextMax.
template <typename Record>
void AimText(Record* record, wchar_t* buffer, int chars) {
  record->pszText = buffer;
  record->cchTextMax = chars;
}

}  // namespace

bool DriverPoll(const std::function<bool()>& done, DWORD timeoutMs, HWND watched, DWORD pollMs) {
  bool gone = false;
  bool held = WaitFor(
      [&] {
        if (done()) return true;
        gone = watched && !IsWindow(watched);
        return gone;
      },
      timeoutMs, pollMs);
  return held && !gone;
}

bool DriverStart(const std::string& path, const std::string& args, const std::string& folder, DriverProcess* out) {
  *out = DriverProcess();
  std::wstring wpath = Utf8ToWide(path);
  wchar_t full[MAX_PATH * 2];
  DWORD n = GetFullPathNameW(wpath.c_str(), MAX_PATH * 2, full, nullptr);
  if (n == 0 || n >= MAX_PATH * 2) return false;
  std::wstring cmd = L"\"" + std::wstring(full) + L"\"";
  if (!args.empty()) cmd += L" " + Utf8ToWide(args);
  std::vector<wchar_t> cmdBuf(cmd.begin(), cmd.end());
  cmdBuf.push_back(L'\0');
  std::wstring wfolder = Utf8ToWide(folder);
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  // No handles are inherited: a program holding the test's output pipes would keep the
  // test runner waiting after the test has ended.
  if (!CreateProcessW(full, cmdBuf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : wfolder.c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  out->handle = pi.hProcess;
  out->id = pi.dwProcessId;
  return true;
}

bool DriverWaitExit(const DriverProcess& p, DWORD timeoutMs, DWORD* exitCode) {
  if (!p.handle) return false;
  if (WaitForSingleObject(p.handle, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  if (!GetExitCodeProcess(p.handle, &code)) return false;
  if (exitCode) *exitCode = code;
  return true;
}

bool DriverRunning(const DriverProcess& p) { return p.handle && WaitForSingleObject(p.handle, 0) == WAIT_TIMEOUT; }

bool DriverKill(const DriverProcess& p, UINT code) {
  if (!p.handle) return false;
  if (!DriverRunning(p)) return true;
  if (!TerminateProcess(p.handle, code)) return false;
  return WaitForSingleObject(p.handle, kDriverSendTimeoutMs) == WAIT_OBJECT_0;
}

void DriverRelease(DriverProcess* p) {
  if (p->handle) CloseHandle(p->handle);
  *p = DriverProcess();
}

HWND DriverWaitWindow(const std::string& title, DWORD pid, DWORD timeoutMs) {
  TopSearch s;
  s.title = Utf8ToWide(title);
  s.pid = pid;
  return WaitTop(s, timeoutMs);
}

HWND DriverWaitWindowPrefix(const std::string& prefix, DWORD pid, DWORD timeoutMs) {
  TopSearch s;
  s.title = Utf8ToWide(prefix);
  s.match = TitleMatch::Prefix;
  s.pid = pid;
  return WaitTop(s, timeoutMs);
}

HWND DriverWaitWindowClass(const std::string& cls, const std::string& title, DWORD pid, DWORD timeoutMs) {
  std::wstring wcls = Utf8ToWide(cls);
  TopSearch s;
  s.title = Utf8ToWide(title);
  s.cls = &wcls;
  s.pid = pid;
  return WaitTop(s, timeoutMs);
}

HWND DriverWaitWindowWhere(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs) {
  struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    HWND found;
  } s{pid, &match, nullptr};
  DriverPoll(
      [&] {
        EnumWindows(
            [](HWND w, LPARAM data) -> BOOL {
              Search* s = reinterpret_cast<Search*>(data);
              DWORD owner = 0;
              GetWindowThreadProcessId(w, &owner);
              if (owner != s->pid || !IsWindowVisible(w) || !(*s->match)(w)) return TRUE;
              s->found = w;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
      },
      timeoutMs);
  return s.found;
}

HWND DriverFindControl(HWND parent, int id) {
  if (!parent || !IsWindow(parent)) return nullptr;
  ChildSearch s;
  s.byId = true;
  s.id = id;
  EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND DriverWaitControl(HWND parent, int id, DWORD timeoutMs) {
  if (!parent) return nullptr;
  HWND w = nullptr;
  DriverPoll([&] { return (w = DriverFindControl(parent, id)) != nullptr; }, timeoutMs, parent);
  return w;
}

HWND DriverFindChild(HWND parent, const char* cls, const char* text) {
  if (!parent || !IsWindow(parent)) return nullptr;
  std::wstring wcls = cls ? Utf8ToWide(cls) : std::wstring();
  std::wstring wtext = text ? Utf8ToWide(text) : std::wstring();
  ChildSearch s;
  s.cls = cls ? &wcls : nullptr;
  s.text = text ? &wtext : nullptr;
  EnumChildWindows(parent, ChildProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool DriverSetText(HWND control, const std::string& text) {
  if (!control || !IsWindow(control)) return false;
  std::wstring w = Utf8ToWide(text);
  DWORD_PTR ok = 0;
  if (!Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), &ok) || !ok) {
    return false;
  }
  return NotifyParent(control, EN_CHANGE);
}

bool DriverGetText(HWND control, std::string* text) {
  if (!control || !IsWindow(control)) return false;
  DWORD_PTR len = 0;
  if (!Send(control, WM_GETTEXTLENGTH, 0, 0, &len)) return false;
  // The length may be an upper bound (double-byte texts); the copy says what it holds.
  std::vector<wchar_t> buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  if (!Send(control, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), &got)) {
    return false;
  }
  if (got > len) got = len;
  *text = WideToUtf8(std::wstring(buf.data(), got));
  return true;
}

std::string DriverText(HWND control) {
  std::string t;
  return DriverGetText(control, &t) ? t : std::string();
}

bool DriverWaitText(HWND control, const std::string& expected, DWORD timeoutMs) {
  if (!control) return false;
  return DriverPoll(
      [&] {
        std::string t;
        return DriverGetText(control, &t) && t == expected;
      },
      timeoutMs, control);
}

bool DriverClick(HWND button) {
  if (!button || !IsWindow(button)) return false;
  // IsWindowVisible also looks at the ancestors; the top-level window is disabled while
  // a modal box of its own is up, and then its buttons cannot be reached either.
  if (!IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  HWND root = GetAncestor(button, GA_ROOT);
  if (root && !IsWindowEnabled(root)) return false;
  // Posted: the click may start a modal loop that returns only when a box is answered.
  return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool DriverMenuCommand(HWND window, int id) {
  if (!window || !IsWindow(window) || !IsWindowEnabled(window)) return false;
  return PostMessageW(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0) != FALSE;
}

int DriverCheckState(HWND button) {
  DWORD_PTR r = 0;
  if (!button || !IsWindow(button) || !Send(button, BM_GETCHECK, 0, 0, &r)) return -1;
  return static_cast<int>(r);
}

bool DriverEnabled(HWND control) { return control && IsWindow(control) && IsWindowEnabled(control); }

bool DriverVisible(HWND control) { return control && IsWindow(control) && IsWindowVisible(control); }

int DriverComboSelection(HWND combo) {
  DWORD_PTR r = 0;
  if (!combo || !IsWindow(combo) || !Send(combo, CB_GETCURSEL, 0, 0, &r)) return -1;
  return static_cast<int>(static_cast<LRESULT>(r));
}

int DriverComboCount(HWND combo) {
  DWORD_PTR r = 0;
  if (!combo || !IsWindow(combo) || !Send(combo, CB_GETCOUNT, 0, 0, &r)) return -1;
  return static_cast<int>(static_cast<LRESULT>(r));
}

bool DriverComboItem(HWND combo, int index, std::string* text) {
  if (!combo || !IsWindow(combo)) return false;
  DWORD_PTR len = 0;
  if (!Send(combo, CB_GETLBTEXTLEN, index, 0, &len)) return false;
  if (static_cast<LRESULT>(len) == CB_ERR) return false;
  std::vector<wchar_t> buf(len + 1, L'\0');
  DWORD_PTR got = 0;
  if (!Send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buf.data()), &got)) {
    return false;
  }
  if (static_cast<LRESULT>(got) == CB_ERR) return false;
  if (got > len) got = len;
  *text = WideToUtf8(std::wstring(buf.data(), got));
  return true;
}

bool DriverComboSelect(HWND combo, int index) {
  if (!combo || !IsWindow(combo) || !IsWindowEnabled(combo)) return false;
  DWORD_PTR r = 0;
  if (!Send(combo, CB_SETCURSEL, index, 0, &r) || static_cast<LRESULT>(r) != index) return false;
  return NotifyParent(combo, CBN_SELCHANGE);
}

int DriverListCount(HWND list) {
  DWORD_PTR r = 0;
  if (!list || !IsWindow(list) || !Send(list, LVM_GETITEMCOUNT, 0, 0, &r)) return -1;
  return static_cast<int>(static_cast<LRESULT>(r));
}

bool DriverListItem(HWND list, int item, int subItem, std::string* text) {
  if (!list || !IsWindow(list)) return false;
  LVITEMW lvi = {};
  lvi.iItem = item;
  lvi.iSubItem = subItem;
  if (!SendRecord(list, LVM_GETITEMTEXTW, item, &lvi, AimText<LVITEMW>, text, nullptr)) return false;
  // LVM_GETITEMTEXT answers an empty text for an item that is not there; the count tells.
  return item >= 0 && item < DriverListCount(list);
}

int DriverListColumnCount(HWND list) {
  DWORD_PTR header = 0, count = 0;
  if (!list || !IsWindow(list) || !Send(list, LVM_GETHEADER, 0, 0, &header) || !header ||
      !Send(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, &count)) {
    return -1;
  }
  return static_cast<int>(static_cast<LRESULT>(count));
}

bool DriverListColumn(HWND list, int column, std::string* title, int* width) {
  if (column < 0 || column >= DriverListColumnCount(list)) return false;
  LVCOLUMNW c = {};
  c.mask = LVCF_TEXT | LVCF_WIDTH;
  LRESULT ok = 0;
  std::string t;
  if (!SendRecord(list, LVM_GETCOLUMNW, column, &c, AimText<LVCOLUMNW>, &t, &ok) || !ok) return false;
  if (title) *title = t;
  if (width) *width = c.cx;
  return true;
}

int DriverTabCount(HWND tab) {
  DWORD_PTR r = 0;
  if (!tab || !IsWindow(tab) || !Send(tab, TCM_GETITEMCOUNT, 0, 0, &r)) return -1;
  return static_cast<int>(static_cast<LRESULT>(r));
}

int DriverTabSelection(HWND tab) {
  DWORD_PTR r = 0;
  if (!tab || !IsWindow(tab) || !Send(tab, TCM_GETCURSEL, 0, 0, &r)) return -1;
  return static_cast<int>(static_cast<LRESULT>(r));
}

bool DriverTabText(HWND tab, int index, std::string* text) {
  if (index < 0 || index >= DriverTabCount(tab)) return false;
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  LRESULT ok = 0;
  return SendRecord(tab, TCM_GETITEMW, index, &item, AimText<TCITEMW>, text, &ok) && ok;
}

HTREEITEM DriverTreeNext(HWND tree, HTREEITEM item) {
  DWORD_PTR r = 0;
  if (!tree || !IsWindow(tree) ||
      !Send(tree, TVM_GETNEXTITEM, item ? TVGN_NEXT : TVGN_ROOT, reinterpret_cast<LPARAM>(item), &r)) {
    return nullptr;
  }
  return reinterpret_cast<HTREEITEM>(r);
}

bool DriverTreeItem(HWND tree, HTREEITEM item, std::string* text, bool* checked) {
  if (!item) return false;
  TVITEMW it = {};
  it.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_STATE;
  it.hItem = item;
  it.stateMask = TVIS_STATEIMAGEMASK;
  LRESULT ok = 0;
  std::string t;
  if (!SendRecord(tree, TVM_GETITEMW, 0, &it, AimText<TVITEMW>, &t, &ok) || !ok) return false;
  if (text) *text = t;
  // State image 1 is the empty box, 2 the checked one.
  if (checked) *checked = (it.state & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  return true;
}

bool DriverTreeCheckBoxPoint(HWND tree, HTREEITEM item, POINT* at) {
  if (!item) return false;
  // TVM_GETITEMRECT takes the item where it answers the rectangle.
  RECT text = {};
  memcpy(&text, &item, sizeof(item));
  LRESULT ok = 0;
  if (!SendRecord(tree, TVM_GETITEMRECT, TRUE, &text, NoText<RECT>, nullptr, &ok) || !ok) {
    return false;
  }
  // The check box sits somewhere left of the text (after indent and lines, if any): the
  // tree's hit test tells where.
  for (int x = text.left - 1; x >= 0; --x) {
    TVHITTESTINFO hit = {};
    hit.pt.x = x;
    hit.pt.y = (text.top + text.bottom) / 2;
    if (!SendRecord(tree, TVM_HITTEST, 0, &hit, NoText<TVHITTESTINFO>, nullptr, nullptr)) {
      return false;
    }
    if (hit.hItem == item && (hit.flags & TVHT_ONITEMSTATEICON)) {
      *at = hit.pt;
      return true;
    }
  }
  return false;
}

bool DriverTreeClickCheckBox(HWND tree, HTREEITEM item) {
  POINT p = {};
  if (!DriverVisible(tree) || !DriverEnabled(tree) || !DriverTreeCheckBoxPoint(tree, item, &p)) return false;
  LPARAM at = MAKELPARAM(p.x, p.y);
  // Posted, as a mouse would: the tree may track the button until it is released.
  return PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(tree, WM_LBUTTONUP, 0, at);
}

namespace {

bool SendInputs(std::vector<INPUT> inputs) {
  UINT n = static_cast<UINT>(inputs.size());
  bool sent = SendInput(n, inputs.data(), sizeof(INPUT)) == n;
  // The other program takes its input in its own time; a short pause keeps the order of
  // pointer moves and button changes as a hand would make them.
  Sleep(20);
  return sent;
}

// The keys a keyboard sends as extended: the dedicated arrow and editing keys, whose codes
// tell them from the keypad's, which a program may read apart (the menu bar's keyboard
// hook takes only the dedicated arrows).
bool IsExtendedKey(WORD vk) {
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD vk, bool up, bool extended = false) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return in;
}

// A pointer move to screen point `p`, with `buttons` (MOUSEEVENTF_LEFTDOWN / LEFTUP) at it.
INPUT MouseInput(POINT p, DWORD buttons) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  // Absolute coordinates run from 0 to 65535 across the screen; the middle of the pixel's
  // share survives the conversion back.
  in.mi.dx = static_cast<LONG>((p.x * 65536LL + 32768) / cx);
  in.mi.dy = static_cast<LONG>((p.y * 65536LL + 32768) / cy);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  return in;
}

}  // namespace

bool DriverBringToFront(HWND window) {
  if (!window || !IsWindow(window)) return false;
  SetForegroundWindow(window);
  return DriverPoll([&] { return GetForegroundWindow() == window; }, kDriverSendTimeoutMs);
}

bool DriverKey(WORD vk, bool shift) {
  std::vector<INPUT> in;
  if (shift) in.push_back(KeyInput(VK_SHIFT, false));
  in.push_back(KeyInput(vk, false));
  in.push_back(KeyInput(vk, true));
  if (shift) in.push_back(KeyInput(VK_SHIFT, true));
  return SendInputs(in);
}

bool DriverMouseDrag(HWND w, POINT from, POINT to) {
  if (!w || !ClientToScreen(w, &from) || !ClientToScreen(w, &to)) return false;
  if (!SendInputs({MouseInput(from, 0)}) || !SendInputs({MouseInput(from, MOUSEEVENTF_LEFTDOWN)})) return false;
  constexpr int kSteps = 8;
  for (int i = 1; i <= kSteps; ++i) {
    POINT p = {from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
    if (!SendInputs({MouseInput(p, 0)})) return false;
  }
  return SendInputs({MouseInput(to, MOUSEEVENTF_LEFTUP)});
}

bool DriverMouseClick(HWND w, POINT at) { return DriverMouseDrag(w, at, at); }

bool DriverCloseAndWait(HWND window, const DriverProcess& p, DWORD timeoutMs, DWORD* exitCode) {
  if (!window || !IsWindow(window)) return false;
  // Posted: a program that asks "save changes?" would otherwise hold the driver.
  if (!PostMessageW(window, WM_CLOSE, 0, 0)) return false;
  return DriverWaitExit(p, timeoutMs, exitCode);
}

bool DriverAnswerMessageBox(DWORD pid, const std::string& title, int buttonId, DWORD timeoutMs, std::string* text) {
  HWND box = DriverWaitWindowClass("#32770", title, pid, timeoutMs);
  if (!box) return false;
  if (text) {
    // The message is the box's static with a text; its icon is a static without one, and
    // a box with an empty message has no such static at all.
    text->clear();
    struct Pick {
      static BOOL CALLBACK Proc(HWND w, LPARAM lp) {
        HWND* out = reinterpret_cast<HWND*>(lp);
        if (lstrcmpiW(ClassOf(w).c_str(), L"Static") == 0 && !StoredTitle(w).empty()) {
          *out = w;
          return FALSE;
        }
        return TRUE;
      }
    };
    HWND message = nullptr;
    EnumChildWindows(box, Pick::Proc, reinterpret_cast<LPARAM>(&message));
    if (message && !DriverGetText(message, text)) return false;
  }
  HWND button = DriverFindControl(box, buttonId);
  if (!button || !DriverClick(button)) return false;
  // Answered once the box is gone, which it is after the program has handled the click.
  return DriverPoll([&] { return !IsWindow(box); }, kDriverSendTimeoutMs);
}

// ---- menu bars drawn as tool bars ----------------------------------------------------
namespace {

// Sends `msg` with lParam pointing at a text buffer in the other process and reads the
// text back.
bool SendForText(HWND w, UINT msg, WPARAM wp, std::string* text, LRESULT* answer) {
  Remote r;
  if (!RemoteOpen(w, &r)) return false;
  char none = 0;
  DWORD_PTR got = 0;
  bool ok = RemotePut(r, &none, sizeof(none)) && Send(w, msg, wp, reinterpret_cast<LPARAM>(RemoteText(r)), &got) &&
            RemoteGet(r, &none, sizeof(none), text);
  RemoteClose(&r);
  if (ok && answer) *answer = static_cast<LRESULT>(got);
  return ok;
}

// The index of the button titled `title` of tool bar `toolbar`, or -1.
int ButtonTitled(HWND toolbar, const std::string& title) {
  DWORD_PTR count = 0;
  if (!Send(toolbar, TB_BUTTONCOUNT, 0, 0, &count)) return -1;
  for (int i = 0; i < static_cast<int>(count); ++i) {
    TBBUTTON button = {};
    LRESULT ok = 0;
    if (!SendRecord(toolbar, TB_GETBUTTON, i, &button, NoText<TBBUTTON>, nullptr, &ok) || !ok) continue;
    std::string text;
    LRESULT length = -1;
    if (SendForText(toolbar, TB_GETBUTTONTEXTW, button.idCommand, &text, &length) && length >= 0 && text == title) {
      return i;
    }
  }
  return -1;
}

// Whether two captures of the same rectangle are alike, row `row` only.
bool SameRow(const std::vector<DWORD>& a, const std::vector<DWORD>& b, int width, int row) {
  return std::equal(a.begin() + row * width, a.begin() + (row + 1) * width, b.begin() + row * width);
}

// A capture of `rect` once the screen there has been painted and has stopped changing: two
// captures 60 ms apart are alike and not mostly black, which a window shown but not yet
// painted is under Wine. Empty when that did not happen in `timeoutMs`.
std::vector<DWORD> SteadyPixels(const RECT& rect, DWORD timeoutMs) {
  std::vector<DWORD> last = DriverScreenPixels(rect), now;
  bool steady = DriverPoll(
      [&] {
        now = DriverScreenPixels(rect);
        const size_t black = static_cast<size_t>(std::count(now.begin(), now.end(), 0u));
        bool same = !now.empty() && now == last && black < now.size() / 4;
        last = now;
        return same;
      },
      timeoutMs, nullptr, 60);
  return steady ? now : std::vector<DWORD>();
}

bool ClickAtScreen(POINT p) {
  return SendInputs({MouseInput(p, 0)}) && SendInputs({MouseInput(p, MOUSEEVENTF_LEFTDOWN)}) &&
         SendInputs({MouseInput(p, MOUSEEVENTF_LEFTUP)});
}

}  // namespace

std::vector<DWORD> DriverScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return {};
  std::vector<DWORD> pixels;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    if (BitBlt(dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
      GdiFlush();
      const DWORD* p = static_cast<const DWORD*>(bits);
      pixels.assign(p, p + static_cast<size_t>(width) * height);
      for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
    }
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

HWND DriverFindMenuTitle(HWND main, const std::string& title, RECT* rect) {
  if (!main || !IsWindow(main)) return nullptr;
  struct Search {
    const std::string* title;
    HWND toolbar;
    int index;
  } s{&title, nullptr, -1};
  EnumChildWindows(
      main,
      [](HWND w, LPARAM data) -> BOOL {
        Search* s = reinterpret_cast<Search*>(data);
        if (lstrcmpiW(ClassOf(w).c_str(), TOOLBARCLASSNAMEW) != 0) return TRUE;
        s->index = ButtonTitled(w, *s->title);
        if (s->index < 0) return TRUE;
        s->toolbar = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  if (!s.toolbar) return nullptr;
  if (rect) {
    RECT r = {};
    LRESULT ok = 0;
    if (!SendRecord(s.toolbar, TB_GETITEMRECT, s.index, &r, NoText<RECT>, nullptr, &ok) || !ok) return nullptr;
    MapWindowPoints(s.toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *rect = r;
  }
  return s.toolbar;
}

HWND DriverWaitPopupMenu(HWND main, DWORD timeoutMs) {
  DWORD pid = 0;
  if (!main || !GetWindowThreadProcessId(main, &pid)) return nullptr;
  return DriverWaitWindowWhere(
      pid, [](HWND w) { return lstrcmpiW(ClassOf(w).c_str(), L"#32768") == 0; }, timeoutMs);
}

HWND DriverOpenMenuTitle(HWND main, const std::string& title) {
  RECT r = {};
  if (!DriverFindMenuTitle(main, title, &r) || !DriverBringToFront(main)) return nullptr;
  if (!ClickAtScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2})) return nullptr;
  return DriverWaitPopupMenu(main, kDriverSendTimeoutMs);
}

bool DriverMenuItemRect(HWND popup, int position, RECT* rect) {
  RECT r = {};
  if (!popup || position < 0 || !GetWindowRect(popup, &r)) return false;
  const int width = r.right - r.left, height = r.bottom - r.top;
  const std::vector<DWORD> before = SteadyPixels(r, kDriverSendTimeoutMs);
  if (before.empty()) return false;
  for (int i = 0; i <= position; ++i)
    if (!DriverKey(VK_DOWN)) return false;
  // The selection repaints the item it reaches; the rows it changed are that item's.
  int top = -1, bottom = -1;
  DriverPoll(
      [&] {
        const std::vector<DWORD> after = SteadyPixels(r, kDriverSendTimeoutMs);
        if (after.size() != before.size()) return false;
        top = bottom = -1;
        for (int row = 0; row < height; ++row) {
          if (SameRow(before, after, width, row)) continue;
          if (top < 0) top = row;
          bottom = row;
        }
        return top >= 0;
      },
      kDriverSendTimeoutMs);
  if (top < 0) return false;
  *rect = RECT{r.left, r.top + top, r.right, r.top + bottom + 1};
  return true;
}

bool DriverChooseMenuItem(HWND main, const std::string& title, int position) {
  HWND popup = DriverOpenMenuTitle(main, title);
  RECT item = {};
  if (!popup || !DriverMenuItemRect(popup, position, &item)) return false;
  // The menu loop selects the item under the pointer when it reads the move; a press that
  // comes with the move in one batch can find the selection still elsewhere.
  const POINT p = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  if (!SendInputs({MouseInput(p, 0)})) return false;
  Sleep(150);
  if (!SendInputs({MouseInput(p, MOUSEEVENTF_LEFTDOWN)})) return false;
  Sleep(50);
  return SendInputs({MouseInput(p, MOUSEEVENTF_LEFTUP)});
}

bool DriverChooseMenuItemByKeys(HWND main, const std::vector<WORD>& keys) {
  if (!DriverBringToFront(main)) return false;
  for (WORD vk : keys) {
    const bool extended = IsExtendedKey(vk);
    if (!SendInputs({KeyInput(vk, false, extended), KeyInput(vk, true, extended)})) return false;
    // A key may open a drop-down, which reads the keys after it only once it is up.
    Sleep(200);
  }
  return true;
}
