#include "common/text.h"

#include <windows.h>

std::wstring ToWide(const std::string& s, unsigned codePage) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

std::string FromWide(const std::wstring& w, unsigned codePage) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring AnsiToWide(const std::string& s) { return ToWide(s, CP_ACP); }
std::string WideToAnsi(const std::wstring& s) { return FromWide(s, CP_ACP); }
std::wstring Utf8ToWide(const std::string& s) { return ToWide(s, CP_UTF8); }
std::string WideToUtf8(const std::wstring& s) { return FromWide(s, CP_UTF8); }
std::string AnsiToUtf8(const std::string& s) { return WideToUtf8(AnsiToWide(s)); }
std::string Utf8ToAnsi(const std::string& s) { return WideToAnsi(Utf8ToWide(s)); }
