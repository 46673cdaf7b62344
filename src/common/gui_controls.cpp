// Runtime controls: creation and the operations common to every kind.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "common/dpi.h"
#include "common/gui_internal.h"
#include "common/text.h"

namespace gui {

intptr_t MakeControl(int number, ControlKind kind, const wchar_t* cls, const std::wstring& text, DWORD style,
                     DWORD exStyle, int x, int y, int w, int h, ControlRec** out) {
  ZK_GUI_THREAD_ONLY(0);
  RegisterClasses();
  ControlList& list = CurrentList();
  if (!list.parent || !IsWindow(list.parent)) return 0;
  const bool any = number == kAnyNumber;
  if (any) {
    number = AllocateControlNumber();
    if (!number) return 0;
  } else if (number < 0 || number > kLastNumber) {
    return 0;
  } else if (FindControlRec(number)) {
    FreeControl(number);
  }
  HWND hwnd =
      CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, LayoutToScreen(x), LayoutToScreen(y),
                      LayoutToScreen(w), LayoutToScreen(h), list.parent,
                      reinterpret_cast<HMENU>(static_cast<intptr_t>(number)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return 0;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont()), FALSE);
  ControlRec rec;
  rec.number = number;
  rec.hwnd = hwnd;
  rec.kind = kind;
  rec.rootWindow = list.rootWindow;
  rec.parent = list.parent;
  ControlRec* stored = StoreControl(std::move(rec));
  if (out) *out = stored;
  return any ? number : reinterpret_cast<intptr_t>(hwnd);
}

namespace {

// Options that follow each other in one control list form one group.
thread_local HWND t_lastParent = nullptr;
thread_local ControlKind t_lastKind = ControlKind::None;

intptr_t Made(intptr_t r, ControlKind kind) {
  if (r) {
    t_lastParent = CurrentList().parent;
    t_lastKind = kind;
  }
  return r;
}

DWORD TextStyle(unsigned flags) {
  DWORD s = WS_TABSTOP | ES_AUTOHSCROLL;
  if (flags & kTextNumeric) s |= ES_NUMBER;
  if (flags & kTextReadOnly) s |= ES_READONLY;
  if (flags & kTextPassword) s |= ES_PASSWORD;
  if (flags & kTextMultiline) s = (s & ~ES_AUTOHSCROLL) | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN;
  return s;
}

DWORD LabelStyle(unsigned flags) {
  DWORD s = SS_NOTIFY;
  if (flags & kLabelCenter) s |= SS_CENTER;
  if (flags & kLabelRight) s |= SS_RIGHT;
  if (flags & kLabelBorder) s |= WS_BORDER;
  return s;
}

bool LoadRichEdit(const wchar_t** cls) {
  static const wchar_t* found = []() -> const wchar_t* {
    if (LoadLibraryW(L"RICHED20.DLL")) return L"RichEdit20W";
    if (LoadLibraryW(L"RICHED32.DLL")) return L"RICHEDIT";
    return nullptr;
  }();
  *cls = found;
  return found != nullptr;
}

void ImageKind(HANDLE image, DWORD* style) {
  if (image) *style |= GetObjectType(image) == OBJ_BITMAP ? BS_BITMAP : BS_ICON;
}

}  // namespace

}  // namespace gui

using namespace gui;

intptr_t CreateButtonW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags) {
  DWORD style = WS_TABSTOP | ((flags & kButtonDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  return Made(MakeControl(number, ControlKind::Button, L"BUTTON", text, style, 0, x, y, w, h), ControlKind::Button);
}

intptr_t CreateButton(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return CreateButtonW(number, x, y, w, h, AnsiToWide(text), flags);
}

intptr_t CreateToggleButton(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return Made(MakeControl(number, ControlKind::ToggleButton, L"BUTTON", AnsiToWide(text),
                          WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, x, y, w, h),
              ControlKind::ToggleButton);
}

intptr_t CreateImageButton(int number, int x, int y, int w, int h, HANDLE image, unsigned flags) {
  DWORD style = WS_TABSTOP | BS_PUSHBUTTON;
  ImageKind(image, &style);
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::ImageButton, L"BUTTON", L"", style, 0, x, y, w, h, &rec);
  if (r && image) {
    rec->image = image;
    SendMessageW(rec->hwnd, BM_SETIMAGE, (style & BS_BITMAP) ? IMAGE_BITMAP : IMAGE_ICON,
                 reinterpret_cast<LPARAM>(image));
  }
  return Made(r, ControlKind::ImageButton);
}

intptr_t CreateCheckBoxW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags) {
  return Made(MakeControl(number, ControlKind::CheckBox, L"BUTTON", text, WS_TABSTOP | BS_AUTOCHECKBOX, 0, x, y, w, h),
              ControlKind::CheckBox);
}

intptr_t CreateCheckBox(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return CreateCheckBoxW(number, x, y, w, h, AnsiToWide(text), flags);
}

intptr_t CreateOptionW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags) {
  bool starts =
      (flags & kOptionGroupStart) || t_lastKind != ControlKind::Option || t_lastParent != CurrentList().parent;
  DWORD style = BS_AUTORADIOBUTTON | (starts ? (WS_GROUP | WS_TABSTOP) : 0);
  return Made(MakeControl(number, ControlKind::Option, L"BUTTON", text, style, 0, x, y, w, h), ControlKind::Option);
}

intptr_t CreateOption(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return CreateOptionW(number, x, y, w, h, AnsiToWide(text), flags);
}

intptr_t CreateFrameW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags) {
  return Made(MakeControl(number, ControlKind::Frame, L"BUTTON", text, BS_GROUPBOX, 0, x, y, w, h), ControlKind::Frame);
}

intptr_t CreateFrame(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return CreateFrameW(number, x, y, w, h, AnsiToWide(text), flags);
}

intptr_t CreateLabelW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags) {
  DWORD style = LabelStyle(flags);
  // A label one line high is cut at its right edge rather than wrapped to a second line
  // that it has no room to show.
  if (h <= 20 && !(flags & (kLabelCenter | kLabelRight))) style |= SS_LEFTNOWORDWRAP;
  return Made(MakeControl(number, ControlKind::Label, L"STATIC", text, style, 0, x, y, w, h), ControlKind::Label);
}

intptr_t CreateLabel(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return CreateLabelW(number, x, y, w, h, AnsiToWide(text), flags);
}

intptr_t CreateLink(int number, int x, int y, int w, int h, const std::string& text, COLORREF hoverColour,
                    unsigned flags) {
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::Link, L"STATIC", AnsiToWide(text), SS_NOTIFY, 0, x, y, w, h, &rec);
  if (!r) return 0;
  rec->hover = hoverColour;
  if (flags & kLinkUnderline) {
    LOGFONTW lf;
    GetObjectW(DefaultFont(), sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    rec->ownFont.reset(CreateFontIndirectW(&lf));
    SendMessageW(rec->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(rec->ownFont.get()), FALSE);
  }
  SubclassLink(rec);
  return Made(r, ControlKind::Link);
}

intptr_t CreateTextFieldW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags) {
  DWORD ex = (flags & kTextBorderless) ? 0 : WS_EX_CLIENTEDGE;
  return Made(MakeControl(number, ControlKind::Text, L"EDIT", text, TextStyle(flags), ex, x, y, w, h),
              ControlKind::Text);
}

intptr_t CreateTextField(int number, int x, int y, int w, int h, const std::string& text, unsigned flags) {
  return CreateTextFieldW(number, x, y, w, h, AnsiToWide(text), flags);
}

intptr_t CreateCombo(int number, int x, int y, int w, int h, unsigned flags) {
  DWORD style =
      WS_TABSTOP | WS_VSCROLL | ((flags & kComboEditable) ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
  // The height given is the closed box; the list drops below it.
  return Made(MakeControl(number, ControlKind::Combo, WC_COMBOBOXW, L"", style, 0, x, y, w, h + 200),
              ControlKind::Combo);
}

intptr_t CreateTree(int number, int x, int y, int w, int h, unsigned flags) {
  DWORD style = WS_TABSTOP | TVS_SHOWSELALWAYS;
  if (!(flags & kTreeNoLines)) style |= TVS_HASLINES | TVS_LINESATROOT;
  if (!(flags & kTreeNoButtons)) style |= TVS_HASBUTTONS;
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::Tree, WC_TREEVIEWW, L"", style, WS_EX_CLIENTEDGE, x, y, w, h, &rec);
  // Check boxes are switched on after creation, as the control documents.
  if (r && (flags & kTreeCheckBoxes))
    SetWindowLongPtrW(rec->hwnd, GWL_STYLE, GetWindowLongPtrW(rec->hwnd, GWL_STYLE) | TVS_CHECKBOXES);
  return Made(r, ControlKind::Tree);
}

intptr_t CreateList(int number, int x, int y, int w, int h, const std::string& firstColumn, int firstWidth,
                    unsigned flags) {
  DWORD style = WS_TABSTOP | LVS_REPORT;
  if (!(flags & kListMultiSelect)) style |= LVS_SINGLESEL;
  if (flags & kListAlwaysShowSelection) style |= LVS_SHOWSELALWAYS;
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::List, WC_LISTVIEWW, L"", style, WS_EX_CLIENTEDGE, x, y, w, h, &rec);
  if (!r) return 0;
  DWORD ex = LVS_EX_DOUBLEBUFFER;
  if (flags & kListFullRowSelect) ex |= LVS_EX_FULLROWSELECT;
  if (flags & kListGridLines) ex |= LVS_EX_GRIDLINES;
  SendMessageW(rec->hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
  AddListColumn(rec->number, 0, firstColumn, firstWidth);
  return Made(r, ControlKind::List);
}

int AddListColumn(int list, int position, const std::string& title, int width) {
  ControlRec* c = FindControlRec(list);
  if (!c || c->kind != ControlKind::List) return 0;
  if (position < 0 || position > c->columns) position = c->columns;
  std::wstring t = AnsiToWide(title);
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = &t[0];
  col.cx = LayoutToScreen(width);
  col.iSubItem = position;
  if (SendMessageW(c->hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&col)) < 0)
    return 0;
  ++c->columns;
  return 1;
}

intptr_t CreateEditor(int number, int x, int y, int w, int h, unsigned flags) {
  const wchar_t* cls;
  if (!LoadRichEdit(&cls)) return 0;
  DWORD style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  if (flags & kEditorReadOnly) style |= ES_READONLY;
  if (!(flags & kEditorWordWrap)) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::Editor, cls, L"", style, WS_EX_CLIENTEDGE, x, y, w, h, &rec);
  if (r) SendMessageW(rec->hwnd, EM_SETEVENTMASK, 0, ENM_CHANGE);
  return Made(r, ControlKind::Editor);
}

intptr_t CreateProgress(int number, int x, int y, int w, int h, int minimum, int maximum, unsigned flags) {
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::Progress, PROGRESS_CLASSW, L"",
                           (flags & kProgressSmooth) ? PBS_SMOOTH : 0, 0, x, y, w, h, &rec);
  if (r) SendMessageW(rec->hwnd, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
  return Made(r, ControlKind::Progress);
}

intptr_t CreatePanel(int number, int x, int y, int w, int h) {
  return Made(MakeControl(number, ControlKind::Panel, WC_TABCONTROLW, L"",
                          WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, x, y, w, h),
              ControlKind::Panel);
}

intptr_t CreateContainer(int number, int x, int y, int w, int h) {
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::Custom, ContainerClassName(), L"", WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                           x, y, w, h, &rec);
  if (!r) return 0;
  ListStack().push_back(CurrentList());
  CurrentList().parent = rec->hwnd;
  return Made(r, ControlKind::Custom);
}

intptr_t CreateImageControl(int number, int x, int y, int w, int h, HANDLE image, unsigned flags) {
  DWORD style = SS_NOTIFY;
  // SS_ICON's bits are a subset of SS_BITMAP's, so the kind is kept apart from the style.
  const bool bitmap = image && GetObjectType(image) == OBJ_BITMAP;
  if (image) style |= bitmap ? SS_BITMAP : SS_ICON;
  if (flags & kImageBorder) style |= WS_BORDER;
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::Image, L"STATIC", L"", style, 0, x, y, w, h, &rec);
  if (r && image) {
    rec->image = image;
    SendMessageW(rec->hwnd, STM_SETIMAGE, bitmap ? IMAGE_BITMAP : IMAGE_ICON, reinterpret_cast<LPARAM>(image));
    // Setting the image sized the control to it; the box asked for is restored.
    SetWindowPos(rec->hwnd, nullptr, LayoutToScreen(x), LayoutToScreen(y), LayoutToScreen(w), LayoutToScreen(h),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return Made(r, ControlKind::Image);
}

intptr_t CreateScrollBar(int number, int x, int y, int w, int h, int minimum, int maximum, int page, unsigned flags) {
  ControlRec* rec = nullptr;
  intptr_t r = MakeControl(number, ControlKind::ScrollBar, L"SCROLLBAR", L"",
                           (flags & kScrollVertical) ? SBS_VERT : SBS_HORZ, 0, x, y, w, h, &rec);
  if (r) {
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = minimum;
    si.nMax = maximum;
    si.nPage = static_cast<UINT>(page);
    SetScrollInfo(rec->hwnd, SB_CTL, &si, TRUE);
  }
  return Made(r, ControlKind::ScrollBar);
}

intptr_t CreateStatusBar(int number, int window, const int* widths, int count) {
  HWND parent = WindowHandle(window);
  if (!parent) return 0;
  ControlList saved = CurrentList();
  CurrentList().parent = parent;
  CurrentList().rootWindow = window;
  ControlRec* rec = nullptr;
  intptr_t r =
      MakeControl(number, ControlKind::Status, STATUSCLASSNAMEW, L"", 0 /* no size grip */, 0, 0, 0, 0, 0, &rec);
  CurrentList() = saved;
  if (!r) return 0;
  std::vector<int> edges;
  int right = 0;
  for (int i = 0; i < count; ++i) {
    right = widths[i] < 0 ? -1 : right + LayoutToScreen(widths[i]);
    edges.push_back(right);
  }
  SendMessageW(rec->hwnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  return r;
}

int SetStatusText(int number, int field, const std::string& text) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  std::wstring t = AnsiToWide(text);
  return SendMessageW(w, SB_SETTEXTW, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(t.c_str())) ? 1 : 0;
}

int StatusBarHeight(int number) {
  HWND w = ControlHandle(number);
  RECT r = {};
  if (w) GetWindowRect(w, &r);
  return ScreenToLayout(r.bottom - r.top);
}

HWND ControlHandle(int number) {
  ControlRec* c = FindControlRec(number);
  return c ? c->hwnd : nullptr;
}

int IsControl(int number) { return ControlHandle(number) != nullptr; }

ControlKind GetControlKind(int number) {
  ControlRec* c = FindControlRec(number);
  return c ? c->kind : ControlKind::None;
}

int ControlNumberOf(HWND w) {
  ControlRec* c = FindControlRecByHandle(w);
  return c ? c->number : -1;
}

int FreeControl(int number) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  HWND w = c->hwnd;
  std::vector<HWND> pages = c->pages;
  if (c->kind == ControlKind::Link) UnsubclassLink(w);
  EraseControl(number);
  for (HWND p : pages) DestroyWindow(p);
  DestroyWindow(w);
  return 1;
}

int SetControlTextW(int number, const std::wstring& text) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  switch (GetControlKind(number)) {
    case ControlKind::Combo: {
      // The entry with this text becomes the selection.
      LRESULT i = SendMessageW(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
      if (i != CB_ERR) SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      if (GetWindowLongPtrW(w, GWL_STYLE) & CBS_DROPDOWNLIST) return 1;
      break;
    }
    case ControlKind::Status:
      return SendMessageW(w, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 1 : 0;
    default:
      break;
  }
  return SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 1 : 0;
}

int SetControlText(int number, const std::string& text) { return SetControlTextW(number, AnsiToWide(text)); }

std::wstring GetControlTextW(int number) {
  HWND w = ControlHandle(number);
  if (!w) return {};
  if (GetControlKind(number) == ControlKind::Editor) {
    GETTEXTLENGTHEX gl = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    LRESULT n = SendMessageW(w, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gl), 0);
    if (n <= 0) return {};
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    GETTEXTEX gt = {static_cast<DWORD>(t.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    LRESULT got = SendMessageW(w, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&gt), reinterpret_cast<LPARAM>(&t[0]));
    t.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return t;
  }
  LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
  std::wstring t(static_cast<size_t>(n) + 1, L'\0');
  LRESULT got = SendMessageW(w, WM_GETTEXT, t.size(), reinterpret_cast<LPARAM>(&t[0]));
  t.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return t;
}

std::string GetControlText(int number) { return WideToAnsi(GetControlTextW(number)); }

int SetControlState(int number, int state) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  switch (GetControlKind(number)) {
    case ControlKind::CheckBox:
    case ControlKind::Option:
    case ControlKind::ToggleButton:
      SendMessageW(w, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
      return 1;
    case ControlKind::Combo:
      SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(state), 0);
      return 1;
    case ControlKind::Progress:
      SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(state), 0);
      return 1;
    case ControlKind::Panel:
      return SetPanelTab(number, state);
    case ControlKind::ScrollBar:
      SetScrollPos(w, SB_CTL, state, TRUE);
      return 1;
    case ControlKind::List:
      SendMessageW(w, LVM_SETSELECTIONMARK, 0, state);
      if (state >= 0) {
        LVITEMW it = {};
        it.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        it.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageW(w, LVM_SETITEMSTATE, static_cast<WPARAM>(state), reinterpret_cast<LPARAM>(&it));
      }
      return 1;
    default:
      return 0;
  }
}

int GetControlState(int number) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  switch (GetControlKind(number)) {
    case ControlKind::CheckBox:
    case ControlKind::Option:
    case ControlKind::ToggleButton:
      return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    case ControlKind::Combo:
      return static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0));
    case ControlKind::Progress:
      return static_cast<int>(SendMessageW(w, PBM_GETPOS, 0, 0));
    case ControlKind::Panel:
      return GetPanelTab(number);
    case ControlKind::ScrollBar:
      return GetScrollPos(w, SB_CTL);
    case ControlKind::List: {
      // The focused row, or the first selected one when no row has the focus.
      LRESULT i = SendMessageW(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED | LVNI_SELECTED);
      if (i < 0) i = SendMessageW(w, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
      return static_cast<int>(i);
    }
    case ControlKind::Tree: {
      ControlRec* c = FindControlRec(number);
      HTREEITEM sel = reinterpret_cast<HTREEITEM>(SendMessageW(w, TVM_GETNEXTITEM, TVGN_CARET, 0));
      for (size_t i = 0; c && i < c->treeItems.size(); ++i)
        if (c->treeItems[i] == sel) return static_cast<int>(i);
      return -1;
    }
    default:
      return 0;
  }
}

int DisableControl(int number, bool disable) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  EnableWindow(w, disable ? FALSE : TRUE);
  return 1;
}

int IsControlEnabled(int number) {
  HWND w = ControlHandle(number);
  return w && IsWindowEnabled(w) ? 1 : 0;
}

int HideControl(int number, bool hide) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  ShowWindow(w, hide ? SW_HIDE : SW_SHOWNA);
  return 1;
}

int IsControlVisible(int number) {
  HWND w = ControlHandle(number);
  return w && (GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
}

namespace {
RECT ControlRect(HWND w) {
  RECT r = {};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

int ResizeControl(int number, int x, int y, int w, int h) {
  HWND hw = ControlHandle(number);
  if (!hw) return 0;
  RECT r = ControlRect(hw);
  int nx = x == kKeepValue ? r.left : LayoutToScreen(x), ny = y == kKeepValue ? r.top : LayoutToScreen(y);
  int nw = w == kKeepValue ? r.right - r.left : LayoutToScreen(w);
  int nh = h == kKeepValue ? r.bottom - r.top : LayoutToScreen(h);
  SetWindowPos(hw, nullptr, nx, ny, nw, nh, SWP_NOZORDER | SWP_NOACTIVATE);
  ControlRec* c = FindControlRec(number);
  if (c && c->kind == ControlKind::Panel) ShowPanelPage(c);
  return 1;
}

int ControlX(int number) {
  HWND w = ControlHandle(number);
  return w ? ScreenToLayout(ControlRect(w).left) : 0;
}
int ControlY(int number) {
  HWND w = ControlHandle(number);
  return w ? ScreenToLayout(ControlRect(w).top) : 0;
}
int ControlWidth(int number) {
  HWND w = ControlHandle(number);
  RECT r = w ? ControlRect(w) : RECT{};
  return ScreenToLayout(r.right - r.left);
}
int ControlHeight(int number) {
  HWND w = ControlHandle(number);
  RECT r = w ? ControlRect(w) : RECT{};
  return ScreenToLayout(r.bottom - r.top);
}

int SetControlFont(int number, HFONT font) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : DefaultFont()), TRUE);
  return 1;
}

int SetControlToolTip(int number, const std::string& text) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  WindowRec* win = FindWindowRec(c->rootWindow);
  if (!win) return 0;
  if (!win->tooltip) {
    win->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, win->hwnd, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (!win->tooltip) return 0;
  }
  std::wstring t = AnsiToWide(text);
  TTTOOLINFOW ti = {};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(c->hwnd);
  ti.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
  ti.lpszText = &t[0];
  SendMessageW(win->tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  return SendMessageW(win->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) ? 1 : 0;
}

int SetControlImage(int number, HANDLE image) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  bool bitmap = image && GetObjectType(image) == OBJ_BITMAP;
  c->image = image;
  if (c->kind == ControlKind::ImageButton) {
    LONG_PTR style = GetWindowLongPtrW(c->hwnd, GWL_STYLE) & ~(BS_BITMAP | BS_ICON);
    SetWindowLongPtrW(c->hwnd, GWL_STYLE, style | (bitmap ? BS_BITMAP : BS_ICON));
    SendMessageW(c->hwnd, BM_SETIMAGE, bitmap ? IMAGE_BITMAP : IMAGE_ICON, reinterpret_cast<LPARAM>(image));
    return 1;
  }
  if (c->kind == ControlKind::Image) {
    LONG_PTR style = GetWindowLongPtrW(c->hwnd, GWL_STYLE) & ~(SS_BITMAP | SS_ICON);
    SetWindowLongPtrW(c->hwnd, GWL_STYLE, style | (bitmap ? SS_BITMAP : SS_ICON));
    SendMessageW(c->hwnd, STM_SETIMAGE, bitmap ? IMAGE_BITMAP : IMAGE_ICON, reinterpret_cast<LPARAM>(image));
    return 1;
  }
  return 0;
}

int ActivateControl(int number) {
  HWND w = ControlHandle(number);
  if (!w) return 0;
  SetFocus(w);
  return 1;
}

int SetControlFrontColour(int number, COLORREF colour) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  c->front = colour;
  if (c->kind == ControlKind::Editor) {
    CHARFORMAT2W cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_COLOR;
    if (colour == kNoColour)
      cf.dwEffects = CFE_AUTOCOLOR;
    else
      cf.crTextColor = colour;
    SendMessageW(c->hwnd, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  } else if (c->kind == ControlKind::Progress) {
    SendMessageW(c->hwnd, PBM_SETBARCOLOR, 0, colour == kNoColour ? CLR_DEFAULT : colour);
  }
  InvalidateRect(c->hwnd, nullptr, TRUE);
  return 1;
}

int SetControlBackColour(int number, COLORREF colour) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  c->back = colour;
  c->backBrush.reset(colour == kNoColour ? nullptr : CreateSolidBrush(colour));
  switch (c->kind) {
    case ControlKind::Editor:
      SendMessageW(c->hwnd, EM_SETBKGNDCOLOR, colour == kNoColour, colour == kNoColour ? 0 : colour);
      break;
    case ControlKind::List:
      SendMessageW(c->hwnd, LVM_SETBKCOLOR, 0, colour == kNoColour ? CLR_DEFAULT : colour);
      SendMessageW(c->hwnd, LVM_SETTEXTBKCOLOR, 0, colour == kNoColour ? CLR_DEFAULT : colour);
      break;
    case ControlKind::Tree:
      SendMessageW(c->hwnd, TVM_SETBKCOLOR, 0, colour == kNoColour ? static_cast<LPARAM>(-1) : colour);
      break;
    case ControlKind::Progress:
      SendMessageW(c->hwnd, PBM_SETBKCOLOR, 0, colour == kNoColour ? CLR_DEFAULT : colour);
      break;
    default:
      break;
  }
  InvalidateRect(c->hwnd, nullptr, TRUE);
  return 1;
}
