// Builds one setup through the real tool and reports how long it took: a private
// Zendrikolbar.exe opens the demo project with its files list replaced by one folder,
// Build is chosen from the menu, and the time runs until the question that follows a
// successful build. Run in the folder of the built programs (bench/run.sh does).
//
//   zk_bench_build.exe DEMO_PROJECT PAYLOAD_FOLDER SETUP WORK_FOLDER
// (both folders given with their trailing backslash)
//
// Prints "build_ms=N setup_bytes=N" on success; the log and exit code 1 otherwise.
#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "app/build_session.h"
#include "app/controls.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: zk_bench_build DEMO_PROJECT PAYLOAD_FOLDER\\ SETUP WORK_FOLDER\\\n");
    return 2;
  }
  const std::string demo = argv[1], payload = argv[2], setup = argv[3], work = argv[4];

  std::string project = GetBytes(demo);
  const std::string rows = "[Files/Dirs]\r\n";
  bool named = SetProjectValue(&project, "Build", "File", setup);
  size_t from = project.find(rows), to = project.find("[Licence_Begin]");
  if (!named || from == std::string::npos || to == std::string::npos) {
    fprintf(stderr, "not a project file: %s\n", demo.c_str());
    return 2;
  }
  from += rows.size();
  project.replace(from, to - from, payload + "\r\nn/a\r\n[Folder]\r\n");

  RemoveTree(work);
  BuildSession session;
  std::string projectPath = work + "bench.zkp";
  if (!session.Prepare(work) || !PutBytes(projectPath, project) || !session.Start(projectPath)) {
    fprintf(stderr, "the tool did not start\n");
    return 1;
  }
  DeleteFileA(setup.c_str());
  ULONGLONG start = GetTickCount64();
  // An hour: the scale benchmark packs gigabytes and 100,000 files.
  bool built = session.Build() && session.AnswerRunQuestion(IDNO, 3600000);
  ULONGLONG end = GetTickCount64();
  bool ended = session.WaitBuildEnd(10000);
  std::vector<std::string> log = LogLines(session.Control(ctl::kBuildLog));
  session.Stop();
  RemoveTree(work);
  bool complete = HasLine(log, "Setup file was created successfully!");
  for (const std::string& line : log) complete = complete && line.compare(0, 18, "Could not prepare:") != 0;
  if (!built || !ended || !complete) {
    fprintf(stderr, "the build failed:\n");
    for (const std::string& line : log) fprintf(stderr, "  %s\n", line.c_str());
    return 1;
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(setup.c_str(), GetFileExInfoStandard, &data);
  unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  printf("build_ms=%llu setup_bytes=%llu\n", static_cast<unsigned long long>(end - start), size);
  return 0;
}
