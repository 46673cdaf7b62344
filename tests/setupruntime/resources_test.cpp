// The resource files read back from a setup the builder made: what the builder writes is
// what the setup gets, and missing or cut-short files read as defaults or fewer records.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "builder/resource_files.h"
#include "common/text.h"
#include "setupruntime/payload.h"
#include "setupruntime/resources.h"
#include "setupruntime/runtime_test_files.h"
#include "setupruntime/work_folder.h"

using namespace std::string_literals;

namespace {

// "Grüße" in the ANSI code page 1252, as the builder's project holds it.
const std::string kAnsiName =
    "Gr\xFC\xDF"
    "e";
const std::wstring kWideName =
    L"Gr\u00FC\u00DF"
    L"e";

struct BuiltSetup {
  std::wstring dir, work;
};

// Builds a setup from `in` with a fake image of imageSize bytes, then copies and extracts
// its cabinet into dir + "work\" as the runtime does.
void BuildAndExtract(BuildInput in, size_t imageSize, BuiltSetup* out) {
  std::wstring dir = TestFolder();
  std::string a = WideToAnsi(dir);
  CreateFolderPath(dir + L"res\\");
  CreateFolderPath(dir + L"prog\\Languages\\");
  PutBytes(dir + L"prog\\default.zkl", "[Setup]\r\n");
  PutBytes(dir + L"prog\\Languages\\English.zkl", "[Setup]\r\nenglish\r\n");
  PutBytes(dir + L"prog\\Languages\\" + AnsiToWide(kAnsiName) + L".zkl", "[Setup]\r\nother\r\n");
  PutBytes(dir + L"archive.zip", "PK not really");
  in.programFolder = a + "prog\\";
  in.archivePath = a + "archive.zip";
  std::string error;
  ASSERT_EQ(WriteResourceFiles(in, a + "res\\", nullptr, &error), 1) << error;
  ASSERT_EQ(PackCabinet(dir + L"Setup.cab", dir + L"temp\\", CabinetEntries(in, a + "res\\")), 1);
  ASSERT_EQ(
      WriteSetupExecutable(a + "setup.exe", std::string(imageSize, 'I'), a + "Setup.cab", a + "archive.zip", &error), 1)
      << error;
  std::wstring work = dir + L"work\\";
  CreateFolderPath(work);
  ASSERT_EQ(CopyPayloadCabinet(dir + L"setup.exe", imageSize, work + L"Setup.cab"), kPayloadOk);
  ASSERT_NE(ExtractCabinet(work + L"Setup.cab", work), 0);
  *out = {dir, work};
}

BuildInput SmallProject() {
  BuildInput in;
  in.languageNames = {"English", kAnsiName};
  SetupProject& p = in.project;
  p.programName = kAnsiName;
  p.programVersion = "1.2";
  p.companyName = "Acme";
  p.wizardImage = p.headerImage = p.iconImage = "<main>";
  p.showLicence = 1;
  p.installPath = "<programfiles>\\<company>\\<appname>\\";
  p.startMenuFolder = "<company>\\<appname>\\";
  p.reboot = 1;
  p.includeUninstaller = 1;
  p.startMenuAllUsers = 1;
  p.win7 = 1;
  p.win8 = 1;
  p.checkedLanguages = {0, 1};
  ShortcutEntry desk;
  desk.destination = "Desktop";
  desk.target = "<appdir>\\app.exe";
  desk.name = kAnsiName;
  desk.arguments = "";
  ShortcutEntry menu = desk;
  menu.destination = "Startmenu";
  menu.arguments = "-x";
  p.shortcuts = {desk, menu, menu};
  RegistryEntry r1;
  r1.rootKey = "HKEY_CURRENT_USER";
  r1.subKey = "Software\\Acme";
  r1.valueName = "Path";
  r1.valueData = "<appdir>";
  r1.removeFlag = 1;
  RegistryEntry r2 = r1;
  r2.rootKey = "HKEY_LOCAL_MACHINE";
  r2.valueData = "";
  r2.removeFlag = 0;
  p.registry = {r1, r2};
  VariableEntry v1;
  v1.name = "%a%";
  v1.rootKey = "HKEY_USERS";
  v1.subKey = "S";
  v1.valueName = "V";
  v1.defaultValue = "def";
  VariableEntry v2 = v1;
  v2.rootKey = "not a key";
  p.variables = {v1, v2};
  CommandEntry c1;
  c1.type = "Shell execute";
  c1.program = "<appdir>\\readme.txt";
  CommandEntry c2;
  c2.type = "Execute application";
  c2.program = "app.exe";
  c2.parameters = "/q";
  c2.options = "wait";
  p.commands = {c1, c2};
  return in;
}

TEST(Resources, RoundTripThroughARealSetup) {
  BuiltSetup s;
  BuildAndExtract(SmallProject(), 4321, &s);
  if (HasFatalFailure()) return;

  SetupConfig c = ReadSetupConfig(s.work);
  EXPECT_EQ(c.appName, kWideName);
  EXPECT_EQ(c.version, L"1.2");
  EXPECT_EQ(c.licence, 1);
  EXPECT_EQ(c.desktopIcon, 1);
  EXPECT_EQ(c.allowDesktopIcons, 1);
  EXPECT_EQ(c.startMenuFolder, 1);
  EXPECT_EQ(c.allowStartMenuFolder, 1);
  EXPECT_EQ(c.registry, 1);
  EXPECT_EQ(c.addition, 1);
  EXPECT_EQ(c.languages, 2);
  EXPECT_EQ(c.installDir, L"<programfiles>\\<company>\\<appname>\\");
  EXPECT_EQ(c.shortcutFolder, L"<company>\\<appname>\\");
  EXPECT_EQ(c.uninstaller, 1);
  EXPECT_EQ(c.uninstallerFilename, L"Uninstall");
  EXPECT_EQ(c.company, L"Acme");
  EXPECT_EQ(c.startMenuForAllUsers, 1);
  EXPECT_EQ(c.desktopForAllUsers, 0);
  EXPECT_FALSE(c.totalSize.empty());

  OsConfig os = ReadOsConfig(s.work);
  EXPECT_EQ(IsOsSupported(os, L"Windows 7"), 1);
  EXPECT_EQ(IsOsSupported(os, L"Windows 8"), 1);
  EXPECT_EQ(IsOsSupported(os, L"Windows XP"), 0);

  EXPECT_EQ(ReadLanguageNames(s.work), (std::vector<std::wstring>{L"English", kWideName}));
  EXPECT_TRUE(PathExists(s.work + kWideName + L".zkl"));

  std::vector<ShortcutRow> desk = ReadDesktopShortcuts(s.work);
  ASSERT_EQ(desk.size(), 1u);
  EXPECT_EQ(desk[0].target, L"<appdir>\\app.exe");
  EXPECT_EQ(desk[0].name, kWideName);
  EXPECT_EQ(desk[0].arguments, L"");
  std::vector<ShortcutRow> menu = ReadStartMenuShortcuts(s.work);
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[1].arguments, L"-x");

  std::vector<RegistryRow> reg = ReadRegistryRows(s.work);
  ASSERT_EQ(reg.size(), 2u);
  EXPECT_EQ(reg[0].rootKey, L"HKEY_CURRENT_USER");
  EXPECT_EQ(reg[0].subKey, L"Software\\Acme");
  EXPECT_EQ(reg[0].valueName, L"Path");
  EXPECT_EQ(reg[0].valueData, L"<appdir>");
  EXPECT_EQ(reg[0].removeFlag, 1);
  EXPECT_EQ(reg[1].rootKey, L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(reg[1].valueData, L"");
  EXPECT_EQ(reg[1].removeFlag, 0);

  std::vector<VariableRow> vars = ReadVariableRows(s.work);
  ASSERT_EQ(vars.size(), 2u);
  EXPECT_EQ(vars[0].name, L"%a%");
  EXPECT_EQ(vars[0].rootKeyName, L"HKEY_USERS");
  EXPECT_EQ(vars[0].rootKey, 0x80000003u);
  EXPECT_EQ(vars[0].subKey, L"S");
  EXPECT_EQ(vars[0].valueName, L"V");
  EXPECT_EQ(vars[0].defaultValue, L"def");
  EXPECT_EQ(vars[1].rootKey, 0x80000000u);

  std::vector<CommandRow> cmds = ReadCommandRows(s.work);
  ASSERT_EQ(cmds.size(), 2u);
  EXPECT_EQ(cmds[0].type, 1);
  EXPECT_EQ(cmds[0].program, L"<appdir>\\readme.txt");
  EXPECT_EQ(cmds[1].type, 0);
  EXPECT_EQ(cmds[1].parameters, L"/q");
  EXPECT_EQ(cmds[1].options, L"wait");
}

TEST(Resources, ProjectWithoutShortcutsGivesNoShortcutCheckBoxes) {
  BuildInput in;
  in.project.programName = "App";
  in.project.wizardImage = in.project.headerImage = in.project.iconImage = "<main>";
  BuiltSetup s;
  BuildAndExtract(in, 100, &s);
  if (HasFatalFailure()) return;
  // The builder always writes the Allow_ keys as 1; without shortcuts they must not count.
  SetupConfig c = ReadSetupConfig(s.work);
  EXPECT_EQ(c.allowDesktopIcons, 0);
  EXPECT_EQ(c.allowStartMenuFolder, 0);
  EXPECT_EQ(c.languages, 1);
  EXPECT_FALSE(PathExists(s.work + L"Commands.dat"));  // empty files stay out of the cabinet
  EXPECT_TRUE(ReadCommandRows(s.work).empty());
  EXPECT_TRUE(ReadLanguageNames(s.work).empty());
  EXPECT_TRUE(ReadRegistryRows(s.work).empty());
}

TEST(Resources, MissingFilesReadAsDefaults) {
  std::wstring dir = TestFolder();
  SetupConfig c = ReadSetupConfig(dir);
  EXPECT_EQ(c.languages, 1);
  EXPECT_EQ(c.licence, 0);
  EXPECT_EQ(c.uninstaller, 0);
  EXPECT_EQ(c.desktopIcon, 0);
  EXPECT_EQ(c.startMenuFolder, 0);
  EXPECT_TRUE(c.appName.empty());
  EXPECT_TRUE(c.installDir.empty());
  for (const wchar_t* name : {L"Windows 2000", L"Windows XP", L"Windows Server 2003", L"Windows Vista",
                              L"Windows Server 2008", L"Windows 7", L"Windows 8"})
    EXPECT_EQ(IsOsSupported(ReadOsConfig(dir), name), 0) << WideToUtf8(name);
  EXPECT_TRUE(ReadVariableRows(dir).empty());
  EXPECT_TRUE(ReadDesktopShortcuts(dir).empty());
}

TEST(Resources, HandWrittenFilesWithBomAndOddValues) {
  std::wstring dir = TestFolder();
  PutBytes(dir + L"SC.dat",
           "\xEF\xBB\xBF[Setup]\r\nAppname = Gr\xC3\xBC\xC3\x9F"
           "e\r\nLanguages = 3abc\r\n"
           "Desktopicon = 1\r\nAllow_Desktopicons = 1\r\n");
  PutBytes(dir + L"OS.dat", "Windows XP = 1\r\nWindows 7 = 2\r\n[Other]\r\nWindows 8 = 1\r\n");
  SetupConfig c = ReadSetupConfig(dir);
  EXPECT_EQ(c.appName, kWideName);
  EXPECT_EQ(c.languages, 3);
  EXPECT_EQ(c.allowDesktopIcons, 1);
  OsConfig os = ReadOsConfig(dir);
  EXPECT_EQ(IsOsSupported(os, L"Windows XP"), 1);
  EXPECT_EQ(IsOsSupported(os, L"Windows 7"), 0);  // only 1 counts
  EXPECT_EQ(IsOsSupported(os, L"Windows 8"), 0);  // keys of a named group do not count
  EXPECT_EQ(IsOsSupported(os, L""), 0);
}

TEST(Resources, RecordsCutShortAreDropped) {
  std::wstring dir = TestFolder();
  // LF alone and CR alone end lines too.
  PutBytes(dir + L"Commands.dat", "Shell execute\na\rb\r\nc\r\nExecute application\r\nx\r\n");
  PutBytes(dir + L"Registry.dat",
           "HKEY_USERS\r\nk\r\nv\r\nd\r\n\x01\x00\x00\x00HKEY_USERS\r\nk\r\nv\r\nd\r\n\x01\x00"s);
  std::vector<CommandRow> cmds = ReadCommandRows(dir);
  ASSERT_EQ(cmds.size(), 1u);
  EXPECT_EQ(cmds[0].program, L"a");
  EXPECT_EQ(cmds[0].parameters, L"b");
  EXPECT_EQ(cmds[0].options, L"c");
  std::vector<RegistryRow> reg = ReadRegistryRows(dir);
  ASSERT_EQ(reg.size(), 1u);
  EXPECT_EQ(reg[0].removeFlag, 1);
}

}  // namespace
