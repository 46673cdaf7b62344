#include "tovrel/foundation/start_up.h"

#include <windows.h>

#include <vector>

#include "common/images.h"
#include "common/requesters.h"
#include "tovrel/foundation/animation_thread.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/gdiplus_api.h"
#include "tovrel/foundation/os_version.h"
#include "tovrel/foundation/process_windows.h"
#include "tovrel/foundation/shared_images.h"
#include "tovrel/foundation/system_libraries.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/foundation/window_tracking.h"

using namespace tovrel;

namespace {

void LoadCursors() {
  const LPCSTR kCursors[TOOLKIT_CURSOR_COUNT] = {IDC_ARROW, IDC_SIZENS, IDC_SIZENS, IDC_HAND, IDC_SIZEWE};
  for (int i = 0; i < TOOLKIT_CURSOR_COUNT; ++i) ToolkitCursors[i] = LoadCursorA(nullptr, kCursors[i]);
}

void SetInitialValues() {
  DraggedBand = -1;
  BandInsertIndex = -2;
  CurrentMenuNumber = -1;
  CurrentMenuHandle = -1;
  CurrentRebar = -1;
  CurrentToolbar = -1;
  KeyboardTitleIndex = -1;
  OpenTitleIndex = -1;
  MenuImageWidth = 16;
  MenuImageHeight = 16;
}

HFONT MakeMenuFont() {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
  return CreateFontIndirectA(&metrics.lfMenuFont);
}

void FindAlphaBlend() {
  // Kept open for the rest of the run: painters call through the address at any time.
  HMODULE gdi32 = OpenToolkitLibrary("Gdi32.dll");
  if (!gdi32) {
    MessageRequester("Error!", "Can't open Gdi32.dll", MB_ICONERROR);
    return;
  }
  FindToolkitFunction(gdi32, "GdiAlphaBlend", GdiAlphaBlendFunction);
}

}  // namespace

int InitToolkit() {
  // The lists, maps and locks exist from the program's start.
  InitColourTables();
  RegisterPngDecoder();
  RegisterJpegDecoder();
  DefaultToolbarImage = MakeEmptyIcon();
  GlyphImageLists[GLYPH_CHECK] = MakeGlyphImageList(kCheckMarkRows);
  GlyphImageLists[GLYPH_RADIO] = MakeGlyphImageList(kRadioMarkRows);
  LoadCursors();
  SetInitialValues();
  ToolkitFont = MakeMenuFont();
  BOOL dropShadow = FALSE;
  SystemDropShadow = SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &dropShadow, 0) && dropShadow;
  OsVersionCode = RunningOsVersionCode();
  ComctlVersion = ReadComctlVersion();
  FindAlphaBlend();
  LoadUxTheme();
  LoadDwmApi();
  return 0;
}

int StartToolkit() {
  if (ToolkitStarted) return 0;
  InstallWindowCreationHook();
  LoadGdiPlus();
  ToolkitStarted = 1;
  AnimationThreadHandle = CreateThread(nullptr, 0, AnimationThreadMain, nullptr, 0, nullptr);
  return 0;
}

namespace {

// Gives the windows that host bars, tool bars and rebars their previous procedure back. A
// window that is gone, or whose procedure was replaced again on top of the toolkit's, is
// left as it is: putting the old procedure back would cut out the later one.
// An entry stays while its window still runs the toolkit's procedure, which passes messages
// on only through the entry.
void RestoreSubclassedParents() {
  std::vector<const SubclassEntry*> restored;
  for (const SubclassEntry& entry : SubclassList) {
    if (!IsWindow(entry.window)) {
      restored.push_back(&entry);
      continue;
    }
    if (!entry.previousProc) continue;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(entry.window, GWLP_WNDPROC)) != entry.newProc) continue;
    SetWindowLongPtrA(entry.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.previousProc));
    restored.push_back(&entry);
  }
  for (const SubclassEntry* entry : restored) SubclassList.Delete(entry);
}

}  // namespace

int ShutdownToolkit() {
  if (AnimationThreadHandle) StopAnimationThread(AnimationThreadHandle);
  EnumWindows(HideProcessWindowCallback, static_cast<LPARAM>(GetCurrentProcessId()));
  FreeEveryComponent();
  for (HHOOK* hook : {&CallWndProcHookHandle, &MenuKeyboardHookHandle, &ShortcutHookHandle}) {
    if (*hook) UnhookWindowsHookEx(*hook);
    *hook = nullptr;
  }
  RestoreSubclassedParents();
  RestoreTrackedWindows();
  EnumWindows(DestroyProcessWindowCallback, static_cast<LPARAM>(GetCurrentProcessId()));
  FreeUxTheme();
  FreeGdiPlus();
  FreeDwmApi();
  return 0;
}
