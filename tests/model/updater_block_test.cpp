// The update client's settings block: the bytes a record gives, what makes a block
// unwritable, and reading a block back, including every way it can end too early.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>

#include "model/updater_block.h"
#include "model/updater_settings.h"

namespace {

UpdaterBlock FullBlock() {
  UpdaterBlock b;
  b.version = "2.5";
  b.mainAddress = "updates.example.test/app";
  b.alternativeAddress1 = "http://mirror.example.test/";
  b.alternativeAddress2 = "127.0.0.1:8080/a";
  b.language = 1;
  b.productName = "Demo \xC4pp";  // an ANSI byte above 0x7F
  b.programFile = "bin\\demo.exe";
  b.windowTitle = "Demo \xC4pp Update";
  b.terminateFlag = 1;
  b.runFlag = 0;
  b.runGuard = "guard";
  return b;
}

TEST(UpdaterBlock, AnEmptyBlockIsTwentyTwoBytes) {
  UpdaterBlock empty;
  const std::string expected("\r\n\r\n\r\n\r\n\0\0\0\0\r\n\r\n\r\n\0\0\r\n", 22);
  EXPECT_EQ(expected, EncodeUpdaterBlock(empty));
}

TEST(UpdaterBlock, EncodesItemsInOrderWithLittleEndianLanguage) {
  UpdaterBlock b = FullBlock();
  b.language = 0x01020304;
  const std::string expected =
      "2.5\r\nupdates.example.test/app\r\nhttp://mirror.example.test/\r\n127.0.0.1:8080/a\r\n" +
      std::string("\x04\x03\x02\x01", 4) + "Demo \xC4pp\r\nbin\\demo.exe\r\nDemo \xC4pp Update\r\n" +
      std::string("\x01\x00", 2) + "guard\r\n";
  EXPECT_EQ(expected, EncodeUpdaterBlock(b));
}

TEST(UpdaterBlock, RecordSlotsBecomeTheBlock) {
  UpdaterSettings s{};                                 // every text null
  s.language = static_cast<intptr_t>(0x7700000001LL);  // only the low 32 bits count
  s.terminateFlag = static_cast<intptr_t>(0x5500000000LL);
  s.runFlag = 0x101;  // only the low byte counts
  UpdaterBlock b = BlockFromSettings(s);
  UpdaterBlock expected;
  expected.language = 1;
  expected.terminateFlag = 0;
  expected.runFlag = 1;
  EXPECT_TRUE(expected == b);

  s.language = -1;
  s.version = "1.0";
  s.runGuard = "x";
  b = BlockFromSettings(s);
  EXPECT_EQ(-1, b.language);
  EXPECT_EQ("1.0", b.version);
  EXPECT_EQ("x", b.runGuard);
}

TEST(UpdaterBlock, ALineBreakInAnyTextMakesItUnwritable) {
  std::string UpdaterBlock::*texts[] = {
      &UpdaterBlock::version,
      &UpdaterBlock::mainAddress,
      &UpdaterBlock::alternativeAddress1,
      &UpdaterBlock::alternativeAddress2,
      &UpdaterBlock::productName,
      &UpdaterBlock::programFile,
      &UpdaterBlock::windowTitle,
      &UpdaterBlock::runGuard,
  };
  EXPECT_TRUE(UpdaterBlockIsWritable(FullBlock()));
  for (auto text : texts) {
    for (const char* bad : {"a\rb", "a\nb", "\r\n", "end\n"}) {
      UpdaterBlock b = FullBlock();
      b.*text = bad;
      EXPECT_FALSE(UpdaterBlockIsWritable(b)) << bad;
    }
  }
}

TEST(UpdaterBlock, DecodesWhatItEncodes) {
  for (const UpdaterBlock& b : {UpdaterBlock(), FullBlock()}) {
    UpdaterBlock read;
    read.version = "stale";
    ASSERT_TRUE(DecodeUpdaterBlock(EncodeUpdaterBlock(b), &read));
    EXPECT_TRUE(b == read);
  }
}

TEST(UpdaterBlock, LanguageAndFlagBytesMayLookLikeLineEnds) {
  UpdaterBlock b = FullBlock();
  b.language = 0x0A0D0A0D;
  b.terminateFlag = '\r';
  b.runFlag = '\n';
  UpdaterBlock read;
  ASSERT_TRUE(DecodeUpdaterBlock(EncodeUpdaterBlock(b), &read));
  EXPECT_TRUE(b == read);
}

TEST(UpdaterBlock, EveryShortenedBlockIsRefusedAndLeavesTheTargetAlone) {
  const std::string bytes = EncodeUpdaterBlock(FullBlock());
  for (size_t size = 0; size < bytes.size(); ++size) {
    UpdaterBlock read;
    read.version = "untouched";
    EXPECT_FALSE(DecodeUpdaterBlock(bytes.substr(0, size), &read)) << size;
    EXPECT_EQ("untouched", read.version) << size;
  }
}

}  // namespace
