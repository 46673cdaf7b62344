#include "support/pe_imports.h"

#include <windows.h>

#include <string.h>

#include "support/file_bytes.h"

namespace {

struct Image {
  const std::string& bytes;
  const IMAGE_NT_HEADERS64* headers;

  // File offset of a relative virtual address; 0 when no section holds it.
  size_t Offset(DWORD rva) const {
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
    for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section) {
      const DWORD size = section->Misc.VirtualSize ? section->Misc.VirtualSize : section->SizeOfRawData;
      if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size)
        return rva - section->VirtualAddress + section->PointerToRawData;
    }
    return 0;
  }

  std::string NameAt(DWORD rva) const {
    size_t at = Offset(rva);
    std::string name;
    while (at && at < bytes.size() && bytes[at]) {
      char c = bytes[at++];
      name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return name;
  }

  template <typename Descriptor>
  void Collect(int directory, DWORD Descriptor::*nameField, std::vector<std::string>& names) const {
    const IMAGE_DATA_DIRECTORY& d = headers->OptionalHeader.DataDirectory[directory];
    size_t at = d.VirtualAddress ? Offset(d.VirtualAddress) : 0;
    for (; at && at + sizeof(Descriptor) <= bytes.size(); at += sizeof(Descriptor)) {
      Descriptor descriptor;
      memcpy(&descriptor, bytes.data() + at, sizeof(descriptor));
      if (descriptor.*nameField == 0) break;
      names.push_back(NameAt(descriptor.*nameField));
    }
  }
};

}  // namespace

std::vector<std::string> ImportedLibraries(const std::string& path) {
  std::vector<std::string> names;
  std::string bytes = GetBytes(path);
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return names;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
      static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > bytes.size())
    return names;
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
  if (headers->Signature != IMAGE_NT_SIGNATURE || headers->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    return names;
  Image image{bytes, headers};
  image.Collect(IMAGE_DIRECTORY_ENTRY_IMPORT, &IMAGE_IMPORT_DESCRIPTOR::Name, names);
  image.Collect(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT, &IMAGE_DELAYLOAD_DESCRIPTOR::DllNameRVA, names);
  return names;
}
