// The environment variables the setup publishes to the programs it starts (and reads
// back for the placeholders <language>, <username> and <organisation>).
#ifndef ZK_COMMON_SETUP_ENVIRONMENT_H
#define ZK_COMMON_SETUP_ENVIRONMENT_H

#include <string>

extern const wchar_t kEnvInstallPath[];   // "ZK_INSTALLPATH"
extern const wchar_t kEnvLanguage[];      // "ZK_LANGUAGE"
extern const wchar_t kEnvUserName[];      // "ZK_USERNAME"
extern const wchar_t kEnvOrganisation[];  // "ZK_ORGANISATION"

// Sets the four variables for this process, so every program it starts inherits them:
// ZK_INSTALLPATH = installFolder with a trailing backslash, ZK_LANGUAGE = language (empty
// for a setup with a single language), ZK_USERNAME and ZK_ORGANISATION empty, since the
// setup asks for neither. Returns 1 when all four were set.
int SetSetupEnvironment(const std::wstring& installFolder, const std::wstring& language);

// The variable's current value; "" when it is not set.
std::wstring EnvironmentText(const std::wstring& name);

#endif
