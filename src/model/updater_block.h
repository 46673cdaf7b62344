// The settings block that follows the update client's image in its file: pelbuild writes
// it after the image it carries, the client reads it from the end of its own image and
// writes it again when it rebuilds itself after an update.
//
// In order: version, main address, alternative address 1 and 2 (ANSI text + CR LF each),
// language (int32 little endian), product name, program file, window title (ANSI text +
// CR LF each), terminate flag and run flag (one byte each, the low byte of the value),
// run guard (ANSI text + CR LF). No length fields; nothing follows the last line. Texts
// must not hold CR or LF.
#ifndef ZK_MODEL_UPDATER_BLOCK_H
#define ZK_MODEL_UPDATER_BLOCK_H

#include <stdint.h>

#include <string>

#include "model/updater_settings.h"

struct UpdaterSettingsBlock {
  std::string version;
  std::string mainAddress;
  std::string alternativeAddress1;
  std::string alternativeAddress2;
  int32_t language = 0;
  std::string productName;
  std::string programFile;
  std::string windowTitle;
  uint8_t terminateFlag = 0;
  uint8_t runFlag = 0;
  std::string runGuard;
};

bool operator==(const UpdaterSettingsBlock& a, const UpdaterSettingsBlock& b);

// The block of a settings record: null texts become empty, the integers keep their low
// 32 bits (the language) or their low byte (the flags).
UpdaterSettingsBlock BlockFromSettings(const UpdaterSettings& settings);

// The record pointing into `block`'s texts, for as long as the block lives unchanged; an
// empty run guard stays null.
UpdaterSettings SettingsRecordOf(const UpdaterSettingsBlock& block);

// False when a text of the block holds CR or LF: such a block cannot be written.
bool UpdaterSettingsBlockIsWritable(const UpdaterSettingsBlock& block);

// The block's bytes. Call only for a writable block.
std::string EncodeUpdaterSettingsBlock(const UpdaterSettingsBlock& block);

// Reads a block from `bytes` (everything from offset C of the client's file). False when
// the bytes end before the run guard's line is complete.
bool DecodeUpdaterSettingsBlock(const std::string& bytes, UpdaterSettingsBlock* block);

#endif
