#include "updateclient/wininet_library.h"

#include "common/system_libraries.h"

namespace {

template <typename F>
bool Find(HMODULE library, const char* name, F* function) {
  *function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return *function != nullptr;
}

bool Load(WinInet* w) {
  // Kept for the life of the process, as an import would be.
  HMODULE library = LoadSystemLibrary(L"wininet.dll");
  return library && Find(library, "InternetOpenA", &w->InternetOpenA) &&
         Find(library, "InternetConnectA", &w->InternetConnectA) &&
         Find(library, "InternetCrackUrlA", &w->InternetCrackUrlA) &&
         Find(library, "InternetSetOptionA", &w->InternetSetOptionA) &&
         Find(library, "InternetCloseHandle", &w->InternetCloseHandle) &&
         Find(library, "InternetReadFile", &w->InternetReadFile) &&
         Find(library, "InternetQueryDataAvailable", &w->InternetQueryDataAvailable) &&
         Find(library, "HttpOpenRequestA", &w->HttpOpenRequestA) &&
         Find(library, "HttpSendRequestA", &w->HttpSendRequestA) && Find(library, "HttpQueryInfoA", &w->HttpQueryInfoA);
}

}  // namespace

const WinInet* LoadWinInet() {
  // Initialised once, even when the search and download threads ask at the same time.
  static WinInet functions{};
  static const bool loaded = Load(&functions);
  return loaded ? &functions : nullptr;
}
