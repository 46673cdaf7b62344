// Project files (.zkp): a preference part with the single-valued fields, followed by
// appended sections with the checked languages, the list rows and the licence text.
#ifndef ZK_APP_PROJECT_PROJECT_FILE_H
#define ZK_APP_PROJECT_PROJECT_FILE_H

#include <string>

#include "model/setup_project.h"

// Writes the project to path. The file is built beside the target under a temporary name
// and moved over it only when it is complete, so a failed save leaves the old file as it
// was and no temporary file behind. A text that the file could not give back unchanged
// (one holding CR, LF or NUL, a row text equal to a section marker, a command type other
// than the two known ones) is refused before anything is written. Returns 1 on success,
// 0 on failure with the reason in *error when error is given.
int SaveProjectFile(const std::string& path, const SetupProject& project, std::string* error = nullptr);

// Reads the project at path into out. Returns 1 on success; on failure returns 0 with the
// reason in *error and leaves out unchanged. The result never carries rows, languages or
// licence text of what out held before.
//
// Damaged files: a section whose end marker is missing ends with the file; its complete
// rows are kept and a row cut short by the end of the file is dropped. A licence section
// whose byte count is missing or larger than the rest of the file is an error. A licence
// section with no count at all (the end marker directly after the start marker) reads as
// no text.
int LoadProjectFile(const std::string& path, SetupProject& out, std::string* error = nullptr);

#endif
