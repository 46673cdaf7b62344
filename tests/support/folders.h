// Folders of tests: each test's own fresh folder, temporary folders removed whole, and
// listings. Narrow paths are in the ANSI code page.
#ifndef ZK_TESTS_SUPPORT_FOLDERS_H
#define ZK_TESTS_SUPPORT_FOLDERS_H

#include <string>
#include <vector>

// Deletes folder and everything below it: read-only files too, links without following
// them. An empty name does nothing.
void RemoveTree(const std::wstring& folder);
void RemoveTree(const std::string& folder);
// Deletes everything below folder, keeping the folder itself.
void EmptyFolder(const std::wstring& folder);
void EmptyFolder(const std::string& folder);

// The user's temporary folder, ending with "\".
std::string TempPath();

// Names of the entries directly in folder, without "." and "..", in the file system's order.
std::vector<std::string> FolderEntries(const std::string& folder);
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

// A fresh, empty folder "<area>\<suite>_<test>\" beside the test program for the running
// test, as a full path ending with "\". Left in place at the end, to be looked at.
std::wstring TestFolder(const std::wstring& area);

// A fresh folder under the user's temporary folder ("<prefix>-<process>-<n>\"), removed
// with everything in it when the record goes.
struct TempFolder {
  explicit TempFolder(const std::string& prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::vector<std::string> Names() const { return FolderEntries(path); }
  std::vector<std::wstring> WideNames() const { return FolderEntries(widePath); }

  std::string path;       // ends with "\"
  std::wstring widePath;  // the same
};

#endif
