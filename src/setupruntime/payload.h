// The setup executable's payload: the cabinet that follows the runtime image inside the
// program's own file, and its extraction into the work folder.
//
// Layout of the file: the runtime image (S bytes), the cabinet length N (int64 LE), the
// cabinet (N bytes), the program archive, then the archive's length (uint32 LE;
// 0xFFFFFFFF for an archive of 4 GB or more). S is a constant patched into the program
// after linking; it is never taken from the file itself.
#ifndef ZK_SETUPRUNTIME_PAYLOAD_H
#define ZK_SETUPRUNTIME_PAYLOAD_H

#include <stdint.h>

#include <string>
#include <vector>

#include "setupruntime/zip_window.h"

// The image size patched into this program (0 in a build that was not patched).
uint64_t SetupImageSize();

// Results of CopyPayloadCabinet.
constexpr int kPayloadOk = 0;
constexpr int kPayloadCannotOpen = 1;   // the setup file cannot be opened
constexpr int kPayloadDamaged = 2;      // truncated, N = 0, or N beyond the end of the file
constexpr int kPayloadCannotWrite = 3;  // the cabinet copy cannot be created or written

// Copies the N cabinet bytes found at imageSize in setupPath to cabinetPath. The length is
// checked against the file before anything is written, so a damaged setup never makes a
// large file; a copy that fails halfway is deleted. On failure the thread's last error is
// the one of the step that failed.
int CopyPayloadCabinet(const std::wstring& setupPath, uint64_t imageSize, const std::wstring& cabinetPath);

// Where the program archive lies in setupPath: from S + 8 + N up to its length field.
// When that field does not match (a setup file that has grown at its end) the archive is
// taken to run to the end of the file, where its directory is still found. A file too
// short for the layout gives an empty window, which opens as no archive.
ZipWindow PayloadArchiveWindow(const std::wstring& setupPath, uint64_t imageSize);

// 1 when a name from a cabinet stays inside the destination folder: not empty, not
// absolute, no drive or ":" and no component the system reads as the parent folder
// ("..", "...", ".. ").
int IsSafeCabinetName(const std::wstring& name);

// Extracts every entry with a safe name into destination (ends with "\"); entries with
// unsafe names, or whose target would be longer than MAX_PATH, are skipped and listed in
// skipped (may be null). Non-zero on success.
int ExtractCabinet(const std::wstring& cabinet, const std::wstring& destination,
                   std::vector<std::wstring>* skipped = nullptr);

#endif
