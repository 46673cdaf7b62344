// The bytes of a program's own RCDATA resources (carried images, built-in pictures).
#ifndef ZK_COMMON_RESOURCE_DATA_H
#define ZK_COMMON_RESOURCE_DATA_H

#include <windows.h>

#include <stddef.h>

// The bytes of RCDATA resource `id` of `module` (nullptr: this program). They stay mapped
// as long as the module is loaded. false when the resource is missing or empty.
bool RcDataResource(HMODULE module, int id, const void** data, size_t* size);

#endif
