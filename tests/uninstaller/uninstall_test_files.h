// Folders, files, logs and registry keys for the uninstaller's tests.
#ifndef ZK_TESTS_UNINSTALLER_UNINSTALL_TEST_FILES_H
#define ZK_TESTS_UNINSTALLER_UNINSTALL_TEST_FILES_H

#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "common/guid_text.h"
#include "common/text.h"
#include "uninstaller/delete_self.h"
#include "uninstaller/uninstall_log.h"
#include "support/file_bytes.h"
#include "support/folders.h"

// A fresh, empty folder for the running test beside the test program, ending with "\".
inline std::wstring TestFolder() { return TestFolder(L"uninstaller_test"); }

// A name no other run uses: tests also touch folders and keys shared with the system.
inline std::wstring UniqueName(const std::wstring& prefix) {
  std::wstring guid = NewGuidText();
  return prefix + guid.substr(1, 8);
}

// The bytes of a log: version, header lines, entry count, then record lines.
inline std::string LogBytes(int32_t version, const std::vector<std::wstring>& header, int32_t count,
                            const std::vector<std::wstring>& lines) {
  std::string b;
  auto int32 = [&b](int32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
  };
  int32(version);
  for (const std::wstring& h : header) b += WideToUtf8(h) + "\r\n";
  int32(count);
  for (const std::wstring& l : lines) b += WideToUtf8(l) + "\r\n";
  return b;
}

// A log of product "Trip Planner" installed in folder.
inline std::string TripLog(const std::wstring& folder, int32_t count, const std::vector<std::wstring>& lines,
                           const std::wstring& website = L"") {
  return LogBytes(7, {L"Trip Planner", L"1.2", website, folder}, count, lines);
}

// The uninstaller's language texts, with titles that tell the boxes apart.
inline std::string TripLanguageFile() {
  return "[Uninstall]\r\n"
         "BM_T = Remove Trip\r\n"
         "BM = Remove <appname> now?\r\n"
         "Header = Uninstall\r\n"
         "Header_b = Please wait while <appname> is removed from your computer.\r\n"
         "Uninstalling = Uninstalling\r\n"
         "Btn_cancel = Cancel\r\n"
         "ExitUninstall_T = Stop removal\r\n"
         "ExitUninstall = Stop it?\r\n"
         "Success_T = Trip removed\r\n"
         "Success = <appname> was removed.\r\n";
}

inline bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

inline bool ValueExists(HKEY root, const std::wstring& key, const std::wstring& name) {
  return RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

inline void PutValue(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data) {
  HKEY h;
  ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
  RegSetValueExW(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
}

// Records as the log reader gives them.
inline UninstallRecord PathRecord(RecordKind kind, const std::wstring& path) {
  UninstallRecord r;
  r.kind = kind;
  r.path = path;
  return r;
}

inline UninstallRecord RegRecord(RecordKind kind, const std::wstring& root, const std::wstring& key,
                                 const std::wstring& value = L"") {
  UninstallRecord r;
  r.kind = kind;
  r.rootName = root;
  r.key = key;
  r.valueName = value;
  return r;
}

#endif
