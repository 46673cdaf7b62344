// File work of the build thread: copies that stop on request, removal of the build's own
// temporary tree, the temporary folder, and the setup runtime image the program carries.
#ifndef ZK_APP_BUILD_BUILD_FILES_H
#define ZK_APP_BUILD_BUILD_FILES_H

#include <string>
#include <vector>

enum class CopyResult { kCopied, kFailed, kStopped };

// Copies source over target in chunks, with the source's attributes and times (the
// archive dates its entries from the copy). Between chunks it honours pause and cancel;
// a stopped or failed copy leaves no target behind.
CopyResult CopyBuildFile(const std::string& source, const std::string& target);
// Copies the folder source (no trailing "\") with its whole tree to target (no trailing
// "\"). Files that could not be copied go to *failed and the copy goes on; kFailed only
// when target itself cannot be made.
CopyResult CopyBuildFolder(const std::string& source, const std::string& target, std::vector<std::string>* failed);
// Deletes folder (ending in "\") with everything in it, read-only files included.
void RemoveBuildTree(const std::string& folder);

// The system's temporary folder in its long form, ending in "\"; empty when unknown.
std::string TempFolder();
// The setup runtime's image carried in this program; false when it is missing.
bool ReadSetupRuntimeImage(std::string* bytes);

#endif
