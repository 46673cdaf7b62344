#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "app/project/project_file.h"
#include "app/test_paths.h"
#include "model/field_values.h"
#include "model/project_fields.h"
#include "model/setup_project.h"
#include "support/file_bytes.h"

using namespace std::string_literals;

namespace {

// The whole file, which must be there.
std::string Bytes(const std::string& path) {
  EXPECT_TRUE(PathExists(path)) << "cannot read " << path;
  return GetBytes(path);
}

// Runs body on its own thread and fails the whole program when it takes longer than the
// limit: a load that loops forever must not leave the suite hanging.
void WithinSeconds(int seconds, const std::function<void()>& body) {
  std::packaged_task<void()> task(body);
  std::future<void> done = task.get_future();
  std::thread worker(std::move(task));
  if (done.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
    std::fprintf(stderr, "timed out after %d seconds\n", seconds);
    std::fflush(nullptr);
    std::_Exit(1);
  }
  worker.join();
  done.get();
}

// ---- fixtures, written by hand from the file layout ---------------------------------------

const std::string kDefaultFile =
    "[General]\r\n"
    "Program name = \r\n"
    "Program version = \r\n"
    "Windows 2000 = 1\r\n"
    "Windows XP = 1\r\n"
    "Windows Server 2003 = 1\r\n"
    "Windows Vista = 1\r\n"
    "Windows Server 2008 = 1\r\n"
    "Windows 7 = 1\r\n"
    "Windows 8 = 1\r\n"
    "Company name = \r\n"
    "Website = http://\r\n"
    "SFA = 0\r\n"
    "DFA = 0\r\n"
    "Comp = 1\r\n"
    "[Graphics]\r\n"
    "Wizard image = <main>\r\n"
    "Header image = <main>\r\n"
    "Install-icon image = <main>\r\n"
    "Show Label = 1\r\n"
    "Windows style = 1\r\n"
    "XpStyle = 1\r\n"
    "[Files]\r\n"
    "Include Zipfile = 0\r\n"
    "Zipfile = \r\n"
    "Installation path = <programfiles>\\<company>\\<appname>\\\r\n"
    "Autcip = 1\r\n"
    "[Uninstall]\r\n"
    "Vwau = 0\r\n"
    "Website = \r\n"
    "Include uninstaller = 0\r\n"
    "Uninstaller filename = Uninstall\r\n"
    "[Licence]\r\n"
    "Licence dialog = 0\r\n"
    "[Finish]\r\n"
    "Sart program = 0\r\n"
    "Reboot computer = 0\r\n"
    "Execute DLL: = 0\r\n"
    "Program = <installpath>\\\r\n"
    "Dll = \r\n"
    "[Shortcuts]\r\n"
    "Allowtc = 0\r\n"
    "Shortcut path = <company>\\<appname>\\\r\n"
    "[SplashScreen]\r\n"
    "Image = \r\n"
    "Sound = \r\n"
    "Time = 2\r\n"
    "PlaySound = 0\r\n"
    "Allow = 0\r\n"
    "[Build]\r\n"
    "File = \r\n"
    "[Updater]\r\n"
    "Allow = 0\r\n"
    "1 = <appname>\r\n"
    "2 = <appversion>\r\n"
    "3 = http://\r\n"
    "4 = http://\r\n"
    "5 = http://\r\n"
    "6 = Update\r\n"
    "Language = 0\r\n"
    "RunProg = \r\n"
    "RunProgs = 0\r\n"
    "Execdlls = 0\r\n"
    "[Languages]\r\n"
    "[Files/Dirs]\r\n"
    "[Licence_Begin]\r\n"
    "\0\0\0\0"
    "[Licence_End]\r\n"
    "[Registry]\r\n"
    "[Variables]\r\n"
    "[SCs]\r\n"
    "[ZKP_End]\r\n"
    "[Commands]\r\n"s;

// 23 bytes, without a final line end, holding a line that is a section marker: only the
// count tells where the text ends.
const std::string kLicence = "{\\rtf1 A\r\n[Registry]\r\n}";

const std::string kRichFile =
    "[General]\r\n"
    "Program name = Demo\r\n"
    "Program version = 1.2\r\n"
    "Windows 2000 = 0\r\n"
    "Windows XP = 1\r\n"
    "Windows Server 2003 = 0\r\n"
    "Windows Vista = 1\r\n"
    "Windows Server 2008 = 0\r\n"
    "Windows 7 = 1\r\n"
    "Windows 8 = 1\r\n"
    "Company name = Acme Ltd\r\n"
    "Website = http://acme.example/\r\n"
    "SFA = 1\r\n"
    "DFA = 1\r\n"
    "Comp = 0\r\n"
    "[Graphics]\r\n"
    "Wizard image = C:\\art\\wizard.bmp\r\n"
    "Header image = <main>\r\n"
    "Install-icon image = C:\\art\\setup.ico\r\n"
    "Show Label = 0\r\n"
    "Windows style = 0\r\n"
    "XpStyle = 0\r\n"
    "[Files]\r\n"
    "Include Zipfile = 1\r\n"
    "Zipfile = C:\\dist\\app.zip\r\n"
    "Installation path = <programfiles>\\Acme\\\r\n"
    "Autcip = 0\r\n"
    "[Uninstall]\r\n"
    "Vwau = 1\r\n"
    "Website = http://acme.example/bye\r\n"
    "Include uninstaller = 1\r\n"
    "Uninstaller filename = Remove\r\n"
    "[Licence]\r\n"
    "Licence dialog = 1\r\n"
    "[Finish]\r\n"
    "Sart program = 1\r\n"
    "Reboot computer = 1\r\n"
    "Execute DLL: = 1\r\n"
    "Program = <installpath>\\demo.exe\r\n"
    "Dll = C:\\x\\hook.dll\r\n"
    "[Shortcuts]\r\n"
    "Allowtc = 1\r\n"
    "Shortcut path = Acme\\Demo\r\n"
    "[SplashScreen]\r\n"
    "Image = C:\\art\\splash.jpg\r\n"
    "Sound = C:\\art\\hi.wav\r\n"
    "Time = 5\r\n"
    "PlaySound = 1\r\n"
    "Allow = 1\r\n"
    "[Build]\r\n"
    "File = C:\\out\\setup.exe\r\n"
    "[Updater]\r\n"
    "Allow = 1\r\n"
    "1 = Demo\r\n"
    "2 = 1.2\r\n"
    "3 = http://u.example/a\r\n"
    "4 = http://u.example/b\r\n"
    "5 = http://\r\n"
    "6 = DemoUpdate\r\n"
    "Language = 1\r\n"
    "RunProg = demo.exe\r\n"
    "RunProgs = 1\r\n"
    "Execdlls = 1\r\n"
    "[Languages]\r\n"
    "0\r\n"
    "2\r\n"
    "[Files/Dirs]\r\n"
    "C:\\app\\demo.exe\r\n"
    "1.20 MB\r\n"
    "exe\r\n"
    "[Licence_Begin]\r\n"
    "\x17\0\0\0"
    "{\\rtf1 A\r\n[Registry]\r\n}"
    "[Licence_End]\r\n"
    "[Registry]\r\n"
    "HKEY_CURRENT_USER\r\n"
    "Software\\Acme\\Demo\r\n"
    "Path\r\n"
    "<installpath>\r\n"
    "\x01\0\0\0"
    "[Variables]\r\n"
    "DATADIR\r\n"
    "HKEY_LOCAL_MACHINE\r\n"
    "Software\\Acme\r\n"
    "Data\r\n"
    "C:\\Data\r\n"
    "[SCs]\r\n"
    "Startmenu\r\n"
    "Demo\r\n"
    "<installpath>\\demo.exe\r\n"
    "-start\r\n"
    "[ZKP_End]\r\n"
    "[Commands]\r\n"
    "Shell execute\r\n"
    "<installpath>\\readme.txt\r\n"
    "\r\n"
    "-wait\r\n"s;

SetupProject RichProject() {
  SetupProject p;
  p.programName = "Demo";
  p.programVersion = "1.2";
  p.win2000 = 0;
  p.winXP = 1;
  p.winServer2003 = 0;
  p.winVista = 1;
  p.winServer2008 = 0;
  p.win7 = 1;
  p.win8 = 1;
  p.companyName = "Acme Ltd";
  p.website = "http://acme.example/";
  p.startMenuAllUsers = 1;
  p.desktopAllUsers = 1;
  p.compression = 0;
  p.wizardImage = "C:\\art\\wizard.bmp";
  p.headerImage = "<main>";
  p.iconImage = "C:\\art\\setup.ico";
  p.showLabel = 0;
  p.xpStyle = 0;
  p.useZip = 1;
  p.zipFile = "C:\\dist\\app.zip";
  p.installPath = "<programfiles>\\Acme\\";
  p.allowChangePath = 0;
  p.visitWebsite = 1;
  p.uninstallWebsite = "http://acme.example/bye";
  p.includeUninstaller = 1;
  p.uninstallerName = "Remove";
  p.showLicence = 1;
  p.runProgram = 1;
  p.reboot = 1;
  p.loadDll = 1;
  p.programLine = "<installpath>\\demo.exe";
  p.dllPath = "C:\\x\\hook.dll";
  p.allowChangeStartMenu = 1;
  p.startMenuFolder = "Acme\\Demo";
  p.splashImage = "C:\\art\\splash.jpg";
  p.splashSound = "C:\\art\\hi.wav";
  p.splashTime = "5";
  p.playSound = 1;
  p.showSplash = 1;
  p.setupFile = "C:\\out\\setup.exe";
  p.includeUpdater = 1;
  p.productName = "Demo";
  p.productVersion = "1.2";
  p.mainAddress = "http://u.example/a";
  p.altAddress1 = "http://u.example/b";
  p.altAddress2 = "http://";
  p.updateFileName = "DemoUpdate";
  p.updaterLanguage = 1;
  p.updaterProgramFile = "demo.exe";
  p.updaterRunProgram = 1;
  p.updaterTerminate = 1;
  p.checkedLanguages = {0, 2};
  p.files = {{"C:\\app\\demo.exe", "1.20 MB", "exe"}};
  p.registry = {{"HKEY_CURRENT_USER", "Software\\Acme\\Demo", "Path", "<installpath>", 1}};
  p.variables = {{"DATADIR", "HKEY_LOCAL_MACHINE", "Software\\Acme", "Data", "C:\\Data"}};
  p.shortcuts = {{"Startmenu", "Demo", "<installpath>\\demo.exe", "-start"}};
  p.commands = {{"Shell execute", "<installpath>\\readme.txt", "", "-wait"}};
  p.licenceRtf = kLicence;
  return p;
}

// The rows and licence of a loaded project in one line, for the tables.
std::string Summary(const SetupProject& p) {
  return "L" + std::to_string(p.checkedLanguages.size()) + " F" + std::to_string(p.files.size()) + " R" +
         std::to_string(p.registry.size()) + " V" + std::to_string(p.variables.size()) + " S" +
         std::to_string(p.shortcuts.size()) + " C" + std::to_string(p.commands.size()) + " T" +
         std::to_string(p.licenceRtf.size());
}

// The rich file up to and including the first appearance of text after from (the last
// appearance of a section marker is the section's own, not one inside the licence).
std::string RichUpTo(const std::string& text, bool last = false) {
  size_t at = last ? kRichFile.rfind(text) : kRichFile.find(text);
  EXPECT_NE(at, std::string::npos) << text;
  return kRichFile.substr(0, at + text.size());
}

// The rich preference part alone, for files that carry other sections.
std::string RichPrefs() { return RichUpTo("Execdlls = 1\r\n"); }

// ---- golden files ------------------------------------------------------------------------

TEST(ProjectFile, FixturesMatchTheirRecords) {
  ASSERT_EQ(kLicence.size(), 0x17u);
  TempFolder dir("zkproject");
  struct Golden {
    const char* name;
    const std::string& bytes;
    SetupProject project;
  } cases[] = {{"default", kDefaultFile, DefaultProject()}, {"rich", kRichFile, RichProject()}};
  for (const Golden& g : cases) {
    SCOPED_TRACE(g.name);
    std::string saved = dir.path + g.name + "-saved.zkp";
    std::string fixture = dir.path + g.name + "-fixture.zkp";

    ASSERT_EQ(SaveProjectFile(saved, g.project), 1);
    EXPECT_EQ(Bytes(saved), g.bytes);

    ASSERT_TRUE(PutBytes(fixture, g.bytes));
    SetupProject loaded;
    std::string error;
    ASSERT_EQ(LoadProjectFile(fixture, loaded, &error), 1) << error;
    EXPECT_TRUE(loaded == g.project) << Summary(loaded);
  }
  // Nothing but the files named above: no temporary file, no licence file.
  EXPECT_EQ(dir.Names().size(), 4u);
}

// Loading a second project into the same record keeps nothing of the first: no rows, no
// languages, no licence; a failed load keeps everything.
TEST(ProjectFile, LoadStartsFromAnEmptyProject) {
  TempFolder dir("zkproject");
  ASSERT_TRUE(PutBytes(dir.path + "a.zkp", kRichFile));
  ASSERT_TRUE(PutBytes(dir.path + "b.zkp", kDefaultFile));
  ASSERT_TRUE(PutBytes(dir.path + "bad.zkp", RichUpTo("[Licence_Begin]\r\n")));

  SetupProject p;
  ASSERT_EQ(LoadProjectFile(dir.path + "a.zkp", p), 1);
  ASSERT_TRUE(p == RichProject());
  std::string error;
  EXPECT_EQ(LoadProjectFile(dir.path + "bad.zkp", p, &error), 0);
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(p == RichProject());
  EXPECT_EQ(LoadProjectFile(dir.path + "missing.zkp", p, &error), 0);
  EXPECT_NE(error.find("missing.zkp"), std::string::npos) << error;
  EXPECT_TRUE(p == RichProject());

  ASSERT_EQ(LoadProjectFile(dir.path + "b.zkp", p), 1);
  EXPECT_TRUE(p == DefaultProject()) << Summary(p);
}

// Every row of the field table holds a value of its own, numbers beyond 0 and 1 included:
// a row the codec leaves out, or two rows sharing a key, does not read back.
TEST(ProjectFile, EveryFieldOfTheTableReadsBack) {
  SetupProject p = EveryFieldChanged(true);
  const SetupProject rich = RichProject();
  p.checkedLanguages = rich.checkedLanguages;
  p.files = rich.files;
  p.registry = rich.registry;
  p.variables = rich.variables;
  p.shortcuts = rich.shortcuts;
  p.commands = rich.commands;
  p.licenceRtf = rich.licenceRtf;
  for (const ProjectField& f : kProjectFields) ASSERT_FALSE(SameField(f, p, DefaultProject())) << f.key;

  TempFolder dir("zkproject");
  ASSERT_EQ(SaveProjectFile(dir.path + "a.zkp", p), 1);
  SetupProject loaded;
  std::string error;
  ASSERT_EQ(LoadProjectFile(dir.path + "a.zkp", loaded, &error), 1) << error;
  for (const ProjectField& f : kProjectFields) EXPECT_TRUE(SameField(f, loaded, p)) << f.group << "/" << f.key;
  EXPECT_TRUE(loaded == p) << Summary(loaded);

  ASSERT_EQ(SaveProjectFile(dir.path + "b.zkp", loaded), 1);
  EXPECT_EQ(Bytes(dir.path + "b.zkp"), Bytes(dir.path + "a.zkp"));
}

// ---- damaged and foreign files -------------------------------------------------------------

struct LoadCase {
  const char* name;
  std::string bytes;
  bool loads;
  std::string summary;  // of the loaded rows; unused when the load fails
  std::function<void(const SetupProject&)> check;
};

TEST(ProjectFile, DamagedFilesLoadOrFailCleanly) {
  const std::string rest =
      "[Files/Dirs]\r\n[Licence_Begin]\r\n\0\0\0\0[Licence_End]\r\n[Registry]\r\n[Variables]\r\n[SCs]\r\n"
      "[ZKP_End]\r\n"s;
  const std::vector<LoadCase> cases = {
      // Cut right after each marker.
      {"after [Languages]", RichUpTo("[Languages]\r\n"), true, "L0 F0 R0 V0 S0 C0 T0", nullptr},
      {"after [Files/Dirs]", RichUpTo("[Files/Dirs]\r\n"), true, "L2 F0 R0 V0 S0 C0 T0", nullptr},
      {"after [Licence_Begin]", RichUpTo("[Licence_Begin]\r\n"), false, "", nullptr},
      {"after [Licence_End]", RichUpTo("[Licence_End]\r\n"), true, "L2 F1 R0 V0 S0 C0 T23", nullptr},
      {"after [Registry]", RichUpTo("[Registry]\r\n", true), true, "L2 F1 R0 V0 S0 C0 T23", nullptr},
      {"after [Variables]", RichUpTo("[Variables]\r\n"), true, "L2 F1 R1 V0 S0 C0 T23", nullptr},
      {"after [SCs]", RichUpTo("[SCs]\r\n"), true, "L2 F1 R1 V1 S0 C0 T23", nullptr},
      {"after [ZKP_End]", RichUpTo("[ZKP_End]\r\n"), true, "L2 F1 R1 V1 S1 C0 T23", nullptr},
      {"after [Commands]", RichUpTo("[Commands]\r\n"), true, "L2 F1 R1 V1 S1 C0 T23", nullptr},
      // Cut inside each section: whole rows are kept, a row cut short is dropped.
      {"inside languages", RichUpTo("[Languages]\r\n0\r\n"), true, "L1 F0 R0 V0 S0 C0 T0", nullptr},
      {"inside a file row", RichUpTo("C:\\app\\demo.exe\r\n"), true, "L2 F0 R0 V0 S0 C0 T0", nullptr},
      {"inside the licence count", RichUpTo("[Licence_Begin]\r\n\x17\0"s), false, "", nullptr},
      {"inside the licence text", RichUpTo("{\\rtf1 A"), false, "", nullptr},
      {"before a registry flag", RichUpTo("Path\r\n<installpath>\r\n"), true, "L2 F1 R0 V0 S0 C0 T23", nullptr},
      {"inside a registry flag", RichUpTo("<installpath>\r\n\x01\0"s), true, "L2 F1 R0 V0 S0 C0 T23", nullptr},
      {"inside a variable row", RichUpTo("DATADIR\r\nHKEY_LOCAL_MACHINE\r\n"), true, "L2 F1 R1 V0 S0 C0 T23", nullptr},
      {"inside a shortcut row", RichUpTo("Startmenu\r\nDemo\r\n"), true, "L2 F1 R1 V1 S0 C0 T23", nullptr},
      {"inside a command row", RichUpTo("readme.txt\r\n\r\n"), true, "L2 F1 R1 V1 S1 C0 T23", nullptr},
      {"last line without its line end", kRichFile.substr(0, kRichFile.size() - 2), true, "L2 F1 R1 V1 S1 C1 T23",
       [](const SetupProject& p) { EXPECT_TRUE(p == RichProject()); }},
      // Licence counts that do not fit.
      {"licence count past the end", RichPrefs() + "[Licence_Begin]\r\n\x10\0\0\0abc"s, false, "", nullptr},
      {"licence count 0xFFFFFFFF", RichPrefs() + "[Licence_Begin]\r\n\xFF\xFF\xFF\xFF[Licence_End]\r\n[Registry]\r\n"s,
       false, "", nullptr},
      {"licence of 0 bytes", RichPrefs() + "[Licence_Begin]\r\n\0\0\0\0[Licence_End]\r\n"s, true,
       "L0 F0 R0 V0 S0 C0 T0", nullptr},
      // Files whose licence text could not be produced have no count at all.
      {"licence section without a count",
       RichPrefs() + "[Languages]\r\n1\r\n[Files/Dirs]\r\n[Licence_Begin]\r\n[Licence_End]\r\n[Registry]\r\n"
                     "HKEY_USERS\r\na\r\nb\r\nc\r\n\0\0\0\0[Variables]\r\n[SCs]\r\n[ZKP_End]\r\n"s,
       true, "L1 F0 R1 V0 S0 C0 T0", nullptr},
      // Command types are compared exactly; leading blanks and tabs do not count.
      {"command types",
       RichPrefs() + "[Languages]\r\n" + rest +
           "[Commands]\r\nshell execute\r\na\r\n\r\n-hide\r\n \tShell execute\r\nb\r\n\r\n\r\nShell execute \r\n"
           "c\r\nd\r\ne\r\nRun\r\nf\r\ng\r\nh\r\n",
       true, "L0 F0 R0 V0 S0 C4 T0",
       [](const SetupProject& p) {
         ASSERT_EQ(p.commands.size(), 4u);
         EXPECT_EQ(p.commands[0].type, "Execute application");
         EXPECT_EQ(p.commands[0].options, "-hide");
         EXPECT_EQ(p.commands[1].type, "Shell execute");
         EXPECT_EQ(p.commands[2].type, "Execute application");
         EXPECT_EQ(p.commands[3].type, "Execute application");
       }},
      // An empty line ends the commands; the scan goes on after it.
      {"empty line after commands", "[Commands]\r\nShell execute\r\na\r\nb\r\nc\r\n\r\n[Languages]\r\n4\r\n", true,
       "L1 F0 R0 V0 S0 C1 T0", [](const SetupProject& p) { EXPECT_EQ(p.checkedLanguages, std::vector<int>{4}); }},
      // Missing keys give empty texts and 0, "Comp" too.
      {"missing keys", "[General]\r\nProgram name = X\r\n", true, "L0 F0 R0 V0 S0 C0 T0",
       [](const SetupProject& p) {
         SetupProject expected;
         expected.programName = "X";
         EXPECT_TRUE(p == expected);
         EXPECT_EQ(p.compression, 0);
       }},
      {"empty file", "", true, "L0 F0 R0 V0 S0 C0 T0", [](const SetupProject& p) { EXPECT_TRUE(p == SetupProject()); }},
      // The style is XP only when "XpStyle" is 1, whatever "Windows style" says.
      {"style keys", "[Graphics]\r\nWindows style = 1\r\nXpStyle = 2\r\n", true, "L0 F0 R0 V0 S0 C0 T0",
       [](const SetupProject& p) { EXPECT_EQ(p.xpStyle, 0); }},
      // The three updater numbers read "$" hexadecimal and "%" binary; other numbers do not.
      {"updater numbers",
       "[General]\r\nComp = $1\r\n[Updater]\r\nLanguage = $A\r\nRunProgs = %11\r\nExecdlls = -2x\r\n", true,
       "L0 F0 R0 V0 S0 C0 T0",
       [](const SetupProject& p) {
         EXPECT_EQ(p.compression, 0);
         EXPECT_EQ(p.updaterLanguage, 10);
         EXPECT_EQ(p.updaterRunProgram, 3);
         EXPECT_EQ(p.updaterTerminate, -2);
       }},
      {"unknown sections",
       "[Languages]\r\n3\r\n[Files/Dirs]\r\n[Licence_Begin]\r\n\0\0\0\0[Licence_End]\r\n[Extras]\r\nfoo\r\n"
       "[Registry]\r\n[Variables]\r\n[SCs]\r\n[ZKP_End]\r\n[Other]\r\n[Commands]\r\nShell execute\r\na\r\nb\r\nc\r\n"s,
       true, "L1 F0 R0 V0 S0 C1 T0", nullptr},
      // NUL bytes in lines are skipped.
      {"NUL bytes", "[Lang\0uages]\r\n1\0\r\n[Files/Dirs]\r\nC:\\a\0b\r\n\0\r\ntxt\r\n[Licence_Begin]\r\n\0\0\0\0"s,
       true, "L1 F1 R0 V0 S0 C0 T0",
       [](const SetupProject& p) {
         EXPECT_EQ(p.checkedLanguages, std::vector<int>{1});
         ASSERT_EQ(p.files.size(), 1u);
         EXPECT_TRUE(p.files[0] == (FileEntry{"C:\\ab", "", "txt"}));
       }},
      // A language line without a number names no language.
      {"language lines without a number", "[Languages]\r\nabc\r\n\r\n 3x\r\n[Files/Di", true, "L1 F0 R0 V0 S0 C0 T0",
       [](const SetupProject& p) { EXPECT_EQ(p.checkedLanguages, std::vector<int>{3}); }},
      {"CR and LF line ends", "[Languages]\n1\r2\r\n[Files/Dirs]\rC:\\f\\\nn/a\r[Folder]\n", true,
       "L2 F1 R0 V0 S0 C0 T0",
       [](const SetupProject& p) {
         EXPECT_EQ(p.checkedLanguages, (std::vector<int>{1, 2}));
         ASSERT_EQ(p.files.size(), 1u);
         EXPECT_TRUE(p.files[0] == (FileEntry{"C:\\f\\", "n/a", "[Folder]"}));
       }},
  };

  TempFolder dir("zkproject");
  WithinSeconds(60, [&] {
    int n = 0;
    for (const LoadCase& c : cases) {
      SCOPED_TRACE(c.name);
      std::string path = dir.path + "case" + std::to_string(++n) + ".zkp";
      ASSERT_TRUE(PutBytes(path, c.bytes));
      SetupProject p;
      std::string error;
      int loaded = LoadProjectFile(path, p, &error);
      EXPECT_EQ(loaded, c.loads ? 1 : 0) << error;
      if (loaded != (c.loads ? 1 : 0)) continue;
      if (!loaded) {
        EXPECT_FALSE(error.empty());
        continue;
      }
      EXPECT_EQ(Summary(p), c.summary);
      if (c.check) c.check(p);
      // Cut files keep their preference part.
      if (c.bytes.compare(0, RichPrefs().size(), RichPrefs()) == 0) {
        SetupProject prefsOnly = p;
        SetupProject rich = RichProject();
        prefsOnly.checkedLanguages = rich.checkedLanguages;
        prefsOnly.files = rich.files;
        prefsOnly.registry = rich.registry;
        prefsOnly.variables = rich.variables;
        prefsOnly.shortcuts = rich.shortcuts;
        prefsOnly.commands = rich.commands;
        prefsOnly.licenceRtf = rich.licenceRtf;
        EXPECT_TRUE(prefsOnly == rich);
      }
    }
  });
}

// Whatever byte the file ends at, the load ends: with a clear error or with no more rows
// than the whole file has.
TEST(ProjectFile, EveryCutOfAFileLoadsOrFails) {
  TempFolder dir("zkproject");
  std::string path = dir.path + "cut.zkp";
  size_t from = RichPrefs().size();
  WithinSeconds(120, [&] {
    for (size_t size = from; size <= kRichFile.size(); ++size) {
      ASSERT_TRUE(PutBytes(path, kRichFile.substr(0, size)));
      SetupProject p;
      std::string error;
      if (LoadProjectFile(path, p, &error)) {
        EXPECT_LE(p.checkedLanguages.size(), 2u) << size;
        EXPECT_LE(p.files.size(), 1u) << size;
        EXPECT_LE(p.registry.size(), 1u) << size;
        EXPECT_LE(p.variables.size(), 1u) << size;
        EXPECT_LE(p.shortcuts.size(), 1u) << size;
        EXPECT_LE(p.commands.size(), 1u) << size;
        EXPECT_TRUE(p.licenceRtf.empty() || p.licenceRtf == kLicence) << size;
      } else {
        EXPECT_FALSE(error.empty()) << size;
      }
    }
  });
}

// ---- saving ------------------------------------------------------------------------------

TEST(ProjectFile, SaveReplacesTheOldFileWhole) {
  TempFolder dir("zkproject");
  std::string target = dir.path + "p.zkp";
  ASSERT_TRUE(PutBytes(target, "old bytes that are longer than nothing at all\r\n"));
  ASSERT_EQ(SaveProjectFile(target, DefaultProject()), 1);
  EXPECT_EQ(Bytes(target), kDefaultFile);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.zkp"});
}

TEST(ProjectFile, SaveToAMissingFolderWritesNothing) {
  TempFolder dir("zkproject");
  std::string error;
  std::string target = dir.path + "no such folder\\p.zkp";
  EXPECT_EQ(SaveProjectFile(target, RichProject(), &error), 0);
  // No temporary file could be made, which the message tells apart from a failed write.
  EXPECT_EQ(error, "The project cannot be saved: cannot write to the folder of \"" + target + "\".");
  EXPECT_TRUE(dir.Names().empty());
}

// A target that cannot be replaced (held open without delete sharing) keeps its bytes, and
// the temporary file goes away.
TEST(ProjectFile, FailedReplaceKeepsTheOldFile) {
  TempFolder dir("zkproject");
  std::string target = dir.path + "p.zkp";
  ASSERT_TRUE(PutBytes(target, kRichFile));
  HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  std::string error;
  EXPECT_EQ(SaveProjectFile(target, DefaultProject(), &error), 0);
  CloseHandle(holder);
  EXPECT_EQ(error, "The project cannot be saved: writing \"" + target + "\" failed.");
  EXPECT_EQ(Bytes(target), kRichFile);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.zkp"});

  // Once the file is free the same save goes through.
  EXPECT_EQ(SaveProjectFile(target, DefaultProject()), 1);
  EXPECT_EQ(Bytes(target), kDefaultFile);
}

// Texts that would read back differently are refused before anything is written; the
// message names the field.
TEST(ProjectFile, SaveRefusesTextsThatWouldReadBackDifferently) {
  struct Refusal {
    const char* field;  // part of the message
    std::function<void(SetupProject&)> change;
  };
  const std::vector<Refusal> cases = {
      {"Program name", [](SetupProject& p) { p.programName = "two\r\nlines"; }},
      {"Uninstall website", [](SetupProject& p) { p.uninstallWebsite = "http://a\n"; }},
      {"Splash time", [](SetupProject& p) { p.splashTime = "2\r"; }},
      {"Program file", [](SetupProject& p) { p.updaterProgramFile = "a\0b"s; }},
      {"Files, row 1, path", [](SetupProject& p) { p.files[0].path = "[Licence_Begin]"; }},
      {"Files, row 1, type", [](SetupProject& p) { p.files[0].type = "e\nxe"; }},
      {"Registry, row 1, root key", [](SetupProject& p) { p.registry[0].rootKey = "[Variables]"; }},
      {"Registry, row 1, value data", [](SetupProject& p) { p.registry[0].valueData = "a\r\nb"; }},
      {"Variables, row 1, variable name", [](SetupProject& p) { p.variables[0].name = "[SCs]"; }},
      {"Shortcuts, row 2, destination",
       [](SetupProject& p) {
         p.shortcuts.push_back({"[ZKP_End]", "x", "y", "z"});
       }},
      {"Commands, row 1, program", [](SetupProject& p) { p.commands[0].program = "[Commands]"; }},
      {"Commands, row 1, parameters", [](SetupProject& p) { p.commands[0].parameters = "-a\n-b"; }},
      {"Commands, row 1, type", [](SetupProject& p) { p.commands[0].type = "shell execute"; }},
      {"Commands, row 1, type", [](SetupProject& p) { p.commands[0].type = ""; }},
  };
  TempFolder dir("zkproject");
  std::string target = dir.path + "p.zkp";
  ASSERT_TRUE(PutBytes(target, kDefaultFile));
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.field);
    SetupProject p = RichProject();
    c.change(p);
    std::string error;
    EXPECT_EQ(SaveProjectFile(target, p, &error), 0);
    EXPECT_NE(error.find(std::string("\"") + c.field + "\""), std::string::npos) << error;
    EXPECT_EQ(Bytes(target), kDefaultFile);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"p.zkp"});
  }
}

}  // namespace
