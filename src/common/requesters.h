// Requesters (file, folder and font dialogs) and message boxes behind one replaceable
// interface.
//
// By default they are the system's common dialogs and MessageBoxA, owned by the calling
// thread's active window. Two things can stand in for them:
//   - SetRequesterHooks: an in-process test replaces any of the five calls.
//   - The environment variable ZK_TEST_REQUESTERS naming a file: the file, folder and font
//     requesters then take their answers from it, one line per requester, in order (see
//     "Answer script" below). Message boxes stay real; whole-program tests answer them
//     through their windows.
// ANSI texts throughout (the authoring tool is an ANSI program).
#ifndef ZK_COMMON_REQUESTERS_H
#define ZK_COMMON_REQUESTERS_H

#include <windows.h>

#include <string>
#include <vector>

#include "common/fonts.h"

// A font as the font requester shows and returns it; its style holds the kFontBold,
// kFontItalic, kFontUnderline and kFontStrikeOut bits of common/fonts.h.
struct FontChoice {
  std::string name;
  int size = 0;  // points
  COLORREF colour = 0;
  int style = 0;  // kFont* bits
};

// `patterns` lists description and pattern pairs: "Text (*.txt)|*.txt|All Files|*.*";
// `patternIndex` (from 0) is the pair selected first. `defaultFile` may name a folder
// (ending in "\"), where the requester starts, and a file name, which it proposes.
// An empty result means the requester was cancelled.
//
// With `multiple`, several files may be chosen: all of them, as full paths, go into
// *multiple and the first is returned. Otherwise one file may be chosen.
std::string OpenFileRequester(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                              int patternIndex, std::vector<std::string>* multiple = nullptr);
// *chosenPattern receives the index of the pair selected when the requester was confirmed.
std::string SaveFileRequester(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                              int patternIndex, int* chosenPattern = nullptr);
// A folder; the result ends in "\". The requester starts at `initialPath` when given.
std::string PathRequester(const std::string& title, const std::string& initialPath);
// Shows inOut and returns true with the choice written into it when confirmed; a cancel
// returns false and leaves inOut as it was.
bool FontRequester(FontChoice& inOut);
// MessageBoxA flags (MB_YESNO | MB_ICONQUESTION, ...); returns IDOK, IDYES, IDNO, ...
int MessageRequester(const std::string& title, const std::string& text, unsigned mbFlags);

// Replacements for the calls above. A null member keeps the default behaviour.
struct RequesterHooks {
  std::string (*openFile)(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                          int patternIndex, std::vector<std::string>* multiple) = nullptr;
  std::string (*saveFile)(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                          int patternIndex, int* chosenPattern) = nullptr;
  std::string (*path)(const std::string& title, const std::string& initialPath) = nullptr;
  bool (*font)(FontChoice& inOut) = nullptr;
  int (*message)(const std::string& title, const std::string& text, unsigned mbFlags) = nullptr;
};
// Installs hooks for the whole process; SetRequesterHooks(RequesterHooks()) removes them.
void SetRequesterHooks(const RequesterHooks& hooks);

// ---- Answer script -------------------------------------------------------------------
// Each file, folder or font requester takes the next unused line of the file named by
// ZK_TEST_REQUESTERS. The file is read again at every requester, so a test may append
// answers while the program runs; when no line is left the requester answers "cancelled".
// Naming another file starts again at its first line.
//   file requesters: a path; several paths separated by "|" for a multiple selection;
//                    an empty line for cancel. Like the system's file dialogs, a chosen
//                    file makes its folder the current folder.
//   folder requester: a folder path ("\" is added when missing); empty for cancel.
//   font requester:  "name|size|colour|style" (colour decimal or 0x hexadecimal, style
//                    the kFont* bits); empty for cancel.
// A save requester reports as chosen the first pair whose patterns name the path's
// extension ("*.txt" for "a.txt"), otherwise `patternIndex`.

// The parts below are public so that they can be tested on their own.

// "Desc|*.a|Desc2|*.b" as the common dialogs want it: "Desc\0*.a\0Desc2\0*.b\0\0".
std::string BuildRequesterFilter(const std::string& patterns);
// The buffer an OFN_ALLOWMULTISELECT | OFN_EXPLORER dialog filled: either one full path,
// or the folder followed by the file names, each ended by NUL, the whole ended by a
// second NUL. Returns the full paths.
std::vector<std::string> SplitMultipleSelection(const char* buffer, size_t size);
// One line of an answer script for a file requester: the chosen paths, none for cancel.
std::vector<std::string> ParseFileAnswer(const std::string& line);
// One line for the font requester; false for cancel or a line that is not a font.
bool ParseFontAnswer(const std::string& line, FontChoice* out);
// The index of the first pair of `patterns` whose patterns name the extension of path;
// -1 when none does.
int PatternIndexForPath(const std::string& patterns, const std::string& path);

#endif
