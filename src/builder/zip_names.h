// How the archiver spells an entry's name in the archive. The format's names are bytes in
// the OEM code page unless the entry's general-purpose flag carries the UTF-8 bit; readers
// that predate that bit (and archives made before it was used here) know only OEM names.
#ifndef ZK_BUILDER_ZIP_NAMES_H
#define ZK_BUILDER_ZIP_NAMES_H

#include <stdint.h>

#include <string>

// General-purpose flag bit: the entry's name (and comment) are UTF-8.
constexpr uint32_t kZipUtf8NameFlag = 0x800;

struct ZipNameBytes {
  std::string bytes;
  bool utf8 = false;  // the entry needs kZipUtf8NameFlag
};

// A name (already with "/" separators) in code page oemCodePage when every character has
// an exact counterpart there, so archives of such names stay byte for byte as they were;
// otherwise UTF-8, which holds every name. A near look-alike ("best fit") would install
// the file under another name, so it never counts as a counterpart.
ZipNameBytes EncodeZipEntryName(const std::wstring& name, unsigned oemCodePage);

// The stored name as UTF-16: UTF-8 when the entry carries the flag, else oemCodePage.
std::wstring DecodeZipEntryName(const std::string& bytes, uint32_t flag, unsigned oemCodePage);

#endif
