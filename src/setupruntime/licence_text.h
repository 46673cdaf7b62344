// The licence page's rich-text view: the author's RTF streamed in, links detected and
// opened with the system's handler when clicked.
#ifndef ZK_SETUPRUNTIME_LICENCE_TEXT_H
#define ZK_SETUPRUNTIME_LICENCE_TEXT_H

#include <windows.h>

#include <string>

// Streams file into the rich-text control as RTF (flags are added to SF_RTF). Returns the
// stream's error value (0 on success), 1 when the file cannot be opened.
LONG LoadLicenceText(HWND editor, const std::wstring& file, WPARAM flags);

// Sets up control `editor` (a runtime editor): link detection and reports, the text of
// file when it exists, and link clicks opened through the system.
void PrepareLicenceEditor(int editor, const std::wstring& file);

#endif
