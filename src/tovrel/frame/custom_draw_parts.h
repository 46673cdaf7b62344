// What the custom-draw painters share: the notification as the dispatcher classified it,
// the button states tool bars report, and the painters of each kind of item. Only the
// custom-draw files include this.
#ifndef ZK_TOVREL_FRAME_CUSTOM_DRAW_PARTS_H
#define ZK_TOVREL_FRAME_CUSTOM_DRAW_PARTS_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/toolkit_lock.h"
#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

// One notification. `style` is the UI style the item is drawn in: the style of the rebar
// hosting a known tool bar, or of the notifying rebar; 0 for none.
struct CustomDrawItem {
  NMCUSTOMDRAW& draw;
  HWND window;       // the notifying control
  Toolbar* toolbar;  // the notifying tool bar's record; nullptr when it is none of ours
  Rebar* rebar;      // the notifying rebar's record; nullptr for tool bars and others
  int style;
  LRESULT first;  // the answer every stage and item keeps unless a painter takes it
};

inline bool IsOfficeStyle(int style) { return style == UISTYLE_OFFICE2003 || style == UISTYLE_OFFICE2007; }

// The image-only look of a tool bar; never a rebar's style.
constexpr int kToolbarImageOnly = 0x4000000;

// What a tool-bar item's uItemState says about the button.
enum class ButtonState { kOther, kHot, kPressed, kChecked, kHotChecked, kPressedChecked };
ButtonState ButtonStateOf(UINT itemState);
inline bool IsDisabledItem(UINT itemState) { return (itemState & CDIS_DISABLED) != 0; }

enum class ButtonKind { kPlain, kWholeDropDown, kSplitDropDown };

// Holds MenuMutex for a scope.
class MenuLock {
 public:
  MenuLock() { ToolkitLock(MenuMutex); }
  ~MenuLock() { ToolkitUnlock(MenuMutex); }
  MenuLock(const MenuLock&) = delete;
  MenuLock& operator=(const MenuLock&) = delete;
};

// True when a menu bar's records name the window as their bar.
bool IsMenuBarWindow(HWND window);

// Rounds one end of a painted strip: the corner pixel gets back the colour it had before
// the strip was painted, its two neighbours a mix of their painted colour and that old
// colour. `dx` and `dy` point from the corner into the strip.
void RoundStripCorner(HDC dc, int x, int y, int dx, int dy, COLORREF oldCorner);

// The painters; each answers the custom-draw result when it drew the item, or -1 when the
// item is not its kind.
LRESULT PaintGripper(const CustomDrawItem& item);
LRESULT PaintUnstyledSeparator(const CustomDrawItem& item);
LRESULT PaintThemedButton(const CustomDrawItem& item);
LRESULT PaintGradientButton(const CustomDrawItem& item);
LRESULT PaintImageOnlyButton(const CustomDrawItem& item);
// The title's own record; MenuMutex held.
LRESULT PaintMenuTitle(const CustomDrawItem& item, const Menu& title);

// The two shadows that join an open drop-down to the pressed title or button at `rc` of
// `bar`, drawn in `style`: at most one pair per bar and position, and only while the
// system's drop-shadow setting is on. MenuMutex held.
void CastTitleShadows(HWND bar, const RECT& rc, int style);

}  // namespace tovrel

#endif
