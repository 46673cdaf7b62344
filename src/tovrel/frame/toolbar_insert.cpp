#include "tovrel/frame/toolbar_insert.h"

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/object_numbers.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_images.h"
#include "tovrel/frame/toolbar_lookup.h"
#include "tovrel/frame/toolbar_rules.h"

namespace tovrel {

Toolbar* CurrentToolbarRecord() {
  if (CurrentToolbar == -1) return nullptr;
  return FindToolbar(CurrentToolbar);
}

int TakeCommandId(const Toolbar& toolbar, int commandId) {
  if (commandId == -1) {
    int id = 0;
    do id = AllocateCommandId();
    while (AnyToolbarHasCommand(id));
    return id;
  }
  for (const ToolbarButton& b : ToolbarButtonList) {
    if (b.toolbar == &toolbar && b.commandId == commandId) return -1;
  }
  return commandId;
}

ToolbarButton* InsertToolbarItem(Toolbar& toolbar, const ToolbarButton& fields, TBBUTTON button,
                                 const HANDLE images[3]) {
  const ButtonImageLists lists = {{toolbar.normalImages, toolbar.hotImages, toolbar.disabledImages}};
  const int count = static_cast<int>(SendMessageA(toolbar.window, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < 3; ++i) AppendButtonImage(lists.lists[i], images[i]);

  int position = -1;
  if (ToolbarInsertMode) {
    ToolbarInsertPosition = ClampInsertPosition(ToolbarInsertPosition, count);
    position = ToolbarInsertPosition;
  }
  const int index = position == -1 ? count : position;
  if (position != -1) {
    for (HIMAGELIST list : lists.lists) {
      if (list) InsertImageListIcon(list, nullptr, position);
    }
  }

  ToolbarButton& record = ToolbarButtonList.Add();
  record = fields;
  button.dwData = reinterpret_cast<DWORD_PTR>(&record);
  if (button.iBitmap >= 0) button.iBitmap = index;
  if (!SendMessageA(toolbar.window, TB_INSERTBUTTONA, index, reinterpret_cast<LPARAM>(&button))) {
    RemoveButtonImages(lists, index);
    ToolbarButtonList.Delete(&record);
    return nullptr;
  }
  // The buttons after an insert now stand one further on, like their images.
  if (position != -1) RenumberButtonImages(toolbar.window);
  return &record;
}

ToolbarButton* InsertPlaceholder(Toolbar& toolbar, int commandId, ToolbarButton fields) {
  TBBUTTON button = {};
  button.iBitmap = I_IMAGENONE;
  button.idCommand = commandId;
  button.iString = -1;
  fields.commandId = commandId;
  fields.toolbarNumber = toolbar.number;
  fields.toolbarWindow = toolbar.window;
  fields.toolbar = &toolbar;
  fields.image = fields.hotImage = fields.disabledImage = NoButtonImage();
  const HANDLE listed[3] = {DefaultToolbarImage, DefaultToolbarImage, DefaultToolbarImage};
  return InsertToolbarItem(toolbar, fields, button, listed);
}

void KeepOfficeButtonHeight(const Toolbar& toolbar) {
  if (!IsOfficeStyle(toolbar.uiStyle) || toolbar.buttonHeight == 0) return;
  const LRESULT size = SendMessageA(toolbar.window, TB_GETBUTTONSIZE, 0, 0);
  if (HIWORD(size) < toolbar.buttonHeight) {
    SendMessageA(toolbar.window, TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(size), toolbar.buttonHeight));
  }
}

bool SetButtonWidth(HWND window, int commandId, int width) {
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_SIZE;
  info.cx = static_cast<WORD>(width);
  return SendMessageA(window, TB_SETBUTTONINFOA, commandId, reinterpret_cast<LPARAM>(&info)) != 0;
}

}  // namespace tovrel
