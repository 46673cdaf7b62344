// The setup program itself, started under the test bed like a person would start it:
// damaged setups end with their message and leave nothing behind, a second setup is
// refused, and a full setup is walked through its language window and every page.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "driver/driver.h"
#include "setupruntime/language_window.h"
#include "setupruntime/setup_fixture.h"
#include "support/debug_log.h"

namespace {

constexpr DWORD kWait = 30000;

const char kOsAll8[] = "Windows 8 = 1\r\nWindows 7 = 1\r\n";
const char kDefaultZkl[] =
    "[Main]\r\nTitle = Plain Setup\r\n[Messages]\r\nExitSetupH = Leave\r\nExitSetup = Leave now?\r\n";

struct Running {
  DriverProcess p;
  ~Running() {
    if (DriverRunning(p)) DriverKill(p);
    DriverRelease(&p);
  }
};

std::string SetupBytes(const std::string& cabinet) { return RuntimeImage() + Int64Bytes(cabinet.size()) + cabinet; }

// Starts the setup with its work folders below temp and waits for its window titled
// `title`; call it through ASSERT_NO_FATAL_FAILURE.
void StartUntilWindow(const std::wstring& setupPath, const std::wstring& temp, const std::string& title, Running* r,
                      HWND* window) {
  ASSERT_TRUE(StartSetup(setupPath, temp, &r->p))
      << "error " << LastSetupStartError() << ", the file is "
      << (GetFileAttributesW(setupPath.c_str()) == INVALID_FILE_ATTRIBUTES ? "missing" : "there");
  *window = DriverWaitWindow(title, r->p.id, kWait);
  ASSERT_NE(*window, nullptr);
}

// Writes dir + "setup.exe", a setup that runs on its defaults, and starts it with its
// work folders below dir + temp until its wizard shows.
void StartPlainSetup(const std::wstring& dir, const std::wstring& temp, Running* r, HWND* wizard) {
  ASSERT_TRUE(
      PutBytes(dir + L"setup.exe", SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}, {"Default.zkl", kDefaultZkl}}))));
  StartUntilWindow(dir + L"setup.exe", dir + temp, "Plain Setup", r, wizard);
}

// Asks the wizard to close, answers the question with OK and waits for the end; true
// when the setup ended and left no work folder in temp.
bool CloseThroughQuestion(HWND wizard, const Running& r, const char* questionTitle, const std::wstring& temp) {
  PostMessageW(wizard, WM_CLOSE, 0, 0);
  return DriverAnswerMessageBox(r.p.id, questionTitle, IDOK, kWait, nullptr) && DriverWaitExit(r.p, kWait, nullptr) &&
         CountWorkFolders(temp) == 0;
}

const int kPages[] = {3, 0xA, 0x1B, 0x2D, 0x2B, 0x35, 0x40};

// How many icon pictures below parent show an icon.
int ShownIcons(HWND parent) {
  int n = 0;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[32];
    if (GetClassNameW(c, cls, 32) && lstrcmpiW(cls, L"Static") == 0 &&
        (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageW(c, STM_GETICON, 0, 0))
      ++n;
    n += ShownIcons(c);
  }
  return n;
}

// The one page container shown.
int ShownPage(HWND wizard) {
  int shown = -1;
  for (int i = 0; i < 7; ++i) {
    if (!DriverVisible(DriverFindControl(wizard, kPages[i]))) continue;
    if (shown >= 0) return -2;
    shown = i;
  }
  return shown;
}

bool WaitPage(HWND wizard, int page) {
  for (int i = 0; i < 100; ++i) {
    if (ShownPage(wizard) == page) return true;
    Sleep(50);
  }
  return false;
}

TEST(SetupProgram, DamagedSetupsEndWithTheirMessageAndLeaveNoWorkFolder) {
  std::wstring dir = TestFolder();
  const std::string good = CabinetOf(dir, {{"OS.dat", kOsAll8}, {"Default.zkl", kDefaultZkl}});
  ASSERT_FALSE(good.empty());
  const std::string image = RuntimeImage();
  ASSERT_GT(image.size(), 100000u);
  const struct {
    const char* what;
    std::string file;
    const char* title;
    const char* text;
  } cases[] = {
      {"cabinet length 0", image + Int64Bytes(0) + good, "Error", "Setup Error!"},
      {"cabinet length past the end", image + Int64Bytes(good.size() + 1) + good, "Error", "Setup Error!"},
      {"no payload at all", image, "Error", "Setup Error!"},
      {"cabinet cut short", image + Int64Bytes(good.size() / 2) + good.substr(0, good.size() / 2), "Error",
       "Setup Error! -f"},
      {"cabinet with an entry outside the work folder",
       SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}, {"Default.zkl", kDefaultZkl}, {"..\\escape.txt", "x"}})),
       "Error", "Setup Error! -f"},
      {"no OS.dat", SetupBytes(CabinetOf(dir, {{"Default.zkl", kDefaultZkl}})), "Error",
       "Your operating system is not supported."},
      {"OS.dat all 0",
       SetupBytes(CabinetOf(dir, {{"OS.dat",
                                   "Windows 2000 = 0\r\nWindows XP = 0\r\nWindows Server 2003 = 0\r\nWindows Vista = "
                                   "0\r\nWindows Server 2008 = 0\r\nWindows 7 = 0\r\nWindows 8 = 0\r\n"},
                                  {"Default.zkl", kDefaultZkl}})),
       "Error", "Your operating system is not supported."},
      {"one language without Default.zkl", SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}})), "Error", "Setup Error!"},
      {"two languages without languages.dat",
       SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}, {"SC.dat", "[Setup]\r\nLanguages = 2\r\n"}})), "Error",
       "Setup Error!"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring caseDir = dir + L"case" + std::to_wstring(n++) + L"\\";
    CreateFolderPath(caseDir);
    ASSERT_TRUE(PutBytes(caseDir + L"setup.exe", c.file));
    Running r;
    ASSERT_TRUE(StartSetup(caseDir + L"setup.exe", caseDir + L"temp\\", &r.p));
    std::string text;
    EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, c.title, IDOK, kWait, &text));
    EXPECT_EQ(text, c.text);
    DWORD code = 0;
    EXPECT_TRUE(DriverWaitExit(r.p, kWait, &code));
    EXPECT_EQ(CountWorkFolders(caseDir + L"temp\\"), 0);
    EXPECT_FALSE(PathExists(caseDir + L"escape.txt"));
    EXPECT_FALSE(PathExists(caseDir + L"temp\\escape.txt"));
  }
}

TEST(SetupProgram, WithoutSettingsTheWizardRunsOnDefaults) {
  std::wstring dir = TestFolder();
  Running r;
  HWND wizard = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartPlainSetup(dir, L"temp\\", &r, &wizard));
  EXPECT_EQ(CountWorkFolders(dir + L"temp\\"), 1);
  EXPECT_TRUE(DriverVisible(DriverFindControl(wizard, 3)));
  EXPECT_FALSE(DriverVisible(DriverFindControl(wizard, 0x3D)));
  EXPECT_EQ(DriverFindControl(wizard, 9), nullptr);     // no separator line
  EXPECT_EQ(DriverFindControl(wizard, 0x45), nullptr);  // no finish action
  // No shortcuts: neither check box can be changed, and both stay clear.
  for (int box : {0x34, 0x3E}) {
    EXPECT_FALSE(DriverEnabled(DriverFindControl(wizard, box)));
    EXPECT_EQ(DriverCheckState(DriverFindControl(wizard, box)), BST_UNCHECKED);
  }
  EXPECT_TRUE(CloseThroughQuestion(wizard, r, "Leave", dir + L"temp\\"));
}

// A one-language setup of "Demo" that installs into installPath.
BuildInput DemoProject(const std::string& installPath) {
  BuildInput in;
  in.languageNames = {"English"};
  in.project.checkedLanguages = {0};
  in.project.programName = "Demo";
  in.project.win8 = 1;
  in.project.installPath = installPath;
  return in;
}

// A one-language setup that installs nothing into dir + "inst\" and offers to run
// marker.cmd at the end, which leaves marker.txt beside itself.
void MakeFinishSetup(const std::wstring& dir) {
  BuildInput in = DemoProject(WideToAnsi(dir) + "inst\\");
  in.project.runProgram = 1;
  in.project.programLine = WideToAnsi(dir) + "marker.cmd";
  PutBytes(dir + L"marker.cmd", "@echo done> \"%~dp0marker.txt\"\r\n");
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(in, dir, &error)) << error;
}

TEST(SetupProgram, FinishPageRunsItsActionOnlyThroughFinish) {
  enum How { kFinish, kFinishUnchecked, kClose };
  const struct {
    const char* what;
    How how;
    bool runs;
  } cases[] = {{"Finish", kFinish, true},
               {"Finish with the box cleared", kFinishUnchecked, false},
               {"closing the window", kClose, false}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring dir = TestFolder() + L"case" + std::to_wstring(n++) + L"\\";
    CreateFolderPath(dir);
    MakeFinishSetup(dir);
    Running r;
    HWND wizard = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartUntilWindow(dir + L"setup.exe", dir + L"temp\\", "Demo Setup", &r, &wizard));
    HWND next = DriverFindControl(wizard, 1);
    ASSERT_TRUE(DriverClick(next));
    HWND finish = DriverFindControl(wizard, 0x40);
    for (int i = 0; i < 200 && !DriverVisible(finish); ++i) Sleep(50);
    ASSERT_TRUE(DriverVisible(finish));
    EXPECT_TRUE(PathExists(dir + L"inst"));
    EXPECT_FALSE(DriverVisible(DriverFindControl(wizard, 2)));
    EXPECT_FALSE(DriverVisible(DriverFindControl(wizard, 0x3D)));
    EXPECT_TRUE(DriverEnabled(next));
    EXPECT_EQ(DriverText(next), "Finish");
    HWND box = DriverFindControl(wizard, 0x45);
    EXPECT_EQ(DriverText(box), "Launch Demo");
    EXPECT_EQ(DriverCheckState(box), BST_CHECKED);
    if (c.how == kClose) {
      EXPECT_TRUE(DriverCloseAndWait(wizard, r.p, kWait, nullptr));
    } else {
      if (c.how == kFinishUnchecked) {
        ASSERT_TRUE(DriverClick(box));
        for (int i = 0; i < 50 && DriverCheckState(box) != BST_UNCHECKED; ++i) Sleep(50);
      }
      ASSERT_TRUE(DriverClick(next));
      EXPECT_TRUE(DriverWaitExit(r.p, kWait, nullptr));
    }
    for (int i = 0; i < 100 && c.runs && !PathExists(dir + L"marker.txt"); ++i) Sleep(100);
    if (!c.runs) Sleep(1000);
    EXPECT_EQ(PathExists(dir + L"marker.txt"), c.runs);
    EXPECT_EQ(CountWorkFolders(dir + L"temp\\"), 0);
  }
}

TEST(SetupProgram, ASecondSetupIsRefusedWhileOneRuns) {
  std::wstring dir = TestFolder();
  Running first;
  HWND wizard = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartPlainSetup(dir, L"temp1\\", &first, &wizard));
  Running second;
  ASSERT_TRUE(StartSetup(dir + L"setup.exe", dir + L"temp2\\", &second.p));
  std::string text;
  EXPECT_TRUE(DriverAnswerMessageBox(second.p.id, "Zendrikolbar", IDOK, kWait, &text));
  EXPECT_EQ(text,
            "There is already an Zendrikolbar setup running! Please close the running setup in order to continue.");
  EXPECT_TRUE(DriverWaitExit(second.p, kWait, nullptr));
  EXPECT_EQ(CountWorkFolders(dir + L"temp2\\"), 0);
  EXPECT_EQ(CountWorkFolders(dir + L"temp1\\"), 1);
  // The close question of the first: Cancel keeps it, OK ends it.
  PostMessageW(wizard, WM_CLOSE, 0, 0);
  EXPECT_TRUE(DriverAnswerMessageBox(first.p.id, "Leave", IDCANCEL, kWait, &text));
  EXPECT_EQ(text, "Leave now?");
  Sleep(300);
  EXPECT_TRUE(DriverRunning(first.p));
  EXPECT_TRUE(CloseThroughQuestion(wizard, first, "Leave", dir + L"temp1\\"));
}

TEST(SetupProgram, ALanguageWithoutItsFileKeepsTheLanguageWindow) {
  std::wstring dir = TestFolder();
  ASSERT_TRUE(PutBytes(dir + L"setup.exe",
                       SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8},
                                                  {"SC.dat", "[Setup]\r\nLanguages = 2\r\n"},
                                                  {"languages.dat", "Klingon\r\n..\\outside\r\nEnglish\r\n"},
                                                  {"English.zkl", kDefaultZkl}}))));
  // A language file outside the work folder, which the name "..\outside" would reach.
  CreateFolderPath(dir + L"temp\\");
  ASSERT_TRUE(PutBytes(dir + L"temp\\outside.zkl", kDefaultZkl));
  Running r;
  ASSERT_TRUE(StartSetup(dir + L"setup.exe", dir + L"temp\\", &r.p));
  LanguageWindowTexts lt = LanguageWindowTextsFor(PRIMARYLANGID(GetUserDefaultLangID()));
  HWND language = DriverWaitWindow(WideToUtf8(lt.title), r.p.id, kWait);
  ASSERT_NE(language, nullptr);
  // The window has no way out but its buttons.
  PostMessageW(language, WM_CLOSE, 0, 0);
  Sleep(300);
  EXPECT_TRUE(DriverVisible(language));
  for (int unusable : {0, 1}) {
    ASSERT_TRUE(DriverComboSelect(DriverFindControl(language, 0x46), unusable));
    ASSERT_TRUE(DriverClick(DriverFindControl(language, 0x48)));
    std::string text;
    EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Error", IDOK, kWait, &text)) << unusable;
    EXPECT_EQ(text, WideToUtf8(lt.loadError));
    EXPECT_TRUE(DriverVisible(language));
  }
  ASSERT_TRUE(DriverComboSelect(DriverFindControl(language, 0x46), 2));
  ASSERT_TRUE(DriverClick(DriverFindControl(language, 0x48)));
  HWND wizard = DriverWaitWindow("Plain Setup", r.p.id, kWait);
  ASSERT_NE(wizard, nullptr);
  EXPECT_TRUE(CloseThroughQuestion(wizard, r, "Leave", dir + L"temp\\"));
}

TEST(SetupProgram, AnInstallationThatEndsTheSetupLeavesNoWorkFolder) {
  std::wstring dir = TestFolder();
  BuildInput in = DemoProject("relative\\folder\\");  // not a place to install to
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(in, dir, &error)) << error;
  Running r;
  HWND wizard = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartUntilWindow(dir + L"setup.exe", dir + L"temp\\", "Demo Setup", &r, &wizard));
  ASSERT_TRUE(DriverClick(DriverFindControl(wizard, 1)));
  std::string text;
  EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Error", IDOK, kWait, &text));
  EXPECT_TRUE(DriverWaitExit(r.p, kWait, nullptr));
  EXPECT_EQ(CountWorkFolders(dir + L"temp\\"), 0);
  // The mutex went with the process: the next setup starts.
  Running again;
  HWND second = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartUntilWindow(dir + L"setup.exe", dir + L"temp\\", "Demo Setup", &again, &second));
  EXPECT_TRUE(CloseThroughQuestion(second, again, "Exit Setup", dir + L"temp\\"));
}

TEST(SetupProgram, WhileInstallingOnlyCancelWorksAndItEndsTheSetup) {
  std::wstring dir = TestFolder();
  BuildInput in = DemoProject(WideToAnsi(dir) + "inst\\");
  // The setup's command keeps the installing page up for a while.
  CommandEntry wait;
  wait.type = "Execute application";
  wait.program = WideToAnsi(FullFolder(L".")) + "zk_setup_tour.exe";
  wait.parameters = "sleep 8000";
  wait.options = "-wait -hide";
  in.project.commands = {wait};
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(in, dir, &error)) << error;
  Running r;
  HWND wizard = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartUntilWindow(dir + L"setup.exe", dir + L"temp\\", "Demo Setup", &r, &wizard));
  ASSERT_TRUE(DriverClick(DriverFindControl(wizard, 1)));
  ASSERT_TRUE(WaitPage(wizard, 5));
  HWND status = DriverFindControl(wizard, 0x37);
  for (int i = 0; i < 50 && DriverText(status) != "Finishing the installation..."; ++i) Sleep(50);
  EXPECT_FALSE(DriverEnabled(DriverFindControl(wizard, 1)));
  EXPECT_FALSE(DriverEnabled(DriverFindControl(wizard, 0x3D)));
  EXPECT_TRUE(DriverVisible(DriverFindControl(wizard, 0x3D)));
  ASSERT_TRUE(DriverClick(DriverFindControl(wizard, 2)));
  EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Exit Setup", IDOK, kWait, nullptr));
  EXPECT_TRUE(DriverWaitExit(r.p, 3000, nullptr));
  EXPECT_EQ(CountWorkFolders(dir + L"temp\\"), 0);
}

TEST(SetupProgram, FinishCallsTheCodeExportsOfTheAuthorsLibrary) {
  std::wstring dir = TestFolder();
  BuildInput in = DemoProject(WideToAnsi(dir) + "inst\\");
  in.project.loadDll = 1;
  in.project.dllPath = WideToAnsi(FullFolder(L".")) + "finish_library.dll";
  ASSERT_TRUE(PathExists(AnsiToWide(in.project.dllPath)));
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(in, dir, &error)) << error;
  Running r;
  HWND wizard = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartUntilWindow(dir + L"setup.exe", dir + L"temp\\", "Demo Setup", &r, &wizard));
  HWND next = DriverFindControl(wizard, 1);
  ASSERT_TRUE(DriverClick(next));
  ASSERT_TRUE(WaitPage(wizard, 6));
  for (int i = 0; i < 50 && !DriverEnabled(next); ++i) Sleep(50);
  ASSERT_TRUE(DriverClick(next));
  DWORD code = 1;
  ASSERT_TRUE(DriverWaitExit(r.p, kWait, &code));
  // Both functions ran, in the order of the export names; the data export was not
  // called (it would have ended the setup with a fault instead of code 0).
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(GetBytes(dir + L"finish_library_calls.txt"), "12");
  EXPECT_EQ(CountWorkFolders(dir + L"temp\\"), 0);
}

TEST(SetupProgram, SplashScreenShowsItsPictureForItsTimeThenTheWizard) {
  const std::string picture = SplashPicture();
  ASSERT_GT(picture.size(), 1000u);
  const struct {
    const char* what;
    std::string image;
    std::string sound;
    bool shown;
  } cases[] = {{"picture and sound", picture, SilenceWave(), true},
               {"picture and a sound that is none", picture, "not a sound", true},
               {"no picture", "not a picture", SilenceWave(), false}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring dir = TestFolder() + L"case" + std::to_wstring(n++) + L"\\";
    CreateFolderPath(dir);
    ASSERT_TRUE(PutBytes(dir + L"setup.exe",
                         SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8},
                                                    {"Default.zkl", kDefaultZkl},
                                                    {"SC.dat", "[Setup]\r\nSplashScreen = 1\r\nSPS_Time = 2\r\n"},
                                                    {"isps.dat", c.image},
                                                    {"ssps.dat", c.sound}}))));
    Running r;
    ASSERT_TRUE(StartSetup(dir + L"setup.exe", dir + L"temp\\", &r.p));
    HWND splash = DriverWaitWindow("Zendrikolbar Setup", r.p.id, c.shown ? kWait : 1);
    HWND wizard = nullptr;
    if (c.shown) {
      ASSERT_NE(splash, nullptr);
      RECT client;
      GetClientRect(splash, &client);
      EXPECT_EQ(client.right, 55);
      EXPECT_EQ(client.bottom, 55);
      EXPECT_TRUE(GetWindowLongPtrW(splash, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
      EXPECT_FALSE(GetWindowLongPtrW(splash, GWL_STYLE) & WS_CAPTION);
      // The wizard waits for the splash time.
      EXPECT_EQ(DriverWaitWindow("Plain Setup", r.p.id, 1000), nullptr);
    }
    wizard = DriverWaitWindow("Plain Setup", r.p.id, kWait);
    ASSERT_NE(wizard, nullptr);
    EXPECT_FALSE(IsWindow(splash) && IsWindowVisible(splash));
    EXPECT_EQ(DriverWaitWindow("Zendrikolbar Setup", r.p.id, 1), nullptr);
    EXPECT_TRUE(CloseThroughQuestion(wizard, r, "Leave", dir + L"temp\\"));
  }
}

TEST(SetupProgram, WalkThroughEveryPageInGermanAndCancel) {
  std::wstring dir = TestFolder();
  std::string error;
  ASSERT_TRUE(MakeSetupFromProject(FullProject(), dir, &error)) << error;
  Running r;
  std::wstring temp = dir + L"temp\\";
  ASSERT_TRUE(StartSetup(dir + L"setup.exe", temp, &r.p));

  LanguageWindowTexts lt = LanguageWindowTextsFor(PRIMARYLANGID(GetUserDefaultLangID()));
  HWND language = DriverWaitWindow(WideToUtf8(lt.title), r.p.id, kWait);
  ASSERT_NE(language, nullptr);
  HWND combo = DriverFindControl(language, 0x46);
  ASSERT_EQ(DriverComboCount(combo), 2);
  std::string item;
  ASSERT_TRUE(DriverComboItem(combo, 1, &item));
  EXPECT_EQ(item, "German");
  EXPECT_EQ(DriverComboSelection(combo), 0);
  EXPECT_EQ(ShownIcons(language), 1);  // the setup icon
  // Cancel asks; Cancel on the question keeps the setup.
  ASSERT_TRUE(DriverClick(DriverFindControl(language, 0x4A)));
  EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Setup", IDCANCEL, kWait, nullptr));
  ASSERT_TRUE(DriverComboSelect(combo, 1));
  ASSERT_TRUE(DriverClick(DriverFindControl(language, 0x48)));

  HWND wizard = DriverWaitWindow("Setup von Demo", r.p.id, kWait);
  ASSERT_NE(wizard, nullptr);
  EXPECT_FALSE(DriverVisible(language));
  HWND next = DriverFindControl(wizard, 1), back = DriverFindControl(wizard, 0x3D),
       cancel = DriverFindControl(wizard, 2);
  EXPECT_EQ(DriverText(next), "Weiter >");
  EXPECT_TRUE(DriverVisible(DriverFindControl(wizard, 9)));  // the separator line

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "first way forward" : "second way forward");
    ASSERT_TRUE(WaitPage(wizard, 0));
    EXPECT_FALSE(DriverVisible(back));
    EXPECT_TRUE(DriverEnabled(next));
    ASSERT_TRUE(DriverClick(next));
    // Licence: Next only while the accept option is chosen.
    ASSERT_TRUE(WaitPage(wizard, 1));
    EXPECT_TRUE(DriverVisible(back));
    HWND accept = DriverFindControl(wizard, 0x15), refuse = DriverFindControl(wizard, 0x16);
    if (round == 0) {
      EXPECT_EQ(DriverCheckState(refuse), BST_CHECKED);
      EXPECT_FALSE(DriverEnabled(next));
    }
    ASSERT_TRUE(DriverClick(accept));
    for (int i = 0; i < 50 && !DriverEnabled(next); ++i) Sleep(50);
    EXPECT_TRUE(DriverEnabled(next));
    if (round == 0) {
      // Choosing not to accept takes Next away again.
      ASSERT_TRUE(DriverClick(refuse));
      for (int i = 0; i < 50 && DriverEnabled(next); ++i) Sleep(50);
      EXPECT_FALSE(DriverEnabled(next));
      ASSERT_TRUE(DriverClick(accept));
      for (int i = 0; i < 50 && !DriverEnabled(next); ++i) Sleep(50);
    }
    ASSERT_TRUE(DriverClick(next));
    // Application folder: the product folder; an empty field stops Next.
    ASSERT_TRUE(WaitPage(wizard, 2));
    HWND folder = DriverFindControl(wizard, 0x1E);
    std::string path = DriverText(folder);
    EXPECT_NE(path.find("\\Acme\\Demo"), std::string::npos) << path;
    EXPECT_EQ(ShownIcons(DriverFindControl(wizard, 0x1B)), 1);  // the folder icon
    std::string free = DriverText(DriverFindControl(wizard, 0x21));
    EXPECT_TRUE(free.rfind("Freier Speicherplatz: ", 0) == 0 &&
                (free.substr(free.size() - 3) == " GB" || free.substr(free.size() - 3) == " MB"))
        << free;
    ASSERT_TRUE(DriverSetText(folder, ""));
    for (int i = 0; i < 50 && DriverEnabled(next); ++i) Sleep(50);
    EXPECT_FALSE(DriverEnabled(next));
    ASSERT_TRUE(DriverSetText(folder, path));
    for (int i = 0; i < 50 && !DriverEnabled(next); ++i) Sleep(50);
    ASSERT_TRUE(DriverClick(next));
    // Tasks: both boxes checked and changeable. Clearing the start-menu box skips its page.
    ASSERT_TRUE(WaitPage(wizard, 3));
    HWND desk = DriverFindControl(wizard, 0x34), menu = DriverFindControl(wizard, 0x3E);
    EXPECT_EQ(DriverCheckState(desk), BST_CHECKED);
    EXPECT_TRUE(DriverEnabled(desk));
    EXPECT_TRUE(DriverEnabled(menu));
    if (round == 0) {
      ASSERT_TRUE(DriverClick(menu));
      for (int i = 0; i < 50 && DriverCheckState(menu) != BST_UNCHECKED; ++i) Sleep(50);
      // The box can be cleared and set again. (Cleared, Next would skip the start-menu
      // page and start the installation; the page-order table covers that.)
      ASSERT_TRUE(DriverClick(menu));
      for (int i = 0; i < 50 && DriverCheckState(menu) != BST_CHECKED; ++i) Sleep(50);
    }
    EXPECT_EQ(DriverCheckState(menu), BST_CHECKED);
    ASSERT_TRUE(DriverClick(next));
    // Start-menu folder.
    ASSERT_TRUE(WaitPage(wizard, 4));
    EXPECT_EQ(DriverText(DriverFindControl(wizard, 0x26)), "Acme\\Demo");
    EXPECT_TRUE(DriverEnabled(next));
    if (round == 1) break;
    // All the way back to welcome, one page at a time.
    for (int page = 3; page >= 0; --page) {
      ASSERT_TRUE(DriverClick(back));
      ASSERT_TRUE(WaitPage(wizard, page)) << page;
    }
  }

  // Cancel asks; Cancel keeps the wizard, OK ends it and removes the work folder.
  ASSERT_TRUE(DriverClick(cancel));
  std::string text;
  EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Setup beenden", IDCANCEL, kWait, &text));
  EXPECT_NE(text.find("Setup wirklich beenden"), std::string::npos) << text;
  EXPECT_TRUE(WaitPage(wizard, 4));
  EXPECT_EQ(CountWorkFolders(temp), 1);
  ASSERT_TRUE(DriverClick(cancel));
  EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Setup beenden", IDOK, kWait, nullptr));
  EXPECT_TRUE(DriverWaitExit(r.p, kWait, nullptr));
  EXPECT_EQ(CountWorkFolders(temp), 0);
}

// Each way to "Setup Error!" (and to the other start-up messages) leaves its own cause in
// the failure log while the user sees the same text as ever; without the variable the
// setup writes no log.
TEST(SetupProgram, FailuresNameTheirCauseInTheFailureLog) {
  std::wstring dir = TestFolder();
  const std::string good = CabinetOf(dir, {{"OS.dat", kOsAll8}, {"Default.zkl", kDefaultZkl}});
  ASSERT_FALSE(good.empty());
  const std::string image = RuntimeImage();
  const struct {
    const char* what;
    std::string file;
    bool tempIsAFile;  // TEMP names a file, where no work folder can be made
    const char* text;  // the message the user sees
    const char* step;
    const char* named;  // a part of the file or folder the cause names
  } cases[] = {
      {"cabinet length 0", image + Int64Bytes(0) + good, false, "Setup Error!", "read the payload", "setup.exe"},
      {"no payload at all", image, false, "Setup Error!", "read the payload", "setup.exe"},
      {"no work folder", SetupBytes(good), true, "Setup Error!", "create the work folder", "\\tempfile\\ZK{"},
      {"cabinet cut short", image + Int64Bytes(good.size() / 2) + good.substr(0, good.size() / 2), false,
       "Setup Error! -f", "extract the payload cabinet", "Setup.cab"},
      {"cabinet with an entry outside the work folder",
       SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}, {"Default.zkl", kDefaultZkl}, {"..\\escape.txt", "x"}})), false,
       "Setup Error! -f", "extract the payload cabinet", "..\\escape.txt"},
      {"no OS.dat", SetupBytes(CabinetOf(dir, {{"Default.zkl", kDefaultZkl}})), false,
       "Your operating system is not supported.", "check the operating system", "OS.dat"},
      {"one language without Default.zkl", SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}})), false, "Setup Error!",
       "read the language file", "Default.zkl\": error 2 ("},
      {"two languages without languages.dat",
       SetupBytes(CabinetOf(dir, {{"OS.dat", kOsAll8}, {"SC.dat", "[Setup]\r\nLanguages = 2\r\n"}})), false,
       "Setup Error!", "find the list of languages", "languages.dat"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::wstring caseDir = dir + L"case" + std::to_wstring(n++) + L"\\";
    CreateFolderPath(caseDir);
    ASSERT_TRUE(PutBytes(caseDir + L"setup.exe", c.file));
    std::wstring temp = caseDir + L"temp\\";
    if (c.tempIsAFile) {
      temp = caseDir + L"tempfile\\";
      ASSERT_TRUE(PutBytes(caseDir + L"tempfile", "not a folder"));
    }
    Running r;
    {
      DebugLogVariable set(caseDir + L"debug.log");
      ASSERT_TRUE(StartSetup(caseDir + L"setup.exe", temp, &r.p));
    }
    std::string text;
    EXPECT_TRUE(DriverAnswerMessageBox(r.p.id, "Error", IDOK, kWait, &text));
    EXPECT_EQ(text, c.text);
    EXPECT_TRUE(DriverWaitExit(r.p, kWait, nullptr));
    std::string log = GetBytes(caseDir + L"debug.log");
    std::string line = "setup.exe[" + std::to_string(r.p.id) + "] " + c.step + ": file \"";
    size_t at = log.find(line);
    ASSERT_NE(at, std::string::npos) << log;
    size_t end = log.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << log;
    EXPECT_NE(log.substr(at, end - at).find(c.named), std::string::npos) << log;
    // One failure, one line.
    EXPECT_EQ(log.size(), end + 2) << log;
  }
  // The first setup again, without the variable: the same message, and its log stays as
  // the first run left it.
  std::wstring first = dir + L"case0\\";
  std::string before = GetBytes(first + L"debug.log");
  Running again;
  ASSERT_TRUE(StartSetup(first + L"setup.exe", first + L"temp\\", &again.p));
  std::string text;
  EXPECT_TRUE(DriverAnswerMessageBox(again.p.id, "Error", IDOK, kWait, &text));
  EXPECT_EQ(text, "Setup Error!");
  EXPECT_TRUE(DriverWaitExit(again.p, kWait, nullptr));
  EXPECT_EQ(GetBytes(first + L"debug.log"), before);
}

}  // namespace
