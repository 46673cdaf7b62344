// The installation end to end: what lands on disk, in the registry, in the shell and in
// uninstall.dat, and how the wizard is told about it.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "builder/zip_archiver.h"
#include "common/registry_helper.h"
#include "common/sha256.h"
#include "common/text.h"
#include "setupruntime/install_test_support.h"

namespace {

// Started by a command of the installation as "<copy of this program> --zk-install-child
// <report>": waits a little, so that only a waiting start sees the report, then writes its
// current folder, ZK_INSTALLPATH and whether it was asked to hide, and ends.
int RunAsChildWhenAsked() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 3 || std::wstring(argv[1]) != L"--zk-install-child") return 0;
  Sleep(500);
  wchar_t cwd[MAX_PATH] = L"", env[MAX_PATH] = L"";
  GetCurrentDirectoryW(MAX_PATH, cwd);
  GetEnvironmentVariableW(L"ZK_INSTALLPATH", env, MAX_PATH);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  bool hidden = (si.dwFlags & STARTF_USESHOWWINDOW) && si.wShowWindow == SW_HIDE;
  PutBytes(argv[2], Lines({cwd, env, hidden ? L"hidden" : L"shown"}));
  ExitProcess(0);
}
const int g_child = RunAsChildWhenAsked();

const std::wstring kUninstallKey =
    std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kTestAppName;

std::wstring RegText(HKEY root, const std::wstring& key, const std::wstring& name) {
  wchar_t value[512] = L"";
  DWORD size = sizeof value;
  if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return L"?";
  return value;
}

std::vector<ZipItem> SmallProgram() {
  return {{"", "", FILE_ATTRIBUTE_DIRECTORY},          {"readme.txt", "read me"},
          {"Data/", "", FILE_ATTRIBUTE_DIRECTORY},     {"Data/a.txt", "a"},
          {"Data/Sub/", "", FILE_ATTRIBUTE_DIRECTORY}, {"Data/Sub/b.txt", "b"}};
}

TEST_F(InstallTest, WritesTheUninstallLogTheUninstallerReplays) {
  UseArchive(SmallProgram());
  in.config.desktopIcon = 1;
  in.config.startMenuFolder = 1;
  in.config.registry = 1;
  PutWorkFile(L"Desktop.dat", Lines({L"<installpath>\\readme.txt", L"Read Me", L"/view"}));
  PutWorkFile(L"Startmenu.dat", Lines({L"<installpath>\\Data\\a.txt", L"A file", L""}));
  PutWorkFile(L"Registry.dat",
              Lines({L"HKEY_CURRENT_USER", L"Software\\ZendrikolbarTestInstall\\Log", L"kept", L"1"}) + Int32Bytes(0) +
                  Lines({L"HKEY_CURRENT_USER", L"Software\\ZendrikolbarTestInstall\\Log", L"removed", L"2"}) +
                  Int32Bytes(1));
  ASSERT_EQ(Run(), 1);

  const std::wstring app = App();
  std::string expected = Int32Bytes(7) + Lines({kTestAppName, L"1.2", L"http://uninstall.example", app}) +
                         Int32Bytes(6) +
                         Lines({L"#DF",
                                app + L"readme.txt",
                                L"#DF",
                                app + L"Data\\a.txt",
                                L"#DF",
                                app + L"Data\\Sub\\b.txt",
                                L"#DD",
                                app + L"Data\\Sub\\",
                                L"#DD",
                                app + L"Data\\",
                                L"#DRK",
                                L"HKEY_LOCAL_MACHINE",
                                kUninstallKey,
                                L"#DF",
                                dir + L"Desktop\\Read Me.lnk",
                                L"#DD",
                                dir + L"Programs\\Test Product\\",
                                L"#DRV",
                                L"HKEY_CURRENT_USER",
                                L"Software\\ZendrikolbarTestInstall\\Log\\",
                                L"removed"});
  EXPECT_EQ(GetBytes(app + L"uninstall.dat"), expected);

  EXPECT_EQ(GetBytes(app + L"uninst.exe"), uninstallerImage);
  EXPECT_EQ(GetBytes(app + L"uninstall_l.zkl"), GetBytes(work + L"Default.zkl"));
  const struct {
    const wchar_t* name;
    std::wstring value;
  } values[] = {{L"DisplayName", kTestAppName},
                {L"DisplayVersion", L"1.2"},
                {L"HelpLink", L"http://help.example"},
                {L"Publisher", L"Test Company"},
                {L"UninstallString", L"\"" + app + L"uninst.exe\""},
                {L"DisplayIcon", app + L"uninst.exe"},
                {kUninstallLogDigestValue, Utf8ToWide(Sha256Hex(expected))}};
  for (const auto& v : values) EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, v.name), v.value) << v.name;

  // Six entries: the bar runs to 8, one step per entry, then two steps share one value.
  EXPECT_EQ(ui.progress,
            (std::vector<std::wstring>{L"range 8", L"1", L"2", L"3", L"4", L"5", L"6", L"6", L"7", L"7", L"0"}));
  ASSERT_EQ(ui.statuses.size(), 7u);
  EXPECT_EQ(ui.statuses[1], L"Extracting files:\n" + app + L"readme.txt");
  EXPECT_EQ(ui.statuses.back(), L"Finishing the installation...");
  EXPECT_EQ(ui.finishPages, 1);
  EXPECT_EQ(ui.endSetups, 0);
  EXPECT_TRUE(ui.asks.empty() && ui.infos.empty() && ui.errors.empty());
}

TEST_F(InstallTest, WithoutUninstallerNothingOfItIsWritten) {
  UseArchive(SmallProgram());
  in.config.uninstaller = 0;
  ASSERT_EQ(Run(), 1);
  EXPECT_EQ(GetBytes(App() + L"Data\\Sub\\b.txt"), "b");
  for (const wchar_t* name : {L"uninst.exe", L"uninstall.dat", L"uninstall_l.zkl"}) {
    EXPECT_FALSE(PathExists(App() + name)) << WideToUtf8(name);
  }
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(ui.finishPages, 1);
}

FILETIME WriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

int64_t Ticks(const FILETIME& t) { return (static_cast<int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// The builder's own archive of a staging folder, installed and installed again.
TEST_F(InstallTest, InstalledFilesEqualTheirSourcesWithTheirDates) {
  std::wstring staging = dir + L"staging\\";
  CreateFolderPath(staging + L"Sub\\");
  std::string big;
  for (int i = 0; big.size() < 300000; ++i) big += "line " + std::to_string(i * 7919 % 100003) + " of a big file\r\n";
  const struct {
    const wchar_t* name;
    std::string data;
  } files[] = {{L"a.txt", "alpha"},      {L"big.bin", big},       {L"empty.txt", ""},
               {L"ro.txt", "read only"}, {L"Sub\\b.txt", "beta"}, {L"M\u00fcller.txt", "umlaut in the name"},
               {L"hidden.txt", "hidden"}};
  for (const auto& f : files) ASSERT_TRUE(PutBytes(staging + f.name, f.data));
  SetFileAttributesW((staging + L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW((staging + L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_GT(AddZipFolder(WideToAnsi(work + L"program.zip"), WideToAnsi(staging + L"*.*"), kZipNameRelative,
                         kZipFolderTreeEntries),
            0);
  ASSERT_TRUE(WriteSetupFile(in.setupPath, work + L"program.zip", &in.archive));

  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round == 1 ? "first installation" : "installed again over read-only files");
    ui = RecordingUi();
    ASSERT_EQ(Run(), 1);
    EXPECT_TRUE(ui.asks.empty());
    for (const auto& f : files) {
      std::wstring installed = App() + f.name;
      EXPECT_EQ(GetBytes(installed), f.data) << WideToUtf8(f.name);
      // The archive keeps times to two seconds.
      EXPECT_LE(std::llabs(Ticks(WriteTime(installed)) - Ticks(WriteTime(staging + f.name))), 20000000LL)
          << WideToUtf8(f.name);
    }
    EXPECT_NE(GetFileAttributesW((App() + L"ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_NE(GetFileAttributesW((App() + L"hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(GetFileAttributesW((App() + L"a.txt").c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
    EXPECT_NE(GetFileAttributesW((App() + L"Sub").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  }
  SetFileAttributesW((staging + L"ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesW((App() + L"ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(InstallTest, RegistryValuesFollowTheTypeOfWhatIsThere) {
  const std::wstring key = std::wstring(kTestRegistryKey) + L"\\Types\\";
  const std::string none;
  const auto sz = [](const std::wstring& s) {
    return std::string(reinterpret_cast<const char*>(s.c_str()), (s.size() + 1) * 2);
  };
  const struct {
    const wchar_t* name;
    DWORD oldType;  // REG_NONE: no value yet
    std::string oldBytes;
    const wchar_t* root;
    std::wstring data;
    int32_t remove;
    DWORD type;
    std::string bytes;
  } cases[] = {
      {L"dword", REG_DWORD, std::string("\5\0\0\0", 4), L"HKEY_CURRENT_USER", L"1234", 1, REG_DWORD,
       std::string("\xd2\x04\0\0", 4)},
      {L"binary", REG_BINARY, "\1\2", L"HKEY_CURRENT_USER", L"0A 1B FF", 0, REG_BINARY, "\x0a\x1b\xff"},
      {L"expand", REG_EXPAND_SZ, sz(L"old"), L"HKEY_CURRENT_USER", L"%TEMP%\\x", 1, REG_EXPAND_SZ, sz(L"%TEMP%\\x")},
      {L"string", REG_SZ, sz(L"old"), L"HKEY_CURRENT_USER", L"text", 0, REG_SZ, sz(L"text")},
      {L"multi", REG_MULTI_SZ, sz(L"a") + std::string(2, '\0'), L"HKEY_CURRENT_USER", L"line", 0, REG_SZ, sz(L"line")},
      {L"fresh", REG_NONE, none, L"HKEY_CURRENT_USER", L"1234", 1, REG_SZ, sz(L"1234")},
      {L"placeholder", REG_NONE, none, L"HKEY_CURRENT_USER", L"<installpath>\\data", 0, REG_SZ, sz(dir + L"App\\data")},
      {L"unknown root", REG_NONE, none, L"HKCU", L"mine", 1, REG_SZ, sz(L"mine")},
  };
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  std::string rows;
  std::vector<std::wstring> records;
  for (const auto& c : cases) {
    if (c.oldType != REG_NONE) {
      RegSetValueExW(h, c.name, 0, c.oldType, reinterpret_cast<const BYTE*>(c.oldBytes.data()),
                     static_cast<DWORD>(c.oldBytes.size()));
    }
    // Written with "/" and without the closing backslash, as an author may.
    rows += Lines({c.root, L"Software/ZendrikolbarTestInstall/Types", c.name, c.data}) + Int32Bytes(c.remove);
    if (c.remove) records.insert(records.end(), {L"#DRV", L"HKEY_CURRENT_USER", key, c.name});
  }
  RegCloseKey(h);
  PutWorkFile(L"Registry.dat", rows);
  in.config.registry = 1;
  UseArchive({{"file.txt", "x"}});
  ASSERT_EQ(Run(), 1);

  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.name));
    DWORD type = 0;
    BYTE data[256];
    DWORD size = sizeof data;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), c.name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), size), c.bytes);
  }
  std::string log = GetBytes(App() + L"uninstall.dat");
  std::string drv = Lines(records);
  EXPECT_EQ(log.substr(log.size() - std::min(log.size(), drv.size())), drv);
}

TEST_F(InstallTest, ShortcutsPointAtTheirTargetsAndFollowTheCheckBoxes) {
  in.config.desktopIcon = 1;
  in.config.startMenuFolder = 1;
  PutWorkFile(L"Desktop.dat", Lines({L"<installpath>\\tool.exe", L"Tool <programversion>", L"--desk \"a b\""}));
  PutWorkFile(L"Startmenu.dat", Lines({L"<installpath>\\Data\\help.txt", L"Help", L""}));
  UseArchive({{"tool.exe", "MZ"}, {"Data/", "", FILE_ATTRIBUTE_DIRECTORY}, {"Data/help.txt", "help"}});
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const struct { int desktopChecked, startMenuChecked; } cases[] = {{1, 1}, {0, 1}, {1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "desktop " << c.desktopChecked << ", start menu " << c.startMenuChecked);
    RemoveWorkFolder(dir + L"Desktop\\");
    RemoveWorkFolder(dir + L"Programs\\");
    CreateFolderPath(dir + L"Desktop\\");
    CreateFolderPath(dir + L"Programs\\");
    in.desktopChecked = c.desktopChecked;
    in.startMenuChecked = c.startMenuChecked;
    ASSERT_EQ(Run(), 1);
    const struct {
      bool wanted;
      std::wstring link, target, arguments, folder;
    } links[] = {{c.desktopChecked == 1, dir + L"Desktop\\Tool 1.2.lnk", App() + L"tool.exe", L"--desk \"a b\"", App()},
                 {c.startMenuChecked == 1, dir + L"Programs\\Test Product\\Help.lnk", App() + L"Data\\help.txt", L"",
                  App() + L"Data\\"}};
    for (const auto& l : links) {
      SCOPED_TRACE(WideToUtf8(l.link));
      ASSERT_EQ(PathExists(l.link), l.wanted);
      if (!l.wanted) continue;
      IShellLinkW* link = nullptr;
      IPersistFile* file = nullptr;
      ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&link))));
      ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
      ASSERT_TRUE(SUCCEEDED(file->Load(l.link.c_str(), STGM_READ)));
      wchar_t text[MAX_PATH] = L"";
      link->GetPath(text, MAX_PATH, nullptr, 0);
      EXPECT_EQ(std::wstring(text), l.target);
      link->GetArguments(text, MAX_PATH);
      EXPECT_EQ(std::wstring(text), l.arguments);
      link->GetWorkingDirectory(text, MAX_PATH);
      EXPECT_EQ(std::wstring(text), l.folder);
      file->Release();
      link->Release();
    }
    std::string log = GetBytes(App() + L"uninstall.dat");
    EXPECT_EQ(log.find(WideToUtf8(L"#DF\r\n" + dir + L"Desktop\\")) != std::string::npos, c.desktopChecked == 1);
    EXPECT_EQ(log.find(WideToUtf8(L"#DD\r\n" + dir + L"Programs\\Test Product\\\r\n")) != std::string::npos,
              c.startMenuChecked == 1);
  }
  CoUninitialize();
}

TEST_F(InstallTest, WaitingCommandEndsBeforeTheFinishAndSeesTheInstallation) {
  const struct {
    const wchar_t* options;
    const wchar_t* shown;
  } cases[] = {{L"-wait -hide", L"hidden"}, {L"-wait", L"shown"}};
  UseArchive({{"file.txt", "x"}});
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  CreateFolderPath(App());
  ASSERT_TRUE(CopyFileW(self, (App() + L"child.exe").c_str(), FALSE));
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.options));
    DeleteFileW((App() + L"report one.txt").c_str());
    in.commands = {
        CommandRow{0, L"<installpath>\\child.exe", L"--zk-install-child \"<installpath>\\report one.txt\"", c.options}};
    ASSERT_EQ(Run(), 1);
    std::wstring app = App();
    EXPECT_EQ(GetBytes(app + L"report one.txt"), Lines({app.substr(0, app.size() - 1), app, c.shown}));
  }
}

TEST_F(InstallTest, ShellExecuteLineKeepsNamesOutsideTheAnsiCodePage) {
  UseArchive({{"file.txt", "x"}});
  in.commands = {CommandRow{1, L"echo ran> \"<installpath>\\\u03a9 \u0436.txt\"", L"ignored", L""}};
  ASSERT_EQ(Run(), 1);
  EXPECT_EQ(GetBytes(App() + L"\u03a9 \u0436.txt").substr(0, 3), "ran");
}

TEST_F(InstallTest, SetupEndsWhenArchiveOrFolderIsMissing) {
  const struct {
    const char* what;
    bool archive;
    std::wstring field;
    std::wstring error;
  } cases[] = {
      {"setup without archive", false, dir + L"App", L"Error|A file could not be extracted."},
      {"folder below a file", true, dir + L"blocker.txt\\App", L"Error|Setup Error!"},
      {"relative folder", true, L"App", L"Error|Setup Error!"},
      {"empty folder", true, L"", L"Error|Setup Error!"},
  };
  PutBytes(dir + L"blocker.txt", "in the way");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ui = RecordingUi();
    if (c.archive) {
      UseArchive({{"file.txt", "x"}});
    } else {
      PutBytes(in.setupPath, "MZ a runtime and a cabinet, but no archive");
    }
    in.installFolderField = c.field;
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(ui.errors, std::vector<std::wstring>{c.error});
    EXPECT_EQ(ui.endSetups, 1);
    EXPECT_EQ(ui.finishPages, 0);
    EXPECT_FALSE(PathExists(dir + L"App\\file.txt"));
    EXPECT_FALSE(PathExists(L"App\\file.txt"));
    EXPECT_FALSE(PathExists(L"\\file.txt"));
  }
}

}  // namespace
