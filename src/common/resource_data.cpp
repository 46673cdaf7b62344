#include "common/resource_data.h"

bool RcDataResource(HMODULE module, int id, const void** data, size_t* size) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  DWORD bytes = SizeofResource(module, found);
  const void* p = loaded ? LockResource(loaded) : nullptr;
  if (!p || bytes == 0) return false;
  *data = p;
  *size = bytes;
  return true;
}
