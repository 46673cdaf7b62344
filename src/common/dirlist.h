// Directory listings: the entries of one folder (not recursive), without "." and "..".
#ifndef ZK_COMMON_DIRLIST_H
#define ZK_COMMON_DIRLIST_H

#include <stdint.h>

#include <string>
#include <vector>

template <typename S>
struct BasicDirEntry {
  S name;  // file name only, no folder
  bool isFolder = false;
  int64_t size = 0;         // 0 for folders
  uint32_t attributes = 0;  // FILE_ATTRIBUTE_* bits
  uint64_t lastWrite = 0;   // FILETIME value: 100 ns units since 1601-01-01 UTC
};

using DirEntry = BasicDirEntry<std::string>;    // ANSI names
using DirEntryW = BasicDirEntry<std::wstring>;  // UTF-16 names

enum class DirOrder {
  kSystem,  // as the file system returns them (what the programs' own listings show)
  kByName,  // by name, ignoring case
};

// Lists folder (with or without a trailing "\") matching pattern, which uses the
// system's wildcards "*" and "?". A missing or unreadable folder gives an empty list.
std::vector<DirEntry> ListDirectory(const std::string& folder, const std::string& pattern = "*.*",
                                    DirOrder order = DirOrder::kSystem);
std::vector<DirEntryW> ListDirectory(const std::wstring& folder, const std::wstring& pattern = L"*.*",
                                     DirOrder order = DirOrder::kSystem);

#endif
