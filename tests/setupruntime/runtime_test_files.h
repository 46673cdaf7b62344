// Folders and files for the setup runtime's tests: each test works in a fresh folder
// beside the test program.
#ifndef ZK_TESTS_SETUPRUNTIME_RUNTIME_TEST_FILES_H
#define ZK_TESTS_SETUPRUNTIME_RUNTIME_TEST_FILES_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "builder/cabinet_writer.h"
#include "common/text.h"
#include "setupruntime/work_folder.h"
#include "support/file_bytes.h"
#include "support/folders.h"

// A fresh, empty folder for the running test, ending with "\".
inline std::wstring TestFolder() { return TestFolder(L"setupruntime_test"); }

// Packs {source file, name in the cabinet} pairs into cabinet; 1 on success.
inline int PackCabinet(const std::wstring& cabinet, const std::wstring& temp,
                       const std::vector<std::pair<std::string, std::string>>& entries) {
  InitCabinetWriter();
  CreateFolderPath(temp);
  CabinetContext* c = CreateCabinet(WideToAnsi(cabinet), WideToAnsi(temp));
  if (c == nullptr) return 0;
  for (const auto& e : entries) AddCabinetFile(c, e.first, e.second);
  return CloseCabinet(c);
}

// Bytes of a little-endian 64-bit number.
inline std::string Int64Bytes(int64_t value) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xFF);
  return bytes;
}

#endif
