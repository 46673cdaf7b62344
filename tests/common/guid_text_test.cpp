#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "common/guid_text.h"

namespace {

// Read back by the system's own parser, which takes only the exact braced form.
bool Parses(const std::wstring& text, GUID* guid) { return SUCCEEDED(IIDFromString(text.c_str(), guid)); }

TEST(GuidText, SystemReadsItBackAndEachCallIsNew) {
  std::wstring a = NewGuidText(), b = NewGuidText();
  std::string narrow = NewGuidTextAnsi();
  GUID ga{}, gb{}, gn{};
  ASSERT_TRUE(Parses(a, &ga)) << a.c_str();
  ASSERT_TRUE(Parses(b, &gb));
  ASSERT_TRUE(Parses(std::wstring(narrow.begin(), narrow.end()), &gn)) << narrow;
  EXPECT_EQ(38u, a.size()) << "nothing follows the closing brace";
  EXPECT_EQ(38u, narrow.size());
  EXPECT_FALSE(IsEqualGUID(ga, gb));
  EXPECT_FALSE(IsEqualGUID(ga, gn));
  EXPECT_FALSE(IsEqualGUID(ga, GUID{}));
}

}  // namespace
