#include "tovrel/frame/title_buttons.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "tovrel/frame/menu_font.h"
#include "tovrel/frame/menu_rules.h"
#include "tovrel/frame/toolbar_insert.h"

namespace tovrel {

namespace {

std::string TitleText(HWND bar, int commandId) {
  const LRESULT length = SendMessageA(bar, TB_GETBUTTONTEXTA, commandId, 0);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  SendMessageA(bar, TB_GETBUTTONTEXTA, commandId, reinterpret_cast<LPARAM>(buffer.data()));
  return std::string(buffer.data());
}

SIZE MeasureTitleText(const std::string& text) {
  RECT r = {0, 0, 0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return {0, 0};
  HGDIOBJ old = MenuFont ? SelectObject(dc, MenuFont) : nullptr;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  if (old) SelectObject(dc, old);
  DeleteDC(dc);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

void SizeTitleButton(HWND bar, int commandId, int style) {
  const SIZE text = MeasureTitleText(TitleText(bar, commandId));
  const SIZE button = TitleButtonSize(style, text.cx, text.cy);
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, button.cy));
  SetButtonWidth(bar, commandId, button.cx);
}

}  // namespace tovrel
