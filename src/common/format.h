// Texts for numbers shown to the user.
#ifndef ZK_COMMON_FORMAT_H
#define ZK_COMMON_FORMAT_H

#include <stdint.h>

#include <string>

// A byte count as "512 Byte", "1.5 KB", "2 MB" or "1.2 GB": one decimal, dropped when it
// is 0. The value is reckoned as a 32-bit float, as the size column always was.
std::string FormatSize(int64_t bytes);

#endif
