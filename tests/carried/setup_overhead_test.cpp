// What every setup carries before its payload: the setup runtime, which holds the
// uninstaller image inside it, so its file size is the two together. It stays within its
// budget, and the uninstaller, whose pictures are all BMP, links no JPEG or PNG decoder.
#include <gtest/gtest.h>

#include <string>

#include "support/file_bytes.h"

namespace {

// Bytes. Measured at 865,792 and 279,040 (the failure causes' step texts and calls cost
// about 8 KB of the runtime); the margins leave room for small changes, not for a decoder
// library, the C library's printf or a picture that a program does not use.
constexpr long long kSetupRuntimeBudget = 872000;
constexpr long long kUninstallerBudget = 286000;

TEST(SetupOverhead, ProgramsStayWithinTheirBudgets) {
  struct Row {
    const char* file;
    long long budget;
  };
  for (const Row& r : {Row{"SetupRuntime.exe", kSetupRuntimeBudget}, Row{"Uninstaller.exe", kUninstallerBudget}}) {
    long long size = static_cast<long long>(GetBytes(r.file).size());
    ASSERT_GT(size, 0) << r.file;
    EXPECT_LE(size, r.budget) << r.file;
  }
}

// Text that only the decoder libraries hold: one of libpng's and one of libjpeg's error
// messages, both raised while reading a file, so they stay in a program that decodes. The
// setup runtime rows show that the markers find the libraries.
TEST(SetupOverhead, OnlyTheSetupRuntimeLinksTheJpegAndPngDecoders) {
  struct Row {
    const char* file;
    const char* marker;
    bool present;
  };
  const Row rows[] = {
      {"SetupRuntime.exe", "PNG file corrupted by ASCII conversion", true},
      {"SetupRuntime.exe", "Bogus Huffman table definition", true},
      {"Uninstaller.exe", "PNG file corrupted by ASCII conversion", false},
      {"Uninstaller.exe", "Bogus Huffman table definition", false},
  };
  for (const Row& r : rows) {
    std::string image = GetBytes(r.file);
    ASSERT_FALSE(image.empty()) << r.file;
    EXPECT_EQ(image.find(r.marker) != std::string::npos, r.present) << r.file << ": " << r.marker;
  }
}

}  // namespace
