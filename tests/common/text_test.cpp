#include <gtest/gtest.h>

#include "common/text.h"

TEST(Text, Utf8RoundTripsThroughWide) {
  const std::string utf8 =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x82\xAC \xF0\x9F\x98\x80";  // Grüße € 😀
  std::wstring w = Utf8ToWide(utf8);
  EXPECT_EQ(w, L"Gr\u00FC\u00DFe \u20AC \U0001F600");
  EXPECT_EQ(WideToUtf8(w), utf8);
}

TEST(Text, AnsiIsTheWindows1252CodePageUnderTheTestPrefix) {
  // The test prefix runs with an English locale: ANSI is code page 1252.
  EXPECT_EQ(AnsiToUtf8("\xFC"), "\xC3\xBC");
  EXPECT_EQ(Utf8ToAnsi("\xC3\xBC"), "\xFC");
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC"), "\x80");  // euro sign
}

TEST(Text, EmptyAndInvalidInput) {
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(Utf8ToWide("a\xFF"
                       "b"),
            L"a\uFFFD"
            L"b");
}
