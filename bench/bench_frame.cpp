// Frame benchmark: resizing a window that holds the toolkit's rebar against the same bands
// on plain rebar and tool-bar controls, both windows on screen in the same run. Each
// sample times a batch of resizes (SetWindowPos, then UpdateWindow, so every resize is
// laid out and painted); the two windows take turns, so that both meet the same machine
// state. The median time per resize of each side counts.
//
// Cases: a flat tool bar band beside a button band; the same with a fill band and a follow
// band in a second row, which the toolkit fits to the window on every resize. Then
// repainting (RDW_UPDATENOW) an OFFICE2007 rebar that holds a menu bar and a four-button
// tool bar with one button hot, as the tool's main window has them, against a plain rebar
// with a text tool bar in place of the menu bar and the same four buttons. Last, 50
// openings of the File drop-down against a standard popup (frame_openings.cpp).
//
//   zk_bench_frame.exe [SAMPLES]     (default 15)
//
// Prints one line per case, "row NAME case_ns=N baseline_ns=N ratio=R goal=G verdict",
// and exits 1 when a goal was missed.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "bench_timing.h"
#include "frame_openings.h"
#include "tovrel/foundation/start_up.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"
#include "tovrel/frame/rebar_height.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/toolbar.h"

namespace {

const int kResizesPerSample = 20;  // 300 resizes per side with the default 15 samples
const double kGoal = 1.5;
const int kRepaints = 200;  // per side, spread over the samples
const double kRepaintGoal = 2.0;

HICON MakeIcon(COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r = {2, 2, 14, 14};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  ICONINFO info = {TRUE, 0, 0, mask, bitmap};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(bitmap);
  DeleteObject(mask);
  return icon;
}

const int kButtons = 6;
HICON icons[kButtons];

HWND MakeChild(HWND parent, const char* cls, const char* text, DWORD style, int height) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 120, height, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The plain side: what a programmer writes with the system controls alone. The window
// procedure lays the rebar across the top on WM_SIZE and, with the second row, stretches
// that row's two bands down to the window's bottom, as the toolkit's fill and follow
// bands do.
LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND rebar = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_SIZE && rebar) {
    SendMessageA(rebar, WM_SIZE, wParam, lParam);
    if (SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0) == 4) {
      RECT row = {};
      SendMessageA(rebar, RB_GETRECT, 2, reinterpret_cast<LPARAM>(&row));
      const int height = std::max(1, static_cast<int>(HIWORD(lParam)) - static_cast<int>(row.top) - 4);
      for (int index = 2; index < 4; ++index) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_CHILDSIZE;
        SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
        if (band.cyMinChild == static_cast<UINT>(height)) continue;
        band.cyMinChild = height;
        SendMessageA(rebar, RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
      }
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ToolkitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeFrame(const char* cls, int x) {
  return CreateWindowExA(0, cls, cls, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, 20, 600, 360, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

void AddPlainBand(HWND rebar, HWND child, int width, int minHeight, UINT style) {
  REBARBANDINFOA band = {};
  band.cbSize = sizeof(band);
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
  band.fStyle = RBBS_CHILDEDGE | style;
  band.hwndChild = child;
  band.cxMinChild = 60;
  band.cyMinChild = minHeight;
  band.cx = width;
  SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

HWND PlainFrame(bool fillBands) {
  HWND frame = MakeFrame("PlainFrame", 20);
  HWND rebar = CreateWindowExA(
      0, REBARCLASSNAMEA, "",
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER, 0, 0,
      0, 0, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND toolbar =
      MakeChild(frame, TOOLBARCLASSNAMEA, "",
                TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 24);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kButtons, 0);
  for (HICON icon : icons) ImageList_ReplaceIcon(images, -1, icon);
  SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  for (int i = 0; i < kButtons; ++i) {
    TBBUTTON button = {};
    button.iBitmap = i;
    button.idCommand = 100 + i;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_AUTOSIZE;
    button.iString = reinterpret_cast<INT_PTR>("Button");
    SendMessageA(toolbar, TB_INSERTBUTTONA, i, reinterpret_cast<LPARAM>(&button));
  }
  SIZE size = {};
  SendMessageA(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  AddPlainBand(rebar, toolbar, size.cx + 16, HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)), 0);
  AddPlainBand(rebar, MakeChild(frame, "Button", "Button band", BS_PUSHBUTTON, 24), 130, 24, 0);
  if (fillBands) {
    AddPlainBand(rebar, MakeChild(frame, "ListBox", "", LBS_NOINTEGRALHEIGHT, 40), 300, 200, RBBS_BREAK);
    AddPlainBand(rebar, MakeChild(frame, "ListBox", "", LBS_NOINTEGRALHEIGHT, 40), 200, 200, 0);
  }
  SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(rebar));
  return frame;
}

HWND ToolkitFrame(bool fillBands) {
  using namespace tovrel;
  HWND frame = MakeFrame("ToolkitFrame", 640);
  CreateRebar(-1, frame, nullptr, UISTYLE_OFFICE2007 | RBS_VARHEIGHT | RBS_BANDBORDERS, 0);
  const intptr_t toolbar = CreateToolbar(
      -1, frame, 16, 16,
      UISTYLE_OFFICE2007 | 0x800000 | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN);
  HWND toolbarWindow = GetToolbarWindow(toolbar);
  for (int i = 0; i < kButtons; ++i) AddToolbarButton(100 + i, "Button", icons[i], 0, 0, BTNS_AUTOSIZE);
  SIZE size = {};
  SendMessageA(toolbarWindow, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  AddRebarBand(toolbarWindow, "", size.cx + 16, 60, 0, nullptr, 0);
  AddRebarBand(MakeChild(frame, "Button", "Button band", BS_PUSHBUTTON, 24), "", 130, 60, 24, nullptr, 0);
  if (fillBands) {
    AddRebarBand(MakeChild(frame, "ListBox", "", LBS_NOINTEGRALHEIGHT, 40), "", 300, 60, 40, nullptr,
                 RBBS_BREAK | 0x20000);
    AddRebarBand(MakeChild(frame, "ListBox", "", LBS_NOINTEGRALHEIGHT, 40), "", 200, 60, 40, nullptr,
                 static_cast<int>(RebarFollowBand));
  }
  return frame;
}

void Pump();

const char* const kTitles[] = {"File", "Project", "Help"};

HWND PlainToolbar(HWND parent, bool withImages, int count, const char* const* texts) {
  HWND toolbar =
      MakeChild(parent, TOOLBARCLASSNAMEA, "",
                TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 24);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (withImages) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, count, 0);
    for (int i = 0; i < count; ++i) ImageList_ReplaceIcon(images, -1, icons[i]);
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  }
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    button.iBitmap = withImages ? i : I_IMAGENONE;
    button.idCommand = 100 + i;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_AUTOSIZE;
    button.iString = reinterpret_cast<INT_PTR>(texts[i]);
    SendMessageA(toolbar, TB_INSERTBUTTONA, i, reinterpret_cast<LPARAM>(&button));
  }
  return toolbar;
}

const char* const kButtonTexts[] = {"New", "Open", "Save", "Build"};

// The plain side of the repaint case: a text tool bar standing in for the menu bar, and
// the four-button tool bar in a row of its own.
HWND PlainMenuFrame(HWND& rebar, HWND& toolbar) {
  HWND frame = MakeFrame("PlainFrame", 20);
  rebar = CreateWindowExA(0, REBARCLASSNAMEA, "",
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | CCS_NODIVIDER, 0,
                          0, 0, 0, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND bar = PlainToolbar(frame, false, 3, kTitles);
  AddPlainBand(rebar, bar, 0, HIWORD(SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0)), RBBS_USECHEVRON);
  toolbar = PlainToolbar(frame, true, 4, kButtonTexts);
  AddPlainBand(rebar, toolbar, 0, HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)), RBBS_BREAK);
  SendMessageA(rebar, WM_SIZE, 0, 0);
  return frame;
}

// The toolkit's side, built as the tool's main window builds its frame.
HWND ToolkitMenuFrame(HWND& rebar, HWND& toolbar) {
  using namespace tovrel;
  HWND frame = MakeFrame("ToolkitFrame", 640);
  rebar = GetRebarWindow(CreateRebar(-1, frame, nullptr, UISTYLE_OFFICE2007 | RBS_VARHEIGHT, 0));
  const intptr_t menuBar = CreateMenuBar(-1, frame, UISTYLE_OFFICE2007);
  for (const char* title : kTitles) {
    AddMenuTitle(title);
    AddMenuItem(-1, "Item", icons[0], 0, 0, 0);
    AddMenuSeparator();
    AddMenuItem(-1, "Other item", 0, 0, 0, 0);
  }
  HWND bar = reinterpret_cast<HWND>(GetMenuHandle(menuBar));
  AddRebarBand(bar, "", 0, 100, GetMenuBarHeight(menuBar) - 3, nullptr, RBBS_USECHEVRON);
  toolbar = GetToolbarWindow(CreateToolbar(-1, frame, 16, 16, UISTYLE_OFFICE2007 | 0x800000));
  for (int i = 0; i < 4; ++i) AddToolbarButton(100 + i, kButtonTexts[i], icons[i], icons[i], icons[i], BTNS_AUTOSIZE);
  AddRebarBand(toolbar, "", 0, 0, 0, nullptr, RBBS_BREAK);
  return frame;
}

double TimeRepaints(HWND rebar, int count) {
  const double start = NowNs();
  for (int i = 0; i < count; ++i)
    RedrawWindow(rebar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const double elapsed = NowNs() - start;
  Pump();
  return elapsed / count;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Nanoseconds per resize over one batch; widths and heights walk so that every resize
// changes both.
double TimeResizes(HWND frame, int& step) {
  const double start = NowNs();
  for (int i = 0; i < kResizesPerSample; ++i, ++step) {
    const int width = 420 + (step * 37) % 300, height = 300 + (step * 23) % 160;
    SetWindowPos(frame, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(frame);
  }
  const double elapsed = NowNs() - start;
  Pump();
  return elapsed / kResizesPerSample;
}

}  // namespace

int main(int argc, char** argv) {
  const int samples = argc > 1 ? std::max(3, atoi(argv[1])) : 15;
  InitToolkit();
  StartToolkit();
  for (int i = 0; i < kButtons; ++i) icons[i] = MakeIcon(RGB(40 * i, 200 - 30 * i, 120));
  WNDCLASSEXA cls = {};
  cls.cbSize = sizeof(cls);
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  cls.lpfnWndProc = PlainProc;
  cls.lpszClassName = "PlainFrame";
  RegisterClassExA(&cls);
  cls.lpfnWndProc = ToolkitProc;
  cls.lpszClassName = "ToolkitFrame";
  RegisterClassExA(&cls);

  int status = 0;
  for (const bool fillBands : {false, true}) {
    HWND plain = PlainFrame(fillBands), toolkit = ToolkitFrame(fillBands);
    Pump();
    std::vector<double> runs, baselines;
    int plainStep = 0, toolkitStep = 0;
    TimeResizes(plain, plainStep);  // warm-up of both sides
    TimeResizes(toolkit, toolkitStep);
    for (int s = 0; s < samples; ++s) {
      baselines.push_back(TimeResizes(plain, plainStep));
      runs.push_back(TimeResizes(toolkit, toolkitStep));
    }
    const double run = Median(runs), baseline = Median(baselines), ratio = run / baseline;
    const bool met = ratio <= kGoal;
    if (!met) status = 1;
    printf("row %-38s case_ns=%.0f baseline_ns=%.0f ratio=%.2f goal=%.2f %s\n",
           fillBands ? "resize, fill and follow bands" : "resize, tool bar and button bands", run, baseline, ratio,
           kGoal, met ? "met" : "missed");
    fflush(stdout);
    DestroyWindow(plain);
    tovrel::FreeRebar(-1);
    tovrel::FreeToolbar(-1);
    DestroyWindow(toolkit);
    Pump();
  }
  {
    HWND plainRebar = nullptr, plainToolbar = nullptr, toolkitRebar = nullptr, toolkitToolbar = nullptr;
    HWND plain = PlainMenuFrame(plainRebar, plainToolbar);
    HWND toolkit = ToolkitMenuFrame(toolkitRebar, toolkitToolbar);
    Pump();
    // No pointer moves on the benchmark's display, so the hot button stays hot.
    SendMessageA(plainToolbar, TB_SETHOTITEM, 1, 0);
    SendMessageA(toolkitToolbar, TB_SETHOTITEM, 1, 0);
    const int perSample = (kRepaints + samples - 1) / samples;
    std::vector<double> runs, baselines;
    TimeRepaints(plainRebar, perSample);  // warm-up: the toolkit fills its caches here
    TimeRepaints(toolkitRebar, perSample);
    for (int s = 0; s < samples; ++s) {
      baselines.push_back(TimeRepaints(plainRebar, perSample));
      runs.push_back(TimeRepaints(toolkitRebar, perSample));
    }
    const bool hot = SendMessageA(toolkitToolbar, TB_GETHOTITEM, 0, 0) == 1;
    const double run = Median(runs), baseline = Median(baselines), ratio = run / baseline;
    const bool met = ratio <= kRepaintGoal && hot;
    if (!met) status = 1;
    printf("row %-38s case_ns=%.0f baseline_ns=%.0f ratio=%.2f goal=%.2f %s\n", "repaint, menu bar and hot button", run,
           baseline, ratio, kRepaintGoal,
           met   ? "met"
           : hot ? "missed"
                 : "missed (the button lost its hot state)");
    fflush(stdout);
    DestroyWindow(plain);
    DestroyWindow(toolkit);
  }
  if (BenchDropDownOpenings(50)) status = 1;
  return status;
}
