// The interface of pelbuild.dll, shared by the library and its caller.
#ifndef ZK_PELBUILD_H
#define ZK_PELBUILD_H

#include <stdint.h>

// Eleven slots; text slots are ANSI strings, a null pointer counts as an empty text.
// Every slot is pointer-sized so that the record holds addresses on 64-bit Windows.
struct UpdaterSettings {
  const char* version;
  const char* mainAddress;
  const char* alternativeAddress1;
  const char* alternativeAddress2;
  intptr_t language;  // 0 English, 1 German
  const char* productName;
  const char* programFile;
  const char* windowTitle;
  intptr_t terminateFlag;
  intptr_t runFlag;
  const char* runGuard;
};

extern "C" {
typedef int(__stdcall* PellucastCreateProc)(const char* path, const UpdaterSettings* settings);
typedef const char*(__stdcall* PellucastGetVersionProc)();
}

#endif
