// The control toolkit's operations that the main window calls: start-up, the menu bar,
// the tool bar and the rebar that hosts both. They are the toolkit frame's own
// operations, named here for the program.
//
// Menu bars, tool bars and rebars are numbered toolkit objects. A create operation takes
// the number to use or -1: with -1 it answers the new number, with a free number the new
// object's window; it answers 0 when the number is already in use (the existing object
// stays) or the window cannot be made. Add operations act on the object created last
// (the current one). Every menu item and tool-bar button reaches the owner window as
// WM_COMMAND with its command id, which the runtime turns into a menu event.
//
// All of these run on the GUI thread.
#ifndef ZK_TOVREL_TOVREL_H
#define ZK_TOVREL_TOVREL_H

#include "tovrel/foundation/start_up.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/menu_items.h"
#include "tovrel/frame/menus.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"
#include "tovrel/frame/rebar_height.h"
#include "tovrel/frame/toolbar.h"

using tovrel::UISTYLE_OFFICE2003;
using tovrel::UISTYLE_OFFICE2007;
using tovrel::UISTYLE_WHIDBEY;

using tovrel::AddMenuItem;
using tovrel::AddMenuSeparator;
using tovrel::AddMenuTitle;
using tovrel::CreateMenuBar;
using tovrel::FreeMenu;
using tovrel::GetMenuBarHeight;
using tovrel::SetMenuImageSize;
using tovrel::SetMenuItemDisabled;

using tovrel::AddToolbarButton;
using tovrel::CreateToolbar;

using tovrel::AddRebarBand;
using tovrel::CreateRebar;
using tovrel::GetRebarHeight;

#endif
