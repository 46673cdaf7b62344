// The licence editor, in-process: a runtime window holds a rich-text editor and the tool
// bar's toggle buttons under their real numbers; the requesters are replaced, so the
// tool bar's flows run without dialogs and their messages are captured.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "app/controls.h"
#include "app/test_paths.h"
#include "app/editor/editor_commands.h"
#include "common/gui.h"
#include "common/requesters.h"
#include "support/file_bytes.h"

namespace {

// ---- replaced requesters ---------------------------------------------------------------

struct Message {
  std::string title, text;
  unsigned flags;
};

struct Answers {
  std::string openPath;  // empty: cancelled
  std::string savePath;
  int savePattern = 0;
  int messageAnswer = IDOK;
  bool fontConfirmed = false;
  FontChoice font;                // what a confirmed font dialog returns
  std::vector<FontChoice> shown;  // what each font dialog opened with
  std::vector<Message> messages;
  std::vector<std::string> titles;  // of the file requesters
};

Answers answers;

std::string OpenHook(const std::string& title, const std::string&, const std::string&, int, std::vector<std::string>*) {
  answers.titles.push_back(title);
  return answers.openPath;
}

std::string SaveHook(const std::string& title, const std::string&, const std::string&, int, int* chosenPattern) {
  answers.titles.push_back(title);
  if (chosenPattern) *chosenPattern = answers.savePattern;
  return answers.savePath;
}

bool FontHook(FontChoice& inOut) {
  answers.shown.push_back(inOut);
  if (!answers.fontConfirmed) return false;
  inOut = answers.font;
  return true;
}

int MessageHook(const std::string& title, const std::string& text, unsigned flags) {
  answers.messages.push_back({title, text, flags});
  return answers.messageAnswer;
}

// ---- files -----------------------------------------------------------------------------

std::string folder;  // a fresh folder for the test program's files

std::vector<std::string> FolderEntries() { return ::FolderEntries(folder); }

void EmptyFolder() {
  for (const std::string& name : FolderEntries()) DeleteFileA((folder + name).c_str());
}

// ---- the editor --------------------------------------------------------------------------

const int kEditor = ctl::kLicenceEditor;

HWND Editor() { return ControlHandle(kEditor); }

void Select(int from, int to) {
  CHARRANGE r = {from, to};
  SendMessageA(Editor(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

// The character format of the selection; dwMask tells which attributes are the same
// throughout it.
CHARFORMATA FormatOf(int from, int to) {
  Select(from, to);
  CHARFORMATA cf = {};
  cf.cbSize = sizeof(cf);
  SendMessageA(Editor(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  return cf;
}

int EffectsOf(int from, int to) {
  CHARFORMATA cf = FormatOf(from, to);
  EXPECT_EQ(cf.dwMask & 0xF, 0xFu) << "effects not uniform over " << from << "-" << to;
  return static_cast<int>(cf.dwEffects & 0xF);
}

std::string Text() { return GetControlText(kEditor); }

void SetText(const std::string& text) {
  SetControlText(kEditor, text);
  Select(0, -1);
  SetEditorFontName(Editor(), "Arial");
  SetEditorFontSize(Editor(), 10);
  SetEditorTextColour(Editor(), RGB(0, 0, 0));
  SetEditorEffects(kEditor, 0);
}

// A document with several formats: "Bold " bold Arial, "italic red " italic red Courier
// New 14 point, "plain" as set by SetText.
void MakeFormattedText() {
  SetText("Bold italic red plain");
  Select(0, 5);
  SetEditorEffects(kEditor, kEffectBold);
  Select(5, 16);
  SetEditorEffects(kEditor, kEffectItalic);
  SetEditorTextColour(Editor(), RGB(200, 0, 0));
  SetEditorFontName(Editor(), "Courier New");
  SetEditorFontSize(Editor(), 14);
  Select(0, 0);
}

// Formats of the three runs of MakeFormattedText.
void ExpectFormattedText() {
  EXPECT_EQ(Text(), "Bold italic red plain");
  EXPECT_EQ(EffectsOf(0, 5), kEffectBold);
  EXPECT_STREQ(FormatOf(0, 5).szFaceName, "Arial");
  EXPECT_EQ(EffectsOf(5, 16), kEffectItalic);
  CHARFORMATA red = FormatOf(5, 16);
  EXPECT_EQ(red.crTextColor, RGB(200, 0, 0));
  EXPECT_EQ(red.dwEffects & CFE_AUTOCOLOR, 0u);
  EXPECT_STREQ(red.szFaceName, "Courier New");
  EXPECT_EQ(red.yHeight, 280);
  EXPECT_EQ(EffectsOf(16, 21), 0);
  EXPECT_EQ(FormatOf(16, 21).yHeight, 200);
}

// The whole content as RTF, for comparing text and formatting at once.
std::string Snapshot() {
  std::string rtf;
  EDITSTREAM es = {};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
  es.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) -> DWORD {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), static_cast<size_t>(count));
    *done = count;
    return 0;
  };
  SendMessageA(Editor(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  return rtf;
}

void Press(int control) { EXPECT_TRUE(HandleEditorToolbarEvent(control, kEventTypeLeftClick)); }

void Toggle(int control, int state) {
  SetControlState(control, state);
  Press(control);
}

class EditorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "zk_editor_test_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    RequesterHooks hooks;
    hooks.openFile = OpenHook;
    hooks.saveFile = SaveHook;
    hooks.font = FontHook;
    hooks.message = MessageHook;
    SetRequesterHooks(hooks);
  }

  static void TearDownTestSuite() {
    SetRequesterHooks(RequesterHooks());
    EmptyFolder();
    RemoveDirectoryA(folder.c_str());
  }

  void SetUp() override {
    window_ = static_cast<int>(
        OpenRuntimeWindow(kAnyNumber, 40, 40, 520, 420, "Editor test", kWindowTitleBar | kWindowSystemMenu));
    ASSERT_GT(window_, 0);
    ASSERT_TRUE(UseControlList(window_));
    CreateToggleButton(ctl::kEditorBold, 207, 10, 25, 25, "B");
    CreateToggleButton(ctl::kEditorItalic, 234, 10, 25, 25, "I");
    CreateToggleButton(ctl::kEditorUnderline, 261, 10, 25, 25, "U");
    ASSERT_NE(CreateEditor(kEditor, 8, 40, 480, 320, kEditorWordWrap), 0);
    EmptyFolder();
    // The tool bar remembers the last confirmed font for the life of the program: start
    // every test from a confirmed plain font.
    answers = Answers();
    answers.fontConfirmed = true;
    answers.font = {"Arial", 10, RGB(0, 0, 0), 0};
    Press(ctl::kEditorFont);
    answers = Answers();
  }

  void TearDown() override {
    CloseRuntimeWindow(window_);
    while (WaitWindowEvent(0)) {
    }
  }

  int window_ = 0;
};

// ---- formatting --------------------------------------------------------------------------

TEST_F(EditorTest, EffectsSetExactlyTheBitsGivenOnTheSelectionOnly) {
  // Each mask starts from text that has all four effects, so cleared bits are seen too.
  for (int effects : {0, kEffectBold, kEffectItalic, kEffectUnderline, kEffectStrikeOut, kEffectBold | kEffectUnderline,
                      kEffectItalic | kEffectStrikeOut, 15}) {
    SCOPED_TRACE(effects);
    SetText("abcdefghij");
    Select(0, -1);
    SetEditorEffects(kEditor, 15);
    Select(2, 6);
    SetEditorEffects(kEditor, effects);
    EXPECT_EQ(EffectsOf(2, 6), effects);
    EXPECT_EQ(EffectsOf(0, 2), 15);
    EXPECT_EQ(EffectsOf(6, 10), 15);
  }
}

TEST_F(EditorTest, FontNameSizeAndColourChangeOnlyTheirAttribute) {
  SetText("abcdefghij");
  Select(0, -1);
  SetEditorEffects(kEditor, kEffectBold | kEffectItalic);
  Select(3, 7);
  SetEditorFontName(Editor(), "Courier New");
  SetEditorFontSize(Editor(), 10);
  SetEditorFontSize(Editor(), 16);
  SetEditorTextColour(Editor(), RGB(10, 120, 230));

  CHARFORMATA cf = FormatOf(3, 7);
  EXPECT_STREQ(cf.szFaceName, "Courier New");
  EXPECT_EQ(cf.yHeight, 320);
  EXPECT_EQ(cf.crTextColor, RGB(10, 120, 230));
  EXPECT_EQ(cf.dwEffects & CFE_AUTOCOLOR, 0u);
  EXPECT_EQ(cf.dwEffects & 0xF, static_cast<DWORD>(kEffectBold | kEffectItalic));

  CHARFORMATA outside = FormatOf(0, 3);
  EXPECT_STREQ(outside.szFaceName, "Arial");
  EXPECT_EQ(outside.yHeight, 200);
  EXPECT_EQ(outside.crTextColor, RGB(0, 0, 0));

  Select(3, 7);
  SetEditorFontSize(Editor(), 10);
  EXPECT_EQ(FormatOf(3, 7).yHeight, 200);
}

TEST_F(EditorTest, FaceNameTooLongForTheRecordIsRefused) {
  SetText("abcdef");
  Select(0, 3);
  SetEditorFontName(Editor(), std::string(31, 'x'));  // fits with its NUL
  EXPECT_EQ(std::string(FormatOf(0, 3).szFaceName), std::string(31, 'x'));
  Select(0, 3);
  SetEditorFontName(Editor(), std::string(32, 'y'));
  EXPECT_EQ(std::string(FormatOf(0, 3).szFaceName), std::string(31, 'x'));
}

// Wine's rich edit keeps its formatting rectangle whatever margins it is given, so the
// message itself is observed on its way to the control.
WPARAM marginFlags = 0;
LPARAM marginWidths = 0;
WNDPROC editorProc = nullptr;

LRESULT CALLBACK RecordMargins(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == EM_SETMARGINS) {
    marginFlags = wp;
    marginWidths = lp;
  }
  return CallWindowProcA(editorProc, w, msg, wp, lp);
}

TEST_F(EditorTest, MarginsAreSetOnBothSides) {
  editorProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(Editor(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordMargins)));
  SetEditorMargins(Editor(), 60);
  SetWindowLongPtrA(Editor(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorProc));
  EXPECT_EQ(marginFlags, static_cast<WPARAM>(EC_LEFTMARGIN | EC_RIGHTMARGIN));
  EXPECT_EQ(LOWORD(marginWidths), 60);  // left
  EXPECT_EQ(HIWORD(marginWidths), 60);  // right
}

TEST_F(EditorTest, SelectionQueries) {
  SetText("abcdefghij");
  Select(2, 7);
  EXPECT_EQ(GetEditorSelectionStart(kEditor), 2);
  EXPECT_EQ(GetEditorSelectionEnd(kEditor), 7);
  EXPECT_EQ(HasEditorSelection(kEditor), 1);
  Select(4, 4);
  EXPECT_EQ(GetEditorSelectionStart(kEditor), 4);
  EXPECT_EQ(GetEditorSelectionEnd(kEditor), 4);
  EXPECT_EQ(HasEditorSelection(kEditor), 0);
  EXPECT_EQ(HasEditorSelection(0x7FF0), 0);  // no such control
}

// ---- loading and saving ------------------------------------------------------------------

TEST_F(EditorTest, PlainTextRoundTripKeepsTheBytes) {
  const std::string bytes = "First line\r\n\tindented; {braces} \\backslash\r\n\r\nLast line";
  ASSERT_TRUE(PutBytes(folder + "in.txt", bytes));
  SetText("old content");
  ASSERT_EQ(LoadEditorFile(Editor(), folder + "in.txt", kEditorFormatTxt), 0);
  EXPECT_EQ(Text(), "First line\r\tindented; {braces} \\backslash\r\rLast line");
  // No extension, or any other than rtf, writes plain text.
  for (const char* name : {"out.txt", "OUT2.TXT", "out3", "out4.rtf.bak"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(SaveEditorFile(Editor(), folder + name), 0);
    EXPECT_EQ(GetBytes(folder + name), bytes);
  }
}

TEST_F(EditorTest, RtfRoundTripKeepsTextAndFormatting) {
  MakeFormattedText();
  for (const char* name : {"out.rtf", "OUT.RTF", "Out.Rtf"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(SaveEditorFile(Editor(), folder + name), 0);
    EXPECT_EQ(GetBytes(folder + name).compare(0, 5, "{\\rtf"), 0);
    SetText("something else");
    ASSERT_EQ(LoadEditorFile(Editor(), folder + name, kEditorFormatRtf), 0);
    ExpectFormattedText();
  }
}

TEST_F(EditorTest, EmptyPlainTextFileEmptiesTheEditor) {
  ASSERT_TRUE(PutBytes(folder + "empty.txt", ""));
  SetText("old content");
  EXPECT_EQ(LoadEditorFile(Editor(), folder + "empty.txt", kEditorFormatTxt), 0);
  EXPECT_EQ(Text(), "");
  // And an empty editor saves as an empty file.
  ASSERT_EQ(SaveEditorFile(Editor(), folder + "empty2.txt"), 0);
  EXPECT_EQ(GetBytes(folder + "empty2.txt"), "");
}

TEST_F(EditorTest, LoadFailuresLeaveTheEditorUnchanged) {
  ASSERT_TRUE(PutBytes(folder + "text.txt", "some text"));
  ASSERT_TRUE(PutBytes(folder + "broken.rtf", "this is not RTF"));
  struct Case {
    const char* name;
    std::string path;
    const char* format;
    bool failed;
  } cases[] = {
      {"missing file", folder + "missing.txt", kEditorFormatTxt, true},
      {"folder", folder, kEditorFormatTxt, true},
      {"unknown selector", folder + "text.txt", "#RET_DOC", false},
      {"RTF selector on text", folder + "broken.rtf", kEditorFormatRtf, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeFormattedText();
    std::string before = Snapshot();
    int result = LoadEditorFile(Editor(), c.path, c.format);
    if (c.failed) {
      EXPECT_NE(result, 0);
    } else {
      EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(Snapshot(), before);
    ExpectFormattedText();
  }
  EXPECT_EQ(LoadEditorFile(Editor(), folder + "missing.txt", kEditorFormatTxt), 1);
  // Every file was closed again.
  EXPECT_TRUE(DeleteFileA((folder + "text.txt").c_str()));
  EXPECT_TRUE(DeleteFileA((folder + "broken.rtf").c_str()));
}

TEST_F(EditorTest, SaveReplacesTheOldFileAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(PutBytes(folder + "licence.txt", "an old and much longer licence text"));
  SetText("new");
  ASSERT_EQ(SaveEditorFile(Editor(), folder + "licence.txt"), 0);
  EXPECT_EQ(GetBytes(folder + "licence.txt"), "new");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"licence.txt"});
}

TEST_F(EditorTest, SaveFailuresKeepTheOldFileAndLeaveNoTemporaryFile) {
  SetText("new text");
  EXPECT_EQ(SaveEditorFile(Editor(), folder + "no such folder\\licence.txt"), 1);

  ASSERT_TRUE(PutBytes(folder + "locked.txt", "old text"));
  HANDLE lock = CreateFileA((folder + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_NE(SaveEditorFile(Editor(), folder + "locked.txt"), 0);
  CloseHandle(lock);
  EXPECT_EQ(GetBytes(folder + "locked.txt"), "old text");

  CreateDirectoryA((folder + "a folder.txt").c_str(), nullptr);
  EXPECT_NE(SaveEditorFile(Editor(), folder + "a folder.txt"), 0);
  RemoveDirectoryA((folder + "a folder.txt").c_str());

  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"locked.txt"});
}

TEST_F(EditorTest, StreamOutCallbackReportsAFailedWrite) {
  // A file number that names no open file stands for a file the system refuses to write.
  BYTE data[4] = {'a', 'b', 'c', 'd'};
  LONG done = -1;
  EXPECT_NE(EditorStreamOutCallback(0x7FFF0000, data, 4, &done), 0u);
  EXPECT_EQ(done, 0);
}

// ---- the tool bar --------------------------------------------------------------------------

TEST_F(EditorTest, ToggleButtonsApplyTheSumOfTheFlags) {
  SetText("abcdefghij");
  Select(2, 6);
  Toggle(ctl::kEditorBold, 1);
  EXPECT_EQ(EffectsOf(2, 6), kEffectBold);
  Select(2, 6);
  Toggle(ctl::kEditorItalic, 1);
  EXPECT_EQ(EffectsOf(2, 6), kEffectBold | kEffectItalic);
  Select(2, 6);
  Toggle(ctl::kEditorUnderline, 1);
  EXPECT_EQ(EffectsOf(2, 6), kEffectBold | kEffectItalic | kEffectUnderline);
  Select(2, 6);
  Toggle(ctl::kEditorBold, 0);
  EXPECT_EQ(EffectsOf(2, 6), kEffectItalic | kEffectUnderline);
  EXPECT_EQ(EffectsOf(0, 2), 0);
}

TEST_F(EditorTest, ConfirmedFontIsAppliedAndRemembered) {
  SetText("abcdefghij");
  Select(2, 6);
  answers.fontConfirmed = true;
  answers.font = {"Courier New", 18, RGB(0, 128, 0), kFontItalic | kFontStrikeOut};
  Press(ctl::kEditorFont);
  CHARFORMATA cf = FormatOf(2, 6);
  EXPECT_STREQ(cf.szFaceName, "Courier New");
  EXPECT_EQ(cf.yHeight, 360);
  EXPECT_EQ(cf.crTextColor, RGB(0, 128, 0));
  EXPECT_EQ(EffectsOf(2, 6), kEffectItalic | kEffectStrikeOut);
  EXPECT_STREQ(FormatOf(0, 2).szFaceName, "Arial");

  // The next dialog opens with the confirmed font.
  answers.fontConfirmed = false;
  Press(ctl::kEditorFont);
  ASSERT_EQ(answers.shown.size(), 2u);
  EXPECT_EQ(answers.shown[1].name, "Courier New");
  EXPECT_EQ(answers.shown[1].size, 18);
  EXPECT_EQ(answers.shown[1].colour, RGB(0, 128, 0));
  EXPECT_EQ(answers.shown[1].style, kFontItalic | kFontStrikeOut);
}

TEST_F(EditorTest, CancellingTheFontDialogResetsBoldToTheConfirmedStyle) {
  SetText("abcdefghij");
  Select(0, -1);
  answers.fontConfirmed = true;
  answers.font = {"Arial", 12, RGB(0, 0, 0), kFontUnderline};
  Press(ctl::kEditorFont);
  Select(2, 6);
  Toggle(ctl::kEditorBold, 1);
  EXPECT_EQ(EffectsOf(2, 6), kEffectBold | kEffectUnderline);

  answers.fontConfirmed = false;
  answers.font = {"Courier New", 30, RGB(255, 0, 0), kFontBold};
  Select(2, 6);
  Press(ctl::kEditorFont);
  CHARFORMATA cf = FormatOf(2, 6);
  EXPECT_EQ(EffectsOf(2, 6), kEffectUnderline);
  EXPECT_STREQ(cf.szFaceName, "Arial");
  EXPECT_EQ(cf.yHeight, 240);
  // The toggle is left as it was.
  EXPECT_EQ(GetControlState(ctl::kEditorBold), 1);
}

TEST_F(EditorTest, NewAndClipboardButtons) {
  SetText("Hello world");
  Select(5, 11);
  Press(ctl::kEditorCut);
  EXPECT_EQ(Text(), "Hello");
  Select(0, 0);
  Press(ctl::kEditorPaste);
  EXPECT_EQ(Text(), " worldHello");
  Select(0, 6);
  Press(ctl::kEditorCopy);
  Select(11, 11);
  Press(ctl::kEditorPaste);
  EXPECT_EQ(Text(), " worldHello world");
  Select(0, 6);
  Press(ctl::kEditorDelete);
  EXPECT_EQ(Text(), "Hello world");
  Press(ctl::kEditorNew);
  EXPECT_EQ(Text(), "");
  EXPECT_FALSE(HandleEditorToolbarEvent(ctl::kEditorNew + 3, kEventTypeLeftClick));  // no button there
}

TEST_F(EditorTest, OpenButtonLoadsByExtension) {
  MakeFormattedText();
  ASSERT_EQ(SaveEditorFile(Editor(), folder + "doc.RTF"), 0);
  ASSERT_TRUE(PutBytes(folder + "plain.txt", "{\\rtf1 looks like RTF}"));
  ASSERT_TRUE(PutBytes(folder + "plain.dat", "other\r\ntext"));

  SetText("x");
  answers.openPath = folder + "doc.RTF";
  Press(ctl::kEditorOpen);
  ExpectFormattedText();
  EXPECT_EQ(answers.titles.back(), "Open file...");

  answers.openPath = folder + "plain.txt";
  Press(ctl::kEditorOpen);
  EXPECT_EQ(Text(), "{\\rtf1 looks like RTF}");
  answers.openPath = folder + "plain.dat";
  Press(ctl::kEditorOpen);
  EXPECT_EQ(Text(), "other\rtext");
  EXPECT_TRUE(answers.messages.empty());

  answers.openPath.clear();  // cancelled
  Press(ctl::kEditorOpen);
  EXPECT_EQ(Text(), "other\rtext");
}

TEST_F(EditorTest, OpenButtonReportsAnUnreadableFileAndLeavesTheEditorUnchanged) {
  MakeFormattedText();
  Select(0, 5);
  std::string before = Snapshot();
  answers.openPath = folder + "missing.rtf";
  Press(ctl::kEditorOpen);
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].title, "Zendrikolbar");
  EXPECT_NE(answers.messages[0].text.find("could not be read"), std::string::npos);
  EXPECT_NE(answers.messages[0].text.find(folder + "missing.rtf"), std::string::npos);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(EditorTest, SaveButtonAddsTheExtensionOfThePattern) {
  SetText("saved text");
  struct Case {
    const char* typed;
    int pattern;
    const char* written;
    bool rtf;
  } cases[] = {
      {"a", 0, "a.rtf", true},          {"b.rtf", 0, "b.rtf", true}, {"C.RTF", 0, "C.RTF", true},
      {"d.txt", 0, "d.txt.rtf", true},  {"e", 1, "e.txt", false},    {"f.TXT", 1, "f.TXT", false},
      {"g.rtf", 1, "g.rtf.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EmptyFolder();
    answers.savePath = folder + c.typed;
    answers.savePattern = c.pattern;
    Press(ctl::kEditorSave);
    EXPECT_EQ(answers.titles.back(), "Save File...");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{c.written});
    std::string bytes = GetBytes(folder + c.written);
    if (c.rtf) {
      EXPECT_EQ(bytes.compare(0, 5, "{\\rtf"), 0);
    } else {
      EXPECT_EQ(bytes, "saved text");
    }
  }
  EXPECT_TRUE(answers.messages.empty());

  EmptyFolder();
  answers.savePath.clear();  // cancelled
  Press(ctl::kEditorSave);
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(EditorTest, SaveButtonAsksBeforeOverwriting) {
  SetText("new text");
  answers.savePattern = 1;
  answers.savePath = folder + "licence.txt";
  for (int answer : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(answer);
    ASSERT_TRUE(PutBytes(folder + "licence.txt", "old text"));
    answers.messages.clear();
    answers.messageAnswer = answer;
    Press(ctl::kEditorSave);
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0].title, "Zendrikolbar");
    EXPECT_EQ(answers.messages[0].text, "Do you want to overwrite the file?");
    EXPECT_EQ(answers.messages[0].flags, static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(GetBytes(folder + "licence.txt"), answer == IDOK ? "new text" : "old text");
  }
}

TEST_F(EditorTest, SaveButtonReportsAFileThatCannotBeWritten) {
  SetText("new text");
  answers.savePattern = 1;

  // The folder is missing: nothing to overwrite, so the report is the only message.
  answers.savePath = folder + "gone\\licence.txt";
  Press(ctl::kEditorSave);
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].title, "Zendrikolbar");
  EXPECT_NE(answers.messages[0].text.find("could not be written"), std::string::npos);
  EXPECT_NE(answers.messages[0].text.find(folder + "gone\\licence.txt"), std::string::npos);
  EXPECT_TRUE(answers.messages[0].flags & MB_ICONERROR);

  // The file is locked: the overwrite question, then the report; the old text stays.
  ASSERT_TRUE(PutBytes(folder + "locked.txt", "old text"));
  HANDLE lock = CreateFileA((folder + "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  answers.messages.clear();
  answers.messageAnswer = IDOK;
  answers.savePath = folder + "locked.txt";
  Press(ctl::kEditorSave);
  CloseHandle(lock);
  ASSERT_EQ(answers.messages.size(), 2u);
  EXPECT_EQ(answers.messages[1].title, "Zendrikolbar");
  EXPECT_NE(answers.messages[1].text.find("could not be written"), std::string::npos);
  EXPECT_EQ(GetBytes(folder + "locked.txt"), "old text");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"locked.txt"});
}

}  // namespace
