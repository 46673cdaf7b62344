// The record that the tool hands to pelbuild.dll's PELLUCAST_Create, and the two exports'
// signatures. The record crosses a module boundary, so its layout is fixed: eleven
// consecutive pointer-sized slots (slot k at offset 8k on 64-bit Windows). Texts are ANSI
// strings, a null pointer counting as an empty text; the three integers live in the low
// 32 bits of their slots.
#ifndef ZK_MODEL_UPDATER_SETTINGS_H
#define ZK_MODEL_UPDATER_SETTINGS_H

#include <stddef.h>
#include <stdint.h>

struct UpdaterSettings {
  const char* version;
  const char* mainAddress;
  const char* alternativeAddress1;
  const char* alternativeAddress2;
  intptr_t language;  // 0 English, 1 German, anything else: no texts
  const char* productName;
  const char* programFile;  // relative to the client's folder, or absolute
  const char* windowTitle;
  intptr_t terminateFlag;  // 1: end the running program before updating
  intptr_t runFlag;        // 1: start the program when the client finishes
  const char* runGuard;    // not empty: the client runs only when its first argument equals it
};
static_assert(offsetof(UpdaterSettings, runGuard) == 10 * sizeof(void*), "eleven pointer-sized slots");

// The library's file, its module name in the export table, and the exports (by name, at
// ordinals 1 and 2).
constexpr char kPelbuildFile[] = "pelbuild.dll";
constexpr char kPelbuildModuleName[] = "pellucastcore";
constexpr char kPellucastCreateName[] = "PELLUCAST_Create";
constexpr char kPellucastGetVersionName[] = "PELLUCAST_GetVersion";

extern "C" {
// Writes the client image followed by the settings block to `path`: 1 on success, 0 when
// the file cannot be written (nothing is left behind then).
typedef int(__stdcall* PellucastCreateProc)(const char* path, const UpdaterSettings* settings);
// The address of the library's version text, "\"1.0.1\"" with its quotes.
typedef const char*(__stdcall* PellucastGetVersionProc)();
}

#endif
