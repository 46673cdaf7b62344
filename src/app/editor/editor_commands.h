// The licence editor: clipboard commands, character formatting of the selection, the
// margin, selection queries, loading and saving its whole text as an RTF or plain-text
// file, and the tool bar above it.
//
// Some operations take the editor's window handle (they are also used from the build
// thread, where the send reaches the GUI thread), others its control number.
#ifndef ZK_APP_EDITOR_EDITOR_COMMANDS_H
#define ZK_APP_EDITOR_EDITOR_COMMANDS_H

#include <windows.h>

#include <string>

// Effects mask of SetEditorEffects: the values of CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE and
// CFE_STRIKEOUT.
constexpr int kEffectBold = 1;
constexpr int kEffectItalic = 2;
constexpr int kEffectUnderline = 4;
constexpr int kEffectStrikeOut = 8;

// Format selectors of LoadEditorFile: "#RET_" followed by the upper-cased extension.
extern const char kEditorFormatRtf[];  // "#RET_RTF"
extern const char kEditorFormatTxt[];  // "#RET_TXT"

void CutEditorSelection(HWND editor);
void CopyEditorSelection(HWND editor);
void PasteEditorClipboard(HWND editor);
void ClearEditorSelection(HWND editor);

// Each sets one attribute of the selected text and leaves the others as they are.
// A face name longer than a character format holds (31 bytes) is refused: a cut name
// would pick some other font.
void SetEditorFontName(HWND editor, const std::string& face);
void SetEditorFontSize(HWND editor, int points);
// colour is 0x00BBGGRR; the text no longer follows the system's text colour.
void SetEditorTextColour(HWND editor, COLORREF colour);
// Sets each of bold, italic, underline and strike-out when its bit is in effects and
// clears it otherwise.
void SetEditorEffects(int editor, int effects);
// The same margin in pixels on the left and on the right.
void SetEditorMargins(HWND editor, int margin);

int GetEditorSelectionStart(int editor);  // first selected character
int GetEditorSelectionEnd(int editor);    // position after the selection
int HasEditorSelection(int editor);       // 1 when something is selected

// Replaces the editor's content with the file, read as RTF (kEditorFormatRtf) or plain
// text (kEditorFormatTxt); any other selector loads nothing. Returns 0 on success, 1 when
// the file cannot be opened, otherwise the control's stream error. On any failure the
// editor keeps its content.
int LoadEditorFile(HWND editor, const std::string& path, const std::string& format);
// Writes the whole content to path: RTF when its extension is "rtf" in any letter case,
// plain text otherwise. The text goes to a temporary file in the same folder that
// replaces path only once complete, so a failed save leaves the old file as it was.
// Returns 0 on success, 1 when the file cannot be created or replaced, otherwise the
// control's stream error.
int SaveEditorFile(HWND editor, const std::string& path);

// The stream callbacks of LoadEditorFile and SaveEditorFile; the cookie is the number of
// an open runtime file.
DWORD CALLBACK EditorStreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
DWORD CALLBACK EditorStreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);

// Runs the licence editor's tool-bar button `control` (0x1B58-0x1B6A) on the licence
// editor; returns false when control is not one of its buttons.
bool HandleEditorToolbarEvent(int control, int type);

#endif
