// The folder placeholders of update-script parameters ("<System>", "<Windows>",
// "<Temporary>", "<ApplicationData>", "<Startup>", "<CommonStartup>", "<ProgramFiles>",
// "<Fonts>", "<Desktop>"), replaced ignoring letter case, in that order.
#ifndef ZK_UPDATECLIENT_FOLDER_PLACEHOLDERS_H
#define ZK_UPDATECLIENT_FOLDER_PLACEHOLDERS_H

#include <string>
#include <vector>

// The folders, in placeholder order. All come without a trailing "\" except the temporary
// folder, which ends in one.
struct SpecialFolders {
  std::wstring system;
  std::wstring windows;
  std::wstring temporary;
  std::wstring applicationData;
  std::wstring startup;
  std::wstring commonStartup;
  std::wstring programFiles;
  std::wstring fonts;
  std::wstring desktop;
};

// This machine's folders (the shell's special folders, the temporary folder).
SpecialFolders CurrentSpecialFolders();

std::wstring ExpandFolderPlaceholders(const std::wstring& text, const SpecialFolders& folders);

// The folders themselves: commands may act inside them, never on them.
std::vector<std::wstring> PlaceholderFolders(const SpecialFolders& folders);

#endif
