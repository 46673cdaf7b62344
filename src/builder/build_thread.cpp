// The build, step by step: checks, program files into the archive, update client,
// resource files, cabinet, setup executable, clean-up, and the question whether to run
// the new setup.
#include "builder/build_thread.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <vector>

#include "builder/build_files.h"
#include "builder/cabinet_writer.h"
#include "builder/progress_label.h"
#include "builder/resource_files.h"
#include "builder/update_client_settings.h"
#include "builder/zip_archiver.h"
#include "common/failure_log.h"
#include "common/files.h"
#include "common/guid_text.h"
#include "common/path_split.h"
#include "common/scoped.h"
#include "common/text.h"
#include "model/build_input.h"
#include "model/updater_settings.h"

namespace {

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
  BuildReporter& report;
  const std::string& runtimeImage;
  BuildPaths paths;
  DWORD startTime = 0;
  int step = 0;
  LabelThrottle label;  // the label's text and the throttle of archive progress on it

  void Log(const std::string& line) { report.Log(line); }
  bool MustStop() { return report.MustStop(); }
  StopCheck Stop() {
    return [this] { return MustStop(); };
  }
};

// The build the archiver's progress procedure reports to; only one runs at a time.
std::atomic<Build*> g_running{nullptr};

void ShowLabel(Build& b, const std::string& text) {
  NoteLabelShown(&b.label, text);
  b.report.SetLabel(text);
}

// Shows a progress text kept back by the throttle, so the label ends on the newest state.
void FlushProgressLabel(Build& b) {
  std::string text;
  if (FlushLabel(&b.label, &text)) b.report.SetLabel(text);
}

void NextStep(Build& b) { b.report.SetProgress(++b.step); }

// The archiver's progress procedure: shows the file and percent on the label (at most
// every kLabelInterval ms, see progress_label.h), waits while the build is paused and
// answers non-zero when it is cancelled.
int ShowZipProgress(const char* fileName, float percent, intptr_t) {
  Build* b = g_running.load();
  if (!b) return 0;
  std::string text = std::string(kWaitText) + "\n\n" + PathFileName(fileName ? fileName : "") + "..." +
                     std::to_string(static_cast<int>(percent + 0.5f)) + " %";
  std::string show;
  if (ThrottleLabel(&b->label, text, GetTickCount64(), &show)) b->report.SetLabel(show);
  // A pause holds the build below; the label shows where it stands meanwhile.
  if (b->report.PauseRequested()) FlushProgressLabel(*b);
  return b->MustStop() ? 1 : 0;
}

bool IsImagePresent(const std::string& field) { return field == "<main>" || FileSize(field) > 0; }

// The checks that come before anything is made; false with the message logged.
bool CheckProject(Build& b) {
  const SetupProject& p = b.in.project;
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
  if (error) b.Log(error);
  return error == nullptr;
}

bool MakeBuildFolders(Build& b) {
  std::string temp = TempFolder();
  std::string guid = NewGuidTextAnsi();
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
  b.Log("Preparing files...");
  if (!CreateDirectoryA(b.paths.staging.c_str(), nullptr)) {
    ReportFailureAnsi("create the staging folder", b.paths.staging, GetLastError());
    b.Log("Error: Could not create the folder " + b.paths.staging);
    return Outcome::kFailed;
  }
  for (const FileEntry& row : p.files) {
    if (row.type == "[Folder]") continue;
    if (b.MustStop()) return Outcome::kCancelled;
    if (FileSize(row.path) >= 0) {
      b.Log("Preparing file: " + row.path);
      CopyResult r =
          StageBuildFile(row.path, b.paths.staging + PathFileName(row.path), StageWay::kLinkWhenPossible, b.Stop());
      if (r == CopyResult::kStopped) return Outcome::kCancelled;
      if (r == CopyResult::kFailed) b.Log("Could not prepare: " + row.path);
    } else {
      b.Log("Could not prepare: " + row.path);
    }
    NextStep(b);
  }
  for (const FileEntry& row : p.files) {
    if (row.type != "[Folder]") continue;
    if (b.MustStop()) return Outcome::kCancelled;
    if (FileSize(row.path) == -2) {
      b.Log("Preparing directory: " + row.path);
      std::string folder = row.path;
      while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
      std::vector<std::string> failed;
      CopyResult r = StageBuildFolder(folder, b.paths.staging + GetLastPathComponent(folder), &failed,
                                      StageWay::kLinkWhenPossible, b.Stop());
      if (r == CopyResult::kStopped) return Outcome::kCancelled;
      if (r == CopyResult::kFailed) failed.push_back(row.path);
      for (const std::string& f : failed) b.Log("Could not prepare: " + f);
    } else {
      b.Log("Could not prepare: " + row.path);
    }
    NextStep(b);
  }
  return Outcome::kDone;
}

Outcome ArchiveProgramFiles(Build& b) {
  const SetupProject& p = b.in.project;
  b.report.SetProgressMaximum(static_cast<int>(p.files.size()) + 3);
  SetZipCompressionMethod(p.compression == 1 ? kZipDeflated : kZipStored);
  Outcome staged = StageProgramFiles(b);
  if (staged != Outcome::kDone) return staged;
  if (b.MustStop()) return Outcome::kCancelled;

  if (!CreateZipArchive(b.paths.archive, 0) || CloseZipArchive() != 0) {
    ReportFailureAnsi("create the program archive", b.paths.archive, GetLastError());
    b.Log("Error: Could not compress files.");
    return Outcome::kFailed;
  }
  b.Log("Compressing files...");
  int added = AddZipFolder(b.paths.archive, b.paths.staging + "*.*", kZipNameRelative, kZipFolderTreeEntries);
  FlushProgressLabel(b);
  RemoveBuildTree(b.paths.staging);
  if (added == kZipCancelled) return Outcome::kCancelled;
  // The staging folder's own entry is always there, so an archive without entries was
  // never written.
  if (added < 0 || CountZipEntries(b.paths.archive) <= 0) {
    ReportFailureAnsi("add the program files to the archive", b.paths.archive, 0, "result " + std::to_string(added));
    b.Log("Error: Could not compress files.");
    return Outcome::kFailed;
  }
  return Outcome::kDone;
}

// The author's own archive is copied and only the copy is used (and extended by the
// update client), so the author's file never changes.
Outcome CopyAuthorArchive(Build& b) {
  const std::string& zip = b.in.project.zipFile;
  b.report.SetProgressMaximum(3);
  CopyResult r = zip.empty() ? CopyResult::kFailed : CopyBuildFile(zip, b.paths.archive, b.Stop());
  if (r == CopyResult::kStopped) return Outcome::kCancelled;
  if (r == CopyResult::kFailed || CountZipEntries(b.paths.archive) < 0) {
    ReportFailureAnsi("copy the author's archive", zip, 0,
                      r == CopyResult::kFailed ? "cannot copy" : "not a ZIP archive");
    b.Log("Error: Could not read the ZIP file " + zip);
    return Outcome::kFailed;
  }
  return Outcome::kDone;
}

// The update client, written by the pelbuild library into the build's folder and added
// at the archive's root. A client that cannot be made is a warning: the setup is still
// of use without it.
Outcome AddUpdateClient(Build& b) {
  const char kNotBuilt[] = "WARNING: Could not build updater.";
  b.Log("Preparing updater...");
  // Only the copy beside the tool is ever loaded: a relative name would let the search
  // path pick a library of the same name from the current or another folder.
  std::string library = b.in.programFolder + kPelbuildFile;
  ScopedModule pelbuild;
  if (!b.in.programFolder.empty())
    pelbuild.reset(
        LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!pelbuild) {
    ReportFailureAnsi("load the updater builder", library, GetLastError());
    b.Log("WARNING: Could not find Pellucast builder.");
    return Outcome::kDone;
  }
  UpdaterSettingsBlock settings = UpdateClientSettingsFor(b.in.project);
  UpdaterSettings record = SettingsRecordOf(settings);
  // The name comes from the project file, which anyone may have written: it names a
  // file in the build's folder and nowhere else, or the build would overwrite a file
  // elsewhere and then delete it.
  const std::string& name = b.in.project.updateFileName;
  bool plainName = name.find_first_of("\\/:") == std::string::npos;
  std::string client = b.paths.folder + name + ".exe";
  auto create = reinterpret_cast<PellucastCreateProc>(
      reinterpret_cast<void*>(GetProcAddress(pelbuild.get(), kPellucastCreateName)));
  int made = create && plainName ? create(client.c_str(), &record) : 0;
  // The library is freed once the client is written, so the file beside the tool can be
  // replaced between builds.
  pelbuild.reset();
  // A client reported as made but absent is not there to add; one of size 0 is broken.
  int64_t size = made ? FileSize(client) : 0;
  if (made == 0 || size <= 0) {
    ReportFailureAnsi("write the update client", client, 0,
                      made == 0   ? "result 0"
                      : size == 0 ? "empty file"
                                  : "no file");
    b.Log(kNotBuilt);
    return Outcome::kDone;
  }
  int added = AddZipFile(b.paths.archive, client, kZipNameFileOnly);
  DeleteFileA(client.c_str());
  FlushProgressLabel(b);
  if (added == kZipCancelled) return Outcome::kCancelled;
  // A failed write may have left the archive without its directory, so no setup is made
  // from it.
  if (added < 0) {
    ReportFailureAnsi("add the update client to the archive", b.paths.archive, 0, "result " + std::to_string(added));
    b.Log("Error: Could not compress files.");
    return Outcome::kFailed;
  }
  if (added == 0) b.Log(kNotBuilt);
  return Outcome::kDone;
}

Outcome WriteResources(Build& b) {
  b.Log("Creating setup resource files..");
  ResourceFilesResult result;
  std::string error;
  // SC.dat's total size counts the archive the setup will carry.
  b.in.archivePath = b.paths.archive;
  if (!WriteResourceFiles(b.in, b.paths.resources, &result, &error)) {
    ReportFailureAnsi("write the resource files", b.paths.resources, 0, error);
    b.Log(error.empty() ? "Error: Could not create setup resource files." : error);
    return Outcome::kFailed;
  }
  NextStep(b);
  return Outcome::kDone;
}

Outcome WriteCabinet(Build& b) {
  b.Log("Compressing setup resource files..");
  CabinetContext* cabinet = CreateCabinet(b.paths.resources + "Setup.cab", b.paths.folder);
  if (!cabinet) {
    ReportFailureAnsi("create the cabinet", b.paths.resources + "Setup.cab", GetLastError());
    b.Log(kCabinetError);
    return Outcome::kFailed;
  }
  for (const auto& entry : CabinetEntries(b.in, b.paths.resources)) {
    if (b.MustStop()) {
      CloseCabinet(cabinet);
      return Outcome::kCancelled;
    }
    int added = AddCabinetFile(cabinet, entry.first, entry.second);
    if (added != kCabinetFileAdded && added != kCabinetFileEmpty) {
      CloseCabinet(cabinet);
      ReportFailureAnsi("add a file to the cabinet", entry.first, 0, "result " + std::to_string(added));
      b.Log(kCabinetError);
      return Outcome::kFailed;
    }
  }
  if (!CloseCabinet(cabinet)) {
    ReportFailureAnsi("finish the cabinet", b.paths.resources + "Setup.cab", 0);
    b.Log(kCabinetError);
    return Outcome::kFailed;
  }
  NextStep(b);
  return Outcome::kDone;
}

Outcome WriteSetup(Build& b) {
  b.Log("Creating setup...");
  const std::string& setup = b.in.project.setupFile;
  std::string error;
  int written = b.runtimeImage.empty() ? 0
                                       : WriteSetupExecutable(setup, b.runtimeImage, b.paths.resources + "Setup.cab",
                                                              b.paths.archive, &error, b.Stop());
  if (written == kSetupCancelled) return Outcome::kCancelled;
  if (written != 1) {
    ReportFailureAnsi("write the setup file", setup, 0, b.runtimeImage.empty() ? "no setup runtime image" : error);
    b.Log(error.empty() ? kSetupError : error);
    return Outcome::kFailed;
  }
  NextStep(b);
  b.Log("Setup file was created successfully!");
  b.report.SetupWritten(setup);
  b.Log("Elapsed time: " + std::to_string((GetTickCount() - b.startTime) / 1000) + " second(s)");
  return Outcome::kDone;
}

// The steps up to the finished setup. Cancel is looked at between steps; the steps look
// at it between files and chunks themselves.
Outcome RunBuild(Build& b) {
  b.startTime = GetTickCount();
  if (!CheckProject(b)) return Outcome::kFailed;
  b.report.SetProgress(0);
  if (!MakeBuildFolders(b)) {
    ReportFailureAnsi("create the build folders", b.paths.folder.empty() ? TempFolder() : b.paths.resources,
                      GetLastError());
    b.Log("Error: Could not create a temporary folder.");
    return Outcome::kFailed;
  }
  Outcome r = b.in.project.useZip ? CopyAuthorArchive(b) : ArchiveProgramFiles(b);
  if (r != Outcome::kDone) return r;
  ShowLabel(b, kWaitText);
  if (b.in.project.includeUpdater) {
    r = AddUpdateClient(b);
    if (r != Outcome::kDone) return r;
  }
  Outcome (*const steps[])(Build&) = {WriteResources, WriteCabinet, WriteSetup};
  for (auto step : steps) {
    if (b.MustStop()) return Outcome::kCancelled;
    r = step(b);
    if (r != Outcome::kDone) return r;
  }
  return Outcome::kDone;
}

}  // namespace

void BuildSetup(BuildInput& in, const std::string& setupRuntimeImage, BuildReporter& reporter) {
  Build b{in, reporter, setupRuntimeImage};
  g_running = &b;
  SetZipProgressCallback(ShowZipProgress);
  Outcome outcome = RunBuild(b);
  // A pause during the last step holds here, before the question; a cancel that came too
  // late to stop the setup from being finished still means the author does not want it
  // run now.
  bool ask = outcome == Outcome::kDone && !b.MustStop();
  if (outcome == Outcome::kCancelled) b.Log("Operation has been aborted!");
  CloseZipArchive();
  g_running = nullptr;
  if (!b.paths.folder.empty()) RemoveBuildTree(b.paths.folder);
  reporter.HideProgress();
  if (ask) reporter.OfferToRun(in.project.setupFile);
  reporter.SetProgress(0);
  reporter.Finished();
}

std::string GetLastPathComponent(const std::string& path) {
  if (path.size() < 2) return path;
  size_t cut = path.rfind('\\', path.size() - 2);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}
