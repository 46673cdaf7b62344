// Runtime fonts: numbered GDI fonts by face name and point size.
#ifndef ZK_COMMON_FONTS_H
#define ZK_COMMON_FONTS_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "common/objects.h"

// Font style bits, shared with the font requester.
constexpr unsigned kFontBold = 1u << 0;
constexpr unsigned kFontItalic = 1u << 1;
constexpr unsigned kFontUnderline = 1u << 2;
constexpr unsigned kFontStrikeOut = 1u << 3;
constexpr unsigned kFontHighQuality = 1u << 4;

// Point sizes are converted with the screen's vertical DPI.
intptr_t LoadRuntimeFont(int number, const std::string& face, int pointSize, unsigned flags = 0);
HFONT RuntimeFontHandle(int number);
int IsRuntimeFont(int number);
int FreeRuntimeFont(int number);

#endif
