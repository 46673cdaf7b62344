// The cabinet writer under Wine. The cabinet written to OutDir() is checked again on the
// Linux side by check_archives.sh with cabextract.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "builder/cabinet_writer.h"
#include "builder/test_files.h"

namespace {

struct CabFile {
  const char* source;  // in the source folder
  const char* name;    // in the cabinet
  size_t size;
};

// The resource files of a setup, added in the build's order under the build's names.
// Desktop.dat and Variables.dat are empty, as when a project has no such rows.
const CabFile kSetupFiles[] = {
    {"SC.dat", "SC.dat", 900},
    {"languages.dat", "languages.dat", 9},
    {"Desktop.dat", "Desktop.dat", 0},
    {"Startmenu.dat", "Startmenu.dat", 120},
    {"Registry.dat", "Registry.dat", 70},
    {"OS.dat", "OS.dat", 150},
    {"Variables.dat", "Variables.dat", 0},
    {"Commands.dat", "Commands.dat", 60},
    {"German.zkl", "Default.zkl", 30000},
    {"German.zkl", "German.zkl", 30000},
    {"1.jpg", "Image_Left.jpg", 2500000},  // more than one folder of the cabinet
    {"2.jpg", "Image_Top.jpg", 40000},
    {"3.jpg", "icon.dat", 5000},
    {"doc.rtf", "licence.rtf", 12000},
    {"author.dll", "dll.dll", 70000},
};

class CabinetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCabinetWriter();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    temp_ = OutPath(std::string("cabtemp_") + info->name());
    MakeFolders(temp_);
  }
  // Whatever happened, the library's work files are gone.
  void TearDown() override { EXPECT_EQ(FolderEntries(temp_), std::vector<std::string>{}); }
  std::string temp_;
};

TEST_F(CabinetTest, SetupFilesGoInUnderTheirNamesAndEmptyOnesStayOut) {
  std::string src = OutPath("cab_src\\");
  MakeFolders(src);
  uint32_t seed = 100;
  for (const CabFile& f : kSetupFiles) PutBytes(src + f.source, MixedData(f.size, ++seed));
  SetFileAttributesA((src + "doc.rtf").c_str(), FILE_ATTRIBUTE_READONLY);
  DWORD readOnly = GetFileAttributesA((src + "doc.rtf").c_str());
  ASSERT_NE(readOnly & FILE_ATTRIBUTE_READONLY, 0u);
  // Folders that do not exist yet are made.
  std::string cabinetPath = OutPath("cab\\new\\deeper\\Setup.cab");
  CabinetContext* cabinet = CreateCabinet(cabinetPath, temp_);
  ASSERT_NE(cabinet, nullptr);

  std::string expected;  // "name<TAB>source" lines for the check script
  for (const CabFile& f : kSetupFiles) {
    SCOPED_TRACE(f.name);
    int result = std::string(f.source) == f.name ? AddCabinetFileByName(cabinet, src + f.source)
                                                 : AddCabinetFile(cabinet, src + f.source, f.name);
    EXPECT_EQ(result, f.size == 0 ? kCabinetFileEmpty : kCabinetFileAdded);
    if (f.size != 0) expected += std::string(f.name) + "\t" + f.source + "\n";
  }
  EXPECT_EQ(GetFileAttributesA((src + "doc.rtf").c_str()), readOnly);
  EXPECT_EQ(CloseCabinet(cabinet), 1);
  EXPECT_TRUE(PathExists(cabinetPath));
  SetFileAttributesA((src + "doc.rtf").c_str(), FILE_ATTRIBUTE_NORMAL);
  PutBytes(OutPath("cab_expected.txt"), expected);
}

TEST_F(CabinetTest, MissingSourceIsReportedAndTheCabinetStillWrites) {
  std::string dir = OutPath("scratch\\cab_missing\\");
  MakeFolders(dir + "folder.dat");
  PutBytes(dir + "real.dat", "real");
  CabinetContext* cabinet = CreateCabinet(dir + "Setup.cab", temp_);
  ASSERT_NE(cabinet, nullptr);
  EXPECT_EQ(AddCabinetFile(cabinet, dir + "absent.dat", "absent.dat"), kCabinetSourceMissing);
  EXPECT_EQ(AddCabinetFile(cabinet, dir + "folder.dat", "folder.dat"), kCabinetSourceMissing);
  EXPECT_EQ(AddCabinetFileByName(cabinet, dir + "real.dat"), kCabinetFileAdded);
  EXPECT_EQ(CloseCabinet(cabinet), 1);
  EXPECT_GT(GetBytes(dir + "Setup.cab").size(), 0u);
}

TEST_F(CabinetTest, UnwritableTargetFailsAndLeavesNothing) {
  // The cabinet's path is taken by a folder, so the library cannot create the file.
  std::string dir = OutPath("scratch\\cab_unwritable\\");
  MakeFolders(dir + "Setup.cab");
  PutBytes(dir + "SC.dat", MixedData(5000, 1));
  CabinetContext* cabinet = CreateCabinet(dir + "Setup.cab", temp_);
  ASSERT_NE(cabinet, nullptr);
  EXPECT_EQ(AddCabinetFileByName(cabinet, dir + "SC.dat"), kCabinetFileAdded);
  EXPECT_EQ(CloseCabinet(cabinet), 0);
  EXPECT_EQ(FolderEntries(dir + "Setup.cab"), std::vector<std::string>{});
}

TEST_F(CabinetTest, RefusedFileLosesTheCabinetAndAnOldOneGoes) {
  std::string dir = OutPath("scratch\\cab_refused\\");
  MakeFolders(dir);
  PutBytes(dir + "Setup.cab", "a cabinet of an earlier build");
  PutBytes(dir + "SC.dat", MixedData(5000, 2));
  CabinetContext* cabinet = CreateCabinet(dir + "Setup.cab", temp_);
  ASSERT_NE(cabinet, nullptr);
  EXPECT_EQ(AddCabinetFileByName(cabinet, dir + "SC.dat"), kCabinetFileAdded);
  // Names inside a cabinet are limited to 255 bytes.
  EXPECT_EQ(AddCabinetFile(cabinet, dir + "SC.dat", std::string(300, 'n')), kCabinetAddFailed);
  EXPECT_EQ(AddCabinetFileByName(cabinet, dir + "SC.dat"), kCabinetAddFailed);
  EXPECT_EQ(CloseCabinet(cabinet), 0);
  EXPECT_FALSE(PathExists(dir + "Setup.cab"));
}

TEST_F(CabinetTest, CreateRefusesPathsItCannotUse) {
  std::string dir = OutPath("scratch\\cab_create\\");
  MakeFolders(dir);
  PutBytes(dir + "plain.txt", "a file, not a folder");
  const std::string paths[] = {
      "Setup.cab",                           // no folder part
      dir + "plain.txt\\Setup.cab",          // its folder is a file
      dir,                                   // no file name
      dir + std::string(300, 'c') + ".cab",  // name too long for the library
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    EXPECT_EQ(CreateCabinet(path, temp_), nullptr);
  }
  EXPECT_EQ(AddCabinetFile(nullptr, dir + "plain.txt", "plain.txt"), kCabinetAddFailed);
  EXPECT_EQ(CloseCabinet(nullptr), 0);
}

}  // namespace
