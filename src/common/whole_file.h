// Files read or written whole. Paths are UTF-16, or ANSI in the narrow overloads.
#ifndef ZK_COMMON_WHOLE_FILE_H
#define ZK_COMMON_WHOLE_FILE_H

#include <stdint.h>

#include <functional>
#include <string>

// The file's bytes into *out. False, with *out empty, when the file cannot be opened or
// read or holds more than limit bytes: the bound keeps a damaged or foreign file from
// asking for a runaway allocation. A file that shrinks while it is read gives what it had.
bool ReadWholeFile(const std::wstring& path, uint64_t limit, std::string* out);
bool ReadWholeFile(const std::string& path, uint64_t limit, std::string* out);

// Creates or empties the file and writes bytes to the disk; false when any of it failed.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// Makes a temporary file (name starting with prefix) in path's folder, lets write() fill
// it, and moves it over path only when write() answers true, so that a failed or
// interrupted write never leaves a half-made file where a complete one was. On any failure
// the temporary file goes and whatever was at path stays.
bool WriteReplacing(const std::wstring& path, const wchar_t* prefix,
                    const std::function<bool(const std::wstring& temp)>& write);
bool WriteReplacing(const std::string& path, const char* prefix,
                    const std::function<bool(const std::string& temp)>& write);

#endif
