// The one way a button, separator or gadget placeholder joins a tool bar: its images, its
// record and the system's button together, or none of them.
#ifndef ZK_TOVREL_FRAME_TOOLBAR_INSERT_H
#define ZK_TOVREL_FRAME_TOOLBAR_INSERT_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_lookup.h"

namespace tovrel {

// The tool bar the add operations act on (CurrentToolbar), made current; nullptr: none.
Toolbar* CurrentToolbarRecord();

// A command id for the current tool bar: a fresh one for -1, else `commandId` unless one
// of `toolbar`'s buttons has it. -1: taken (0 is a command id like any other).
int TakeCommandId(const Toolbar& toolbar, int commandId);

// Appends the images (normal, hot, disabled) to the tool bar's lists and inserts the
// button where the insert mode says, with `fields` as its record. `button.iBitmap` >= 0
// means the button shows its image. -> the new record, nullptr when the control refused
// the button; the images and the record are then gone again.
ToolbarButton* InsertToolbarItem(Toolbar& toolbar, const ToolbarButton& fields, TBBUTTON button,
                                 const HANDLE images[3]);

// A disabled plain button without text or image, owning the default image in each list:
// a separator or a gadget's placeholder. `fields` brings what sets it apart.
ToolbarButton* InsertPlaceholder(Toolbar& toolbar, int commandId, ToolbarButton fields);

// What every insert operation does around its add: the add runs on `toolbar` at
// `position`, and CurrentToolbar is the caller's again afterwards. -> the add's result,
// 0 for an unknown tool bar.
template <typename Add>
int AddAtPosition(intptr_t toolbar, int position, Add add) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  const intptr_t saved = CurrentToolbar;
  CurrentToolbar = t->number;
  ToolbarInsertMode = 1;
  ToolbarInsertPosition = position;
  const int result = add();
  ToolbarInsertMode = 0;
  CurrentToolbar = saved;
  return result;
}

// Wine's control sizes its buttons anew whenever one is added, dropping the taller
// height an OFFICE tool bar's buttons were given; this gives it back.
void KeepOfficeButtonHeight(const Toolbar& toolbar);

// Sets the width of the button with the command id. -> the control's answer.
bool SetButtonWidth(HWND window, int commandId, int width);

}  // namespace tovrel

#endif
