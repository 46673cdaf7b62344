// pelbuild: writes configured update clients, the client image this library carries
// followed by one product's settings block.
#include <windows.h>

#include <stddef.h>

#include <string>

#include "common/carried.h"
#include "common/resource_data.h"
#include "common/scoped.h"
#include "model/updater_block.h"
#include "model/updater_settings.h"

namespace {

// The library's own module, so the carried image is found whoever loaded it.
HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
    data += chunk;
    size -= chunk;
  }
  return true;
}

// Creates or empties the file. An existing file that refuses to be replaced (hidden or
// system attributes do) can still be opened and cut to nothing.
HANDLE OpenEmptied(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) return file;
  return CreateFileA(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

extern "C" int __stdcall PELLUCAST_Create(const char* path, const UpdaterSettings* settings) {
  if (!path || !settings) return 0;
  UpdaterSettingsBlock block = BlockFromSettings(*settings);
  // A line break inside a text would shift every later item when the client reads its
  // block, so such settings make no client at all.
  if (!UpdaterSettingsBlockIsWritable(block)) return 0;
  const void* image = nullptr;
  size_t imageSize = 0;
  if (!RcDataResource(ThisModule(), ZK_RES_UPDATECLIENT_IMAGE, &image, &imageSize)) return 0;
  std::string bytes = EncodeUpdaterSettingsBlock(block);

  ScopedHandle file(OpenEmptied(path));
  if (!file) return 0;
  bool written = WriteAll(file.get(), static_cast<const char*>(image), imageSize) &&
                 WriteAll(file.get(), bytes.data(), bytes.size());
  // Closing is where a full disk may report the last write, so it counts as one.
  bool closed = file.reset();
  if (written && closed) return 1;
  // A client cut short would start and read a wrong block: nothing is better.
  DeleteFileA(path);
  return 0;
}

extern "C" const char* __stdcall PELLUCAST_GetVersion() {
  static char version[] = "\"1.0.1\"";
  return version;
}
