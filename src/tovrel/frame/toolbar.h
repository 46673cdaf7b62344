// The toolkit's tool bars: system tool-bar controls with three image lists (normal, hot,
// disabled) whose image i belongs to the button at index i, a record per button, and
// controls ("gadgets") kept over placeholder buttons. Every operation runs on the GUI
// thread. A `toolbar` argument is a tool-bar number or its window; 0 answers "unknown".
#ifndef ZK_TOVREL_FRAME_TOOLBAR_H
#define ZK_TOVREL_FRAME_TOOLBAR_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// 0: the add operations append; 1: they insert at ToolbarInsertPosition. Set only around
// one add call by the insert operations.
extern int ToolbarInsertMode;
extern int ToolbarInsertPosition;

// A tool bar on `parent` with images of imageWidth x imageHeight (0 x 0: no image lists).
// The low bits of `flags` are tool-bar window styles; 0x800000 hides clipped buttons and
// UISTYLE_OFFICE2003, UISTYLE_OFFICE2007 and 0x4000000 pick the UI style. -> the new
// number for -1, else the window; 0 when the number is taken or no window was made. The
// new tool bar becomes CurrentToolbar.
intptr_t CreateToolbar(int number, HWND parent, int imageWidth, int imageHeight, int flags);
// -> 1 when a tool bar was freed (always for -1), else 0. Gadgets go back to their root
// window, hidden.
int FreeToolbar(intptr_t toolbar);
HWND GetToolbarWindow(intptr_t number);  // numbers only
// Turns the visual style off (Vista and later); OFFICE tool bars get buttons 3 pixels
// taller unless a button operation has already made them so.
int RemoveToolbarTheme(intptr_t toolbar);

// Appends `icon` (none for nullptr) to the list and moves the list's last image to
// `position`, the images from there on moving up by one. -> 1, 0 when the icon is refused.
int InsertImageListIcon(HIMAGELIST list, HICON icon, int position);

// Add operations act on CurrentToolbar. Images are icons or bitmaps the caller keeps;
// nullptr picks the default (no image; hot: the image; disabled: derived from the image).
// A style with BTNS_SEP adds a separator. -> the command id (a new one for -1); 0 when
// there is no current tool bar or the id is already one of its buttons.
int AddToolbarButton(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                     int style);
int AddToolbarTextButton(int commandId, const std::string& text, int style);
// A disabled 6-pixel button that the toolkit paints as a separator. -> its command id.
int AddToolbarSeparator();
// Puts `control` over a placeholder button, inset by the paddings; a non-zero `frame`
// lets the toolkit keep its hover state. -> the placeholder's command id, 0 on failure.
int AddToolbarGadget(int commandId, HWND control, int paddingLeft, int paddingTop, int paddingRight, int paddingBottom,
                     int frame);

// The add operations at `position` of the tool bar (beyond the last or -1 appends, below
// -1 inserts first). -> the add's result, 0 for an unknown tool bar.
int InsertToolbarTextButton(intptr_t toolbar, int position, int commandId, const std::string& text, int style);
int InsertToolbarButton(intptr_t toolbar, int position, int commandId, const std::string& text, HANDLE image,
                        HANDLE hotImage, HANDLE disabledImage, int style);
int InsertToolbarSeparator(intptr_t toolbar, int position);
int InsertToolbarComboBox(intptr_t toolbar, int position, int commandId, HWND control, int paddingLeft, int paddingTop,
                          int paddingRight, int paddingBottom, int frame);

// `byPosition` 1: `which` is a button index, otherwise a command id. -> 1 when deleted.
int RemoveToolbarButton(intptr_t toolbar, int which, int byPosition);
// An image of -1 stays as it is; 0 means as for the add. -> 1, 0 for an unknown button.
int SetToolbarButton(intptr_t toolbar, int commandId, const std::string& text, HANDLE image, HANDLE hotImage,
                     HANDLE disabledImage);
int SetToolbarButtonChecked(intptr_t toolbar, int commandId, int state);
int DisableToolbarButton(intptr_t toolbar, int commandId, int state);
// -> the control's TB_HIDEBUTTON result; a gadget hides and shows with its button.
int HideToolbarButton(intptr_t toolbar, int commandId, int hide);

// Width of a gadget's placeholder is the control's width plus its paddings.
int SetToolbarButtonWidth(intptr_t toolbar, int commandId, int width);
int GetToolbarButtonWidth(intptr_t toolbar, int commandId);
int SetToolbarButtonHeight(intptr_t toolbar, int height);
int GetToolbarButtonHeight(intptr_t toolbar);

// One text per command id for all tool bars together.
int SetToolbarButtonToolTip(intptr_t toolbar, int commandId, const std::string& text);
// Milliseconds; 0 leaves that delay as it is.
int SetToolbarToolTipDelays(intptr_t toolbar, int initialDelay, int autoPopDelay, int reshowDelay);

// Moves every gadget of the current element of ToolbarList over its placeholder. -> 0
int PlaceToolbarGadgets();
// -> the gadget of the tool bar's button with that id, nullptr when there is none.
HWND GetToolbarGadget(intptr_t toolbar, int commandId);

}  // namespace tovrel

#endif
