#include "app/project/editor_stream.h"

#include <richedit.h>

namespace {

struct StreamIn {
  const std::string* text;
  size_t pos;
};

DWORD CALLBACK CollectOut(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *done = count;
  return 0;
}

DWORD CALLBACK FeedIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
  StreamIn* in = reinterpret_cast<StreamIn*>(cookie);
  size_t left = in->text->size() - in->pos;
  size_t n = left < static_cast<size_t>(count) ? left : static_cast<size_t>(count);
  in->text->copy(reinterpret_cast<char*>(buffer), n, in->pos);
  in->pos += n;
  *done = static_cast<LONG>(n);
  return 0;
}

}  // namespace

std::string EditorToRtf(HWND editor) {
  std::string rtf;
  if (!editor) return rtf;
  EDITSTREAM es = {};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
  es.pfnCallback = CollectOut;
  SendMessageW(editor, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  if (es.dwError != 0) rtf.clear();
  return rtf;
}

bool RtfToEditor(HWND editor, const std::string& rtf) {
  if (!editor) return false;
  if (rtf.empty()) return SetWindowTextW(editor, L"") != 0;
  StreamIn in{&rtf, 0};
  EDITSTREAM es = {};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
  es.pfnCallback = FeedIn;
  SendMessageW(editor, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  return es.dwError == 0;
}
