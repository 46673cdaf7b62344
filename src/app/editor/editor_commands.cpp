// The licence editor's operations, each a thin wrapper around one rich-edit message.
#include "app/editor/editor_commands.h"

#include <richedit.h>
#include <string.h>

#include "app/project/editor_stream.h"
#include "common/files.h"
#include "common/gui.h"
#include "common/path_split.h"
#include "common/whole_file.h"

const char kEditorFormatRtf[] = "#RET_RTF";
const char kEditorFormatTxt[] = "#RET_TXT";

namespace {

// A fresh record for one formatting operation. The ANSI form of the record: its
// face-name field holds code-page bytes, as the program's texts are.
CHARFORMATA NewCharFormat(DWORD mask) {
  CHARFORMATA cf;
  memset(&cf, 0, sizeof(cf));
  cf.cbSize = sizeof(cf);
  cf.dwMask = mask;
  return cf;
}

void ApplyToSelection(HWND editor, CHARFORMATA& cf) {
  SendMessageA(editor, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

CHARRANGE Selection(int editor) {
  CHARRANGE r = {0, 0};
  HWND w = ControlHandle(editor);
  if (w) SendMessageA(w, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

bool IsRtfPath(const std::string& path) { return lstrcmpiA(PathExtension(path).c_str(), "rtf") == 0; }

}  // namespace

void CutEditorSelection(HWND editor) { SendMessageA(editor, WM_CUT, 0, 0); }
void CopyEditorSelection(HWND editor) { SendMessageA(editor, WM_COPY, 0, 0); }
void PasteEditorClipboard(HWND editor) { SendMessageA(editor, WM_PASTE, 0, 0); }
void ClearEditorSelection(HWND editor) { SendMessageA(editor, WM_CLEAR, 0, 0); }

void SetEditorFontName(HWND editor, const std::string& face) {
  CHARFORMATA cf = NewCharFormat(CFM_FACE);
  if (face.size() >= sizeof(cf.szFaceName)) return;
  memcpy(cf.szFaceName, face.c_str(), face.size() + 1);
  ApplyToSelection(editor, cf);
}

void SetEditorFontSize(HWND editor, int points) {
  CHARFORMATA cf = NewCharFormat(CFM_SIZE);
  cf.yHeight = points * 20;  // twips
  ApplyToSelection(editor, cf);
}

void SetEditorTextColour(HWND editor, COLORREF colour) {
  // dwEffects stays 0: without CFE_AUTOCOLOR the colour given is used.
  CHARFORMATA cf = NewCharFormat(CFM_COLOR);
  cf.crTextColor = colour;
  ApplyToSelection(editor, cf);
}

void SetEditorEffects(int editor, int effects) {
  CHARFORMATA cf = NewCharFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT);
  cf.dwEffects = static_cast<DWORD>(effects) & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT);
  ApplyToSelection(ControlHandle(editor), cf);
}

void SetEditorMargins(HWND editor, int margin) {
  SendMessageA(editor, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
}

int GetEditorSelectionStart(int editor) { return static_cast<int>(Selection(editor).cpMin); }
int GetEditorSelectionEnd(int editor) { return static_cast<int>(Selection(editor).cpMax); }

int HasEditorSelection(int editor) {
  CHARRANGE r = Selection(editor);
  return r.cpMin != r.cpMax ? 1 : 0;
}

DWORD CALLBACK EditorStreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  size_t got = count > 0 ? FileReadBytes(static_cast<int>(cookie), buffer, static_cast<size_t>(count)) : 0;
  *done = static_cast<LONG>(got);
  // The end of the file is told by *done == 0; a value returned here would become the
  // stream's error and fail every load.
  return 0;
}

DWORD CALLBACK EditorStreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  *done = 0;
  if (count <= 0) return 0;
  // A write that fails (full disk, lost network folder) stops the stream with an error,
  // so the caller never takes a short file for a saved one.
  if (!FileWriteBytes(static_cast<int>(cookie), buffer, static_cast<size_t>(count))) return ERROR_WRITE_FAULT;
  *done = count;
  return 0;
}

int LoadEditorFile(HWND editor, const std::string& path, const std::string& format) {
  if (!IsWindow(editor)) return 1;
  intptr_t opened = FileOpenRead(kAnyNumber, path);
  if (!opened) return 1;
  int file = static_cast<int>(opened);
  WPARAM streamFormat = 0;
  if (format == kEditorFormatRtf)
    streamFormat = SF_RTFNOOBJS;
  else if (format == kEditorFormatTxt)
    streamFormat = SF_TEXT;
  EDITSTREAM es = {};
  es.dwCookie = static_cast<DWORD_PTR>(file);
  es.dwError = 0;
  es.pfnCallback = EditorStreamInCallback;
  if (streamFormat != 0) {
    // The control empties itself before it finds out that a document is broken; the
    // old content is kept aside and put back then.
    std::string before = EditorToRtf(editor);
    SendMessageA(editor, EM_STREAMIN, streamFormat, reinterpret_cast<LPARAM>(&es));
    if (es.dwError != 0) RtfToEditor(editor, before);
  }
  FileClose(file);
  return static_cast<int>(es.dwError);
}

int SaveEditorFile(HWND editor, const std::string& path) {
  if (!IsWindow(editor)) return 1;
  DWORD error = 0;
  bool saved = WriteReplacing(path, "zke", [&](const std::string& temporary) {
    intptr_t created = FileCreate(kAnyNumber, temporary);
    if (!created) return false;
    int file = static_cast<int>(created);
    EDITSTREAM es = {};
    es.dwCookie = static_cast<DWORD_PTR>(file);
    es.dwError = 0;
    es.pfnCallback = EditorStreamOutCallback;
    SendMessageA(editor, EM_STREAMOUT, IsRtfPath(path) ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&es));
    FileClose(file);
    error = es.dwError;
    return error == 0;
  });
  // The stream's own error when it failed; 1 when the file could not be made or moved.
  if (saved) return 0;
  return error != 0 ? static_cast<int>(error) : 1;
}
