// The font of menu titles and items, made from the system's menu font by the first menu
// bar, tool bar or popup that needs it.
#ifndef ZK_TOVREL_FRAME_MENU_FONT_H
#define ZK_TOVREL_FRAME_MENU_FONT_H

#include <windows.h>

namespace tovrel {

extern HFONT MenuFont;  // nullptr until made

// Makes MenuFont from the system's menu font when it is not made yet.
void EnsureMenuFont();

}  // namespace tovrel

#endif
