// Real setups for whole-program tests: made from a project through the builder, or put
// together by hand (damaged on purpose) around the built SetupRuntime.exe, and started
// with a TEMP folder of their own so that their work folders can be counted.
#ifndef ZK_TESTS_SETUPRUNTIME_SETUP_FIXTURE_H
#define ZK_TESTS_SETUPRUNTIME_SETUP_FIXTURE_H

#include <windows.h>

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "builder/resource_files.h"
#include "common/resource_data.h"
#include "common/text.h"
#include "driver/driver.h"
#include "model/build_input.h"
#include "setupruntime/builtin_resources.h"
#include "setupruntime/runtime_test_files.h"
#include "support/environment.h"

// The setup runtime as the builder carries it: the program beside the tests.
inline std::string RuntimeImage() { return GetBytes(FullFolder(L".") + L"SetupRuntime.exe"); }

// A project with every page: licence, application folder, both shortcut kinds with their
// check boxes, the start-menu page, and English and German.
inline BuildInput FullProject() {
  BuildInput in;
  in.languageNames = {"English", "German"};
  SetupProject& p = in.project;
  p.programName = "Demo";
  p.programVersion = "1.0";
  p.companyName = "Acme";
  p.wizardImage = p.headerImage = p.iconImage = "<main>";
  p.showLicence = 1;
  p.licenceRtf = "{\\rtf1\\ansi Licence of the demo. See http://example.com/licence for details.\\par}";
  p.allowChangePath = 1;
  p.installPath = "<programfiles>\\<company>\\<appname>\\";
  p.allowChangeStartMenu = 1;
  p.startMenuFolder = "<company>\\<appname>";
  p.showLabel = 1;
  p.win8 = 1;
  p.checkedLanguages = {0, 1};
  ShortcutEntry desk;
  desk.destination = "Desktop";
  desk.target = "<installpath>\\demo.exe";
  desk.name = "Demo";
  ShortcutEntry menu = desk;
  menu.destination = "Startmenu";
  p.shortcuts = {desk, menu};
  return in;
}

// Builds dir + "setup.exe" from in with the real runtime; the program folder is the
// tests' own (default.zkl and Languages\ lie there).
inline bool MakeSetupFromProject(BuildInput in, const std::wstring& dir, std::string* error) {
  std::string a = WideToAnsi(dir);
  CreateFolderPath(dir + L"res\\");
  PutBytes(dir + L"archive.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  in.programFolder = WideToAnsi(FullFolder(L"."));
  in.archivePath = a + "archive.zip";
  if (!WriteResourceFiles(in, a + "res\\", nullptr, error)) return false;
  if (!PackCabinet(dir + L"Setup.cab", dir + L"cabtemp\\", CabinetEntries(in, a + "res\\"))) return false;
  return WriteSetupExecutable(a + "setup.exe", RuntimeImage(), a + "Setup.cab", a + "archive.zip", error) == 1;
}

// A cabinet of {name in the cabinet, content} pairs, as bytes.
inline std::string CabinetOf(const std::wstring& dir, const std::vector<std::pair<std::string, std::string>>& files) {
  std::wstring src = dir + L"cabsrc\\";
  CreateFolderPath(src);
  std::vector<std::pair<std::string, std::string>> entries;
  int n = 0;
  for (const auto& f : files) {
    std::wstring path = src + L"f" + std::to_wstring(n++);
    PutBytes(path, f.second);
    entries.push_back({WideToAnsi(path), f.first});
  }
  std::wstring cab = dir + L"hand.cab";
  if (!PackCabinet(cab, dir + L"cabtemp\\", entries)) return "";
  return GetBytes(cab);
}

// A PCM WAVE file of a short silence.
inline std::string SilenceWave() {
  auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  std::string data(8000, '\x80');
  std::string fmt = std::string("fmt ") + le32(16) + std::string("\x01\x00\x01\x00", 4) + le32(8000) + le32(8000) +
                    std::string("\x01\x00\x08\x00", 4);
  std::string body = "WAVE" + fmt + "data" + le32(static_cast<uint32_t>(data.size())) + data;
  return "RIFF" + le32(static_cast<uint32_t>(body.size())) + body;
}

// The runtime's own header picture (55x55), which serves as a splash picture; "" when it
// cannot be read.
inline std::string SplashPicture() {
  HMODULE runtime = LoadLibraryExW((FullFolder(L".") + L"SetupRuntime.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  const void* data = nullptr;
  size_t size = 0;
  if (!RcDataResource(runtime, ZK_RES_SETUP_HEADER_BMP, &data, &size)) return "";
  return std::string(static_cast<const char*>(data), size);
}

// Runs setupPath with TEMP and TMP set to temp (created here) for the new process.
// The system's error of the last start that failed, kept before the environment is put
// back, which sets another.
inline DWORD& LastSetupStartError() {
  static DWORD error = 0;
  return error;
}

inline bool StartSetup(const std::wstring& setupPath, const std::wstring& temp, DriverProcess* p) {
  CreateFolderPath(temp);
  ScopedEnv tempVariable(L"TEMP", temp), tmpVariable(L"TMP", temp);
  const bool started = DriverStart(WideToUtf8(setupPath), "", "", p);
  if (!started) LastSetupStartError() = GetLastError();
  return started;
}

// The work folders ("ZK{...}") in temp.
inline int CountWorkFolders(const std::wstring& temp) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((temp + L"ZK{*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ++n;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

#endif
