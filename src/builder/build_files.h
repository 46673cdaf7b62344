// File work of the build thread: copies that stop on request, the staging of the program
// files, removal of the build's own temporary tree and the temporary folder. Paths are ANSI, as the project's rows;
// below a folder that is staged or removed the walk is wide, so no name is lost to the ANSI code page.
#ifndef ZK_BUILDER_BUILD_FILES_H
#define ZK_BUILDER_BUILD_FILES_H

#include <functional>
#include <string>
#include <vector>

enum class CopyResult { kCopied, kFailed, kStopped };

// Asked between chunks and files; waits while the build is paused and answers true when
// it is to stop. An empty one never stops.
using StopCheck = std::function<bool()>;

// Copies source over target in chunks, with the source's attributes and times (the
// archive dates its entries from the copy). Between chunks it honours pause and cancel;
// a stopped or failed copy leaves no target behind.
CopyResult CopyBuildFile(const std::string& source, const std::string& target, const StopCheck& mustStop = {});

// How staging puts a program file in place for the archive.
enum class StageWay {
  kLinkWhenPossible,  // a hard link; a copy where the volume or the file refuses one
  kCopyOnly,
};

// Puts source at target for the archive, replacing a file staged there before. A hard
// link costs no copying and shares the source's data, times and attributes, so the archive
// reads from it what it would read from a copy; a file whose attributes a copy would not
// keep as they are (read-only ones among them) is copied.
CopyResult StageBuildFile(const std::string& source, const std::string& target,
                          StageWay way = StageWay::kLinkWhenPossible, const StopCheck& mustStop = {});
// Stages the folder source (no trailing "\") with its whole tree at target (no trailing
// "\"). Files that could not be staged go to *failed and the staging goes on; kFailed only
// when target itself cannot be made.
CopyResult StageBuildFolder(const std::string& source, const std::string& target, std::vector<std::string>* failed,
                            StageWay way = StageWay::kLinkWhenPossible, const StopCheck& mustStop = {});
// Deletes folder (ending in "\") with everything in it, read-only copies included. A
// staged link is removed by its name alone: its attributes are the author's file's too.
void RemoveBuildTree(const std::string& folder);

// The system's temporary folder in its long form, ending in "\"; empty when unknown.
std::string TempFolder();

#endif
