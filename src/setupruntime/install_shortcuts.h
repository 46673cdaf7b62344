// Shell links for the desktop and the start menu.
#ifndef ZK_SETUPRUNTIME_INSTALL_SHORTCUTS_H
#define ZK_SETUPRUNTIME_INSTALL_SHORTCUTS_H

#include <string>

// Writes linkFile (overwriting) through IShellLinkW and IPersistFile; the calling thread
// must have initialised COM. 1 when the link was saved.
int CreateShortcut(const std::wstring& target, const std::wstring& linkFile, const std::wstring& workingFolder,
                   const std::wstring& arguments, const std::wstring& description, const std::wstring& iconFile,
                   int iconIndex);

#endif
