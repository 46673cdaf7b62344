#include "tovrel/frame/popup_shadow_rules.h"

#include <algorithm>

namespace tovrel {

namespace {

constexpr int s = kShadowThickness;
constexpr int kVertical = 0x1000;

ShadowStrip Horizontal(int x, int y, int length, int flags) { return {x, y, length, s, flags}; }
ShadowStrip Vertical(int x, int y, int length, int flags) { return {x, y, s, length, flags}; }

struct Box {
  int L, T, W, H;
};
Box BoxOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

ShadowStrip OwnRightStrip(const Box& b) { return Vertical(b.L + b.W, b.T + s, b.H - s, kVertical | 1); }

void PlanFirstLevel(const PopupShadowInputs& in, PopupShadowPlan& plan) {
  const Box b = BoxOf(in.popup);
  plan.right = OwnRightStrip(b);
  if (in.dropDownTop != -1) {
    plan.bottom = Horizontal(b.L + s, b.T + b.H, b.W - 1, 0);
    return;
  }
  // The drop-down's bottom edge rests on its title, which casts its own shadow there.
  const int t = in.titleWidth - (in.whidbey ? 4 : 0);
  const int a = in.dropDownShiftX <= 0 ? in.dropDownShiftX : std::max(0, in.dropDownShiftX - (in.whidbey ? 2 : 4));
  int length = b.W + s - t - 1;
  const int rightEnd = b.L + b.W + 4 + a;
  if (rightEnd > in.workRight) length += in.workRight + s - rightEnd + 1;
  if (in.titleScreenLeft < b.L) length -= a;
  plan.bottom = Horizontal(b.L + t + a, b.T + b.H, length, 2);
  if (b.L < in.titleScreenLeft) plan.joining = Horizontal(b.L + s, b.T + b.H, in.titleScreenLeft - b.L - s, 1);
}

void PlanSubmenu(const PopupShadowInputs& in, PopupShadowPlan& plan) {
  const Box b = BoxOf(in.popup);
  const RECT& P = in.parent.window;
  const int B = in.submenuBottom;
  ParentShadowState parent = in.parent;
  int o = 0;
  // Below its title, a first-level drop-down's top part is shadowed by the title too.
  if (parent.firstLevel && in.dropDownTop != -1 && !parent.hasJoiningStrip) {
    o = in.titleHeight - 1;
    parent.bottomX += s;
    parent.bottomLength -= s;
    parent.bottomKind = 2;
  }

  if (P.left > b.L && B > P.bottom + o) {
    plan.right = Vertical(b.L + b.W, P.bottom + o, B - (P.bottom + o), kVertical | 4);
    if (parent.firstLevel && in.dropDownTop == -1 && o == 0 && parent.hasJoiningStrip) {
      plan.hidden = ParentStrip::kJoining;
      plan.extra = Horizontal(parent.joiningX - s, parent.joiningY, parent.joiningLength + s, 4);
    } else if (parent.hasBottomStrip) {
      plan.hidden = ParentStrip::kBottom;
      plan.extra = Horizontal(parent.bottomX - s, parent.bottomY, parent.bottomLength + s, parent.bottomKind);
    }
  } else {
    plan.right = OwnRightStrip(b);
  }

  auto hide = [&plan](ParentStrip strip) {
    if (plan.hidden == ParentStrip::kNone) plan.hidden = strip;
  };
  const int y = b.T + b.H;
  if (in.dropDownTop != -1) {
    if (B < P.bottom && P.left < b.L) {
      plan.bottom = Horizontal(b.L, y, b.W + 4, 2);
    } else if (B < P.bottom) {
      plan.bottom = Horizontal(b.L + s, y, b.W - 6, 1);
    } else if (B == P.bottom && P.left < b.L) {
      plan.bottom = Horizontal(P.left + s, y, b.L + b.W - P.left - 1, 0);
      hide(ParentStrip::kBottom);
    } else if (B == P.bottom) {
      plan.bottom = Horizontal(b.L + s, y, P.right - b.L - 1, 0);
      hide(ParentStrip::kBottom);
    } else {
      plan.bottom = Horizontal(b.L + s, y, b.W - 1, 0);
    }
    return;
  }

  if (B < P.bottom && P.left < b.L) {
    plan.bottom = Horizontal(b.L, y, b.W + 4, 2);
  } else if (B < P.bottom) {
    plan.bottom = Horizontal(b.L + s, y, b.W - 6, 1);
  } else if (B == P.bottom && parent.firstLevel && P.left < b.L) {
    plan.bottom = Horizontal(parent.bottomX - s, parent.bottomY, parent.bottomLength + b.W + 4, 2);
    hide(ParentStrip::kBottom);
  } else if (B == P.bottom && parent.firstLevel && parent.hasJoiningStrip) {
    plan.bottom = Horizontal(b.L + s, y, b.W + parent.joiningLength - 1, 1);
    hide(ParentStrip::kJoining);
  } else if (B == P.bottom && parent.firstLevel) {
    plan.bottom = Horizontal(b.L + s, y, b.W - 6, 1);
  } else if (B == P.bottom && P.left < b.L) {
    plan.bottom = Horizontal(P.left + s, y, b.L + b.W - P.left - 1, 0);
    hide(ParentStrip::kBottom);
  } else if (B == P.bottom) {
    plan.bottom = Horizontal(b.L + s, y, P.right - b.L - 1, 0);
    hide(ParentStrip::kBottom);
  } else if (parent.firstLevel && !parent.hasJoiningStrip && P.left > b.L && B < P.bottom + in.titleHeight) {
    plan.bottom = Horizontal(b.L + s, y, b.W - 6, 1);
  } else {
    plan.bottom = Horizontal(b.L + s, y, b.W - 1, 0);
  }
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void AddIfNotEmpty(std::vector<RECT>& strips, const RECT& r) {
  if (r.right > r.left && r.bottom > r.top) strips.push_back(r);
}

}  // namespace

PopupShadowPlan PlanPopupShadows(const PopupShadowInputs& in) {
  PopupShadowPlan plan;
  if (in.submenu) {
    PlanSubmenu(in, plan);
  } else {
    PlanFirstLevel(in, plan);
  }
  return plan;
}

UncoveredArea UncoveredMenuArea(const RECT& O, const RECT& C) {
  UncoveredArea area;
  if (!Overlap(O, C)) {
    area.disjoint = true;
    RECT old = O;
    // Left of the new rectangle and touching it at a corner row: that row is the new
    // popup's, so it is not repainted from below.
    if (O.left < C.left && O.top < C.top) --old.bottom;
    if (O.left < C.left && O.top > C.top) ++old.top;
    AddIfNotEmpty(area.strips, old);
    return area;
  }
  AddIfNotEmpty(area.strips, {O.left, O.top, std::min(C.left, O.right), O.bottom});
  AddIfNotEmpty(area.strips, {std::max(C.right, O.left), O.top, O.right, O.bottom});
  AddIfNotEmpty(area.strips, {O.left, std::max(C.bottom, O.top), O.right, O.bottom});
  AddIfNotEmpty(area.strips, {O.left, O.top, O.right, std::min(C.top, O.bottom)});
  return area;
}

std::vector<RECT> UncoveredBarStrips(const RECT& C, const RECT& O) {
  std::vector<RECT> strips;
  if (C.right < O.right) AddIfNotEmpty(strips, {C.right, O.top, O.right, O.bottom});
  if (C.left > O.left) AddIfNotEmpty(strips, {O.left, O.top, C.left, O.bottom});
  if (C.top > O.bottom) AddIfNotEmpty(strips, O);
  return strips;
}

}  // namespace tovrel
