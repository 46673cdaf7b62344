// Folder requesters of the wizard's Browse buttons.
#ifndef ZK_SETUPRUNTIME_FOLDER_BROWSE_H
#define ZK_SETUPRUNTIME_FOLDER_BROWSE_H

#include <string>

// The shell's folder browser owned by the active window, rooted at the special folder
// rootCsidl; files are offered too when includeFiles. The chosen path gets a trailing
// backslash when it is a folder; empty when cancelled.
std::wstring BrowseForFolder(const std::wstring& title, bool includeFiles, int rootCsidl);
// A folder for the installation, starting at startFolder; ends with "\", empty when
// cancelled.
std::wstring ChooseInstallFolder(const std::wstring& title, const std::wstring& startFolder);
// The value of an environment variable naming a folder, with a trailing backslash.
std::wstring EnvironmentFolder(const std::wstring& name);
// The part of a chosen start-menu folder after the root, cut by the root's length as the
// setup has always done (a folder outside the root loses as many characters).
std::wstring StartMenuPart(const std::wstring& folder, const std::wstring& root);

#endif
