// The files the setup runtime reads besides the program archive: SC.dat and OS.dat
// (preference files), the line files, the files that travel with them in "Setup.cab", and the
// layout of the setup executable that carries the cabinet and the archive.
//
// Every text is written as UTF-8, whatever the builder's ANSI code page, because that is what
// the setup runtime decodes. Each file is written beside its target under a temporary name
// and moved into place only when complete.
#ifndef ZK_BUILDER_RESOURCE_FILES_H
#define ZK_BUILDER_RESOURCE_FILES_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/build_input.h"

struct ResourceFilesResult {
  int desktopIconFlag = 0;       // DesktopIconFlag
  int additionValue = 0;         // AdditionValue
  int checkedLanguageCount = 0;  // CheckedLanguageCount (at least 1)
};

// Writes every resource file of the layout into `folder` (ends with "\") and copies the images,
// language files, licence and DLL that travel in the cabinet. 1 on success; 0 when a file could
// not be written or a field holds CR/LF, with `error` set to the build-log line to show (the
// build then stops and writes no setup).
// A text with CR or LF is refused before anything is written, naming its row ("Registry row 2:
// a text holds a line break."). A language file, splash image or sound that cannot travel
// stops the build too; an image the decoders cannot read is left out without a word. The
// licence goes to "doc.rtf", which the caller deletes once the cabinet is closed. SC.dat's
// TotalSize reads in.archivePath with the ZIP archiver, so no archive may be open then.
// `result` may be null.
int WriteResourceFiles(const BuildInput& in, const std::string& folder, ResourceFilesResult* result,
                       std::string* error);

// The files to pack into "Setup.cab", in the cabinet's order: {path in `folder` or elsewhere, name in the cabinet}.
// Files of 0 bytes are left out; call it after WriteResourceFiles succeeded.
std::vector<std::pair<std::string, std::string>> CabinetEntries(const BuildInput& in, const std::string& folder);

// Writes the setup executable: runtime image, 64-bit little-endian cabinet length, cabinet, archive,
// 32-bit little-endian archive length; through a temporary file beside `path`, replaced only when
// complete. 1 on success; 0 with `error` set. A missing or empty cabinet is refused ("Error: Could
// not read the setup cabinet."): the setup runtime reads the cabinet length at a fixed offset.
// mustStop (may be empty) is asked before every chunk and once more before the setup is put in
// place; when it answers true the write stops, nothing is made or replaced at `path` and the
// answer is kSetupCancelled.
constexpr int kSetupCancelled = -1;
int WriteSetupExecutable(const std::string& path, const std::string& runtimeImage, const std::string& cabinetPath,
                         const std::string& archivePath, std::string* error,
                         const std::function<bool()>& mustStop = nullptr);

#endif
