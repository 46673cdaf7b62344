// Whole files as byte strings, for tests that write fixtures and read back results.
// Paths are wide, or narrow in the ANSI code page as the ANSI programs' tests name them.
#ifndef ZK_TESTS_SUPPORT_FILE_BYTES_H
#define ZK_TESTS_SUPPORT_FILE_BYTES_H

#include <windows.h>

#include <string>

// The full path of a folder, relative to the current folder, ending with "\".
std::wstring FullFolder(const std::wstring& relative);

bool PathExists(const std::wstring& path);
bool PathExists(const std::string& path);

// Writes bytes as the whole file (created or emptied first).
bool PutBytes(const std::wstring& path, const std::string& bytes);
bool PutBytes(const std::string& path, const std::string& bytes);

// The whole file; "" when it cannot be read. Read while other programs may still have it
// open for writing, as the programs under test often do.
std::string GetBytes(const std::wstring& path);
std::string GetBytes(const std::string& path);

// A narrow path in the ANSI code page, widened.
std::wstring AnsiPathToWide(const std::string& path);

#endif
