// The resource files of a setup and the setup executable, checked byte for byte against
// fixtures written out here by hand: what the setup runtime reads must not drift.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "builder/resource_files.h"
#include "builder/test_files.h"
#include "builder/zip_archiver.h"
#include "common/files.h"
#include "common/prefs.h"

using namespace std::string_literals;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// "Grüße" in the ANSI code page 1252 and the same text in UTF-8.
const std::string kAnsiName =
    "Gr\xFC\xDF"
    "e";
const std::string kUtf8Name =
    "Gr\xC3\xBC\xC3\x9F"
    "e";

std::string FullPath(const std::string& relative) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(relative.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(full, n) : relative;
}

// A 1x1 24-bit BMP: something the program's image decoders take.
std::string TinyBmp() {
  return "BM"s + "\x3A\x00\x00\x00"s + "\x00\x00\x00\x00"s + "\x36\x00\x00\x00"s +  // file header
         "\x28\x00\x00\x00"s + "\x01\x00\x00\x00"s + "\x01\x00\x00\x00"s + "\x01\x00\x18\x00"s + "\x00\x00\x00\x00"s +
         "\x04\x00\x00\x00"s + std::string(16, '\0') +  // info header
         "\x10\x20\x30\x00"s;                           // one pixel, padded
}

class ResourceFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = FullPath(std::string("resfiles_test\\") + info->test_suite_name() + "_" + info->name());
    MakeFolders(dir_);
    EmptyFolder(dir_);
    dir_ += "\\";
    out_ = dir_ + "res\\";
    prog_ = dir_ + "prog\\";
    MakeFolders(out_);
    MakeFolders(prog_ + "Languages");
    PutBytes(prog_ + "default.zkl", "[Setup]\r\ndefault\r\n");
    PutBytes(prog_ + "Languages\\English.zkl", "[Setup]\r\nenglish\r\n");
    PutBytes(prog_ + "Languages\\German.zkl", "[Setup]\r\ngerman\r\n");
    PutBytes(dir_ + "wizard.bmp", TinyBmp());
    PutBytes(dir_ + "broken.png", "not an image at all");
    PutBytes(dir_ + "author.dll", "MZ fake library");
    InitZipArchiver();
  }

  // A zip archive holding one file per size.
  std::string MakeArchive(const std::vector<size_t>& sizes) {
    std::string archive = dir_ + "program.zip";
    EXPECT_NE(CreateZipArchive(archive, 0), nullptr);
    CloseZipArchive();
    for (size_t i = 0; i < sizes.size(); ++i) {
      std::string source = dir_ + "file" + std::to_string(i) + ".bin";
      PutBytes(source, MixedData(sizes[i], static_cast<uint32_t>(i + 1)));
      EXPECT_EQ(AddZipFile(archive, source, kZipNameFileOnly), sizes[i] > 0 ? 1 : 0);
    }
    return archive;
  }

  // The small project of the fixtures: every list has rows, the company is empty, and the
  // program name is not ASCII.
  BuildInput SmallProject() {
    BuildInput in;
    in.languageNames = {"English", "German"};
    in.programFolder = prog_;
    in.archivePath = MakeArchive({10240});
    SetupProject& p = in.project;
    p.programName = kAnsiName;
    p.programVersion = "1.0";
    p.win2000 = 1;
    p.winXP = 1;
    p.win7 = 1;
    p.win8 = 1;
    p.website = "http://example.org";
    p.startMenuAllUsers = 1;
    p.wizardImage = dir_ + "wizard.bmp";
    p.headerImage = "<main>";
    p.iconImage = dir_ + "broken.png";
    p.showLabel = 1;
    p.installPath = "<programfiles>\\<company>\\<appname>\\";
    p.allowChangePath = 1;
    p.visitWebsite = 1;
    p.uninstallWebsite = "<website>/bye?from=<website>";
    p.includeUninstaller = 1;
    p.showLicence = 1;
    p.runProgram = 1;
    p.reboot = 1;
    p.loadDll = 1;
    p.programLine = "<app>\\" + kAnsiName + ".exe";
    p.dllPath = dir_ + "author.dll";
    p.startMenuFolder = "<company>\\<appname>\\";
    p.splashTime = "3";
    p.checkedLanguages = {1};
    p.registry = {{"HKEY_CURRENT_USER", "Software\\" + kAnsiName, "Path", "<app>", 1},
                  {"HKEY_LOCAL_MACHINE", "Software\\Test", "", "x", 0}};
    p.shortcuts = {{"Startmenu", kAnsiName, "<app>\\g.exe", "-s"},
                   {"Desktop", "Desk", "<app>\\d.exe", ""},
                   {"Elsewhere", "Never", "<app>\\n.exe", ""},
                   {"Desktop", "Desk 2", "<app>\\e.exe", "/a /b"}};
    p.variables = {{"ZK_VAR", "HKEY_CURRENT_USER", "Software\\V", "Value", "<app>\\default"}};
    p.commands = {{"Execute application", "<app>\\run.exe", "", "-wait"}, {"Shell execute", "readme.txt", "open", ""}};
    p.licenceRtf = "{\\rtf1\\ansi Licence}";
    return in;
  }

  // The smallest project: no rows, no languages, nothing optional.
  BuildInput EmptyProject() {
    BuildInput in;
    in.languageNames = {"English", "German"};
    in.programFolder = prog_;
    in.project.programName = "App";
    in.project.wizardImage = in.project.headerImage = in.project.iconImage = "<main>";
    return in;
  }

  int Write(const BuildInput& in, ResourceFilesResult* result = nullptr, std::string* error = nullptr) {
    ResourceFilesResult ignored;
    std::string message;
    return WriteResourceFiles(in, out_, result ? result : &ignored, error ? error : &message);
  }

  std::string dir_, out_, prog_;
};

TEST_F(ResourceFilesTest, TheCodePageOfTheFixturesIsWindows1252) { ASSERT_EQ(GetACP(), 1252u); }

TEST_F(ResourceFilesTest, SmallProjectGivesTheFixtureBytes) {
  ResourceFilesResult result;
  std::string error;
  ASSERT_EQ(Write(SmallProject(), &result, &error), 1) << error;
  EXPECT_EQ(result.desktopIconFlag, 1);
  EXPECT_EQ(result.additionValue, 1);
  EXPECT_EQ(result.checkedLanguageCount, 1);

  EXPECT_EQ(GetBytes(out_ + "SC.dat"),
            "[Setup]\r\n"
            "Appname = " +
                kUtf8Name +
                "\r\n"
                "Version = 1.0\r\n"
                "Licence = 1\r\n"
                "ChangeApplicationFolder = 1\r\n"
                "ChangeStartMenuFolder = 0\r\n"
                "Desktopicon = 1\r\n"
                "Allow_Desktopicons = 1\r\n"
                "Allow_StartMenuFolder = 1\r\n"
                "label = 1\r\n"
                "InstallDir = <programfiles>\\<appname>\\\r\n"
                "StartMenuFolder = 1\r\n"
                "Registry = 1\r\n"
                "Addition = 1\r\n"
                "ProgramRun = <app>\\" +
                kUtf8Name +
                ".exe\r\n"
                "Languages = 1\r\n"
                "ShortcutFolder = <appname>\r\n"
                "Dll = dll\r\n"
                "Uninstaller = 1\r\n"
                "UninstallerFilename = Uninstall\r\n"
                "Uninstaller_VW = 1\r\n"
                "Website = http://example.org/bye?from=http://example.org\r\n"
                "SplashScreen = 0\r\n"
                "SPS_Time = 3\r\n"
                "Company = \r\n"
                "TotalSize = 120 KB\r\n"  // 10240 + 112640 for the uninstaller
                "Website1 = http://example.org\r\n"
                "SFA = 1\r\n"
                "DFA = 0\r\n");
  EXPECT_EQ(GetBytes(out_ + "OS.dat"),
            "Windows 2000 = 1\r\n"
            "Windows XP = 1\r\n"
            "Windows Server 2003 = 0\r\n"
            "Windows Vista = 0\r\n"
            "Windows Server 2008 = 0\r\n"
            "Windows 7 = 1\r\n"
            "Windows 8 = 1\r\n");
  EXPECT_EQ(GetBytes(out_ + "languages.dat"), "German\r\n");
  EXPECT_EQ(GetBytes(out_ + "Desktop.dat"),
            "<app>\\d.exe\r\nDesk\r\n\r\n"
            "<app>\\e.exe\r\nDesk 2\r\n/a /b\r\n");
  EXPECT_EQ(GetBytes(out_ + "Startmenu.dat"), "<app>\\g.exe\r\n" + kUtf8Name + "\r\n-s\r\n");
  EXPECT_EQ(GetBytes(out_ + "Registry.dat"),
            "HKEY_CURRENT_USER\r\nSoftware\\" + kUtf8Name + "\r\nPath\r\n<app>\r\n" + "\x01\x00\x00\x00"s +
                "HKEY_LOCAL_MACHINE\r\nSoftware\\Test\r\n\r\nx\r\n" + "\x00\x00\x00\x00"s);
  EXPECT_EQ(GetBytes(out_ + "Variables.dat"),
            "ZK_VAR\r\nHKEY_CURRENT_USER\r\nSoftware\\V\r\nValue\r\n<app>\\default\r\n");
  EXPECT_EQ(GetBytes(out_ + "Commands.dat"),
            "Execute application\r\n<app>\\run.exe\r\n\r\n-wait\r\n"
            "Shell execute\r\nreadme.txt\r\nopen\r\n\r\n");

  // The travelling copies, unchanged.
  EXPECT_EQ(GetBytes(out_ + "Default.zkl"), "[Setup]\r\ngerman\r\n");
  EXPECT_EQ(GetBytes(out_ + "German.zkl"), "[Setup]\r\ngerman\r\n");
  EXPECT_FALSE(PathExists(out_ + "English.zkl"));
  EXPECT_EQ(GetBytes(out_ + "1.jpg"), TinyBmp());
  EXPECT_FALSE(PathExists(out_ + "2.jpg"));  // "<main>"
  EXPECT_FALSE(PathExists(out_ + "3.jpg"));  // not decodable: left out without a word
  EXPECT_EQ(GetBytes(out_ + "doc.rtf"), "{\\rtf1\\ansi Licence}");
  EXPECT_FALSE(PathExists(out_ + "isps.dat"));
}

TEST_F(ResourceFilesTest, EmptyProjectLeavesTheLineFilesEmpty) {
  ResourceFilesResult result;
  ASSERT_EQ(Write(EmptyProject(), &result), 1);
  EXPECT_EQ(result.desktopIconFlag, 0);
  EXPECT_EQ(result.additionValue, 0);
  EXPECT_EQ(result.checkedLanguageCount, 1);  // none checked counts as one
  for (const char* name :
       {"languages.dat", "Desktop.dat", "Startmenu.dat", "Registry.dat", "Variables.dat", "Commands.dat", "doc.rtf"}) {
    EXPECT_TRUE(PathExists(out_ + name)) << name;
    EXPECT_EQ(FileSize(out_ + name), 0) << name;
  }
  EXPECT_EQ(GetBytes(out_ + "SC.dat"),
            "[Setup]\r\n"
            "Appname = App\r\n"
            "Version = \r\n"
            "Licence = 0\r\n"
            "ChangeApplicationFolder = 0\r\n"
            "ChangeStartMenuFolder = 0\r\n"
            "Allow_Desktopicons = 1\r\n"
            "Allow_StartMenuFolder = 1\r\n"
            "label = 0\r\n"
            "InstallDir = \r\n"
            "StartMenuFolder = 0\r\n"
            "Addition = 0\r\n"
            "ProgramRun = \r\n"
            "Languages = 1\r\n"
            "ShortcutFolder = \r\n"
            "Uninstaller = 0\r\n"
            "UninstallerFilename = Uninstall\r\n"
            "Uninstaller_VW = 0\r\n"
            "Website = \r\n"
            "SplashScreen = 0\r\n"
            "SPS_Time = \r\n"
            "Company = \r\n"
            "TotalSize = 0 Byte\r\n"
            "Website1 = \r\n"
            "SFA = 0\r\n"
            "DFA = 0\r\n");
  EXPECT_EQ(GetBytes(out_ + "default.zkl"), "[Setup]\r\ndefault\r\n");
}

// The keys whose presence or value depends on other fields, read back as the runtime would.
TEST_F(ResourceFilesTest, SettingsFollowTheirRules) {
  struct Case {
    const char* what;
    std::function<void(BuildInput&)> change;
    const char* key;
    const char* expected;  // nullptr: the key is not written
  };
  const std::string dll = dir_ + "author.dll";
  const Case cases[] = {
      {"desktop row",
       [](BuildInput& in) {
         in.project.shortcuts = {{"Desktop", "a", "b", ""}};
       },
       "Desktopicon", "1"},
      {"desktop row",
       [](BuildInput& in) {
         in.project.shortcuts = {{"Desktop", "a", "b", ""}};
       },
       "StartMenuFolder", "0"},
      {"start menu rows only",
       [](BuildInput& in) {
         in.project.shortcuts = {{"Startmenu", "a", "b", ""}};
       },
       "Desktopicon", nullptr},
      {"start menu rows only",
       [](BuildInput& in) {
         in.project.shortcuts = {{"Startmenu", "a", "b", ""}};
       },
       "StartMenuFolder", "1"},
      {"destination compared exactly",
       [](BuildInput& in) {
         in.project.shortcuts = {{"desktop", "a", "b", ""}};
       },
       "Desktopicon", nullptr},
      {"no registry rows", [](BuildInput&) {}, "Registry", nullptr},
      {"a registry row",
       [](BuildInput& in) {
         in.project.registry = {{"HKEY_USERS", "s", "v", "d", 0}};
       },
       "Registry", "1"},
      {"run program", [](BuildInput& in) { in.project.runProgram = 1; }, "Addition", "2"},
      {"reboot", [](BuildInput& in) { in.project.reboot = 1; }, "Addition", "1"},
      {"run and reboot", [](BuildInput& in) { in.project.runProgram = in.project.reboot = 1; }, "Addition", "1"},
      {"two languages",
       [](BuildInput& in) {
         in.project.checkedLanguages = {0, 1};
       },
       "Languages", "2"},
      {"dll box set, file there",
       [&](BuildInput& in) {
         in.project.loadDll = 1;
         in.project.dllPath = dll;
       },
       "Dll", "dll"},
      {"dll box off", [&](BuildInput& in) { in.project.dllPath = dll; }, "Dll", nullptr},
      {"dll file missing",
       [&](BuildInput& in) {
         in.project.loadDll = 1;
         in.project.dllPath = dll + ".gone";
       },
       "Dll", nullptr},
      {"dll path a folder",
       [&](BuildInput& in) {
         in.project.loadDll = 1;
         in.project.dllPath = dir_ + "prog";
       },
       "Dll", nullptr},
      {"install dir with company",
       [](BuildInput& in) {
         in.project.companyName = "ACME";
         in.project.installPath = "<programfiles>\\<company>\\<appname>\\";
       },
       "InstallDir", "<programfiles>\\<company>\\<appname>\\"},
      {"other install dir", [](BuildInput& in) { in.project.installPath = "<programfiles>\\<company>\\x\\"; },
       "InstallDir", "<programfiles>\\<company>\\x\\"},
      {"shortcut folder with company",
       [](BuildInput& in) {
         in.project.companyName = "ACME";
         in.project.startMenuFolder = "<company>\\<appname>\\";
       },
       "ShortcutFolder", "<company>\\<appname>\\"},
      {"shortcut folder without company", [](BuildInput& in) { in.project.startMenuFolder = "<company>\\<appname>\\"; },
       "ShortcutFolder", "<appname>"},
      {"uninstaller name", [](BuildInput& in) { in.project.uninstallerName = "Remove"; }, "UninstallerFilename",
       "Remove"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + " / " + c.key);
    BuildInput in = EmptyProject();
    c.change(in);
    ASSERT_EQ(Write(in), 1);
    ASSERT_NE(OpenPreferences(out_ + "SC.dat"), 0);
    PreferenceGroup("Setup");
    EXPECT_EQ(ReadPreferenceString(c.key, "(none)"), c.expected ? c.expected : "(none)");
    ClosePreferences();
  }
}

TEST_F(ResourceFilesTest, TotalSizeCountsTheArchiveAndTheUninstaller) {
  struct Case {
    std::vector<size_t> files;
    int uninstaller;
    const char* expected;
  };
  const Case cases[] = {
      {{1536}, 0, "2 KB"},  // exactly 1.5: no decimals
      {{1537}, 0, "1.5 KB"},
      {{1023}, 0, "1023 Byte"},
      {{1000, 24}, 0, "1 KB"},
      {{}, 1, "110 KB"},
      {{3 * 1024 * 1024 / 2}, 0, "2 MB"},  // exactly 1.5 again
      {{3 * 1024 * 1024 / 2 + 1024}, 0, "1.5 MB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    BuildInput in = EmptyProject();
    in.archivePath = MakeArchive(c.files);
    in.project.includeUninstaller = c.uninstaller;
    ASSERT_EQ(Write(in), 1);
    ASSERT_NE(OpenPreferences(out_ + "SC.dat"), 0);
    PreferenceGroup("Setup");
    EXPECT_EQ(ReadPreferenceString("TotalSize", ""), c.expected);
    ClosePreferences();
  }
  // The author's own ZIP file stands in when the build names no archive.
  BuildInput in = EmptyProject();
  in.project.useZip = 1;
  in.project.zipFile = MakeArchive({2048});
  ASSERT_EQ(Write(in), 1);
  ASSERT_NE(OpenPreferences(out_ + "SC.dat"), 0);
  PreferenceGroup("Setup");
  EXPECT_EQ(ReadPreferenceString("TotalSize", ""), "2 KB");
  ClosePreferences();
}

TEST_F(ResourceFilesTest, CabinetEntriesComeInTheCabinetsOrder) {
  BuildInput in = SmallProject();
  in.project.showSplash = 1;
  in.project.playSound = 1;
  in.project.splashImage = dir_ + "wizard.bmp";
  in.project.splashSound = dir_ + "author.dll";  // any file with bytes will do
  ASSERT_EQ(Write(in), 1);
  EXPECT_EQ(GetBytes(out_ + "isps.dat"), TinyBmp());
  EXPECT_EQ(GetBytes(out_ + "ssps.dat"), "MZ fake library");
  EXPECT_EQ(CabinetEntries(in, out_), (Entries{
                                          {out_ + "SC.dat", "SC.dat"},
                                          {out_ + "languages.dat", "languages.dat"},
                                          {out_ + "Desktop.dat", "Desktop.dat"},
                                          {out_ + "Startmenu.dat", "Startmenu.dat"},
                                          {out_ + "Registry.dat", "Registry.dat"},
                                          {out_ + "OS.dat", "OS.dat"},
                                          {out_ + "Variables.dat", "Variables.dat"},
                                          {out_ + "Commands.dat", "Commands.dat"},
                                          {out_ + "Default.zkl", "Default.zkl"},
                                          {out_ + "German.zkl", "German.zkl"},
                                          {out_ + "1.jpg", "Image_Left.jpg"},
                                          {out_ + "isps.dat", "isps.dat"},
                                          {out_ + "ssps.dat", "ssps.dat"},
                                          {out_ + "doc.rtf", "licence.rtf"},
                                          {dir_ + "author.dll", "dll.dll"},
                                      }));
}

TEST_F(ResourceFilesTest, CabinetEntriesLeaveOutEmptyFilesAndMainImages) {
  BuildInput in = EmptyProject();
  in.project.shortcuts = {{"Startmenu", "a", "b", ""}};
  in.project.checkedLanguages = {0, 1};
  in.project.headerImage = dir_ + "wizard.bmp";
  in.project.iconImage = dir_ + "wizard.bmp";
  in.project.dllPath = dir_ + "author.dll";  // box not set
  ASSERT_EQ(Write(in), 1);
  EXPECT_EQ(CabinetEntries(in, out_), (Entries{
                                          {out_ + "SC.dat", "SC.dat"},
                                          {out_ + "languages.dat", "languages.dat"},
                                          {out_ + "Startmenu.dat", "Startmenu.dat"},
                                          {out_ + "OS.dat", "OS.dat"},
                                          {out_ + "English.zkl", "English.zkl"},
                                          {out_ + "German.zkl", "German.zkl"},
                                          {out_ + "2.jpg", "Image_Top.jpg"},
                                          {out_ + "3.jpg", "icon.dat"},
                                      }));
  EXPECT_EQ(GetBytes(out_ + "languages.dat"), "English\r\nGerman\r\n");
  EXPECT_FALSE(PathExists(out_ + "Default.zkl"));

  // No language checked: the program's own default file travels under its own name.
  EmptyFolder(out_);
  BuildInput none = EmptyProject();
  ASSERT_EQ(Write(none), 1);
  EXPECT_EQ(CabinetEntries(none, out_),
            (Entries{{out_ + "SC.dat", "SC.dat"}, {out_ + "OS.dat", "OS.dat"}, {out_ + "default.zkl", "default.zkl"}}));
}

// An image copy from an earlier run in the same folder must not travel for "<main>".
TEST_F(ResourceFilesTest, StaleImageCopiesAreNotPacked) {
  PutBytes(out_ + "1.jpg", TinyBmp());
  PutBytes(out_ + "3.jpg", TinyBmp());
  BuildInput in = EmptyProject();
  in.project.iconImage = dir_ + "broken.png";
  ASSERT_EQ(Write(in), 1);
  EXPECT_FALSE(PathExists(out_ + "1.jpg"));
  EXPECT_FALSE(PathExists(out_ + "3.jpg"));
  for (const auto& e : CabinetEntries(in, out_)) EXPECT_EQ(e.second.find("Image"), std::string::npos) << e.second;
}

TEST_F(ResourceFilesTest, LineBreaksAreRefusedNamingTheRowAndNothingIsWritten) {
  struct Case {
    std::function<void(BuildInput&)> change;
    const char* expected;  // "" when the project is fine
  };
  const Case cases[] = {
      {[](BuildInput& in) {
         in.project.registry = {{"HKEY_USERS", "a", "b", "c", 0}, {"HKEY_USERS", "a", "b", "c\r\nd", 1}};
       },
       "Registry row 2: a text holds a line break."},
      {[](BuildInput& in) {
         in.project.registry = {{"HKEY_USERS\r", "a", "b", "c", 0}};
       },
       "Registry row 1: a text holds a line break."},
      {[](BuildInput& in) {
         in.project.shortcuts = {{"Desktop", "x\ny", "t", ""}};
       },
       "Shortcut row 1: a text holds a line break."},
      {[](BuildInput& in) {
         in.project.shortcuts = {{"Desktop", "a", "t", ""}, {"Startmenu", "a", "t", "-x\r"}};
       },
       "Shortcut row 2: a text holds a line break."},
      {[](BuildInput& in) {
         in.project.variables = {{"V", "HKEY_USERS", "s", "v", "d\ne"}};
       },
       "Variable row 1: a text holds a line break."},
      {[](BuildInput& in) {
         in.project.commands = {{"Shell execute", "a", "", ""}, {"Shell execute", "a", "", "-wait\n-hide"}};
       },
       "Command row 2: a text holds a line break."},
      {[](BuildInput& in) {
         in.languageNames[1] = "Ger\nman";
         in.project.checkedLanguages = {1};
       },
       "Language row 2: a text holds a line break."},
      {[](BuildInput& in) { in.project.programName = "App\r\nName"; }, "Setting Appname: a text holds a line break."},
      {[](BuildInput& in) { in.project.uninstallWebsite = "a\nb"; }, "Setting Website: a text holds a line break."},
      // Texts that are never written are no reason to refuse.
      {[](BuildInput& in) {
         in.project.shortcuts = {{"Nowhere", "x\ny", "t", ""}};
       },
       ""},
      {[](BuildInput& in) { in.languageNames[0] = "Eng\nlish"; }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EmptyFolder(out_);
    BuildInput in = EmptyProject();
    c.change(in);
    std::string error;
    EXPECT_EQ(Write(in, nullptr, &error), c.expected[0] == '\0' ? 1 : 0);
    if (c.expected[0] != '\0') {
      EXPECT_EQ(error, c.expected);
      EXPECT_EQ(FolderEntries(out_), std::vector<std::string>{});
    }
  }
}

TEST_F(ResourceFilesTest, AFileThatCannotBeWrittenStopsTheBuild) {
  std::string error;
  BuildInput in = EmptyProject();
  EXPECT_EQ(WriteResourceFiles(in, dir_ + "missing\\folder\\", nullptr, &error), 0);
  EXPECT_EQ(error, "Error: Could not create setup resource file SC.dat.");

  // A folder in the place of a line file: that file fails, the ones before it are written,
  // and no temporary file is left beside them.
  CreateDirectoryA((out_ + "Registry.dat").c_str(), nullptr);
  error.clear();
  EXPECT_EQ(Write(in, nullptr, &error), 0);
  EXPECT_EQ(error, "Error: Could not create setup resource file Registry.dat.");
  std::vector<std::string> names = FolderEntries(out_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"Desktop.dat", "Registry.dat", "SC.dat", "Startmenu.dat", "languages.dat"}));
}

TEST_F(ResourceFilesTest, MissingFilesThatMustTravelStopTheBuild) {
  struct Case {
    std::function<void(BuildInput&)> change;
    std::string expected;
  };
  const Case cases[] = {
      {[](BuildInput& in) {
         in.languageNames[1] = "Klingon";
         in.project.checkedLanguages = {1};
       },
       "Error: Could not copy language file " + prog_ + "Languages\\Klingon.zkl."},
      {[](BuildInput& in) { in.programFolder += "nothing\\"; },
       "Error: Could not copy language file " + prog_ + "nothing\\default.zkl."},
      {[&](BuildInput& in) {
         in.project.showSplash = 1;
         in.project.splashImage = dir_ + "none.bmp";
       },
       "Error: Splash Screen image file does not exist!"},
      {[&](BuildInput& in) {
         in.project.showSplash = 1;
         in.project.splashImage = dir_ + "empty.bmp";
         PutBytes(dir_ + "empty.bmp", "");
       },
       "Error: Splash Screen image file does not exist!"},
      {[&](BuildInput& in) {
         in.project.showSplash = 1;
         in.project.playSound = 1;
         in.project.splashImage = dir_ + "wizard.bmp";
         in.project.splashSound = dir_ + "none.wav";
       },
       "Error: Splash Screen sound file does not exist!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    BuildInput in = EmptyProject();
    c.change(in);
    std::string error;
    EXPECT_EQ(Write(in, nullptr, &error), 0);
    EXPECT_EQ(error, c.expected);
  }
  // A sound without the splash screen itself is not wanted.
  BuildInput in = EmptyProject();
  in.project.playSound = 1;
  in.project.splashSound = dir_ + "none.wav";
  EXPECT_EQ(Write(in), 1);
}

class SetupExecutableTest : public ResourceFilesTest {
 protected:
  void SetUp() override {
    ResourceFilesTest::SetUp();
    target_ = dir_ + "setup\\";
    MakeFolders(target_);
    image_ = MixedData(5000, 7);
    cabinet_ = MixedData(100, 8);
    archive_ = MixedData(10, 9);
    PutBytes(dir_ + "Setup.cab", cabinet_);
    PutBytes(dir_ + "archive.dat", archive_);
  }
  int WriteSetup(const std::string& path, std::string* error, const std::function<bool()>& mustStop = nullptr) {
    return WriteSetupExecutable(path, image_, dir_ + "Setup.cab", dir_ + "archive.dat", error, mustStop);
  }
  std::string target_, image_, cabinet_, archive_;
};

uint64_t LittleEndian(const std::string& bytes) {
  uint64_t v = 0;
  for (size_t i = bytes.size(); i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[i]);
  return v;
}

TEST_F(SetupExecutableTest, LayoutIsImageCabinetLengthCabinetArchiveArchiveLength) {
  std::string path = target_ + "setup.exe";
  PutBytes(path, "an older setup that is longer than nothing");
  std::string error;
  ASSERT_EQ(WriteSetup(path, &error), 1) << error;

  std::string file = GetBytes(path);
  const size_t s = image_.size();
  ASSERT_EQ(file.size(), s + 8 + 100 + 10 + 4);
  EXPECT_EQ(file.substr(0, s), image_);
  EXPECT_EQ(file.substr(s, 8), "\x64\x00\x00\x00\x00\x00\x00\x00"s);
  EXPECT_EQ(LittleEndian(file.substr(s, 8)), 100u);
  EXPECT_EQ(file.substr(s + 8, 100), cabinet_);
  EXPECT_EQ(file.substr(s + 108, 10), archive_);
  EXPECT_EQ(file.substr(s + 118, 4), "\x0A\x00\x00\x00"s);
  EXPECT_EQ(FolderEntries(target_), std::vector<std::string>{"setup.exe"});
}

TEST_F(SetupExecutableTest, LengthsAreLittleEndianBeyondOneByte) {
  cabinet_ = MixedData(70000, 3);  // 0x11170
  archive_ = MixedData(300, 4);    // 0x12C
  PutBytes(dir_ + "Setup.cab", cabinet_);
  PutBytes(dir_ + "archive.dat", archive_);
  std::string error;
  ASSERT_EQ(WriteSetup(target_ + "setup.exe", &error), 1) << error;
  std::string file = GetBytes(target_ + "setup.exe");
  ASSERT_EQ(file.size(), image_.size() + 8 + 70000 + 300 + 4);
  EXPECT_EQ(file.substr(image_.size(), 8), "\x70\x11\x01\x00\x00\x00\x00\x00"s);
  EXPECT_EQ(file.substr(file.size() - 4), "\x2C\x01\x00\x00"s);
}

TEST_F(SetupExecutableTest, FailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
  std::string error;
  // A folder that does not exist: no file at all.
  EXPECT_EQ(WriteSetup(dir_ + "missing\\setup.exe", &error), 0);
  EXPECT_EQ(error, "Error: Could not create setup file.");
  EXPECT_FALSE(PathExists(dir_ + "missing"));

  std::string path = target_ + "setup.exe";
  const std::string old = "the previous setup";
  PutBytes(path, old);

  // The target is in use and may not be replaced.
  HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  error.clear();
  EXPECT_EQ(WriteSetup(path, &error), 0);
  EXPECT_EQ(error, "Error: Could not create setup file.");
  CloseHandle(locked);
  EXPECT_EQ(GetBytes(path), old);
  EXPECT_EQ(FolderEntries(target_), std::vector<std::string>{"setup.exe"});

  // No cabinet, or an empty one: the runtime would read the archive as the cabinet.
  DeleteFileA((dir_ + "Setup.cab").c_str());
  error.clear();
  EXPECT_EQ(WriteSetup(path, &error), 0);
  EXPECT_EQ(error, "Error: Could not read the setup cabinet.");
  PutBytes(dir_ + "Setup.cab", "");
  EXPECT_EQ(WriteSetup(path, &error), 0);
  EXPECT_EQ(GetBytes(path), old);
  EXPECT_EQ(FolderEntries(target_), std::vector<std::string>{"setup.exe"});

  // No archive.
  PutBytes(dir_ + "Setup.cab", cabinet_);
  DeleteFileA((dir_ + "archive.dat").c_str());
  error.clear();
  EXPECT_EQ(WriteSetup(path, &error), 0);
  EXPECT_EQ(error, "Error: Could not create setup file.");
  EXPECT_EQ(GetBytes(path), old);
  EXPECT_EQ(FolderEntries(target_), std::vector<std::string>{"setup.exe"});
}

TEST_F(SetupExecutableTest, StopRequestAtAnyChunkMakesNoSetupAndKeepsTheOldOne) {
  // Several chunks of each part, so that a stop can come in the middle of every one.
  image_ = MixedData(3 * 0x100000 + 5, 5);
  archive_ = MixedData(2 * 0x100000 + 7, 6);
  PutBytes(dir_ + "archive.dat", archive_);
  std::string path = target_ + "setup.exe";
  const std::string old = "the previous setup";
  PutBytes(path, old);
  int asked = 0;
  std::string error;
  ASSERT_EQ(WriteSetup(path, &error, [&] { return ++asked, false; }), 1) << error;
  const int checks = asked;
  ASSERT_GT(checks, 5);
  const std::string whole = GetBytes(path);

  // The first chunk, one inside the archive, and the check after the last byte.
  for (int stopAt : {1, checks - 2, checks}) {
    SCOPED_TRACE(stopAt);
    PutBytes(path, old);
    asked = 0;
    error.clear();
    EXPECT_EQ(WriteSetup(path, &error, [&] { return ++asked >= stopAt; }), kSetupCancelled);
    EXPECT_EQ(asked, stopAt);
    EXPECT_EQ(GetBytes(path), old);
    EXPECT_EQ(FolderEntries(target_), std::vector<std::string>{"setup.exe"});
    EXPECT_TRUE(error.empty()) << error;
  }
  // Without a request the same setup comes out whole.
  ASSERT_EQ(WriteSetup(path, &error, [] { return false; }), 1);
  EXPECT_EQ(GetBytes(path), whole);
}

}  // namespace
