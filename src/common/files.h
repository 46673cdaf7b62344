// Runtime files: numbered objects (see objects.h) on Win32 file handles.
//
// Narrow entry points take ANSI paths (the ANSI programs), wide ones UTF-16 paths (the
// Unicode programs). Text read and written here is bytes; encoding is the caller's (or
// linefile.h's) business.
//
// Reading is buffered, so reading a large file line by line is cheap. Writing is not:
// every write reaches the system before it returns, so nothing is lost when a thread is
// killed or the process ends without closing its files.
//
// Every operation takes the table's lock for its duration; files can be used from any
// thread, one operation at a time.
#ifndef ZK_COMMON_FILES_H
#define ZK_COMMON_FILES_H

#include <stddef.h>
#include <stdint.h>

#include <string>

#include "common/objects.h"

// Size of the read buffer. A line may be longer; it is then assembled from several fills.
constexpr size_t kFileReadBufferSize = 64 * 1024;

// Existing file, read only; others may still read and write it.
intptr_t FileOpenRead(int number, const std::string& path);
intptr_t FileOpenRead(int number, const std::wstring& path);
// New or emptied file, read and write.
intptr_t FileCreate(int number, const std::string& path);
intptr_t FileCreate(int number, const std::wstring& path);
// Existing or new file, read and write, positioned at its end.
intptr_t FileOpenAppend(int number, const std::string& path);
intptr_t FileOpenAppend(int number, const std::wstring& path);

int FileClose(int number);
void FileCloseAll();

// One line without its terminator; CR, LF and CR LF each end a line. At the end of the
// file (or for an unknown number) the result is empty: test FileEof first.
std::string FileReadLine(int number);
// 1 when nothing is left to read. Also 1 for a number that names no file, so that a
// read loop over a file that failed to open ends at once instead of running forever.
int FileEof(int number);

// Writes answer 1 when every byte was written.
int FileWriteText(int number, const std::string& text);
int FileWriteLine(int number, const std::string& text);  // text + CR LF
int FileWriteBytes(int number, const void* data, size_t count);
// Raw little-endian integers (four or eight bytes, no terminator).
int FileWriteInt32(int number, int32_t value);
int FileWriteInt64(int number, int64_t value);

// Answers the number of bytes read (less than count at the end of the file).
size_t FileReadBytes(int number, void* data, size_t count);
// 1 and *value set when all bytes of the integer were there; 0 otherwise (*value unchanged).
int FileReadInt32(int number, int32_t* value);
int FileReadInt64(int number, int64_t* value);

int64_t FileLength(int number);
int64_t FilePosition(int number);
int FileSeek(int number, int64_t position);  // from the start of the file

// Size of the file at path: -1 when nothing is there, -2 when it is a folder.
int64_t FileSize(const std::string& path);
int64_t FileSize(const std::wstring& path);

#endif
