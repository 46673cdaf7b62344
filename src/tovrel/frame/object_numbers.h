// Numbers for frame objects made with -1, and command ids for buttons added with -1.
#ifndef ZK_TOVREL_FRAME_OBJECT_NUMBERS_H
#define ZK_TOVREL_FRAME_OBJECT_NUMBERS_H

#include <stdint.h>

namespace tovrel {

// A number no earlier call returned; starts clear of the small numbers programs choose.
intptr_t AllocateObjectNumber();

// A command id for -1: counts down from 65534, so it stays clear of the program's own
// small ids. Never 0, which callers read as failure.
int32_t AllocateCommandId();

}  // namespace tovrel

#endif
