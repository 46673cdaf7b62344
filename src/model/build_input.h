// What one build works from: a copy of the project and of the language list, taken on the
// GUI thread before the build thread starts, so the build never reads controls.
#ifndef ZK_MODEL_BUILD_INPUT_H
#define ZK_MODEL_BUILD_INPUT_H

#include <string>
#include <vector>

#include "model/setup_project.h"

struct BuildInput {
  SetupProject project;                    // a copy taken on the GUI thread; the build never reads controls
  std::vector<std::string> languageNames;  // texts of the language list, in list order (positions index it)
  std::string programFolder;  // folder of Zendrikolbar.exe with a trailing "\" ("Languages\", "default.zkl",
                              // "pelbuild.dll" live there)
  // The ZIP archive the setup carries, set by the build thread once it is made; SC.dat's
  // TotalSize adds up its entries. Empty: the project's own ZIP file when useZip is set.
  std::string archivePath;
};

#endif
