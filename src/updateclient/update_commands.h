// Carrying out the commands of the pending releases on this machine. Paths from the script
// are confined: see RunFileCommand and ResolveDownload for what is refused.
#ifndef ZK_UPDATECLIENT_UPDATE_COMMANDS_H
#define ZK_UPDATECLIENT_UPDATE_COMMANDS_H

#include <stddef.h>

#include <string>
#include <vector>

#include "updateclient/folder_placeholders.h"
#include "updateclient/update_script.h"

struct CommandContext {
  std::wstring clientFolder;  // the client's own folder, with a trailing "\"; relative paths start here
  std::wstring clientFile;    // the client's running program file, which no command deletes
  SpecialFolders folders;
};

enum class CommandOutcome { Done, Failed, Refused };

// A parameter after placeholder expansion (ANSI bytes read in the ANSI code page), made
// absolute against the client's folder.
std::wstring CommandPath(const std::string& parameter, const CommandContext& context);

// Carries out a command other than DownloadFile. Refused: an empty path, a drive root, a
// placeholder's folder itself, the Windows or system folder, the client's own folder (for
// the three delete commands), a parameter that was too long. DeleteDirectory never
// follows a junction or symbolic link.
CommandOutcome RunFileCommand(const UpdateCommand& command, const CommandContext& context);

// Where a DownloadFile command goes. The file name is the part of the source path after
// its last "/" or "\"; an empty name, ".", "..", a ":" or a too-long parameter refuses the
// command (false). A "\" is put between the destination folder and the name when the
// folder lacks one. `urlPath` is the source path as written, to be appended to the
// server's "Updates/" address.
struct DownloadTarget {
  std::string urlPath;
  std::string fileName;  // ANSI, for the progress line
  std::wstring file;     // the destination file, absolute
};
bool ResolveDownload(const UpdateCommand& command, const CommandContext& context, DownloadTarget* target);

// Fetches one file for the apply loop; false stops the whole update.
class ReleaseDownloader {
 public:
  virtual ~ReleaseDownloader() = default;
  virtual bool Download(const DownloadTarget& target) = 0;
};

// Applies the pending releases in order. A failed or refused DownloadFile stops at once;
// other failing commands are passed over.
struct ApplyResult {
  bool completed = false;            // every command of every pending release was carried out
  std::string lastCompletedRelease;  // the last release applied whole; empty when none
};
ApplyResult ApplyReleases(const UpdateScript& script, const std::vector<size_t>& pending, const CommandContext& context,
                          ReleaseDownloader& downloader);

#endif
