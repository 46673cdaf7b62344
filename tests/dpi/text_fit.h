// Whether the texts of a window's labels and buttons fit the boxes they are drawn in,
// measured in the program's own font from outside: a text that needs more room than its
// control gives it is cut off on the screen.
#ifndef ZK_TESTS_DPI_TEXT_FIT_H
#define ZK_TESTS_DPI_TEXT_FIT_H

#include <windows.h>

#include <string>
#include <vector>

struct ClippedText {
  std::string text;  // UTF-8
  std::string why;   // the control and the room its text needs and has
};

// Every label, check box, option, push button or group box below `root` (children of
// children too) whose text does not fit; empty when all fit. Hidden controls count as
// well: another page shows them.
std::vector<ClippedText> ClippedTexts(HWND root);

#endif
