// FormatSize: the size texts of the files list and the build log.
#include "common/format.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatSizeTest, UnitsAndDecimals) {
  struct Case {
    int64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 Byte"},
      {512, "512 Byte"},
      {1023, "1023 Byte"},
      {1024, "1 KB"},
      {1536, "1.5 KB"},
      {1537, "1.5 KB"},
      {2048, "2 KB"},
      // 1.96 KB rounds to "2.0", whose zero decimal is dropped.
      {2007, "2 KB"},
      {10 * 1024 + 512, "10.5 KB"},
      {1048575, "1024 KB"},
      {1048576, "1 MB"},
      {3 * 1048576 / 2, "1.5 MB"},
      {int64_t{1} << 30, "1 GB"},
      {int64_t{5} << 40, "5120 GB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(c.text, FormatSize(c.bytes));
  }
}

}  // namespace
