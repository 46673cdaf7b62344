// ExBar: the task pane at the left edge of the main window.
//
// A pane is a column of collapsible groups, each with a title band, an optional 32x32
// icon and a list of clickable items, drawn with GDI in fixed colours. It is made of two
// runtime controls in the current control list: an image control used as the drawing
// surface and a vertical scroll bar at its right edge, shown only while the groups are
// taller than the pane. Public operations name a pane by its surface's control number;
// group and item positions in arguments are 0-based.
//
// Clicking an item posts WM_EXBAR_CLICK to the surface: wParam = 1-based group number,
// lParam = address of the shared ExBarClickInfo (overwritten by the next click). The
// runtime's WaitWindowEvent surfaces it as an event of that number.
//
// Everything here belongs to the GUI thread; nothing is locked.
#ifndef ZK_APP_EXBAR_EXBAR_H
#define ZK_APP_EXBAR_EXBAR_H

#include <windows.h>

#include <stdint.h>
#include <string>

#include "app/exbar/linkedlist.h"

constexpr UINT WM_EXBAR_CLICK = WM_USER + 1;

constexpr uint8_t kExBarHoverNormal = 1;
constexpr uint8_t kExBarHoverHot = 2;

// Group kinds 1 and 2 are drawn alike, with chevrons, a body fill and a white title; a
// group of any other kind gets none of these (its title keeps the last text colour).
constexpr int kExBarGroupKind = 1;

// Image values of groups and items: 0 or less is none; a runtime image number is that
// image; any other positive value is taken as an icon handle.

struct ExBar {
  LinkedListElement element;
  int32_t surfaceNumber;
  HWND surface;  // the key by which a pane is found
  int32_t width;
  int32_t height;
  int32_t scrollNumber;
  uint8_t scrollVisible;
  LinkedListElement* groups;  // of ExBarGroup
  HCURSOR cursor;             // shown over the surface, chosen by the last pointer move
};

struct ExBarGroup {
  LinkedListElement element;
  RECT header;  // content coordinates, rewritten at every paint, used for hit testing
  int8_t kind;
  uint8_t collapsed;
  uint8_t hover;
  char* title;
  intptr_t image;
  LinkedListElement* items;  // of ExBarItem
};

struct ExBarItem {
  LinkedListElement element;
  RECT rect;  // hit area in content coordinates, rewritten at every paint
  char* text;
  intptr_t image;
  uint8_t hover;
};

struct ExBarClickInfo {
  int16_t group;  // 1-based
  int16_t item;   // 1-based
  std::string text;
};

// Once at start-up, before any pane exists: opens the theme library, creates the pane
// list and the fonts. Later calls do nothing.
void InitExBar();
// Creates a pane in the current control list. `number` is the surface's control number
// or -1 for a new one; a new surface is made 200 pixels taller than the pane, of which
// only the pane's height is ever drawn. Returns the surface's number; 0 on failure.
int CreateExBar(int number, int x, int y, int width, int height);
// Appends a group; returns its 1-based number (the group count), 0 on failure.
int AddExBarGroup(int pane, const std::string& title, int collapsed, intptr_t image, int kind);
// Appends an item to a group; 1, or 0 when the pane or group does not exist.
int AddExBarItem(int pane, int group, const std::string& text, intptr_t image);
// Removes a group with its items; 1, or 0 when there is no such group. No repaint.
int DeleteExBarGroup(int pane, int group);
// Moves the pane to `y` with a new height; a call with the stored height does nothing,
// whatever the y. 1 for a pane, 0 otherwise.
int ResizeExBar(int pane, int y, int height);
// Wheel steps of the calling thread's current event (a WM_MOUSEWHEEL wParam): positive
// scrolls down.
int16_t GetExBarWheelSteps();

// Lookups behind the public operations.
ExBar* FindExBar(HWND surface);
ExBarGroup* FindExBarGroup(HWND surface, int group);
ExBar* FindExBarByScrollBar(HWND scrollBar);
// The shared record that WM_EXBAR_CLICK points to.
const ExBarClickInfo& ExBarClickRecord();

// Draws the whole pane into `dc` in content coordinates, lays out the hit rectangles,
// shows or hides the scroll bar, and returns the content height.
int LayoutExBar(HWND surface, HDC dc);
// Copies w x h of `bitmap` to (x, y) of `dc`, leaving the destination unchanged where the
// bitmap has the key colour.
void DrawExBarMaskedBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, COLORREF key);

#endif
