// The row edit dialogs: small modal windows that add a row to, or edit the selected row
// of, the registry, shortcut, variable and command lists of the main window.
#ifndef ZK_APP_DIALOGS_DIALOGS_H
#define ZK_APP_DIALOGS_DIALOGS_H

// Each opens its dialog anew, filled from the list's selected row when `edit` is
// non-zero, and disables the main window until the dialog closes.
void OpenRegistryDialog(int edit);
void OpenShortcutDialog(int edit);
void OpenVariableDialog(int edit);
void OpenCommandDialog(int edit);
// Close their window and enable the main window again.
void CloseVariableDialog();
void CloseCommandDialog();
// A control event of a dialog window: OK, Cancel, the command type. True when `window`
// is one of the dialogs.
bool HandleRowDialogEvent(int window, int control, int type);
// Before dispatch: the OK button of the dialog the event belongs to follows its required
// fields.
void UpdateRowDialogOkButtons(int eventWindow);
// The close box of a dialog: it closes without changes. True when `window` is one of the
// dialogs.
bool HandleRowDialogClose(int window);

#endif
