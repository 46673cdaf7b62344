#include "uninstaller/website.h"

#include <windows.h>
#include <shellapi.h>

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  return text.size() > n && CompareStringOrdinal(text.c_str(), static_cast<int>(n), prefix, static_cast<int>(n), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring WebsiteAddress(const std::wstring& line) {
  size_t first = line.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return std::wstring();
  std::wstring text = line.substr(first, line.find_last_not_of(L" \t") - first + 1);
  for (wchar_t c : text) {
    if (c <= L' ' || c == L'"') return std::wstring();
  }
  if (StartsWithNoCase(text, L"http://") || StartsWithNoCase(text, L"https://")) return text;
  if (StartsWithNoCase(text, L"www.")) return L"http://" + text;
  return std::wstring();
}

void OpenWebsite(const std::wstring& line) {
  std::wstring address = WebsiteAddress(line);
  if (address.empty()) return;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = address.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
}
