// Files for the builder's tests: the output folder that the Linux-side check reads, and
// small helpers to make and read files.
#ifndef ZK_TESTS_BUILDER_TEST_FILES_H
#define ZK_TESTS_BUILDER_TEST_FILES_H

#include <windows.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "support/file_bytes.h"
#include "support/folders.h"

// $ZK_ARCHIVE_OUT, a Linux path that Wine shows on drive Z:, or a folder beside the test
// program when it runs by hand. Ends in "\".
inline std::string OutDir() {
  static std::string dir;
  if (dir.empty()) {
    const char* env = getenv("ZK_ARCHIVE_OUT");
    std::string path = env != nullptr && *env != '\0' ? env : "builder_archives";
    if (path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    CreateDirectoryA(path.c_str(), nullptr);
    dir = path + "\\";
  }
  return dir;
}

inline std::string OutPath(const std::string& name) { return OutDir() + name; }

// Creates every folder of path.
inline void MakeFolders(const std::string& path) {
  for (size_t i = path.find('\\'); i != std::string::npos; i = path.find('\\', i + 1)) {
    CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
}

// Deterministic data that is part text (compresses well) and part noise (does not), in
// turns of 4 KB, like the program files a setup carries.
inline std::string MixedData(size_t size, uint32_t seed) {
  std::string data;
  data.reserve(size);
  uint32_t x = seed * 2654435761u + 1;
  while (data.size() < size) {
    if ((data.size() / 4096) % 2 == 0) {
      char line[64];
      snprintf(line, sizeof line, "line %u of the installer's program files\r\n", static_cast<unsigned>(data.size()));
      data += line;
    } else {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      data += static_cast<char>(x & 0xFF);
    }
  }
  data.resize(size);
  return data;
}

#endif
