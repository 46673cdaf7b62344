// Rules of the setup's start-up and wizard that depend only on their inputs: the page
// order with its skipped pages, when Next may be pressed, the free-space text, the name
// of the system, the variables' defaults and the code exports of the author's library.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "setupruntime/finish_actions.h"
#include "setupruntime/folder_browse.h"
#include "setupruntime/language_window.h"
#include "setupruntime/os_name.h"
#include "setupruntime/splash.h"
#include "setupruntime/startup_rules.h"
#include "setupruntime/wizard_nav.h"

namespace {

// Settings as a compact text: L licence, A application folder, D desktop check box may
// change, S start-menu check box may change, M start-menu page, c start-menu box checked.
NavState Nav(const std::string& flags) {
  NavState s;
  s.licence = flags.find('L') != std::string::npos;
  s.changeApplicationFolder = flags.find('A') != std::string::npos;
  s.allowDesktopIcons = flags.find('D') != std::string::npos;
  s.allowStartMenuFolder = flags.find('S') != std::string::npos;
  s.changeStartMenuFolder = flags.find('M') != std::string::npos;
  s.startMenuChecked = flags.find('c') != std::string::npos;
  return s;
}

TEST(WizardNav, NextAndBackStepOverThePagesASetupDoesNotUse) {
  const struct {
    const char* settings;
    int page;
    int next;
    int back;
  } cases[] = {
      // Everything shown: one step each way.
      {"LADSMc", kPageWelcome, kPageLicence, kPageWelcome},
      {"LADSMc", kPageLicence, kPageAppFolder, kPageWelcome},
      {"LADSMc", kPageAppFolder, kPageTasks, kPageLicence},
      {"LADSMc", kPageTasks, kPageStartMenu, kPageAppFolder},
      {"LADSMc", kPageStartMenu, kPageInstalling, kPageTasks},
      // Nothing shown: welcome goes straight to installing.
      {"", kPageWelcome, kPageInstalling, kPageWelcome},
      // No application-folder page and no tasks: licence leads to the start-menu page or
      // on to installing, and Back from the start-menu page lands on the licence.
      {"LMc", kPageLicence, kPageStartMenu, kPageWelcome},
      {"LMc", kPageStartMenu, kPageInstalling, kPageLicence},
      {"L", kPageLicence, kPageInstalling, kPageWelcome},
      // ... or on welcome when there is no licence either.
      {"Mc", kPageWelcome, kPageStartMenu, kPageWelcome},
      {"Mc", kPageStartMenu, kPageInstalling, kPageWelcome},
      // The start-menu page is skipped when its check box is cleared.
      {"LADSM", kPageTasks, kPageInstalling, kPageAppFolder},
      {"ADSc", kPageTasks, kPageInstalling, kPageAppFolder},
      // Tasks shown when either check box may change.
      {"D", kPageWelcome, kPageTasks, kPageWelcome},
      {"S", kPageWelcome, kPageTasks, kPageWelcome},
      {"S", kPageTasks, kPageInstalling, kPageWelcome},
      {"A", kPageAppFolder, kPageInstalling, kPageWelcome},
      {"AMc", kPageStartMenu, kPageInstalling, kPageAppFolder},
      // Installing and finish do not move; welcome has no Back.
      {"LADSMc", kPageInstalling, kPageInstalling, kPageInstalling},
      {"LADSMc", kPageFinish, kPageFinish, kPageFinish},
      {"", -1, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.settings) + " page " + std::to_string(c.page));
    EXPECT_EQ(NextPage(Nav(c.settings), c.page), c.next);
    EXPECT_EQ(PreviousPage(Nav(c.settings), c.page), c.back);
  }
}

TEST(WizardNav, NextIsEnabledByPage) {
  const struct {
    const char* settings;
    int page;
    bool accept;
    const wchar_t* field;
    bool enabled;
  } cases[] = {
      {"L", kPageWelcome, false, L"", true},
      {"L", kPageLicence, false, L"", false},
      {"L", kPageLicence, true, L"", true},
      {"", kPageLicence, false, L"", true},
      {"A", kPageAppFolder, false, L"C:\\Program Files\\App", true},
      {"A", kPageAppFolder, false, L"", false},
      {"A", kPageAppFolder, false, L"  \t", false},
      {"Mc", kPageStartMenu, false, L"App", true},
      {"Mc", kPageStartMenu, false, L" ", false},
      {"DS", kPageTasks, false, L"", true},
      {"", kPageInstalling, true, L"x", false},
      {"", kPageFinish, false, L"", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.settings) + " page " + std::to_string(c.page));
    EXPECT_EQ(NextEnabled(Nav(c.settings), c.page, c.accept, c.field), c.enabled);
  }
}

TEST(StartupRules, FreeSpaceText) {
  const struct {
    uint64_t mb;
    const wchar_t* text;
  } cases[] = {
      {0, L"ERROR"},
      {1, L"1 MB"},
      {900, L"900 MB"},
      {1024, L"1024 MB"},
      {1025, L"1 GB"},
      {12 * 1024, L"12 GB"},
      {12 * 1024 + 512, L"12.5 GB"},
      {12 * 1024 + 1000, L"13 GB"},
      {2048 + 102, L"2.1 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFreeSpace(c.mb), c.text) << c.mb;
  EXPECT_EQ(GetFreeSpaceText(L"Q:\\"), L"ERROR");  // no such drive in the test prefix
  EXPECT_EQ(GetFreeSpaceText(L""), L"ERROR");
  std::wstring c = GetFreeSpaceText(L"C:\\Program Files\\App");
  EXPECT_NE(c, L"ERROR");
  EXPECT_TRUE(c.size() > 3 && (c.substr(c.size() - 3) == L" MB" || c.substr(c.size() - 3) == L" GB")) << WideToUtf8(c);
}

TEST(StartupRules, SystemNames) {
  const BYTE ws = VER_NT_WORKSTATION, server = VER_NT_SERVER, dc = VER_NT_DOMAIN_CONTROLLER;
  const struct {
    DWORD major, minor;
    BYTE type;
    const wchar_t* name;
  } cases[] = {
      {5, 0, ws, L"Windows 2000"},
      {5, 1, ws, L"Windows XP"},
      {5, 2, ws, L"Windows XP"},
      {5, 2, server, L"Windows Server 2003"},
      {6, 0, ws, L"Windows Vista"},
      {6, 0, server, L"Windows Server 2008"},
      {6, 1, ws, L"Windows 7"},
      {6, 1, dc, L"Windows Server 2008"},
      {6, 2, ws, L"Windows 8"},
      {6, 3, ws, L"Windows 8"},
      {6, 2, server, L"Windows 8"},
      {6, 4, ws, L""},
      {10, 0, ws, L""},
      {4, 0, ws, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(OsNameFor(c.major, c.minor, c.type), c.name) << c.major << "." << c.minor;
}

VariableRow Var(const wchar_t* name, const wchar_t* def) {
  VariableRow v;
  v.name = name;
  v.defaultValue = def;
  return v;
}

TEST(StartupRules, VariablesTakeTheRegistryOrTheirDefault) {
  std::vector<VariableRow> rows = {Var(L"%a%", L"unused"), Var(L"%b%", L"x-%a%-%b%-%c%"), Var(L"%c%", L"<%c%>"),
                                   Var(L"%d%", L"%b%/%c%")};
  rows[0].subKey = L"present";
  ResolveVariableValues(&rows, [](const VariableRow& row, std::wstring* text) {
    if (row.subKey != L"present") return false;
    *text = L"REG";
    return true;
  });
  EXPECT_EQ(rows[0].value, L"REG");
  // An earlier variable's value comes in; the variable's own name, and a later one, not.
  EXPECT_EQ(rows[1].value, L"x-REG--%c%");
  EXPECT_EQ(rows[2].value, L"<>");
  // Replacements go in list order, so a value brought in by an earlier name is replaced
  // again by a later one.
  EXPECT_EQ(rows[3].value, L"x-REG--<>/<>");
  EXPECT_EQ(TextVariables(rows)[3].name, L"%d%");
}

TEST(StartupRules, SettingsRulesAndResolvedFolders) {
  SetupConfig c;
  c.appName = L"App";
  c.company = L"Acme";
  c.desktopIcon = 0;
  c.allowDesktopIcons = 1;
  c.startMenuFolder = 1;
  c.allowStartMenuFolder = 1;
  c.installDir = L"<programfiles>\\<company>\\%v%";
  c.shortcutFolder = L"<appname>\\%v%";
  VariableRow v = Var(L"%v%", L"");
  v.value = L"Sub";
  ResolveSetupConfig(&c, {v});
  EXPECT_EQ(c.allowDesktopIcons, 0);
  EXPECT_EQ(c.allowStartMenuFolder, 1);
  EXPECT_EQ(c.shortcutFolder, L"App\\Sub");
  EXPECT_EQ(c.installDir, EnvironmentFolder(L"ProgramFiles") + L"Acme\\Sub");
}

TEST(StartupRules, StartMenuFolderIsCutByTheRootLength) {
  EXPECT_EQ(StartMenuPart(L"C:\\Menu\\Programs\\Tools\\", L"C:\\Menu\\Programs\\"), L"Tools\\");
  EXPECT_EQ(StartMenuPart(L"D:\\Elsewhere\\Folder\\", L"C:\\Menu\\"), L"here\\Folder\\");
  EXPECT_EQ(StartMenuPart(L"C:\\", L"C:\\Menu\\"), L"");
}

TEST(StartupRules, SplashDuration) {
  const struct {
    const wchar_t* text;
    unsigned ms;
  } cases[] = {{L"3", 3000}, {L"1.5", 1500}, {L"", 0}, {L"abc", 0}, {L"-2", 0}, {L"1e30", 86400000u}};
  for (const auto& c : cases) EXPECT_EQ(SplashMilliseconds(c.text), c.ms) << WideToUtf8(c.text);
}

TEST(StartupRules, LanguageWindowTextsFollowTheUserLanguage) {
  EXPECT_EQ(LanguageWindowTextsFor(LANG_GERMAN).cancel, L"Abbrechen");
  EXPECT_EQ(LanguageWindowTextsFor(LANG_GERMAN).abortQuestion, L"M\u00f6chten Sie das Setup abbrechen?");
  EXPECT_EQ(LanguageWindowTextsFor(LANG_TURKISH).ok, L"Tamam");
  EXPECT_EQ(LanguageWindowTextsFor(LANG_FRENCH).title, L"Choix de la langue");
  EXPECT_EQ(LanguageWindowTextsFor(LANG_SPANISH).abortQuestion, L"\u00bfDesea cancelar la instalaci\u00f3n?");
  EXPECT_EQ(LanguageWindowTextsFor(LANG_ENGLISH).loadError, L"Could not load the language file!");
  EXPECT_EQ(LanguageWindowTextsFor(LANG_JAPANESE).title, L"Language selection");
}

TEST(FinishActions, OnlyExportsThatLeadToCodeAreCalled) {
  // msvcrt exports functions and data (the stream table "_iob"); kernel32 forwards some
  // of its names to other libraries.
  HMODULE crt = LoadLibraryW(L"msvcrt.dll");
  ASSERT_NE(crt, nullptr);
  std::vector<std::string> code = CodeExports(crt);
  auto has = [&](const char* n) { return std::find(code.begin(), code.end(), n) != code.end(); };
  EXPECT_TRUE(has("printf"));
  EXPECT_TRUE(has("strlen"));
  EXPECT_FALSE(has("_iob"));
  EXPECT_FALSE(has("_environ"));
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  std::vector<std::string> kernelCode = CodeExports(kernel);
  // Every name left out is data or a forwarder: its address is not in an executable part
  // of the module, or it lies in another module.
  size_t skipped = 0;
  const BYTE* base = reinterpret_cast<const BYTE*>(kernel);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  auto dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto e = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  skipped = e->NumberOfNames - kernelCode.size();
  EXPECT_GT(skipped, 0u);
  EXPECT_GT(kernelCode.size(), 100u);
  EXPECT_TRUE(CodeExports(nullptr).empty());
}

}  // namespace
