// Files and folders of whole-program tests.
#ifndef ZK_TESTS_APP_TEST_PATHS_H
#define ZK_TESTS_APP_TEST_PATHS_H

#include <string>
#include <vector>

#include "common/dirlist.h"

// Names of the entries directly in folder, without "." and "..", in the file system's order.
inline std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const DirEntry& e : ListDirectory(folder)) names.push_back(e.name);
  return names;
}

bool IsFile(const std::string& path);
// Deletes folder (ending in "\") and everything below it.
void RemoveTree(const std::string& folder);

#endif
