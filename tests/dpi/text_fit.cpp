#include "dpi/text_fit.h"

#include "driver/driver.h"

namespace {

struct Fit {
  bool fits = true;
  std::string why;
};

std::string Narrow(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring ClassOf(HWND w) {
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  return cls;
}

std::wstring TextOf(HWND w) {
  std::string t;
  if (!DriverGetText(w, &t)) return L"";
  int n = MultiByteToWideChar(CP_UTF8, 0, t.c_str(), -1, nullptr, 0);
  std::wstring s(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, t.c_str(), -1, &s[0], n);
  return s;
}

// The dialog font the runtime gives its controls, as it makes it at the screen's DPI: the
// system's stock dialog font at 96 DPI, that font's face 11 pixels high grown by the DPI
// (rounded down) elsewhere. A font handle belongs to the process that made it, so the control's own
// cannot be used here; texts in fonts of their own are measured in this one.
HFONT DialogFont() {
  static const HFONT font = [] {
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    if (dpi == 96) return stock;
    LOGFONTW lf;
    GetObjectW(stock, sizeof(lf), &lf);
    lf.lfHeight = -(11 * dpi / 96);
    return CreateFontIndirectW(&lf);
  }();
  return font;
}

// The size the text needs in the dialog font; `width` > 0 wraps it at that width.
SIZE Needed(const std::wstring& text, UINT flags, int width) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, DialogFont());
  RECT r = {0, 0, width > 0 ? width : 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The room a control's text gets: the client area less what the control draws besides
// the text (the box of a check box, a button's edge, a group box's inset).
Fit Check(HWND w, const std::wstring& cls, LONG style, const std::wstring& text) {
  RECT c;
  GetClientRect(w, &c);
  int roomW = c.right, roomH = c.bottom;
  UINT flags = (style & SS_NOPREFIX) && cls == L"Static" ? DT_NOPREFIX : 0;
  bool wraps = false;
  if (cls == L"Static") {
    LONG type = style & SS_TYPEMASK;
    if (type == SS_ICON || type == SS_BITMAP || type == SS_OWNERDRAW || type == SS_ENHMETAFILE) return {};
    if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)
      flags |= DT_EXPANDTABS;
    else
      wraps = true, flags |= DT_WORDBREAK | DT_EXPANDTABS;
  } else {
    LONG type = style & BS_TYPEMASK;
    const int box = GetSystemMetrics(SM_CXMENUCHECK);
    if (type == BS_GROUPBOX) {
      roomW -= box;
      roomH = Needed(text, DT_SINGLELINE, 0).cy;  // the caption sits on the frame's edge
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ||
               type == BS_3STATE || type == BS_AUTO3STATE) {
      if (style & BS_PUSHLIKE)
        roomW -= 4;
      else
        roomW -= box + 3;
    } else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      roomW -= 4;
      roomH -= 4;
    } else {
      return {};  // owner-drawn and other kinds draw their own
    }
    if (style & BS_MULTILINE)
      wraps = true, flags |= DT_WORDBREAK;
    else
      flags |= DT_SINGLELINE;
  }
  SIZE need = Needed(text, flags, wraps ? roomW : 0);
  // A text's last letter ends in its own spacing: running a pixel or two past the box
  // cuts nothing that shows.
  const int slack = 2;
  if (need.cx <= roomW + slack && need.cy <= roomH + slack) return {};
  Fit f;
  f.fits = false;
  f.why = "needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) + ", has " + std::to_string(roomW) + "x" +
          std::to_string(roomH);
  return f;
}

void Walk(HWND parent, std::vector<ClippedText>* out) {
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    Walk(w, out);
    std::wstring cls = ClassOf(w);
    if (lstrcmpiW(cls.c_str(), L"Static") == 0)
      cls = L"Static";
    else if (lstrcmpiW(cls.c_str(), L"Button") == 0)
      cls = L"Button";
    else
      continue;
    std::wstring text = TextOf(w);
    if (text.empty()) continue;
    Fit f = Check(w, cls, static_cast<LONG>(GetWindowLongPtrW(w, GWL_STYLE)), text);
    if (!f.fits) out->push_back({Narrow(text), Narrow(cls) + " " + std::to_string(GetDlgCtrlID(w)) + ": " + f.why});
  }
}

}  // namespace

std::vector<ClippedText> ClippedTexts(HWND root) {
  std::vector<ClippedText> out;
  Walk(root, &out);
  return out;
}
