// The update script ("updatescript.ini") that a publisher places on the update server: a
// releases block listing the product's releases oldest first, and one release block per
// release with the file commands that turn the previous release into it. Reading it and
// choosing the releases to apply are pure functions; carrying the commands out is in
// update_commands.h.
#ifndef ZK_UPDATECLIENT_UPDATE_SCRIPT_H
#define ZK_UPDATECLIENT_UPDATE_SCRIPT_H

#include <stddef.h>

#include <string>
#include <vector>

// The longest parameter a command may have. A longer one refuses its command (cutting it
// would name a different path).
constexpr size_t kLongestScriptParameter = 255;

// The constants carry a k: the plain command names are Windows' own macros (CopyFile
// becomes CopyFileA or CopyFileW), which would give the enum other names in ANSI and
// Unicode code.
enum class UpdateCommandKind {
  kDownloadFile,     // source path below "Updates/", destination folder
  kRenameFile,       // old path, new path
  kCopyFile,         // source path, destination path
  kDeleteFile,       // path
  kDeleteFiles,      // folder, name pattern
  kCreateDirectory,  // folder
  kDeleteDirectory,  // folder
};

// The canonical name of a kind ("DownloadFile", ...) and how many parameters it takes.
const char* UpdateCommandName(UpdateCommandKind kind);
int UpdateCommandParameterCount(UpdateCommandKind kind);

struct UpdateCommand {
  UpdateCommandKind kind = UpdateCommandKind::kDeleteFile;
  std::string first;     // cleaned, ANSI bytes as in the script, placeholders not expanded
  std::string second;    // empty for one-parameter commands
  bool tooLong = false;  // a parameter was longer than kLongestScriptParameter
};

struct UpdateRelease {
  std::string name;
  std::vector<UpdateCommand> commands;
};

// The releases in script order; a name listed twice appears twice (the second entry
// never gets commands).
struct UpdateScript {
  std::vector<UpdateRelease> releases;
};

// Reads a script from its bytes. Never fails: what it does not understand it ignores.
UpdateScript ParseUpdateScript(const std::string& bytes);

// What the client does for a current version: the script counts only when that version is
// a release of it; there is an update when the last release differs from it, and then the
// pending releases are those after the version's first entry.
struct ReleaseSelection {
  bool listed = false;
  bool updateAvailable = false;
  std::string newest;           // the last release name; empty for an empty list
  std::vector<size_t> pending;  // indexes into UpdateScript::releases; empty without an update
};

ReleaseSelection SelectPendingReleases(const UpdateScript& script, const std::string& currentVersion);

// "http://" in front unless the address already starts with "http://" or "https://" (any
// letter case), "/" at the end unless it ends with one. An empty address stays empty.
std::string NormalizeUpdateAddress(const std::string& address);

#endif
