// Changing how the toolkit's components look after they were made: another colour mode
// for all of them, or one custom colour, each followed by dropping the pictures painted
// in the old colours. Run on the GUI thread.
#ifndef ZK_TOVREL_FOUNDATION_COLOUR_CHANGES_H
#define ZK_TOVREL_FOUNDATION_COLOUR_CHANGES_H

#include <stdint.h>
#include <string>

namespace tovrel {

// The colour variant skins draw in ("blue", "olive", "silver", "grey"); empty: the
// variant of the visual style's own colour scheme.
extern std::string SkinVariant;

// Sets SkinVariant to the name, lower-cased and without surrounding white space. Answers 1.
int SetSkinVariant(const std::string& name);

// The scheme name of a colour mode: "blue" for 1 and 6, "olive" for 2 and 7, "silver" for
// 3 and 8, "grey" for 4 and 9, empty for 0, 5 and any other mode.
const char* ColourModeSchemeName(int mode);

// Modes 0 to 9: sets CurrentColourMode, redraws every top-level window of the process,
// frees the style backgrounds' caches and sets the skin variant to the mode's scheme name;
// answers 1. Any other mode changes nothing and answers 0.
int SetColourMode(int mode);

// Where a custom colour goes: the colour-table column and the value stored there.
struct CustomColourSlot {
  bool valid = false;
  int column = 0;
  uint32_t value = 0;
};

// The slot for a custom colour: a DEFAULT mode (0 to 4) stands for its CUSTOM twin, the
// plain CUSTOM mode for the colour family the visual style resolves to; modes outside 0 to
// 9 and indexes outside 0 to 55 have none. `colour` is a GDI colour; the indexes kept in C
// form store it as given, all others as an opaque GDI+ colour.
CustomColourSlot CustomColourSlotFor(int index, uint32_t colour, int mode);

// Stores a custom colour of style 5, UISTYLE_OFFICE2003 or UISTYLE_OFFICE2007 (not the
// menus' 6) and, unless noRefresh is non-zero, frees the style backgrounds' caches so that
// they are painted again in it. Answers 1 when stored, else 0 with nothing changed.
int SetCustomUIColour(int style, int index, uint32_t colour, int mode, int noRefresh);

}  // namespace tovrel

#endif
