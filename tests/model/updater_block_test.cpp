// The update client's settings block: the bytes a record gives, what makes a block
// unwritable, and reading a block back, including every way it can end too early.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>

#include "model/updater_block.h"
#include "model/updater_settings.h"

namespace {

UpdaterSettingsBlock FullBlock() {
  UpdaterSettingsBlock b;
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

TEST(UpdaterSettingsBlock, AnEmptyBlockIsTwentyTwoBytes) {
  UpdaterSettingsBlock empty;
  const std::string expected("\r\n\r\n\r\n\r\n\0\0\0\0\r\n\r\n\r\n\0\0\r\n", 22);
  EXPECT_EQ(expected, EncodeUpdaterSettingsBlock(empty));
}

TEST(UpdaterSettingsBlock, EncodesItemsInOrderWithLittleEndianLanguage) {
  UpdaterSettingsBlock b = FullBlock();
  b.language = 0x01020304;
  const std::string expected =
      "2.5\r\nupdates.example.test/app\r\nhttp://mirror.example.test/\r\n127.0.0.1:8080/a\r\n" +
      std::string("\x04\x03\x02\x01", 4) + "Demo \xC4pp\r\nbin\\demo.exe\r\nDemo \xC4pp Update\r\n" +
      std::string("\x01\x00", 2) + "guard\r\n";
  EXPECT_EQ(expected, EncodeUpdaterSettingsBlock(b));
}

TEST(UpdaterSettingsBlock, RecordSlotsBecomeTheBlock) {
  UpdaterSettings s{};                                 // every text null
  s.language = static_cast<intptr_t>(0x7700000001LL);  // only the low 32 bits count
  s.terminateFlag = static_cast<intptr_t>(0x5500000000LL);
  s.runFlag = 0x101;  // only the low byte counts
  UpdaterSettingsBlock b = BlockFromSettings(s);
  UpdaterSettingsBlock expected;
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

TEST(UpdaterSettingsBlock, ALineBreakInAnyTextMakesItUnwritable) {
  std::string UpdaterSettingsBlock::*texts[] = {
      &UpdaterSettingsBlock::version,
      &UpdaterSettingsBlock::mainAddress,
      &UpdaterSettingsBlock::alternativeAddress1,
      &UpdaterSettingsBlock::alternativeAddress2,
      &UpdaterSettingsBlock::productName,
      &UpdaterSettingsBlock::programFile,
      &UpdaterSettingsBlock::windowTitle,
      &UpdaterSettingsBlock::runGuard,
  };
  EXPECT_TRUE(UpdaterSettingsBlockIsWritable(FullBlock()));
  for (auto text : texts) {
    for (const char* bad : {"a\rb", "a\nb", "\r\n", "end\n"}) {
      UpdaterSettingsBlock b = FullBlock();
      b.*text = bad;
      EXPECT_FALSE(UpdaterSettingsBlockIsWritable(b)) << bad;
    }
  }
}

TEST(UpdaterSettingsBlock, DecodesWhatItEncodes) {
  for (const UpdaterSettingsBlock& b : {UpdaterSettingsBlock(), FullBlock()}) {
    UpdaterSettingsBlock read;
    read.version = "stale";
    ASSERT_TRUE(DecodeUpdaterSettingsBlock(EncodeUpdaterSettingsBlock(b), &read));
    EXPECT_TRUE(b == read);
  }
}

TEST(UpdaterSettingsBlock, LanguageAndFlagBytesMayLookLikeLineEnds) {
  UpdaterSettingsBlock b = FullBlock();
  b.language = 0x0A0D0A0D;
  b.terminateFlag = '\r';
  b.runFlag = '\n';
  UpdaterSettingsBlock read;
  ASSERT_TRUE(DecodeUpdaterSettingsBlock(EncodeUpdaterSettingsBlock(b), &read));
  EXPECT_TRUE(b == read);
}

TEST(UpdaterSettingsBlock, EveryShortenedBlockIsRefusedAndLeavesTheTargetAlone) {
  const std::string bytes = EncodeUpdaterSettingsBlock(FullBlock());
  for (size_t size = 0; size < bytes.size(); ++size) {
    UpdaterSettingsBlock read;
    read.version = "untouched";
    EXPECT_FALSE(DecodeUpdaterSettingsBlock(bytes.substr(0, size), &read)) << size;
    EXPECT_EQ("untouched", read.version) << size;
  }
}

}  // namespace
