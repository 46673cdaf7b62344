// The manifest a built program carries, read from its file beside the test program.
#ifndef ZK_TESTS_SUPPORT_PROGRAM_MANIFEST_H
#define ZK_TESTS_SUPPORT_PROGRAM_MANIFEST_H

#include <windows.h>

#include <string>

// The text of the program's manifest resource (type 24, number 1); "" when it has none.
// Read from a copy under another name: Wine loads its own built-in program instead of a
// file whose name matches one (it has an "uninstaller.exe").
inline std::string ProgramManifest(const wchar_t* program) {
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  if (n == 0 || n >= MAX_PATH) return "";
  std::wstring copy = std::wstring(temp) + L"zk-manifest-" + program;
  if (!CopyFileW(program, copy.c_str(), FALSE)) return "";
  std::string text;
  if (HMODULE m = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    HGLOBAL g = r ? LoadResource(m, r) : nullptr;
    if (g) text.assign(static_cast<const char*>(LockResource(g)), SizeofResource(m, r));
    FreeLibrary(m);
  }
  DeleteFileW(copy.c_str());
  return text;
}

#endif
