#include "tovrel/foundation/system_libraries.h"

#include <windows.h>

#include <string>

#include "common/system_libraries.h"

namespace tovrel {

namespace {

LibrarySeamForTest* gSeam = nullptr;

// Library names in the test counts, as Windows compares them: without regard to case.
std::string Lower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool Contains(const std::set<std::string>& names, const std::string& name) {
  for (const std::string& entry : names)
    if (lstrcmpiA(entry.c_str(), name.c_str()) == 0) return true;
  return false;
}

// Stands in for every function when a test asks for exports that answer 0. The x64
// calling convention lets the caller clean up its own arguments, so one stub serves every
// signature.
INT_PTR WINAPI AnswerZero() { return 0; }

// The file name a library was opened under, for the test counts.
std::string NameOf(HMODULE library) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(library, path, MAX_PATH);
  std::string full(path, n < MAX_PATH ? n : 0);
  size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? full : full.substr(slash + 1);
}

}  // namespace

HMODULE OpenToolkitLibrary(const char* name) {
  if (gSeam && Contains(gSeam->missingLibraries, name)) return nullptr;
  std::wstring wide;
  for (const char* c = name; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  HMODULE library = LoadSystemLibrary(wide.c_str());
  if (library && gSeam) ++gSeam->opens[Lower(name)];
  return library;
}

HMODULE OpenLoadedToolkitLibrary(const char* name) {
  if (gSeam && Contains(gSeam->missingLibraries, name)) return nullptr;
  HMODULE library = nullptr;
  // Takes a reference, as an open does, so that closing it stays balanced.
  if (!GetModuleHandleExA(0, name, &library)) return OpenToolkitLibrary(name);
  if (gSeam) ++gSeam->opens[Lower(name)];
  return library;
}

void CloseToolkitLibrary(HMODULE library) {
  if (!library) return;
  if (gSeam) ++gSeam->closes[Lower(NameOf(library))];
  FreeLibrary(library);
}

FARPROC FindToolkitFunction(HMODULE library, const char* name) {
  if (!library) return nullptr;
  FARPROC found = GetProcAddress(library, name);
  if (!gSeam || !found) return found;
  if (Contains(gSeam->missingFunctions, name)) return nullptr;
  for (const auto& replaced : gSeam->replacedFunctions)
    if (lstrcmpiA(replaced.first.c_str(), name) == 0) return replaced.second;
  if (gSeam->everyFunctionAnswersZero) return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&AnswerZero));
  return found;
}

void SetLibrarySeamForTest(LibrarySeamForTest* seam) { gSeam = seam; }

}  // namespace tovrel
