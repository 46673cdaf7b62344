// The wizard's navigation and the event loop of the program's windows.
#include "setupruntime/wizard.h"

#include <windows.h>

#include <string>

#include "common/gui.h"
#include "setupruntime/finish_actions.h"
#include "setupruntime/folder_browse.h"
#include "setupruntime/install_ui.h"
#include "setupruntime/language_window.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/startup_rules.h"

namespace {

void UpdateNextEnabled() {
  if (!IsRuntimeWindow(kWizardWindow)) return;
  int page = Runtime().page;
  std::wstring field;
  if (page == kPageAppFolder) field = GetControlTextW(kInstallFolderField);
  if (page == kPageStartMenu) field = GetControlTextW(kStartMenuField);
  bool enabled = NextEnabled(CurrentNavState(), page, GetControlState(kAcceptOption) == 1, field);
  DisableControl(kNextButton, !enabled);
  if (page == kPageInstalling) DisableControl(kBackButton, true);
}

void AskToEnd() {
  const SetupTexts& t = Runtime().texts;
  if (SetupMessage(t.exitSetupH, t.exitSetup, MB_OKCANCEL | MB_ICONQUESTION) == IDOK) ExitSetup(0);
}

void GoNext() {
  RuntimeState& r = Runtime();
  int page = r.page;
  if (page == kPageFinish) {
    RunFinishActions();
    return;
  }
  int next = NextPage(CurrentNavState(), page);
  if (next == page) return;
  r.page = next;
  ShowWizardPage(next);
  if (next == kPageInstalling) StartInstallThread();
}

void GoBack() {
  RuntimeState& r = Runtime();
  int previous = PreviousPage(CurrentNavState(), r.page);
  if (previous == r.page) return;
  r.page = previous;
  ShowWizardPage(previous);
}

std::wstring ProductFolder(const std::wstring& folder) {
  const SetupConfig& c = Runtime().config;
  return c.company.empty() ? folder + c.appName : folder + c.company + L"\\" + c.appName;
}

void BrowseInstallFolder() {
  const SetupTexts& t = Runtime().texts;
  std::wstring folder = ChooseInstallFolder(t.selAppFolder, EnvironmentFolder(L"ProgramFiles"));
  if (folder.empty()) return;
  SetControlTextW(kInstallFolderField, ProductFolder(folder));
  SetControlTextW(kFreeSpaceText, t.appFolderText4 + L" " + GetFreeSpaceText(folder));
}

void BrowseStartMenuFolder() {
  RuntimeState& r = Runtime();
  std::wstring folder = BrowseForFolder(r.texts.selStartMenuFolder, false, r.startMenuCsidl);
  if (folder.empty()) return;
  SetControlTextW(kStartMenuField, ProductFolder(StartMenuPart(folder, r.startMenuRoot)));
}

void HandleWizardControl(int control) {
  switch (control) {
    case kInstallFolderBrowse:
      BrowseInstallFolder();
      break;
    case kStartMenuBrowse:
      BrowseStartMenuFolder();
      break;
    case kBackButton:
      GoBack();
      break;
    case kNextButton:
      GoNext();
      break;
    case kCancelButton:
      AskToEnd();
      break;
    default:
      break;
  }
}

}  // namespace

NavState CurrentNavState() {
  const SetupConfig& c = Runtime().config;
  NavState s;
  s.licence = c.licence;
  s.changeApplicationFolder = c.changeApplicationFolder;
  s.allowDesktopIcons = c.allowDesktopIcons;
  s.allowStartMenuFolder = c.allowStartMenuFolder;
  s.changeStartMenuFolder = c.changeStartMenuFolder;
  s.startMenuChecked = GetControlState(kStartMenuCheckBox) == 1 ? 1 : 0;
  return s;
}

void ShowWizardPage(int page) {
  for (int i = 0; i < kPageCount; ++i) HideControl(kPageContainers[i], i != page);
  const SetupTexts& t = Runtime().texts;
  HideControl(kBackButton, page == kPageWelcome || page == kPageFinish);
  DisableControl(kBackButton, page == kPageInstalling);
  HideControl(kCancelButton, page == kPageFinish);
  SetControlTextW(kNextButton, page == kPageFinish ? t.finishBtn : t.nextBtn);
  UpdateNextEnabled();
}

void RunWizardLoop() {
  for (;;) {
    UpdateNextEnabled();
    int event = WaitWindowEvent();
    int window = EventWindow();
    if (event == kEventClose) {
      if (window == kWizardWindow) {
        if (Runtime().page == kPageFinish) ExitSetup(0);
        AskToEnd();
      }
      // The language window has no way to be closed but its buttons.
    } else if (event == kEventControl && EventType() == kEventTypeLeftClick) {
      if (window == kLanguageWindow)
        HandleLanguageWindowEvent(EventControl());
      else if (window == kWizardWindow)
        HandleWizardControl(EventControl());
    }
    UpdateNextEnabled();
  }
}
