// The wizard window: its pages, the buttons that move between them and the event loop
// that runs the program's windows until the setup ends.
#ifndef ZK_SETUPRUNTIME_WIZARD_H
#define ZK_SETUPRUNTIME_WIZARD_H

#include "setupruntime/wizard_nav.h"

// Control numbers used across the wizard's files and by the installation.
constexpr int kNextButton = 1;
constexpr int kCancelButton = 2;
constexpr int kBackButton = 0x3D;
constexpr int kSeparatorLine = 9;
constexpr int kLicenceEditor = 0x14;
constexpr int kAcceptOption = 0x15;
constexpr int kDoNotAcceptOption = 0x16;
constexpr int kInstallFolderField = 0x1E;
constexpr int kInstallFolderBrowse = 0x1F;
constexpr int kTotalSizeText = 0x20;
constexpr int kFreeSpaceText = 0x21;
constexpr int kStartMenuField = 0x26;
constexpr int kStartMenuBrowse = 0x27;
constexpr int kDesktopCheckBox = 0x34;
constexpr int kStartMenuCheckBox = 0x3E;
constexpr int kStatusText = 0x37;
constexpr int kProgressBar = 0x3C;
constexpr int kFinishCheckBox = 0x45;

// The container of each page, in page order.
constexpr int kPageContainers[kPageCount] = {3, 0xA, 0x1B, 0x2D, 0x2B, 0x35, 0x40};

// Builds window 0 with every page (only welcome shown) and shows it.
void CreateWizardWindow();
// Hides every page and shows page, with the buttons that page has.
void ShowWizardPage(int page);
// The settings and check box the page order depends on, as they are now.
NavState CurrentNavState();
// Runs the program's windows until the setup ends.
[[noreturn]] void RunWizardLoop();

#endif
