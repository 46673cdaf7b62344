// The main window's commands: menu items, page buttons, requesters and the secondary
// windows' buttons, dispatched by the event loop.
#ifndef ZK_APP_COMMANDS_H
#define ZK_APP_COMMANDS_H

#include <string>

void HandleMenuCommand(int id);
// Control events of the first group: dialog buttons, links and requesters.
void HandleDialogControlEvent(int window, int control, int type);
// Control events of the second and third groups: page buttons, build buttons, licence editor.
void HandlePageControlEvent(int window, int control, int type);
// A close request of a secondary window.
void HandleSecondaryClose(int window);
// The OK buttons of the edit dialogs follow their required fields.
void UpdateDialogOkStates(int eventWindow);
bool EditorHasSelection(int editor);
void OpenProjectFromCommandLine(const std::string& path);
// Installs what the build needs before the main window exists.
void InstallBuildHooks();

#endif
