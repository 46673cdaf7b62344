// SHA-256 against the published test vectors, whole and fed in pieces.
#include <gtest/gtest.h>

#include "common/sha256.h"

namespace {

struct Vector {
  const char* name;
  std::string message;
  const char* digest;
};

const Vector kVectors[] = {
    {"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"448 bits", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"896 bits",
     "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {"one million a", std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256, PublishedVectors) {
  for (const Vector& v : kVectors) EXPECT_EQ(Sha256Hex(v.message), v.digest) << v.name;
}

// Piece sizes that cross the 64-byte blocks and the padding's 56-byte boundary in every way.
TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  for (const Vector& v : kVectors) {
    for (size_t piece : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 1000u}) {
      Sha256 s;
      Sha256Init(&s);
      for (size_t at = 0; at < v.message.size(); at += piece) {
        Sha256Update(&s, v.message.data() + at, std::min(piece, v.message.size() - at));
      }
      EXPECT_EQ(Sha256HexDigest(s), v.digest) << v.name << " in pieces of " << piece;
    }
  }
}

TEST(Sha256, DigestOnTheWayLeavesTheRunningStateAlone) {
  Sha256 s;
  Sha256Init(&s);
  Sha256Update(&s, "ab", 2);
  EXPECT_EQ(Sha256HexDigest(s), Sha256Hex("ab"));
  Sha256Update(&s, "c", 1);
  EXPECT_EQ(Sha256HexDigest(s), kVectors[1].digest);
}

}  // namespace
