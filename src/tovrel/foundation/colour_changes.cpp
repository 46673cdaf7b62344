#include "tovrel/foundation/colour_changes.h"

#include <windows.h>

#include <ctype.h>

#include "tovrel/foundation/blit_cache.h"
#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/process_windows.h"
#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

std::string SkinVariant;

int SetSkinVariant(const std::string& name) {
  size_t begin = 0, end = name.size();
  while (begin < end && isspace(static_cast<unsigned char>(name[begin]))) ++begin;
  while (end > begin && isspace(static_cast<unsigned char>(name[end - 1]))) --end;
  std::string variant = name.substr(begin, end - begin);
  for (char& ch : variant) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
  SkinVariant = variant;
  return 1;
}

const char* ColourModeSchemeName(int mode) {
  switch (mode) {
    case UICOLOURMODE_DEFAULT_BLUE:
    case UICOLOURMODE_CUSTOM_BLUE:
      return "blue";
    case UICOLOURMODE_DEFAULT_OLIVE:
    case UICOLOURMODE_CUSTOM_OLIVE:
      return "olive";
    case UICOLOURMODE_DEFAULT_SILVER:
    case UICOLOURMODE_CUSTOM_SILVER:
      return "silver";
    case UICOLOURMODE_DEFAULT_GREY:
    case UICOLOURMODE_CUSTOM_GREY:
      return "grey";
    default:
      return "";
  }
}

int SetColourMode(int mode) {
  if (mode < UICOLOURMODE_DEFAULT || mode > UICOLOURMODE_CUSTOM_GREY) return 0;
  CurrentColourMode = mode;
  EnumWindows(RefreshProcessWindowCallback, static_cast<LPARAM>(GetCurrentProcessId()));
  FreeBlitCaches();
  SetSkinVariant(ColourModeSchemeName(mode));
  return 1;
}

CustomColourSlot CustomColourSlotFor(int index, uint32_t colour, int mode) {
  CustomColourSlot slot;
  if (mode < UICOLOURMODE_CUSTOM) mode += UICOLOURMODE_CUSTOM;
  if (mode < UICOLOURMODE_CUSTOM || mode > UICOLOURMODE_CUSTOM_GREY) return slot;
  if (index < 0 || index >= kNamedUIColourCount) return slot;
  if (mode == UICOLOURMODE_CUSTOM) mode = ResolveColourFamily(CurrentThemeColourInputs());
  slot.valid = true;
  slot.column = kColumnCustomBlue + (mode - UICOLOURMODE_CUSTOM_BLUE);
  slot.value = IsKeptAsStored(index) ? colour : PackRGBA(255, colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
  return slot;
}

int SetCustomUIColour(int style, int index, uint32_t colour, int mode, int noRefresh) {
  ColourTableEntry* table = nullptr;
  if (style == UISTYLE_WHIDBEY) {
    table = WhidbeyColourTable;
  } else if (style == UISTYLE_OFFICE2003) {
    table = Office2003ColourTable;
  } else if (style == UISTYLE_OFFICE2007) {
    table = Office2007ColourTable;
  }
  CustomColourSlot slot = CustomColourSlotFor(index, colour, mode);
  if (!table || !slot.valid) return 0;
  table[index].colours[slot.column] = slot.value;
  if (!noRefresh) FreeBlitCaches();
  return 1;
}

}  // namespace tovrel
