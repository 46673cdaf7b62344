#include "tovrel/frame/toolbar.h"

#include <commctrl.h>

#include <vector>

#include "tovrel/foundation/component_frees.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"
#include "tovrel/foundation/window_tracking.h"
#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_keyboard_hook.h"
#include "tovrel/frame/object_numbers.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/frame/toolbar_lookup.h"
#include "tovrel/frame/toolbar_rules.h"
#include "tovrel/frame/tracked_messages.h"

namespace tovrel {

int ToolbarInsertMode = 0;
int ToolbarInsertPosition = 0;

namespace {

void ReplaceImageLists(HWND window, int width, int height, Toolbar& record) {
  const UINT getters[] = {TB_GETIMAGELIST, TB_GETHOTIMAGELIST, TB_GETDISABLEDIMAGELIST};
  const UINT setters[] = {TB_SETIMAGELIST, TB_SETHOTIMAGELIST, TB_SETDISABLEDIMAGELIST};
  HIMAGELIST* fields[] = {&record.normalImages, &record.hotImages, &record.disabledImages};
  for (int i = 0; i < 3; ++i) {
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(SendMessageA(window, getters[i], 0, 0));
    HIMAGELIST made = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 0);
    SendMessageA(window, setters[i], 0, reinterpret_cast<LPARAM>(made));
    if (old) ImageList_Destroy(old);
    *fields[i] = made;
  }
}

// A gadget outlives its tool bar: it goes back to its top-level window, hidden.
void ReturnGadget(HWND gadget) {
  if (!gadget || !IsWindow(gadget)) return;
  ShowWindow(gadget, SW_HIDE);
  SetParent(gadget, GetAncestor(gadget, GA_ROOT));
}

}  // namespace

intptr_t CreateToolbar(int number, HWND parent, int imageWidth, int imageHeight, int flags) {
  if (number != -1 && ToolbarList.Find([number](const Toolbar& t) { return t.number == number; })) return 0;
  const intptr_t used = number == -1 ? AllocateObjectNumber() : number;
  const ToolbarCreationStyles styles = ToolbarStylesOfFlags(flags);
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  // The number is also the control's id, as for every runtime control. Flat, as the
  // runtime's tool bars are: the toolkit draws every button itself, and a tool bar with
  // raised buttons shows none of what it draws under Wine.
  HWND window = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT,
                                0, 0, 0, 0, parent, reinterpret_cast<HMENU>(used), GetModuleHandleA(nullptr), nullptr);
  if (!window) return 0;
  SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

  if (ToolbarList.Empty()) SetComponentFree(COMPONENT_TOOLBAR, &FreeToolbar);
  Toolbar& record = ToolbarList.Add();
  record.number = used;
  record.window = window;
  record.parentWindow = parent;
  record.rows = 1;
  CurrentToolbar = used;

  const DWORD style = static_cast<DWORD>(SendMessageA(window, TB_GETSTYLE, 0, 0));
  SendMessageA(window, TB_SETSTYLE, 0, style | styles.windowStyle);
  SendMessageA(window, TB_SETEXTENDEDSTYLE, 0, styles.extendedStyle);
  record.flags = styles.recordFlags;
  record.uiStyle = styles.uiStyle;
  if (imageWidth != 0 || imageHeight != 0) ReplaceImageLists(window, imageWidth, imageHeight, record);

  SubclassParentWindow(parent);
  InstallWindowCreationHook();
  InstallMenuKeyboardHook(parent);
  EnsureMenuFont();
  RegisterFrameTrackedMessages();
  return number == -1 ? used : reinterpret_cast<intptr_t>(window);
}

int FreeToolbar(intptr_t toolbar) {
  std::vector<Toolbar*> doomed;
  for (Toolbar& t : ToolbarList) {
    if (toolbar == -1 || t.number == toolbar || reinterpret_cast<intptr_t>(t.window) == toolbar) {
      doomed.push_back(&t);
      if (toolbar != -1) break;
    }
  }
  for (Toolbar* t : doomed) {
    std::vector<ToolbarButton*> buttons;
    for (ToolbarButton& b : ToolbarButtonList) {
      if (b.toolbar == t) buttons.push_back(&b);
    }
    for (ToolbarButton* b : buttons) {
      const int id = b->commandId;
      ReturnGadget(b->gadgetWindow);
      ToolbarButtonList.Delete(b);
      // The tooltip belongs to the command id: another tool bar may still show it.
      if (!AnyToolbarHasCommand(id)) {
        if (ToolbarToolTip* tip = ToolbarToolTipList.Find([id](const ToolbarToolTip& e) { return e.commandId == id; }))
          ToolbarToolTipList.Delete(tip);
      }
    }
    if (IsWindow(t->window)) DestroyWindow(t->window);
    for (HIMAGELIST list : {t->normalImages, t->hotImages, t->disabledImages}) {
      if (list) ImageList_Destroy(list);
    }
    ToolbarList.Delete(t);
  }
  return toolbar == -1 || !doomed.empty() ? 1 : 0;
}

HWND GetToolbarWindow(intptr_t number) {
  Toolbar* t = ToolbarList.Find([number](const Toolbar& r) { return r.number == number; });
  return t ? t->window : nullptr;
}

int RemoveToolbarTheme(intptr_t toolbar) {
  if (OsVersionCode < 70) return 0;
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  if (!UxThemeApi.library || !UxThemeApi.setWindowTheme) return 1;
  UxThemeApi.setWindowTheme(t->window, L"", L"");
  // The OFFICE buttons' extra 3 pixels come once: an empty tool bar gets them with its
  // first button, one whose buttons have them keeps them.
  const int count = static_cast<int>(SendMessageA(t->window, TB_BUTTONCOUNT, 0, 0));
  if (IsOfficeStyle(t->uiStyle) && t->buttonHeight == 0 && count > 0) {
    const LRESULT size = SendMessageA(t->window, TB_GETBUTTONSIZE, 0, 0);
    t->buttonHeight = HIWORD(size) + 3;
    SendMessageA(t->window, TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(size), t->buttonHeight));
  }
  return 1;
}

}  // namespace tovrel
