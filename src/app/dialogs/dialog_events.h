// Each row edit dialog's part of the event dispatch in dialogs.cpp.
#ifndef ZK_APP_DIALOGS_DIALOG_EVENTS_H
#define ZK_APP_DIALOGS_DIALOG_EVENTS_H

void UpdateRegistryOkButton();
void UpdateShortcutOkButton();
void UpdateVariableOkButton();

void HandleRegistryDialogEvent(int control, int type);
void HandleShortcutDialogEvent(int control, int type);
void HandleVariableDialogEvent(int control, int type);
void HandleCommandDialogEvent(int control, int type);

// The registry and shortcut dialogs are hidden, not closed.
void CloseRegistryDialog();
void CloseShortcutDialog();

#endif
