// The colour lookups the painters and colour expressions call, the colour mode that picks
// the table column, and the brushes handed out for colours.
#ifndef ZK_TOVREL_FOUNDATION_COLOUR_LOOKUP_H
#define ZK_TOVREL_FOUNDATION_COLOUR_LOOKUP_H

#include <stdint.h>

#include "tovrel/foundation/ui_styles.h"

namespace tovrel {

// One of the UICOLOURMODE_* values; 0 at start. Set through the colour-mode operation.
extern int CurrentColourMode;

// What the default and custom modes follow: the active visual style's base colour (read
// as a GDI colour), when a scroll-bar theme is open.
struct ThemeColourInputs {
  bool scrollbarTheme = false;
  uint32_t baseColour = 0;
};

// The colour family as a mode code: 6 blue, 7 olive, 8 silver, 9 grey (also without a
// scroll-bar theme).
int ResolveColourFamily(const ThemeColourInputs& inputs);

// The inputs the lookups use now: the open visual style's scroll-bar theme and base colour
// (none until the visual-style library is open), or what a test put in place. Tests pass
// nullptr to go back.
ThemeColourInputs CurrentThemeColourInputs();
void SetThemeColourInputsForTest(const ThemeColourInputs* inputs);

// The OFFICE2003 (6 or 0x1000000) and OFFICE2007 painters' lookup. A negative index
// answers the mode code of the column in use (6 to 9). Otherwise flags 1 answers the
// stored colour, flags 2 the colour in C form, flags 0 a solid brush of that C colour.
// Styles without a table work on colour 0. An index above 56 answers 0.
// Brushes stay owned by the lookups: callers never delete them.
intptr_t LookupUIColour(int style, int index, int flags);

// The WHIDBEY painters' lookup: 0 for any other style; the mode code for a negative index;
// the stored colour for the text colours, the disabled colour and the drop shadow (indexes
// 0 to 4, 20, 27, 29); a solid brush of the stored colour for every other index.
intptr_t LookupWhidbeyColour(int style, int index);

// A colour of a style in an explicit mode, in C form, for colour expressions; 0 for an
// index outside 0 to 55 or a style or mode the tables do not have.
uint32_t GetUIColour(int style, int index, int mode);

// The indexes kept in C form: the GDI colours of the painters, plus the text and disabled
// colours, so that a custom text colour reaches text drawing as a GDI colour too. Colour
// expressions get them as stored, and custom colours are stored for them as given.
bool IsKeptAsStored(int index);

int GetColourMode();
// The column the current mode reads: 6 to 9 in the custom mode, 1 to 4 otherwise.
int GetEffectiveColourMode();

}  // namespace tovrel

#endif
