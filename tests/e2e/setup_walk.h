// Runs a built setup the way a person would: started with a TEMP of its own, a language
// picked in the language window, Next through the wizard's pages (accepting the licence on
// the way) until the installation has run and the finish page is up. Shared by the
// end-to-end test and the install benchmark.
#ifndef ZK_TESTS_E2E_SETUP_WALK_H
#define ZK_TESTS_E2E_SETUP_WALK_H

#include <windows.h>

#include <string>
#include <vector>

#include "driver/driver.h"

// Wizard controls a person works with.
namespace wiz {
constexpr int kNext = 1;
constexpr int kCancel = 2;
constexpr int kBack = 0x3D;
constexpr int kLanguageList = 0x46;
constexpr int kLanguageOk = 0x48;
constexpr int kLanguageCancel = 0x4A;
constexpr int kAccept = 0x15;
constexpr int kInstallFolder = 0x1E;
constexpr int kStartMenuFolder = 0x26;
constexpr int kDesktopBox = 0x34;
constexpr int kStartMenuBox = 0x3E;
constexpr int kFinishBox = 0x45;
// Page containers, in wizard order.
constexpr int kWelcome = 3;
constexpr int kLicence = 0xA;
constexpr int kAppFolder = 0x1B;
constexpr int kTasks = 0x2D;
constexpr int kStartMenuPage = 0x2B;
constexpr int kInstalling = 0x35;
constexpr int kFinish = 0x40;
}  // namespace wiz

// Starts program with its command line arguments and with TEMP and TMP set to temp (ending
// in "\"); the caller's own stay as they are.
bool StartWithTemp(const std::string& program, const std::string& args, const std::string& temp, DriverProcess* out);

// The system's error code of the last StartWithTemp that failed, for the failure message.
DWORD LastStartError();

// Waits for the language window of process pid, selects the entry named language and
// confirms it. Empty result: done; otherwise what went wrong.
std::string ChooseLanguage(DWORD pid, const std::string& language, DWORD timeoutMs);

// The wizard window of process pid, titled title, once it is shown; nullptr when it did not
// appear in time.
HWND WaitWizard(DWORD pid, const std::string& title, DWORD timeoutMs);

// The page container of the wizard that is shown; 0 when none (or the window is gone).
int ShownPage(HWND wizard);

// What a walk through the wizard should do on the way.
struct WalkOptions {
  std::string installFolder;  // typed into the installation-folder field; empty: keep
};

// From the welcome page, Next until the installing page has been reached, then waits for
// the finish page. pages receives every page shown, in order. Empty result: the finish page
// is up; otherwise what went wrong.
std::string WalkToFinish(HWND wizard, const WalkOptions& options, DWORD installTimeoutMs, std::vector<int>* pages);

#endif
