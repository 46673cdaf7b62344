// The menu bar: a flat tool bar with one drop-down button per title, each title owning a
// standard popup menu. A click on a title opens its popup below the button; the chosen
// item reaches the owner window as WM_COMMAND with the item's id (lParam 0), which the
// runtime turns into a menu event.
#include <windows.h>
#include <commctrl.h>

#include <stdint.h>
#include <algorithm>
#include <string>
#include <vector>

#include "common/scoped.h"
#include "common/text.h"
#include "tovrel/foundation/component_frees.h"
#include "tovrel/internal.h"
#include "tovrel/tovrel.h"

namespace tovrel {
namespace {

constexpr UINT_PTR kOwnerSubclassId = 0x7E1;

struct TitleRec {
  int command = 0;                // id of the title's button on the bar
  HMENU menu = nullptr;           // its drop-down
  std::vector<HBITMAP> pictures;  // item pictures, freed with the menu
};

struct MenuBarRec {
  HWND owner = nullptr;  // receives the commands
  HWND bar = nullptr;
  int toolbar = -1;  // the bar's number among the tool bars
  int uiStyle = 0;   // kept for the styled drawing
  std::vector<TitleRec> titles;
};

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

void ReleaseMenuBar(MenuBarRec& m);

Registry<MenuBarRec>& Menus() {
  // Never destroyed, like the tool bars' registry.
  static auto* registry = new Registry<MenuBarRec>(ReleaseMenuBar);
  return *registry;
}

int BarOfWindow(HWND w) {
  if (!w) return -1;
  return Menus().FindIf([&](MenuBarRec& m) { return m.bar == w; });
}

// A menu reference: a bar's number, its window or one of its titles' menus.
int FindMenuBar(intptr_t ref) {
  return Menus().Find(ref, [&](MenuBarRec& m) {
    if (reinterpret_cast<intptr_t>(m.bar) == ref) return true;
    for (const TitleRec& t : m.titles)
      if (reinterpret_cast<intptr_t>(t.menu) == ref) return true;
    return false;
  });
}

void ReleaseMenuBar(MenuBarRec& m) {
  for (TitleRec& t : m.titles) {
    // A submenu belongs to whoever made it: take it out before the drop-down goes, as
    // DestroyMenu would destroy it too.
    for (int i = GetMenuItemCount(t.menu) - 1; i >= 0; --i)
      if (GetSubMenu(t.menu, i)) RemoveMenu(t.menu, i, MF_BYPOSITION);
    DestroyMenu(t.menu);
    for (HBITMAP b : t.pictures) DeleteObject(b);
  }
  if (m.toolbar >= 0) FreeToolbar(m.toolbar);
  // The record is out of the registry already: any bar left on the owner still needs
  // the subclass.
  HWND owner = m.owner;
  if (IsWindow(owner) && Menus().FindIf([&](MenuBarRec& other) { return other.owner == owner; }) < 0)
    RemoveWindowSubclass(owner, OwnerProc, kOwnerSubclassId);
}

bool AnyMenuHolds(int id) {
  for (int n : Menus().Numbers()) {
    bool held = false;
    Menus().With(n, [&](MenuBarRec& m) {
      for (const TitleRec& t : m.titles)
        if (t.command == id || GetMenuState(t.menu, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1))
          held = true;
    });
    if (held) return true;
  }
  return false;
}

// Sizes a bar that no rebar holds yet to its buttons, so that its height can be asked
// before it is placed.
void FitBar(HWND bar) {
  if (!bar) return;
  int count = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
  RECT last = {};
  if (count <= 0 || !SendMessageW(bar, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last))) return;
  wchar_t cls[64];
  HWND parent = GetParent(bar);
  if (parent && GetClassNameW(parent, cls, 64) && lstrcmpiW(cls, REBARCLASSNAMEW) == 0) return;
  int height = static_cast<short>(HIWORD(SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0)));
  SetWindowPos(bar, nullptr, 0, 0, last.right, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The text after the first "$" is the shortcut; a tab shows it right-aligned.
std::string ItemText(std::string text) {
  size_t dollar = text.find('$');
  if (dollar != std::string::npos) text[dollar] = '\t';
  return text;
}

bool Render(HDC dc, HBITMAP target, HANDLE image, int w, int h, int stockBrush) {
  ScopedSelect selectTarget(dc, target);
  RECT r = {0, 0, w, h};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(stockBrush)));
  bool ok = false;
  BITMAP bm = {};
  if (GetObjectType(image) == OBJ_BITMAP) {
    if (GetObjectW(image, sizeof(bm), &bm)) {
      ScopedMemoryDc src(CreateCompatibleDC(dc));
      ScopedSelect selectImage(src.get(), image);
      SetStretchBltMode(dc, HALFTONE);
      ok = StretchBlt(dc, 0, 0, w, h, src.get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY) != 0;
    }
  } else {
    ok = DrawIconEx(dc, 0, 0, static_cast<HICON>(image), w, h, 0, nullptr, DI_NORMAL) != 0;
  }
  return ok;
}

// The image as a w x h 32-bit bitmap with premultiplied alpha, ready for blending.
// Drawn once on black and once on white: what the white shows through is the
// transparency, whatever kind of icon (alpha or mask) it is.
HBITMAP MakePicture(HANDLE image, int w, int h) {
  if (!image || w <= 0 || h <= 0 || w > 256 || h > 256) return nullptr;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* blackBits = nullptr;
  void* whiteBits = nullptr;
  ScopedBitmap onBlack(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &blackBits, nullptr, 0));
  ScopedBitmap onWhite(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &whiteBits, nullptr, 0));
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  bool ok = onBlack && onWhite && dc && Render(dc.get(), onBlack.get(), image, w, h, BLACK_BRUSH) &&
            Render(dc.get(), onWhite.get(), image, w, h, WHITE_BRUSH);
  if (ok) {
    GdiFlush();
    uint32_t* black = static_cast<uint32_t*>(blackBits);
    const uint32_t* white = static_cast<const uint32_t*>(whiteBits);
    for (int i = 0; i < w * h; ++i) {
      int shown = static_cast<int>((white[i] >> 8) & 0xFF) - static_cast<int>((black[i] >> 8) & 0xFF);
      uint32_t alpha = static_cast<uint32_t>(255 - (shown < 0 ? 0 : shown > 255 ? 255 : shown));
      uint32_t px = black[i] & 0xFFFFFF;
      // Premultiplied colour never exceeds its alpha.
      uint32_t b = std::min<uint32_t>(px & 0xFF, alpha), g = std::min<uint32_t>((px >> 8) & 0xFF, alpha),
               r = std::min<uint32_t>((px >> 16) & 0xFF, alpha);
      black[i] = b | (g << 8) | (r << 16) | (alpha << 24);
    }
  }
  return ok ? onBlack.release() : nullptr;
}

// Whether `data` is an item picture of one of the menus: only those are drawn here.
bool IsPicture(ULONG_PTR data) {
  if (!data) return false;
  HBITMAP picture = reinterpret_cast<HBITMAP>(data);
  return Menus().FindIf([&](MenuBarRec& m) {
    for (const TitleRec& t : m.titles)
      if (std::find(t.pictures.begin(), t.pictures.end(), picture) != t.pictures.end()) return true;
    return false;
  }) >= 0;
}

// Blends the picture into the item's picture box, paler for a greyed item. The menu
// itself would copy the bitmap as it is, transparent pixels black.
void DrawPicture(const DRAWITEMSTRUCT& d) {
  HBITMAP picture = reinterpret_cast<HBITMAP>(d.itemData);
  BITMAP bm = {};
  if (!GetObjectW(picture, sizeof(bm), &bm)) return;
  UINT state = GetMenuState(reinterpret_cast<HMENU>(d.hwndItem), d.itemID, MF_BYCOMMAND);
  bool greyed = state != static_cast<UINT>(-1) && (state & MF_GRAYED);
  ScopedMemoryDc mem(CreateCompatibleDC(d.hDC));
  ScopedSelect select(mem.get(), picture);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(greyed ? 96 : 255), AC_SRC_ALPHA};
  int x = d.rcItem.left + (d.rcItem.right - d.rcItem.left - bm.bmWidth) / 2;
  int y = d.rcItem.top + (d.rcItem.bottom - d.rcItem.top - bm.bmHeight) / 2;
  GdiAlphaBlend(d.hDC, x, y, bm.bmWidth, bm.bmHeight, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight, blend);
}

void OpenDropDown(HWND bar, int command) {
  HWND owner = nullptr;
  HMENU menu = nullptr;
  Menus().With(BarOfWindow(bar), [&](MenuBarRec& m) {
    owner = m.owner;
    for (const TitleRec& t : m.titles)
      if (t.command == command) menu = t.menu;
  });
  RECT r = {};
  if (!menu || !SendMessageW(bar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&r))) return;
  MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
  TPMPARAMS keepClear = {sizeof(keepClear), r};
  SendMessageW(bar, TB_PRESSBUTTON, static_cast<WPARAM>(command), TRUE);
  // No TPM_RETURNCMD: the menu itself posts WM_COMMAND with the chosen id, also for id
  // 0, which TPM_RETURNCMD could not tell from "nothing chosen".
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, r.left, r.bottom, owner,
                   &keepClear);
  if (IsWindow(bar)) SendMessageW(bar, TB_PRESSBUTTON, static_cast<WPARAM>(command), FALSE);
}

// Subclass of every window that owns a menu bar: the bar reports its title clicks here,
// and the drop-downs ask it to measure and draw the item pictures.
LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  switch (m) {
    case WM_NOTIFY: {
      const NMHDR* h = reinterpret_cast<const NMHDR*>(lp);
      if (h->code == static_cast<UINT>(TBN_DROPDOWN) && BarOfWindow(h->hwndFrom) >= 0) {
        OpenDropDown(h->hwndFrom, reinterpret_cast<const NMTOOLBARW*>(lp)->iItem);
        return TBDDRET_DEFAULT;
      }
      break;
    }
    case WM_MEASUREITEM: {
      MEASUREITEMSTRUCT* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      BITMAP bm = {};
      if (mi->CtlType == ODT_MENU && IsPicture(mi->itemData) &&
          GetObjectW(reinterpret_cast<HBITMAP>(mi->itemData), sizeof(bm), &bm)) {
        mi->itemWidth = static_cast<UINT>(bm.bmWidth);
        mi->itemHeight = static_cast<UINT>(bm.bmHeight);
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di->CtlType == ODT_MENU && IsPicture(di->itemData)) {
        DrawPicture(*di);
        return TRUE;
      }
      break;
    }
    case WM_COMMAND:
      // A title is no command: its id must not reach the program as a menu event.
      if (lp && BarOfWindow(reinterpret_cast<HWND>(lp)) >= 0) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, OwnerProc, kOwnerSubclassId);
      break;
  }
  return DefSubclassProc(w, m, wp, lp);
}

// The drop-down that items go to: that of the current bar's last title.
HMENU CurrentDropDown() {
  HMENU menu = nullptr;
  Menus().With(State().currentMenu, [&](MenuBarRec& m) {
    if (!m.titles.empty()) menu = m.titles.back().menu;
  });
  return menu;
}

}  // namespace
}  // namespace tovrel

using tovrel::MenuBarRec;
using tovrel::Menus;
using tovrel::State;
using tovrel::TitleRec;

int SetMenuImageSize(int width, int height) {
  State().menuImageWidth = width;
  State().menuImageHeight = height;
  return 0;
}

intptr_t CreateMenuBar(int number, HWND window, int uiStyle) {
  if (!Menus().CanTake(number) || !IsWindow(window)) return 0;
  tovrel::SetComponentFree(tovrel::COMPONENT_MENU, FreeMenu);
  // No wrapping: the titles stay on one row, and the bar's height is one button's.
  int flags = TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
  intptr_t toolbar = tovrel::MakeToolbar(kAnyNumber, window, 0, 0, flags, false);
  if (!toolbar) return 0;
  HWND bar = tovrel::GetToolbarWindow(static_cast<int>(toolbar));
  // Without drop-down arrows a drop-down button reports TBN_DROPDOWN wherever it is
  // clicked, as a menu title should.
  SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0, 0);
  MenuBarRec rec;
  rec.owner = window;
  rec.bar = bar;
  rec.toolbar = static_cast<int>(toolbar);
  rec.uiStyle = uiStyle;
  int used = 0;
  if (!Menus().Add(number, std::move(rec), &used)) return 0;
  SetWindowSubclass(window, tovrel::OwnerProc, tovrel::kOwnerSubclassId, 0);
  State().currentMenu = used;
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(bar));
}

int AddMenuTitle(const std::string& text) {
  int current = State().currentMenu;
  int toolbar = -1;
  HWND bar = nullptr;
  if (!Menus().With(current, [&](MenuBarRec& m) {
        toolbar = m.toolbar;
        bar = m.bar;
      }))
    return 0;
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  int command = tovrel::AddButtonTo(toolbar, kAnyNumber, text, nullptr, BTNS_DROPDOWN | BTNS_AUTOSIZE);
  if (!command) {
    DestroyMenu(menu);
    return 0;
  }
  TitleRec title;
  title.command = command;
  title.menu = menu;
  Menus().With(current, [&](MenuBarRec& m) { m.titles.push_back(title); });
  tovrel::FitBar(bar);
  return 0;
}

int AddMenuItem(int commandId, const std::string& text, HANDLE image, HANDLE hotImage, HANDLE disabledImage,
                intptr_t submenu) {
  // Hot and disabled pictures belong to the styled menus; here a greyed item's picture
  // is drawn paler. The id travels in the low word of WM_COMMAND.
  if (commandId < kAnyNumber || commandId > 0xFFFF) return 0;
  HMENU menu = tovrel::CurrentDropDown();
  if (!menu) return 0;
  HMENU sub = reinterpret_cast<HMENU>(submenu);
  if (sub && !IsMenu(sub)) return 0;
  int id = commandId;
  if (id == kAnyNumber) {
    do id = tovrel::AllocateCommandId();
    while (tovrel::AnyMenuHolds(id));
  }
  std::wstring wide = AnsiToWide(tovrel::ItemText(text));
  MENUITEMINFOW mi = {};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
  mi.fType = MFT_STRING;
  mi.wID = static_cast<UINT>(id);
  mi.dwTypeData = &wide[0];
  if (sub) {
    mi.fMask |= MIIM_SUBMENU;
    mi.hSubMenu = sub;
  }
  ScopedBitmap picture(tovrel::MakePicture(image, State().menuImageWidth, State().menuImageHeight));
  if (picture) {
    // The owner draws it (OwnerProc), so that its transparency shows.
    mi.fMask |= MIIM_BITMAP | MIIM_DATA;
    mi.hbmpItem = HBMMENU_CALLBACK;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(picture.get());
  }
  if (!InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mi)) return 0;
  // The menu's record owns it from here.
  if (HBITMAP owned = picture.release())
    Menus().With(State().currentMenu, [&](MenuBarRec& m) { m.titles.back().pictures.push_back(owned); });
  return commandId == kAnyNumber ? id : 1;
}

int AddMenuSeparator() {
  HMENU menu = tovrel::CurrentDropDown();
  if (menu) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  return 0;
}

int GetMenuBarHeight(intptr_t menu) {
  HWND bar = nullptr;
  Menus().With(tovrel::FindMenuBar(menu), [&](MenuBarRec& m) { bar = m.bar; });
  RECT r = {};
  if (!bar || !GetClientRect(bar, &r)) return 0;
  return r.bottom;
}

int SetMenuItemDisabled(intptr_t menu, int commandId, int state) {
  if (commandId < 0 || commandId > 0xFFFF) return 0;
  UINT id = static_cast<UINT>(commandId);
  int result = 0;
  Menus().With(tovrel::FindMenuBar(menu), [&](MenuBarRec& m) {
    for (const TitleRec& t : m.titles) {
      if (GetMenuState(t.menu, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
      UINT how = MF_BYCOMMAND | (state ? MF_GRAYED | MF_DISABLED : MF_ENABLED);
      result = EnableMenuItem(t.menu, id, how) != -1 ? 1 : 0;
      return;
    }
  });
  return result;
}

int FreeMenu(intptr_t menu) {
  if (menu == kAnyNumber) {
    Menus().FreeAll();
    State().currentMenu = kAnyNumber;
    return 1;
  }
  int n = tovrel::FindMenuBar(menu);
  if (n < 0 || !Menus().Free(n)) return 0;
  if (State().currentMenu == n) State().currentMenu = kAnyNumber;
  return 1;
}
