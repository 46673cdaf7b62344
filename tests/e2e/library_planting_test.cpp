// Libraries planted where a setup, an uninstaller or an update client starts from. A setup
// usually runs from a downloads folder, the uninstaller and the update client from the
// installation folder; anyone may have put a DLL named like a system library there. The
// test bed plants a marker library under each such name and tells Wine to prefer a library
// found on the search path over its own (as Windows would take the first one found), then
// runs the real programs through their whole flow: no marker may appear. A careless probe
// program run from the same folder must trip the markers, which shows that the bed does
// detect a planted library.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/registry_helper.h"
#include "driver/driver.h"
#include "e2e/setup_walk.h"
#include "model/updater_settings.h"
#include "setupruntime/setup_fixture.h"
#include "setupruntime/wizard.h"
#include "support/file_bytes.h"
#include "support/folders.h"
#include "support/http_server.h"

namespace {

const DWORD kStartMs = 30000;
const DWORD kActMs = 10000;
const DWORD kInstallMs = 30000;

// Names system libraries load on demand, by bare name, on a program's behalf while it
// extracts the setup's cabinet, shows the splash screen with its sound and the wizard
// (licence, folder browser), writes links and runs the finish program, or while the
// uninstaller removes them. Libraries that are loaded while a program itself is being
// loaded (the imports of its imports, and under the test bed the theme library) are found
// before its first instruction runs; no start-up code can keep them out, so they are not
// planted here.
using Names = std::vector<std::wstring>;
const Names kPlantedNames = {
    L"cabinet.dll",  L"msimg32.dll", L"comctl32.dll", L"comdlg32.dll", L"gdiplus.dll",  L"oleaut32.dll",
    L"riched20.dll", L"shdocvw.dll", L"usp10.dll",    L"winmm.dll",    L"winspool.drv", L"wintrust.dll",
};

// The same for the update client, which also goes on line: WinINet (loaded by the client
// when it first asks a server) and what WinINet, its sockets, name lookups, security
// packages and certificate checks load on demand, on Windows and under Wine. Wine's user32
// imports zlib1 and version, so those two are loaded with the client itself and are left
// out; the common controls are planted although the client imports them, because its
// manifest takes them from the side-by-side store and never from its folder.
const Names kClientPlantedNames = {
    L"cabinet.dll",  L"msimg32.dll",  L"comctl32.dll", L"comdlg32.dll", L"gdiplus.dll",  L"oleaut32.dll",
    L"riched20.dll", L"shdocvw.dll",  L"usp10.dll",    L"winmm.dll",    L"winspool.drv", L"wintrust.dll",
    L"wininet.dll",  L"urlmon.dll",   L"iertutil.dll", L"winhttp.dll",  L"secur32.dll",  L"sspicli.dll",
    L"schannel.dll", L"crypt32.dll",  L"cryptui.dll",  L"cryptnet.dll", L"bcrypt.dll",   L"ncrypt.dll",
    L"dnsapi.dll",   L"mswsock.dll",  L"wshtcpip.dll", L"winnsi.dll",   L"nsi.dll",      L"iphlpapi.dll",
    L"dhcpcsvc.dll", L"netapi32.dll", L"userenv.dll",  L"mpr.dll",      L"ws2_32.dll",   L"normaliz.dll",
    L"profapi.dll",  L"rasapi32.dll", L"sensapi.dll",  L"apphelp.dll",  L"mlang.dll",
};

// For as long as it lives, program (a file name; empty: every program) prefers a library
// found on its search path over Wine's own for every name in names. Wine reads these lists
// from the registry when a program starts; its environment list would reach only programs
// that Wine itself starts, not those a Windows process starts.
class PreferPlanted {
 public:
  PreferPlanted(const std::wstring& program, const Names& names)
      : app_(program.empty() ? std::wstring() : L"Software\\Wine\\AppDefaults\\" + program) {
    for (std::wstring n : names) {
      if (n.size() > 4 && lstrcmpiW(n.c_str() + n.size() - 4, L".dll") == 0) n.resize(n.size() - 4);
      values_.push_back(n);
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Overrides().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot make " << program << " prefer planted libraries";
      return;
    }
    const wchar_t order[] = L"native,builtin";
    for (const std::wstring& v : values_)
      RegSetValueExW(key, v.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof(order));
    RegCloseKey(key);
  }
  ~PreferPlanted() {
    if (!app_.empty()) {
      RegDeleteTreeW(HKEY_CURRENT_USER, app_.c_str());
      return;
    }
    // The list every program reads is the test prefix's own and holds none of these names
    // otherwise: only the values set here go, so the rest of the suite runs as before.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Overrides().c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    for (const std::wstring& v : values_) RegDeleteValueW(key, v.c_str());
    RegCloseKey(key);
  }

 private:
  std::wstring Overrides() const { return (app_.empty() ? std::wstring(L"Software\\Wine") : app_) + L"\\DllOverrides"; }

  std::wstring app_;
  Names values_;
};

// Puts the marker library into folder under every name in names.
void Plant(const std::wstring& folder, const Names& names = kPlantedNames) {
  const std::wstring marker = FullFolder(L".") + L"planted_library.dll";
  ASSERT_TRUE(PathExists(marker));
  for (const std::wstring& name : names) ASSERT_TRUE(CopyFileW(marker.c_str(), (folder + name).c_str(), FALSE));
}

// The names planted in folder that some process has loaded.
Names LoadedFrom(const std::wstring& folder, const Names& names = kPlantedNames) {
  Names loaded;
  for (const std::wstring& name : names)
    if (PathExists(folder + name + L".loaded")) loaded.push_back(name);
  return loaded;
}

std::string Joined(const std::vector<std::wstring>& names) {
  std::string text;
  for (const std::wstring& n : names) text += " " + WideToUtf8(n);
  return text;
}

struct Running {
  DriverProcess p;
  ~Running() {
    if (DriverRunning(p)) DriverKill(p);
    DriverRelease(&p);
  }
};

// The first shown dialog of process pid other than `except`, polled.
HWND WaitDialog(DWORD pid, HWND except, DWORD timeoutMs) {
  return DriverWaitWindowWhere(
      pid,
      [except](HWND w) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        return w != except && lstrcmpW(cls, L"#32770") == 0;
      },
      timeoutMs);
}

TEST(LibraryPlanting, AProgramAskingByBareNameLoadsThePlantedLibraries) {
  const std::wstring dir = TestFolder();
  const std::wstring probe = FullFolder(L".") + L"planting_probe.exe";
  const std::string cabinet = CabinetOf(dir, {{"a.txt", "a"}});
  ASSERT_FALSE(cabinet.empty());
  ASSERT_TRUE(PutBytes(dir + L"probe.cab", cabinet));
  std::string bare = "bare";
  for (const std::wstring& name : kPlantedNames) bare += " " + WideToUtf8(name);
  const struct {
    const char* what;
    std::string args;
    std::vector<std::wstring> loaded;
  } cases[] = {
      {"every name loaded by bare name", bare, kPlantedNames},
      // Restricting the program's own loads is not enough: the setup API still takes the
      // cabinet library from the program's folder.
      {"a cabinet iterated without loading ahead", "cabinet " + WideToUtf8(dir) + "probe.cab", {L"cabinet.dll"}},
  };
  PreferPlanted prefer(L"planting_probe.exe", kPlantedNames);
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring caseDir = dir + L"case" + std::to_wstring(n++) + L"\\";
    CreateFolderPath(caseDir);
    ASSERT_TRUE(CopyFileW(probe.c_str(), (caseDir + L"planting_probe.exe").c_str(), FALSE));
    ASSERT_NO_FATAL_FAILURE(Plant(caseDir));
    Running r;
    ASSERT_TRUE(DriverStart(WideToUtf8(caseDir) + "planting_probe.exe", c.args, WideToUtf8(caseDir), &r.p));
    EXPECT_TRUE(DriverWaitExit(r.p, kStartMs, nullptr));
    EXPECT_EQ(LoadedFrom(caseDir), c.loaded) << "loaded:" << Joined(LoadedFrom(caseDir));
  }
}

TEST(LibraryPlanting, SetupAndUninstallerLoadNoPlantedLibrary) {
  const std::wstring dir = TestFolder();
  const std::wstring inst = dir + L"inst\\";
  // A splash screen with its sound, every page, two languages, links, and a finish
  // program that leaves its mark.
  BuildInput in = FullProject();
  ASSERT_TRUE(PutBytes(dir + L"splash.bmp", SplashPicture()));
  ASSERT_TRUE(PutBytes(dir + L"splash.wav", SilenceWave()));
  in.project.showSplash = 1;
  in.project.splashImage = WideToAnsi(dir) + "splash.bmp";
  in.project.playSound = 1;
  in.project.splashSound = WideToAnsi(dir) + "splash.wav";
  in.project.splashTime = "1";
  in.project.installPath = WideToAnsi(inst);
  in.project.includeUninstaller = 1;
  in.project.runProgram = 1;
  in.project.programLine = WideToAnsi(dir) + "finish.cmd";
  ASSERT_TRUE(PutBytes(dir + L"finish.cmd", "@echo done> \"%~dp0finish.txt\"\r\n"));
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(in, dir, &error)) << error;
  ASSERT_NO_FATAL_FAILURE(Plant(dir));

  PreferPlanted preferInSetup(L"setup.exe", kPlantedNames);
  Running setup;
  ASSERT_TRUE(StartSetup(dir + L"setup.exe", dir + L"temp\\", &setup.p));
  // A program that took a planted library may end before its first window: the message
  // names what was loaded.
  ASSERT_EQ("", ChooseLanguage(setup.p.id, "English", kStartMs)) << "loaded:" << Joined(LoadedFrom(dir));
  HWND wizard = WaitWizard(setup.p.id, "Demo Setup", kActMs);
  ASSERT_NE(wizard, nullptr);
  // To the folder page, where the folder browser is opened and closed again.
  HWND next = DriverFindControl(wizard, wiz::kNext);
  ASSERT_TRUE(DriverClick(next));
  ASSERT_TRUE(DriverPoll([&] { return ShownPage(wizard) == wiz::kLicence; }, kActMs));
  ASSERT_TRUE(DriverClick(DriverFindControl(wizard, wiz::kAccept)));
  ASSERT_TRUE(DriverPoll([&] { return DriverEnabled(next); }, kActMs));
  ASSERT_TRUE(DriverClick(next));
  ASSERT_TRUE(DriverPoll([&] { return ShownPage(wizard) == wiz::kAppFolder; }, kActMs));
  ASSERT_TRUE(DriverClick(DriverFindControl(wizard, kInstallFolderBrowse)));
  HWND browser = WaitDialog(setup.p.id, wizard, kActMs);
  ASSERT_NE(browser, nullptr);
  PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(DriverPoll([&] { return !IsWindow(browser); }, kActMs));
  std::vector<int> pages;
  ASSERT_EQ("", WalkToFinish(wizard, WalkOptions(), kInstallMs, &pages));
  ASSERT_TRUE(DriverClick(next));
  DWORD code = 1;
  ASSERT_TRUE(DriverWaitExit(setup.p, kActMs, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(DriverPoll([&] { return PathExists(dir + L"finish.txt"); }, kActMs));
  EXPECT_EQ(LoadedFrom(dir), std::vector<std::wstring>()) << "loaded:" << Joined(LoadedFrom(dir));
  const std::wstring desktopLink = GetUserDesktopFolder() + L"Demo.lnk";
  EXPECT_TRUE(PathExists(desktopLink));

  ASSERT_TRUE(PathExists(inst + L"Uninstall.exe"));
  ASSERT_NO_FATAL_FAILURE(Plant(inst));
  PreferPlanted preferInUninstaller(L"Uninstall.exe", kPlantedNames);
  Running uninstaller;
  ASSERT_TRUE(StartWithTemp(WideToUtf8(inst) + "Uninstall.exe", "", WideToUtf8(dir) + "temp\\", &uninstaller.p));
  ASSERT_TRUE(DriverAnswerMessageBox(uninstaller.p.id, "Uninstall", IDYES, kStartMs, nullptr))
      << "loaded:" << Joined(LoadedFrom(inst));
  ASSERT_TRUE(DriverAnswerMessageBox(uninstaller.p.id, "Uninstall", IDOK, kActMs * 2, nullptr));
  ASSERT_TRUE(DriverWaitExit(uninstaller.p, kActMs, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(LoadedFrom(inst), std::vector<std::wstring>()) << "loaded:" << Joined(LoadedFrom(inst));
  EXPECT_FALSE(PathExists(desktopLink));
}

// The update client's Next button and finish page text.
const int kClientNext = 4;
const int kClientFinishText = 40;

// The update client as a build makes it: pelbuild.dll writes it into the product's folder
// with these settings.
bool MakeClient(const std::wstring& path, const std::string& address) {
  HMODULE library = LoadLibraryW((FullFolder(L".") + L"pelbuild.dll").c_str());
  if (!library) return false;
  auto create =
      reinterpret_cast<PellucastCreateProc>(reinterpret_cast<void*>(GetProcAddress(library, kPellucastCreateName)));
  UpdaterSettings s{};
  s.version = "1.0";
  s.mainAddress = address.c_str();
  s.productName = "Demo";
  s.programFile = "bin\\demo.exe";
  s.windowTitle = "Demo Update";
  s.runFlag = 1;
  bool made = create && create(WideToAnsi(path).c_str(), &s) == 1;
  FreeLibrary(library);
  return made;
}

// The client in the product's folder, among planted libraries, through a whole update:
// the search, the download, and Finish, which rebuilds the client and starts the product.
TEST(LibraryPlanting, UpdateClientLoadsNoPlantedLibrary) {
  const std::wstring dir = TestFolder();
  const std::wstring app = dir + L"app\\";
  const std::wstring temp = dir + L"temp\\";
  CreateFolderPath(app + L"data\\");
  CreateFolderPath(app + L"bin\\");
  CreateFolderPath(temp);
  TestHttpServer server;
  ASSERT_TRUE(server.Start());
  server.SetAnswer("/a/Updates/", OkAnswer("<html>updates</html>"));
  server.SetAnswer("/a/updatescript.ini", OkAnswer("Releases {\r\n1.0\r\n1.1\r\n}\r\n"
                                                   "Release: 1.1 {\r\n  DownloadFile: f1.txt, data\r\n}\r\n"));
  server.SetAnswer("/a/Updates/f1.txt", OkAnswer("new"));
  // The product is a small program with a window, started by the client at the end. It
  // lives in a folder of its own, where nothing is planted: what it loads is not the
  // client's doing.
  ASSERT_TRUE(CopyFileW((FullFolder(L".") + L"driver_fixture.exe").c_str(), (app + L"bin\\demo.exe").c_str(), FALSE));
  ASSERT_TRUE(MakeClient(app + L"Update.exe", "127.0.0.1:" + std::to_string(server.Port()) + "/a"));
  ASSERT_NO_FATAL_FAILURE(Plant(app, kClientPlantedNames));

  PreferPlanted prefer(L"Update.exe", kClientPlantedNames);
  Running client;
  ASSERT_TRUE(StartWithTemp(WideToUtf8(app) + "Update.exe", "", WideToUtf8(temp), &client.p));
  HWND window = DriverWaitWindow("Demo Update", client.p.id, kStartMs);
  ASSERT_NE(window, nullptr) << "loaded:" << Joined(LoadedFrom(app, kClientPlantedNames));
  HWND next = DriverFindControl(window, kClientNext);
  // Next comes on once the search has found the new release.
  ASSERT_TRUE(DriverPoll([&] { return DriverEnabled(next); }, kStartMs))
      << "loaded:" << Joined(LoadedFrom(app, kClientPlantedNames));
  ASSERT_TRUE(DriverClick(next));
  ASSERT_TRUE(DriverPoll([&] { return DriverVisible(next) && DriverText(next) == "Finish"; }, kInstallMs))
      << "loaded:" << Joined(LoadedFrom(app, kClientPlantedNames));
  EXPECT_EQ(DriverText(DriverFindControl(window, kClientFinishText)),
            "All updates have been successfully downloaded. Please click Finish in order to close the update wizard.");
  {
    // Finish starts the rebuilt client under a name made up on the spot, which no
    // per-program preference can name beforehand: until it has taken the old client's
    // place, every program prefers the planted libraries.
    PreferPlanted preferEverywhere(L"", kClientPlantedNames);
    ASSERT_TRUE(DriverClick(next));
    DWORD code = 1;
    ASSERT_TRUE(DriverWaitExit(client.p, kActMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(DriverPoll(
        [&] {
          for (const std::wstring& name : FolderEntries(app))
            if (name.rfind(L"qd", 0) == 0) return false;
          return true;
        },
        kActMs))
        << "loaded:" << Joined(LoadedFrom(app, kClientPlantedNames));
  }
  EXPECT_EQ(GetBytes(app + L"data\\f1.txt"), "new");
  // The product runs; it is not under test here, so it is ended at once.
  HWND product = DriverWaitWindow("Driver Fixture", 0, kStartMs);
  ASSERT_NE(product, nullptr);
  DWORD productId = 0;
  GetWindowThreadProcessId(product, &productId);
  HANDLE productProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, productId);
  if (productProcess) {
    TerminateProcess(productProcess, 0);
    WaitForSingleObject(productProcess, kActMs);
    CloseHandle(productProcess);
  }
  EXPECT_TRUE(PathExists(app + L"Update.exe"));
  EXPECT_EQ(LoadedFrom(app, kClientPlantedNames), Names()) << "loaded:" << Joined(LoadedFrom(app, kClientPlantedNames));
}

}  // namespace
