// Reading the program archive that ends the setup's own file: the archive is found
// through its end-of-central-directory record, so any data in front of it (the runtime
// image and the cabinet) is accepted. Paths are wide throughout.
//
// Entry names are stored in the OEM code page with "/" separators; they come back wide
// with "\" separators. A name ending in "\" is a folder.
#ifndef ZK_SETUPRUNTIME_ZIP_READER_H
#define ZK_SETUPRUNTIME_ZIP_READER_H

#include <stdint.h>

#include <string>

struct ZipReader;

// Results of ExtractZipEntry.
constexpr int kExtractOk = 0;
constexpr int kExtractUnsafeName = 1;   // the name would leave the destination folder
constexpr int kExtractCannotWrite = 2;  // the target (or its folder) cannot be made or written
constexpr int kExtractDamaged = 3;      // the entry's data is unreadable, short or fails its CRC

// nullptr when file holds no archive.
ZipReader* OpenZipReader(const std::wstring& file);
void CloseZipReader(ZipReader* reader);

// Number of entries; -1 when the archive's directory cannot be read.
int64_t ZipEntryCount(ZipReader* reader);
// 0 when there is an entry to make current, non-zero at the end or on failure.
int ZipFirstEntry(ZipReader* reader);
int ZipNextEntry(ZipReader* reader);
// The current entry's name (OEM code page converted, "\" separators); empty on failure.
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
