// An archive that lies inside a bigger file (the setup's program archive sits behind the
// runtime image and the cabinet) read as if it were a file of its own. Offsets stored in
// an archive count from the archive's first byte; the zip64 end locator in particular
// names its record by such an offset, so a reader that saw the whole setup file would
// look for that record in the wrong place.
#ifndef ZK_SETUPRUNTIME_ZIP_WINDOW_H
#define ZK_SETUPRUNTIME_ZIP_WINDOW_H

#include <stdint.h>

#include <string>

// iowin32.h and unzip.h expect ioapi.h to come first.
#include <minizip/ioapi.h>

// Length of a window that runs to the end of its file.
constexpr uint64_t kZipToFileEnd = UINT64_MAX;

// Where an archive lies in its file. The default is the whole file.
struct ZipWindow {
  uint64_t start = 0;
  uint64_t length = kZipToFileEnd;
};

// Fills funcs with read-only file functions (wide file names) that show minizip just the
// window: offset 0 is window.start, the end is the window's end (or the file's, when that
// comes first). A window starting beyond the file opens as no file. window must stay
// valid while funcs are in use.
void FillZipWindowFuncs(zlib_filefunc64_def* funcs, const ZipWindow* window);

// Reads count bytes at offset (counted from the window's start) of the window in file.
// False when they are not all there.
bool ReadZipWindowBytes(const std::wstring& file, const ZipWindow& window, uint64_t offset, void* data, unsigned count);

#endif
