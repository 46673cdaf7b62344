#include "common/linefile.h"

#include "common/text.h"

namespace {

// The null device reads as an empty file and gives the number a real handle to hold.
const wchar_t kEmptyReader[] = L"NUL";

template <typename S>
bool HoldsLineBreak(const S& text) {
  for (auto c : text)
    if (c == '\r' || c == '\n') return true;
  return false;
}

}  // namespace

int LineFileWriteLine(int number, const std::string& ansiText) {
  if (HoldsLineBreak(ansiText)) return 0;
  return FileWriteLine(number, AnsiToUtf8(ansiText));
}

int LineFileWriteLine(int number, const std::wstring& text) {
  if (HoldsLineBreak(text)) return 0;
  return FileWriteLine(number, WideToUtf8(text));
}

intptr_t LineFileOpen(int number, const std::string& path) {
  if (FileSize(path) == -1) return FileOpenRead(number, std::wstring(kEmptyReader));
  return FileOpenRead(number, path);
}

intptr_t LineFileOpen(int number, const std::wstring& path) {
  if (FileSize(path) == -1) return FileOpenRead(number, std::wstring(kEmptyReader));
  return FileOpenRead(number, path);
}

std::wstring LineFileReadLine(int number) { return Utf8ToWide(FileReadLine(number)); }
