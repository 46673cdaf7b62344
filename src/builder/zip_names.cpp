#include "builder/zip_names.h"

#include <windows.h>

#include "common/text.h"

ZipNameBytes EncodeZipEntryName(const std::wstring& name, unsigned oemCodePage) {
  ZipNameBytes out;
  if (name.empty()) return out;
  int length = static_cast<int>(name.size());
  int n = WideCharToMultiByte(oemCodePage, WC_NO_BEST_FIT_CHARS, name.data(), length, nullptr, 0, nullptr, nullptr);
  if (n > 0) {
    std::string oem(static_cast<size_t>(n), '\0');
    BOOL lossy = FALSE;
    if (WideCharToMultiByte(oemCodePage, WC_NO_BEST_FIT_CHARS, name.data(), length, &oem[0], n, nullptr, &lossy) == n &&
        !lossy) {
      // A character with no counterpart may still slip through without the default
      // character (an unpaired surrogate, say): only a name that comes back whole is kept.
      if (ToWide(oem, oemCodePage) == name) {
        out.bytes = oem;
        return out;
      }
    }
  }
  out.bytes = WideToUtf8(name);
  out.utf8 = true;
  return out;
}

std::wstring DecodeZipEntryName(const std::string& bytes, uint32_t flag, unsigned oemCodePage) {
  return ToWide(bytes, (flag & kZipUtf8NameFlag) != 0 ? CP_UTF8 : oemCodePage);
}
