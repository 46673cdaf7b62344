// Conversions between the program's ANSI code page, UTF-8 and UTF-16.
#ifndef ZK_COMMON_TEXT_H
#define ZK_COMMON_TEXT_H

#include <string>

std::wstring AnsiToWide(const std::string& s);
std::string WideToAnsi(const std::wstring& s);
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);
std::string AnsiToUtf8(const std::string& s);
std::string Utf8ToAnsi(const std::string& s);

// Code-page conversion through UTF-16; invalid input bytes become U+FFFD (or '?' in ANSI).
std::wstring ToWide(const std::string& s, unsigned codePage);
std::string FromWide(const std::wstring& s, unsigned codePage);

#endif
