#include "common/guid_text.h"

#include <windows.h>
#include <objbase.h>

std::wstring NewGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return std::wstring();
  wchar_t text[64];
  int n = StringFromGUID2(guid, text, 64);
  return n > 1 ? std::wstring(text, static_cast<size_t>(n - 1)) : std::wstring();
}

std::string NewGuidTextAnsi() {
  std::string text;
  for (wchar_t c : NewGuidText()) text += static_cast<char>(c);
  return text;
}
