// Reading the program archive that ends the setup's own file. The archive is read through
// a window on the file that starts where the archive starts (zip_window.h), so the
// offsets it holds, zip64 records included, point where they were meant to. Paths are
// wide throughout.
//
// Entry names are stored in the OEM code page, or in UTF-8 when the entry's UTF-8 flag
// (general-purpose bit 11) is set, with "/" separators; they come back wide with "\"
// separators. A name ending in "\" is a folder.
#ifndef ZK_SETUPRUNTIME_ZIP_READER_H
#define ZK_SETUPRUNTIME_ZIP_READER_H

#include <stdint.h>

#include <string>

#include "setupruntime/zip_window.h"

struct ZipReader;

// Results of ExtractZipEntry.
constexpr int kExtractOk = 0;
constexpr int kExtractUnsafeName = 1;   // the name would leave the destination folder
constexpr int kExtractCannotWrite = 2;  // the target (or its folder) cannot be made or written
constexpr int kExtractDamaged = 3;      // the entry's data is unreadable, short or fails its CRC

// nullptr when the window of file holds no archive.
ZipReader* OpenZipReader(const std::wstring& file, const ZipWindow& window = ZipWindow());
void CloseZipReader(ZipReader* reader);

// Number of entries, counted by walking the whole directory (the end record's 16-bit
// count stops at 65,535); -1 when the directory cannot be read to its end.
int64_t ZipEntryCount(ZipReader* reader);

// Results of ZipFirstEntry and ZipNextEntry besides 0 (an entry became current).
constexpr int kZipEnd = 1;       // the directory ended where the archive says it ends
constexpr int kZipDamaged = -1;  // the directory could not be read; nothing is current
int ZipFirstEntry(ZipReader* reader);
int ZipNextEntry(ZipReader* reader);
// The current entry's name ("\" separators); empty on failure.
std::wstring ZipEntryName(ZipReader* reader);

// Where an entry's record lies in the archive's directory. Taken from one reader, it lets
// another reader of the same file go straight to that entry without walking to it.
struct ZipEntryPlace {
  uint64_t directoryOffset = 0;
  uint64_t number = 0;
};
// 0 when the current entry's place was stored in *place.
int ZipCurrentPlace(ZipReader* reader, ZipEntryPlace* place);
// 0 when the entry at place became current.
int ZipGoToPlace(ZipReader* reader, const ZipEntryPlace& place);

// 1 when name stays inside the folder it is extracted to: not absolute, no drive, no ":"
// (which would also name an alternate data stream) and no component that the system
// reads as the parent folder. The empty name is the folder itself and is safe.
int IsSafeEntryName(const std::wstring& name);

// Extracts the current entry below destination (ends with "\"). A folder entry creates
// the folder with its parents. A file entry gets its folders first, is streamed in
// chunks, and receives the entry's date and its read-only, hidden, system and archive
// attributes. An existing target is written over even when it is read-only. A file whose
// data turns out damaged is deleted rather than left half written. Unsafe names are
// refused without touching the disk.
int ExtractZipEntry(ZipReader* reader, const std::wstring& destination);

#endif
