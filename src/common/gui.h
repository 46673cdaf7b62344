// The runtime's windows, controls and window events.
//
// Windows and controls are numbered objects: a create operation takes the number to use
// or -1. With -1 it allocates a new number and returns it; with an explicit number it
// first frees whatever holds that number and returns the system handle; 0 means failure.
// Operations on a number that names nothing do nothing and return 0. A control's number
// is its Win32 control ID, so numbers must fit 16 bits.
//
// Controls are created in the current control list: the window opened last, or the tab
// of a panel opened with OpenPanelTab until ClosePanel. Positions are client coordinates
// of that parent.
//
// Events: WaitWindowEvent returns kEventControl for a control's notification,
// kEventMenu for a menu or tool-bar command, kEventClose for a close request, and
// otherwise the number of a message posted to one of the thread's runtime windows or
// controls (for example the task pane's WM_USER + 1). A few notifications that have no
// control event come as WM_NOTIFY with the code as event type: an editor's selection
// change (EN_SELCHANGE, when its event mask asks for it) and a rebar's height change
// (RBN_HEIGHTCHANGE, control -1). The Event* accessors then describe the event. Each
// thread has its own event queue and current event.
#ifndef ZK_COMMON_GUI_H
#define ZK_COMMON_GUI_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "common/objects.h"

constexpr int kKeepValue = -65535;  // leaves a coordinate or size unchanged

constexpr int kEventControl = 13100;
constexpr int kEventMenu = 13101;
constexpr int kEventClose = 16;

// Event types of control events.
constexpr int kEventTypeLeftClick = 0;
constexpr int kEventTypeRightClick = 1;
constexpr int kEventTypeLeftDoubleClick = 2;
constexpr int kEventTypeFocus = 14;
constexpr int kEventTypeLostFocus = 15;
constexpr int kEventTypeChange = 768;

// One window event. wParam and lParam are pointer-sized: they carry addresses.
struct EventRecord {
  int event = 0;
  int window = -1;   // number of the runtime window the event belongs to
  int control = -1;  // control number or menu item id
  int type = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// ---- windows --------------------------------------------------------------------------

enum WindowFlags : unsigned {
  kWindowSystemMenu = 1u << 0,
  kWindowMinimizeBox = 1u << 1,
  kWindowMaximizeBox = 1u << 2,
  kWindowSizeable = 1u << 3,
  kWindowTitleBar = 1u << 4,
  kWindowBorderless = 1u << 5,
  kWindowScreenCentered = 1u << 6,
  kWindowParentCentered = 1u << 7,
  kWindowInvisible = 1u << 8,
  kWindowTool = 1u << 9,  // small title, not in the task bar
  kWindowTopmost = 1u << 10,
};

// Window classes of the runtime: its windows, and the containers that hold controls (made
// by CreateContainer, and the pages of panels). Code that recognises the runtime's own
// windows by their class compares with these.
constexpr wchar_t kRuntimeWindowClass[] = L"ZkRuntimeWindow";
constexpr wchar_t kRuntimeContainerClass[] = L"ZkRuntimeContainer";

// Opens a window whose client area is width x height. `parent` is a window number or -1.
intptr_t OpenRuntimeWindow(int number, int x, int y, int width, int height, const std::string& title, unsigned flags,
                           int parent = -1);
intptr_t OpenRuntimeWindowW(int number, int x, int y, int width, int height, const std::wstring& title, unsigned flags,
                            int parent = -1);
int CloseRuntimeWindow(int number);
HWND WindowHandle(int number);
int IsRuntimeWindow(int number);
// The number of the runtime window that is `w` or holds it; -1 when none.
int WindowNumberOf(HWND w);
int ShowRuntimeWindow(int number, bool show);
int EnableRuntimeWindow(int number, bool enable);
int SetWindowTitle(int number, const std::string& title);
int SetWindowTitleW(int number, const std::wstring& title);
std::string GetWindowTitle(int number);
int ResizeRuntimeWindow(int number, int x, int y, int width, int height);  // client size
int WindowClientWidth(int number);
int WindowClientHeight(int number);
// Makes the window's client area (or a panel tab, see OpenPanelTab) the current control list.
int UseControlList(int windowNumber);
// The window that controls created now become children of.
HWND CurrentControlParent();

// ---- events ---------------------------------------------------------------------------

// Waits for the next event of the calling thread; timeoutMs < 0 waits without limit.
// Returns 0 when the time ran out.
int WaitWindowEvent(int timeoutMs = -1);
int WindowEvent();  // does not wait
const EventRecord& CurrentEvent();
int EventWindow();
int EventControl();  // control number, or menu item id for kEventMenu
int EventMenu();
int EventType();
WPARAM EventWParam();
LPARAM EventLParam();
// Queues an event for the calling thread, as a window procedure of the runtime does.
void PostRuntimeEvent(const EventRecord& e);

// ---- controls -------------------------------------------------------------------------

enum class ControlKind {
  None,
  Button,
  ToggleButton,
  ImageButton,
  CheckBox,
  Option,
  Frame,
  Label,
  Link,
  Text,
  Combo,
  Tree,
  List,
  Editor,
  Progress,
  Panel,
  Image,
  ScrollBar,
  Status,
  Custom
};

enum ControlFlags : unsigned {
  kTextNumeric = 1u << 0,  // digits only
  kTextReadOnly = 1u << 1,
  kTextPassword = 1u << 2,
  kTextMultiline = 1u << 3,
  kTextBorderless = 1u << 4,
  kButtonDefault = 1u << 5,
  kListMultiSelect = 1u << 6,
  kListFullRowSelect = 1u << 7,
  kListAlwaysShowSelection = 1u << 8,
  kListGridLines = 1u << 9,
  kTreeCheckBoxes = 1u << 10,
  kTreeNoLines = 1u << 11,
  kTreeNoButtons = 1u << 12,
  kLinkUnderline = 1u << 13,
  kLabelCenter = 1u << 14,
  kLabelRight = 1u << 15,
  kLabelBorder = 1u << 16,
  kOptionGroupStart = 1u << 17,  // this option starts a new group
  kEditorReadOnly = 1u << 18,
  kEditorWordWrap = 1u << 19,
  kScrollVertical = 1u << 20,
  kProgressSmooth = 1u << 21,
  kImageBorder = 1u << 22,
  kComboEditable = 1u << 23,
};

intptr_t CreateButton(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
intptr_t CreateToggleButton(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
intptr_t CreateImageButton(int number, int x, int y, int w, int h, HANDLE image, unsigned flags = 0);
intptr_t CreateCheckBox(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
intptr_t CreateOption(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
intptr_t CreateFrame(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
intptr_t CreateLabel(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
// A text that opens something when clicked; `colour` is the text colour while the pointer
// is over it (RGB as COLORREF); the normal colour is the window text colour unless set.
intptr_t CreateLink(int number, int x, int y, int w, int h, const std::string& text, COLORREF hoverColour,
                    unsigned flags = 0);
intptr_t CreateTextField(int number, int x, int y, int w, int h, const std::string& text, unsigned flags = 0);
intptr_t CreateCombo(int number, int x, int y, int w, int h, unsigned flags = 0);
intptr_t CreateTree(int number, int x, int y, int w, int h, unsigned flags = 0);
// A report list; `firstColumn` names the first column (more with AddListColumn).
intptr_t CreateList(int number, int x, int y, int w, int h, const std::string& firstColumn, int firstWidth,
                    unsigned flags = 0);
intptr_t CreateEditor(int number, int x, int y, int w, int h, unsigned flags = 0);
intptr_t CreateProgress(int number, int x, int y, int w, int h, int minimum, int maximum, unsigned flags = 0);
intptr_t CreatePanel(int number, int x, int y, int w, int h);
// A plain child window that holds other controls (a wizard page). It becomes the current
// control list until ClosePanel; SetControlBackColour paints its background.
intptr_t CreateContainer(int number, int x, int y, int w, int h);
intptr_t CreateImageControl(int number, int x, int y, int w, int h, HANDLE image, unsigned flags = 0);
intptr_t CreateScrollBar(int number, int x, int y, int w, int h, int minimum, int maximum, int page,
                         unsigned flags = kScrollVertical);
// Wide-text variants for the Unicode programs.
intptr_t CreateButtonW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags = 0);
intptr_t CreateCheckBoxW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags = 0);
intptr_t CreateOptionW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags = 0);
intptr_t CreateLabelW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags = 0);
intptr_t CreateTextFieldW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags = 0);
intptr_t CreateFrameW(int number, int x, int y, int w, int h, const std::wstring& text, unsigned flags = 0);

// Adds a tab to a panel and makes that tab the current control list; ClosePanel returns
// to the panel's own parent.
int OpenPanelTab(int panel, const std::string& text);
int ClosePanel();
// Selects a tab of a panel (0-based), showing its page.
int SetPanelTab(int panel, int tab);
int GetPanelTab(int panel);

int AddListColumn(int list, int position, const std::string& title, int width);

// Status bar of a window: fields with widths in pixels (-1 = up to the right edge).
intptr_t CreateStatusBar(int number, int window, const int* widths, int count);
int SetStatusText(int number, int field, const std::string& text);
int StatusBarHeight(int number);

HWND ControlHandle(int number);
int IsControl(int number);
ControlKind GetControlKind(int number);
// The number of a runtime control from its window, -1 when it is none.
int ControlNumberOf(HWND w);
int FreeControl(int number);

int SetControlText(int number, const std::string& text);
int SetControlTextW(int number, const std::wstring& text);
std::string GetControlText(int number);
std::wstring GetControlTextW(int number);
// State: check box / option / toggle button 0 or 1; combo box selected index; progress
// value; panel tab; scroll-bar position; list current (focused) row.
int SetControlState(int number, int state);
int GetControlState(int number);
int DisableControl(int number, bool disable);
int IsControlEnabled(int number);
int HideControl(int number, bool hide);
int IsControlVisible(int number);
int ResizeControl(int number, int x, int y, int w, int h);
int ControlX(int number);
int ControlY(int number);
int ControlWidth(int number);
int ControlHeight(int number);
int SetControlFont(int number, HFONT font);
int SetControlToolTip(int number, const std::string& text);
int SetControlImage(int number, HANDLE image);
int ActivateControl(int number);
// Colours (COLORREF; -1 restores the default) used when the control is drawn.
int SetControlFrontColour(int number, COLORREF colour);
int SetControlBackColour(int number, COLORREF colour);

// Items: list rows (columns separated by "\n"), combo entries, tree items, panel tabs.
// position -1 appends. Returns the new item's index or -1.
int AddControlItem(int number, int position, const std::string& text, intptr_t data = 0);
int AddControlItemW(int number, int position, const std::wstring& text, intptr_t data = 0);
int RemoveControlItem(int number, int item);
int ClearControlItems(int number);
int CountControlItems(int number);
std::string GetItemText(int number, int item, int column = 0);
int SetItemText(int number, int item, const std::string& text, int column = 0);
// Item state flags.
constexpr int kItemSelected = 1;
constexpr int kItemChecked = 2;
int GetItemState(int number, int item);
int SetItemState(int number, int item, int state);
intptr_t GetItemData(int number, int item);
int SetItemData(int number, int item, intptr_t data);

#endif
