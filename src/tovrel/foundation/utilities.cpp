#include "tovrel/foundation/utilities.h"

#include "common/dpi.h"
#include "common/gui.h"
#include "common/objects.h"

namespace tovrel {

FontRequest FontRequestFor(int size, int flags, int dpi) {
  FontRequest f;
  f.height = -MulDiv(size, dpi, 72);

  static const struct {
    int flag;
    int quality;
  } kQualities[] = {
      {kFontAntialiased, ANTIALIASED_QUALITY},
      {kFontNonAntialiased, NONANTIALIASED_QUALITY},
      {kFontClearType, CLEARTYPE_QUALITY},
      {kFontDefaultQuality, DEFAULT_QUALITY},
  };
  for (const auto& q : kQualities) {
    if (flags & q.flag) {
      f.quality = q.quality;
      flags &= ~q.flag;
      break;
    }
  }

  // 700 to 708 is the bold weight plus one of the style values below (704 bold
  // underlined, 708 bold struck out). Taking the weight away leaves that value; clearing
  // the weight's bits instead would drop the underline and strike-out bits, which 700
  // shares, and leave a stray bit behind.
  if (flags >= FW_BOLD && flags <= FW_BOLD + 8) {
    f.weight = FW_BOLD;
    flags -= FW_BOLD;
  }
  if (flags & kFontBold) f.weight = FW_BOLD;
  if (flags & kFontItalic) f.italic = true;
  if (flags & kFontUnderline) f.underline = true;
  if (flags & kFontStrikeOut) f.strikeOut = true;
  flags &= ~(kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut);

  // A plain weight of 400 is normal. Any other value left is read as bits: 0x100 bold,
  // 0x200 italic, which 400 would otherwise set.
  if (flags == FW_NORMAL) flags = 0;
  if (flags & 0x100) f.weight = FW_BOLD;
  if (flags & 0x200) f.italic = true;
  return f;
}

HFONT CreateFontByName(const std::string& name, int size, int flags) {
  FontRequest f = FontRequestFor(size, flags, ScreenDpi());
  return CreateFontA(f.height, 0, 0, 0, f.weight, f.italic, f.underline, f.strikeOut, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, f.quality, VARIABLE_PITCH, name.c_str());
}

intptr_t OpenToolkitWindow(const std::string& title, int x, int y, int width, int height, unsigned flags,
                           int /*ignored*/, HWND parent) {
  int parentNumber = -1;
  if (parent) {
    // The runtime keeps its windows by number; a window it does not know cannot own one
    // of its windows, and opening an unowned window instead would misplace it.
    parentNumber = WindowNumberOf(parent);
    if (parentNumber < 0) return 0;
  }
  intptr_t number = OpenRuntimeWindow(kAnyNumber, x, y, width, height, title, flags, parentNumber);
  if (number <= 0) return 0;
  return reinterpret_cast<intptr_t>(WindowHandle(static_cast<int>(number)));
}

LRESULT SetWindowFont(HWND window, HFONT font) {
  return SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

BOOL DeleteGraphicsObject(HGDIOBJ object) { return DeleteObject(object); }

int IsDecimalString(const std::string& text) {
  // A blank anywhere already fails the character test, so a dot with blanks around it
  // is refused there; only the lone dot needs its own test.
  if (text.empty() || text == ".") return 0;
  for (char c : text)
    if (!(c >= '0' && c <= '9') && c != '.') return 0;
  return 1;
}

}  // namespace tovrel
