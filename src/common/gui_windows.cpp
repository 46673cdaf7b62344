// Runtime windows, the control registry and the event queue.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <deque>
#include <map>
#include <memory>

#include "common/dpi.h"
#include "common/gui_internal.h"
#include "common/text.h"

namespace gui {
namespace {

std::map<int, WindowRec>& Windows() {
  static std::map<int, WindowRec> m;
  return m;
}
std::map<int, std::unique_ptr<ControlRec>>& Controls() {
  static std::map<int, std::unique_ptr<ControlRec>> m;
  return m;
}

int NextFree(int& counter, bool (*used)(int)) {
  for (int tries = 0; tries <= kLastNumber - kFirstAutoNumber; ++tries) {
    int n = counter++;
    if (counter > kLastNumber) counter = kFirstAutoNumber;
    if (!used(n)) return n;
  }
  return 0;
}

thread_local std::deque<EventRecord> t_queue;
thread_local EventRecord t_current;
thread_local ControlList t_list;
thread_local std::vector<ControlList> t_stack;

int ControlTypeFromCommand(ControlRec* c, int code) {
  switch (c->kind) {
    case ControlKind::Text:
    case ControlKind::Editor:
      if (code == EN_CHANGE) return kEventTypeChange;
      if (code == EN_SETFOCUS) return kEventTypeFocus;
      if (code == EN_KILLFOCUS) return kEventTypeLostFocus;
      return -1;
    case ControlKind::Combo:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) return kEventTypeChange;
      if (code == CBN_SETFOCUS) return kEventTypeFocus;
      if (code == CBN_KILLFOCUS) return kEventTypeLostFocus;
      return -1;
    case ControlKind::Label:
    case ControlKind::Link:
    case ControlKind::Image:
      if (code == STN_CLICKED) return kEventTypeLeftClick;
      if (code == STN_DBLCLK) return kEventTypeLeftDoubleClick;
      return -1;
    default:
      if (code == BN_CLICKED) return kEventTypeLeftClick;
      if (code == BN_DOUBLECLICKED) return kEventTypeLeftDoubleClick;
      return -1;
  }
}

int ControlTypeFromNotify(ControlRec* c, const NMHDR* h) {
  switch (h->code) {
    case NM_CLICK:
      return kEventTypeLeftClick;
    case NM_DBLCLK:
      return kEventTypeLeftDoubleClick;
    case NM_RCLICK:
      return kEventTypeRightClick;
    case LVN_ITEMCHANGED: {
      const NMLISTVIEW* lv = reinterpret_cast<const NMLISTVIEW*>(h);
      return (lv->uChanged & LVIF_STATE) && ((lv->uOldState ^ lv->uNewState) & (LVIS_SELECTED | LVIS_FOCUSED))
                 ? kEventTypeChange
                 : -1;
    }
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA:
      return kEventTypeChange;
    case TCN_SELCHANGE:
      ShowPanelPage(c);
      return kEventTypeChange;
    default:
      return -1;
  }
}

bool HasClass(HWND w, const wchar_t* name) {
  wchar_t cls[64];
  return GetClassNameW(w, cls, 64) && lstrcmpiW(cls, name) == 0;
}

// A check-box tree tells about a click or the Space key before it toggles the check mark,
// so the change is reported by a message that arrives after the toggle.
bool TogglesCheckBoxLater(const ControlRec* c, const NMHDR* h) {
  if (c->kind != ControlKind::Tree || !(GetWindowLongPtrW(c->hwnd, GWL_STYLE) & TVS_CHECKBOXES)) return false;
  if (h->code == NM_CLICK) return true;
  return h->code == TVN_KEYDOWN && reinterpret_cast<const NMTVKEYDOWN*>(h)->wVKey == VK_SPACE;
}

// Notifications without a control event of their own that still change what a program
// derives from its controls: an editor's selection (what can be cut or copied) and a
// rebar's height (where the controls below it belong). They come as WM_NOTIFY events so
// that the program's loop sees them; the editor asks for its own with ENM_SELCHANGE.
bool IsStateNotification(const ControlRec* c, const NMHDR* h) {
  if (h->code == EN_SELCHANGE) return c && c->kind == ControlKind::Editor;
  return h->code == static_cast<UINT>(RBN_HEIGHTCHANGE) && HasClass(h->hwndFrom, REBARCLASSNAMEW);
}

// A change event of `control`, for the runtime window that is or holds `w`.
void QueueChange(HWND w, int control) {
  EventRecord e;
  e.event = kEventControl;
  e.window = WindowNumberOf(w);
  e.control = control;
  e.type = kEventTypeChange;
  QueueEvent(e);
}

}  // namespace

HWND FindDefaultButton(HWND root) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumChildWindows(
      root,
      [](HWND w, LPARAM lp) -> BOOL {
        wchar_t cls[16];
        if (GetClassNameW(w, cls, 16) && lstrcmpiW(cls, L"Button") == 0 &&
            (GetWindowLongPtrW(w, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON && IsWindowVisible(w)) {
          reinterpret_cast<Search*>(lp)->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

WindowRec* FindWindowRec(int number) {
  ZK_GUI_THREAD_ONLY(nullptr);
  auto it = Windows().find(number);
  return it == Windows().end() ? nullptr : &it->second;
}

ControlRec* FindControlRec(int number) {
  ZK_GUI_THREAD_ONLY(nullptr);
  auto it = Controls().find(number);
  return it == Controls().end() ? nullptr : it->second.get();
}

ControlRec* FindControlRecByHandle(HWND w) {
  if (!w) return nullptr;
  ControlRec* c = FindControlRec(static_cast<int>(GetWindowLongPtrW(w, GWLP_ID)));
  return c && c->hwnd == w ? c : nullptr;
}

int AllocateWindowNumber() {
  static int counter = kFirstAutoNumber;
  return NextFree(counter, [](int n) { return FindWindowRec(n) != nullptr; });
}

int AllocateControlNumber() {
  static int counter = kFirstAutoNumber;
  return NextFree(counter, [](int n) { return FindControlRec(n) != nullptr; });
}

void StoreWindow(const WindowRec& rec) { Windows()[rec.number] = rec; }

ControlRec* StoreControl(ControlRec rec) {
  auto& slot = Controls()[rec.number];
  slot = std::make_unique<ControlRec>(std::move(rec));
  return slot.get();
}

void EraseControl(int number) {
  auto it = Controls().find(number);
  if (it == Controls().end()) return;
  Controls().erase(it);
}

ControlList& CurrentList() { return t_list; }
std::vector<ControlList>& ListStack() { return t_stack; }

// The dialog font of the system (8 point "MS Shell Dlg", 11 pixels high at 96 DPI), which
// the fixed layouts of the programs' windows were made for. At another DPI it is made at
// the layout's scale: the stock font's own height does not follow the DPI everywhere, and
// where it does it is rounded up, which makes two lines of text taller than their grown
// box. Rounded down, a text never outgrows the box it fitted at 96 DPI.
HFONT DefaultFont() {
  static const HFONT font = [] {
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (ScreenDpi() == kLayoutDpi) return stock;
    LOGFONTW lf;
    if (GetObjectW(stock, sizeof(lf), &lf) != sizeof(lf)) return stock;
    lf.lfHeight = -(11 * ScreenDpi() / kLayoutDpi);
    HFONT scaled = CreateFontIndirectW(&lf);
    return scaled ? scaled : stock;
  }();
  return font;
}

void QueueEvent(const EventRecord& e) { t_queue.push_back(e); }

const wchar_t* WindowClassName() { return kRuntimeWindowClass; }
const wchar_t* ContainerClassName() { return kRuntimeContainerClass; }

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                               ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                               ICC_LINK_CLASS | ICC_COOL_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = RuntimeWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = WindowClassName();
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.lpszClassName = ContainerClassName();
  RegisterClassExW(&wc);
}

LRESULT CALLBACK RuntimeWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_CLOSE: {
      int n = WindowNumberOf(w);
      if (n >= 0 && GetAncestor(w, GA_ROOT) == w) {
        EventRecord e;
        e.event = kEventClose;
        e.window = n;
        QueueEvent(e);
        return 0;
      }
      break;
    }
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lp);
      EventRecord e;
      e.window = WindowNumberOf(w);
      e.wParam = wp;
      e.lParam = lp;
      if (!from || HasClass(from, TOOLBARCLASSNAMEW)) {
        e.event = kEventMenu;
        e.control = LOWORD(wp);
        QueueEvent(e);
        return 0;
      }
      ControlRec* c = FindControlRecByHandle(from);
      int type = -1;
      if (c) {
        type = ControlTypeFromCommand(c, HIWORD(wp));
        e.control = c->number;
      }
      if (c && type >= 0) {
        e.event = kEventControl;
        e.type = type;
        QueueEvent(e);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
      ControlRec* c = FindControlRecByHandle(h->hwndFrom);
      int type = c ? ControlTypeFromNotify(c, h) : -1;
      if (c && type >= 0) {
        EventRecord e;
        e.event = kEventControl;
        e.window = WindowNumberOf(w);
        e.control = c->number;
        e.type = type;
        e.wParam = wp;
        QueueEvent(e);
      }
      if (c && TogglesCheckBoxLater(c, h)) PostMessageW(w, kMsgDeferredChange, static_cast<WPARAM>(c->number), 0);
      if (IsStateNotification(c, h)) {
        EventRecord e;
        e.event = WM_NOTIFY;
        e.window = WindowNumberOf(w);
        e.control = c ? c->number : -1;
        e.type = static_cast<int>(h->code);
        e.wParam = wp;
        QueueEvent(e);
      }
      break;
    }
    case kMsgDeferredChange:
      QueueChange(w, static_cast<int>(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      ControlRec* c = FindControlRecByHandle(reinterpret_cast<HWND>(lp));
      if (c) {
        HDC dc = reinterpret_cast<HDC>(wp);
        COLORREF front = c->hot && c->hover != kNoColour ? c->hover : c->front;
        bool custom = front != kNoColour || c->back != kNoColour;
        if (front != kNoColour) SetTextColor(dc, front);
        if (c->back != kNoColour) {
          SetBkColor(dc, c->back);
          return reinterpret_cast<LRESULT>(c->backBrush.get());
        }
        if (custom) {
          LRESULT r = DefWindowProcW(w, m, wp, lp);
          if (front != kNoColour) SetTextColor(dc, front);
          return r;
        }
      }
      break;
    }
    case WM_ERASEBKGND: {
      // Containers given a background colour paint it themselves.
      ControlRec* c = FindControlRecByHandle(w);
      if (c && c->backBrush) {
        RECT r;
        GetClientRect(w, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, c->backBrush.get());
        return 1;
      }
      break;
    }
    case DM_GETDEFID: {
      HWND def = FindDefaultButton(w);
      if (def) return MAKELRESULT(GetDlgCtrlID(def), DC_HASDEFID);
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL: {
      // Scroll-bar controls move themselves: 1 for an arrow, a page for the track, and the
      // thumb while it is dragged. The change goes through SetScrollInfo so that code
      // watching the bar's messages sees it.
      HWND bar = reinterpret_cast<HWND>(lp);
      int number = bar ? ControlNumberOf(bar) : -1;
      if (number < 0) break;
      SCROLLINFO si = {};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(bar, SB_CTL, &si);
      int pos = si.nPos;
      switch (LOWORD(wp)) {
        case SB_LINEUP:
          pos -= 1;
          break;
        case SB_LINEDOWN:
          pos += 1;
          break;
        case SB_PAGEUP:
          pos -= static_cast<int>(si.nPage);
          break;
        case SB_PAGEDOWN:
          pos += static_cast<int>(si.nPage);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          pos = si.nTrackPos;
          break;
        case SB_TOP:
          pos = si.nMin;
          break;
        case SB_BOTTOM:
          pos = si.nMax;
          break;
        default:
          return 0;
      }
      int last = si.nMax - (si.nPage > 0 ? static_cast<int>(si.nPage) - 1 : 0);
      if (pos > last) pos = last;
      if (pos < si.nMin) pos = si.nMin;
      if (pos != si.nPos) {
        SCROLLINFO set = {};
        set.cbSize = sizeof(set);
        set.fMask = SIF_POS;
        set.nPos = pos;
        SetScrollInfo(bar, SB_CTL, &set, TRUE);
        QueueChange(w, number);
      }
      return 0;
    }
    case WM_SIZE: {
      // Status bars follow the window's width.
      for (HWND child = GetWindow(w, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HasClass(child, STATUSCLASSNAMEW)) SendMessageW(child, WM_SIZE, 0, 0);
      break;
    }
  }
  return DefWindowProcW(w, m, wp, lp);
}

}  // namespace gui

using namespace gui;

intptr_t OpenRuntimeWindowW(int number, int x, int y, int width, int height, const std::wstring& title, unsigned flags,
                            int parent) {
  // The thread that opens the first window is the GUI thread.
  if (OnGuiThread()) SetGuiThread();
  ZK_GUI_THREAD_ONLY(0);
  RegisterClasses();
  const bool any = number == kAnyNumber;
  if (any) {
    number = AllocateWindowNumber();
    if (!number) return 0;
  } else if (number < 0) {
    return 0;
  } else if (FindWindowRec(number)) {
    CloseRuntimeWindow(number);
  }
  DWORD style = WS_CLIPCHILDREN;
  if (flags & kWindowBorderless) {
    style |= WS_POPUP;
  } else {
    style |= WS_CAPTION;
    if (flags & kWindowSystemMenu) style |= WS_SYSMENU;
    if (flags & kWindowMinimizeBox) style |= WS_MINIMIZEBOX | WS_SYSMENU;
    if (flags & kWindowMaximizeBox) style |= WS_MAXIMIZEBOX | WS_SYSMENU;
    if (flags & kWindowSizeable) style |= WS_THICKFRAME;
  }
  DWORD exStyle = 0;
  if (flags & kWindowTool) exStyle |= WS_EX_TOOLWINDOW;
  if (flags & kWindowTopmost) exStyle |= WS_EX_TOPMOST;
  // The position is on the screen and stays in its pixels; the size is layout.
  RECT r = {0, 0, LayoutToScreen(width), LayoutToScreen(height)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  int ww = r.right - r.left, wh = r.bottom - r.top;
  HWND owner = parent >= 0 ? WindowHandle(parent) : nullptr;
  if (flags & kWindowScreenCentered) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - ww) / 2;
    y = work.top + (work.bottom - work.top - wh) / 2;
  } else if ((flags & kWindowParentCentered) && owner) {
    RECT pr;
    GetWindowRect(owner, &pr);
    x = pr.left + (pr.right - pr.left - ww) / 2;
    y = pr.top + (pr.bottom - pr.top - wh) / 2;
  }
  HWND w = CreateWindowExW(exStyle, WindowClassName(), title.c_str(), style, x, y, ww, wh, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w) return 0;
  WindowRec rec;
  rec.number = number;
  rec.hwnd = w;
  StoreWindow(rec);
  SetWindowLongPtrW(w, GWLP_USERDATA, number);
  t_list.parent = w;
  t_list.rootWindow = number;
  t_stack.clear();
  if (!(flags & kWindowInvisible)) ShowWindow(w, SW_SHOW);
  return any ? number : reinterpret_cast<intptr_t>(w);
}

intptr_t OpenRuntimeWindow(int number, int x, int y, int width, int height, const std::string& title, unsigned flags,
                           int parent) {
  return OpenRuntimeWindowW(number, x, y, width, height, AnsiToWide(title), flags, parent);
}

int CloseRuntimeWindow(int number) {
  WindowRec* rec = FindWindowRec(number);
  if (!rec) return 0;
  HWND w = rec->hwnd;
  // Controls of the window go with it. The records go first, so that the window
  // procedures see none of them while the windows are destroyed.
  std::vector<int> gone;
  for (auto& kv : Controls())
    if (kv.second->rootWindow == number) gone.push_back(kv.first);
  for (int n : gone) EraseControl(n);
  Windows().erase(number);
  if (t_list.rootWindow == number) t_list = ControlList();
  DestroyWindow(w);
  return 1;
}

HWND WindowHandle(int number) {
  WindowRec* rec = FindWindowRec(number);
  return rec ? rec->hwnd : nullptr;
}

int IsRuntimeWindow(int number) { return WindowHandle(number) != nullptr; }

int WindowNumberOf(HWND w) {
  for (HWND cur = w; cur; cur = GetParent(cur)) {
    wchar_t cls[64];
    if (GetClassNameW(cur, cls, 64) && lstrcmpW(cls, WindowClassName()) == 0) {
      int n = static_cast<int>(GetWindowLongPtrW(cur, GWLP_USERDATA));
      WindowRec* rec = FindWindowRec(n);
      if (rec && rec->hwnd == cur) return n;
    }
    if (!(GetWindowLongPtrW(cur, GWL_STYLE) & WS_CHILD)) break;
  }
  return -1;
}

int ShowRuntimeWindow(int number, bool show) {
  HWND w = WindowHandle(number);
  if (!w) return 0;
  ShowWindow(w, show ? SW_SHOW : SW_HIDE);
  return 1;
}

int EnableRuntimeWindow(int number, bool enable) {
  HWND w = WindowHandle(number);
  if (!w) return 0;
  EnableWindow(w, enable ? TRUE : FALSE);
  return 1;
}

int SetWindowTitleW(int number, const std::wstring& title) {
  HWND w = WindowHandle(number);
  return w && SetWindowTextW(w, title.c_str()) ? 1 : 0;
}

int SetWindowTitle(int number, const std::string& title) { return SetWindowTitleW(number, AnsiToWide(title)); }

std::string GetWindowTitle(int number) {
  HWND w = WindowHandle(number);
  if (!w) return {};
  std::wstring t(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  t.resize(static_cast<size_t>(GetWindowTextW(w, &t[0], static_cast<int>(t.size()))));
  return WideToAnsi(t);
}

int ResizeRuntimeWindow(int number, int x, int y, int width, int height) {
  HWND w = WindowHandle(number);
  if (!w) return 0;
  RECT wr, cr;
  GetWindowRect(w, &wr);
  GetClientRect(w, &cr);
  int frameW = (wr.right - wr.left) - cr.right, frameH = (wr.bottom - wr.top) - cr.bottom;
  int nx = x == kKeepValue ? wr.left : x, ny = y == kKeepValue ? wr.top : y;
  int nw = width == kKeepValue ? wr.right - wr.left : LayoutToScreen(width) + frameW;
  int nh = height == kKeepValue ? wr.bottom - wr.top : LayoutToScreen(height) + frameH;
  SetWindowPos(w, nullptr, nx, ny, nw, nh, SWP_NOZORDER | SWP_NOACTIVATE);
  return 1;
}

int WindowClientWidth(int number) {
  HWND w = WindowHandle(number);
  RECT r = {};
  if (w) GetClientRect(w, &r);
  return ScreenToLayout(r.right);
}

int WindowClientHeight(int number) {
  HWND w = WindowHandle(number);
  RECT r = {};
  if (w) GetClientRect(w, &r);
  return ScreenToLayout(r.bottom);
}

int UseControlList(int windowNumber) {
  HWND w = WindowHandle(windowNumber);
  if (!w) return 0;
  t_list.parent = w;
  t_list.rootWindow = windowNumber;
  t_stack.clear();
  return 1;
}

HWND CurrentControlParent() { return t_list.parent; }

// ---- events ----

namespace {

// A message posted to one of the thread's runtime windows or controls in the
// application's own range surfaces as an event of that number.
bool PostedMessageEvent(const MSG& msg, EventRecord& e) {
  if (msg.message < WM_USER || msg.message >= WM_APP || !msg.hwnd) return false;
  int window = WindowNumberOf(msg.hwnd);
  if (window < 0) return false;
  e = EventRecord();
  e.event = static_cast<int>(msg.message);
  e.window = window;
  ControlRec* c = FindControlRecByHandle(msg.hwnd);
  e.control = c ? c->number : -1;
  e.wParam = msg.wParam;
  e.lParam = msg.lParam;
  return true;
}

bool IsDialogMessageForTabbing(MSG& msg) {
  // Tab and arrow keys move between controls of runtime windows.
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || WindowNumberOf(root) < 0) return false;
  // Escape, and Enter without a default button, would come back as a command without a
  // control (IDCANCEL, IDOK), which reads like a menu command with that number.
  if (msg.wParam == VK_ESCAPE && msg.message != WM_SYSKEYDOWN) return false;
  if (msg.wParam == VK_RETURN && !FindDefaultButton(root)) return false;
  wchar_t cls[64];
  // Multi-line editors keep their keys.
  if (GetClassNameW(msg.hwnd, cls, 64) && (wcsstr(cls, L"RichEdit") || wcsstr(cls, L"RICHEDIT"))) return false;
  return IsDialogMessageW(root, &msg) != 0;
}

int TakeQueued() {
  t_current = t_queue.front();
  t_queue.pop_front();
  return t_current.event;
}

}  // namespace

int WaitWindowEvent(int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (!t_queue.empty()) return TakeQueued();
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        t_current = EventRecord();
        return 0;
      }
      EventRecord posted;
      bool isPosted = PostedMessageEvent(msg, posted);
      if (!IsDialogMessageForTabbing(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (isPosted) {
        t_current = posted;
        return posted.event;
      }
      continue;
    }
    // Messages sent by other threads or processes were handled inside PeekMessage and
    // may have queued events.
    if (!t_queue.empty()) continue;
    DWORD wait = INFINITE;
    if (timeoutMs >= 0) {
      DWORD spent = GetTickCount() - start;
      if (spent >= static_cast<DWORD>(timeoutMs)) {
        t_current = EventRecord();
        return 0;
      }
      wait = static_cast<DWORD>(timeoutMs) - spent;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

int WindowEvent() { return WaitWindowEvent(0); }
const EventRecord& CurrentEvent() { return t_current; }
int EventWindow() { return t_current.window; }
int EventControl() { return t_current.control; }
int EventMenu() { return t_current.event == kEventMenu ? t_current.control : -1; }
int EventType() { return t_current.type; }
WPARAM EventWParam() { return t_current.wParam; }
LPARAM EventLParam() { return t_current.lParam; }
void PostRuntimeEvent(const EventRecord& e) { QueueEvent(e); }
