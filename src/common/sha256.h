// SHA-256 digests, fed in pieces: the setup keeps one running over the uninstall log as it
// grows, the uninstaller takes one over the log it reads.
#ifndef ZK_COMMON_SHA256_H
#define ZK_COMMON_SHA256_H

#include <stddef.h>
#include <stdint.h>

#include <string>

struct Sha256 {
  uint32_t state[8] = {};
  uint64_t length = 0;  // bytes fed so far
  unsigned char block[64] = {};
  size_t used = 0;  // bytes of block waiting for the next compression
};

void Sha256Init(Sha256* s);
void Sha256Update(Sha256* s, const void* data, size_t size);
// The digest of everything fed so far as 64 lowercase hex digits. s is left as it was, so
// feeding can go on and a later digest covers more.
std::string Sha256HexDigest(const Sha256& s);
// The digest of bytes in one call.
std::string Sha256Hex(const std::string& bytes);

#endif
