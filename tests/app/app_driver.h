// Driver helpers that know the main window of Zendrikolbar: its task pane's layout.
#ifndef ZK_TESTS_APP_APP_DRIVER_H
#define ZK_TESTS_APP_APP_DRIVER_H

#include <windows.h>

#include <string>

// Clicks item `item` (1-based) of group `group` (1-based) of the main window's task pane,
// scrolling the pane first when the item is out of sight. All groups must be expanded,
// as they are at start-up.
bool ClickTaskPaneItem(HWND mainWindow, int group, int item);

// Chooses item `item` (its text as the menu shows it, e.g. "New...") of menu title `title`
// of the main window's menu bar with the mouse. False for an item the menu does not have.
bool ChooseMainMenuItem(HWND mainWindow, const std::string& title, const std::string& item);

#endif
