// The colouriser's window procedures: parents answer their recorded controls' colour,
// custom-draw and owner-draw messages; combo boxes colour their own edit and list; list
// views with alternating colours follow their rows and columns.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/colouriser/colouriser.h"
#include "app/colouriser/colouriser_state.h"

using namespace colouriser;

namespace {

const ControlEntry* ControlEntryOf(HWND window) {
  for (const ControlEntry& e : Module().controls)
    if (e.window == window) return &e;
  return nullptr;
}

float Threshold(int32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof(f));
  return f;
}

std::string CellText(HWND list, int item, int subItem) {
  char buffer[512] = {};
  LVITEMA it = {};
  it.iSubItem = subItem;
  it.pszText = buffer;
  it.cchTextMax = sizeof(buffer);
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
  return buffer;
}

// Sub-item prepaint of a recorded list view: plain, alternating and threshold colours.
void ColourListCell(const ColourRecord& r, NMLVCUSTOMDRAW* cd) {
  const int item = static_cast<int>(cd->nmcd.dwItemSpec);
  cd->clrTextBk = static_cast<COLORREF>(r.background);
  cd->clrText = static_cast<COLORREF>(r.text);
  if (r.modeBits & kColourModeAlternateRows)
    cd->clrTextBk = static_cast<COLORREF>((item & 1) ? r.group1.c : r.group1.b);
  if (r.modeBits & kColourModeAlternateColumns)
    cd->clrTextBk = static_cast<COLORREF>((cd->iSubItem & 1) ? r.group1.c : r.group1.b);
  if (!(r.modeBits & (kColourModeAbove | kColourModeBelow))) return;
  std::string text = CellText(r.window, item, cd->iSubItem);
  if (!IsNumericText(text)) return;
  double value =
      text.find('.') != std::string::npos ? std::atof(text.c_str()) : static_cast<double>(std::atol(text.c_str()));
  if ((r.modeBits & kColourModeAbove) && value > Threshold(r.group2.c)) {
    if (r.group2.b != kColourTransparent) cd->clrTextBk = static_cast<COLORREF>(r.group2.b);
    cd->clrText = static_cast<COLORREF>(r.group2.a);
  }
  if ((r.modeBits & kColourModeBelow) && value < Threshold(r.group3.c)) {
    if (r.group3.b != kColourTransparent) cd->clrTextBk = static_cast<COLORREF>(r.group3.b);
    cd->clrText = static_cast<COLORREF>(r.group3.a);
  }
}

// Selection colours of a list view, at sub-item prepaint. The list draws a selected item
// in the system colours whatever custom draw says, so the selected state is taken away
// and the focused item drawn in the selection colours instead.
LRESULT ColourListSelection(const ColourRecord& r, NMLVCUSTOMDRAW* cd, LRESULT result) {
  const UINT state = cd->nmcd.uItemState;
  const int item = static_cast<int>(cd->nmcd.dwItemSpec);
  State& s = Module();
  if (state & CDIS_SELECTED) {
    cd->nmcd.uItemState &= ~CDIS_SELECTED;
    result = CDRF_DODEFAULT;
  }
  if (state & CDIS_FOCUS) {
    cd->clrText = static_cast<COLORREF>(r.selectionText);
    cd->clrTextBk = static_cast<COLORREF>(r.selectionBackground);
    result = CDRF_NEWFONT;
    if (s.focusItem != item + 1 || s.focusList != r.window) {
      InvalidateRect(r.window, nullptr, TRUE);
      s.focusItem = item + 1;
      s.focusList = r.window;
    }
  } else if ((state & CDIS_SELECTED) && s.focusItem == item + 1 && s.focusList == r.window) {
    cd->clrTextBk = GetSysColor(COLOR_INACTIVEBORDER);
    cd->clrText = static_cast<COLORREF>(r.text);
    result = CDRF_NEWFONT;
  }
  return result;
}

bool ListCustomDraw(const ColourRecord& r, NMLVCUSTOMDRAW* cd, LRESULT* result) {
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
      *result = CDRF_NOTIFYSUBITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      ColourListCell(r, cd);
      *result = CDRF_NEWFONT;
      if ((r.modeBits & kColourModeSelection) && r.selectionEnabled &&
          (cd->nmcd.uItemState & (CDIS_SELECTED | CDIS_FOCUS)))
        *result = ColourListSelection(r, cd, *result);
      return true;
    default:
      return false;
  }
}

int TreeLevel(HWND tree, HTREEITEM item) {
  int level = 0;
  for (HTREEITEM p = TreeView_GetParent(tree, item); p; p = TreeView_GetParent(tree, p)) ++level;
  return level > 3 ? 0 : level;
}

bool TreeCustomDraw(const ColourRecord& r, NMTVCUSTOMDRAW* cd, LRESULT* result) {
  if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
    *result = CDRF_NOTIFYITEMDRAW;
    return true;
  }
  if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return false;
  const ColourGroup* levels[] = {nullptr, &r.group1, &r.group2, &r.group3};
  const ColourGroup* level = levels[TreeLevel(r.window, reinterpret_cast<HTREEITEM>(cd->nmcd.dwItemSpec))];
  // A level whose colours were never set is drawn like the base level: its zeroed
  // colours would be black text on black.
  if (level && level->c == 0) level = nullptr;
  cd->clrText = static_cast<COLORREF>(level ? level->a : r.text);
  cd->clrTextBk = static_cast<COLORREF>(level ? level->b : r.background);
  *result = CDRF_NEWFONT;
  if (r.selectionEnabled && (cd->nmcd.uItemState & (CDIS_SELECTED | CDIS_FOCUS))) {
    cd->clrText = static_cast<COLORREF>(r.selectionText);
    cd->clrTextBk = static_cast<COLORREF>(r.selectionBackground);
  }
  return true;
}

// An owner-drawn tab of a recorded tab control.
void DrawTab(const ColourRecord& r, DRAWITEMSTRUCT* di) {
  RECT rc = di->rcItem;
  HWND tab = di->hwndItem;
  if (static_cast<int>(di->itemID) == static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0))) {
    rc.left += 2;
    rc.top += 2;
    rc.bottom += 2;
  } else {
    rc.left -= 2;
  }
  if (!Module().themesActive && r.brush) FillRect(di->hDC, &rc, r.brush);
  wchar_t text[256] = {};
  TCITEMW item = {};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = text;
  item.cchTextMax = 255;
  SendMessageW(tab, TCM_GETITEMW, di->itemID, reinterpret_cast<LPARAM>(&item));
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(tab, TCM_GETIMAGELIST, 0, 0));
  if (images && item.iImage >= 0) {
    int w = 0, h = 0;
    ImageList_GetIconSize(images, &w, &h);
    HICON icon = ImageList_GetIcon(images, item.iImage, ILD_TRANSPARENT);
    if (icon) {
      DrawIconEx(di->hDC, rc.left + 4, (rc.bottom - h) / 2 + 2, icon, 0, 0, 0, nullptr, DI_NORMAL);
      DestroyIcon(icon);
    }
    rc.left += w + 2;
  }
  SetTextColor(di->hDC, static_cast<COLORREF>(r.text));
  SetBkMode(di->hDC, TRANSPARENT);
  DrawTextW(di->hDC, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

bool IsColourMessage(UINT m) {
  return m == WM_CTLCOLOREDIT || m == WM_CTLCOLORLISTBOX || m == WM_CTLCOLORBTN || m == WM_CTLCOLORDLG ||
         m == WM_CTLCOLORSCROLLBAR || m == WM_CTLCOLORSTATIC;
}

LRESULT AnswerColour(const ColourRecord& r, HDC dc, bool opaqueEdit) {
  SetBkMode(dc, opaqueEdit ? OPAQUE : TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(r.text));
  if (r.background != kColourTransparent) SetBkColor(dc, static_cast<COLORREF>(r.background));
  return reinterpret_cast<LRESULT>(r.brush);
}

}  // namespace

LRESULT CALLBACK ColouriserParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (m == WM_NCDESTROY) {
    RemoveWindowSubclass(w, ColouriserParentProc, id);
  } else if (IsColourMessage(m)) {
    const ColourRecord* r = RecordOfWindow(reinterpret_cast<HWND>(lp));
    if (r) {
      if (r->skip) return 0;
      bool opaque = r->kind == kColourKindEdit && !(r->modeBits & kColourModePattern);
      return AnswerColour(*r, reinterpret_cast<HDC>(wp), opaque);
    }
  } else if (m == WM_NOTIFY && lp) {
    NMHDR* h = reinterpret_cast<NMHDR*>(lp);
    if (h->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      if (GetControlClassName(h->hwndFrom) == "SysListView32") {
        NMLVCUSTOMDRAW* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(lp);
        cd->clrText = CLR_DEFAULT;
        cd->clrTextBk = CLR_DEFAULT;
      }
      const ColourRecord* r = RecordOfWindow(h->hwndFrom);
      LRESULT result = 0;
      if (r && r->kind == kColourKindListView && ListCustomDraw(*r, reinterpret_cast<NMLVCUSTOMDRAW*>(lp), &result))
        return result;
      if (r && r->kind == kColourKindTreeView && TreeCustomDraw(*r, reinterpret_cast<NMTVCUSTOMDRAW*>(lp), &result))
        return result;
    }
  } else if (m == WM_DRAWITEM && lp) {
    DRAWITEMSTRUCT* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    const ColourRecord* r = di->CtlType == ODT_TAB ? RecordOfWindow(di->hwndItem) : nullptr;
    if (r) {
      DrawTab(*r, di);
      return 0;
    }
  }
  return DefSubclassProc(w, m, wp, lp);
}

LRESULT CALLBACK ColouriserChildProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (m == WM_NCDESTROY) RemoveWindowSubclass(w, ColouriserChildProc, id);
  LRESULT result = DefSubclassProc(w, m, wp, lp);
  if (!ControlEntryOf(w)) return result;
  if (m != WM_CTLCOLORLISTBOX && m != WM_CTLCOLOREDIT) return result;
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(w, &info)) return result;
  HWND from = reinterpret_cast<HWND>(lp);
  if (from != info.hwndItem && from != info.hwndList) return result;
  const ColourRecord* r = RecordOfWindow(w);
  if (!r) return result;
  return AnswerColour(*r, reinterpret_cast<HDC>(wp), false);
}

LRESULT CALLBACK ColouriserControlProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (m == WM_NCDESTROY) RemoveWindowSubclass(w, ColouriserControlProc, id);
  LRESULT result = DefSubclassProc(w, m, wp, lp);
  if (!ControlEntryOf(w)) return result;
  switch (m) {
    case LVM_DELETEALLITEMS:
      // Emptying the list ends its colouring.
      ForgetColouredControl(GetDlgCtrlID(w));
      break;
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
    case LVM_DELETEITEM:
    case LVM_INSERTCOLUMNA:
    case LVM_INSERTCOLUMNW:
    case LVM_DELETECOLUMN:
      if (Module().redraw) RedrawAll(w);
      break;
    default:
      break;
  }
  return result;
}
