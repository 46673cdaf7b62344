// The one way the toolkit opens the system libraries it draws with and finds their
// functions. None of them is imported: the tool must start where one is missing or lacks
// a function, so every open and every look-up can answer 0, and tests make them do so
// here, per library or per function name, without touching the machine.
#ifndef ZK_TOVREL_FOUNDATION_SYSTEM_LIBRARIES_H
#define ZK_TOVREL_FOUNDATION_SYSTEM_LIBRARIES_H

#include <windows.h>

#include <map>
#include <set>
#include <string>

namespace tovrel {

// A library of the system folder by file name ("UxTheme.dll"); nullptr when it cannot be
// opened. Never searched for elsewhere: the tool's own folder may hold anything.
HMODULE OpenToolkitLibrary(const char* name);

// The copy of a library this process already uses, else the system folder's. For the
// common controls, whose version the program's manifest chooses: the system folder holds
// the old version beside the one the process draws with.
HMODULE OpenLoadedToolkitLibrary(const char* name);

// Closes a library one of the two opened; nullptr is ignored. Every address found in
// it is invalid afterwards.
void CloseToolkitLibrary(HMODULE library);

// A function of an open library by name; nullptr when the library or the function is
// missing.
FARPROC FindToolkitFunction(HMODULE library, const char* name);

// The look-up typed as the declaration it stands for.
template <typename Function>
void FindToolkitFunction(HMODULE library, const char* name, Function*& slot) {
  // Through the generic function type, which any function pointer converts to and from.
  slot = reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(FindToolkitFunction(library, name)));
}

// What tests make the seam do instead of asking the system. Names compare without regard
// to case, as Windows compares module names.
struct LibrarySeamForTest {
  std::set<std::string> missingLibraries;
  std::set<std::string> missingFunctions;
  // A function found under one of these names is replaced by the given address.
  std::map<std::string, FARPROC> replacedFunctions;
  // Every function found answers 0 and leaves its output arguments alone.
  bool everyFunctionAnswersZero = false;
  // Filled in by the seam: opens that succeeded and closes, per library file name in
  // lower case ("uxtheme.dll").
  std::map<std::string, int> opens;
  std::map<std::string, int> closes;
};

// Puts the seam under a test's control (nullptr: back to the system). The record must
// outlive its use.
void SetLibrarySeamForTest(LibrarySeamForTest* seam);

}  // namespace tovrel

#endif
