// The update script as publishers write it: which lines open blocks, where commands go,
// how parameters are cut out of a line, and which releases a client applies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "updateclient/update_script.h"

namespace {

// A script as one line per release: "name{Command(first|second);...}", a two-parameter
// command with both parameters, "!" after a command whose parameter was too long.
std::string Describe(const UpdateScript& script) {
  std::string text;
  for (const UpdateRelease& release : script.releases) {
    if (!text.empty()) text += " ";
    text += release.name + "{";
    for (size_t i = 0; i < release.commands.size(); ++i) {
      const UpdateCommand& c = release.commands[i];
      if (i > 0) text += ";";
      text += std::string(UpdateCommandName(c.kind)) + "(" + c.first;
      if (UpdateCommandParameterCount(c.kind) == 2) text += "|" + c.second;
      text += c.tooLong ? ")!" : ")";
    }
    text += "}";
  }
  return text;
}

struct ParseCase {
  const char* name;
  std::string script;
  std::string expected;
};

TEST(UpdateScript, ReadsBlocksAndCommandsAsPublishersWriteThem) {
  const std::string list = "releases {\r\n1.0\r\n1.1\r\n}\r\n";
  const ParseCase cases[] = {
      {"capitals and a blank before the brace", "RELEASES {\n1.0\n}\n", "1.0{}"},
      {"brace directly after the word", "releases{\n1.0\n}\n", "1.0{}"},
      {"a colon after the word opens nothing", "releases: {\n1.0\n}\nreleases:\n1.1\n}\n", ""},
      {"the word alone opens nothing", "releases\n{\n1.0\n}\n", ""},
      {"tabs and blanks around the brace", "  Releases \t {\t\n1.0\n}\n", "1.0{}"},
      {"name directly followed by the brace", list + "release:1.1{\nDeleteFile: a.txt\n}\n",
       "1.0{} 1.1{DeleteFile(a.txt)}"},
      {"blanks around the name", list + "Release:  1.1  {\nDeleteFile: a.txt\n}\n", "1.0{} 1.1{DeleteFile(a.txt)}"},
      {"release names compare with their case", "releases{\nv1.1\n}\nrelease: V1.1 {\nDeleteFile: a.txt\n}\n",
       "v1.1{}"},
      {"lower-case command and placeholder", list + "release:1.1{\ndownloadfile: bin/app.exe, <windows>\\\n}\n",
       "1.0{} 1.1{DownloadFile(bin/app.exe|<windows>\\)}"},
      {"a one-parameter command drops what follows a comma", list + "release:1.1{\nDeleteFile: a.txt, b.txt\n}\n",
       "1.0{} 1.1{DeleteFile(a.txt)}"},
      {"a two-parameter command takes the second up to the next comma",
       list + "release:1.1{\nRenameFile: a.txt , b.txt, c.txt\nCopyFile: a.txt\n}\n",
       "1.0{} 1.1{RenameFile(a.txt|b.txt);CopyFile(a.txt|)}"},
      {"tabs inside a line are removed", list + "release:1.1{\n\tDelete\tFile:\ta .txt\t\n}\n",
       "1.0{} 1.1{DeleteFile(a .txt)}"},
      {"unknown commands and other lines are ignored",
       list + "release:1.1{\n; a comment\nRunProgram: x.exe\n: a.txt\nDeleteFile a.txt\nDELETEDIRECTORY: old\n}\n",
       "1.0{} 1.1{DeleteDirectory(old)}"},
      {"a name listed twice gets its commands at its first entry",
       "releases{\n1.0\n1.1\n1.0\n}\nrelease:1.0{\nDeleteFile: a.txt\n}\n", "1.0{DeleteFile(a.txt)} 1.1{} 1.0{}"},
      {"an unknown release's lines are skipped to its brace",
       list + "release:2.0{\nDeleteFile: a.txt\nrelease:1.1{\nDeleteFile: b.txt\n}\nDeleteFile: c.txt\n",
       "1.0{} 1.1{}"},
      {"a release block before the list that names it", "release:1.0{\nDeleteFile: a.txt\n}\nreleases{\n1.0\n}\n",
       "1.0{}"},
      {"releases blocks append, empty lines too", "releases{\n1.0\n\n}\nreleases {\n1.1\n}\n", "1.0{} {} 1.1{}"},
      {"end of file closes an open list", "releases{\n1.0\n1.1", "1.0{} 1.1{}"},
      {"end of file closes an open release", list + "release:1.1{\nDeleteFile: a.txt", "1.0{} 1.1{DeleteFile(a.txt)}"},
      {"CR, LF and CR LF all end lines", "releases{\r1.0\n1.1\r\n}\rrelease:1.1{\nCreateDirectory: x\r}",
       "1.0{} 1.1{CreateDirectory(x)}"},
      {"a byte-order mark hides the releases line", "\xEF\xBB\xBFreleases{\r\n1.0\r\n1.1\r\n}\r\n", ""},
      {"commands outside a release block are ignored", "DeleteFile: a.txt\n" + list, "1.0{} 1.1{}"},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(c.expected, Describe(ParseUpdateScript(c.script))) << c.name;
  }
}

TEST(UpdateScript, ALongParameterMarksItsCommandInsteadOfBeingCut) {
  std::string longName(300, 'a');
  std::string limit(kLongestScriptParameter, 'b');
  UpdateScript script = ParseUpdateScript("releases{\n1.0\n}\nrelease:1.0{\nDeleteFile: " + longName +
                                          "\nCopyFile: x, " + longName + "\nCopyFile: " + limit + ", y\n}\n");
  ASSERT_EQ(1u, script.releases.size());
  const std::vector<UpdateCommand>& commands = script.releases[0].commands;
  ASSERT_EQ(3u, commands.size());
  EXPECT_TRUE(commands[0].tooLong);
  EXPECT_EQ(longName, commands[0].first);
  EXPECT_TRUE(commands[1].tooLong);
  EXPECT_FALSE(commands[2].tooLong);
}

struct SelectionCase {
  const char* current;
  bool listed;
  bool updateAvailable;
  std::vector<size_t> pending;
};

TEST(UpdateScript, SelectsTheReleasesAfterTheCurrentOne) {
  UpdateScript script = ParseUpdateScript("releases{\n1.0\n1.1\n1.2\n}\n");
  const SelectionCase cases[] = {
      {"1.0", true, true, {1, 2}}, {"1.1", true, true, {2}},   {"1.2", true, false, {}},
      {"0.9", false, false, {}},   {"1.0 ", false, false, {}}, {"", false, false, {}},
  };
  for (const SelectionCase& c : cases) {
    ReleaseSelection selection = SelectPendingReleases(script, c.current);
    EXPECT_EQ(c.listed, selection.listed) << c.current;
    EXPECT_EQ(c.updateAvailable, selection.updateAvailable) << c.current;
    EXPECT_EQ(c.pending, selection.pending) << c.current;
    EXPECT_EQ("1.2", selection.newest) << c.current;
  }
}

TEST(UpdateScript, SelectionFollowsTheFirstEntryAndTheExactCase) {
  UpdateScript repeated = ParseUpdateScript("releases{\nv1\nv2\nv1\nv3\n}\n");
  EXPECT_EQ(std::vector<size_t>({1, 2, 3}), SelectPendingReleases(repeated, "v1").pending);
  EXPECT_FALSE(SelectPendingReleases(repeated, "V1").listed);

  // Back at a name listed before: the newest is the current version, so nothing is due.
  UpdateScript back = ParseUpdateScript("releases{\nv1\nv2\nv1\n}\n");
  ReleaseSelection selection = SelectPendingReleases(back, "v1");
  EXPECT_TRUE(selection.listed);
  EXPECT_FALSE(selection.updateAvailable);
  EXPECT_TRUE(selection.pending.empty());

  ReleaseSelection none = SelectPendingReleases(UpdateScript(), "1.0");
  EXPECT_FALSE(none.listed);
  EXPECT_EQ("", none.newest);
}

TEST(UpdateScript, NormalizesUpdateAddresses) {
  const struct {
    const char* address;
    const char* expected;
  } cases[] = {
      {"updates.example.test/product", "http://updates.example.test/product/"},
      {"127.0.0.1:8080/a", "http://127.0.0.1:8080/a/"},
      {"HTTP://X", "HTTP://X/"},
      {"http://x/", "http://x/"},
      {"https://x", "https://x/"},
      {"HtTpS://x/a/", "HtTpS://x/a/"},
      {"httpx.test", "http://httpx.test/"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, NormalizeUpdateAddress(c.address)) << c.address;
}

}  // namespace
