// The client's own file: its image (the first C bytes, C being the image size patched into
// the program) followed by its settings block. Reading the block at start, writing a
// rebuilt client after an update, and the rebuilt client taking the old one's place.
#ifndef ZK_UPDATECLIENT_CLIENT_FILE_H
#define ZK_UPDATECLIENT_CLIENT_FILE_H

#include <stdint.h>

#include <string>

#include "model/updater_block.h"

// This program's image size C.
uint64_t ClientImageSize();

// The block behind the first `imageSize` bytes of `clientFile`. False when the file
// cannot be read or holds no whole block (a client that pelbuild did not write).
bool ReadUpdaterSettings(const std::wstring& clientFile, uint64_t imageSize, UpdaterSettingsBlock* settings);

// Writes `target`: the first `imageSize` bytes of `clientFile`, then `settings`' block.
// False (and no file left) when anything fails or the block cannot be written.
bool WriteClientFile(const std::wstring& clientFile, uint64_t imageSize, const UpdaterSettingsBlock& settings,
                     const std::wstring& target);

// Writes the client with `newVersion` into the client's folder under a temporary name and
// starts it with "/updateversion" and the client's file name; it takes this file's place
// once this process has ended. False when nothing was started.
bool RebuildUpdateClient(const std::wstring& clientFile, uint64_t imageSize, UpdaterSettingsBlock settings,
                         const std::string& newVersion);

// The started copy's part ("/updateversion NAME"): waits a bounded time until the file
// NAME beside this program can be replaced, then moves this program's file over it in one
// step. When that does not happen the old client stays as it was and this copy removes
// itself. False when NAME is not a plain file name or the move failed.
bool TakeOldClientsPlace(const std::wstring& ownFile, const std::wstring& name, uint32_t waitMs);

#endif
