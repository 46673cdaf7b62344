// The settings the build gives the update client, taken from the project's updater fields.
#ifndef ZK_BUILDER_UPDATE_CLIENT_SETTINGS_H
#define ZK_BUILDER_UPDATE_CLIENT_SETTINGS_H

#include <string>

#include "model/setup_project.h"
#include "model/updater_block.h"

// The version with every "<appversion>" replaced by the program version and the product
// name with every "<appname>" replaced by the program name (both exact, case-sensitive);
// the window title is the product name + " Update"; a language other than German is
// English.
UpdaterSettingsBlock UpdateClientSettingsFor(const SetupProject& project);

#endif
