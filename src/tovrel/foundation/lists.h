// The toolkit's record lists: one process-wide list per kind of record, each with a
// current element that the toolkit's operations find, add and walk through.
#ifndef ZK_TOVREL_FOUNDATION_LISTS_H
#define ZK_TOVREL_FOUNDATION_LISTS_H

#include <windows.h>

#include <commctrl.h>

#include <stdint.h>
#include <iterator>
#include <list>
#include <string>
#include <vector>

namespace tovrel {

// An ordered list of records with a current element. Records live in their own nodes,
// so a record's address stays valid until that record is deleted: other records, maps
// and window data may hold it.
template <typename T>
class ToolkitList {
 public:
  ToolkitList() = default;
  ToolkitList(const ToolkitList&) = delete;
  ToolkitList& operator=(const ToolkitList&) = delete;

  // Appends a zeroed record and makes it current.
  T& Add() {
    records_.emplace_back();
    current_ = &records_.back();
    return records_.back();
  }

  // Inserts a zeroed record directly after `record` (first when it is not in the list)
  // and makes it current.
  T& InsertAfter(const T* record) {
    auto at = records_.begin();
    for (auto it = records_.begin(); it != records_.end(); ++it) {
      if (&*it == record) {
        at = std::next(it);
        break;
      }
    }
    current_ = &*records_.emplace(at);
    return *current_;
  }

  // Inserts a zeroed record directly after the first one (first when the list is empty)
  // and makes it current: a new record is found before older ones, the head excepted.
  T& InsertAfterFirst() { return InsertAfter(records_.empty() ? nullptr : &records_.front()); }

  // The current record, or nullptr when there is none.
  T* Current() const { return current_; }

  // Makes the first record that `match` accepts current and returns it. When none
  // matches, nullptr is returned and the current element stays what it was.
  template <typename Match>
  T* Find(Match match) {
    for (T& record : records_) {
      if (match(record)) {
        current_ = &record;
        return current_;
      }
    }
    return nullptr;
  }

  // Removes the record. When it was current, the list has no current element.
  bool Delete(const T* record) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
      if (&*it != record) continue;
      if (current_ == record) current_ = nullptr;
      records_.erase(it);
      return true;
    }
    return false;
  }

  void Clear() {
    records_.clear();
    current_ = nullptr;
  }

  // What a walk saves so that it can give the caller back its current element.
  T* SaveCurrent() const { return current_; }

  // Makes the saved record current again. A record deleted since it was saved is not
  // brought back as a dangling element: the list is then left without a current one.
  void RestoreCurrent(T* saved) { current_ = Contains(saved) ? saved : nullptr; }

  bool Contains(const T* record) const {
    for (const T& r : records_) {
      if (&r == record) return true;
    }
    return false;
  }

  size_t Size() const { return records_.size(); }
  bool Empty() const { return records_.empty(); }

  // Walking does not move the current element.
  typename std::list<T>::iterator begin() { return records_.begin(); }
  typename std::list<T>::iterator end() { return records_.end(); }
  typename std::list<T>::const_iterator begin() const { return records_.begin(); }
  typename std::list<T>::const_iterator end() const { return records_.end(); }

 private:
  std::list<T> records_;
  T* current_ = nullptr;
};

// Saves a list's current element and restores it when the scope ends, also on an early
// return from a walk.
template <typename T>
class SavedCurrent {
 public:
  explicit SavedCurrent(ToolkitList<T>& list) : list_(list), saved_(list.SaveCurrent()) {}
  ~SavedCurrent() { list_.RestoreCurrent(saved_); }
  SavedCurrent(const SavedCurrent&) = delete;
  SavedCurrent& operator=(const SavedCurrent&) = delete;

 private:
  ToolkitList<T>& list_;
  T* saved_;
};

// Records. The fields here are the ones the toolkit's lower layers read; the records
// are completed, together with the code that writes them, by the controls they belong to.

struct ListIconImage {};
struct PanelExCachedObject {};

// A link area recorded by styled-text drawing for the text control being drawn.
struct TextLinkRect {
  int32_t linkId;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct TextControlRecord {
  ToolkitList<TextLinkRect> links;
};

struct PanelExPageRecord {
  HWND window;
  HWND panelWindow;
  HWND hScrollBar;
  int32_t hScrollVisible;
  HWND vScrollBar;
  int32_t vScrollVisible;
  HWND cornerBox;
  int32_t autoScroll;  // the content extent follows the page's children
  int32_t contentRight;
  int32_t contentBottom;
};

struct PanelExRecord {
  HWND window;
  int32_t bufferImage;  // runtime image number of the off-screen paint buffer
  int32_t alphaImage;   // runtime image number of the buffer for translucent pages
};

// One band of a toolkit rebar. The band's lParam is the record's address.
struct RebarBand {
  HWND parentWindow;  // the rebar's parent
  HWND rebarWindow;
  HWND childWindow;
  int32_t bandId;  // the band's wID; ids are never reused within a rebar
  // A follow band's own cyMinChild while it takes the height of the fill band in its
  // row (0: none), and the space kept free below a fill band, measured once.
  int32_t savedOwnMinChild;
  int32_t savedFillOffset;
  HBITMAP backgroundBitmap;  // the band's own background; nullptr: none
  bool visible;              // false while hidden by ShowRebarBand
};

struct Rebar {
  intptr_t number;
  HWND window;
  HWND parentWindow;
  REBARBANDINFOA bandTemplate;  // reused by every band insertion
  HBITMAP backgroundBitmap;     // given to bands that bring none; nullptr: none
  HBITMAP backgroundImage;      // CreateRebar's background argument; nullptr: none
  int32_t uiStyle;              // 0, UISTYLE_OFFICE2003 or UISTYLE_OFFICE2007
  WNDPROC heightCallback;       // gets WM_TOVREL_REBARHEIGHT before the owners; nullptr: none
  int32_t nextBandId;
  bool bandBorders;  // RBS_BANDBORDERS is held back because the rebar has a background
  bool option;       // CreateRebar's fifth argument was non-zero
  bool applied;      // the parent window procedure has applied the option once
};

struct Toolbar {
  intptr_t number;
  HWND window;
  HWND parentWindow;  // subclassed with the parent window procedure
  int32_t flags;      // the creation flags with TBSTYLE_TOOLTIPS added
  // Image i of each list belongs to the button at index i. nullptr: made without images.
  HIMAGELIST normalImages;
  HIMAGELIST hotImages;
  HIMAGELIST disabledImages;
  int32_t buttonHeight;  // 0 until a button operation sets it
  int32_t uiStyle;       // 0, UISTYLE_OFFICE2003, UISTYLE_OFFICE2007 or 0x4000000
  bool menuBarFlag;      // set by CreateMenuBar
  int32_t rows;          // button rows last applied to the tool bar's band; 1 at creation
};

// Images of separators and gadget placeholders.
inline HANDLE NoButtonImage() { return INVALID_HANDLE_VALUE; }

// One button, separator or gadget placeholder. TBBUTTON.dwData is the record's address.
struct ToolbarButton {
  int32_t commandId;
  intptr_t toolbarNumber;
  HWND toolbarWindow;
  Toolbar* toolbar;
  // As given by the caller, who keeps them; NoButtonImage() for separators and gadgets.
  HANDLE image;
  HANDLE hotImage;
  HANDLE disabledImage;
  bool generated;            // the disabled image was derived from the image
  int32_t generatedStyle;    // the UI style it was derived for; 0 when not generated
  std::string text;          // as given, styled-text markup included
  int32_t separator;         // 1 for a separator
  HWND gadgetWindow;         // the control placed over the button; nullptr: none
  uint8_t gadgetFrame;       // non-zero: the toolkit keeps the hover state and frames the gadget
  int32_t gadgetHoverState;  // bit 0 pointer over, bit 1 list open
  int32_t paddingLeft;
  int32_t paddingTop;
  int32_t paddingRight;
  int32_t paddingBottom;
};

// The tooltip text of a command id, for every tool bar together.
struct ToolbarToolTip {
  int32_t commandId;
  std::string text;
  // The copy a tooltip notification points at; made anew on every request.
  std::vector<char> buffer;
};
struct Menu;

// Menu::linkedDropDown: the menu button opens the record's own menu, or nothing (the menu
// named at creation was unknown); any other value is the record of the menu it opens.
inline Menu* MenuLinkOwn() { return nullptr; }
inline Menu* MenuLinkNone() { return reinterpret_cast<Menu*>(~uintptr_t{0}); }
// Menu::barWindow of a popup, and Menu::menuHandle of a menu bar's placeholder.
inline HWND MenuNoBar() { return reinterpret_cast<HWND>(~uintptr_t{0}); }
inline HMENU MenuPlaceholderHandle() { return reinterpret_cast<HMENU>(~uintptr_t{0}); }

// A menu bar's placeholder, one of its titles, a popup, or a tool-bar menu button.
struct Menu {
  intptr_t number;       // all titles of one bar share the bar's number
  HWND ownerWindow;      // receives the commands; nullptr for popups
  HWND barWindow;        // the menu bar's or menu button's tool bar; MenuNoBar() for popups
  HMENU menuHandle;      // the popup or drop-down; MenuPlaceholderHandle() for the placeholder
  int32_t titleCommand;  // the title's or menu button's command id; -1 for popups
  // -1 for popups and menu buttons, 0 for the records of a menu bar.
  int8_t popupFlag;
  Menu* linkedDropDown;  // menu buttons; MenuLinkOwn() for every other record
  int8_t inactiveFlag;   // -1 while the owner window is inactive
  int8_t openFlag;       // -1 while the menu's drop-down is open
  int32_t uiStyle;       // 0-5, 6 (OFFICE2003 as menus store it) or UISTYLE_OFFICE2007
  int32_t shownWidth;    // measured when last shown
  int32_t shownHeight;
  int8_t contextFlag;  // 1 while the toolkit placed this menu's popup itself
  // The cached background of the drop-down; usable while its size is the shown size.
  HDC backgroundDC;
  HBITMAP backgroundBitmap;
  int32_t backgroundWidth;  // 0 with the height: invalid
  int32_t backgroundHeight;
};

// One owner-drawn item; the item's data is the record's address.
struct MenuItem {
  Menu* menu;
  HMENU menuHandle;
  std::string text;         // empty: a separator
  int32_t position;         // in its system menu
  int8_t normalImageGiven;  // -1 when that image of the caller's own is in the list
  int8_t hotImageGiven;
  int8_t disabledImageGiven;
  int32_t uiStyle;       // the style the generated disabled image was made for
  HIMAGELIST imageList;  // 0 normal, 1 hot, 2 disabled; nullptr: no image
  int32_t imageHeight;
  int32_t imageWidth;
  int8_t imageCheckMark;  // 1: the image is drawn as the check mark
  int8_t radioFlag;
  int32_t radioGroup;
  int32_t kind;  // 0 item or separator; -1 down arrow, -2 up arrow, -3 filler
};
// One open "#32768" popup window of a toolkit menu; the window's GWLP_USERDATA is the
// record's address. Submenus chain to the popup they opened from.
struct PopupWindow {
  Menu* menu;              // the toolkit menu shown
  int32_t savedStyle;      // the menu's own style while it shows the top popup's; -1: none
  int32_t previousPopupX;  // LastPopupX before this popup was placed
  HMENU menuHandle;        // the submenu shown; nullptr for the top-level popup
  PopupWindow* parent;     // nullptr for the top-level popup
  HWND window;
  int32_t positionChanges;
  // The shadow strips the placement made for this popup and what they cover.
  HWND bottomStrip;
  HWND hiddenParentStrip;  // a strip of the parent hidden while this popup is open
  int32_t bottomStripKind;
  int32_t bottomStripX;
  int32_t bottomStripY;
  int32_t bottomStripLength;
  HWND extraStrip;  // destroyed when the popup closes
  int32_t joiningStripX;
  int32_t joiningStripY;
  int32_t joiningStripLength;
  HWND joiningStrip;
  int32_t savedSelectedPosition;  // LastHotItemTop when the popup opened
  bool placed;                    // the placing position change was seen
};
// A mnemonic of the scrolling copy of a drop-down: the upper-case letter after "&".
struct Mnemonic {
  char character;
  int32_t commandId;
};
// A window whose procedure the toolkit's parent window procedure replaced; one per window.
struct SubclassEntry {
  HWND window;
  WNDPROC newProc;
  WNDPROC previousProc;
};
struct ButtonExRecord {};
struct SplitterExRecord {};
struct ExplorerBarRecord {};
struct Gradient {};

struct DockedWindow {
  HWND window;
  int32_t dockFlags;  // bit 0 bottom, bit 1 left, bit 2 right; none of them: top
};

// A layered shadow window; its GWLP_USERDATA is the record's address.
struct DropShadow {
  HWND window;
  HDC memoryDC;
  HBITMAP bitmap;  // the shadow image, selected into memoryDC
};
// The shadows of one open popup window.
struct MenuShadow {
  HWND rightStrip;
  HWND bottomStrip;
  HWND joiningStrip;  // nullptr: none
  HWND popupWindow;
};
// The shadows of a pressed menu-bar title; the bar and the title's client position name it.
struct MenuTitleShadow {
  HWND rightShadow;
  HWND bottomShadow;
  HWND barWindow;
  int32_t titleLeft;
  int32_t titleTop;
};
struct Skin {};
struct SlicedImage {};

// The lists. Each is guarded by the mutex its records belong to (toolkit_lock.h); tool
// bar, tool-bar button and rebar records are only touched on the GUI thread.
extern ToolkitList<ListIconImage> ListIconImageList;
extern ToolkitList<PanelExCachedObject> PanelExObjectCache;
extern ToolkitList<TextControlRecord> TextControlList;
extern ToolkitList<PanelExPageRecord> PanelExPageList;
extern ToolkitList<PanelExRecord> PanelExList;
extern ToolkitList<RebarBand> RebarBandList;
extern ToolkitList<Rebar> RebarList;
extern ToolkitList<Toolbar> ToolbarList;
extern ToolkitList<ToolbarButton> ToolbarButtonList;
extern ToolkitList<ToolbarToolTip> ToolbarToolTipList;
extern ToolkitList<MenuItem> MenuItemList;
extern ToolkitList<Menu> MenuList;
extern ToolkitList<PopupWindow> PopupWindowList;
extern ToolkitList<Mnemonic> MnemonicList;
extern ToolkitList<SubclassEntry> SubclassList;
extern ToolkitList<ButtonExRecord> ButtonExList;
extern ToolkitList<SplitterExRecord> SplitterExList;
extern ToolkitList<ExplorerBarRecord> ExplorerBarList;
extern ToolkitList<Gradient> GradientList;
extern ToolkitList<DockedWindow> DockedWindowList;
extern ToolkitList<DropShadow> DropShadowList;
extern ToolkitList<MenuShadow> MenuShadowList;
extern ToolkitList<MenuTitleShadow> MenuTitleShadowList;
extern ToolkitList<Skin> SkinList;
extern ToolkitList<HWND> FrozenWindowList;
extern ToolkitList<SlicedImage> SlicedImageList;

}  // namespace tovrel

#endif
