// Which wizard page comes next or before, and when Next may be pressed: the pages a
// setup does not use are stepped over in both directions.
#ifndef ZK_SETUPRUNTIME_WIZARD_NAV_H
#define ZK_SETUPRUNTIME_WIZARD_NAV_H

#include <string>

enum WizardPage {
  kPageWelcome = 0,
  kPageLicence = 1,
  kPageAppFolder = 2,
  kPageTasks = 3,
  kPageStartMenu = 4,
  kPageInstalling = 5,
  kPageFinish = 6,
};
constexpr int kPageCount = 7;

// What the navigation depends on.
struct NavState {
  int licence = 0;                  // "Licence"
  int changeApplicationFolder = 0;  // "ChangeApplicationFolder"
  int allowDesktopIcons = 0;        // "Allow_Desktopicons"
  int allowStartMenuFolder = 0;     // "Allow_StartMenuFolder"
  int changeStartMenuFolder = 0;    // "ChangeStartMenuFolder"
  int startMenuChecked = 0;         // the start-menu check box of the tasks page
};

// The page Next leads to from page (welcome to start-menu folder); other pages stay.
int NextPage(const NavState& s, int page);
// The page Back leads to from page (licence to start-menu folder); other pages stay.
int PreviousPage(const NavState& s, int page);

// Whether Next may be pressed. acceptChosen: the licence's accept option is selected;
// folderField: the text of the folder field the page shows (installation folder or
// start-menu folder). A folder page never lets the user go on with a blank field.
bool NextEnabled(const NavState& s, int page, bool acceptChosen, const std::wstring& folderField);

#endif
