// Installs the benchmark payload with two setups, side by side under the same Wine, and
// reports how long each took from its start until the files were on disk:
//   - the Zendrikolbar setup (built from the demo project by bench_build), driven through
//     its wizard as a person would: language window, Next through the pages with the
//     installation folder typed in, until the finish page is up;
//   - the NSIS setup, run silently with /S /D=FOLDER until its process ends.
// Runs alternate (ours, NSIS, ours, ...) so both meet the same machine state; every run
// installs into an emptied folder and the time spent clearing is not counted.
//
//   zk_bench_install.exe ZK_SETUP NSIS_SETUP WORK_FOLDER\ FILES RUNS
// FILES is the number of payload files each installation must hold at least.
//
// Prints one line per run and "best zk_ms=N nsis_ms=N"; exit code 1 when a run failed.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "app/build_session.h"
#include "app/test_paths.h"
#include "driver/driver.h"
#include "e2e/machine_state.h"
#include "e2e/setup_walk.h"

namespace {

const DWORD kInstallMs = 3600000;  // the scale benchmark installs gigabytes
const DWORD kActMs = 30000;

size_t CountFiles(const std::string& folder) {
  size_t files = 0;
  for (const std::string& entry : TreeEntries(folder))
    if (entry.back() != '\\') ++files;
  return files;
}

// A fresh, empty folder for one installation and one TEMP.
bool FreshFolders(const std::string& target, const std::string& temp) {
  RemoveTree(target);
  RemoveTree(temp);
  RemoveDemoTraces();
  return CreateDirectoryA(temp.c_str(), nullptr) != 0;
}

// Our setup, through its wizard; the time runs from the start to the finish page.
bool RunOurs(const std::string& setup, const std::string& target, const std::string& temp, ULONGLONG* ms,
             std::string* error) {
  DriverProcess p;
  ULONGLONG start = GetTickCount64();
  if (!StartWithTemp(setup, "", temp, &p)) {
    *error = "the setup did not start";
    return false;
  }
  *error = ChooseLanguage(p.id, "English", kActMs);
  HWND wizard = error->empty() ? WaitWizard(p.id, "Demo Notes Setup", kActMs) : nullptr;
  if (error->empty() && !wizard) *error = "no wizard";
  std::vector<int> pages;
  WalkOptions options;
  options.installFolder = target;
  if (error->empty()) *error = WalkToFinish(wizard, options, kInstallMs, &pages);
  *ms = GetTickCount64() - start;
  if (error->empty()) {
    // Not timed: the installation is complete. The finish action would start the demo's
    // launcher, which the payload does not hold.
    HWND run = DriverFindControl(wizard, wiz::kFinishBox);
    if (run && DriverCheckState(run) == BST_CHECKED) DriverClick(run);
    WaitFor([&] { return DriverCheckState(run) != BST_CHECKED; }, kActMs);
    DriverClick(DriverFindControl(wizard, wiz::kNext));
    if (!DriverWaitExit(p, kActMs, nullptr)) *error = "Finish did not end the setup";
  }
  if (DriverRunning(p)) DriverKill(p);
  DriverRelease(&p);
  return error->empty();
}

// The NSIS setup, silent; the time runs from the start to the end of its process.
bool RunNsis(const std::string& setup, const std::string& target, const std::string& temp, ULONGLONG* ms,
             std::string* error) {
  DriverProcess p;
  ULONGLONG start = GetTickCount64();
  // /D takes the rest of the command line, unquoted, and must come last.
  std::string folder = target.substr(0, target.size() - 1);
  if (!StartWithTemp(setup, "/S /D=" + folder, temp, &p)) {
    *error = "the NSIS setup did not start";
    return false;
  }
  DWORD code = 1;
  bool ended = DriverWaitExit(p, kInstallMs, &code);
  *ms = GetTickCount64() - start;
  if (!ended) DriverKill(p);
  DriverRelease(&p);
  if (!ended || code != 0) *error = "the NSIS setup failed (exit code " + std::to_string(code) + ")";
  return error->empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    fprintf(stderr, "usage: zk_bench_install ZK_SETUP NSIS_SETUP WORK_FOLDER\\ FILES RUNS\n");
    return 2;
  }
  const std::string ours = argv[1], nsis = argv[2], work = argv[3];
  const size_t files = strtoul(argv[4], nullptr, 10);
  const int runs = atoi(argv[5]);
  CreateDirectoryA(work.c_str(), nullptr);
  const std::string temp = work + "temp\\";
  ULONGLONG bestOurs = 0, bestNsis = 0;
  bool ok = true;
  for (int run = 1; ok && run <= runs; ++run) {
    const struct {
      const char* name;
      const std::string& setup;
      std::string target;
      bool (*install)(const std::string&, const std::string&, const std::string&, ULONGLONG*, std::string*);
      ULONGLONG* best;
    } tools[] = {
        {"zendrikolbar", ours, work + "zk\\", RunOurs, &bestOurs},
        {"nsis", nsis, work + "nsis\\", RunNsis, &bestNsis},
    };
    for (const auto& tool : tools) {
      if (!FreshFolders(tool.target, temp)) {
        fprintf(stderr, "cannot prepare %s\n", temp.c_str());
        return 1;
      }
      ULONGLONG ms = 0;
      std::string error;
      bool installed = tool.install(tool.setup, tool.target, temp, &ms, &error);
      size_t found = CountFiles(tool.target);
      if (installed && found < files)
        error = std::to_string(found) + " files installed, " + std::to_string(files) + " expected";
      if (!error.empty()) {
        fprintf(stderr, "%s run %d failed: %s\n", tool.name, run, error.c_str());
        ok = false;
        break;
      }
      printf("%s run %d: %llu ms, %zu files\n", tool.name, run, static_cast<unsigned long long>(ms), found);
      fflush(stdout);
      if (*tool.best == 0 || ms < *tool.best) *tool.best = ms;
    }
  }
  FreshFolders(work + "zk\\", temp);
  FreshFolders(work + "nsis\\", temp);
  RemoveTree(temp);
  if (!ok) return 1;
  printf("best zk_ms=%llu nsis_ms=%llu\n", static_cast<unsigned long long>(bestOurs),
         static_cast<unsigned long long>(bestNsis));
  return 0;
}
