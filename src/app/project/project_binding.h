// Moves the project between the main window's controls, which are its store, and a
// SetupProject value. GUI thread only.
#ifndef ZK_APP_PROJECT_PROJECT_BINDING_H
#define ZK_APP_PROJECT_PROJECT_BINDING_H

#include <string>

#include "model/setup_project.h"

SetupProject ReadProjectFromControls();
// Language positions outside the language list are ignored.
void WriteProjectToControls(const SetupProject& project);
// The single-valued settings alone (the rows of the field table): New treats the lists,
// languages and licence its own way.
void WriteFieldsToControls(const SetupProject& project);

// Reads the project file at path into the controls, then sets ProjectPath and the window
// title. Returns 1 on success; on failure returns 0 with the reason in *error and changes
// nothing.
int LoadProject(const std::string& path, std::string* error = nullptr);
// Writes the controls' project to path. Returns 1 on success; on failure returns 0 with the
// reason in *error for the caller to show, and the old file is left as it was.
int SaveProject(const std::string& path, std::string* error = nullptr);

#endif
