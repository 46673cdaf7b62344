// The build, step by step: checks, program files into the archive, update client,
// resource files, cabinet, setup executable, clean-up, and the question whether to run
// the new setup.
#include "app/build/build_thread.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <richedit.h>
#include <shellapi.h>

#include <memory>
#include <vector>

#include "app/build/build_files.h"
#include "app/build/build_requests.h"
#include "app/build/progress_label.h"
#include "app/controls.h"
#include "app/project_state.h"
#include "app/windows/secondary_windows.h"
#include "builder/build_input.h"
#include "builder/cabinet_writer.h"
#include "builder/resource_files.h"
#include "builder/zip_archiver.h"
#include "common/failure_log.h"
#include "common/files.h"
#include "common/gui.h"
#include "common/requesters.h"
#include "common/text.h"

using namespace ctl;

namespace {

const char kTitle[] = "Zendrikolbar";
const char kWaitText[] = "Please wait while Zendrikolbar is creating the setup file..";
const char kCabinetError[] = "Error: Could not compress setup resource files.";
const char kSetupError[] = "Error: Could not create setup file.";

enum class Outcome { kDone, kFailed, kCancelled };

// The paths of one build. Everything lives below `folder`, a new folder of the build's
// own, so that clean-up can remove it whole without touching anything else.
struct BuildPaths {
  std::string folder;     // TEMP + GUID + "\"
  std::string staging;    // the program files, linked or copied, zipped from here
  std::string archive;    // the program-file archive the setup carries
  std::string resources;  // resource files and "Setup.cab"
};

struct Build {
  BuildInput& in;
  BuildPaths paths;
  DWORD startTime = 0;
  int step = 0;
};

// The label's text and the throttle of archive progress on it. Build thread only.
LabelThrottle g_label;

void ShowLabel(const std::string& text) {
  NoteLabelShown(&g_label, text);
  SetBuildProgressLabel(text);
}

// Shows a progress text kept back by the throttle, so the label ends on the newest state.
void FlushProgressLabel() {
  std::string text;
  if (FlushLabel(&g_label, &text)) SetBuildProgressLabel(text);
}

void SetProgressMaximum(int maximum) {
  HWND bar = ControlHandle(kBuildProgress);
  if (bar) SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
}

void NextStep(Build& b) { SetBuildProgressBar(++b.step); }

std::string FileNamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsImagePresent(const std::string& field) { return field == "<main>" || FileSize(field) > 0; }

// The checks that come before anything is made; false with the message logged.
bool CheckProject(const SetupProject& p) {
  const char* error = nullptr;
  if (p.programName.empty())
    error = "Error: Please enter a program name.";
  else if (!IsImagePresent(p.wizardImage))
    error = "Error: Wizard image file does not exist.";
  else if (!IsImagePresent(p.headerImage))
    error = "Error: Header image file does not exist.";
  else if (!IsImagePresent(p.iconImage))
    error = "Error: Install-icon file does not exist.";
  if (error) ReportFailureAnsi("check the project", "", 0, error);
  if (error) AddBuildLogLine(error);
  return error == nullptr;
}

bool MakeBuildFolders(Build& b) {
  std::string temp = TempFolder();
  std::string guid = CreateGuidText();
  if (temp.empty() || guid.empty()) return false;
  b.paths.folder = temp + guid + "\\";
  b.paths.staging = b.paths.folder + "Staging\\";
  b.paths.archive = b.paths.folder + "Archive.dat";
  b.paths.resources = b.paths.folder + "Resources\\";
  // A folder that already exists is not ours to fill and delete.
  if (!CreateDirectoryA(b.paths.folder.c_str(), nullptr)) {
    b.paths.folder.clear();
    return false;
  }
  return CreateDirectoryA(b.paths.resources.c_str(), nullptr) != 0;
}

// The listed files, then the listed folders, put into the staging folder (linked where
// the file system allows it, else copied).
Outcome StageProgramFiles(Build& b) {
  const SetupProject& p = b.in.project;
  AddBuildLogLine("Preparing files...");
  if (!CreateDirectoryA(b.paths.staging.c_str(), nullptr)) {
    ReportFailureAnsi("create the staging folder", b.paths.staging, GetLastError());
    AddBuildLogLine("Error: Could not create the folder " + b.paths.staging);
    return Outcome::kFailed;
  }
  for (const FileEntry& row : p.files) {
    if (row.type == "[Folder]") continue;
    if (BuildMustStop()) return Outcome::kCancelled;
    if (FileSize(row.path) >= 0) {
      AddBuildLogLine("Preparing file: " + row.path);
      CopyResult r = StageBuildFile(row.path, b.paths.staging + FileNamePart(row.path));
      if (r == CopyResult::kStopped) return Outcome::kCancelled;
      if (r == CopyResult::kFailed) AddBuildLogLine("Could not prepare: " + row.path);
    } else {
      AddBuildLogLine("Could not prepare: " + row.path);
    }
    NextStep(b);
  }
  for (const FileEntry& row : p.files) {
    if (row.type != "[Folder]") continue;
    if (BuildMustStop()) return Outcome::kCancelled;
    if (FileSize(row.path) == -2) {
      AddBuildLogLine("Preparing directory: " + row.path);
      std::string folder = row.path;
      while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
      std::vector<std::string> failed;
      CopyResult r = StageBuildFolder(folder, b.paths.staging + GetLastPathComponent(folder), &failed);
      if (r == CopyResult::kStopped) return Outcome::kCancelled;
      if (r == CopyResult::kFailed) failed.push_back(row.path);
      for (const std::string& f : failed) AddBuildLogLine("Could not prepare: " + f);
    } else {
      AddBuildLogLine("Could not prepare: " + row.path);
    }
    NextStep(b);
  }
  return Outcome::kDone;
}

Outcome ArchiveProgramFiles(Build& b) {
  const SetupProject& p = b.in.project;
  SetProgressMaximum(static_cast<int>(p.files.size()) + 3);
  SetZipCompressionMethod(p.compression == 1 ? kZipDeflated : kZipStored);
  Outcome staged = StageProgramFiles(b);
  if (staged != Outcome::kDone) return staged;
  if (BuildMustStop()) return Outcome::kCancelled;

  if (!CreateZipArchive(b.paths.archive, 0) || CloseZipArchive() != 0) {
    ReportFailureAnsi("create the program archive", b.paths.archive, GetLastError());
    AddBuildLogLine("Error: Could not compress files.");
    return Outcome::kFailed;
  }
  AddBuildLogLine("Compressing files...");
  int added = AddZipFolder(b.paths.archive, b.paths.staging + "*.*", kZipNameRelative, kZipFolderTreeEntries);
  FlushProgressLabel();
  RemoveBuildTree(b.paths.staging);
  if (added == kZipCancelled) return Outcome::kCancelled;
  // The staging folder's own entry is always there, so an archive without entries was
  // never written.
  if (added < 0 || CountZipEntries(b.paths.archive) <= 0) {
    ReportFailureAnsi("add the program files to the archive", b.paths.archive, 0, "result " + std::to_string(added));
    AddBuildLogLine("Error: Could not compress files.");
    return Outcome::kFailed;
  }
  return Outcome::kDone;
}

// The author's own archive is copied and only the copy is used (and extended by the
// update client), so the author's file never changes.
Outcome CopyAuthorArchive(Build& b) {
  const std::string& zip = b.in.project.zipFile;
  SetProgressMaximum(3);
  CopyResult r = zip.empty() ? CopyResult::kFailed : CopyBuildFile(zip, b.paths.archive);
  if (r == CopyResult::kStopped) return Outcome::kCancelled;
  if (r == CopyResult::kFailed || CountZipEntries(b.paths.archive) < 0) {
    ReportFailureAnsi("copy the author's archive", zip, 0,
                      r == CopyResult::kFailed ? "cannot copy" : "not a ZIP archive");
    AddBuildLogLine("Error: Could not read the ZIP file " + zip);
    return Outcome::kFailed;
  }
  return Outcome::kDone;
}

// The update client needs the pelbuild library, which this version does not use yet: the
// build goes on without the client, as it does when the library is missing.
void AddUpdateClient(Build&) {
  AddBuildLogLine("Preparing updater...");
  AddBuildLogLine("WARNING: Could not find Pellucast builder.");
}

Outcome WriteResources(Build& b) {
  AddBuildLogLine("Creating setup resource files..");
  ResourceFilesResult result;
  std::string error;
  // SC.dat's total size counts the archive the setup will carry.
  b.in.archivePath = b.paths.archive;
  if (!WriteResourceFiles(b.in, b.paths.resources, &result, &error)) {
    ReportFailureAnsi("write the resource files", b.paths.resources, 0, error);
    AddBuildLogLine(error.empty() ? "Error: Could not create setup resource files." : error);
    return Outcome::kFailed;
  }
  NextStep(b);
  return Outcome::kDone;
}

Outcome WriteCabinet(Build& b) {
  AddBuildLogLine("Compressing setup resource files..");
  CabinetContext* cabinet = CreateCabinet(b.paths.resources + "Setup.cab", b.paths.folder);
  if (!cabinet) {
    ReportFailureAnsi("create the cabinet", b.paths.resources + "Setup.cab", GetLastError());
    AddBuildLogLine(kCabinetError);
    return Outcome::kFailed;
  }
  for (const auto& entry : CabinetEntries(b.in, b.paths.resources)) {
    if (BuildMustStop()) {
      CloseCabinet(cabinet);
      return Outcome::kCancelled;
    }
    int added = AddCabinetFile(cabinet, entry.first, entry.second);
    if (added != kCabinetFileAdded && added != kCabinetFileEmpty) {
      CloseCabinet(cabinet);
      ReportFailureAnsi("add a file to the cabinet", entry.first, 0, "result " + std::to_string(added));
      AddBuildLogLine(kCabinetError);
      return Outcome::kFailed;
    }
  }
  if (!CloseCabinet(cabinet)) {
    ReportFailureAnsi("finish the cabinet", b.paths.resources + "Setup.cab", 0);
    AddBuildLogLine(kCabinetError);
    return Outcome::kFailed;
  }
  NextStep(b);
  return Outcome::kDone;
}

Outcome WriteSetup(Build& b) {
  AddBuildLogLine("Creating setup...");
  const std::string& setup = b.in.project.setupFile;
  std::string image, error;
  int written = ReadSetupRuntimeImage(&image) ? WriteSetupExecutable(setup, image, b.paths.resources + "Setup.cab",
                                                                     b.paths.archive, &error, BuildMustStop)
                                              : 0;
  if (written == kSetupCancelled) return Outcome::kCancelled;
  if (written != 1) {
    ReportFailureAnsi("write the setup file", setup, 0, image.empty() ? "no setup runtime image" : error);
    AddBuildLogLine(error.empty() ? kSetupError : error);
    return Outcome::kFailed;
  }
  NextStep(b);
  AddBuildLogLine("Setup file was created successfully!");
  SetLastSetupPath(setup);
  AddBuildLogLine("Elapsed time: " + std::to_string((GetTickCount() - b.startTime) / 1000) + " second(s)");
  return Outcome::kDone;
}

// The steps up to the finished setup. Cancel is looked at between steps; the steps look
// at it between files and chunks themselves.
Outcome RunBuild(Build& b) {
  b.startTime = GetTickCount();
  if (!CheckProject(b.in.project)) return Outcome::kFailed;
  SetBuildProgressBar(0);
  if (!MakeBuildFolders(b)) {
    ReportFailureAnsi("create the build folders", b.paths.folder.empty() ? TempFolder() : b.paths.resources,
                      GetLastError());
    AddBuildLogLine("Error: Could not create a temporary folder.");
    return Outcome::kFailed;
  }
  Outcome r = b.in.project.useZip ? CopyAuthorArchive(b) : ArchiveProgramFiles(b);
  if (r != Outcome::kDone) return r;
  ShowLabel(kWaitText);
  if (b.in.project.includeUpdater) AddUpdateClient(b);
  Outcome (*const steps[])(Build&) = {WriteResources, WriteCabinet, WriteSetup};
  for (auto step : steps) {
    if (BuildMustStop()) return Outcome::kCancelled;
    r = step(b);
    if (r != Outcome::kDone) return r;
  }
  return Outcome::kDone;
}

void AskToRunSetup() {
  if (MessageRequester(kTitle, "Do you want to run the setup now?", MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) !=
      IDYES)
    return;
  std::string setup = GetLastSetupPath();
  // The shell may need COM on the calling thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ShellExecuteA(nullptr, "open", setup.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace

void BuildSetup(intptr_t argument) {
  std::unique_ptr<BuildInput> in(reinterpret_cast<BuildInput*>(argument));
  Build b{*in, {}, 0, 0};
  Outcome outcome = RunBuild(b);
  // A pause during the last step holds here, before the question; a cancel that came too
  // late to stop the setup from being finished still means the author does not want it
  // run now.
  bool ask = outcome == Outcome::kDone && !BuildMustStop();
  if (outcome == Outcome::kCancelled) AddBuildLogLine("Operation has been aborted!");
  CloseZipArchive();
  if (!b.paths.folder.empty()) RemoveBuildTree(b.paths.folder);
  HideBuildProgressWindow();
  if (ask) AskToRunSetup();
  SetBuildProgressBar(0);
  EndBuildRequests();
  EnableRuntimeWindow(kMainWindow, true);
  HWND main = WindowHandle(kMainWindow);
  if (main) SetForegroundWindow(main);
}

void AddBuildLogLine(const std::string& text) {
  HWND log = ControlHandle(kBuildLog);
  if (!log) return;
  GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT end = SendMessageW(log, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  std::wstring line = (end > 0 ? L"\r\n" : L"") + AnsiToWide(text);
  CHARRANGE at = {static_cast<LONG>(end > 0 ? end : 0), static_cast<LONG>(end > 0 ? end : 0)};
  SendMessageW(log, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
  SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageW(log, WM_VSCROLL, SB_BOTTOM, 0);
}

int ShowZipProgress(const char* fileName, float percent, intptr_t) {
  std::string text = std::string(kWaitText) + "\n\n" + FileNamePart(fileName ? fileName : "") + "..." +
                     std::to_string(static_cast<int>(percent + 0.5f)) + " %";
  std::string show;
  if (ThrottleLabel(&g_label, text, GetTickCount64(), &show)) SetBuildProgressLabel(show);
  // A pause holds the build below; the label shows where it stands meanwhile.
  if (BuildPauseRequested()) FlushProgressLabel();
  return BuildMustStop() ? 1 : 0;
}

std::string CreateGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return {};
  wchar_t buffer[78];
  int n = StringFromGUID2(guid, buffer, 78);
  if (n <= 1) return {};
  return ConvertWideToAnsi(buffer).substr(0, static_cast<size_t>(n - 1));
}

std::string ConvertWideToAnsi(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::string GetLastPathComponent(const std::string& path) {
  if (path.size() < 2) return path;
  size_t cut = path.rfind('\\', path.size() - 2);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}
