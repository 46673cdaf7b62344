#include "tovrel/frame/toolbar_lookup.h"

#include <commctrl.h>

#include <string>

#include "tovrel/foundation/styled_text.h"
#include "tovrel/frame/window_class.h"

namespace tovrel {

bool IsToolbarWindow(HWND window) { return IsWindowOfClass(window, TOOLBARCLASSNAMEA); }

Toolbar* FindToolbar(intptr_t toolbar) {
  if (toolbar == 0 || toolbar == -1) return nullptr;
  Toolbar* found = ToolbarList.Find(
      [toolbar](const Toolbar& t) { return t.number == toolbar || reinterpret_cast<intptr_t>(t.window) == toolbar; });
  return found && IsToolbarWindow(found->window) ? found : nullptr;
}

ToolbarButton* FindToolbarButton(const Toolbar& toolbar, int commandId) {
  return ToolbarButtonList.Find(
      [&](const ToolbarButton& b) { return b.toolbar == &toolbar && b.commandId == commandId; });
}

bool AnyToolbarHasCommand(int commandId) {
  for (const ToolbarButton& b : ToolbarButtonList) {
    if (b.commandId == commandId) return true;
  }
  return false;
}

void RenumberButtonImages(HWND window) {
  const int count = static_cast<int>(SendMessageA(window, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!SendMessageA(window, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
    if (button.iBitmap < 0 || button.iBitmap == i) continue;
    SetButtonImageIndex(window, button.idCommand, i);
  }
}

void SetButtonImageIndex(HWND window, int commandId, int image) {
  // Not TB_CHANGEBITMAP: it carries the index in 16 bits and turns I_IMAGENONE into 65534.
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_IMAGE;
  info.iImage = image;
  SendMessageA(window, TB_SETBUTTONINFOA, commandId, reinterpret_cast<LPARAM>(&info));
}

std::string PlainButtonText(const std::string& text) {
  if (text.find('\\') == std::string::npos) return text;
  HDC dc = CreateCompatibleDC(nullptr);
  RECT rect = {};
  std::string plain = DrawStyledText(dc, text, &rect, nullptr, kStyledPlainText | kStyledMeasure);
  DeleteDC(dc);
  return plain;
}

}  // namespace tovrel
