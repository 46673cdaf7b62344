// Colour lookups over the UI colour tables, and the brushes they hand out.
#include "tovrel/foundation/colour_lookup.h"

#include <windows.h>

#include "tovrel/foundation/colour_expressions.h"
#include "tovrel/foundation/colour_tables.h"
#include "tovrel/foundation/uxtheme_api.h"

namespace tovrel {

int CurrentColourMode = UICOLOURMODE_DEFAULT;

namespace {

bool gThemeInputsOverridden = false;
ThemeColourInputs gThemeInputsOverride;

struct CachedBrush {
  HBRUSH brush = nullptr;
  uint32_t colour = 0;
};

// One brush per table and index: painters keep the brush a lookup gave them while they
// draw, so a lookup for one style must never replace (and delete) the brush another
// style's painter holds. Styles without a table always get black and share one brush.
CachedBrush gWhidbeyBrushes[kUIColourIndexCount];
CachedBrush gOffice2003Brushes[kUIColourIndexCount];
CachedBrush gOffice2007Brushes[kUIColourIndexCount];
CachedBrush gNoTableBrush;

// Reuses the entry's brush while the colour stays; otherwise makes a new one and only then
// deletes the old, so a failed creation leaves a brush that still works.
HBRUSH CachedSolidBrush(CachedBrush& entry, uint32_t colour) {
  if (entry.brush && entry.colour == colour) return entry.brush;
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return nullptr;
  if (entry.brush) DeleteObject(entry.brush);
  entry.brush = brush;
  entry.colour = colour;
  return brush;
}

// The column an explicit mode reads, or -1 for DEFAULT, CUSTOM and unknown modes.
int ColumnOfMode(int mode) {
  if (mode >= UICOLOURMODE_DEFAULT_BLUE && mode <= UICOLOURMODE_DEFAULT_GREY) return mode - 1;
  if (mode >= UICOLOURMODE_CUSTOM_BLUE && mode <= UICOLOURMODE_CUSTOM_GREY) return mode - 2;
  return -1;
}

struct ResolvedColumn {
  int column;    // -1: no column, the colour is 0
  int modeCode;  // 6 to 9; 0 for an unknown mode
};

ResolvedColumn CurrentColumn() {
  int mode = CurrentColourMode;
  if (mode == UICOLOURMODE_DEFAULT || mode == UICOLOURMODE_CUSTOM) {
    int code = ResolveColourFamily(CurrentThemeColourInputs());
    int column = code - UICOLOURMODE_CUSTOM_BLUE + (mode == UICOLOURMODE_CUSTOM ? kColumnCustomBlue : 0);
    return {column, code};
  }
  int column = ColumnOfMode(mode);
  if (column < 0) return {-1, 0};
  return {column, column % kColumnCustomBlue + UICOLOURMODE_CUSTOM_BLUE};
}

// Text colours (0 to 4, 27), the disabled colour (29) and the drop shadow (20) go to the
// WHIDBEY painters as stored; they draw text and shadows with them, not brushes.
bool IsWhidbeyRawIndex(int index) { return (index >= 0 && index <= 4) || index == 20 || index == 27 || index == 29; }

}  // namespace

bool IsKeptAsStored(int index) {
  switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
    case 30:
    case 42:
    case 43:
    case 49:
    case 50:
    case 51:
    case 54:
    case 55:
      return true;
    default:
      return false;
  }
}

int ResolveColourFamily(const ThemeColourInputs& inputs) {
  if (!inputs.scrollbarTheme) return UICOLOURMODE_CUSTOM_GREY;
  uint32_t red = inputs.baseColour & 0xFF;
  uint32_t green = inputs.baseColour >> 8 & 0xFF;
  uint32_t blue = inputs.baseColour >> 16 & 0xFF;
  if (red >= 200 && green >= 200 && blue >= 200) return UICOLOURMODE_CUSTOM_SILVER;
  if (red < 200 && green < 200 && blue >= 200) return UICOLOURMODE_CUSTOM_BLUE;
  if (red >= 200 && green >= 200 && blue < 200) return UICOLOURMODE_CUSTOM_OLIVE;
  return UICOLOURMODE_CUSTOM_GREY;
}

ThemeColourInputs CurrentThemeColourInputs() {
  if (gThemeInputsOverridden) return gThemeInputsOverride;
  ThemeColourInputs inputs;
  inputs.scrollbarTheme = ThemeHandles[THEME_SCROLLBAR] != nullptr;
  inputs.baseColour = ThemeBaseColour;
  return inputs;
}

void SetThemeColourInputsForTest(const ThemeColourInputs* inputs) {
  gThemeInputsOverridden = inputs != nullptr;
  if (inputs) gThemeInputsOverride = *inputs;
}

intptr_t LookupUIColour(int style, int index, int flags) {
  if (index >= kUIColourIndexCount) return 0;
  ColourTableEntry* table = nullptr;
  CachedBrush* brushes = nullptr;
  if (style == UISTYLE_OFFICE2003 || style == UISTYLE_OFFICE2003_MENU) {
    table = Office2003ColourTable;
    brushes = gOffice2003Brushes;
  } else if (style == UISTYLE_OFFICE2007) {
    table = Office2007ColourTable;
    brushes = gOffice2007Brushes;
  }

  uint32_t value = 0;
  CachedBrush* entry = &gNoTableBrush;
  if (table) {
    ResolvedColumn resolved = CurrentColumn();
    // An unknown mode answers 0 here too rather than a brush for a slot that does not exist.
    if (index < 0) return resolved.modeCode;
    if (resolved.column >= 0) value = table[index].colours[resolved.column];
    entry = &brushes[index];
  }

  if (flags & 1) return value;
  if (IsAColour(value)) value = ColourAToC(value);
  if (flags & 2) return value;
  return reinterpret_cast<intptr_t>(CachedSolidBrush(*entry, value));
}

intptr_t LookupWhidbeyColour(int style, int index) {
  if (style != UISTYLE_WHIDBEY || index >= kUIColourIndexCount) return 0;
  ResolvedColumn resolved = CurrentColumn();
  if (index < 0) return resolved.modeCode;
  uint32_t value = resolved.column >= 0 ? WhidbeyColourTable[index].colours[resolved.column] : 0;
  if (IsWhidbeyRawIndex(index)) return value;
  return reinterpret_cast<intptr_t>(CachedSolidBrush(gWhidbeyBrushes[index], value));
}

uint32_t GetUIColour(int style, int index, int mode) {
  if (index < 0 || index >= kNamedUIColourCount) return 0;
  uint32_t value = 0;
  if (style == UISTYLE_WHIDBEY) {
    if (mode == UICOLOURMODE_DEFAULT) mode = static_cast<int>(LookupUIColour(UISTYLE_OFFICE2003, -1, 0));
    int column = ColumnOfMode(mode);
    if (column < 0) return 0;
    value = WhidbeyColourTable[index].colours[column];
  } else if (style == UISTYLE_OFFICE2003 || style == UISTYLE_OFFICE2007) {
    int column = ColumnOfMode(mode);
    if (column >= 0) {
      ColourTableEntry* table = style == UISTYLE_OFFICE2003 ? Office2003ColourTable : Office2007ColourTable;
      value = table[index].colours[column];
    } else {
      value = static_cast<uint32_t>(LookupUIColour(style, index, 1));
    }
  } else {
    return 0;
  }
  if (IsKeptAsStored(index)) return value;
  // Only an A colour changes form: a colour some table keeps in C form at another index
  // (OFFICE2003's sticky selection border) must not come back with red and blue swapped.
  return IsAColour(value) ? ColourAToC(value) : value;
}

int GetColourMode() { return CurrentColourMode; }

int GetEffectiveColourMode() {
  int code = static_cast<int>(LookupUIColour(UISTYLE_OFFICE2003, -1, 0));
  if (code == 0) return 0;
  return CurrentColourMode == UICOLOURMODE_CUSTOM ? code : code - 5;
}

}  // namespace tovrel
