// The licence editor's content as RTF bytes in memory.
#ifndef ZK_APP_PROJECT_EDITOR_STREAM_H
#define ZK_APP_PROJECT_EDITOR_STREAM_H

#include <windows.h>

#include <string>

// The rich-text editor's whole content as RTF; empty when it cannot be streamed out.
std::string EditorToRtf(HWND editor);
// Replaces the editor's content with the RTF document rtf; an empty text empties the
// editor. Returns false when the editor did not take the document.
bool RtfToEditor(HWND editor, const std::string& rtf);

#endif
