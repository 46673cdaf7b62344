#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "common/prefs.h"
#include "common/text.h"
#include "support/file_bytes.h"
#include "support/folders.h"

using namespace std::string_literals;

namespace {

// The whole file, which must be there.
std::string Bytes(const std::wstring& path) {
  EXPECT_TRUE(PathExists(path)) << WideToUtf8(path);
  return GetBytes(path);
}

// A last-write time far in the past: a rewrite of the file would move it to now.
FILETIME OldTime() {
  SYSTEMTIME st = {};
  st.wYear = 2001;
  st.wMonth = 2;
  st.wDay = 3;
  st.wHour = 4;
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

void SetOldTime(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME ft = OldTime();
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
}

bool HasOldTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  FILETIME old = OldTime();
  return CompareFileTime(&data.ftLastWriteTime, &old) == 0;
}

// ---- The table ----

enum class Start {
  Open,            // the input exists and is opened
  OpenReadOnly,    // the input exists with the read-only attribute and is opened
  OpenInUse,       // the input exists and is opened while another program writes to it
  OpenMissing,     // no file; opening fails
  Create,          // the input exists and is created over
  CreateMissing,   // no file; created
  CreateNoFolder,  // the path is in a folder that does not exist; creating fails
};

enum class Op { Group, Read, ReadLong, Write, WriteLong, Reopen };

struct Step {
  Op op;
  std::string key;   // group name or key
  std::string text;  // default to read, or value to write
  int32_t number;    // default to read, or number to write
  std::string expectText;
  int32_t expect;  // return code, or number read
};

Step G(const std::string& name, int expect) { return {Op::Group, name, {}, 0, {}, expect}; }
Step R(const std::string& key, const std::string& def, const std::string& expect) {
  return {Op::Read, key, def, 0, expect, 0};
}
Step L(const std::string& key, int32_t def, int32_t expect) { return {Op::ReadLong, key, {}, def, {}, expect}; }
Step W(const std::string& key, const std::string& value, int expect) { return {Op::Write, key, value, 0, {}, expect}; }
Step WL(const std::string& key, int32_t value, int expect) { return {Op::WriteLong, key, {}, value, {}, expect}; }
// Closes (expecting the result) and opens the same file again.
Step Reopen(int expectClose) { return {Op::Reopen, {}, {}, 0, {}, expectClose}; }

enum class Outcome {
  Written,    // the file holds exactly `output`
  Unchanged,  // the input's bytes and last-write time are untouched
  Absent,     // there is no file
};

struct Case {
  const char* name;
  Start start;
  std::string input;
  std::vector<Step> steps;
  int closeResult;
  Outcome outcome;
  std::string output;
  unsigned codePage = CP_ACP;
  std::string fileName = "test.ini";  // in the case's code page
};

const char* const kMark = "\xEF\xBB\xBF";

std::vector<Case> Cases() {
  const std::string bom = kMark;
  return {
      {"keys compare without case; a write stores the key as written",
       Start::Open,
       "[Main]\r\nALLOW = 1\r\n",
       {G("main", 1), R("allow", "d", "1"), W("Allow", "yes", 1), R("ALLOW", "d", "yes")},
       1,
       Outcome::Written,
       "[Main]\r\nAllow = yes\r\n"},

      {"padded, mixed and missing values read as text and as numbers",
       Start::Open,
       "[G]\r\na =   2  \r\nb = 12abc\r\nc = abc\r\nflag\r\nempty =\r\n",
       {G("G", 1), R("a", "d", "2"), L("a", 9, 2), L("b", 9, 12), L("c", 9, 0), R("flag", "d", ""), L("flag", 9, 0),
        R("empty", "d", ""), R("none", "d", "d"), L("none", 42, 42)},
       1,
       Outcome::Unchanged,
       ""},

      {"numbers read like atoi and stop at the 32-bit limits",
       Start::Open,
       "n1=  -12abc\r\nn2=+7\r\nn3=abc\r\nn4=  2  \r\nn5=2147483647\r\nn6=2147483648\r\n"
       "n7=-2147483648\r\nn8=-2147483649\r\nn9=99999999999999999999999999\r\n"
       "n10=-99999999999999999999999999\r\nn11=- 5\r\nn12=+-3\r\nn13=007\r\nn14=\v\f 8\r\n",
       {L("n1", 1, -12), L("n2", 1, 7), L("n3", 1, 0), L("n4", 1, 2), L("n5", 1, INT32_MAX), L("n6", 1, INT32_MAX),
        L("n7", 1, INT32_MIN), L("n8", 1, INT32_MIN), L("n9", 1, INT32_MAX), L("n10", 1, INT32_MIN), L("n11", 1, 0),
        L("n12", 1, 0), L("n13", 1, 7), L("n14", 1, 8)},
       1,
       Outcome::Unchanged,
       ""},

      {"a write to a missing group appends the group and then the key",
       Start::Open,
       "[A]\r\nx = 1\r\n",
       {G("A", 1), G("B", 0), R("x", "d", "d"), W("k", "v", 1), W("k2", "w", 1), G("b", 1), R("k", "d", "v"), G("A", 1),
        R("k", "d", "d")},
       1,
       Outcome::Written,
       "[A]\r\nx = 1\r\n[B]\r\nk = v\r\nk2 = w\r\n"},

      {"only the first of two same-named groups is read and written",
       Start::Open,
       "[G]\r\na = 1\r\n[X]\r\n[g]\r\na = 2\r\nb = 3\r\n",
       {G("G", 1), R("a", "d", "1"), R("b", "d", "d"), W("a", "9", 1), W("B", "4", 1)},
       1,
       Outcome::Written,
       "[G]\r\na = 9\r\nB = 4\r\n[X]\r\n[g]\r\na = 2\r\nb = 3\r\n"},

      {"a new key goes after its group's comments, before the next group",
       Start::Open,
       "[A]\r\na = 1\r\n; note\r\n[B]\r\nb = 2\r\n",
       {G("A", 1), W("n", "x", 1), G("B", 1), W("m", "y", 1)},
       1,
       Outcome::Written,
       "[A]\r\na = 1\r\n; note\r\nn = x\r\n[B]\r\nb = 2\r\nm = y\r\n"},

      {"a changed file with a mark starts with the mark and an empty line and reads back the same",
       Start::Open,
       bom + "[G]\r\nname = Gr\xC3\xBC\xC3\x9F"
             "e\r\n\xC3\x84rger = x\r\n",
       {G("G", 1),
        R("name", "d",
          "Gr\xFC\xDF"
          "e"),
        R("\xC4rger", "d", "x"), W("other", "\xE4\x80", 1), Reopen(1), G("G", 1),
        R("name", "d",
          "Gr\xFC\xDF"
          "e"),
        R("\xC4rger", "d", "x"), R("other", "d", "\xE4\x80")},
       1,
       Outcome::Written,
       bom + "\r\n[G]\r\nname = Gr\xC3\xBC\xC3\x9F"
             "e\r\n\xC3\x84rger = x\r\nother = \xC3\xA4\xE2\x82\xAC\r\n"},

      {"group names are converted in a file with a mark",
       Start::Open,
       bom + "k = 1\r\n",
       {G("\xDC"
          "ber",
          0),
        W("k", "2", 1),
        G("\xDC"
          "ber",
          1),
        R("k", "d", "2"), G("", 1), R("k", "d", "1")},
       1,
       Outcome::Written,
       bom + "\r\nk = 1\r\n[\xC3\x9C"
             "ber]\r\nk = 2\r\n"},

      {"a UTF-8 program reads and writes a file with a mark unconverted, at a Unicode path",
       Start::Open,
       bom + "[G]\r\nname = \xC3\xBC\r\n",
       {G("G", 1), R("name", "d", "\xC3\xBC"), W("new", "\xD0\x96", 1)},
       1,
       Outcome::Written,
       bom + "\r\n[G]\r\nname = \xC3\xBC\r\nnew = \xD0\x96\r\n",
       CP_UTF8,
       "\xD0\x96\xE2\x82\xAC.ini"},

      {"a UTF-8 program creates a file without a mark at a Unicode path",
       Start::CreateMissing,
       "",
       {W("k", "\xE2\x82\xAC", 1), R("k", "d", "\xE2\x82\xAC")},
       1,
       Outcome::Written,
       "k = \xE2\x82\xAC\r\n",
       CP_UTF8,
       "\xD0\x96\xE2\x82\xAC.ini"},

      {"a file without a mark keeps its bytes",
       Start::Open,
       "k = \xC3\xBC\r\n",
       {R("k", "d", "\xC3\xBC"), W("j", "\xFC", 1)},
       1,
       Outcome::Written,
       "k = \xC3\xBC\r\nj = \xFC\r\n"},

      {"a file holding only the mark",
       Start::Open,
       bom,
       {R("k", "d", "d"), W("k", "v", 1)},
       1,
       Outcome::Written,
       bom + "\r\nk = v\r\n"},

      {"two bytes are too short for a mark",
       Start::Open,
       "\xEF\xBB",
       {W("k", "v", 1)},
       1,
       Outcome::Written,
       "\xEF\xBB = \r\nk = v\r\n"},

      {"blank lines, leading blanks and the blanks around = are normalised by a rewrite",
       Start::Open,
       "\r\n  [G]  \r\n\t\r\n  a   =   1  \r\n\r\n;c\r\n;  two\r\n\tflag\r\n",
       {G("G", 1), R("a", "d", "1"), W("b", "2", 1)},
       1,
       Outcome::Written,
       "[G]\r\na = 1  \r\n; c\r\n;  two\r\nflag = \r\nb = 2\r\n"},

      {"CR, LF, CR LF and mixed line ends",
       Start::Open,
       "a=1\rb=2\nc=3\r\n\n\r[G]\rd=4",
       {R("a", "d", "1"), R("b", "d", "2"), R("c", "d", "3"), G("G", 1), R("d", "d", "4"), W("e", "5", 1)},
       1,
       Outcome::Written,
       "a = 1\r\nb = 2\r\nc = 3\r\n[G]\r\nd = 4\r\ne = 5\r\n"},

      {"comments are not keys and the text after ] is ignored",
       Start::Open,
       ";a = 1\r\n; b = 2\r\n[G] trailing = x\r\nk=1\r\n[H\r\nk=2\r\n",
       {R("a", "d", "d"), R("b", "d", "d"), G("G", 1), R("k", "d", "1"), R("trailing", "d", "d"), G("H", 1),
        R("k", "d", "2")},
       1,
       Outcome::Unchanged,
       ""},

      {"a NUL byte ends the text",
       Start::Open,
       "a=1\r\nb=2\0c=3\r\n"s,
       {R("b", "d", "2"), R("c", "d", "d"), W("x", "y", 1)},
       1,
       Outcome::Written,
       "a = 1\r\nb = 2\r\nx = y\r\n"},

      {"the unnamed group holds the lines before the first group",
       Start::Open,
       "top = 1\r\n[G]\r\nk = 2\r\n",
       {R("top", "d", "1"), R("k", "d", "d"), G("G", 1), R("top", "d", "d"), G("", 1), R("top", "d", "1"),
        W("new", "n", 1)},
       1,
       Outcome::Written,
       "top = 1\r\nnew = n\r\n[G]\r\nk = 2\r\n"},

      {"a new unnamed key goes first when the file starts with a group",
       Start::Open,
       "[G]\r\nk = 2\r\n",
       {W("new", "n", 1), R("new", "d", "n"), R("k", "d", "d")},
       1,
       Outcome::Written,
       "new = n\r\n[G]\r\nk = 2\r\n"},

      {"selecting another group drops a pending one",
       Start::Open,
       "[A]\r\na = 1\r\n",
       {G("B", 0), G("", 1), W("u", "1", 1), G("C", 0), G("a", 1), W("b", "2", 1)},
       1,
       Outcome::Written,
       "u = 1\r\n[A]\r\na = 1\r\nb = 2\r\n"},

      {"numbers are written as signed decimal text",
       Start::Create,
       "old = 1\r\n",
       {R("old", "d", "d"), WL("min", INT32_MIN, 1), WL("max", INT32_MAX, 1), WL("neg", -5, 1), WL("zero", 0, 1),
        Reopen(1), L("min", 0, INT32_MIN), L("max", 0, INT32_MAX), L("neg", 0, -5), L("zero", 9, 0)},
       1,
       Outcome::Written,
       "min = -2147483648\r\nmax = 2147483647\r\nneg = -5\r\nzero = 0\r\n"},

      {"inner blanks of keys and values are kept; outer blanks of values read trimmed",
       Start::CreateMissing,
       "",
       {W("my key", " a  b\t", 1), R("MY KEY", "d", "a  b")},
       1,
       Outcome::Written,
       "my key =  a  b\t\r\n"},

      {"a file that is only read is never rewritten",
       Start::Open,
       "  a=1\n\n[G]\nb = 2",
       {R("a", "d", "1"), G("G", 1), L("b", 0, 2), G("x", 0), R("b", "d", "d")},
       1,
       Outcome::Unchanged,
       ""},

      {"a file with a mark that is only read is never rewritten",
       Start::Open,
       bom + "[G]\nk=\xC3\xBC",
       {G("G", 1), R("k", "d", "\xFC")},
       1,
       Outcome::Unchanged,
       ""},

      {"a missing file reads defaults and its writes create it at close",
       Start::OpenMissing,
       "",
       {G("G", 0), R("k", "d", "d"), L("k", 3, 3), W("k", "v", 1), R("k", "d", "v")},
       1,
       Outcome::Written,
       "[G]\r\nk = v\r\n"},

      {"a missing file without writes stays missing",
       Start::OpenMissing,
       "",
       {G("", 1), G("G", 0), R("k", "d", "d")},
       1,
       Outcome::Absent,
       ""},

      {"creating over a file empties it",
       Start::Create,
       bom + "[G]\r\nk = 1\r\n",
       {G("G", 0), R("k", "d", "d")},
       1,
       Outcome::Written,
       ""},

      {"a created file holds exactly its writes, without a mark",
       Start::Create,
       bom + "[G]\r\nk = 1\r\n",
       {G("G", 0), W("k", "\xFC", 1)},
       1,
       Outcome::Written,
       "[G]\r\nk = \xFC\r\n"},

      {"a created new file without writes is empty", Start::CreateMissing, "", {}, 1, Outcome::Written, ""},

      {"a failed create keeps nothing",
       Start::CreateNoFolder,
       "",
       {G("", 0), G("G", 0), R("k", "d", "d"), L("k", 4, 4), W("k", "v", 0), WL("n", 1, 0)},
       1,
       Outcome::Absent,
       ""},

      {"a file opened read-only takes writes in memory only",
       Start::OpenReadOnly,
       "[G]\r\na = 1\r\n",
       {G("G", 1), W("a", "2", 1), W("b", "3", 1), R("a", "d", "2"), R("b", "d", "3")},
       0,
       Outcome::Unchanged,
       ""},

      {"a file in use by another writer when opened takes writes in memory only",
       Start::OpenInUse,
       "k = 1\r\n",
       {W("k", "2", 1), R("k", "d", "2")},
       0,
       Outcome::Unchanged,
       ""},

      {"line breaks in values and keys that would not read back are refused",
       Start::Open,
       "[G]\r\na = 1\r\n",
       {G("G", 1), W("a", "x\ry", 0), W("a", "x\ny", 0), W("a", "x\r\n[H]", 0), W("a", "x\0y"s, 0), W("", "x", 0),
        W("k=1", "x", 0), W("[k", "x", 0), W(";k", "x", 0), W(" k", "x", 0), W("k ", "x", 0), W("\tk", "x", 0),
        W("k\t", "x", 0), W("k\r", "x", 0), W("k\n", "x", 0), W("k\0"s, "x", 0), WL("", 1, 0), R("a", "d", "1")},
       1,
       Outcome::Unchanged,
       ""},

      {"group names with line breaks or ] are refused and select no group",
       Start::Open,
       "[G]\r\na = 1\r\n",
       {G("G", 1), G("a]b", 0), W("k", "v", 0), R("a", "d", "d"), G("x\ny", 0), W("k", "v", 0), G("x\r", 0),
        WL("k", 1, 0), G("G", 1), R("a", "d", "1")},
       1,
       Outcome::Unchanged,
       ""},
  };
}

void RunStep(const Step& s, const std::string& file) {
  switch (s.op) {
    case Op::Group:
      EXPECT_EQ(PreferenceGroup(s.key), s.expect) << "group " << s.key;
      break;
    case Op::Read:
      EXPECT_EQ(ReadPreferenceString(s.key, s.text), s.expectText) << "read " << s.key;
      break;
    case Op::ReadLong:
      EXPECT_EQ(ReadPreferenceLong(s.key, s.number), s.expect) << "read number " << s.key;
      break;
    case Op::Write:
      EXPECT_EQ(WritePreferenceString(s.key, s.text), s.expect) << "write " << s.key;
      break;
    case Op::WriteLong:
      EXPECT_EQ(WritePreferenceLong(s.key, s.number), s.expect) << "write number " << s.key;
      break;
    case Op::Reopen:
      EXPECT_EQ(ClosePreferences(), s.expect) << "close before reopening";
      EXPECT_NE(OpenPreferences(file), 0) << "reopen";
      break;
  }
}

TEST(Prefs, Table) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    TempFolder dir("zkprefs");
    SetPreferenceCodePage(c.codePage);
    std::wstring folder = c.start == Start::CreateNoFolder ? dir.widePath + L"missing\\" : dir.widePath;
    std::wstring target = folder + ToWide(c.fileName, c.codePage);
    std::string file = FromWide(target, c.codePage);

    bool hasInput = c.start == Start::Open || c.start == Start::OpenReadOnly || c.start == Start::OpenInUse ||
                    c.start == Start::Create;
    if (hasInput) {
      ASSERT_TRUE(PutBytes(target, c.input));
      SetOldTime(target);
    }
    // The read-only attribute is not enforced for a privileged user under Wine, so another
    // writer holds the file while it is opened: then only a read-only open that shares
    // writing succeeds. The writer is gone by the close, so nothing else stops a rewrite.
    HANDLE writer = INVALID_HANDLE_VALUE;
    if (c.start == Start::OpenReadOnly || c.start == Start::OpenInUse) {
      writer = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
      EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    }
    if (c.start == Start::OpenReadOnly) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    bool opening = c.start == Start::Open || c.start == Start::OpenReadOnly || c.start == Start::OpenInUse ||
                   c.start == Start::OpenMissing;
    intptr_t handle = opening ? OpenPreferences(file) : CreatePreferences(file);
    bool shouldSucceed = c.start != Start::OpenMissing && c.start != Start::CreateNoFolder;
    EXPECT_EQ(handle != 0, shouldSucceed);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);

    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i + 1));
      RunStep(c.steps[i], file);
    }
    EXPECT_EQ(ClosePreferences(), c.closeResult);

    bool exists = PathExists(target);
    std::string bytes = GetBytes(target);
    switch (c.outcome) {
      case Outcome::Written:
        EXPECT_TRUE(exists);
        EXPECT_EQ(bytes, c.output);
        break;
      case Outcome::Unchanged:
        EXPECT_TRUE(exists);
        EXPECT_EQ(bytes, c.input);
        EXPECT_TRUE(HasOldTime(target)) << "the file was rewritten";
        break;
      case Outcome::Absent:
        EXPECT_FALSE(exists);
        break;
    }
    // Nothing but the file itself is left behind, in particular no temporary file.
    std::vector<std::wstring> expected;
    if (exists && c.start != Start::CreateNoFolder) expected.push_back(ToWide(c.fileName, c.codePage));
    EXPECT_EQ(dir.WideNames(), expected);
    SetPreferenceCodePage(CP_ACP);
  }
}

// A rewrite that cannot replace the file keeps the old one whole, reports the failure and
// leaves no temporary file behind.
TEST(Prefs, FailedRewriteKeepsTheOldFile) {
  TempFolder dir("zkprefs");
  std::wstring target = dir.widePath + L"p.ini";
  std::string file = WideToAnsi(target);
  const std::string old = "[G]\r\nk = old\r\n";
  ASSERT_TRUE(PutBytes(target, old));

  for (bool create : {false, true}) {
    SCOPED_TRACE(create ? "created" : "opened");
    ASSERT_NE(create ? CreatePreferences(file) : OpenPreferences(file), 0);
    EXPECT_EQ(WritePreferenceString("k", "new"), 1);
    // Another handle that does not share deletion blocks the replace.
    HANDLE holder = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ClosePreferences(), 0);
    CloseHandle(holder);
    EXPECT_EQ(Bytes(target), old);
    EXPECT_EQ(dir.WideNames(), std::vector<std::wstring>{L"p.ini"});
  }

  // Once the file is free again the same change goes through.
  ASSERT_NE(OpenPreferences(file), 0);
  EXPECT_EQ(WritePreferenceString("k", "new"), 1);
  EXPECT_EQ(ClosePreferences(), 1);
  EXPECT_EQ(Bytes(target), "k = new\r\n[G]\r\nk = old\r\n");
}

// Opening or creating another file writes the current one back first.
TEST(Prefs, OpeningAnotherFileClosesTheCurrentOne) {
  TempFolder dir("zkprefs");
  std::wstring a = dir.widePath + L"a.ini", b = dir.widePath + L"b.ini", c = dir.widePath + L"c.ini";
  ASSERT_TRUE(PutBytes(a, "k=1\r\n"));
  ASSERT_TRUE(PutBytes(b, "k=2\r\n"));

  ASSERT_NE(OpenPreferences(WideToAnsi(a)), 0);
  EXPECT_EQ(WritePreferenceString("k", "10"), 1);
  ASSERT_NE(OpenPreferences(WideToAnsi(b)), 0);
  EXPECT_EQ(Bytes(a), "k = 10\r\n");
  EXPECT_EQ(ReadPreferenceString("k", "d"), "2");
  EXPECT_EQ(WritePreferenceString("k", "20"), 1);
  ASSERT_NE(CreatePreferences(WideToAnsi(c)), 0);
  EXPECT_EQ(Bytes(b), "k = 20\r\n");
  EXPECT_EQ(ReadPreferenceString("k", "d"), "d");
  EXPECT_EQ(ClosePreferences(), 1);
  EXPECT_EQ(Bytes(c), "");
}

DWORD WINAPI LeaveFileOpen(void* path) {
  EXPECT_NE(OpenPreferences(*static_cast<std::string*>(path)), 0);
  EXPECT_EQ(WritePreferenceString("k", "2"), 1);
  return 0;
}

// Each thread has its own current file; a thread that ends with an open file releases it
// without writing.
TEST(Prefs, ThreadsHaveTheirOwnFile) {
  TempFolder dir("zkprefs");
  std::wstring mine = dir.widePath + L"main.ini", theirs = dir.widePath + L"thread.ini",
               left = dir.widePath + L"left.ini";
  ASSERT_TRUE(PutBytes(left, "k = 1\r\n"));

  ASSERT_NE(CreatePreferences(WideToAnsi(mine)), 0);
  EXPECT_EQ(WritePreferenceString("k", "main"), 1);

  std::thread worker([&] {
    EXPECT_EQ(ReadPreferenceString("k", "none"), "none");
    EXPECT_EQ(WritePreferenceString("k", "lost"), 0);
    ASSERT_NE(CreatePreferences(WideToAnsi(theirs)), 0);
    EXPECT_EQ(WritePreferenceString("k", "thread"), 1);
    EXPECT_EQ(ClosePreferences(), 1);
  });
  worker.join();
  EXPECT_EQ(Bytes(theirs), "k = thread\r\n");
  EXPECT_EQ(ReadPreferenceString("k", "d"), "main");

  // A thread started by the C++ library and one started by Win32 both end with the file
  // open and changed.
  std::string leftName = WideToAnsi(left);
  std::thread quitter([&] { LeaveFileOpen(&leftName); });
  quitter.join();
  HANDLE native = CreateThread(nullptr, 0, LeaveFileOpen, &leftName, 0, nullptr);
  ASSERT_NE(native, nullptr);
  WaitForSingleObject(native, INFINITE);
  CloseHandle(native);
  EXPECT_EQ(Bytes(left), "k = 1\r\n");
  // The ended threads' handles are gone: nobody else holds the file.
  HANDLE alone = CreateFileW(left.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(alone, INVALID_HANDLE_VALUE);
  if (alone != INVALID_HANDLE_VALUE) CloseHandle(alone);

  EXPECT_EQ(ClosePreferences(), 1);
  EXPECT_EQ(Bytes(mine), "k = main\r\n");
}

}  // namespace
