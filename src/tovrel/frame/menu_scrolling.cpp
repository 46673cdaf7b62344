#include "tovrel/frame/menu_scrolling.h"

#include <commctrl.h>

#include <string>

#include "common/scoped.h"
#include "tovrel/frame/menu_measure.h"
#include "tovrel/frame/menu_mutex_scope.h"
#include "tovrel/frame/menu_scroll_model.h"
#include "tovrel/frame/menu_state.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/scroll_copy_items.h"

namespace tovrel {

namespace {

constexpr UINT kScrollTimerPeriod = 20;  // ms between hover passes
constexpr DWORD kAnimationDelay = 10;    // ms between two 3-pixel moves

ScrollCopyState TheCopy;
// The direction of the running hover loop, -1 when none runs.
int HoverMode = -1;

MENUITEMINFOA ItemInfo(UINT mask) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  return info;
}

int ScrollItemId(int kind) {
  if (kind == kScrollUpArrow) return MenuScrollUpId;
  if (kind == kScrollDownArrow) return MenuScrollDownId;
  return MenuScrollFillerId;
}

// The real copy behind the scrolling model. Every step runs on the GUI thread while the
// menu loop tracks the copy, so no other code changes these menus meanwhile.
class MenuCopyEditor : public ScrollCopyEditor {
 public:
  int SourceCount() override { return ScrollSourceMenu ? GetMenuItemCount(ScrollSourceMenu) : 0; }

  bool SourceIsSeparator(int index) override {
    MenuMutexScope lock;
    MENUITEMINFOA info = ItemInfo(MIIM_FTYPE | MIIM_DATA);
    if (!GetMenuItemInfoA(ScrollSourceMenu, static_cast<UINT>(index), TRUE, &info)) return false;
    if (info.fType & MFT_SEPARATOR) return true;
    const MenuItem* item = ItemRecordOf(info.dwItemData);
    return item && item->kind == 0 && item->text.empty();
  }

  int SourceHeight(int index) override {
    MenuMutexScope lock;
    MENUITEMINFOA info = ItemInfo(MIIM_DATA);
    if (!GetMenuItemInfoA(ScrollSourceMenu, static_cast<UINT>(index), TRUE, &info)) return 0;
    const MenuItem* item = ItemRecordOf(info.dwItemData);
    ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
    return item && dc ? GetMenuItemHeight(dc.get(), *item) : 0;
  }

  int CopyHeight() override { return GetMenuHeight(ScrollPopupMenu); }

  bool Insert(int position, int entry, int fillerHeight) override {
    if (entry >= 0) return CopySourceItem(ScrollPopupMenu, position, ScrollSourceMenu, entry) != nullptr;
    if (entry == kScrollFiller) ScrollFillerHeight = fillerHeight;
    return InsertScrollItem(ScrollPopupMenu, position, entry);
  }

  bool Remove(int position) override {
    ShortcutsSuspended quiet;
    return RemoveMenuItem(reinterpret_cast<intptr_t>(ScrollPopupMenu), position, 1) != 0;
  }

  void Redraw(bool on) override {
    HWND window = ScrollPopupWindow;
    if (!window || !IsWindow(window)) return;
    SendMessageA(window, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (!on) return;
    // The items are whole again: let the painter draw them for this repaint.
    const int busy = ScrollBusy;
    ScrollBusy = 0;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
    ScrollBusy = busy;
  }

  void Animate(int distance, int dy, int topInset, int bottomInset) override {
    HWND window = ScrollPopupWindow;
    if (!window || !IsWindow(window)) return;
    RECT area = {};
    GetClientRect(window, &area);
    area.top += topInset;
    area.bottom -= bottomInset;
    if (area.bottom <= area.top) return;
    for (int i = 0; i < distance / 3; ++i) {
      ScrollWindow(window, 0, dy, &area, nullptr);
      Sleep(kAnimationDelay);
    }
  }
};

// One rebuild or one step of the copy, with the globals the menu code reads brought up to
// date before and after.
void RunPass(int mode) {
  ScrollCopyState& s = TheCopy;
  s.popupHeight = ScrollPopupHeight;
  s.itemHeight = ScrollItemHeight;
  s.fillerHeight = ScrollFillerHeight;
  s.atEnd = 0;
  MenuCopyEditor editor;
  ScrollBusy = 1;
  if (mode == 3)
    RebuildScrollCopyAtStart(s, editor);
  else if (mode == 2)
    RebuildScrollCopyAtEnd(s, editor);
  else if (mode == 0)
    StepScrollCopyTowardEnd(s, editor);
  else
    StepScrollCopyTowardStart(s, editor);
  ScrollBusy = 0;
  ScrollFillerHeight = s.fillerHeight;
  ScrollLastIndex = s.lastIndex;
  ScrollFirstIndex = s.firstIndex;
  if (s.atEnd) ScrollAtEnd = 1;
}

bool CopyExists() { return ScrollPopupMenu && ScrollSourceMenu && IsMenu(ScrollPopupMenu); }

}  // namespace

ScrollCopyState& ScrollCopy() { return TheCopy; }

const MenuItem* CopySourceItem(HMENU copy, int position, HMENU source, int index) {
  MenuMutexScope lock;
  MENUITEMINFOA info = ItemInfo(MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_FTYPE);
  if (!GetMenuItemInfoA(source, static_cast<UINT>(index), TRUE, &info)) return nullptr;
  const MenuItem* original = ItemRecordOf(info.dwItemData);
  if (!original) return nullptr;
  const std::string text = original->text;
  {
    ShortcutsSuspended quiet;
    if (!InsertMenuItemAt(reinterpret_cast<intptr_t>(copy), position, static_cast<int>(info.wID), text, nullptr,
                          nullptr, nullptr, reinterpret_cast<intptr_t>(info.hSubMenu)))
      return nullptr;
  }
  const int at = position < 0 ? GetMenuItemCount(copy) - 1 : position;
  // The insertion may have let the lock go: the source's record is looked up again.
  original = ItemRecordOf(info.dwItemData);
  MENUITEMINFOA made = ItemInfo(MIIM_DATA);
  MenuItem* item = GetMenuItemInfoA(copy, static_cast<UINT>(at), TRUE, &made) ? ItemRecordOf(made.dwItemData) : nullptr;
  if (item && original) {
    item->imageWidth = original->imageWidth;
    item->imageHeight = original->imageHeight;
    item->imageCheckMark = original->imageCheckMark;
    item->radioFlag = original->radioFlag;
    if (original->normalImageGiven && original->imageList) {
      item->imageList = ImageList_Duplicate(original->imageList);
      item->normalImageGiven = original->normalImageGiven;
      item->hotImageGiven = original->hotImageGiven;
      item->disabledImageGiven = original->disabledImageGiven;
      item->uiStyle = original->uiStyle;
    }
  }
  // A separator stays one, so that the system never selects it or sends its command; the
  // source's selection does not come along.
  MENUITEMINFOA state = ItemInfo(MIIM_STATE | MIIM_FTYPE);
  state.fState = info.fState & ~static_cast<UINT>(MFS_HILITE);
  state.fType = info.fType;
  SetMenuItemInfoA(copy, static_cast<UINT>(at), TRUE, &state);
  return original;
}

bool InsertScrollItem(HMENU copy, int position, int kind) {
  ShortcutsSuspended quiet;
  if (!InsertMenuItemAt(reinterpret_cast<intptr_t>(copy), position, ScrollItemId(kind), "", nullptr, nullptr, nullptr,
                        kind))
    return false;
  const int at = position < 0 ? GetMenuItemCount(copy) - 1 : position;
  MENUITEMINFOA state = ItemInfo(MIIM_STATE);
  state.fState = MFS_DISABLED;
  SetMenuItemInfoA(copy, static_cast<UINT>(at), TRUE, &state);
  return true;
}

void StopScrollLoop() {
  if (HoverMode >= 0 && ScrollPopupWindow) KillTimer(ScrollPopupWindow, kMenuScrollTimer);
  HoverMode = -1;
}

int MenuScrollThread(int mode) {
  if (!CopyExists() || mode < 0 || mode > 3) return 0;
  if ((mode == 0 || mode == 1) && ScrollHover == 1) {
    // Hover scrolling: one pass per tick of the popup's timer, on this thread. A second
    // hover while the loop runs starts nothing.
    if (HoverMode >= 0) return 0;
    if (ScrollPopupWindow && SetTimer(ScrollPopupWindow, kMenuScrollTimer, kScrollTimerPeriod, nullptr))
      HoverMode = mode;
    return 0;
  }
  RunPass(mode);
  if (mode == 0 || mode == 1) ScrollAtEnd = 0;
  return 0;
}

void MenuScrollTimerTick() {
  if (HoverMode < 0 || !CopyExists()) {
    if (ScrollPopupWindow) KillTimer(ScrollPopupWindow, kMenuScrollTimer);
    HoverMode = -1;
    return;
  }
  if (ScrollBusy == 1) return;
  if (ScrollHover != 0 && ScrollAtEnd != 1) RunPass(HoverMode);
  if (ScrollHover == 0 || ScrollAtEnd == 1) {
    StopScrollLoop();
    ScrollAtEnd = 0;
  }
}

}  // namespace tovrel
