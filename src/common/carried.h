// Resource numbers of the program images that one program carries for another, and the
// tagged slot through which a carried program knows its own image size. Included by C++
// and by resource scripts.
#ifndef ZK_COMMON_CARRIED_H
#define ZK_COMMON_CARRIED_H

#define ZK_RES_UNINSTALLER_IMAGE 201
#define ZK_RES_SETUPRUNTIME_IMAGE 202
#define ZK_RES_UPDATECLIENT_IMAGE 203

#ifndef RC_INVOKED
#include <stdint.h>

// A program whose own file is followed by appended data keeps its image size in a
// 16-byte slot: an 8-byte tag, then the size as 64-bit little endian. The build patches
// the size after linking (cmake/patch-image-size.pl); the tag appears nowhere else.
// `volatile` keeps the compiler from folding the unpatched zero into the code.
#define ZK_IMAGE_SIZE_SLOT(name, t0, t1, t2, t3, t4, t5, t6, t7)                                            \
  extern "C" __attribute__((used)) volatile const unsigned char name[16] = {t0, t1, t2, t3, t4, t5, t6, t7, \
                                                                            0,  0,  0,  0,  0,  0,  0,  0}

inline uint64_t ImageSizeFromSlot(const volatile unsigned char* slot) {
  uint64_t v = 0;
  for (int i = 15; i >= 8; --i) v = (v << 8) | slot[i];
  return v;
}
#endif

#endif
