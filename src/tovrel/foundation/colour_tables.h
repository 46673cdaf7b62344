// The UI colour tables: for each style with a table, eight colours per colour index (the
// four default columns blue, olive, silver and grey, then four custom columns that start
// as copies of them), and the colour names skins may use.
#ifndef ZK_TOVREL_FOUNDATION_COLOUR_TABLES_H
#define ZK_TOVREL_FOUNDATION_COLOUR_TABLES_H

#include <stdint.h>
#include <string>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

// One colour index of one style, columns in the order of the kColumn* constants. The
// background caches of each index are kept by blit_cache.h, in tables of the same indexes.
struct ColourTableEntry {
  uint32_t colours[kColumnCount];
};

// Filled by InitColourTables; the custom columns change only when a custom colour is set.
// Used on the GUI thread only.
extern ColourTableEntry WhidbeyColourTable[kUIColourIndexCount];
extern ColourTableEntry Office2003ColourTable[kUIColourIndexCount];
extern ColourTableEntry Office2007ColourTable[kUIColourIndexCount];

// Fills ColourNameMap with the CSS colour keywords and the default columns from the
// built-in colours, and copies those into the custom columns (OFFICE2007's olive column
// is its blue one). Answers 0.
int InitColourTables();

// The name of each colour index, as colour expressions write it ("menutitletextcolor" is 0,
// "toolbarseparatorshadow" 55).
extern const char* const kUIColourNames[kNamedUIColourCount];
// Index of a lower-case name, or -1.
int FindUIColourIndex(const std::string& name);

// The CSS colour keywords of ColourNameMap: true and 0xRRGGBB (red in the high byte) for a
// lower-case keyword, false for any other text (no trimming: "navy " is not found) and
// before InitColourTables.
bool FindColourName(const std::string& name, uint32_t* rrggbb);

}  // namespace tovrel

#endif
