// The builder's ZIP archiver on minizip: makes the program-file archive of a setup, adds
// folder trees and single files with progress reports, and walks an archive's entries.
//
// Paths handed in and reported to the progress procedure are ANSI, as the program's own.
// Below a folder being added the walk and the reads are wide, so files named outside the
// ANSI code page go in under their own names. Entry names are stored in the machine's OEM
// code page with "/" separators, or as UTF-8 with the format's UTF-8 flag when the OEM
// code page cannot hold them (zip_names.h); a folder entry's name ends in "/". Dates are
// the local time of the source's last write, folders included; times before 1980, which
// the format cannot hold, become 1980-01-01 00:00.
//
// The state (the open write and read archives, the compression method, the progress
// procedure) is process-wide and unguarded: one thread at a time uses the archiver.
// AddZipFolder deflates files on worker threads of its own (zip_workers.h) while the
// calling thread writes them; the progress procedure still runs on the calling thread,
// for every chunk in archive order, as if that thread did all the work.
#ifndef ZK_BUILDER_ZIP_ARCHIVER_H
#define ZK_BUILDER_ZIP_ARCHIVER_H

#include <stdint.h>

#include <string>

// Called after every chunk of a file written into an archive with the source path and
// its percent done, and once more at the end of each file with an empty name and 100.
// A non-zero answer stops the operation before its next chunk (cooperative cancel).
typedef int (*ZipProgressProc)(const char* fileName, float percent, intptr_t userValue);

// Compression methods of new entries.
constexpr int kZipStored = 0;
constexpr int kZipDeflated = 8;

// Name modes: how an entry is named from its source path.
constexpr int kZipNameFileOnly = 0;  // the file-name part (also any other value)
constexpr int kZipNameFullPath = 1;  // the whole source path
constexpr int kZipNameRelative = 2;  // the path below the base folder

// Folder modes of AddZipFolder.
constexpr int kZipFolderFiles = 0;        // matching files of the folder itself
constexpr int kZipFolderTree = 1;         // and of all its sub-folders
constexpr int kZipFolderTreeEntries = 2;  // and an entry for every folder, the top one included

// Results of the add operations besides counts and minizip's own negative codes.
// The progress procedure asked to stop; the archive is closed and whole, and when it
// already had entries before the call it is back to exactly those entries.
constexpr int kZipCancelled = -200;

// One entry of the read archive. Sizes are 64-bit so entries past 4 GB report truly.
struct ZipEntryInfo {
  uint32_t versionMadeBy;
  uint32_t versionNeeded;
  uint32_t flag;
  uint32_t compressionMethod;
  uint32_t dosDate;
  uint32_t crc;
  uint64_t compressedSize;
  uint64_t uncompressedSize;
  uint32_t nameLength;
  uint32_t extraLength;
  uint32_t commentLength;
  uint32_t diskNumberStart;
  uint32_t internalAttributes;
  uint32_t externalAttributes;
  uint32_t second;
  uint32_t minute;
  uint32_t hour;
  uint32_t day;
  uint32_t month;    // from 0
  uint32_t year;     // four digits
  std::string name;  // ANSI, "\" separators (UTF-8 names converted, as far as ANSI goes)
};

int InitZipArchiver();
int EndZipArchiver();

// Keeps the old procedure when proc is not callable code (null included).
int SetZipProgressCallback(ZipProgressProc proc);
// Accepts kZipStored and kZipDeflated; other values leave the method unchanged.
int SetZipCompressionMethod(int method);

// Opens file as the write archive with minizip's append mode (0 creates or empties it),
// closing a write archive still open. Answers the handle or nullptr.
void* CreateZipArchive(const std::string& file, int appendMode);
// Closes the write and the read archive. 0, or minizip's negative code when the write
// archive's directory could not be written.
int CloseZipArchive();
int CloseZipArchives(const std::string& comment);

// Adds the files matching the pattern of folderPattern ("C:\Staging\*.*") as the folder
// mode asks. Answers the number of files whose data was written (empty files and folders
// get entries but are not counted); 0 when the archive cannot be opened (it is then not
// changed; an existing file that is no archive counts as such and is never emptied);
// kZipCancelled; or minizip's negative code when writing the archive failed.
int AddZipFolder(const std::string& archive, const std::string& folderPattern, int nameMode, int folderMode);

// Adds one file. 1 when its data was written; 0 for a missing or unreadable source (the
// archive is not touched), an unopenable archive, or an empty file (which still gets its
// entry); kZipCancelled; or minizip's negative code when writing the archive failed.
int AddZipFile(const std::string& archive, const std::string& source, int nameMode);

// Opens file as the read archive, closing a read archive still open. Handle or nullptr.
void* OpenZipArchive(const std::string& file);
// minizip's results (0 = done); -1 when no read archive is open.
int GoToFirstZipEntry();
int GoToNextZipEntry();
int GetZipEntryInfo(ZipEntryInfo* info);

// Number of entries of the archive in file; -1 when it cannot be opened as one.
int64_t CountZipEntries(const std::string& file);

#endif
