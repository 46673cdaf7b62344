#include "setupruntime/wizard_nav.h"

namespace {

bool TasksSkipped(const NavState& s) { return s.allowDesktopIcons == 0 && s.allowStartMenuFolder == 0; }

bool IsBlank(const std::wstring& text) { return text.find_first_not_of(L" \t\r\n") == std::wstring::npos; }

}  // namespace

int NextPage(const NavState& s, int page) {
  if (page < kPageWelcome || page >= kPageInstalling) return page;
  ++page;
  if (page == kPageLicence && s.licence == 0) ++page;
  if (page == kPageAppFolder && s.changeApplicationFolder == 0) ++page;
  if (page == kPageTasks && TasksSkipped(s)) ++page;
  if (page == kPageStartMenu && (s.changeStartMenuFolder == 0 || s.startMenuChecked == 0)) ++page;
  return page;
}

int PreviousPage(const NavState& s, int page) {
  if (page < kPageLicence || page > kPageStartMenu) return page;
  --page;
  if (page == kPageTasks && TasksSkipped(s)) --page;
  if (page == kPageAppFolder && s.changeApplicationFolder == 0) --page;
  if (page == kPageLicence && s.licence == 0) --page;
  return page;
}

bool NextEnabled(const NavState& s, int page, bool acceptChosen, const std::wstring& folderField) {
  switch (page) {
    case kPageLicence:
      return s.licence != 1 || acceptChosen;
    case kPageAppFolder:
    case kPageStartMenu:
      return !IsBlank(folderField);
    case kPageInstalling:
      return false;
    default:
      return true;
  }
}
