// The tool bar above the licence editor: new, open, save, the clipboard, the three effect
// toggles and the font dialog.
#include "app/editor/editor_commands.h"

#include <ctype.h>

#include "app/controls.h"
#include "common/failure_log.h"
#include "common/files.h"
#include "common/gui.h"
#include "common/path_split.h"
#include "common/requesters.h"

namespace {

const char kMessageTitle[] = "Zendrikolbar";

// What the font dialog showed last (it opens with it again) and the effects last sent to
// the editor, for the life of the program.
FontChoice rememberedFont;
int boldFlag = 0;
int italicFlag = 0;
int underlineFlag = 0;
int strikeOutFlag = 0;

HWND Editor() { return ControlHandle(ctl::kLicenceEditor); }

void ApplyEffectFlags() {
  SetEditorEffects(ctl::kLicenceEditor, boldFlag + italicFlag + underlineFlag + strikeOutFlag);
}

std::string UpperExtension(const std::string& path) {
  std::string ext = PathExtension(path);
  for (char& c : ext) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return ext;
}

bool CanRead(const std::string& path) {
  intptr_t file = FileOpenRead(kAnyNumber, path);
  if (!file) return false;
  FileClose(static_cast<int>(file));
  return true;
}

void ReportUnreadable(const std::string& path) {
  ReportFailureAnsi("read a file into the licence editor", path, 0);
  MessageRequester(kMessageTitle, "The file could not be read:\n" + path, MB_OK | MB_ICONERROR);
}

void OpenIntoEditor() {
  std::string path = OpenFileRequester("Open file...", "",
                                       "Rich Text Format (*.rtf)|*.rtf|Plain Text(*.txt)|*.txt|All Files (*.*)|*.*", 0);
  if (path.empty()) return;
  // Checked before the selection is reformatted, so a file that cannot be read leaves
  // the editor exactly as it was.
  if (!CanRead(path)) {
    ReportUnreadable(path);
    return;
  }
  HWND editor = Editor();
  SetEditorFontName(editor, "Arial");
  SetEditorFontSize(editor, 10);
  SetEditorTextColour(editor, RGB(0, 0, 0));
  SetEditorEffects(ctl::kLicenceEditor, 0);
  const char* format = UpperExtension(path) == "RTF" ? kEditorFormatRtf : kEditorFormatTxt;
  if (LoadEditorFile(editor, path, format) != 0) ReportUnreadable(path);
}

void SaveFromEditor() {
  int chosen = 0;
  std::string path =
      SaveFileRequester("Save File...", "", "Rich Text Format (.rtf)|*.rtf|Plain Text (.txt)|*.txt", 0, &chosen);
  if (path.empty()) return;
  std::string ext = UpperExtension(path);
  if (chosen == 1) {
    if (ext != "TXT") path += ".txt";
  } else if (ext != "RTF") {
    path += ".rtf";
  }
  if (FileSize(path) != -1 &&
      MessageRequester(kMessageTitle, "Do you want to overwrite the file?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  if (SaveEditorFile(Editor(), path) != 0) {
    ReportFailureAnsi("write the licence editor's text", path, 0);
    MessageRequester(kMessageTitle, "The file could not be written:\n" + path, MB_OK | MB_ICONERROR);
  }
}

void ToggleEffect(int toggle, int bit, int* flag) {
  *flag = GetControlState(toggle) ? bit : 0;
  ApplyEffectFlags();
}

void ChooseFont() {
  FontChoice choice = rememberedFont;
  if (FontRequester(choice)) {
    HWND editor = Editor();
    SetEditorFontName(editor, choice.name);
    SetEditorFontSize(editor, choice.size);
    SetEditorTextColour(editor, choice.colour);
    rememberedFont = choice;
  }
  // After a cancel this is the style the dialog opened with, so a toggle pressed since
  // the last confirmed font is undone.
  int style = rememberedFont.style;
  boldFlag = (style & kFontBold) ? kEffectBold : 0;
  italicFlag = (style & kFontItalic) ? kEffectItalic : 0;
  underlineFlag = (style & kFontUnderline) ? kEffectUnderline : 0;
  strikeOutFlag = (style & kFontStrikeOut) ? kEffectStrikeOut : 0;
  ApplyEffectFlags();
}

}  // namespace

bool HandleEditorToolbarEvent(int control, int type) {
  (void)type;  // every event of a button runs it
  switch (control) {
    case ctl::kEditorNew:
      SetControlText(ctl::kLicenceEditor, "");
      return true;
    case ctl::kEditorOpen:
      OpenIntoEditor();
      return true;
    case ctl::kEditorSave:
      SaveFromEditor();
      return true;
    case ctl::kEditorCut:
      CutEditorSelection(Editor());
      return true;
    case ctl::kEditorCopy:
      CopyEditorSelection(Editor());
      return true;
    case ctl::kEditorPaste:
      PasteEditorClipboard(Editor());
      return true;
    case ctl::kEditorDelete:
      ClearEditorSelection(Editor());
      return true;
    case ctl::kEditorBold:
      ToggleEffect(control, kEffectBold, &boldFlag);
      return true;
    case ctl::kEditorItalic:
      ToggleEffect(control, kEffectItalic, &italicFlag);
      return true;
    case ctl::kEditorUnderline:
      ToggleEffect(control, kEffectUnderline, &underlineFlag);
      return true;
    case ctl::kEditorFont:
      ChooseFont();
      return true;
    default:
      return false;
  }
}
