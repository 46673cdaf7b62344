// The event loop's entry to the row edit dialogs: which dialog an event or close request
// belongs to.
#include "app/dialogs/dialogs.h"

#include "app/controls.h"
#include "app/dialogs/dialog_events.h"

using namespace ctl;

bool HandleRowDialogEvent(int window, int control, int type) {
  switch (window) {
    case kRegistryDialog:
      HandleRegistryDialogEvent(control, type);
      return true;
    case kShortcutDialog:
      HandleShortcutDialogEvent(control, type);
      return true;
    case kVariableDialog:
      HandleVariableDialogEvent(control, type);
      return true;
    case kCommandDialog:
      HandleCommandDialogEvent(control, type);
      return true;
    default:
      return false;
  }
}

void UpdateRowDialogOkButtons(int eventWindow) {
  // The command dialog's OK stays enabled; its handler checks the command instead.
  switch (eventWindow) {
    case kRegistryDialog:
      UpdateRegistryOkButton();
      break;
    case kShortcutDialog:
      UpdateShortcutOkButton();
      break;
    case kVariableDialog:
      UpdateVariableOkButton();
      break;
    default:
      break;
  }
}

bool HandleRowDialogClose(int window) {
  switch (window) {
    case kRegistryDialog:
      CloseRegistryDialog();
      return true;
    case kShortcutDialog:
      CloseShortcutDialog();
      return true;
    case kVariableDialog:
      CloseVariableDialog();
      return true;
    case kCommandDialog:
      CloseCommandDialog();
      return true;
    default:
      return false;
  }
}
