#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "common/language_file.h"
#include "common/placeholders.h"
#include "common/prefs.h"
#include "common/setup_environment.h"
#include "common/text.h"
#include "support/environment.h"
#include "support/file_bytes.h"
#include "support/processes.h"

namespace {

const std::wstring kDir = L"zk_setup_text_test\\";
const char kBom[] = "\xEF\xBB\xBF";

class SetupTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPreferenceCodePage(CP_UTF8);
    CreateDirectoryW(kDir.c_str(), nullptr);
  }
  void TearDown() override {
    for (const wchar_t* name : {L"bom.zkl", L"plain.zkl", L"partial.zkl", L"uninstall.zkl"})
      DeleteFileW((kDir + name).c_str());
    RemoveDirectoryW(kDir.c_str());
  }
};

// ---- Language files ----------------------------------------------------------------------

const std::string kLanguageBody =
    "; a translator's note\r\n"
    "[main]\r\n"
    "TITLE = Setup - <appname>\r\n"
    "[Gadgets]\r\n"
    "NextBtn =\t Weiter > \t\r\n"
    "BackBtn=< Zur\xC3\xBC"
    "ck\r\n"
    "[Start]\n"
    "Title = Willkommen bei <appname>\n"
    "Text = <appname> <appversion> / <AppName> <programversion>\n"
    "[Finish]\r"
    "Text1 = Fertig: <appname>\r"
    "[Uninstall]\r\n"
    "BM = Entfernen?\r\n";

TEST_F(SetupTextTest, LanguageFileReadsAsUtf8WithOrWithoutByteOrderMark) {
  PutBytes(kDir + L"bom.zkl", kBom + kLanguageBody);
  PutBytes(kDir + L"plain.zkl", kLanguageBody);
  for (const wchar_t* name : {L"bom.zkl", L"plain.zkl"}) {
    SCOPED_TRACE(WideToUtf8(name));
    SetupTexts t;
    ASSERT_EQ(1, ReadLanguageFile(kDir + name, L"Demo Notes", L"1.0", &t));
    EXPECT_EQ(kDir + name, t.languageFile);
    // Group and key names ignore case; values lose blanks and tabs at both ends.
    EXPECT_EQ(L"Setup - Demo Notes", t.mainTitle);
    EXPECT_EQ(L"Weiter >", t.nextBtn);
    EXPECT_EQ(L"< Zur\u00FCck", t.backBtn);
    EXPECT_EQ(L"Willkommen bei Demo Notes", t.startTitle);
    // Only the two exact names are replaced; other placeholders stay as written.
    EXPECT_EQ(L"Demo Notes 1.0 / <AppName> <programversion>", t.startText);
    EXPECT_EQ(L"Fertig: Demo Notes", t.finishText1);
    // Missing keys and missing groups read as empty texts.
    EXPECT_EQ(L"", t.cancelBtn);
    EXPECT_EQ(L"", t.exitSetup);
    EXPECT_EQ(L"", t.finishTitle);
    EXPECT_EQ(L"", t.installingText2);
  }
}

TEST_F(SetupTextTest, ReadingAnotherLanguageLeavesNothingOfTheFirst) {
  PutBytes(kDir + L"bom.zkl", kBom + kLanguageBody);
  PutBytes(kDir + L"partial.zkl", "[Finish]\r\nTitle = Ende\r\n");
  SetupTexts t;
  ASSERT_EQ(1, ReadLanguageFile(kDir + L"bom.zkl", L"A", L"1", &t));
  ASSERT_EQ(1, ReadLanguageFile(kDir + L"partial.zkl", L"A", L"1", &t));
  EXPECT_EQ(L"Ende", t.finishTitle);
  EXPECT_EQ(L"", t.nextBtn);
  EXPECT_EQ(L"", t.startText);
  EXPECT_EQ(kDir + L"partial.zkl", t.languageFile);
}

TEST_F(SetupTextTest, MissingLanguageFileReadsNothing) {
  SetupTexts t;
  t.nextBtn = L"kept";
  EXPECT_EQ(0, ReadLanguageFile(kDir + L"missing.zkl", L"A", L"1", &t));
  EXPECT_EQ(L"kept", t.nextBtn);
  EXPECT_EQ(L"", t.languageFile);
  UninstallTexts u;
  EXPECT_EQ(0, ReadUninstallTexts(kDir + L"missing.zkl", L"A", &u));
  // Nothing is created where the file was missing.
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((kDir + L"missing.zkl").c_str()));
}

TEST_F(SetupTextTest, UninstallTextsComeFromTheirOwnGroup) {
  PutBytes(kDir + L"uninstall.zkl",
           "[Uninstall]\r\nBM_T = Deinstallation\r\nBM = <appname> entfernen?\r\nHeader_b = <appname> wird "
           "entfernt\r\nSuccess = <appname> wurde entfernt. <appversion>\r\n[Finish]\r\nTitle = Ende\r\n");
  UninstallTexts u;
  ASSERT_EQ(1, ReadUninstallTexts(kDir + L"uninstall.zkl", L"Demo Notes", &u));
  EXPECT_EQ(L"Deinstallation", u.bmT);
  EXPECT_EQ(L"Demo Notes entfernen?", u.bm);
  EXPECT_EQ(L"Demo Notes wird entfernt", u.headerB);
  EXPECT_EQ(L"Demo Notes wurde entfernt. <appversion>", u.success);
  EXPECT_EQ(L"", u.btnCancel);
}

// ---- Placeholders -------------------------------------------------------------------------

std::wstring Shell(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !path[0]) return L"";
  std::wstring p = path;
  if (p.back() != L'\\') p += L'\\';
  return p;
}

std::wstring SystemDir() {
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);
  return std::wstring(path) + L"\\";
}

struct PlaceholderCase {
  std::wstring text;
  std::wstring installFolder;
  std::wstring expected;
};

TEST_F(SetupTextTest, PlaceholdersResolve) {
  ScopedEnv language(L"ZK_LANGUAGE", L"Deutsch");
  ScopedEnv user(L"ZK_USERNAME", L"Ann");
  ScopedEnv organisation(L"ZK_ORGANISATION", L"Org");
  ScopedEnv windir(L"WINDIR", L"C:\\windows");
  ScopedEnv temp(L"TEMP", L"C:\\Temp Files\\");
  ScopedEnv programFiles(L"ProgramFiles", L"C:\\Program Files");
  const SetupProduct product = {L"Demo Notes", L"1.0", L"ACME", L"http://example.com/"};

  const PlaceholderCase cases[] = {
      {L"<appname>", L"", L"Demo Notes"},
      {L"<APPNAME> <AppName>", L"", L"Demo Notes Demo Notes"},
      {L"v<programversion>", L"", L"v1.0"},
      {L"<Company>", L"", L"ACME"},
      {L"<website>", L"", L"http://example.com/"},
      {L"<language>|<username>|<organisation>", L"", L"Deutsch|Ann|Org"},
      {L"<system>", L"", SystemDir()},
      {L"<windows>", L"", L"C:\\windows\\"},
      {L"<temp>", L"", L"C:\\Temp Files\\"},  // already ends with a backslash: no second one
      {L"<programfiles>", L"", L"C:\\Program Files\\"},
      // A backslash written after a folder placeholder is the folder's own: one, not two.
      {L"<PROGRAMFILES>\\App", L"", L"C:\\Program Files\\App"},
      {L"<temp>\\a.txt <TEMP>b.txt", L"", L"C:\\Temp Files\\a.txt C:\\Temp Files\\b.txt"},
      {L"<system>\\\\x", L"", SystemDir() + L"\\x"},  // only one is taken
      {L"<windows>\\win.ini", L"", L"C:\\windows\\win.ini"},
      {L"<startup>", L"", Shell(CSIDL_STARTUP)},
      {L"<startuppublic>", L"", Shell(CSIDL_COMMON_STARTUP)},
      {L"<documents>", L"", Shell(CSIDL_PERSONAL)},
      {L"<documentspublic>", L"", Shell(CSIDL_COMMON_DOCUMENTS)},
      {L"<startmenuprograms>", L"", Shell(CSIDL_PROGRAMS)},
      {L"<startmenuprogramspublic>", L"", Shell(CSIDL_COMMON_PROGRAMS)},
      {L"<font>", L"", Shell(CSIDL_FONTS)},
      {L"<desktop>", L"", Shell(CSIDL_DESKTOP)},
      {L"<desktoppublic>", L"", Shell(CSIDL_COMMON_DESKTOPDIRECTORY)},
      {L"<appdata>\\Demo", L"", Shell(CSIDL_APPDATA) + L"Demo"},
      {L"<appdatapublic>", L"", Shell(CSIDL_COMMON_APPDATA)},
      {L"<installpath>\\data", L"C:\\Apps\\Tool\\", L"C:\\Apps\\Tool\\data"},
      {L"<installpath>\\data", L"", L"\\data"},
      // A folder given without its trailing backslash keeps its last letter.
      {L"<InstallPath>", L"C:\\Apps\\Tool", L"C:\\Apps\\Tool"},
      {L"\u00C4<appname>\u00F6 <unknown> <appname", L"", L"\u00C4Demo Notes\u00F6 <unknown> <appname"},
      {L"", L"C:\\x\\", L""},
  };
  for (const PlaceholderCase& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    EXPECT_EQ(c.expected, SubstitutePlaceholders(c.text, c.installFolder, product, {}));
  }
  // The shell folders are real ones here, so the table above compares real paths.
  EXPECT_NE(L"", Shell(CSIDL_APPDATA));
}

TEST_F(SetupTextTest, EmptyFolderGetsNoBackslash) {
  ScopedEnv temp(L"TEMP", nullptr);
  EXPECT_EQ(L"\\x", SubstitutePlaceholders(L"<temp>\\x", L"", {}, {}));
  EXPECT_EQ(L"", GetEnvironmentFolder(L"TEMP"));
}

TEST_F(SetupTextTest, PlaceholdersAreReplacedInTheirOrderAndVariablesAfterThem) {
  ScopedEnv language(L"ZK_LANGUAGE", L"<windows>");
  ScopedEnv windir(L"WINDIR", L"C:\\W <language>");
  ScopedEnv temp(L"TEMP", L"C:\\Temp");
  // A value is searched for the placeholders that come after its own, not for earlier ones.
  EXPECT_EQ(L"<appname>", SubstitutePlaceholders(L"<company>", L"", {L"App", L"", L"<appname>", L""}, {}));
  EXPECT_EQ(L"C:\\Temp\\", SubstitutePlaceholders(L"<appname>", L"", {L"<temp>", L"", L"", L""}, {}));
  EXPECT_EQ(L"C:\\W <language>\\", SubstitutePlaceholders(L"<language>", L"", {}, {}));

  const std::vector<TextVariable> variables = {{L"%HOME%", L"D:\\Home"}, {L"%APP%", L"<appname>"}};
  // Placeholder values are searched for variables ...
  EXPECT_EQ(L"D:\\Home\\x", SubstitutePlaceholders(L"<appname>\\x", L"", {L"%HOME%", L"", L"", L""}, variables));
  // ... but variable values are not searched for placeholders.
  EXPECT_EQ(L"<appname>", SubstitutePlaceholders(L"%APP%", L"", {L"Demo", L"", L"", L""}, variables));
}

TEST_F(SetupTextTest, VariableNamesAreExactAndReplacedInListOrder) {
  ScopedEnv temp(L"TEMP", L"C:\\T");
  const std::vector<TextVariable> variables = {{L"%HOME%", L"D:\\Home"}, {L"A", L"B"}, {L"B", L"C"}, {L"", L"!"}};
  const PlaceholderCase cases[] = {
      {L"%HOME%\\x", L"", L"D:\\Home\\x"},
      {L"%home%\\x", L"", L"%home%\\x"},
      {L"%HOME%%HOME%", L"", L"D:\\HomeD:\\Home"},
      {L"A", L"", L"C"},  // A becomes B, which the later variable turns into C
      {L"<temp>%HOME%", L"", L"C:\\T\\D:\\Home"},
  };
  for (const PlaceholderCase& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.text));
    EXPECT_EQ(c.expected, SubstitutePlaceholders(c.text, c.installFolder, {}, variables));
    EXPECT_EQ(SubstituteVariables(SubstitutePlaceholders(c.text, c.installFolder, {}, {}), variables),
              SubstitutePlaceholders(c.text, c.installFolder, {}, variables));
  }
  EXPECT_EQ(L"B", SubstituteVariables(L"A", {{L"B", L"C"}, {L"A", L"B"}}));
}

// ---- Environment variables ----------------------------------------------------------------

// Runs cmd.exe, which inherits this process's environment, and returns what it wrote.
std::string ChildSees(const std::wstring& command) {
  std::string text;
  if (!RunCaptured("cmd.exe /c " + WideToUtf8(command), 30000, &text))
    return "<not started or not ended: " + text + ">";
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

TEST_F(SetupTextTest, EnvironmentIsSetForTheProcessAndItsChildren) {
  ScopedEnv path(kEnvInstallPath, nullptr);
  ScopedEnv language(kEnvLanguage, L"Old");
  ScopedEnv user(kEnvUserName, L"someone");
  ScopedEnv organisation(kEnvOrganisation, L"somewhere");

  ASSERT_EQ(1, SetSetupEnvironment(L"C:\\Apps\\Tool\\", L"Deutsch"));
  EXPECT_EQ(L"C:\\Apps\\Tool\\", EnvironmentText(L"ZK_INSTALLPATH"));
  EXPECT_EQ(L"Deutsch", EnvironmentText(L"ZK_LANGUAGE"));
  EXPECT_EQ(L"", EnvironmentText(L"ZK_USERNAME"));
  EXPECT_EQ(L"", EnvironmentText(L"ZK_ORGANISATION"));
  EXPECT_EQ(L"Deutsch|||C:\\Apps\\Tool\\data",
            SubstitutePlaceholders(L"<language>|<username>|<organisation>|<installpath>\\data",
                                   EnvironmentText(L"ZK_INSTALLPATH"), {}, {}));
  EXPECT_EQ("C:\\Apps\\Tool\\|Deutsch", ChildSees(L"echo %ZK_INSTALLPATH%^|%ZK_LANGUAGE%"));

  // A single-language setup: the language is empty and so is <language>; a folder without
  // its trailing backslash gets one.
  ASSERT_EQ(1, SetSetupEnvironment(L"D:\\Tool", L""));
  EXPECT_EQ(L"D:\\Tool\\", EnvironmentText(L"ZK_INSTALLPATH"));
  EXPECT_EQ(L"", EnvironmentText(L"ZK_LANGUAGE"));
  EXPECT_EQ(L"[]", SubstitutePlaceholders(L"[<language>]", L"", {}, {}));
  EXPECT_EQ("D:\\Tool\\|", ChildSees(L"echo %ZK_INSTALLPATH%^|%ZK_LANGUAGE%"));
}

// ---- The shipped language files -----------------------------------------------------------

struct ShippedKey {
  const char* group;
  const char* key;
  bool appName;     // the text names the product
  bool appVersion;  // the text names the version
};

// Every group and key a language file holds, and where the product name and version go.
const ShippedKey kShippedKeys[] = {
    {"Main", "Title", true, false},
    {"Gadgets", "NextBtn", false, false},
    {"Gadgets", "BackBtn", false, false},
    {"Gadgets", "CancelBtn", false, false},
    {"Gadgets", "FinishBtn", false, false},
    {"Gadgets", "BrowseBtn", false, false},
    {"Gadgets", "AcceptOptn", false, false},
    {"Gadgets", "DoNotAcceptOptn", false, false},
    {"Gadgets", "CreateDesktopIconCbx", false, false},
    {"Gadgets", "CreateStartMenuFolderCbx", false, false},
    {"Gadgets", "LaunchProgramCbx", false, false},
    {"Gadgets", "RebootCbx", false, false},
    {"Gadgets", "DestinationFolderFR3", false, false},
    {"Gadgets", "SelAppFolder", false, false},
    {"Gadgets", "SelStartMenuFolder", false, false},
    {"Messages", "ExitSetupH", false, false},
    {"Messages", "ExitSetup", false, false},
    {"Messages", "CouldNotExtractFileH", false, false},
    {"Messages", "CouldNotExtractFile", false, false},
    {"Start", "Title", true, false},
    {"Start", "Text", true, true},
    {"LicenceAgreement", "HeadT", false, false},
    {"LicenceAgreement", "HeadB", false, false},
    {"LicenceAgreement", "Text1", false, false},
    {"ApplicationFolder", "HeadT", false, false},
    {"ApplicationFolder", "HeadB", false, false},
    {"ApplicationFolder", "Text1", true, true},
    {"ApplicationFolder", "Text2", false, false},
    {"ApplicationFolder", "Text3", false, false},
    {"ApplicationFolder", "Text4", false, false},
    {"StartMenuFolder", "HeadT", false, false},
    {"StartMenuFolder", "HeadB", false, false},
    {"StartMenuFolder", "Text1", false, false},
    {"StartMenuFolder", "Text2", false, false},
    {"AdditionalTasks", "HeadT", false, false},
    {"AdditionalTasks", "HeadB", false, false},
    {"AdditionalTasks", "Text1", true, true},
    {"AdditionalTasks", "Text2", false, false},
    {"Installing", "HeadT", false, false},
    {"Installing", "HeadB", true, false},
    {"Installing", "Text1", false, false},
    {"Installing", "Text2", false, false},
    {"Installing", "Text3", false, false},
    {"Finish", "Title", true, false},
    {"Finish", "Text1", true, false},
    {"Uninstall", "BM_T", false, false},
    {"Uninstall", "BM", true, false},
    {"Uninstall", "Header", false, false},
    {"Uninstall", "Header_b", true, false},
    {"Uninstall", "Uninstalling", false, false},
    {"Uninstall", "Btn_cancel", false, false},
    {"Uninstall", "ExitUninstall_T", false, false},
    {"Uninstall", "ExitUninstall", false, false},
    {"Uninstall", "Success_T", false, false},
    {"Uninstall", "Success", true, false},
};

// The build puts them beside the programs, where the tests run.
const char* const kShippedFiles[] = {"default.zkl", "Languages\\English.zkl", "Languages\\German.zkl"};

TEST_F(SetupTextTest, ShippedLanguageFilesHoldEveryText) {
  for (const char* file : kShippedFiles) {
    SCOPED_TRACE(file);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file));
    ASSERT_NE(0, OpenPreferences(file));
    for (const ShippedKey& k : kShippedKeys) {
      SCOPED_TRACE(std::string(k.group) + "." + k.key);
      ASSERT_EQ(1, PreferenceGroup(k.group));
      std::wstring text = Utf8ToWide(ReadPreferenceString(k.key, ""));
      EXPECT_NE(L"", text);
      EXPECT_EQ(std::wstring::npos, text.find(L'\uFFFD'));
      // The product name and version go exactly where the setup replaces them.
      EXPECT_EQ(k.appName, text.find(L"<appname>") != std::wstring::npos) << WideToUtf8(text);
      EXPECT_EQ(k.appVersion, text.find(L"<appversion>") != std::wstring::npos) << WideToUtf8(text);
    }
    ClosePreferences();
  }
}

TEST_F(SetupTextTest, ShippedLanguagesReadAsTheSetupShowsThem) {
  SetupTexts english, german;
  ASSERT_EQ(1, ReadLanguageFile(L"Languages\\English.zkl", L"Demo Notes", L"1.0", &english));
  ASSERT_EQ(1, ReadLanguageFile(L"Languages\\German.zkl", L"Demo Notes", L"1.0", &german));
  EXPECT_NE(std::wstring::npos, english.startText.find(L"Demo Notes 1.0"));
  EXPECT_NE(std::wstring::npos, german.startText.find(L"Demo Notes 1.0"));
  EXPECT_EQ(L"< Zur\u00FCck", german.backBtn);
  EXPECT_NE(std::wstring::npos, german.createStartMenuFolderCbx.find(L"Startmen\u00FC"));
  EXPECT_NE(english.nextBtn, german.nextBtn);

  // default.zkl is the English file, for setups that choose no language.
  SetupTexts fallback;
  ASSERT_EQ(1, ReadLanguageFile(L"default.zkl", L"Demo Notes", L"1.0", &fallback));
  EXPECT_EQ(english.startText, fallback.startText);
  EXPECT_EQ(english.finishText1, fallback.finishText1);

  UninstallTexts u;
  ASSERT_EQ(1, ReadUninstallTexts(L"Languages\\German.zkl", L"Demo Notes", &u));
  EXPECT_NE(std::wstring::npos, u.success.find(L"Demo Notes"));
  EXPECT_NE(L"", u.btnCancel);
}

}  // namespace
