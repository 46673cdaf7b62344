// Entry-name bytes: OEM where the code page holds the whole name, UTF-8 with the flag
// otherwise. Code pages are given, so the rows hold on any machine.
#include <gtest/gtest.h>

#include <string>

#include "builder/zip_names.h"

namespace {

struct NameCase {
  const wchar_t* name;
  unsigned codePage;
  const char* bytes;
  bool utf8;
};

const NameCase kNameCases[] = {
    {L"plain.txt", 437, "plain.txt", false},
    {L"Data/sub/plain.txt", 850, "Data/sub/plain.txt", false},
    {L"", 437, "", false},
    {L"caf\u00e9.txt", 437, "caf\x82.txt", false},
    {L"caf\u00e9.txt", 850, "caf\x82.txt", false},
    // 437 has the capital omega, 850 does not.
    {L"\u03a9mega.txt", 437,
     "\xea"
     "mega.txt",
     false},
    {L"\u03a9mega.txt", 850, "\xce\xa9mega.txt", true},
    {L"\u65e5\u672c\u8a9e.txt", 437, "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", true},
    // One character the code page lacks makes the whole name UTF-8, folders included.
    {L"caf\u00e9/\u65e5.txt", 437, "caf\xc3\xa9/\xe6\x97\xa5.txt", true},
    // A look-alike that best fit would pick ("A" for A with macron) is another name.
    {L"\u0100.txt", 437, "\xc4\x80.txt", true},
    {L"\u20acuro.txt", 437,
     "\xe2\x82\xac"
     "uro.txt",
     true},
};

TEST(ZipNames, OemWhenTheCodePageHoldsTheNameElseUtf8) {
  for (const NameCase& c : kNameCases) {
    SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ", row " << (&c - kNameCases));
    ZipNameBytes stored = EncodeZipEntryName(c.name, c.codePage);
    EXPECT_EQ(stored.bytes, c.bytes);
    EXPECT_EQ(stored.utf8, c.utf8);
    // What a reader makes of the bytes and the flag is the name again.
    EXPECT_EQ(DecodeZipEntryName(stored.bytes, stored.utf8 ? kZipUtf8NameFlag : 0, c.codePage), c.name);
  }
}

}  // namespace
