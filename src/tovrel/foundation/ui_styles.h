// The UI styles menus, tool bars and rebars are drawn in, the colour modes that pick a
// column of the UI colour tables, and the names of the colour indexes.
#ifndef ZK_TOVREL_FOUNDATION_UI_STYLES_H
#define ZK_TOVREL_FOUNDATION_UI_STYLES_H

namespace tovrel {

// Each menu, tool bar and rebar keeps the style it was made with; these values are part of
// the toolkit's interface.
constexpr int UISTYLE_WHIDBEY = 5;
constexpr int UISTYLE_OFFICE2003 = 0x1000000;
// Menus and popup records keep the OFFICE2003 style as 6; the lookups take both values.
constexpr int UISTYLE_OFFICE2003_MENU = 6;
constexpr int UISTYLE_OFFICE2007 = 0x2000000;

constexpr int UICOLOURMODE_DEFAULT = 0;
constexpr int UICOLOURMODE_DEFAULT_BLUE = 1;
constexpr int UICOLOURMODE_DEFAULT_OLIVE = 2;
constexpr int UICOLOURMODE_DEFAULT_SILVER = 3;
constexpr int UICOLOURMODE_DEFAULT_GREY = 4;
constexpr int UICOLOURMODE_CUSTOM = 5;
constexpr int UICOLOURMODE_CUSTOM_BLUE = 6;
constexpr int UICOLOURMODE_CUSTOM_OLIVE = 7;
constexpr int UICOLOURMODE_CUSTOM_SILVER = 8;
constexpr int UICOLOURMODE_CUSTOM_GREY = 9;

// Colour indexes 0 to 55 are named (kUIColourNames); entry 56 exists but is never set.
constexpr int kUIColourIndexCount = 57;
constexpr int kNamedUIColourCount = 56;

// Column order of a colour-table entry.
constexpr int kColumnDefaultBlue = 0;
constexpr int kColumnDefaultOlive = 1;
constexpr int kColumnDefaultSilver = 2;
constexpr int kColumnDefaultGrey = 3;
constexpr int kColumnCustomBlue = 4;
constexpr int kColumnCount = 8;

}  // namespace tovrel

#endif
