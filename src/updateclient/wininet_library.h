// WinINet, opened from the system folder by full path when the first request is made.
// The client runs from the product's folder, and a library imported by name would be
// looked for there before the system folder: WinINet is not one of the libraries Windows
// always takes from the system folder, so a copy planted beside the client would run.
#ifndef ZK_UPDATECLIENT_WININET_LIBRARY_H
#define ZK_UPDATECLIENT_WININET_LIBRARY_H

#include <windows.h>
#include <wininet.h>

struct WinInet {
  decltype(&::InternetOpenA) InternetOpenA;
  decltype(&::InternetConnectA) InternetConnectA;
  decltype(&::InternetCrackUrlA) InternetCrackUrlA;
  decltype(&::InternetSetOptionA) InternetSetOptionA;
  decltype(&::InternetCloseHandle) InternetCloseHandle;
  decltype(&::InternetReadFile) InternetReadFile;
  decltype(&::InternetQueryDataAvailable) InternetQueryDataAvailable;
  decltype(&::HttpOpenRequestA) HttpOpenRequestA;
  decltype(&::HttpSendRequestA) HttpSendRequestA;
  decltype(&::HttpQueryInfoA) HttpQueryInfoA;
};

// The functions, or nullptr when the library or one of them is missing (every request
// then fails as without a network).
const WinInet* LoadWinInet();

#endif
