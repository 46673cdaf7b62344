#include "setupruntime/licence_text.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include "common/gui.h"
#include "common/scoped.h"

namespace {

DWORD CALLBACK ReadFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
  DWORD read = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(wanted), &read, nullptr)) return 1;
  *got = static_cast<LONG>(read);
  return 0;
}

constexpr UINT_PTR kLicenceSubclass = 1;
HWND g_editor = nullptr;

// The link's text, at most 255 characters.
std::wstring LinkText(HWND editor, CHARRANGE range) {
  if (range.cpMax - range.cpMin > 255) range.cpMax = range.cpMin + 255;
  if (range.cpMax <= range.cpMin) return L"";
  wchar_t text[256] = {};
  TEXTRANGEW tr;
  tr.chrg = range;
  tr.lpstrText = text;
  SendMessageW(editor, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
  return text;
}

LRESULT CALLBACK LicenceContainerProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (m == WM_NCDESTROY) {
    RemoveWindowSubclass(w, LicenceContainerProc, id);
  } else if (m == WM_NOTIFY) {
    const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
    if (h->hwndFrom == g_editor && h->code == EN_LINK) {
      const ENLINK* link = reinterpret_cast<const ENLINK*>(lp);
      if (link->msg == WM_LBUTTONDOWN) {
        std::wstring url = LinkText(g_editor, link->chrg);
        if (!url.empty()) ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
    }
  }
  return DefSubclassProc(w, m, wp, lp);
}

}  // namespace

LONG LoadLicenceText(HWND editor, const std::wstring& file, WPARAM flags) {
  ScopedHandle h(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return 1;
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(h.get());
  stream.pfnCallback = ReadFromFile;
  SendMessageW(editor, EM_STREAMIN, flags | SF_RTF, reinterpret_cast<LPARAM>(&stream));
  h.reset();
  return static_cast<LONG>(stream.dwError);
}

void PrepareLicenceEditor(int editor, const std::wstring& file) {
  HWND e = ControlHandle(editor);
  if (!e) return;
  g_editor = e;
  SendMessageW(e, EM_AUTOURLDETECT, TRUE, 0);
  LRESULT mask = SendMessageW(e, EM_GETEVENTMASK, 0, 0);
  SendMessageW(e, EM_SETEVENTMASK, 0, mask | ENM_LINK);
  DWORD a = GetFileAttributesW(file.c_str());
  if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY)) LoadLicenceText(e, file, 0);
  HWND parent = GetParent(e);
  // A second call for the same container leaves its one subclass as it is.
  if (parent) SetWindowSubclass(parent, LicenceContainerProc, kLicenceSubclass, 0);
}
