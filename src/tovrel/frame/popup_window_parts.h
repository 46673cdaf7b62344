// The pieces of PopupMenuWindowProc, one per kind of message, and what they share. Each
// takes MenuMutex for its own bookkeeping and lets it go before a message is passed on
// or sent to another window.
#ifndef ZK_TOVREL_FRAME_POPUP_WINDOW_PARTS_H
#define ZK_TOVREL_FRAME_POPUP_WINDOW_PARTS_H

#include <windows.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/frame/popup_placement_rules.h"

namespace tovrel {

// Hands the message to the procedure the popup had before.
LRESULT PassPopupMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The popup's record, nullptr when the window has none. MenuMutex held.
PopupWindow* PopupRecordOf(HWND window);
// The record's menu when it is still a toolkit menu. MenuMutex held.
Menu* PopupMenuOf(const PopupWindow* record);
// The system menu the popup shows: its submenu, or the tracked menu for the top popup.
HMENU PopupMenuHandle(const PopupWindow* record);
// The look of the popup's menu; kOther without a menu. MenuMutex held.
int PopupStyleOf(const PopupWindow* record);

// The first message of a popup window: its record and the tracking state. MenuMutex held.
PopupWindow* RegisterPopupWindow(HWND window);
LRESULT OnPopupDestroy(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnPopupSelectItem(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT OnPopupPositionChanging(HWND window, WPARAM wParam, LPARAM lParam);
// Places the shadows after the placing change.
void OnPopupPositionChanged(HWND window, WPARAM wParam, LPARAM lParam);
// WM_PAINT of an open drop-down without composition. -> false when the message goes on
// to the style step.
bool OnPopupPaint(HWND window, WPARAM wParam, LPARAM lParam, LRESULT& result);
// The frame and background messages of the popup's look. -> false when the message is
// not one of them, for the caller to pass on.
bool PopupFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace tovrel

#endif
