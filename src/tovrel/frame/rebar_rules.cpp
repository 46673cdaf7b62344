#include "tovrel/frame/rebar_rules.h"

#include <commctrl.h>

#include <algorithm>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

RebarCreationStyle RebarCreationStyleOf(int flags, bool hasBackground) {
  RebarCreationStyle result = {};
  DWORD style = (static_cast<DWORD>(flags) & ~kRebarToolkitFlagBits) | CCS_NODIVIDER;
  if ((hasBackground || (flags & UISTYLE_OFFICE2003)) && (style & RBS_BANDBORDERS)) {
    result.bandBorders = true;
    style &= ~static_cast<DWORD>(RBS_BANDBORDERS);
  }
  result.windowStyle = style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (flags & UISTYLE_OFFICE2003) {
    result.uiStyle = UISTYLE_OFFICE2003;
  } else if (flags & UISTYLE_OFFICE2007) {
    result.uiStyle = UISTYLE_OFFICE2007;
  }
  return result;
}

bool IsValidLayoutFileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return false;
  for (unsigned char c : name) {
    if (c < 32 || c == 127) return false;
    switch (c) {
      case '"':
      case '*':
      case ':':
      case '<':
      case '>':
      case '?':
      case '|':
        return false;
      default:
        break;
    }
  }
  return true;
}

int32_t ReadDecimal(const char* text) {
  if (!text) return 0;
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = false;
  if (*text == '-' || *text == '+') negative = *text++ == '-';
  uint64_t value = 0;
  // Unsigned arithmetic wraps instead of overflowing; only the low 32 bits are kept.
  for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + static_cast<uint64_t>(*text - '0');
  if (negative) value = 0 - value;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int OtherRowsHeight(const std::vector<BandRowEntry>& bands, int32_t bandId) {
  int total = 0;
  size_t i = 0;
  while (i < bands.size()) {
    if (!bands[i].visible) {
      ++i;
      continue;
    }
    // One row: this band and the visible bands after it with the same top.
    const BandRowEntry& first = bands[i];
    int height = 0;
    bool named = false;
    for (; i < bands.size(); ++i) {
      if (!bands[i].visible) continue;
      if (bands[i].top != first.top) break;
      height = std::max(height, bands[i].height);
      named = named || bands[i].id == bandId;
    }
    if (!named) total += height + first.borders;
  }
  return total;
}

}  // namespace tovrel
