#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tovrel/foundation/image_effects.h"
#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/frame/toolbar_images.h"
#include "tovrel/frame/toolbar_insert.h"
#include "tovrel/frame/toolbar_lookup.h"
#include "tovrel/frame/toolbar_rules.h"

namespace tovrel {

namespace {

// The images of an add or a change once the defaults are filled in.
struct ButtonImages {
  HANDLE image;
  HANDLE hot;
  HANDLE disabled;
  HICON generated;  // the disabled image made here; destroyed once the list has it
};

HICON Generate(HANDLE from, int uiStyle) { return from ? RecolourImageForStyle(from, uiStyle) : nullptr; }

void DeleteToolTipOf(int commandId) {
  // One text serves the command id on every tool bar: it goes with the id's last button.
  if (AnyToolbarHasCommand(commandId)) return;
  if (ToolbarToolTip* tip =
          ToolbarToolTipList.Find([commandId](const ToolbarToolTip& e) { return e.commandId == commandId; }))
    ToolbarToolTipList.Delete(tip);
}

// An OFFICE tool bar's buttons are 3 pixels taller than the control makes them, for the
// frame the toolkit draws: from the first button on, once.
void FitButtonSize(Toolbar& t) {
  if (IsOfficeStyle(t.uiStyle) && t.buttonHeight == 0) {
    const LRESULT size = SendMessageA(t.window, TB_GETBUTTONSIZE, 0, 0);
    t.buttonHeight = HIWORD(size) + 3;
    SendMessageA(t.window, TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(size), t.buttonHeight));
  }
  KeepOfficeButtonHeight(t);
  if (t.uiStyle == kToolbarImageSized && t.normalImages) {
    IMAGEINFO info = {};
    if (ImageList_GetImageInfo(t.normalImages, 0, &info)) {
      const int width = info.rcImage.right - info.rcImage.left;
      const int height = info.rcImage.bottom - info.rcImage.top;
      SendMessageA(t.window, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
      SendMessageA(t.window, TB_SETPADDING, 0, MAKELPARAM(0, 0));
      t.buttonHeight = height;
    }
  }
}

void SetControlText(HWND window, int commandId, const std::string& text) {
  std::string plain = PlainButtonText(text);
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT;
  info.pszText = &plain[0];
  info.cchText = static_cast<int>(plain.size());
  SendMessageA(window, TB_SETBUTTONINFOA, commandId, reinterpret_cast<LPARAM>(&info));
}

}  // namespace

int AddToolbarButton(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                     int style) {
  if (style & BTNS_SEP) return AddToolbarSeparator();
  Toolbar* t = CurrentToolbarRecord();
  if (!t) return 0;
  const int id = TakeCommandId(*t, commandId);
  if (id == -1) return 0;

  ButtonImages images = {image ? image : DefaultToolbarImage, nullptr, disabledImage, nullptr};
  images.hot = hotImage ? hotImage : images.image;
  if (!disabledImage && images.image != DefaultToolbarImage) {
    images.generated = Generate(images.image, t->uiStyle);
    images.disabled = images.generated;
  }
  if (!images.disabled) images.disabled = DefaultToolbarImage;

  TBBUTTON button = {};
  button.iBitmap = images.image == DefaultToolbarImage ? I_IMAGENONE : 0;
  button.idCommand = id;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = static_cast<BYTE>(style & 0xFF);
  button.iString = -1;
  if (!text.empty()) {
    // The control's string list wants each string ended twice.
    std::string plain = PlainButtonText(text);
    std::vector<char> block(plain.begin(), plain.end());
    block.resize(plain.size() + 2, '\0');
    button.iString = SendMessageA(t->window, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(block.data()));
  }

  ToolbarButton fields = {};
  fields.commandId = id;
  fields.toolbarNumber = t->number;
  fields.toolbarWindow = t->window;
  fields.toolbar = t;
  fields.image = images.image;
  fields.hotImage = images.hot;
  // A generated image lives only in the list: the record keeps no handle that is gone.
  fields.disabledImage = images.generated ? nullptr : images.disabled;
  fields.generated = images.generated != nullptr;
  fields.generatedStyle = images.generated ? t->uiStyle : 0;
  fields.text = text;
  const HANDLE listed[3] = {images.image, images.hot, images.disabled};
  ToolbarButton* record = InsertToolbarItem(*t, fields, button, listed);
  if (images.generated) DestroyIcon(images.generated);
  if (!record) return 0;

  SendMessageA(t->window, TB_AUTOSIZE, 0, 0);
  FitButtonSize(*t);
  PlaceToolbarGadgets();
  return id;
}

int AddToolbarTextButton(int commandId, const std::string& text, int style) {
  if (style & BTNS_SEP) return AddToolbarSeparator();
  if (!CurrentToolbarRecord()) return 0;
  return AddToolbarButton(commandId, text, nullptr, nullptr, nullptr, style);
}

int AddToolbarSeparator() {
  Toolbar* t = CurrentToolbarRecord();
  if (!t) return 0;
  const int id = TakeCommandId(*t, -1);
  // Not the system's separator: a disabled plain button that the toolkit draws as one.
  ToolbarButton fields = {};
  fields.separator = 1;
  if (!InsertPlaceholder(*t, id, fields)) return 0;
  SetButtonWidth(t->window, id, 6);
  KeepOfficeButtonHeight(*t);
  PlaceToolbarGadgets();
  return id;
}

int InsertToolbarTextButton(intptr_t toolbar, int position, int commandId, const std::string& text, int style) {
  return AddAtPosition(toolbar, position,
                       [&] { return AddToolbarButton(commandId, text, nullptr, nullptr, nullptr, style); });
}

int InsertToolbarButton(intptr_t toolbar, int position, int commandId, const std::string& text, HANDLE image,
                        HANDLE hotImage, HANDLE disabledImage, int style) {
  return AddAtPosition(toolbar, position,
                       [&] { return AddToolbarButton(commandId, text, image, hotImage, disabledImage, style); });
}

int InsertToolbarSeparator(intptr_t toolbar, int position) {
  return AddAtPosition(toolbar, position, [] { return AddToolbarSeparator(); });
}

int InsertToolbarComboBox(intptr_t toolbar, int position, int commandId, HWND control, int paddingLeft, int paddingTop,
                          int paddingRight, int paddingBottom, int frame) {
  return AddAtPosition(toolbar, position, [&] {
    return AddToolbarGadget(commandId, control, paddingLeft, paddingTop, paddingRight, paddingBottom,
                            static_cast<uint8_t>(frame));
  });
}

int RemoveToolbarButton(intptr_t toolbar, int which, int byPosition) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  int id = which;
  if (byPosition == 1) {
    TBBUTTON button = {};
    if (!SendMessageA(t->window, TB_GETBUTTON, which, reinterpret_cast<LPARAM>(&button))) return 0;
    id = button.idCommand;
  }
  ToolbarButton* record = FindToolbarButton(*t, id);
  if (!record) return 0;
  const int index = static_cast<int>(SendMessageA(t->window, TB_COMMANDTOINDEX, id, 0));
  const int result = static_cast<int>(SendMessageA(t->window, TB_DELETEBUTTON, index, 0));
  if (result == 1) {
    RemoveButtonImages({{t->normalImages, t->hotImages, t->disabledImages}}, index);
    if (HWND gadget = record->gadgetWindow; gadget && IsWindow(gadget)) {
      ShowWindow(gadget, SW_HIDE);
      SetParent(gadget, GetAncestor(gadget, GA_ROOT));
    }
    ToolbarButtonList.Delete(record);
    DeleteToolTipOf(id);
    RenumberButtonImages(t->window);
  }
  PlaceToolbarGadgets();
  return result;
}

int SetToolbarButton(intptr_t toolbar, int commandId, const std::string& text, HANDLE image, HANDLE hotImage,
                     HANDLE disabledImage) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  ToolbarButton* record = FindToolbarButton(*t, commandId);
  if (!record) return 0;
  const HANDLE keep = INVALID_HANDLE_VALUE;
  const int index = static_cast<int>(SendMessageA(t->window, TB_COMMANDTOINDEX, commandId, 0));

  ButtonImages images = {image ? image : DefaultToolbarImage, hotImage ? hotImage : DefaultToolbarImage, disabledImage,
                         nullptr};
  if (!disabledImage && images.image != DefaultToolbarImage) {
    if (images.image != keep) {
      images.generated = Generate(images.image, t->uiStyle);
    } else if (t->normalImages) {
      // The image stays: the disabled one comes from the picture the button shows now.
      HICON current = ImageList_GetIcon(t->normalImages, index, ILD_TRANSPARENT);
      images.generated = Generate(current, t->uiStyle);
      if (current) DestroyIcon(current);
    }
    images.disabled = images.generated;
  }
  if (!images.disabled) images.disabled = DefaultToolbarImage;

  HIMAGELIST lists[3] = {
      reinterpret_cast<HIMAGELIST>(SendMessageA(t->window, TB_GETIMAGELIST, 0, 0)),
      reinterpret_cast<HIMAGELIST>(SendMessageA(t->window, TB_GETHOTIMAGELIST, 0, 0)),
      reinterpret_cast<HIMAGELIST>(SendMessageA(t->window, TB_GETDISABLEDIMAGELIST, 0, 0)),
  };
  const HANDLE given[3] = {images.image, images.hot, images.disabled};
  for (int i = 0; i < 3; ++i) {
    if (given[i] != keep) PutButtonImage(lists[i], index, given[i]);
  }
  if (images.image != keep) {
    record->image = images.image;
    SetButtonImageIndex(t->window, commandId, images.image == DefaultToolbarImage ? I_IMAGENONE : index);
  }
  if (images.hot != keep) record->hotImage = images.hot;
  if (images.generated) {
    DestroyIcon(images.generated);
    record->disabledImage = nullptr;
    record->generated = true;
    record->generatedStyle = t->uiStyle;
  } else {
    if (images.disabled != keep) record->disabledImage = images.disabled;
    record->generated = false;
    record->generatedStyle = 0;
  }
  record->text = text;
  SetControlText(t->window, commandId, text);
  return 1;
}

int SetToolbarButtonChecked(intptr_t toolbar, int commandId, int state) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t || !FindToolbarButton(*t, commandId)) return 0;
  return static_cast<int>(SendMessageA(t->window, TB_CHECKBUTTON, commandId, MAKELPARAM(state != 0, 0)));
}

int DisableToolbarButton(intptr_t toolbar, int commandId, int state) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t || !AnyToolbarHasCommand(commandId)) return 0;
  SendMessageA(t->window, TB_ENABLEBUTTON, commandId, MAKELPARAM(state == 0, 0));
  return 1;
}

int HideToolbarButton(intptr_t toolbar, int commandId, int hide) {
  Toolbar* t = FindToolbar(toolbar);
  if (!t) return 0;
  ToolbarButton* record = FindToolbarButton(*t, commandId);
  if (!record) return 0;
  const WORD flag = static_cast<WORD>(static_cast<int8_t>(hide));
  const int result = static_cast<int>(SendMessageA(t->window, TB_HIDEBUTTON, commandId, MAKELPARAM(flag, 0)));
  if (result == 1) {
    if (record->gadgetWindow) ShowWindow(record->gadgetWindow, static_cast<uint8_t>(hide) ? SW_HIDE : SW_SHOW);
    PlaceToolbarGadgets();
  }
  return result;
}

}  // namespace tovrel
