// Tool bars: standard "ToolbarWindow32" controls with one image list for their pictures.
// A button's click reaches the tool bar's parent as WM_COMMAND with the button's id and
// the tool bar as sender, which the runtime turns into a menu event.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/internal.h"
#include "tovrel/tovrel.h"

namespace tovrel {
namespace {

constexpr int kHideClippedButtons = 0x800000;
constexpr int kOwnUiStyle = 0x4000000;

struct ToolbarRec {
  HWND window = nullptr;
  HWND parent = nullptr;
  int flags = 0;
  int uiStyle = 0;              // kept for the styled drawing
  HIMAGELIST images = nullptr;  // none for a tool bar without pictures
  std::vector<int> commands;    // ids of its buttons
};

void ReleaseToolbar(ToolbarRec& t) {
  if (t.window && IsWindow(t.window)) DestroyWindow(t.window);
  if (t.images) ImageList_Destroy(t.images);
}

Registry<ToolbarRec>& Toolbars() {
  // Never destroyed: a release during static destruction would run after the windows
  // are gone and in no defined order with the other kinds.
  static auto* registry = new Registry<ToolbarRec>(ReleaseToolbar);
  return *registry;
}

int UiStyleOf(int flags) {
  if (flags & kOwnUiStyle) return kOwnUiStyle;
  if (flags & UISTYLE_OFFICE2003) return UISTYLE_OFFICE2003;
  if (flags & UISTYLE_OFFICE2007) return UISTYLE_OFFICE2007;
  return 0;
}

// The picture's index in the list; -1 without a list or image, or when it is refused.
int AddPicture(HIMAGELIST list, HANDLE image) {
  if (!list || !image) return -1;
  if (GetObjectType(image) == OBJ_BITMAP) return ImageList_Add(list, static_cast<HBITMAP>(image), nullptr);
  return ImageList_ReplaceIcon(list, -1, static_cast<HICON>(image));
}

bool HoldsCommand(int toolbar, int id) {
  bool held = false;
  Toolbars().With(
      toolbar, [&](ToolbarRec& t) { held = std::find(t.commands.begin(), t.commands.end(), id) != t.commands.end(); });
  return held;
}

}  // namespace

HWND GetToolbarWindow(int number) {
  HWND w = nullptr;
  Toolbars().With(number, [&](ToolbarRec& t) { w = t.window; });
  return w;
}

intptr_t MakeToolbar(int number, HWND parent, int imageWidth, int imageHeight, int flags, bool makeCurrent) {
  if (!Toolbars().CanTake(number) || !IsWindow(parent) || imageWidth < 0 || imageHeight < 0) return 0;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  SetComponentFree(COMPONENT_TOOLBAR, FreeToolbar);
  // Only the low word is window style; the bits above it are the toolkit's own.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | (static_cast<DWORD>(flags) & 0xFFFF);
  // The styled tool bars are flat; until they draw themselves the system's flat look is
  // the closest.
  if (UiStyleOf(flags)) style |= TBSTYLE_FLAT;
  HWND w = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, style, 0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  if (!w) return 0;
  SendMessageW(w, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  DWORD ex = TBSTYLE_EX_DRAWDDARROWS;
  if (flags & kHideClippedButtons) ex |= TBSTYLE_EX_HIDECLIPPEDBUTTONS;
  SendMessageW(w, TB_SETEXTENDEDSTYLE, 0, ex);

  ToolbarRec rec;
  rec.window = w;
  rec.parent = parent;
  rec.flags = flags;
  rec.uiStyle = UiStyleOf(flags);
  if (imageWidth > 0 && imageHeight > 0) {
    rec.images = ImageList_Create(imageWidth, imageHeight, ILC_COLOR32 | ILC_MASK, 0, 4);
    SendMessageW(w, TB_SETBITMAPSIZE, 0, MAKELPARAM(imageWidth, imageHeight));
    SendMessageW(w, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(rec.images));
  } else {
    // Text-only buttons: no room kept for a picture.
    SendMessageW(w, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  }
  int used = 0;
  if (!Toolbars().Add(number, std::move(rec), &used)) return 0;
  if (makeCurrent) State().currentToolbar = used;
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(w));
}

int AddButtonTo(int toolbar, int commandId, const std::string& text, HANDLE image, int style) {
  // The id travels in the low word of WM_COMMAND.
  if (commandId < kAnyNumber || commandId > 0xFFFF) return 0;
  HWND w = nullptr;
  HIMAGELIST list = nullptr;
  if (!Toolbars().With(toolbar, [&](ToolbarRec& t) {
        w = t.window;
        list = t.images;
      }))
    return 0;
  int id = commandId;
  if (id == kAnyNumber) {
    do id = AllocateCommandId();
    while (HoldsCommand(toolbar, id));
  } else if (HoldsCommand(toolbar, id)) {
    return 0;
  }
  std::wstring wide = AnsiToWide(text);
  TBBUTTON b = {};
  b.iBitmap = I_IMAGENONE;
  if (style & BTNS_SEP) {
    b.iBitmap = 0;  // a separator's width: the default
  } else {
    int index = AddPicture(list, image);
    if (index >= 0) b.iBitmap = index;
  }
  b.idCommand = id;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = static_cast<BYTE>(style);
  b.iString = wide.empty() ? -1 : reinterpret_cast<INT_PTR>(wide.c_str());  // the control copies it
  if (!SendMessageW(w, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b))) return 0;
  SendMessageW(w, TB_AUTOSIZE, 0, 0);
  Toolbars().With(toolbar, [&](ToolbarRec& t) { t.commands.push_back(id); });
  return id;
}

int FreeToolbar(intptr_t toolbar) { return Toolbars().FreeByWindow(toolbar, State().currentToolbar); }

}  // namespace tovrel

intptr_t CreateToolbar(int number, HWND parent, int imageWidth, int imageHeight, int flags) {
  return tovrel::MakeToolbar(number, parent, imageWidth, imageHeight, flags, true);
}

int AddToolbarButton(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                     int style) {
  // Hot and disabled pictures belong to the styled drawing; the control greys the
  // picture of a disabled button itself.
  int current = tovrel::State().currentToolbar;
  if (current == kAnyNumber) return 0;
  return tovrel::AddButtonTo(current, commandId, text, image, style);
}
