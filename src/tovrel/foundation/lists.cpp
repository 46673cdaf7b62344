#include "tovrel/foundation/lists.h"

namespace tovrel {

// Constructing an empty list allocates nothing and cannot fail, so the lists are plain
// globals that exist before any toolkit code runs; the toolkit's shutdown frees the
// records in them, never the lists.
ToolkitList<ListIconImage> ListIconImageList;
ToolkitList<PanelExCachedObject> PanelExObjectCache;
ToolkitList<TextControlRecord> TextControlList;
ToolkitList<PanelExPageRecord> PanelExPageList;
ToolkitList<PanelExRecord> PanelExList;
ToolkitList<RebarBand> RebarBandList;
ToolkitList<Rebar> RebarList;
ToolkitList<Toolbar> ToolbarList;
ToolkitList<ToolbarButton> ToolbarButtonList;
ToolkitList<ToolbarToolTip> ToolbarToolTipList;
ToolkitList<MenuItem> MenuItemList;
ToolkitList<Menu> MenuList;
ToolkitList<PopupWindow> PopupWindowList;
ToolkitList<Mnemonic> MnemonicList;
ToolkitList<SubclassEntry> SubclassList;
ToolkitList<ButtonExRecord> ButtonExList;
ToolkitList<SplitterExRecord> SplitterExList;
ToolkitList<ExplorerBarRecord> ExplorerBarList;
ToolkitList<Gradient> GradientList;
ToolkitList<DockedWindow> DockedWindowList;
ToolkitList<DropShadow> DropShadowList;
ToolkitList<MenuShadow> MenuShadowList;
ToolkitList<MenuTitleShadow> MenuTitleShadowList;
ToolkitList<Skin> SkinList;
ToolkitList<HWND> FrozenWindowList;
ToolkitList<SlicedImage> SlicedImageList;

}  // namespace tovrel
