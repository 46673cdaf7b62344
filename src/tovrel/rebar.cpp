// Rebars: standard "ReBarWindow32" controls across the top of their parent, whose bands
// host the menu bar and the tool bar.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/text.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/internal.h"
#include "tovrel/tovrel.h"

namespace tovrel {
namespace {

struct RebarRec {
  HWND window = nullptr;
  HWND parent = nullptr;
  HBITMAP background = nullptr;  // for bands that bring none
  int uiStyle = 0;               // kept for the styled drawing
  int option = 0;                // kept for the styled drawing
  int nextBandId = 0;
};

bool HasClass(HWND w, const wchar_t* name) {
  wchar_t cls[64];
  return w && IsWindow(w) && GetClassNameW(w, cls, 64) && lstrcmpiW(cls, name) == 0;
}

void ReleaseRebar(RebarRec& r) {
  if (!r.window || !IsWindow(r.window)) return;
  // The hosted windows belong to whoever made them: they go back to the rebar's parent
  // instead of dying with the rebar.
  int count = static_cast<int>(SendMessageW(r.window, RB_GETBANDCOUNT, 0, 0));
  for (int i = count - 1; i >= 0; --i) {
    REBARBANDINFOW b = {};
    b.cbSize = sizeof(b);
    b.fMask = RBBIM_CHILD;
    HWND child = SendMessageW(r.window, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&b)) ? b.hwndChild : nullptr;
    SendMessageW(r.window, RB_DELETEBAND, i, 0);
    if (child && IsWindow(child) && IsWindow(r.parent)) SetParent(child, r.parent);
  }
  DestroyWindow(r.window);
}

Registry<RebarRec>& Rebars() {
  // Never destroyed, like the tool bars' registry.
  static auto* registry = new Registry<RebarRec>(ReleaseRebar);
  return *registry;
}

// The height a band needs for `child`: a tool bar's button height, else the window's.
int ChildHeight(HWND child) {
  if (!child) return 0;
  if (HasClass(child, TOOLBARCLASSNAMEW)) {
    int h = static_cast<short>(HIWORD(SendMessageW(child, TB_GETBUTTONSIZE, 0, 0)));
    if (h > 0) return h;
  }
  RECT r = {};
  GetWindowRect(child, &r);
  return r.bottom - r.top;
}

}  // namespace

int FreeRebar(intptr_t rebar) { return Rebars().FreeByWindow(rebar, State().currentRebar); }

}  // namespace tovrel

using tovrel::RebarRec;
using tovrel::Rebars;

intptr_t CreateRebar(int number, HWND parent, HBITMAP background, int flags, int option) {
  if (!Rebars().CanTake(number) || !IsWindow(parent)) return 0;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  tovrel::SetComponentFree(tovrel::COMPONENT_REBAR, tovrel::FreeRebar);
  // Only the low word is window style; the UI-style bits above it are the toolkit's.
  DWORD style =
      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NODIVIDER | (static_cast<DWORD>(flags) & 0xFFFF);
  HWND w = CreateWindowExW(0, REBARCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  if (!w) return 0;
  RebarRec rec;
  rec.window = w;
  rec.parent = parent;
  rec.background = background;
  rec.uiStyle = (flags & UISTYLE_OFFICE2003)   ? UISTYLE_OFFICE2003
                : (flags & UISTYLE_OFFICE2007) ? UISTYLE_OFFICE2007
                                               : 0;
  rec.option = option;
  int used = 0;
  if (!Rebars().Add(number, std::move(rec), &used)) return 0;
  tovrel::State().currentRebar = used;
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(w));
}

int AddRebarBand(HWND child, const std::string& text, int width, int minWidth, int minHeight, HBITMAP background,
                 int style) {
  int current = tovrel::State().currentRebar;
  if (current == kAnyNumber) return 0;
  HWND w = nullptr;
  HBITMAP shared = nullptr;
  int id = 0;
  if (!Rebars().With(current, [&](RebarRec& r) {
        w = r.window;
        shared = r.background;
        id = r.nextBandId;
      }))
    return -1;
  if (child && !IsWindow(child)) return -1;
  if (minHeight == 0) minHeight = tovrel::ChildHeight(child);
  if (tovrel::HasClass(child, TOOLBARCLASSNAMEW)) {
    // The band places and sizes the tool bar; it must neither size itself nor keep a
    // divider line, which would take rows from its buttons. Set on the window too: some
    // tool bars keep TB_SETSTYLE to themselves while the frame follows the window style.
    LONG_PTR s = GetWindowLongPtrW(child, GWL_STYLE) | CCS_NODIVIDER | CCS_NORESIZE;
    SendMessageW(child, TB_SETSTYLE, 0, SendMessageW(child, TB_GETSTYLE, 0, 0) | CCS_NODIVIDER | CCS_NORESIZE);
    SetWindowLongPtrW(child, GWL_STYLE, s);
    SetWindowPos(child, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  std::wstring wide = AnsiToWide(text);
  REBARBANDINFOW b = {};
  b.cbSize = sizeof(b);
  b.fMask = RBBIM_STYLE | RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
  b.fStyle = style ? static_cast<UINT>(style) : RBBS_CHILDEDGE;
  b.lpText = &wide[0];
  b.hwndChild = child;
  b.cxMinChild = minWidth;
  b.cyMinChild = b.cyChild = minHeight;
  b.cyIntegral = 1;
  b.cx = b.cxIdeal = width;
  b.wID = id;
  if (background) {
    b.fMask |= RBBIM_BACKGROUND;
    b.hbmBack = background;
  } else if (shared) {
    b.fMask |= RBBIM_BACKGROUND;
    b.hbmBack = shared;
    b.fStyle |= RBBS_FIXEDBMP;  // one picture behind all bands, not one per band
  }
  if (!SendMessageW(w, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&b))) return -1;
  Rebars().With(current, [&](RebarRec& r) { ++r.nextBandId; });
  return id;
}

int GetRebarHeight(intptr_t rebar) {
  HWND w = nullptr;
  int n = Rebars().FindByWindow(rebar);
  if (n >= 0) {
    Rebars().With(n, [&](RebarRec& r) { w = r.window; });
  } else if (tovrel::HasClass(reinterpret_cast<HWND>(rebar), REBARCLASSNAMEW)) {
    w = reinterpret_cast<HWND>(rebar);  // a rebar the toolkit did not make answers as well
  }
  if (!tovrel::HasClass(w, REBARCLASSNAMEW)) return 0;
  return static_cast<int>(SendMessageW(w, RB_GETBARHEIGHT, 0, 0));
}
