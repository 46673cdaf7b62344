// Where a popup's drop-shadow strips go and which parts of a moved popup's old rectangle
// must be repainted: plain geometry, so that the tables are tested without windows.
#ifndef ZK_TOVREL_FRAME_POPUP_SHADOW_RULES_H
#define ZK_TOVREL_FRAME_POPUP_SHADOW_RULES_H

#include <windows.h>

#include <vector>

namespace tovrel {

constexpr int kShadowThickness = 5;

// One strip as CreateDropShadow takes it; width 0: no strip. A horizontal strip's length
// is its width, a vertical one's its height.
struct ShadowStrip {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int flags = 0;
  bool Exists() const { return width > 0; }
};

// The parent popup's strips as its record keeps them (submenus only).
struct ParentShadowState {
  RECT window = {};
  bool firstLevel = false;  // the parent shows the tracked menu itself
  bool hasBottomStrip = false;
  int bottomX = 0;
  int bottomY = 0;
  int bottomLength = 0;
  int bottomKind = 0;
  bool hasJoiningStrip = false;
  int joiningX = 0;
  int joiningY = 0;
  int joiningLength = 0;
};

struct PopupShadowInputs {
  RECT popup = {};  // screen rectangle of the popup being placed
  bool submenu = false;
  ParentShadowState parent;
  int submenuBottom = 0;  // top + height of the submenu as positioned
  int dropDownTop = 0;    // -1: the drop-down opens above its title
  int titleWidth = 0;
  int titleHeight = 0;
  int titleScreenLeft = 0;
  int dropDownShiftX = 0;
  bool whidbey = false;
  int workRight = 0;  // right edge of the work area under the popup's bottom-left corner
};

enum class ParentStrip { kNone, kBottom, kJoining };

struct PopupShadowPlan {
  ShadowStrip right;
  ShadowStrip bottom;
  ShadowStrip joining;
  // A strip of the parent hidden while this popup is open, and the strip shown in its
  // place for that time.
  ParentStrip hidden = ParentStrip::kNone;
  ShadowStrip extra;
};

PopupShadowPlan PlanPopupShadows(const PopupShadowInputs& in);

// What of `before` a popup now at `now` no longer covers, for the windows below to
// repaint. Disjoint rectangles give the old one whole, kept off the new one's edge row;
// overlapping ones give the strips left, right, bottom and top, in that order.
struct UncoveredArea {
  bool disjoint = false;
  std::vector<RECT> strips;
};
UncoveredArea UncoveredMenuArea(const RECT& before, const RECT& now);

// The parts of the bar a drop-down at `before` covered that it does not cover at `now`:
// the right strip, the left strip, or all of it once the drop-down lies below it.
std::vector<RECT> UncoveredBarStrips(const RECT& now, const RECT& before);

}  // namespace tovrel

#endif
