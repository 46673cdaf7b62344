// The main window's commands.
#include "app/commands.h"

#include <windows.h>
#include <richedit.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/mainwindow.h"
#include "app/paths.h"
#include "app/project/project_binding.h"
#include "app/project_state.h"
#include "common/failure_log.h"
#include "common/files.h"
#include "common/format.h"
#include "common/path_split.h"
#include "common/requesters.h"
#include "app/dialogs/dialogs.h"
#include "app/editor/editor_commands.h"
#include "app/windows/secondary_windows.h"
#include "app/windows/web_links.h"
#include "common/gui.h"
#include "app/build/build_commands.h"
#include "builder/cabinet_writer.h"
#include "builder/zip_archiver.h"

using namespace ctl;

// ---- row lists: their Add, Edit and Remove buttons (row edit dialogs) ----------------
namespace {

struct RowListButtons {
  int list, add, edit, remove;
  void (*open)(int edit);
};

const RowListButtons kRowListButtons[] = {
    {kRegistry, kAddRegistry, kEditRegistry, kRemoveRegistry, OpenRegistryDialog},
    {kShortcuts, kAddShortcut, kEditShortcut, kRemoveShortcut, OpenShortcutDialog},
    {kVariables, kAddVariable, kEditVariable, kRemoveVariable, OpenVariableDialog},
    {kCommands, kAddCommand, kEditCommand, kRemoveCommand, OpenCommandDialog},
};

bool HandleRowListButton(int control) {
  for (const RowListButtons& b : kRowListButtons) {
    if (control == b.add || control == b.edit) {
      b.open(control == b.edit ? 1 : 0);
      return true;
    }
    if (control == b.remove) {
      int row = GetControlState(b.list);
      if (row >= 0) RemoveControlItem(b.list, row);
      return true;
    }
  }
  return false;
}

}  // namespace
// ---- end of row lists ----------------------------------------------------------------

// ---- project, languages, files, requesters and links ---------------------------------
namespace {

const char kTitle[] = "Zendrikolbar";
const char kProjectPatterns[] = "Zendrikolbar Project File (*.zkp)|*.zkp";

// Where the next Add Files and Add Folder requesters start; kept until the program ends.
std::string LastFileFolder;
std::string LastFolder;

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string WithExtension(const std::string& path, const std::string& lowerExtension) {
  return EndsWith(Lower(path), lowerExtension) ? path : path + lowerExtension;
}

// A file exists for the commands when its size query reports neither missing nor folder.
bool FileExists(const std::string& path) { return !path.empty() && FileSize(path) >= 0; }

void ShowError(const std::string& text) { MessageRequester(kTitle, text, MB_OK | MB_ICONERROR); }

void NewProject() {
  if (MessageRequester(kTitle, "Are you sure that you want to close the current project?",
                       MB_YESNO | MB_ICONQUESTION) == IDYES)
    ResetProject();
}

// A file that cannot be loaded leaves the open project, its path and its title alone.
void OpenProject() {
  std::string path = OpenFileRequester("Open...", "", "Zendrikolbar Project File (*.zkp)|*zkp", 0);
  if (path.empty()) return;
  std::string error;
  if (!LoadProject(path, &error)) {
    ReportFailureAnsi("load the project", path, 0, error);
    ShowError(error.empty() ? "The project file \"" + path + "\" cannot be opened." : error);
  }
}

// The project file is replaced only by a complete new one, so a failed save keeps the
// old file; the user is told, and an untitled project stays untitled.
bool WriteProject(const std::string& path) {
  std::string error;
  if (SaveProject(path, &error)) return true;
  ReportFailureAnsi("save the project", path, 0, error);
  ShowError(error.empty() ? "The project cannot be saved to \"" + path + "\"." : error);
  return false;
}

void SaveProjectAs() {
  std::string path = SaveFileRequester("Save As...", "", kProjectPatterns, 0);
  if (path.empty()) return;
  path = WithExtension(path, ".zkp");
  if (FileExists(path) &&
      MessageRequester(kTitle, "Do you want to overwrite the existing file?", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  if (!WriteProject(path)) return;
  ProjectPath = path;
  SetWindowTitle(kMainWindow, "Zendrikolbar - " + path);
}

void SaveCurrentProject() {
  if (FileExists(ProjectPath))
    WriteProject(ProjectPath);
  else
    SaveProjectAs();
}

bool SameFile(const std::string& a, const std::string& b) {
  char fullA[MAX_PATH * 2], fullB[MAX_PATH * 2];
  DWORD na = GetFullPathNameA(a.c_str(), sizeof(fullA), fullA, nullptr);
  DWORD nb = GetFullPathNameA(b.c_str(), sizeof(fullB), fullB, nullptr);
  return na && nb && na < sizeof(fullA) && nb < sizeof(fullB) && lstrcmpiA(fullA, fullB) == 0;
}

// A language is listed only once its file is in the Languages folder.
void ImportLanguage() {
  std::string path = OpenFileRequester("Import Language...", "", "Zendrikolbar Language File (*.zkl)|*.zkl", 0);
  if (path.empty() || FileSize(path) <= 0) return;
  std::string name = PathFileName(path);
  std::string target = ProgramPath("Languages\\" + name);
  if (!SameFile(path, target) && !CopyFileA(path.c_str(), target.c_str(), FALSE)) {
    ReportFailureAnsi("copy the language file", target, GetLastError());
    ShowError("The language file could not be copied to \"" + target + "\".");
    return;
  }
  std::string language = name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
  for (int i = 0, n = CountControlItems(kLanguages); i < n; ++i)
    if (GetItemText(kLanguages, i) == language) return;
  AddControlItem(kLanguages, -1, language);
}

void DeleteCheckedLanguages() {
  for (int i = 0; i < CountControlItems(kLanguages);) {
    if (!(GetItemState(kLanguages, i) & kItemChecked)) {
      ++i;
      continue;
    }
    DeleteFileA(ProgramPath("Languages\\" + GetItemText(kLanguages, i) + ".zkl").c_str());
    RemoveControlItem(kLanguages, i);
  }
}

void AddFiles() {
  std::vector<std::string> paths;
  OpenFileRequester("Add Files...", LastFileFolder, "All Files (*.*)|*.*", 0, &paths);
  if (paths.empty()) return;
  LastFileFolder = PathFolder(paths.front());
  for (const std::string& path : paths) {
    int64_t size = FileSize(path);
    AddControlItem(kFiles, -1, "\n" + path + "\n" + FormatSize(size > 0 ? size : 0) + "\n" + PathExtension(path));
  }
}

void AddFolder() {
  std::string folder = PathRequester("Add Folder...", LastFolder);
  if (folder.empty()) return;
  LastFolder = folder;
  AddControlItem(kFiles, -1, "\n" + folder + "\nn/a\n[Folder]");
}

void RemoveSelectedFiles() {
  for (int i = CountControlItems(kFiles) - 1; i >= 0; --i)
    if (GetItemState(kFiles, i) & kItemSelected) RemoveControlItem(kFiles, i);
}

void StartUpdater() {
  std::string updater = ProgramPath("Update.exe");
  if (FileExists(updater))
    ShellExecuteA(nullptr, "open", updater.c_str(), nullptr, ProgramFolder().c_str(), SW_SHOWNORMAL);
}

// The requesters that fill a path field of the main window.
struct FieldRequester {
  int button;
  int field;
  const char* title;
  const char* patterns;
  bool startInImages;
};

const FieldRequester kFieldRequesters[] = {
    {kWizardImageButton, kWizardImage, "Wizard Image...", "Image Files (*.bmp,*.jpg,)|*.bmp;*.jpg", true},
    {kHeaderImageButton, kHeaderImage, "Header Image...", "Image Files (*.bmp,*.jpg)|*.bmp;*.jpg", true},
    {kIconImageButton, kIconImage, "Install-icon Image", "Image Files (*.bmp,*.jpg,*.ico)|*.bmp;*.jpg;*.ico", true},
    {kDllButton, kDllPath, "Load DLL...", "Dynamic Link Library (*.dll)|*.dll", false},
    {kZipButton, kZipPath, "Use ZIP file...", "ZIP File (.zip)|*.zip", false},
    {kSplashSoundButton, kSplashSound, "Splash Screen Sound...", "Sound Files (*.wav)|*.wav", false},
    {kSplashImageButton, kSplashImage, "Splash Screen Image...", "Image Files (*.bmp,*.jpg)|*.bmp;*.jpg", false},
};

bool HandleFieldRequester(int control) {
  if (control == kSetupFileButton) {
    std::string path = SaveFileRequester("Save...", "", "Executable (*.exe)|*.exe", 0);
    if (!path.empty()) SetControlText(kSetupFile, WithExtension(path, ".exe"));
    return true;
  }
  for (const FieldRequester& r : kFieldRequesters) {
    if (control != r.button) continue;
    std::string path = OpenFileRequester(r.title, r.startInImages ? ProgramPath("Images\\") : "", r.patterns, 0);
    if (!path.empty()) SetControlText(r.field, path);
    return true;
  }
  return false;
}

bool HandleLink(int control) {
  if (control == kMoreLanguages)
    OpenWebAddress(kMakerWebsite);
  else if (control == kUpdaterManual)
    OpenWebAddress(kUpdaterManualAddress);
  else
    return false;
  return true;
}

bool HandleProjectPageButton(int control) {
  switch (control) {
    case kImportLanguage:
      ImportLanguage();
      return true;
    case kDeleteLanguage:
      DeleteCheckedLanguages();
      return true;
    case kAddFiles:
      AddFiles();
      return true;
    case kAddFolder:
      AddFolder();
      return true;
    case kRemoveFile:
      RemoveSelectedFiles();
      return true;
    case kRemoveAllFiles:
      ClearControlItems(kFiles);
      return true;
    case kEnvironmentVariables:
      MessageRequester("Environment Variables",
                       "ZK_INSTALLPATH: installation path\n"
                       "ZK_LANGUAGE: setup language chosen by the user\n"
                       "ZK_USERNAME: username entered by the user\n"
                       "ZK_ORGANISATION: name of the organisation entered by the user",
                       MB_OK | MB_ICONINFORMATION);
      return true;
    case kBuildButton:
      StartBuild(false);  // build commands
      return true;
  }
  return false;
}

}  // namespace
// ---- end of project, languages, files, requesters and links --------------------------

void HandleMenuCommand(int id) {
  switch (id) {
    case kMenuNew:
      NewProject();
      break;
    case kMenuOpen:
      OpenProject();
      break;
    case kMenuSave:
      SaveCurrentProject();
      break;
    case kMenuSaveAs:
      SaveProjectAs();
      break;
    case kMenuImportLanguage:
      ImportLanguage();
      break;
    case kMenuBuild:
      StartBuild(true);
      break;  // build commands
    case kMenuRun:
      RunLastSetup();
      break;
    case kMenuHelp:
      MessageRequester(kTitle,
                       "There is currently no help available. Please visit the Zendrikolbar forum for any "
                       "questions.",
                       MB_OK);
      break;
    case kMenuVisitWebsite:
      OpenWebAddress(kMakerWebsite);
      break;
    case kMenuUpdate:
      StartUpdater();
      break;
    case kMenuVisitForum:
      OpenWebAddress(kMakerForum);
      break;
    case kMenuAbout:
      OpenAboutWindow();
      break;  // secondary windows
  }
}

void HandleDialogControlEvent(int window, int control, int type) {
  if (HandleRowDialogEvent(window, control, type)) return;                                      // row edit dialogs
  if (HandleSecondaryWindowEvent(window, control, type)) return;                                // About, wizard preview
  if (window == kMainWindow && (HandleFieldRequester(control) || HandleLink(control))) return;  // requesters, links
}

void HandlePageControlEvent(int window, int control, int type) {
  if (window == kBuildProgressWindow && HandleBuildProgressButton(control)) return;                  // build commands
  if (window == kMainWindow && type == kEventTypeLeftClick && HandleRowListButton(control)) return;  // row lists
  if (window == kMainWindow && HandleProjectPageButton(control)) return;  // languages, files, messages
  // wizard preview: only for the built-in image or a path that names something
  if (window == kMainWindow && control == kPreviewButton) {
    std::string image = GetControlText(kWizardImage);
    if (image == "<main>" || FileSize(image) != -1) OpenWizardPreview();
    return;
  }
  // licence editor tool bar: any event of its buttons runs them
  if (control >= kEditorNew && control <= kEditorFont && HandleEditorToolbarEvent(control, type)) return;
}

void HandleSecondaryClose(int window) {
  if (HandleRowDialogClose(window)) return;        // row edit dialogs
  if (HandleSecondaryWindowClose(window)) return;  // About, wizard preview, build progress
  ShowRuntimeWindow(window, false);
  EnableRuntimeWindow(kMainWindow, true);
}

void UpdateDialogOkStates(int eventWindow) { UpdateRowDialogOkButtons(eventWindow); }

bool EditorHasSelection(int editor) {
  HWND w = ControlHandle(editor);
  if (!w) return false;
  CHARRANGE r = {0, 0};
  SendMessageW(w, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
  return r.cpMax > r.cpMin;
}

// A file that cannot be opened leaves the start-up defaults.
void OpenProjectFromCommandLine(const std::string& path) { LoadProject(path); }

void InstallBuildHooks() {
  InitCabinetWriter();
  InitZipArchiver();
}
