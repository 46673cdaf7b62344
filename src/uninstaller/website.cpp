#include "uninstaller/website.h"

#include <windows.h>
#include <shellapi.h>

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
  size_t n = wcslen(prefix);
  return text.size() > n &&
         CompareStringOrdinal(text.c_str(), static_cast<int>(n), prefix, static_cast<int>(n), TRUE) == CSTR_EQUAL;
}

// "name:" before any "/": the text names its own scheme ("mailto:", "file:", or a
// drive "C:").
bool HasScheme(const std::wstring& text) {
  size_t colon = text.find(L':');
  if (colon == std::wstring::npos || colon == 0 || text.find(L'/') < colon) return false;
  for (size_t i = 0; i < colon; ++i) {
    if (!iswalpha(text[i])) return false;
  }
  return true;
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
  // Behind "http://" the text can only be a web address. A backslash is left out: it
  // reads as a path ("\\server\share", "folder\file"), not as a host.
  if (!HasScheme(text) && text.find(L'\\') == std::wstring::npos) return L"http://" + text;
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
