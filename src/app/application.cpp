// Start-up, the single-instance check and the event loop of the authoring tool.
#include "app/application.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/colouriser/colouriser.h"
#include "app/commands.h"
#include "app/controls.h"
#include "app/exbar/exbar.h"
#include "app/frame.h"
#include "app/mainwindow.h"
#include "app/paths.h"
#include "app/project_state.h"
#include "common/files.h"
#include "common/dpi.h"
#include "common/gui.h"
#include "common/images.h"
#include "common/scoped.h"
#include "tovrel/tovrel.h"

using namespace ctl;

namespace {

HANDLE InstanceMutex = nullptr;
int LastLaidOutRebarHeight = 0;

bool HasSelectedRow(int list) { return GetControlState(list) != -1; }

void Enable(int control, bool enabled) { DisableControl(control, !enabled); }

}  // namespace

int IsInstanceRunning(const char* name) {
  ScopedHandle m(CreateMutexA(nullptr, TRUE, name));
  DWORD error = GetLastError();
  if (!m || error != ERROR_SUCCESS) {
    if (m) ReleaseMutex(m.get());
    return 1;
  }
  InstanceMutex = m.release();
  return 0;
}

void ReleaseInstanceMutex() {
  if (!InstanceMutex) return;
  ReleaseMutex(InstanceMutex);
  CloseHandle(InstanceMutex);
  InstanceMutex = nullptr;
}

void UpdateControlStatesBeforeDispatch(int eventWindow) {
  Enable(kRemoveAllFiles, CountControlItems(kFiles) > 0);
  bool variable = HasSelectedRow(kVariables);
  Enable(kEditVariable, variable);
  Enable(kRemoveVariable, variable);
  UpdateDialogOkStates(eventWindow);
}

void UpdateControlStatesAfterDispatch() {
  bool run = GetControlState(kRunProgram) == 1;
  bool reboot = GetControlState(kReboot) == 1;
  // Each box is disabled only while the other is checked and it is not checked itself:
  // a project saved with both checked must still let the user clear either.
  Enable(kReboot, !run || reboot);
  Enable(kRunProgram, !reboot || run);
  bool zip = GetControlState(kUseZip) == 1;
  Enable(kFiles, !zip);
  Enable(kZipPath, zip);
  Enable(kZipButton, zip);
  bool uninstaller = GetControlState(kIncludeUninstaller) == 1;
  Enable(kUninstallWebsite, uninstaller && GetControlState(kVisitWebsite) == 1);
  Enable(kVisitWebsite, uninstaller);
  Enable(kUninstallerName, uninstaller);
  bool dll = GetControlState(kLoadDll) == 1;
  Enable(kDllPath, dll);
  Enable(kDllButton, dll);
  Enable(kRunProgramLine, run);
  bool command = HasSelectedRow(kCommands);
  Enable(kEditCommand, command);
  Enable(kRemoveCommand, command);
  Enable(kRemoveFile, HasSelectedRow(kFiles));
  bool registry = HasSelectedRow(kRegistry);
  Enable(kRemoveRegistry, registry);
  Enable(kEditRegistry, registry);
  bool shortcut = HasSelectedRow(kShortcuts);
  Enable(kRemoveShortcut, shortcut);
  Enable(kEditShortcut, shortcut);
  bool sound = GetControlState(kPlaySound) == 1;
  Enable(kSplashSound, sound);
  Enable(kSplashSoundButton, sound);
  bool selection = EditorHasSelection(kLicenceEditor);
  Enable(kEditorCut, selection);
  Enable(kEditorCopy, selection);
  Enable(kEditorDelete, selection);
}

void UpdateLanguageDeleteState() {
  bool any = false;
  for (int i = 0, n = CountControlItems(kLanguages); i < n && !any; ++i)
    any = (GetItemState(kLanguages, i) & kItemChecked) != 0;
  Enable(kDeleteLanguage, any);
}

void UpdateRunMenuItem() {
  std::string setup = GetLastSetupPath();
  int64_t size = setup.empty() ? -1 : FileSize(setup);
  SetRunMenuItemEnabled(size >= 0);
}

void HandleExBarClick(int group, int item) {
  static const int panels[] = {kPanelGeneral, kPanelSetup, kPanelDialogs, kPanelSystem, kPanelBuild};
  static const int items[] = {3, 5, 3, 2, 1};
  for (int panel : panels) HideControl(panel, true);
  if (group < 1 || group > 5) return;
  if (item < 1 || item > items[group - 1]) return;
  int panel = panels[group - 1];
  HideControl(panel, false);
  SetPanelTab(panel, item - 1);
}

void LayoutPages() {
  int rebar = MainRebarHeight();
  if (rebar == LastLaidOutRebarHeight) return;
  // The rebar measures itself in pixels; the pages are placed in layout units.
  int top = ScreenToLayout(rebar);
  int client = WindowClientHeight(kMainWindow);
  int status = StatusBarHeight(kStatusBar);
  for (int panel : {kPanelGeneral, kPanelDialogs, kPanelSetup, kPanelSystem, kPanelBuild})
    ResizeControl(panel, kKeepValue, top + 5, kKeepValue, client - top - status - 5);
  ResizeExBar(MainExBar, top, client - top - status);
  LastLaidOutRebarHeight = rebar;
}

[[noreturn]] void RunApplication() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // The author's pictures (wizard preview, and what the build checks it can load) may be
  // either.
  RegisterJpegDecoder();
  RegisterPngDecoder();
  InitControlColouriser();
  SetCurrentDirectoryA(ProgramFolder().c_str());

  const std::string marker = ProgramPath("zktempexe.dat");
  if (FileSize(marker) > 0) DeleteFileA(marker.c_str());
  if (IsInstanceRunning("Zendrikolbar")) {
    if (FileSize(marker) > 0)
      MessageBoxA(nullptr, "You have to restart Zendrikolbar in order for the updates to take effect.", "Zendrikolbar",
                  MB_OK | MB_ICONINFORMATION);
    ExitProcess(0);
  }

  InitToolkit();
  StartToolkit();
  InitExBar();
  BuiltinImages images = LoadBuiltinImages();
  InstallBuildHooks();
  if (!CreateMainWindow(images)) {
    ReleaseInstanceMutex();
    ExitProcess(1);
  }

  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv && argc > 1 && argv[1][0]) {
    int n = WideCharToMultiByte(CP_ACP, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, argv[1], -1, &path[0], n, nullptr, nullptr);
    OpenProjectFromCommandLine(path);
  }
  if (argv) LocalFree(argv);

  // The runtime reports no event until the user does something, so without this pass the
  // window would show every control enabled and the pages half under the rebar until the
  // first click. It does what the first event would.
  UpdateControlStatesBeforeDispatch(kMainWindow);
  UpdateRunMenuItem();
  UpdateLanguageDeleteState();
  UpdateControlStatesAfterDispatch();
  LayoutPages();

  for (;;) {
    int event = WaitWindowEvent();
    int window = EventWindow();
    UpdateControlStatesBeforeDispatch(window);
    if (event == kEventControl) HandleDialogControlEvent(window, EventControl(), EventType());
    if (event == kEventMenu) {
      if (EventMenu() == kMenuExit) break;
      HandleMenuCommand(EventMenu());
    }
    UpdateRunMenuItem();
    if (event == kEventControl) HandlePageControlEvent(window, EventControl(), EventType());
    UpdateLanguageDeleteState();
    if (event == WM_EXBAR_CLICK) {
      const ExBarClickInfo* info = reinterpret_cast<const ExBarClickInfo*>(EventLParam());
      if (info) HandleExBarClick(info->group, info->item);
    }
    UpdateControlStatesAfterDispatch();
    if (event == kEventClose) {
      if (window == kMainWindow) break;
      HandleSecondaryClose(window);
    }
    LayoutPages();
  }
  CloseRuntimeWindow(kMainWindow);
  ReleaseInstanceMutex();
  // The toolkit is not shut down: ending the process frees all it holds.
  ExitProcess(0);
}
