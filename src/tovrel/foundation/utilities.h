// Small routines the toolkit's parts share: fonts by face name and point size, a runtime
// window opened for the toolkit, word packing for message parameters and a check for
// version-like texts.
#ifndef ZK_TOVREL_FOUNDATION_UTILITIES_H
#define ZK_TOVREL_FOUNDATION_UTILITIES_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// Flags of CreateFontByName. The quality flags are exclusive: the first one present in
// the order below wins and the others stay in the flags.
constexpr int kFontBold = 0x1;
constexpr int kFontItalic = 0x2;
constexpr int kFontUnderline = 0x4;
constexpr int kFontStrikeOut = 0x8;
constexpr int kFontAntialiased = 0x10000;
constexpr int kFontNonAntialiased = 0x20000;
constexpr int kFontClearType = 0x40000;
constexpr int kFontDefaultQuality = 0x80000;

// What CreateFontByName asks GDI for; the rest of the LOGFONT is fixed.
struct FontRequest {
  int height = 0;  // negative: a character height in pixels
  int weight = 0;  // 0 (the font's default) or FW_BOLD
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int quality = DEFAULT_QUALITY;
};

// The font a size in points and flags describe on a screen of `dpi` dots per inch.
FontRequest FontRequestFor(int size, int flags, int dpi);

// A font of `name` at `size` points on this screen; 0 on failure. The caller owns it.
HFONT CreateFontByName(const std::string& name, int size, int flags);

// Opens a runtime window (a number the runtime chooses) whose client area is width x
// height, with the runtime's window flags. `parent` is a runtime window's handle or 0.
// Returns the window's handle; 0 when it cannot be opened, also when `parent` is not a
// runtime window. `ignored` is kept for callers that pass it.
intptr_t OpenToolkitWindow(const std::string& title, int x, int y, int width, int height, unsigned flags, int ignored,
                           HWND parent);

// WM_SETFONT with a redraw; returns what the window answers.
LRESULT SetWindowFont(HWND window, HFONT font);

BOOL DeleteGraphicsObject(HGDIOBJ object);

// Word packing as MAKELPARAM does it: the result is never negative, so it travels in a
// WPARAM or LPARAM unchanged.
inline intptr_t GetLowWord(intptr_t value) { return value & 0xFFFF; }
inline intptr_t GetHighWord(intptr_t value) { return (value >> 16) & 0xFFFF; }
inline intptr_t MakeLong(intptr_t low, intptr_t high) { return (high & 0xFFFF) << 16 | (low & 0xFFFF); }

// 1 when the text is made only of digits and dots, and is neither empty nor a lone dot;
// else 0. "1.2.3" is decimal; " 12" is not.
int IsDecimalString(const std::string& text);

// A fixed factor of the toolkit's interface, 1.36; no part of the toolkit derives it.
inline double GetToolkitFactor() { return 1.36; }

}  // namespace tovrel

#endif
