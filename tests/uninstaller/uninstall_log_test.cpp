// Reading the uninstall log: a hand-written log read into records, a log cut off while
// the setup wrote it used up to its last whole record, and damaged logs refused as a whole.
#include <gtest/gtest.h>

#include "uninstaller/uninstall_test_files.h"
#include "uninstaller/uninstall_log.h"

namespace {

// Written byte by byte as the setup writes it. The entry count 0x0A0D holds the bytes of
// CR and LF, which must not be taken for a line end.
const char kFixture[] =
    "\x07\x00\x00\x00"
    "Trip \xC3\x9C"
    "ber\r\n"  // "Trip Über" in UTF-8
    "1.2\r\n"
    "http://trip.example\r\n"
    "C:\\Apps\\Trip\\\r\n"
    "\x0D\x0A\x00\x00"
    "#DF\r\nC:\\Apps\\Trip\\a.txt\r\n"
    "a stray line\r\n"
    "#DD\r\nC:\\Apps\\Trip\\docs\\\r\n"
    "#DRK\r\nHKEY_LOCAL_MACHINE\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trip\r\n"
    "\r\n"
    "#DRV\r\nHKEY_CURRENT_USER\r\nSoftware\\Trip\\\r\nColour\r\n";

TEST(UninstallLog, ReadsHeaderAndRecordsInFileOrder) {
  UninstallLog log;
  ASSERT_EQ(ParseUninstallLog(std::string(kFixture, sizeof(kFixture) - 1), &log), LogStatus::Ok);
  EXPECT_EQ(log.productName, L"Trip \u00DCber");
  EXPECT_EQ(log.productVersion, L"1.2");
  EXPECT_EQ(log.website, L"http://trip.example");
  EXPECT_EQ(log.installFolder, L"C:\\Apps\\Trip\\");
  EXPECT_EQ(log.entryCount, 0x0A0D);
  ASSERT_EQ(log.records.size(), 4u);
  EXPECT_EQ(log.records[0].kind, RecordKind::File);
  EXPECT_EQ(log.records[0].path, L"C:\\Apps\\Trip\\a.txt");
  EXPECT_EQ(log.records[1].kind, RecordKind::Folder);
  EXPECT_EQ(log.records[1].path, L"C:\\Apps\\Trip\\docs\\");
  EXPECT_EQ(log.records[2].kind, RecordKind::RegistryKey);
  EXPECT_EQ(log.records[2].rootName, L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(log.records[2].key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trip");
  EXPECT_EQ(log.records[3].kind, RecordKind::RegistryValue);
  EXPECT_EQ(log.records[3].rootName, L"HKEY_CURRENT_USER");
  EXPECT_EQ(log.records[3].key, L"Software\\Trip\\");
  EXPECT_EQ(log.records[3].valueName, L"Colour");
}

TEST(UninstallLog, ReadsTheFileAndTellsAMissingOne) {
  std::wstring folder = TestFolder();
  ASSERT_TRUE(PutBytes(folder + L"uninstall.dat", std::string(kFixture, sizeof(kFixture) - 1)));
  UninstallLog log;
  ASSERT_EQ(ReadUninstallLog(folder + L"uninstall.dat", &log), LogStatus::Ok);
  EXPECT_EQ(log.records.size(), 4u);
  EXPECT_EQ(ReadUninstallLog(folder + L"none.dat", &log), LogStatus::Missing);
}

TEST(UninstallLog, HeaderWithoutRecordsIsAnEmptyLog) {
  UninstallLog log;
  ASSERT_EQ(ParseUninstallLog(LogBytes(7, {L"P", L"", L"", L"C:\\P\\"}, 0, {}), &log), LogStatus::Ok);
  EXPECT_TRUE(log.records.empty());
  EXPECT_EQ(log.website, L"");
}

struct DamagedCase {
  const char* name;
  std::string bytes;
  LogStatus expected;
};

TEST(UninstallLog, DamagedLogsAreRefusedWhole) {
  const std::vector<std::wstring> header = {L"P", L"1", L"", L"C:\\P\\"};
  const std::string good = LogBytes(7, header, 1, {L"#DF", L"C:\\P\\a.txt"});
  const DamagedCase cases[] = {
      {"empty file", "", LogStatus::WrongVersion},
      {"version cut", std::string("\x07\x00", 2), LogStatus::WrongVersion},
      {"version 6", LogBytes(6, header, 1, {L"#DF", L"C:\\P\\a.txt"}), LogStatus::WrongVersion},
      {"version 8", LogBytes(8, header, 1, {L"#DF", L"C:\\P\\a.txt"}), LogStatus::WrongVersion},
      {"text instead of a version", "#DF\r\nC:\\P\\a.txt\r\n", LogStatus::WrongVersion},
      {"no header", good.substr(0, 4), LogStatus::ShortHeader},
      {"three header lines", LogBytes(7, {L"P", L"1", L""}, 0, {}).substr(0, 4 + 8), LogStatus::ShortHeader},
      {"no entry count", LogBytes(7, header, 0, {}).substr(0, LogBytes(7, header, 0, {}).size() - 4),
       LogStatus::ShortHeader},
      {"entry count cut", LogBytes(7, header, 0, {}).substr(0, LogBytes(7, header, 0, {}).size() - 2),
       LogStatus::ShortHeader},
      // A record that lost its data lines while the file goes on: a marker stands where
      // its path, root name or key should be.
      {"file record whose path is the next marker", LogBytes(7, header, 1, {L"#DF", L"#DD", L"C:\\P\\d\\"}),
       LogStatus::CutRecord},
      {"folder record broken off before a whole one",
       LogBytes(7, header, 1, {L"#DD", L"#DF", L"C:\\P\\a.txt", L"#DF", L"C:\\P\\b.txt"}), LogStatus::CutRecord},
      {"key record whose key is the next marker",
       LogBytes(7, header, 0, {L"#DRK", L"HKEY_CURRENT_USER", L"#DRV", L"HKEY_CURRENT_USER", L"Software\\P\\", L"v"}),
       LogStatus::CutRecord},
      {"value record whose root is the next marker", LogBytes(7, header, 0, {L"#DRV", L"#DF", L"C:\\P\\a.txt", L"x"}),
       LogStatus::CutRecord},
  };
  for (const DamagedCase& c : cases) {
    UninstallLog log;
    log.productName = L"untouched";
    EXPECT_EQ(ParseUninstallLog(c.bytes, &log), c.expected) << c.name;
    EXPECT_EQ(log.productName, L"untouched") << c.name;
    EXPECT_TRUE(log.records.empty()) << c.name;
  }
}

struct CutCase {
  const char* name;
  std::string bytes;
  size_t wholeRecords;
};

// The setup stopped while it wrote the last record: the log is used up to the records
// before it, and the length the uninstaller vouches for ends where they end.
TEST(UninstallLog, LogCutInsideItsLastRecordKeepsTheWholeRecords) {
  const std::vector<std::wstring> header = {L"P", L"1", L"", L"C:\\P\\"};
  const std::vector<std::wstring> first = {L"#DF", L"C:\\P\\a.txt"};
  const std::string headerOnly = LogBytes(7, header, 1, {});
  const std::string whole = LogBytes(7, header, 1, first);
  auto after = [&](const std::vector<std::wstring>& lines) { return whole + LogBytes(7, {}, 0, lines).substr(8); };
  const std::string value = after({L"#DRV", L"HKEY_CURRENT_USER", L"Software\\P\\", L"Colour"});
  const CutCase cases[] = {
      {"cut inside the marker", after({}) + "#D", 1},
      {"marker without its line end", after({}) + "#DD\r", 1},
      {"marker without its path", after({L"#DD"}), 1},
      {"cut inside the path", after({L"#DD"}) + "C:\\P\\do", 1},
      {"path without its line end", after({L"#DD"}) + "C:\\P\\docs\\", 1},
      {"path without its line feed", after({L"#DD"}) + "C:\\P\\docs\\\r", 1},
      {"key record with one of two lines", after({L"#DRK", L"HKEY_CURRENT_USER"}), 1},
      {"value record with two of three lines", after({L"#DRV", L"HKEY_CURRENT_USER", L"Software\\P\\"}), 1},
      {"value record without the value name's line end", value.substr(0, value.size() - 1), 1},
      {"first record cut", headerOnly + "#DF\r\nC:", 0},
      {"a stray line cut after the records", after({}) + "stray", 1},
  };
  for (const CutCase& c : cases) {
    UninstallLog log;
    ASSERT_EQ(ParseUninstallLog(c.bytes, &log), LogStatus::Ok) << c.name;
    EXPECT_TRUE(log.cut) << c.name;
    EXPECT_EQ(log.productName, L"P") << c.name;
    ASSERT_EQ(log.records.size(), c.wholeRecords) << c.name;
    if (c.wholeRecords == 1) {
      EXPECT_EQ(log.records[0].path, L"C:\\P\\a.txt") << c.name;
    }
    EXPECT_EQ(log.wholeLength, c.wholeRecords == 1 ? whole.size() : headerOnly.size()) << c.name;
  }
  UninstallLog log;
  ASSERT_EQ(ParseUninstallLog(value, &log), LogStatus::Ok);
  EXPECT_FALSE(log.cut);
  EXPECT_EQ(log.records.size(), 2u);
  EXPECT_EQ(log.wholeLength, value.size());
}

}  // namespace
