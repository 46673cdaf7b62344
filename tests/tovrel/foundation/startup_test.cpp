// The toolkit's start-up and shutdown. Start-up runs once per process, so each start-up
// configuration runs in a process of its own: the test starts this program again with
// only itself selected, and the copy does the work.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "common/requesters.h"
#include "support/environment.h"
#include "support/pe_imports.h"
#include "support/processes.h"
#include "tovrel/foundation/animation_thread.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_scheme.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/foundation/debug_log.h"
#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/gdiplus_api.h"
#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/start_up.h"
#include "tovrel/foundation/system_libraries.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/foundation/window_tracking.h"

using namespace tovrel;

namespace {

const char kChildVariable[] = "ZK_STARTUP_TEST";

std::string CurrentTestName() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

std::string ThisProgram() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n < MAX_PATH ? n : 0);
}

// True in the copy that is to run the test's body. In the first process, runs the copy
// and reports its failures as this test's.
bool InOwnProcess() {
  const std::string name = CurrentTestName();
  if (Env(kChildVariable) == name) return true;
  ScopedEnv child(kChildVariable, name);
  std::string output;
  DWORD code = 1;
  const bool ran =
      RunCaptured("\"" + ThisProgram() + "\" --gtest_brief=1 --gtest_filter=" + name, 60000, &output, &code);
  EXPECT_TRUE(ran) << output;
  EXPECT_EQ(0u, code) << output;
  return false;
}

#define RUN_IN_OWN_PROCESS() \
  if (!InOwnProcess()) return

// Lines of the debug log, from any thread.
std::mutex gLogLock;
std::vector<std::string> gLog;

void CollectLine(const std::string& line) {
  std::lock_guard<std::mutex> hold(gLogLock);
  gLog.push_back(line);
}

std::vector<std::string> LogLines() {
  std::lock_guard<std::mutex> hold(gLogLock);
  return gLog;
}

int CountOf(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// The animation windows of this process, found among the message-only windows.
int AnimationWindows() {
  int count = 0;
  for (HWND w = nullptr; (w = FindWindowExA(HWND_MESSAGE, w, "Tovrel_Animation Thread", nullptr)) != nullptr;) {
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process == GetCurrentProcessId()) ++count;
  }
  return count;
}

HWND WaitForAnimationWindow() {
  for (int i = 0; i < 200; ++i) {
    ToolkitLock(AnimationMutex);
    HWND window = AnimationWindow;
    ToolkitUnlock(AnimationMutex);
    if (window) return window;
    Sleep(10);
  }
  return nullptr;
}

// What a 7 x 7 picture leaves on white: one row of '#' (black) and '.' (white) per line.
std::vector<std::string> DrawnRows(HIMAGELIST list) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 7, 7);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, 7, 7};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(list, 0, dc, 0, 0, ILD_TRANSPARENT);
  std::vector<std::string> rows;
  for (int y = 0; y < 7; ++y) {
    std::string row;
    for (int x = 0; x < 7; ++x) row += GetPixel(dc, x, y) == RGB(0, 0, 0) ? '#' : '.';
    rows.push_back(row);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return rows;
}

// The pixel an icon leaves on a white 1 x 1 bitmap.
COLORREF DrawnOnWhite(HICON icon) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetPixel(dc, 0, 0, RGB(255, 255, 255));
  DrawIconEx(dc, 0, 0, icon, 1, 1, 0, nullptr, DI_NORMAL);
  COLORREF pixel = GetPixel(dc, 0, 0);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixel;
}

struct MessageCall {
  std::string title;
  std::string text;
  unsigned flags;
};
std::vector<MessageCall> gMessages;

int RecordMessage(const std::string& title, const std::string& text, unsigned flags) {
  gMessages.push_back({title, text, flags});
  return IDOK;
}

int gStartupCalls = 0;
using Startup = int(WINAPI*)(ULONG_PTR*, const GdiPlusStartupInput*, GdiPlusStartupOutput*);

int WINAPI FailingStartup(ULONG_PTR*, const GdiPlusStartupInput*, GdiPlusStartupOutput*) {
  ++gStartupCalls;
  return 1;  // GenericError
}

// Every library, every function: the system's.
LibrarySeamForTest gSeam;

void StartWith(LibrarySeamForTest& seam) {
  SetDebugLogSink(CollectLine);
  SetLibrarySeamForTest(&seam);
  EXPECT_EQ(0, InitToolkit());
  EXPECT_EQ(0, StartToolkit());
}

TEST(StartUp, AllPresentOnThePinnedPrefix) {
  RUN_IN_OWN_PROCESS();
  StartWith(gSeam);

  // The facts of the pinned prefix (Windows 10, the light style), asserted once here.
  EXPECT_EQ(100, OsVersionCode);
  EXPECT_EQ(1, ThemesActive);
  EXPECT_NE(nullptr, ThemeHandles[THEME_SCROLLBAR]);
  EXPECT_EQ(nullptr, ThemeHandles[THEME_EXPLORERBAR]);
  EXPECT_EQ(0xFA9632u, ThemeBaseColour);
  EXPECT_EQ(6, ResolveColourFamily(CurrentThemeColourInputs()));
  EXPECT_EQ("blue", ColourScheme);
  EXPECT_FALSE(SystemDropShadow);
  BOOL composition = FALSE;
  ASSERT_NE(nullptr, DwmApi.dwmIsCompositionEnabled);
  DwmApi.dwmIsCompositionEnabled(&composition);
  EXPECT_EQ(composition, DwmCompositionEnabled);
  // Wine's version 6 controls, which the tool's manifest chooses, report 5.81.
  EXPECT_EQ(5u, ComctlVersion.major);
  EXPECT_EQ(81u, ComctlVersion.minor);
  EXPECT_EQ(reinterpret_cast<void (*)()>(GdiAlphaBlendFunction),
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "GdiAlphaBlend")));
  EXPECT_NE(0u, GdiPlusApi.token);

  // The values the rest of the toolkit starts from.
  EXPECT_EQ(0, MenuBackgroundCacheEnabled);
  EXPECT_EQ(-1, DraggedBand);
  EXPECT_EQ(-2, BandInsertIndex);
  EXPECT_EQ(-1, CurrentMenuNumber);
  EXPECT_EQ(-1, CurrentMenuHandle);
  EXPECT_EQ(-1, CurrentRebar);
  EXPECT_EQ(-1, CurrentToolbar);
  EXPECT_EQ(-1, KeyboardTitleIndex);
  EXPECT_EQ(-1, OpenTitleIndex);
  EXPECT_EQ(16, MenuImageWidth);
  EXPECT_EQ(16, MenuImageHeight);
  EXPECT_EQ(-2, Office2003RebarBackground);
  EXPECT_EQ(-2, Office2007RebarBackground);
  EXPECT_EQ(147u, ColourNameMap.Size());
  EXPECT_EQ(1, ToolkitStarted);

  const LPCSTR cursors[TOOLKIT_CURSOR_COUNT] = {IDC_ARROW, IDC_SIZENS, IDC_SIZENS, IDC_HAND, IDC_SIZEWE};
  for (int i = 0; i < TOOLKIT_CURSOR_COUNT; ++i) {
    EXPECT_NE(nullptr, ToolkitCursors[i]) << i;
    EXPECT_EQ(LoadCursorA(nullptr, cursors[i]), ToolkitCursors[i]) << i;
  }

  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  LOGFONTA font = {};
  ASSERT_EQ(static_cast<int>(sizeof(font)), GetObjectA(ToolkitFont, sizeof(font), &font));
  EXPECT_STREQ(metrics.lfMenuFont.lfFaceName, font.lfFaceName);
  EXPECT_EQ(metrics.lfMenuFont.lfHeight, font.lfHeight);
  EXPECT_EQ(metrics.lfMenuFont.lfWeight, font.lfWeight);

  // The empty picture: one 32-bit pixel that leaves what is below it.
  ICONINFO icon = {};
  ASSERT_TRUE(GetIconInfo(DefaultToolbarImage, &icon));
  BITMAP colour = {};
  GetObjectA(icon.hbmColor, sizeof(colour), &colour);
  EXPECT_EQ(1, colour.bmWidth);
  EXPECT_EQ(1, colour.bmHeight);
  EXPECT_EQ(32, colour.bmBitsPixel);
  DeleteObject(icon.hbmColor);
  DeleteObject(icon.hbmMask);
  EXPECT_EQ(RGB(255, 255, 255), DrawnOnWhite(DefaultToolbarImage));

  // The marks, each the only picture of its 7 x 7 list, drawn in black where they show.
  const std::vector<std::string> check = {"......#", ".....##", "#...##.", "##.##..", ".###...", "..#....", "......."};
  const std::vector<std::string> radio = {".......", "..###..", ".#####.", ".#####.", ".#####.", "..###..", "......."};
  for (int list = 0; list < GLYPH_LIST_COUNT; ++list) {
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(GlyphImageLists[list], &width, &height)) << list;
    EXPECT_EQ(7, width);
    EXPECT_EQ(7, height);
    EXPECT_EQ(1, ImageList_GetImageCount(GlyphImageLists[list]));
  }
  EXPECT_EQ(check, DrawnRows(GlyphImageLists[GLYPH_CHECK]));
  EXPECT_EQ(radio, DrawnRows(GlyphImageLists[GLYPH_RADIO]));

  // The animation thread with its message-only window.
  EXPECT_NE(nullptr, AnimationThreadHandle);
  HWND animation = WaitForAnimationWindow();
  ASSERT_NE(nullptr, animation);
  EXPECT_EQ(1, AnimationWindows());
  EXPECT_EQ(1, CountOf(LogLines(), "Animation thread started..."));
}

TEST(StartUp, WithoutTheVisualStyleLibrary) {
  RUN_IN_OWN_PROCESS();
  LibrarySeamForTest seam;
  seam.missingLibraries = {"UxTheme.dll"};
  StartWith(seam);
  EXPECT_EQ(0, ThemesActive);
  for (HTHEME handle : ThemeHandles) EXPECT_EQ(nullptr, handle);
  EXPECT_EQ(nullptr, UxThemeApi.drawThemeBackground);
  EXPECT_EQ(9, ResolveColourFamily(CurrentThemeColourInputs())) << "the grey column";
  // The rest starts as usual.
  EXPECT_NE(nullptr, ToolkitFont);
  EXPECT_NE(nullptr, DwmApi.library);
  EXPECT_NE(0u, GdiPlusApi.token);
  EXPECT_NE(nullptr, WaitForAnimationWindow());
}

TEST(StartUp, WithoutTheCompositionLibrary) {
  RUN_IN_OWN_PROCESS();
  LibrarySeamForTest seam;
  seam.missingLibraries = {"dwmapi.dll"};
  StartWith(seam);
  EXPECT_EQ(nullptr, DwmApi.library);
  EXPECT_EQ(nullptr, DwmApi.dwmIsCompositionEnabled);
  EXPECT_FALSE(DwmCompositionEnabled);
  EXPECT_EQ(1, ThemesActive);
  EXPECT_NE(nullptr, WaitForAnimationWindow());
}

TEST(StartUp, AFailingGraphicsStartIsTriedAgainLater) {
  RUN_IN_OWN_PROCESS();
  LibrarySeamForTest seam;
  seam.replacedFunctions["GdiplusStartup"] = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&FailingStartup));
  StartWith(seam);
  EXPECT_EQ(1, gStartupCalls);
  EXPECT_EQ(0u, GdiPlusApi.token);
  EXPECT_EQ(1, seam.closes["gdiplus.dll"]) << "a failed start holds nothing";
  EXPECT_EQ(1, ToolkitStarted);
  EXPECT_NE(nullptr, WaitForAnimationWindow());
  // A painter's call tries again.
  EXPECT_EQ(0u, LoadGdiPlus());
  EXPECT_EQ(2, gStartupCalls);
  EXPECT_EQ(2, seam.closes["gdiplus.dll"]);
}

TEST(StartUp, WithoutGdi32TheUserIsToldAndStartUpGoesOn) {
  RUN_IN_OWN_PROCESS();
  RequesterHooks hooks;
  hooks.message = RecordMessage;
  SetRequesterHooks(hooks);
  LibrarySeamForTest seam;
  seam.missingLibraries = {"Gdi32.dll"};
  StartWith(seam);
  ASSERT_EQ(1u, gMessages.size());
  EXPECT_EQ("Error!", gMessages[0].title);
  EXPECT_EQ("Can't open Gdi32.dll", gMessages[0].text);
  EXPECT_EQ(16u, gMessages[0].flags);
  EXPECT_EQ(nullptr, GdiAlphaBlendFunction);
  // The steps after it ran.
  EXPECT_EQ(1, ThemesActive);
  EXPECT_NE(nullptr, DwmApi.library);
  EXPECT_NE(nullptr, WaitForAnimationWindow());
}

TEST(StartUp, EveryFunctionAnsweringZeroCrashesNothing) {
  RUN_IN_OWN_PROCESS();
  LibrarySeamForTest seam;
  seam.everyFunctionAnswersZero = true;
  StartWith(seam);
  EXPECT_EQ(0u, ComctlVersion.major);
  EXPECT_EQ(0, ThemesActive);
  for (HTHEME handle : ThemeHandles) EXPECT_EQ(nullptr, handle);
  EXPECT_FALSE(DwmCompositionEnabled);
  EXPECT_EQ(0u, GdiPlusApi.token);
  EXPECT_NE(nullptr, WaitForAnimationWindow());
  EXPECT_EQ(0, ShutdownToolkit());
}

TEST(StartUp, ASecondStartDoesNothing) {
  RUN_IN_OWN_PROCESS();
  StartWith(gSeam);
  const HANDLE thread = AnimationThreadHandle;
  const ULONG_PTR token = GdiPlusApi.token;
  ASSERT_NE(nullptr, WaitForAnimationWindow());
  EXPECT_EQ(0, StartToolkit());
  Sleep(200);
  EXPECT_EQ(thread, AnimationThreadHandle);
  EXPECT_EQ(token, GdiPlusApi.token);
  EXPECT_EQ(1, AnimationWindows());
  EXPECT_EQ(1, CountOf(LogLines(), "Animation thread started..."));
}

// A component's free as shutdown calls it, recorded in the debug log's order.
int RecordMenuFree(intptr_t which) {
  CollectLine("FreeMenu " + std::to_string(which));
  return 1;
}

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOWWINDOW && !wParam) CollectLine("hidden");
  if (message == WM_DESTROY) CollectLine("destroyed");
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenVisibleWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "StartUpTestWindow";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "StartUpTestWindow", "start-up", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(Shutdown, RightAfterTheStart) {
  RUN_IN_OWN_PROCESS();
  HWND window = OpenVisibleWindow();
  ASSERT_NE(nullptr, window);
  LibrarySeamForTest seam;
  StartWith(seam);
  SetComponentFree(COMPONENT_MENU, RecordMenuFree);
  // A hook as the shortcut code installs it.
  ShortcutHookHandle = SetWindowsHookExA(
      WH_GETMESSAGE,
      [](int code, WPARAM wParam, LPARAM lParam) { return CallNextHookEx(nullptr, code, wParam, lParam); }, nullptr,
      GetCurrentThreadId());
  const HHOOK hook = ShortcutHookHandle;
  ASSERT_NE(nullptr, hook);
  // At once: the thread may not have its window yet, and must still end.
  EXPECT_EQ(0, ShutdownToolkit());

  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(AnimationThreadHandle, &code));
  EXPECT_EQ(kAnimationThreadExitCode, code);
  EXPECT_EQ(nullptr, AnimationWindow);
  EXPECT_FALSE(IsWindow(window)) << "the process's windows are destroyed";
  EXPECT_EQ(nullptr, ShortcutHookHandle);
  EXPECT_FALSE(UnhookWindowsHookEx(hook)) << "already removed";

  std::vector<std::string> steps;
  for (const std::string& line : LogLines())
    if (line.rfind("Animation thread", 0) != 0) steps.push_back(line);
  const std::vector<std::string> expected = {"hidden",       "freed rebars", "freed toolbars",     "freed buttons",
                                             "FreeMenu -1",  "freed menus",  "freed textcontrols", "freed splitterexs",
                                             "freed panels", "destroyed"};
  EXPECT_EQ(expected, steps);
  EXPECT_EQ(1, CountOf(LogLines(), "Animation thread closed."));

  // The libraries are closed and nothing points into them.
  EXPECT_EQ(nullptr, UxThemeApi.library);
  for (HTHEME handle : ThemeHandles) EXPECT_EQ(nullptr, handle);
  EXPECT_EQ(nullptr, DwmApi.library);
  EXPECT_EQ(0u, GdiPlusApi.token);
  EXPECT_EQ(seam.opens["uxtheme.dll"], seam.closes["uxtheme.dll"]);
  EXPECT_EQ(seam.opens["dwmapi.dll"], seam.closes["dwmapi.dll"]);
  EXPECT_EQ(seam.opens["gdiplus.dll"], seam.closes["gdiplus.dll"]);
}

// Says, as the window goes, whether it had its own procedure back by then.
LRESULT CALLBACK ProcedureCheckingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    const bool own = GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(ProcedureCheckingWindowProc);
    CollectLine(own ? "destroyed with its own procedure" : "destroyed still subclassed");
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Shutdown, TrackedWindowsHaveTheirProceduresBackBeforeTheyGo) {
  RUN_IN_OWN_PROCESS();
  StartWith(gSeam);
  const HHOOK hook = CallWndProcHookHandle;
  ASSERT_NE(nullptr, hook);
  EXPECT_EQ(0, StartToolkit());
  EXPECT_EQ(hook, CallWndProcHookHandle) << "one hook";
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ProcedureCheckingWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "StartUpTrackedWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "StartUpTrackedWindow", "tracked", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(TrackedWindowProc), GetWindowLongPtrA(window, GWLP_WNDPROC));
  EXPECT_NE(nullptr, TrackedWindowMap.Find(HandleKey(window)));

  EXPECT_EQ(0, ShutdownToolkit());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(1, CountOf(LogLines(), "destroyed with its own procedure"));
  EXPECT_EQ(nullptr, CallWndProcHookHandle);
}

TEST(Shutdown, AfterTheThreadEndedItAsksOnce) {
  RUN_IN_OWN_PROCESS();
  StartWith(gSeam);
  HWND animation = WaitForAnimationWindow();
  ASSERT_NE(nullptr, animation);
  PostMessageA(animation, WM_CLOSE, 0, 0);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(AnimationThreadHandle, 5000));
  EXPECT_EQ(1, StopAnimationThread(AnimationThreadHandle));
  EXPECT_EQ(0, ShutdownToolkit());
}

TEST(Shutdown, AThreadThatNeverEndsIsGivenUpAfter101Attempts) {
  // A thread that is no animation thread ignores every request.
  HANDLE sleeper = CreateThread(
      nullptr, 0, [](LPVOID) -> DWORD { return SleepEx(INFINITE, TRUE); }, nullptr, 0, nullptr);
  ASSERT_NE(nullptr, sleeper);
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(101, StopAnimationThread(sleeper));
  EXPECT_GE(GetTickCount64() - start, 900u) << "10 ms apart";
  QueueUserAPC([](ULONG_PTR) {}, sleeper, 0);
  WaitForSingleObject(sleeper, 5000);
  CloseHandle(sleeper);
}

// None of the three libraries is imported, by the tool or by the toolkit's own tests:
// each may be missing on a user's machine.
TEST(Imports, NeitherTheToolNorTheToolkitImportsTheDrawingLibraries) {
  for (const std::string& program : {ThisProgram(), std::string("Zendrikolbar.exe")}) {
    const std::vector<std::string> imports = ImportedLibraries(program);
    ASSERT_FALSE(imports.empty()) << program;
    for (const char* library : {"uxtheme.dll", "dwmapi.dll", "gdiplus.dll"})
      EXPECT_EQ(imports.end(), std::find(imports.begin(), imports.end(), library)) << program << " imports " << library;
  }
}

}  // namespace
