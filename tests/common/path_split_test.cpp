#include <gtest/gtest.h>

#include <string>

#include "common/path_split.h"

namespace {

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

TEST(PathSplit, AwkwardPaths) {
  const struct {
    const char* path;
    const char* folder;
    const char* name;
    const char* extension;
  } cases[] = {
      {"C:\\Data\\Setup.exe", "C:\\Data\\", "Setup.exe", "exe"},
      {"C:\\Data\\", "C:\\Data\\", "", ""},  // a trailing separator leaves no name
      {"C:\\Data\\\\", "C:\\Data\\\\", "", ""},
      {"C:/Data/Readme.txt", "C:/Data/", "Readme.txt", "txt"},
      {"C:\\Mixed/Sub\\a.b.c", "C:\\Mixed/Sub\\", "a.b.c", "c"},
      {"Setup.exe", "", "Setup.exe", "exe"},
      {"NoSeparator", "", "NoSeparator", ""},
      {"C:\\", "C:\\", "", ""},
      {"C:", "C:", "", ""},
      {"C:name.txt", "C:", "name.txt", "txt"},  // drive-relative
      {"\\\\server\\share\\file", "\\\\server\\share\\", "file", ""},
      {"\\\\server\\share\\", "\\\\server\\share\\", "", ""},
      {"C:\\Dotted.dir\\file", "C:\\Dotted.dir\\", "file", ""},  // the dot is in the folder
      {"C:\\Data\\.hidden", "C:\\Data\\", ".hidden", "hidden"},
      {"C:\\Data\\name.", "C:\\Data\\", "name.", ""},
      {"x:y:z", "x:", "y:z", ""},  // only the drive's colon separates
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.folder, PathFolder(std::string(c.path))) << c.path;
    EXPECT_EQ(c.name, PathFileName(std::string(c.path))) << c.path;
    EXPECT_EQ(c.extension, PathExtension(std::string(c.path))) << c.path;
    EXPECT_EQ(std::string(c.folder) + c.name, c.path) << "folder and name make the path again";
    EXPECT_EQ(Wide(c.folder), PathFolder(Wide(c.path))) << c.path;
    EXPECT_EQ(Wide(c.name), PathFileName(Wide(c.path))) << c.path;
    EXPECT_EQ(Wide(c.extension), PathExtension(Wide(c.path))) << c.path;
  }
}

TEST(PathSplit, JoinAddsOneSeparator) {
  const struct {
    const char* folder;
    const char* name;
    const char* joined;
  } cases[] = {
      {"C:\\Data", "a.txt", "C:\\Data\\a.txt"},
      {"C:\\Data\\", "a.txt", "C:\\Data\\a.txt"},
      {"C:/Data/", "a.txt", "C:/Data/a.txt"},
      {"", "a.txt", "a.txt"},
      {"\\\\server\\share", "a", "\\\\server\\share\\a"},
      {"C:\\Data", "", "C:\\Data\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.joined, PathJoin(std::string(c.folder), std::string(c.name))) << c.folder << " + " << c.name;
    EXPECT_EQ(Wide(c.joined), PathJoin(Wide(c.folder), Wide(c.name))) << c.folder << " + " << c.name;
  }
}

}  // namespace
