#include "setupruntime/zip_reader.h"

#include <windows.h>

#include <minizip/unzip.h>

#include <string.h>

#include <vector>

#include "common/path_split.h"
#include "common/scoped.h"
#include "common/text.h"
#include "setupruntime/work_folder.h"

struct ZipReader {
  std::wstring file;
  ZipWindow window;
  // minizip calls these for as long as uf is open; they point at window above.
  zlib_filefunc64_def funcs{};
  unzFile uf = nullptr;
  // The end record held 0xFFFF: either exactly that many entries or more than a 16-bit
  // count can hold, so the directory's end is found by reading it.
  bool countUnsure = false;
  int walk = kZipEnd;  // the last walk step's result
  // Names are at most 65535 bytes long, so the whole name always fits; kept with the
  // reader rather than made anew for every entry.
  std::vector<char> name = std::vector<char>(65536);
};

namespace {

// Entries are copied through one buffer of this size.
constexpr unsigned kChunkSize = 102400;

// The attributes an entry may give its file; anything else in the field (folder flags,
// the mode bits of archives made on other systems) is not ours to set.
constexpr DWORD kEntryAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// A component made of dots and blanks only, with two dots or more: the system drops
// trailing dots and blanks, so ".. " and "..." may reach the parent folder as ".." does.
bool IsParentComponent(const std::wstring& name, size_t start, size_t end) {
  int dots = 0;
  for (size_t i = start; i < end; ++i) {
    if (name[i] == L'.') {
      ++dots;
    } else if (name[i] != L' ') {
      return false;
    }
  }
  return dots >= 2;
}

// The entry's DOS date is local time; the file system keeps UTC.
bool DosDateToFileTime(uLong dosDate, FILETIME* out) {
  FILETIME localTime{};
  SYSTEMTIME local{}, utc{};
  return DosDateTimeToFileTime(HIWORD(dosDate), LOWORD(dosDate), &localTime) &&
         FileTimeToSystemTime(&localTime, &local) && TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) &&
         SystemTimeToFileTime(&utc, out);
}

// Streams the open entry into h; kExtractOk when exactly the entry's size arrived with a
// matching CRC.
int CopyEntryData(unzFile uf, HANDLE h, uint64_t expected) {
  std::vector<char> buffer(kChunkSize);
  uint64_t total = 0;
  for (;;) {
    int got = unzReadCurrentFile(uf, buffer.data(), kChunkSize);
    if (got < 0) return kExtractDamaged;
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
    // More data than the directory promised: never let an entry grow without bound.
    if (total > expected) return kExtractDamaged;
    DWORD put = 0;
    if (!WriteFile(h, buffer.data(), static_cast<DWORD>(got), &put, nullptr) || put != static_cast<DWORD>(got)) {
      return kExtractCannotWrite;
    }
  }
  // minizip checks the CRC only when the whole size was read, so a stream that ends
  // early must be caught here.
  return total == expected ? kExtractOk : kExtractDamaged;
}

int ExtractFile(unzFile uf, const unz_file_info64& info, const std::wstring& target) {
  std::wstring folder = PathFolder(target);
  if (!folder.empty() && !CreateFolderPath(folder)) return kExtractCannotWrite;
  // A read-only, hidden or system file left by an earlier installation would refuse to be
  // written over; the entry's own attributes are set again afterwards.
  DWORD old = GetFileAttributesW(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES) {
    if (old & FILE_ATTRIBUTE_DIRECTORY) return kExtractCannotWrite;
    if (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
      SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  if (unzOpenCurrentFile(uf) != UNZ_OK) {
    if (old != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), old);
    return kExtractDamaged;
  }
  ScopedHandle h(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    unzCloseCurrentFile(uf);
    if (old != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), old);
    return kExtractCannotWrite;
  }
  int result = CopyEntryData(uf, h.get(), info.uncompressed_size);
  int closed = unzCloseCurrentFile(uf);
  if (result == kExtractOk && closed != UNZ_OK) result = kExtractDamaged;
  FILETIME written{};
  if (result == kExtractOk && DosDateToFileTime(info.dosDate, &written))
    SetFileTime(h.get(), nullptr, nullptr, &written);
  // Closed before a failed file is deleted.
  h.reset();
  if (result != kExtractOk) {
    DeleteFileW(target.c_str());
    return result;
  }
  DWORD attributes = static_cast<DWORD>(info.external_fa) & kEntryAttributes;
  if (attributes != 0) SetFileAttributesW(target.c_str(), attributes);
  return kExtractOk;
}

}  // namespace

namespace {

// An archive without entries is its end record alone, at offset 0 of the window; minizip
// takes an end record found at 0 for none found.
bool IsEmptyArchive(const std::wstring& file, const ZipWindow& window) {
  unsigned char record[22];
  return ReadZipWindowBytes(file, window, 0, record, sizeof record) && memcmp(record, "PK\x05\x06", 4) == 0 &&
         record[8] == 0 && record[9] == 0 && record[10] == 0 && record[11] == 0;
}

}  // namespace

ZipReader* OpenZipReader(const std::wstring& file, const ZipWindow& window) {
  ZipReader* reader = new ZipReader;
  reader->file = file;
  reader->window = window;
  FillZipWindowFuncs(&reader->funcs, &reader->window);
  reader->uf = unzOpen2_64(reader->file.c_str(), &reader->funcs);
  // Without minizip's handle every walk ends at once and no entry is ever current.
  if (reader->uf == nullptr && IsEmptyArchive(file, window)) return reader;
  unz_global_info64 global{};
  if (reader->uf == nullptr || unzGetGlobalInfo64(reader->uf, &global) != UNZ_OK) {
    CloseZipReader(reader);
    return nullptr;
  }
  reader->countUnsure = global.number_entry == 0xFFFF;
  return reader;
}

void CloseZipReader(ZipReader* reader) {
  if (reader == nullptr) return;
  if (reader->uf != nullptr) unzClose(reader->uf);
  delete reader;
}

namespace {

// With a count of 0xFFFF minizip reads on past the last entry and fails there, as it
// would on a damaged directory. Where the record after the current entry's would start;
// the directory has truly ended when one of the records that close it is found there.
bool NextRecordPlace(ZipReader* reader, uint64_t* next) {
  unz_file_info64 info{};
  unz64_file_pos pos{};
  if (unzGetCurrentFileInfo64(reader->uf, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
      unzGetFilePos64(reader->uf, &pos) != UNZ_OK) {
    return false;
  }
  *next = pos.pos_in_zip_directory + 46 + info.size_filename + info.size_file_extra + info.size_file_comment;
  return true;
}

bool DirectoryEndsAt(ZipReader* reader, uint64_t place) {
  char signature[4];
  if (!ReadZipWindowBytes(reader->file, reader->window, place, signature, 4)) return false;
  return memcmp(signature, "PK\x06\x06", 4) == 0 || memcmp(signature, "PK\x05\x06", 4) == 0 ||
         memcmp(signature, "PK\x05\x05", 4) == 0;
}

}  // namespace

int64_t ZipEntryCount(ZipReader* reader) {
  int64_t count = 0;
  int at = ZipFirstEntry(reader);
  for (; at == 0; at = ZipNextEntry(reader)) ++count;
  return at == kZipEnd ? count : -1;
}

int ZipFirstEntry(ZipReader* reader) {
  if (reader == nullptr) return kZipDamaged;
  if (reader->uf == nullptr) return reader->walk = kZipEnd;
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(reader->uf, &global) != UNZ_OK) return reader->walk = kZipDamaged;
  // minizip would take the end record for a first entry.
  if (global.number_entry == 0) return reader->walk = kZipEnd;
  return reader->walk = unzGoToFirstFile(reader->uf) == UNZ_OK ? 0 : kZipDamaged;
}

int ZipNextEntry(ZipReader* reader) {
  if (reader == nullptr) return kZipDamaged;
  // Past the end or a failure nothing is current, and minizip would answer "end".
  if (reader->walk != 0) return reader->walk;
  uint64_t next = 0;
  if (reader->countUnsure && !NextRecordPlace(reader, &next)) return reader->walk = kZipDamaged;
  int result = unzGoToNextFile(reader->uf);
  if (result == UNZ_OK) return reader->walk = 0;
  if (result == UNZ_END_OF_LIST_OF_FILE) return reader->walk = kZipEnd;
  return reader->walk = reader->countUnsure && DirectoryEndsAt(reader, next) ? kZipEnd : kZipDamaged;
}

namespace {

int CurrentEntry(ZipReader* reader, unz_file_info64* info, std::wstring* name) {
  if (reader == nullptr) return UNZ_PARAMERROR;
  std::vector<char>& raw = reader->name;
  int result =
      unzGetCurrentFileInfo64(reader->uf, info, raw.data(), static_cast<uLong>(raw.size()), nullptr, 0, nullptr, 0);
  if (result != UNZ_OK) return result;
  // Bit 11: the name is UTF-8 (a name the OEM code page could not hold).
  UINT codePage = (info->flag & (1u << 11)) != 0 ? CP_UTF8 : CP_OEMCP;
  *name = ToWide(std::string(raw.data(), info->size_filename), codePage);
  for (wchar_t& c : *name) {
    if (c == L'/') c = L'\\';
  }
  return UNZ_OK;
}

}  // namespace

std::wstring ZipEntryName(ZipReader* reader) {
  unz_file_info64 info{};
  std::wstring name;
  return CurrentEntry(reader, &info, &name) == UNZ_OK ? name : std::wstring();
}

int ZipCurrentPlace(ZipReader* reader, ZipEntryPlace* place) {
  unz64_file_pos pos{};
  if (reader == nullptr || unzGetFilePos64(reader->uf, &pos) != UNZ_OK) return -1;
  place->directoryOffset = pos.pos_in_zip_directory;
  place->number = pos.num_of_file;
  return 0;
}

int ZipGoToPlace(ZipReader* reader, const ZipEntryPlace& place) {
  unz64_file_pos pos{place.directoryOffset, place.number};
  return reader == nullptr || unzGoToFilePos64(reader->uf, &pos) != UNZ_OK ? -1 : 0;
}

int IsSafeEntryName(const std::wstring& name) {
  if (name.empty()) return 1;
  if (name[0] == L'\\' || name[0] == L'/' || name.find(L':') != std::wstring::npos) return 0;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = name.size();
    if (IsParentComponent(name, start, end)) return 0;
    start = end + 1;
  }
  return 1;
}

int ExtractZipEntry(ZipReader* reader, const std::wstring& destination) {
  unz_file_info64 info{};
  std::wstring name;
  if (CurrentEntry(reader, &info, &name) != UNZ_OK) return kExtractDamaged;
  if (!IsSafeEntryName(name)) return kExtractUnsafeName;
  std::wstring target = destination + name;
  if (name.empty() || name.back() == L'\\') return CreateFolderPath(target) ? kExtractOk : kExtractCannotWrite;
  return ExtractFile(reader->uf, info, target);
}
