// The section markers of project files (.zkp). After the preference part (its groups and
// keys are in the field table) the file carries sections, each started by one of these
// lines. The codec writes and reads them; the row dialogs refuse a row text equal to one,
// as it would end its list early when the project is opened again.
#ifndef ZK_MODEL_PROJECT_FORMAT_H
#define ZK_MODEL_PROJECT_FORMAT_H

namespace zkp {

constexpr char kLanguages[] = "[Languages]";
constexpr char kFilesDirs[] = "[Files/Dirs]";
constexpr char kLicenceBegin[] = "[Licence_Begin]";
constexpr char kLicenceEnd[] = "[Licence_End]";
constexpr char kRegistry[] = "[Registry]";
constexpr char kVariables[] = "[Variables]";
constexpr char kShortcuts[] = "[SCs]";
constexpr char kEnd[] = "[ZKP_End]";
constexpr char kCommands[] = "[Commands]";

inline constexpr const char* kSectionMarkers[] = {kLanguages, kFilesDirs, kLicenceBegin, kLicenceEnd, kRegistry,
                                                  kVariables, kShortcuts, kEnd,          kCommands};

}  // namespace zkp

#endif
