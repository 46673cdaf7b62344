#include "tovrel/foundation/toolkit_globals.h"

namespace tovrel {

int MenuBackgroundCacheEnabled = 0;
int SkinBulkLoad = 0;
intptr_t Office2003RebarBackground = -2;
intptr_t Office2007RebarBackground = -2;

HICON DefaultToolbarImage = nullptr;
HIMAGELIST GlyphImageLists[GLYPH_LIST_COUNT] = {};
HCURSOR ToolkitCursors[TOOLKIT_CURSOR_COUNT] = {};
int DraggedBand = 0;
int BandInsertIndex = 0;
intptr_t CurrentMenuNumber = 0;
intptr_t CurrentMenuHandle = 0;
intptr_t CurrentRebar = 0;
intptr_t CurrentToolbar = 0;
int KeyboardTitleIndex = 0;
int OpenTitleIndex = 0;
int MenuImageWidth = 0;
int MenuImageHeight = 0;
HFONT ToolkitFont = nullptr;
BOOL SystemDropShadow = FALSE;
int OsVersionCode = 0;
ComctlVersionInfo ComctlVersion;
decltype(&::GdiAlphaBlend) GdiAlphaBlendFunction = nullptr;

int ToolkitStarted = 0;
HHOOK CallWndProcHookHandle = nullptr;
HANDLE AnimationThreadHandle = nullptr;

HHOOK MenuKeyboardHookHandle = nullptr;
HHOOK ShortcutHookHandle = nullptr;

}  // namespace tovrel
