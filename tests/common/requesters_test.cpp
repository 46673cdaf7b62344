// The requesters' pieces that need no dialog: the filter text, the multiple-selection
// buffer, the answer script of whole-program tests and the hooks of in-process tests.
#include "common/requesters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;

// A literal with NUL bytes inside, whole.
template <size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

TEST(RequesterFilterTest, PairsBecomeNulSeparatedWithDoubleNulEnd) {
  struct Case {
    const char* patterns;
    std::string filter;
  } cases[] = {
      {"Zendrikolbar Project File (*.zkp)|*.zkp", Bytes("Zendrikolbar Project File (*.zkp)\0*.zkp\0\0")},
      {"Rich Text|*.rtf|Text|*.txt;*.text", Bytes("Rich Text\0*.rtf\0Text\0*.txt;*.text\0\0")},
      // A description without its pattern cannot be offered and is left out.
      {"A|*.a|B", Bytes("A\0*.a\0\0")},
      {"A", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.patterns);
    EXPECT_EQ(c.filter, BuildRequesterFilter(c.patterns));
  }
}

TEST(RequesterMultipleSelectionTest, OnePathOrFolderWithNames) {
  struct Case {
    std::string buffer;
    Paths paths;
  } cases[] = {
      {Bytes("C:\\data\\one.txt\0\0"), {"C:\\data\\one.txt"}},
      {Bytes("C:\\data\0one.txt\0two.bin\0\0"), {"C:\\data\\one.txt", "C:\\data\\two.bin"}},
      // A drive root already ends in "\".
      {Bytes("C:\\\0a\0b\0\0"), {"C:\\a", "C:\\b"}},
      {Bytes("\0\0"), {}},
      // A buffer that the dialog filled to its very end stops there.
      {Bytes("C:\\d\0abc"), {"C:\\d\\abc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.buffer);
    EXPECT_EQ(c.paths, SplitMultipleSelection(c.buffer.data(), c.buffer.size()));
  }
}

TEST(RequesterScriptTest, FileAnswersSplitAtBars) {
  EXPECT_EQ(Paths(), ParseFileAnswer(""));
  EXPECT_EQ(Paths({"C:\\a b.txt"}), ParseFileAnswer("C:\\a b.txt"));
  EXPECT_EQ(Paths({"C:\\a", "D:\\b"}), ParseFileAnswer("C:\\a|D:\\b"));
  EXPECT_EQ(Paths({"C:\\a", "D:\\b"}), ParseFileAnswer("C:\\a||D:\\b|"));
}

TEST(RequesterScriptTest, FontAnswers) {
  FontChoice f;
  ASSERT_TRUE(ParseFontAnswer("Courier New|12|0xFF0000|5", &f));
  EXPECT_EQ("Courier New", f.name);
  EXPECT_EQ(12, f.size);
  EXPECT_EQ(0xFF0000u, f.colour);
  EXPECT_EQ(kFontBold | kFontUnderline, f.style);
  ASSERT_TRUE(ParseFontAnswer("Arial|9|255|0", &f));
  EXPECT_EQ(255u, f.colour);

  const char* refused[] = {"",
                           "Arial|12|0",
                           "|12|0|0",
                           "Arial|x|0|0",
                           "Arial|0|0|0",
                           "Arial|12|0|16",
                           "Arial|12|0x1000000|0",
                           "Arial|12|0|1|2"};
  for (const char* line : refused) {
    SCOPED_TRACE(line);
    FontChoice kept{"Times", 10, 7, 2};
    EXPECT_FALSE(ParseFontAnswer(line, &kept));
    EXPECT_EQ("Times", kept.name);
    EXPECT_EQ(10, kept.size);
    EXPECT_EQ(7u, kept.colour);
    EXPECT_EQ(2, kept.style);
  }
}

TEST(RequesterScriptTest, PatternIndexFollowsTheExtension) {
  const char patterns[] = "Rich Text Format (.rtf)|*.rtf|Plain Text (.txt)|*.bak; *.txt";
  EXPECT_EQ(0, PatternIndexForPath(patterns, "C:\\x\\a.rtf"));
  EXPECT_EQ(1, PatternIndexForPath(patterns, "C:\\x\\A.TXT"));
  EXPECT_EQ(-1, PatternIndexForPath(patterns, "C:\\x\\a.doc"));
  EXPECT_EQ(-1, PatternIndexForPath(patterns, "C:\\x.txt\\a"));
  EXPECT_EQ(-1, PatternIndexForPath(patterns, "C:\\x\\a."));
}

// A scratch folder with an answer script; ZK_TEST_REQUESTERS names it while the test runs.
class ScriptedRequesterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    GetCurrentDirectoryA(MAX_PATH, startFolder_);
    static int counter = 0;
    folder_ = std::string(temp) + "zk_requesters_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter) + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    script_ = folder_ + "answers.txt";
    ASSERT_TRUE(SetEnvironmentVariableA("ZK_TEST_REQUESTERS", script_.c_str()));
  }
  void TearDown() override {
    SetEnvironmentVariableA("ZK_TEST_REQUESTERS", nullptr);
    SetCurrentDirectoryA(startFolder_);
    DeleteFileA(script_.c_str());
    RemoveDirectoryA((folder_ + "sub").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  void Append(const std::string& text) {
    HANDLE h = CreateFileA(script_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    CloseHandle(h);
  }
  std::string CurrentFolder() {
    char buf[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buf);
    return buf;
  }

  char startFolder_[MAX_PATH] = "";
  std::string folder_;
  std::string script_;
};

TEST_F(ScriptedRequesterTest, AnswersAreTakenInOrderThenCancel) {
  // A file requester makes the chosen file's folder current, as the system's dialogs do.
  std::string other = folder_ + "sub";
  ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
  Append(other + "\\a.zkp\r\n" + folder_ + "one.txt|" + folder_ + "two.txt\n\n" + folder_ + "notes.txt\n" + folder_ +
         "pick\n" + "Tahoma|11|0x0000FF|3\n");

  EXPECT_EQ(other + "\\a.zkp", OpenFileRequester("Open...", "", "P|*.zkp", 0));
  EXPECT_EQ(other, CurrentFolder());

  std::vector<std::string> many{"stale"};
  EXPECT_EQ(folder_ + "one.txt", OpenFileRequester("Add Files...", "", "All|*.*", 0, &many));
  EXPECT_EQ(Paths({folder_ + "one.txt", folder_ + "two.txt"}), many);

  // The empty line cancels and leaves no stale selection behind.
  EXPECT_EQ("", OpenFileRequester("Add Files...", "", "All|*.*", 0, &many));
  EXPECT_TRUE(many.empty());

  int chosen = -1;
  EXPECT_EQ(folder_ + "notes.txt", SaveFileRequester("Save File...", "", "R|*.rtf|T|*.txt", 0, &chosen));
  EXPECT_EQ(1, chosen);

  EXPECT_EQ(folder_ + "pick\\", PathRequester("Add Folder...", ""));

  FontChoice font{"Arial", 10, 0, 0};
  EXPECT_TRUE(FontRequester(font));
  EXPECT_EQ("Tahoma", font.name);
  EXPECT_EQ(3, font.style);

  // Nothing left: every requester answers as cancelled and the font stays as it was.
  EXPECT_EQ("", OpenFileRequester("Open...", "", "P|*.zkp", 0));
  EXPECT_EQ("", PathRequester("Add Folder...", ""));
  EXPECT_FALSE(FontRequester(font));
  EXPECT_EQ("Tahoma", font.name);

  // Answers appended later are found: the script is read again each time.
  Append(folder_ + "later.exe\n");
  chosen = -1;
  EXPECT_EQ(folder_ + "later.exe", SaveFileRequester("Save...", "", "Executable (*.exe)|*.exe", 0, &chosen));
  EXPECT_EQ(0, chosen);
}

TEST_F(ScriptedRequesterTest, AnotherScriptStartsAtItsFirstLine) {
  Append(folder_ + "first.zkp\n");
  EXPECT_EQ(folder_ + "first.zkp", OpenFileRequester("Open...", "", "", 0));
  std::string second = folder_ + "second.txt";
  HANDLE h = CreateFileA(second.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  DWORD written = 0;
  std::string text = folder_ + "other.zkp\n";
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
  ASSERT_TRUE(SetEnvironmentVariableA("ZK_TEST_REQUESTERS", second.c_str()));
  EXPECT_EQ(folder_ + "other.zkp", OpenFileRequester("Open...", "", "", 0));
  DeleteFileA(second.c_str());
}

std::string g_lastTitle;
int HookedMessage(const std::string& title, const std::string&, unsigned flags) {
  g_lastTitle = title;
  return (flags & MB_YESNO) ? IDNO : IDOK;
}
std::string HookedOpen(const std::string&, const std::string& defaultFile, const std::string&, int,
                       std::vector<std::string>*) {
  return "hooked:" + defaultFile;
}

TEST_F(ScriptedRequesterTest, HooksComeBeforeTheScript) {
  Append(folder_ + "scripted.zkp\n");
  RequesterHooks hooks;
  hooks.message = HookedMessage;
  hooks.openFile = HookedOpen;
  SetRequesterHooks(hooks);
  EXPECT_EQ(IDNO, MessageRequester("Zendrikolbar", "Really?", MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ("Zendrikolbar", g_lastTitle);
  EXPECT_EQ("hooked:C:\\start\\", OpenFileRequester("Open...", "C:\\start\\", "", 0));
  // A hook left null keeps the default: here the script.
  EXPECT_EQ(folder_ + "scripted.zkp\\", PathRequester("Folder", ""));
  SetRequesterHooks(RequesterHooks());
  EXPECT_EQ("", OpenFileRequester("Open...", "", "", 0));
}

}  // namespace
