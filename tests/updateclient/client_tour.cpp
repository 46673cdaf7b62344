// Walks the update client through its three pages for scripts/client-screenshots.sh, in
// English and in German, against the test server:
//   zk_client_tour DIR
// At each picture it writes DIR\shot-NAME and waits until the script, having taken the
// picture, deletes that file. Ends with 0 when every page was reached.
#include <windows.h>

#include <stdio.h>

#include <string>

#include "common/text.h"
#include "driver/driver.h"
#include "model/updater_settings.h"
#include "support/file_bytes.h"
#include "support/http_server.h"
#include "updateclient/wizard.h"

namespace {

constexpr DWORD kWaitMs = 30000;

bool Picture(const std::wstring& dir, const std::wstring& name) {
  std::wstring marker = dir + L"shot-" + name;
  if (!PutBytes(marker, "")) return false;
  for (DWORD start = GetTickCount(); PathExists(marker); Sleep(100))
    if (GetTickCount() - start > kWaitMs) return false;
  return true;
}

bool MakeClient(const std::wstring& path, const std::string& address, int language) {
  HMODULE library = LoadLibraryW(L"pelbuild.dll");
  auto create = library ? reinterpret_cast<PellucastCreateProc>(
                              reinterpret_cast<void*>(GetProcAddress(library, kPellucastCreateName)))
                        : nullptr;
  if (!create) return false;
  UpdaterSettings s{};
  s.version = "1.0";
  s.mainAddress = address.c_str();
  s.language = language;
  s.productName = "Demo Notes";
  s.programFile = "DemoNotes.exe";
  s.windowTitle = "Demo Notes Update";
  return create(WideToAnsi(path).c_str(), &s) == 1;
}

bool Tour(const std::wstring& dir, TestHttpServer& server, int language, const std::wstring& tag) {
  std::wstring app = dir + tag + L"\\";
  CreateDirectoryW(app.c_str(), nullptr);
  CreateDirectoryW((app + L"data").c_str(), nullptr);
  std::string address = "127.0.0.1:" + std::to_string(server.Port()) + "/demo";
  if (!MakeClient(app + L"Update.exe", address, language)) return false;
  DriverProcess p;
  if (!DriverStart(WideToUtf8(app + L"Update.exe"), "", WideToUtf8(app), &p)) return false;
  HWND window = DriverWaitWindow("Demo Notes Update", p.id, kWaitMs);
  bool ok = window != nullptr;
  HWND next = ok ? DriverFindControl(window, kNextButton) : nullptr;
  ok = ok && DriverPoll([&] { return DriverEnabled(next); }, kWaitMs, window);
  ok = ok && Picture(dir, tag + L"-1-search");
  ok = ok && DriverClick(next);
  // The slow file keeps the download page up for its picture.
  ok =
      ok && DriverPoll([&] { return DriverText(DriverFindControl(window, kFileBytes)).find('/') != std::string::npos; },
                       kWaitMs, window);
  ok = ok && Picture(dir, tag + L"-2-download");
  ok = ok && DriverPoll([&] { return DriverVisible(next); }, kWaitMs * 2, window);
  ok = ok && Picture(dir, tag + L"-3-finish");
  DriverKill(p);
  DriverRelease(&p);
  return ok;
}

// A server that takes its time: the busy indicator turns on the first row.
bool Busy(const std::wstring& dir, TestHttpServer& server) {
  std::wstring app = dir + L"busy\\";
  CreateDirectoryW(app.c_str(), nullptr);
  std::string address = "127.0.0.1:" + std::to_string(server.Port()) + "/held";
  if (!MakeClient(app + L"Update.exe", address, 0)) return false;
  DriverProcess p;
  if (!DriverStart(WideToUtf8(app + L"Update.exe"), "", WideToUtf8(app), &p)) return false;
  bool ok = DriverWaitWindow("Demo Notes Update", p.id, kWaitMs) != nullptr;
  Sleep(1000);
  ok = ok && Picture(dir, L"english-0-busy");
  DriverKill(p);
  DriverRelease(&p);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: zk_client_tour DIR\n");
    return 2;
  }
  std::wstring dir = FullFolder(argv[1]);
  TestHttpServer server;
  if (!server.Start()) return 1;
  server.SetAnswer("/demo/Updates/", OkAnswer("updates"));
  server.SetAnswer("/demo/updatescript.ini",
                   OkAnswer("releases{\r\n1.0\r\n1.1\r\n}\r\nrelease:1.1{\r\nDownloadFile: DemoNotes.exe,data\r\n"
                            "DownloadFile: Manual.pdf,data\r\n}\r\n"));
  HttpAnswer held;
  held.delivery = HttpDelivery::NeverAnswer;
  server.SetAnswer("/held/Updates/", held);
  HttpAnswer slow = OkAnswer(std::string(600 * 1024, 'x'));
  slow.delivery = HttpDelivery::Drip;
  slow.dripBytes = 16 * 1024;
  slow.dripEveryMs = 100;
  server.SetAnswer("/demo/Updates/DemoNotes.exe", slow);
  server.SetAnswer("/demo/Updates/Manual.pdf", OkAnswer(std::string(300 * 1024, 'm')));
  bool ok = Busy(dir, server) && Tour(dir, server, 0, L"english") && Tour(dir, server, 1, L"german");
  return ok ? 0 : 1;
}
