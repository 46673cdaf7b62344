// Records shared by the window, control and item parts of the runtime's GUI layer.
#ifndef ZK_COMMON_GUI_INTERNAL_H
#define ZK_COMMON_GUI_INTERNAL_H

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/gui.h"
#include "common/gui_thread.h"
#include "common/scoped.h"

namespace gui {

constexpr COLORREF kNoColour = static_cast<COLORREF>(-1);
// Posted by a check-box tree to itself's parent after a click or the Space key, so that
// the change event arrives after the tree has toggled the check mark.
constexpr UINT kMsgDeferredChange = WM_APP + 0x101;
constexpr int kFirstAutoNumber = 10000;
constexpr int kLastNumber = 0xFFFF;

struct WindowRec {
  int number = 0;
  HWND hwnd = nullptr;
  HWND tooltip = nullptr;
};

struct ControlRec {
  int number = 0;
  HWND hwnd = nullptr;
  ControlKind kind = ControlKind::None;
  int rootWindow = -1;    // runtime window the control belongs to
  HWND parent = nullptr;  // the control list it was created in
  COLORREF front = kNoColour;
  COLORREF back = kNoColour;
  ScopedBrush backBrush;
  COLORREF hover = kNoColour;  // links: text colour under the pointer
  bool hot = false;            // links: pointer is over it
  ScopedFont ownFont;          // a font the control owns (underlined link)
  int columns = 0;             // lists
  std::vector<HWND> pages;     // panels: one container per tab
  std::vector<HTREEITEM> treeItems;
  HANDLE image = nullptr;
};

// Leaves the calling operation with `fail` when it runs off the GUI thread, in the builds
// that check (see gui_thread.h); nothing in the others.
#ifdef ZK_CHECK_THREADS
#define ZK_GUI_THREAD_ONLY(fail) \
  if (!CheckGuiThread(__func__)) return fail
#else
#define ZK_GUI_THREAD_ONLY(fail) (void)0
#endif

// The registry: plain tables of the GUI thread. The lookups check the thread, so every
// operation that reaches a window or control through its number is checked.
WindowRec* FindWindowRec(int number);
ControlRec* FindControlRec(int number);
ControlRec* FindControlRecByHandle(HWND w);
int AllocateWindowNumber();
int AllocateControlNumber();
void StoreWindow(const WindowRec& rec);
ControlRec* StoreControl(ControlRec rec);
void EraseControl(int number);

// The current control list of the calling thread.
struct ControlList {
  HWND parent = nullptr;
  int rootWindow = -1;
};
ControlList& CurrentList();
std::vector<ControlList>& ListStack();

HFONT DefaultFont();
// The visible default push button below `root`, or nullptr.
HWND FindDefaultButton(HWND root);
void QueueEvent(const EventRecord& e);
LRESULT CALLBACK RuntimeWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
const wchar_t* WindowClassName();
const wchar_t* ContainerClassName();
void RegisterClasses();

// Creates a control in the current list and registers it under `number` (or a new one).
// Returns the create result of the conventions.
intptr_t MakeControl(int number, ControlKind kind, const wchar_t* cls, const std::wstring& text, DWORD style,
                     DWORD exStyle, int x, int y, int w, int h, ControlRec** out = nullptr);

// Shows the page of a panel's selected tab and hides the others.
void ShowPanelPage(ControlRec* panel);
int SubclassLink(ControlRec* rec);
void UnsubclassLink(HWND w);

}  // namespace gui

#endif
