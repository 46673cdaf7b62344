// The size of a menu-bar title's button, from the text the bar shows for it.
#ifndef ZK_TOVREL_FRAME_TITLE_BUTTONS_H
#define ZK_TOVREL_FRAME_TITLE_BUTTONS_H

#include <windows.h>

namespace tovrel {

// Sizes the title's button to its text in MenuFont by the one title rule. The text is the
// bar's own, without styled-text markup, so that a title keeps its size at every refit.
void SizeTitleButton(HWND bar, int commandId, int style);

}  // namespace tovrel

#endif
