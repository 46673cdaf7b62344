#include "common/language_file.h"

#include "common/placeholders.h"
#include "common/prefs.h"
#include "common/text.h"

namespace {

template <typename Texts>
struct TextKey {
  const char* group;
  const char* key;
  std::wstring Texts::*field;
};

const TextKey<SetupTexts> kSetupKeys[] = {
    {"Main", "Title", &SetupTexts::mainTitle},
    {"Gadgets", "NextBtn", &SetupTexts::nextBtn},
    {"Gadgets", "BackBtn", &SetupTexts::backBtn},
    {"Gadgets", "CancelBtn", &SetupTexts::cancelBtn},
    {"Gadgets", "FinishBtn", &SetupTexts::finishBtn},
    {"Gadgets", "BrowseBtn", &SetupTexts::browseBtn},
    {"Gadgets", "AcceptOptn", &SetupTexts::acceptOptn},
    {"Gadgets", "DoNotAcceptOptn", &SetupTexts::doNotAcceptOptn},
    {"Gadgets", "CreateDesktopIconCbx", &SetupTexts::createDesktopIconCbx},
    {"Gadgets", "CreateStartMenuFolderCbx", &SetupTexts::createStartMenuFolderCbx},
    {"Gadgets", "LaunchProgramCbx", &SetupTexts::launchProgramCbx},
    {"Gadgets", "RebootCbx", &SetupTexts::rebootCbx},
    {"Gadgets", "DestinationFolderFR3", &SetupTexts::destinationFolderFR3},
    {"Gadgets", "SelAppFolder", &SetupTexts::selAppFolder},
    {"Gadgets", "SelStartMenuFolder", &SetupTexts::selStartMenuFolder},
    {"Messages", "ExitSetupH", &SetupTexts::exitSetupH},
    {"Messages", "ExitSetup", &SetupTexts::exitSetup},
    {"Messages", "CouldNotExtractFileH", &SetupTexts::couldNotExtractFileH},
    {"Messages", "CouldNotExtractFile", &SetupTexts::couldNotExtractFile},
    {"Start", "Title", &SetupTexts::startTitle},
    {"Start", "Text", &SetupTexts::startText},
    {"LicenceAgreement", "HeadT", &SetupTexts::licenceHeadT},
    {"LicenceAgreement", "HeadB", &SetupTexts::licenceHeadB},
    {"LicenceAgreement", "Text1", &SetupTexts::licenceText1},
    {"ApplicationFolder", "HeadT", &SetupTexts::appFolderHeadT},
    {"ApplicationFolder", "HeadB", &SetupTexts::appFolderHeadB},
    {"ApplicationFolder", "Text1", &SetupTexts::appFolderText1},
    {"ApplicationFolder", "Text2", &SetupTexts::appFolderText2},
    {"ApplicationFolder", "Text3", &SetupTexts::appFolderText3},
    {"ApplicationFolder", "Text4", &SetupTexts::appFolderText4},
    {"StartMenuFolder", "HeadT", &SetupTexts::startMenuHeadT},
    {"StartMenuFolder", "HeadB", &SetupTexts::startMenuHeadB},
    {"StartMenuFolder", "Text1", &SetupTexts::startMenuText1},
    {"StartMenuFolder", "Text2", &SetupTexts::startMenuText2},
    {"AdditionalTasks", "HeadT", &SetupTexts::tasksHeadT},
    {"AdditionalTasks", "HeadB", &SetupTexts::tasksHeadB},
    {"AdditionalTasks", "Text1", &SetupTexts::tasksText1},
    {"AdditionalTasks", "Text2", &SetupTexts::tasksText2},
    {"Installing", "HeadT", &SetupTexts::installingHeadT},
    {"Installing", "HeadB", &SetupTexts::installingHeadB},
    {"Installing", "Text1", &SetupTexts::installingText1},
    {"Installing", "Text2", &SetupTexts::installingText2},
    {"Installing", "Text3", &SetupTexts::installingText3},
    {"Finish", "Title", &SetupTexts::finishTitle},
    {"Finish", "Text1", &SetupTexts::finishText1},
};

const TextKey<UninstallTexts> kUninstallKeys[] = {
    {"Uninstall", "BM_T", &UninstallTexts::bmT},
    {"Uninstall", "BM", &UninstallTexts::bm},
    {"Uninstall", "Header", &UninstallTexts::header},
    {"Uninstall", "Header_b", &UninstallTexts::headerB},
    {"Uninstall", "Uninstalling", &UninstallTexts::uninstalling},
    {"Uninstall", "Btn_cancel", &UninstallTexts::btnCancel},
    {"Uninstall", "ExitUninstall_T", &UninstallTexts::exitUninstallT},
    {"Uninstall", "ExitUninstall", &UninstallTexts::exitUninstall},
    {"Uninstall", "Success_T", &UninstallTexts::successT},
    {"Uninstall", "Success", &UninstallTexts::success},
};

// Fills a fresh record, so that nothing of an earlier language survives in keys the new
// file lacks.
template <typename Texts, size_t N>
int ReadKeys(const std::wstring& path, const TextKey<Texts> (&keys)[N], Texts* texts) {
  if (path.empty() || !OpenPreferences(WideToUtf8(path))) {
    ClosePreferences();  // a failed open keeps the name; nothing may be written to it
    return 0;
  }
  Texts read{};
  for (const TextKey<Texts>& k : keys) {
    PreferenceGroup(k.group);
    read.*k.field = Utf8ToWide(ReadPreferenceString(k.key, ""));
  }
  ClosePreferences();
  *texts = read;
  return 1;
}

}  // namespace

int ReadLanguageFile(const std::wstring& path, const std::wstring& appName, const std::wstring& appVersion,
                     SetupTexts* texts) {
  SetupTexts read;
  if (!texts || !ReadKeys(path, kSetupKeys, &read)) return 0;
  for (const TextKey<SetupTexts>& k : kSetupKeys) {
    std::wstring& text = read.*k.field;
    text = ReplaceExact(ReplaceExact(text, L"<appname>", appName), L"<appversion>", appVersion);
  }
  read.languageFile = path;
  *texts = read;
  return 1;
}

int ReadUninstallTexts(const std::wstring& path, const std::wstring& productName, UninstallTexts* texts) {
  UninstallTexts read;
  if (!texts || !ReadKeys(path, kUninstallKeys, &read)) return 0;
  for (const TextKey<UninstallTexts>& k : kUninstallKeys)
    read.*k.field = ReplaceExact(read.*k.field, L"<appname>", productName);
  *texts = read;
  return 1;
}
