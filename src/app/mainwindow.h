// The main window: the frame (menu bar, tool bar, rebar, status bar, task pane) and the
// page panels whose controls hold the open project.
#ifndef ZK_APP_MAINWINDOW_H
#define ZK_APP_MAINWINDOW_H

#include <stdint.h>

#include "app/builtin_images.h"

// The task pane and the rebar of the main window.
extern int MainExBar;
extern intptr_t MainRebar;

// Builds the main window (number 0) with everything on it and shows it. Returns 0 when the
// window could not be created (then nothing else is built).
int CreateMainWindow(const BuiltinImages& images);
void BuildPages(const BuiltinImages& images);
// Fills the languages list from "Languages\*.zkl" beside the program.
void FillLanguageList();
// Puts every field back to the values of a new project (the New command).
void ResetProject();

#endif
