// The maker's web pages and how they are opened.
#ifndef ZK_APP_WINDOWS_WEB_LINKS_H
#define ZK_APP_WINDOWS_WEB_LINKS_H

#include <string>

constexpr const char* kMakerWebsite = "https://zendrikolbar.example/";
constexpr const char* kMakerForum = "https://zendrikolbar.example/forum";
constexpr const char* kMakerSupport = "https://zendrikolbar.example/help";
constexpr const char* kMakerDonation = "https://zendrikolbar.example/donate";
constexpr const char* kUpdaterManualAddress = "https://zendrikolbar.example/pellucast/manual/";

// Opens an address with the shell's default handler (the default web browser).
void OpenWebAddress(const std::string& address);

// Tests put their own opener in place so that no browser starts; nullptr puts the
// shell's default handler back.
using WebAddressOpener = void (*)(const std::string& address);
void SetWebAddressOpener(WebAddressOpener opener);

#endif
