// Update benchmark: one release of about 100 files and 200 MB, served from disk by the
// loopback test server, downloaded by each measurement in turn, RUNS times, in the same
// process and against the same server, so every measurement meets the same machine state.
// The best time of each counts.
//
//   plain:    a minimal WinINet loop (InternetOpenUrlA, 64 KB InternetReadFile, WriteFile),
//             the floor any downloader on this machine can reach;
//   download: the update client's download of one file (DownloadWithProgress), file by
//             file, without its window;
//   client:   the whole update client as pelbuild writes it, applying a release whose
//             script downloads every file: the time from Next to the finish page.
//
// Further measurements join kMeasurements; each gets the served release and a folder of
// its own, emptied before every run and not timed.
//
//   zk_bench_update.exe WORK_FOLDER\ [RUNS]
// The release is generated into WORK_FOLDER\release\ once and reused while its files keep
// their sizes.
//
// Prints one line per run and "best plain_ms=N ..." (one NAME_ms per measurement), with
// "files=N bytes=N"; exit code 1 when a run failed.
#include <windows.h>
#include <wininet.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "driver/driver.h"
#include "model/updater_settings.h"
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/http_server.h"
#include "updateclient/http_client.h"
#include "updateclient/wizard.h"

namespace {

const int kFiles = 100;
const DWORD kReadBlock = 64 * 1024;

// What a measurement gets: the files on the server and where to put them.
struct BenchRelease {
  std::string folder;              // the generated files, served from here
  std::vector<std::string> names;  // file names, the same on the server and on disk
  std::vector<int64_t> sizes;
  int64_t bytes = 0;
  std::string baseUrl;  // "http://127.0.0.1:PORT/bench/Updates/", + name per file
  TestHttpServer* server = nullptr;
};

// Sizes from 1 MB to 3 MB, about 200 MB in all, so that no single size sets the pace.
int64_t FileSizeFor(int index) { return 1000000 + static_cast<int64_t>((index * 37) % 100) * 20000; }

// Incompressible bytes, so that nothing on the way can make the transfer cheaper.
bool WriteNoise(const std::string& path, int64_t size, uint32_t seed) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::vector<uint32_t> block(256 * 1024);
  uint32_t x = seed | 1;
  bool ok = true;
  for (int64_t left = size; ok && left > 0;) {
    for (uint32_t& word : block) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      word = x;
    }
    DWORD want = static_cast<DWORD>(left < static_cast<int64_t>(block.size() * 4) ? left : block.size() * 4);
    DWORD written = 0;
    ok = WriteFile(file, block.data(), want, &written, nullptr) && written == want;
    left -= want;
  }
  return CloseHandle(file) && ok;
}

bool MakeRelease(const std::string& work, BenchRelease* release) {
  release->folder = work + "release\\";
  CreateDirectoryA(release->folder.c_str(), nullptr);
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    snprintf(name, sizeof(name), "part%03d.bin", i);
    int64_t size = FileSizeFor(i);
    std::string path = release->folder + name;
    WIN32_FILE_ATTRIBUTE_DATA data;
    bool present = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
                   ((static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) == size;
    if (!present && !WriteNoise(path, size, 0x9e3779b9u * (i + 1))) return false;
    release->names.push_back(name);
    release->sizes.push_back(size);
    release->bytes += size;
  }
  return true;
}

void ServeRelease(const BenchRelease& release, TestHttpServer* server) {
  for (const std::string& name : release.names) {
    HttpAnswer answer;
    answer.bodyFile = AnsiPathToWide(release.folder + name);
    server->SetAnswer("/bench/Updates/" + name, answer);
  }
}

// The loop as a programmer would first write it: one session, each file opened, read in
// 64 KB blocks and written out.
bool RunPlain(const BenchRelease& release, const std::string& target, std::string* error, ULONGLONG*) {
  HINTERNET session = InternetOpenA("Update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) {
    *error = "InternetOpenA failed";
    return false;
  }
  std::vector<char> buffer(kReadBlock);
  const DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_RELOAD;
  for (size_t i = 0; i < release.names.size() && error->empty(); ++i) {
    std::string url = release.baseUrl + release.names[i];
    HINTERNET request = InternetOpenUrlA(session, url.c_str(), nullptr, 0, flags, 0);
    HANDLE file = CreateFileA((target + release.names[i]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    int64_t done = 0;
    DWORD read = 0, written = 0;
    while (request && file != INVALID_HANDLE_VALUE && InternetReadFile(request, buffer.data(), kReadBlock, &read) &&
           read > 0 && WriteFile(file, buffer.data(), read, &written, nullptr))
      done += read;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (request) InternetCloseHandle(request);
    if (done != release.sizes[i]) *error = url + ": " + std::to_string(done) + " bytes";
  }
  InternetCloseHandle(session);
  return error->empty();
}

// The update client's own download of each file (a temporary file beside the target,
// flushed and moved into place), with a progress observer that only counts, so the cost
// of the HTTP layer is seen apart from the window.
struct CountingObserver : DownloadObserver {
  bool OnProgress(const DownloadProgress& progress) override {
    blocks += progress.blockBytes > 0;
    return true;
  }
  void OnError(const DownloadProgress&) override {}
  int64_t blocks = 0;
};

bool RunClientDownload(const BenchRelease& release, const std::string& target, std::string* error, ULONGLONG*) {
  CountingObserver observer;
  for (const std::string& name : release.names) {
    if (!DownloadWithProgress(release.baseUrl + name, AnsiPathToWide(target + name), name, &observer)) {
      *error = release.baseUrl + name + " failed";
      return false;
    }
  }
  return true;
}

// Checks that every file arrived whole, outside the timed part.
bool AllArrived(const BenchRelease& release, const std::string& target, std::string* error) {
  for (size_t i = 0; i < release.names.size(); ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    std::string path = target + release.names[i];
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        ((static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) != release.sizes[i]) {
      *error = path + " is missing or incomplete";
      return false;
    }
  }
  return true;
}

// The client made by pelbuild into the target folder, its script downloading every file
// there. Its start and its search (which asks for every file's size) are not timed: the
// time runs from the click on Next until Next has become Finish.
bool RunClientProgram(const BenchRelease& release, const std::string& target, std::string* error, ULONGLONG* timedMs) {
  std::string script = "releases{\r\n1.0\r\n1.1\r\n}\r\nrelease:1.1{\r\n";
  for (const std::string& name : release.names) script += "DownloadFile: " + name + ", " + target + "\r\n";
  release.server->SetAnswer("/bench/updatescript.ini", OkAnswer(script + "}\r\n"));
  release.server->SetAnswer("/bench/Updates/", OkAnswer("updates"));
  HMODULE library = LoadLibraryA("pelbuild.dll");
  auto create = library ? reinterpret_cast<PellucastCreateProc>(
                              reinterpret_cast<void*>(GetProcAddress(library, kPellucastCreateName)))
                        : nullptr;
  std::string address = release.server->Url("/bench");
  UpdaterSettings s{};
  s.version = "1.0";
  s.mainAddress = address.c_str();
  s.productName = "Bench";
  s.windowTitle = "Bench Update";
  std::string client = target + "Update.exe";
  if (!create || create(client.c_str(), &s) != 1) {
    *error = "pelbuild could not write the client";
    return false;
  }
  DriverProcess p;
  if (!DriverStart(client, "", target, &p)) {
    *error = "the client did not start";
    return false;
  }
  const DWORD kWaitMs = 120000;
  HWND window = DriverWaitWindow("Bench Update", p.id, kWaitMs);
  HWND next = window ? DriverFindControl(window, kNextButton) : nullptr;
  bool ok = next && DriverPoll([&] { return DriverEnabled(next); }, kWaitMs, window);
  ULONGLONG start = GetTickCount64();
  ok = ok && DriverClick(next) &&
       DriverPoll([&] { return DriverVisible(next) && DriverText(next) == "Finish"; }, kWaitMs, window, 20);
  *timedMs = GetTickCount64() - start;
  bool applied = ok && DriverText(DriverFindControl(window, kFinishText)).rfind("All updates", 0) == 0;
  DriverKill(p);
  DriverRelease(&p);
  DeleteFileA(client.c_str());
  if (!applied) *error = ok ? "the client did not apply the release" : "the client did not reach its finish page";
  return applied;
}

struct Measurement {
  const char* name;
  // `timedMs`, when the measurement sets it, is the time that counts; otherwise the
  // whole call is timed.
  bool (*run)(const BenchRelease& release, const std::string& target, std::string* error, ULONGLONG* timedMs);
};

const Measurement kMeasurements[] = {
    {"plain", RunPlain},
    {"download", RunClientDownload},
    {"client", RunClientProgram},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    fprintf(stderr, "usage: zk_bench_update WORK_FOLDER\\ [RUNS]\n");
    return 2;
  }
  const std::string work = argv[1];
  const int runs = argc == 3 ? atoi(argv[2]) : 3;
  CreateDirectoryA(work.c_str(), nullptr);
  BenchRelease release;
  if (!MakeRelease(work, &release)) {
    fprintf(stderr, "cannot write the release into %srelease\\\n", work.c_str());
    return 1;
  }
  TestHttpServer server;
  if (!server.Start()) {
    fprintf(stderr, "the test server did not start\n");
    return 1;
  }
  ServeRelease(release, &server);
  release.server = &server;
  release.baseUrl = server.Url("/bench/Updates/");

  const size_t count = sizeof(kMeasurements) / sizeof(kMeasurements[0]);
  std::vector<ULONGLONG> best(count, 0);
  for (int run = 1; run <= runs; ++run) {
    for (size_t m = 0; m < count; ++m) {
      std::string target = work + kMeasurements[m].name + "\\";
      RemoveTree(target);
      CreateDirectoryA(target.c_str(), nullptr);
      std::string error;
      ULONGLONG start = GetTickCount64();
      ULONGLONG timed = 0;
      bool ok = kMeasurements[m].run(release, target, &error, &timed);
      ULONGLONG ms = timed ? timed : GetTickCount64() - start;
      if (!ok || !AllArrived(release, target, &error)) {
        fprintf(stderr, "%s run %d failed: %s\n", kMeasurements[m].name, run, error.c_str());
        return 1;
      }
      printf("%s run %d: %llu ms\n", kMeasurements[m].name, run, static_cast<unsigned long long>(ms));
      fflush(stdout);
      if (best[m] == 0 || ms < best[m]) best[m] = ms;
    }
  }
  for (const Measurement& m : kMeasurements) RemoveTree(work + m.name + "\\");
  printf("best");
  for (size_t m = 0; m < count; ++m)
    printf(" %s_ms=%llu", kMeasurements[m].name, static_cast<unsigned long long>(best[m]));
  printf(" files=%zu bytes=%lld\n", release.names.size(), static_cast<long long>(release.bytes));
  return 0;
}
