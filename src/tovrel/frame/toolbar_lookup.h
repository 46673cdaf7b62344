// Finding tool bars and their buttons, shared by the tool-bar operations.
#ifndef ZK_TOVREL_FRAME_TOOLBAR_LOOKUP_H
#define ZK_TOVREL_FRAME_TOOLBAR_LOOKUP_H

#include <windows.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"

namespace tovrel {

// True for a live window of the system's tool-bar class. TB_ messages go to nothing else:
// their numbers mean other things to other classes.
bool IsToolbarWindow(HWND window);

// The first tool bar whose number or window is `toolbar`, made the current element of
// ToolbarList; nullptr when none is, or when its window is no longer a tool bar.
Toolbar* FindToolbar(intptr_t toolbar);

// The button of that tool bar with the command id, made current; nullptr when none.
ToolbarButton* FindToolbarButton(const Toolbar& toolbar, int commandId);

// True when a button of any tool bar has the command id.
bool AnyToolbarHasCommand(int commandId);

// Gives every button that shows an image its own index as the image index, so that a
// tool bar the system draws shows the images the lists hold at the buttons' indexes.
void RenumberButtonImages(HWND window);
// The image index of one button; I_IMAGENONE shows none.
void SetButtonImageIndex(HWND window, int commandId, int image);

// The text the control gets for a record's text: the plain text of styled-text markup.
std::string PlainButtonText(const std::string& text);

}  // namespace tovrel

#endif
