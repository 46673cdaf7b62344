// Each opening is timed from the click on the title to the end of the popup's first
// WM_PAINT, which a WH_CALLWNDPROCRET hook sees; the hook then ends the menu. The two sides
// take turns, one opening each, so that both meet the same machine state; medians count.
#include "frame_openings.h"

#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <string.h>

#include <vector>

#include "bench_timing.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"

namespace {

const double kGoal = 2.0;
// The tool's File menu; an empty text is a separator.
const char* const kFileItems[] = {"New...", "Open...", "", "Save...", "Save As...", "", "Import Language...",
                                  "",       "Exit"};

double openedAt = 0;  // when the popup's first paint returned; 0 while waiting

LRESULT CALLBACK SeeFirstPaint(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && openedAt == 0) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char name[16] = {};
    if (sent->message == WM_PAINT && GetClassNameA(sent->hwnd, name, sizeof(name)) && strcmp(name, "#32768") == 0) {
      openedAt = NowNs();
      EndMenu();
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HMENU plainMenu = nullptr;

// The plain side: what a programmer writes with the system controls alone.
LRESULT CALLBACK PlainOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TBN_DROPDOWN) {
    const auto* press = reinterpret_cast<NMTOOLBARA*>(lParam);
    RECT r = {};
    SendMessageA(press->hdr.hwndFrom, TB_GETRECT, press->iItem, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(press->hdr.hwndFrom, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    TrackPopupMenuEx(plainMenu, TPM_VERTICAL, r.left, r.bottom, window, nullptr);
    return TBDDRET_DEFAULT;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeOwner(const char* cls, WNDPROC proc, int x) {
  WNDCLASSEXA c = {};
  c.cbSize = sizeof(c);
  c.hInstance = GetModuleHandleA(nullptr);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  c.lpfnWndProc = proc;
  c.lpszClassName = cls;
  RegisterClassExA(&c);
  return CreateWindowExA(0, cls, cls, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 40, 400, 300, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A plain flat tool bar whose "File" button drops the plain menu down. -> the button's
// screen centre.
POINT PlainSide(HWND owner) {
  plainMenu = CreatePopupMenu();
  for (const char* text : kFileItems) AppendMenuA(plainMenu, *text ? MF_STRING : MF_SEPARATOR, 100, text);
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0,
                             0, 0, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, 0);
  const char* const titles[] = {"File", "Project", "Help"};
  for (int i = 0; i < 3; ++i) {
    TBBUTTON b = {};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = 200 + i;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_DROPDOWN | BTNS_AUTOSIZE;
    b.iString = reinterpret_cast<INT_PTR>(titles[i]);
    SendMessageA(bar, TB_INSERTBUTTONA, i, reinterpret_cast<LPARAM>(&b));
  }
  SendMessageA(bar, TB_AUTOSIZE, 0, 0);
  RECT r = {};
  SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  return p;
}

// The toolkit's side, built as the tool's main window builds its menu bar.
POINT ToolkitSide(HWND owner) {
  using namespace tovrel;
  CreateRebar(-1, owner, nullptr, UISTYLE_OFFICE2007 | RBS_VARHEIGHT, 0);
  const intptr_t number = CreateMenuBar(-1, owner, UISTYLE_OFFICE2007);
  AddMenuTitle("File");
  for (const char* text : kFileItems) *text ? AddMenuItem(-1, text, nullptr, nullptr, nullptr, 0) : AddMenuSeparator();
  AddMenuTitle("Project");
  AddMenuItem(-1, "Build", nullptr, nullptr, nullptr, 0);
  AddMenuTitle("Help");
  AddMenuItem(-1, "Help", nullptr, nullptr, nullptr, 0);
  HWND bar = reinterpret_cast<HWND>(GetMenuHandle(number));
  AddRebarBand(bar, "", 0, 100, GetMenuBarHeight(number) - 3, nullptr, RBBS_USECHEVRON);
  RECT client = {};
  GetClientRect(owner, &client);
  SendMessageA(owner, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  RECT r = {};
  SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(bar, &p);
  return p;
}

void Pump(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  } while (GetTickCount64() < end);
}

INPUT Button(DWORD flags) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return in;
}

// Nanoseconds from the click to the end of the first paint; 0 when no popup painted.
double TimeOpening(HWND owner, POINT title) {
  SetForegroundWindow(owner);
  SetActiveWindow(owner);
  SetFocus(owner);
  SetCursorPos(title.x, title.y);
  Pump(30);
  openedAt = 0;
  INPUT click[2] = {Button(MOUSEEVENTF_LEFTDOWN), Button(MOUSEEVENTF_LEFTUP)};
  const double start = NowNs();
  SendInput(2, click, sizeof(INPUT));
  for (ULONGLONG limit = GetTickCount64() + 3000; openedAt == 0 && GetTickCount64() < limit;) Pump(1);
  const double took = openedAt ? openedAt - start : 0;
  Pump(40);  // the menu's end and the bar's repaint
  return took;
}

}  // namespace

int BenchDropDownOpenings(int openings) {
  HWND plainOwner = MakeOwner("PlainMenuOwner", PlainOwnerProc, 20);
  HWND toolkitOwner = MakeOwner("ToolkitMenuOwner", DefWindowProcA, 460);
  const POINT plainTitle = PlainSide(plainOwner);
  const POINT toolkitTitle = ToolkitSide(toolkitOwner);
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, SeeFirstPaint, nullptr, GetCurrentThreadId());
  Pump(200);
  TimeOpening(plainOwner, plainTitle);  // warm-up of both sides
  TimeOpening(toolkitOwner, toolkitTitle);
  std::vector<double> runs, baselines;
  for (int i = 0; i < openings; ++i) {
    const double plain = TimeOpening(plainOwner, plainTitle);
    const double toolkit = TimeOpening(toolkitOwner, toolkitTitle);
    if (plain > 0) baselines.push_back(plain);
    if (toolkit > 0) runs.push_back(toolkit);
  }
  UnhookWindowsHookEx(hook);
  DestroyWindow(plainOwner);
  DestroyWindow(toolkitOwner);
  if (runs.size() < static_cast<size_t>(openings) / 2 || baselines.size() < static_cast<size_t>(openings) / 2) {
    printf("row %-38s case_ns=0 baseline_ns=0 ratio=0.00 goal=%.2f missed (%zu and %zu of %d opened)\n",
           "open File drop-down", kGoal, runs.size(), baselines.size(), openings);
    return 1;
  }
  const double run = Median(runs), baseline = Median(baselines), ratio = run / baseline;
  const bool met = ratio <= kGoal;
  printf("row %-38s case_ns=%.0f baseline_ns=%.0f ratio=%.2f goal=%.2f %s\n", "open File drop-down", run, baseline,
         ratio, kGoal, met ? "met" : "missed");
  fflush(stdout);
  return met ? 0 : 1;
}
