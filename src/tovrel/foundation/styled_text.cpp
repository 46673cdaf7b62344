#include "tovrel/foundation/styled_text.h"

namespace tovrel {

// Plain text only, until the markup reader comes.
std::string DrawStyledText(HDC dc, const std::string& text, RECT* rect, HFONT font, int flags) {
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  UINT format = DT_EXPANDTABS | ((flags & 0x400) ? DT_CALCRECT : 0);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), rect, format);
  if (old) SelectObject(dc, old);
  return (flags & 0x800000) ? text : std::string();
}

}  // namespace tovrel
