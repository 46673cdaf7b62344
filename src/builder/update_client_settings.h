// The settings the build gives the update client, taken from the project's updater fields.
#ifndef ZK_BUILDER_UPDATE_CLIENT_SETTINGS_H
#define ZK_BUILDER_UPDATE_CLIENT_SETTINGS_H

#include <string>

#include "model/setup_project.h"
#include "model/updater_settings.h"

// Owns the texts that an UpdaterSettings record points to, so the record stays valid for
// as long as this value lives unchanged.
struct UpdateClientSettings {
  std::string version;
  std::string mainAddress;
  std::string alternativeAddress1;
  std::string alternativeAddress2;
  int language = 0;
  std::string productName;
  std::string programFile;
  std::string windowTitle;
  int terminateFlag = 0;
  int runFlag = 0;
};

// The version with every "<appversion>" replaced by the program version and the product
// name with every "<appname>" replaced by the program name (both exact, case-sensitive);
// the window title is the product name + " Update"; a language other than German is
// English.
UpdateClientSettings UpdateClientSettingsFor(const SetupProject& project);

// The record handed to the library, pointing into settings; the run guard stays null.
UpdaterSettings UpdaterRecord(const UpdateClientSettings& settings);

#endif
