// Runtime fonts: numbered GDI fonts by face name and point size.
#ifndef ZK_COMMON_FONTS_H
#define ZK_COMMON_FONTS_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "common/objects.h"

enum FontFlags : unsigned {
  kFontBold = 1u << 0,
  kFontItalic = 1u << 1,
  kFontUnderline = 1u << 2,
  kFontStrikeOut = 1u << 3,
  kFontHighQuality = 1u << 4,
};

// Point sizes are converted with the screen's vertical DPI.
intptr_t LoadRuntimeFont(int number, const std::string& face, int pointSize, unsigned flags = 0);
HFONT RuntimeFontHandle(int number);
int IsRuntimeFont(int number);
int FreeRuntimeFont(int number);

#endif
