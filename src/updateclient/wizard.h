// The client's window: three pages (search, download, finish) above Next and Cancel.
#ifndef ZK_UPDATECLIENT_WIZARD_H
#define ZK_UPDATECLIENT_WIZARD_H

#include "updateclient/client_state.h"

// Window and control numbers; the buttons keep these IDs for whoever drives the window.
constexpr int kClientWindow = 0;
constexpr int kNextButton = 4;
constexpr int kCancelButton = 5;
constexpr int kSearchPage = 10;
constexpr int kDownloadPage = 11;
constexpr int kFinishPage = 12;
// Search page: the three step rows, their status pictures, the busy indicator, the result.
constexpr int kStepRow1 = 20;      // rows 20, 21, 22
constexpr int kStepPicture1 = 23;  // pictures 23, 24, 25
constexpr int kBusyIndicator = 26;
constexpr int kResultLine = 27;
constexpr int kSearchIntro = 28;
// Download page.
constexpr int kDownloadIntro = 30;
constexpr int kFileLine = 31;
constexpr int kFileBytes = 32;
constexpr int kFileBar = 33;
constexpr int kTotalLine = 34;
constexpr int kTotalBytes = 35;
constexpr int kTotalBar = 36;
constexpr int kSpeedLine = 37;
// Finish page.
constexpr int kFinishText = 40;

// Builds and shows the window for `state`'s settings and texts, starts the search thread
// and runs the window's events until the user finishes; then FinishUpdate's work is done
// and the program's exit code returned.
int RunWizard(ClientState& state);

#endif
