// Line files: UTF-8 lines ended by CR LF, a fixed number of lines per record, and raw
// 32-bit little-endian integers where a format says so. No byte-order mark.
//
// A line file is a runtime file (files.h) and uses the same numbers; the inline names
// below only keep the callers' code in one vocabulary.
#ifndef ZK_COMMON_LINEFILE_H
#define ZK_COMMON_LINEFILE_H

#include <stdint.h>

#include <string>

#include "common/files.h"

// Creates the file anew (emptied when present), for writing records.
inline intptr_t LineFileCreate(int number, const std::string& path) { return FileCreate(number, path); }
inline intptr_t LineFileCreate(int number, const std::wstring& path) { return FileCreate(number, path); }

// Writes text as one UTF-8 line with CR LF; an empty text gives CR LF only. Narrow text is
// in the ANSI code page. A text holding CR or LF would split its record into two lines
// and shift every later record, so it is refused: 0, nothing written.
int LineFileWriteLine(int number, const std::string& ansiText);
int LineFileWriteLine(int number, const std::wstring& text);
inline int LineFileWriteInt32(int number, int32_t value) { return FileWriteInt32(number, value); }

// Opens a line file for reading. A missing file opens as a file without records (the
// number names an empty reader), because a line file with no records is left out of the
// setup's cabinet. 0 only when an existing file cannot be opened, or path is a folder.
// Callers that must tell a missing file apart ask FileSize(path) == -1 first.
intptr_t LineFileOpen(int number, const std::string& path);
intptr_t LineFileOpen(int number, const std::wstring& path);

// One line read as UTF-8 (CR, LF or CR LF end it); invalid bytes become U+FFFD.
std::wstring LineFileReadLine(int number);
inline std::string LineFileReadLineUtf8(int number) { return FileReadLine(number); }
inline int LineFileReadInt32(int number, int32_t* value) { return FileReadInt32(number, value); }
inline int LineFileEof(int number) { return FileEof(number); }
inline int LineFileClose(int number) { return FileClose(number); }

#endif
