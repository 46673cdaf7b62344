// The toolkit's globals that start-up sets and later parts read: shared images, cursors
// and fonts, the system facts read once, and the "nothing current" markers of the menu,
// tool-bar and rebar code. All of them are written on the GUI thread only.
#ifndef ZK_TOVREL_FOUNDATION_TOOLKIT_GLOBALS_H
#define ZK_TOVREL_FOUNDATION_TOOLKIT_GLOBALS_H

#include <windows.h>
#include <commctrl.h>

#include <stdint.h>

#include "tovrel/foundation/os_version.h"

namespace tovrel {

// Set before start-up, by the program's own start.
// Owner-drawn menu items reuse a cached background. Off: Wine fills a popup with the menu
// colour before items draw, so every item paints its whole background itself.
extern int MenuBackgroundCacheEnabled;
extern int SkinBulkLoad;  // skin properties broadcast their changes while 0
// -2: no rebar background rendered yet.
extern intptr_t Office2003RebarBackground;
extern intptr_t Office2007RebarBackground;

// Set by InitToolkit.
// A 1 x 1 icon that draws nothing: the picture of a button that has none.
extern HICON DefaultToolbarImage;
// The check mark's list, then the radio mark's; each holds its 7 x 7 mark as image 0.
enum { GLYPH_CHECK, GLYPH_RADIO, GLYPH_LIST_COUNT };
extern HIMAGELIST GlyphImageLists[GLYPH_LIST_COUNT];
// Arrow, north-south sizing (twice), hand, west-east sizing.
enum { CURSOR_ARROW, CURSOR_SIZE_NS, CURSOR_SIZE_NS_BAND, CURSOR_HAND, CURSOR_SIZE_WE, TOOLKIT_CURSOR_COUNT };
extern HCURSOR ToolkitCursors[TOOLKIT_CURSOR_COUNT];
extern int DraggedBand;      // -1: no band is dragged
extern int BandInsertIndex;  // -2: the next band is appended
extern intptr_t CurrentMenuNumber;
extern intptr_t CurrentMenuHandle;
extern intptr_t CurrentRebar;
extern intptr_t CurrentToolbar;
extern int KeyboardTitleIndex;
extern int OpenTitleIndex;
extern int MenuImageWidth;
extern int MenuImageHeight;
extern HFONT ToolkitFont;      // made from the system's menu font
extern BOOL SystemDropShadow;  // the system's drop-shadow setting
extern int OsVersionCode;      // see OsVersionCodeOf
extern ComctlVersionInfo ComctlVersion;
// gdi32's alpha blend, 0 where the library or the function is missing.
extern decltype(&::GdiAlphaBlend) GdiAlphaBlendFunction;

// Set by StartToolkit.
extern int ToolkitStarted;
extern HHOOK CallWndProcHookHandle;
extern HANDLE AnimationThreadHandle;

// Set when their first user installs them; shutdown removes each one that is set.
extern HHOOK MenuKeyboardHookHandle;
extern HHOOK ShortcutHookHandle;

}  // namespace tovrel

#endif
