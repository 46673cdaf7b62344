// Items of runtime controls (list rows, combo entries, tree items), panel tabs and links.
#include <windows.h>
#include <commctrl.h>

#include "common/gui_internal.h"
#include "common/text.h"

namespace gui {

void ShowPanelPage(ControlRec* panel) {
  if (!panel || panel->kind != ControlKind::Panel) return;
  RECT r;
  GetClientRect(panel->hwnd, &r);
  SendMessageW(panel->hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  int sel = static_cast<int>(SendMessageW(panel->hwnd, TCM_GETCURSEL, 0, 0));
  for (size_t i = 0; i < panel->pages.size(); ++i) {
    HWND page = panel->pages[i];
    SetWindowPos(page, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    ShowWindow(page, static_cast<int>(i) == sel ? SW_SHOWNA : SW_HIDE);
  }
}

namespace {

constexpr UINT_PTR kLinkSubclass = 1;

// Links follow the pointer: the hover colour while it is over them, and the hand.
LRESULT CALLBACK LinkProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (m == WM_NCDESTROY) {
    UnsubclassLink(w);
    return DefSubclassProc(w, m, wp, lp);
  }
  ControlRec* c = FindControlRecByHandle(w);
  if (!c) return DefSubclassProc(w, m, wp, lp);
  bool redraw = false;
  if (m == WM_MOUSEMOVE && !c->hot) {
    c->hot = true;
    redraw = true;
    TRACKMOUSEEVENT t = {sizeof(t), TME_LEAVE, w, 0};
    TrackMouseEvent(&t);
  } else if (m == WM_MOUSELEAVE && c->hot) {
    c->hot = false;
    redraw = true;
  }
  if (m == WM_SETCURSOR) {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    return TRUE;
  }
  if (redraw) InvalidateRect(w, nullptr, TRUE);
  return DefSubclassProc(w, m, wp, lp);
}

// Splits "a\nb\nc" into columns.
std::vector<std::wstring> Columns(const std::wstring& text) {
  std::vector<std::wstring> cols;
  size_t start = 0;
  for (;;) {
    size_t nl = text.find(L'\n', start);
    cols.push_back(text.substr(start, nl == std::wstring::npos ? std::wstring::npos : nl - start));
    if (nl == std::wstring::npos) break;
    start = nl + 1;
  }
  return cols;
}

// The tree item at a 0-based position; nullptr when there is none.
HTREEITEM TreeItem(const ControlRec* c, int item) {
  return item >= 0 && item < static_cast<int>(c->treeItems.size()) ? c->treeItems[static_cast<size_t>(item)] : nullptr;
}

// Sends a TVM_GETITEMW or TVM_SETITEMW for the tree item at a 0-based position; false when
// there is no such item (nothing is sent then) or the tree refuses.
bool TreeItemMessage(const ControlRec* c, int item, UINT message, TVITEMW& it) {
  it.hItem = TreeItem(c, item);
  return it.hItem && SendMessageW(c->hwnd, message, 0, reinterpret_cast<LPARAM>(&it));
}

// Item flags from a list or tree item state: both keep selection in one bit and the check
// mark as state image 2.
int ItemFlags(UINT state, UINT selectedBit, UINT imageMask) {
  int r = (state & selectedBit) ? kItemSelected : 0;
  if (((state & imageMask) >> 12) == 2) r |= kItemChecked;
  return r;
}

}  // namespace

int SubclassLink(ControlRec* rec) { return SetWindowSubclass(rec->hwnd, LinkProc, kLinkSubclass, 0) ? 1 : 0; }

void UnsubclassLink(HWND w) { RemoveWindowSubclass(w, LinkProc, kLinkSubclass); }

}  // namespace gui

using namespace gui;

int OpenPanelTab(int panel, const std::string& text) {
  ControlRec* c = FindControlRec(panel);
  if (!c || c->kind != ControlKind::Panel) return 0;
  std::wstring t = AnsiToWide(text);
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = &t[0];
  int index = static_cast<int>(c->pages.size());
  if (SendMessageW(c->hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) < 0) return 0;
  HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, ContainerClassName(), L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              c->hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!page) return 0;
  c->pages.push_back(page);
  ShowPanelPage(c);
  // Opening a tab from the panel's own level remembers that level for ClosePanel; opening
  // the next tab from a sibling page does not.
  ControlList& list = CurrentList();
  if (list.parent == c->parent) ListStack().push_back(list);
  list.parent = page;
  list.rootWindow = c->rootWindow;
  return 1;
}

int ClosePanel() {
  if (ListStack().empty()) return 0;
  CurrentList() = ListStack().back();
  ListStack().pop_back();
  return 1;
}

int SetPanelTab(int panel, int tab) {
  ControlRec* c = FindControlRec(panel);
  if (!c || c->kind != ControlKind::Panel || tab < 0 || tab >= static_cast<int>(c->pages.size())) return 0;
  SendMessageW(c->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  ShowPanelPage(c);
  return 1;
}

int GetPanelTab(int panel) {
  HWND w = ControlHandle(panel);
  return w ? static_cast<int>(SendMessageW(w, TCM_GETCURSEL, 0, 0)) : -1;
}

int AddControlItemW(int number, int position, const std::wstring& text, intptr_t data) {
  ControlRec* c = FindControlRec(number);
  if (!c) return -1;
  switch (c->kind) {
    case ControlKind::List: {
      int count = static_cast<int>(SendMessageW(c->hwnd, LVM_GETITEMCOUNT, 0, 0));
      if (position < 0 || position > count) position = count;
      std::vector<std::wstring> cols = Columns(text);
      LVITEMW it = {};
      it.mask = LVIF_TEXT | LVIF_PARAM;
      it.iItem = position;
      it.pszText = &cols[0][0];
      it.lParam = data;
      int index = static_cast<int>(SendMessageW(c->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
      if (index < 0) return -1;
      for (size_t col = 1; col < cols.size() && static_cast<int>(col) < c->columns; ++col) {
        LVITEMW sub = {};
        sub.iSubItem = static_cast<int>(col);
        sub.pszText = &cols[col][0];
        SendMessageW(c->hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
      }
      return index;
    }
    case ControlKind::Combo: {
      LRESULT index = position < 0 ? SendMessageW(c->hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))
                                   : SendMessageW(c->hwnd, CB_INSERTSTRING, static_cast<WPARAM>(position),
                                                  reinterpret_cast<LPARAM>(text.c_str()));
      if (index < 0) return -1;
      SendMessageW(c->hwnd, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
      return static_cast<int>(index);
    }
    case ControlKind::Tree: {
      // One level: items are appended at the root.
      std::wstring t = text;
      TVINSERTSTRUCTW ins = {};
      ins.hParent = TVI_ROOT;
      ins.hInsertAfter = TVI_LAST;
      ins.item.mask = TVIF_TEXT | TVIF_PARAM;
      ins.item.pszText = &t[0];
      ins.item.lParam = data;
      if (position >= 0 && position < static_cast<int>(c->treeItems.size()))
        ins.hInsertAfter = position == 0 ? TVI_FIRST : c->treeItems[static_cast<size_t>(position) - 1];
      else
        position = static_cast<int>(c->treeItems.size());
      HTREEITEM h =
          reinterpret_cast<HTREEITEM>(SendMessageW(c->hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
      if (!h) return -1;
      c->treeItems.insert(c->treeItems.begin() + position, h);
      return position;
    }
    default:
      return -1;
  }
}

int AddControlItem(int number, int position, const std::string& text, intptr_t data) {
  return AddControlItemW(number, position, AnsiToWide(text), data);
}

int RemoveControlItem(int number, int item) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return 0;
  switch (c->kind) {
    case ControlKind::List:
      return SendMessageW(c->hwnd, LVM_DELETEITEM, static_cast<WPARAM>(item), 0) ? 1 : 0;
    case ControlKind::Combo:
      return SendMessageW(c->hwnd, CB_DELETESTRING, static_cast<WPARAM>(item), 0) >= 0 ? 1 : 0;
    case ControlKind::Tree: {
      HTREEITEM h = TreeItem(c, item);
      if (!h) return 0;
      SendMessageW(c->hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h));
      c->treeItems.erase(c->treeItems.begin() + item);
      return 1;
    }
    default:
      return 0;
  }
}

int ClearControlItems(int number) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  switch (c->kind) {
    case ControlKind::List:
      SendMessageW(c->hwnd, LVM_DELETEALLITEMS, 0, 0);
      return 1;
    case ControlKind::Combo:
      SendMessageW(c->hwnd, CB_RESETCONTENT, 0, 0);
      return 1;
    case ControlKind::Tree:
      SendMessageW(c->hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
      c->treeItems.clear();
      return 1;
    case ControlKind::Editor:
    case ControlKind::Text:
      SendMessageW(c->hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
      return 1;
    default:
      return 0;
  }
}

int CountControlItems(int number) {
  ControlRec* c = FindControlRec(number);
  if (!c) return 0;
  switch (c->kind) {
    case ControlKind::List:
      return static_cast<int>(SendMessageW(c->hwnd, LVM_GETITEMCOUNT, 0, 0));
    case ControlKind::Combo:
      return static_cast<int>(SendMessageW(c->hwnd, CB_GETCOUNT, 0, 0));
    case ControlKind::Tree:
      return static_cast<int>(c->treeItems.size());
    case ControlKind::Panel:
      return static_cast<int>(c->pages.size());
    default:
      return 0;
  }
}

std::string GetItemText(int number, int item, int column) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return {};
  wchar_t buf[4096] = L"";
  switch (c->kind) {
    case ControlKind::List: {
      LVITEMW it = {};
      it.iSubItem = column;
      it.pszText = buf;
      it.cchTextMax = 4096;
      SendMessageW(c->hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
      break;
    }
    case ControlKind::Combo: {
      LRESULT n = SendMessageW(c->hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
      if (n < 0) return {};
      std::wstring t(static_cast<size_t>(n) + 1, L'\0');
      SendMessageW(c->hwnd, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&t[0]));
      t.resize(static_cast<size_t>(n));
      return WideToAnsi(t);
    }
    case ControlKind::Tree: {
      TVITEMW it = {};
      it.mask = TVIF_TEXT;
      it.pszText = buf;
      it.cchTextMax = 4096;
      TreeItemMessage(c, item, TVM_GETITEMW, it);
      break;
    }
    case ControlKind::Panel: {
      TCITEMW it = {};
      it.mask = TCIF_TEXT;
      it.pszText = buf;
      it.cchTextMax = 4096;
      SendMessageW(c->hwnd, TCM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
      break;
    }
    default:
      return {};
  }
  return WideToAnsi(buf);
}

int SetItemText(int number, int item, const std::string& text, int column) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return 0;
  std::wstring t = AnsiToWide(text);
  switch (c->kind) {
    case ControlKind::List: {
      LVITEMW it = {};
      it.iSubItem = column;
      it.pszText = &t[0];
      return SendMessageW(c->hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)) ? 1 : 0;
    }
    case ControlKind::Tree: {
      TVITEMW it = {};
      it.mask = TVIF_TEXT;
      it.pszText = &t[0];
      return TreeItemMessage(c, item, TVM_SETITEMW, it) ? 1 : 0;
    }
    default:
      return 0;
  }
}

int GetItemState(int number, int item) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return 0;
  switch (c->kind) {
    case ControlKind::List: {
      UINT s = static_cast<UINT>(
          SendMessageW(c->hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED | LVIS_STATEIMAGEMASK));
      return ItemFlags(s, LVIS_SELECTED, LVIS_STATEIMAGEMASK);
    }
    case ControlKind::Tree: {
      HTREEITEM h = TreeItem(c, item);
      if (!h) return 0;
      UINT s = static_cast<UINT>(
          SendMessageW(c->hwnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_SELECTED | TVIS_STATEIMAGEMASK));
      return ItemFlags(s, TVIS_SELECTED, TVIS_STATEIMAGEMASK);
    }
    case ControlKind::Combo:
      return SendMessageW(c->hwnd, CB_GETCURSEL, 0, 0) == item ? kItemSelected : 0;
    default:
      return 0;
  }
}

int SetItemState(int number, int item, int state) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return 0;
  switch (c->kind) {
    case ControlKind::List: {
      LVITEMW it = {};
      it.stateMask = LVIS_SELECTED;
      it.state = (state & kItemSelected) ? LVIS_SELECTED : 0;
      return SendMessageW(c->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)) ? 1 : 0;
    }
    case ControlKind::Tree: {
      TVITEMW it = {};
      it.mask = TVIF_STATE;
      it.stateMask = TVIS_STATEIMAGEMASK | TVIS_SELECTED;
      it.state = INDEXTOSTATEIMAGEMASK((state & kItemChecked) ? 2 : 1) | ((state & kItemSelected) ? TVIS_SELECTED : 0);
      return TreeItemMessage(c, item, TVM_SETITEMW, it) ? 1 : 0;
    }
    case ControlKind::Combo:
      if (state & kItemSelected) SendMessageW(c->hwnd, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
      return 1;
    default:
      return 0;
  }
}

intptr_t GetItemData(int number, int item) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return 0;
  switch (c->kind) {
    case ControlKind::List: {
      LVITEMW it = {};
      it.mask = LVIF_PARAM;
      it.iItem = item;
      return SendMessageW(c->hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : 0;
    }
    case ControlKind::Combo: {
      LRESULT d = SendMessageW(c->hwnd, CB_GETITEMDATA, static_cast<WPARAM>(item), 0);
      return d == CB_ERR ? 0 : d;
    }
    case ControlKind::Tree: {
      TVITEMW it = {};
      it.mask = TVIF_PARAM;
      return TreeItemMessage(c, item, TVM_GETITEMW, it) ? it.lParam : 0;
    }
    default:
      return 0;
  }
}

int SetItemData(int number, int item, intptr_t data) {
  ControlRec* c = FindControlRec(number);
  if (!c || item < 0) return 0;
  switch (c->kind) {
    case ControlKind::List: {
      LVITEMW it = {};
      it.mask = LVIF_PARAM;
      it.iItem = item;
      it.lParam = data;
      return SendMessageW(c->hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ? 1 : 0;
    }
    case ControlKind::Combo:
      return SendMessageW(c->hwnd, CB_SETITEMDATA, static_cast<WPARAM>(item), data) != CB_ERR ? 1 : 0;
    case ControlKind::Tree: {
      TVITEMW it = {};
      it.mask = TVIF_PARAM;
      it.lParam = data;
      return TreeItemMessage(c, item, TVM_SETITEMW, it) ? 1 : 0;
    }
    default:
      return 0;
  }
}
