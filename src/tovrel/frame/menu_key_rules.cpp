#include "tovrel/frame/menu_key_rules.h"

#include "tovrel/frame/menu_state.h"

namespace tovrel {

namespace {

// Flag words with the repeat count's top bit forced on, so that any repeat count of 1
// compares equal: scan code, extended bit, Alt context, previous state and transition.
constexpr DWORD kAltPress = 0x20388001;    // scan 0x38, Alt context, key was up
constexpr DWORD kF10Press = 0x00448001;    // scan 0x44, key was up
constexpr DWORD kAltRelease = 0xC0388001;  // scan 0x38, key was down and goes up
constexpr DWORD kEnterPress = 0x001C8001;  // scan 0x1C, key was up
constexpr WORD kDownHigh = 0x0150;         // scan 0x50, extended: the arrow key
constexpr WORD kDownRepeatHigh = 0x4150;

bool LowBitsMatch(UINT id, int scrollId) { return (id & 0xFFFF) == (static_cast<UINT>(scrollId) & 0xFFFF); }

}  // namespace

MenuKey ClassifyMenuKey(WPARAM key, LPARAM flags) {
  const DWORD word = static_cast<DWORD>(flags) | 0x8000;
  if (word == kAltPress) return MenuKey::AltPress;
  if (word == kF10Press) return MenuKey::F10Press;
  if (word == kAltRelease) return MenuKey::AltRelease;
  const WORD high = HIWORD(static_cast<DWORD>(flags));
  if (high == kDownHigh || high == kDownRepeatHigh) return MenuKey::Down;
  if (word == kEnterPress) return MenuKey::Enter;
  const bool released = (static_cast<DWORD>(flags) & 0x80000000u) != 0;
  if (key == VK_ESCAPE && !released) return MenuKey::Escape;
  switch (key) {
    case VK_MENU:
    case VK_F10:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_RETURN:
      return MenuKey::Kept;
    default:
      return MenuKey::Other;
  }
}

ScrollItem ScrollItemOfId(UINT id) {
  if (LowBitsMatch(id, MenuScrollUpId)) return ScrollItem::UpArrow;
  if (LowBitsMatch(id, MenuScrollDownId)) return ScrollItem::DownArrow;
  if (LowBitsMatch(id, MenuScrollFillerId)) return ScrollItem::Filler;
  return ScrollItem::Ordinary;
}

ScrollKeyStep ScrollStepForKey(UINT lastKey, ScrollItem reached, ScrollItem first, ScrollItem last) {
  const bool down = lastKey == VK_DOWN;
  const bool up = lastKey == VK_UP;
  // Down landing on the up arrow wrapped from the end, Up on the down arrow from the start:
  // the copy starts again at the other end of the source.
  if (down && reached == ScrollItem::UpArrow && last != ScrollItem::DownArrow) return {3, 0};
  if (up && reached == ScrollItem::DownArrow && first != ScrollItem::UpArrow) return {2, -1};
  if (up && (reached == ScrollItem::Filler || reached == ScrollItem::UpArrow)) return {1, 1};
  if (down && (reached == ScrollItem::Filler || reached == ScrollItem::DownArrow)) return {0, -2};
  return {-1, 0};
}

int ScrollTargetPosition(int target, int count) { return target >= 0 ? target : count + target; }

KeyPresses KeysToReach(const std::vector<StepItem>& items, int from, int target) {
  const int n = static_cast<int>(items.size());
  if (target < 0 || target >= n || items[target] == StepItem::Skipped) return {0, 0};
  if (from == target) return {0, 0};
  // Presses needed going one way; 0 when the way stops on a scroll item first.
  auto presses = [&](int direction) {
    int at = from;
    for (int count = 1; count <= n; ++count) {
      int next = at;
      for (int tries = 0; tries < n; ++tries) {
        next = next < 0 ? (direction > 0 ? 0 : n - 1) : (next + direction + n) % n;
        if (items[next] != StepItem::Skipped) break;
      }
      if (next == target) return count;
      if (items[next] == StepItem::Scroll) return 0;
      at = next;
    }
    return 0;
  };
  const int down = presses(1);
  const int up = presses(-1);
  if (down && (!up || down <= up)) return {VK_DOWN, down};
  if (up) return {VK_UP, up};
  return {0, 0};
}

}  // namespace tovrel
