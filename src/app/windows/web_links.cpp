#include "app/windows/web_links.h"

#include <windows.h>
#include <shellapi.h>

namespace {

WebAddressOpener Opener = nullptr;

}  // namespace

void OpenWebAddress(const std::string& address) {
  if (Opener) {
    Opener(address);
    return;
  }
  ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetWebAddressOpener(WebAddressOpener opener) { Opener = opener; }
