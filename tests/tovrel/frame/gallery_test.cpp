// The gallery window driven with the real mouse: dragging the lower edge of its follow
// band, which has no band below to share height with, makes the whole window taller.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/waits.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/frame/band_hooks.h"
#include "tovrel/frame/parent_window.h"
#include "tovrel/gallery/gallery_window.h"

namespace {

void Pump(DWORD ms) { PumpMessagesFor(ms); }

int WindowHeight(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

TEST(Gallery, DraggingTheFollowBandsLowerEdgeGrowsTheWindow) {
  tovrel_gallery::Gallery gallery = tovrel_gallery::CreateGallery();
  ASSERT_NE(nullptr, gallery.window);
  ASSERT_NE(nullptr, gallery.mainRebar);
  ASSERT_GE(gallery.followBand, 0);
  ShowWindow(gallery.window, SW_SHOWNORMAL);
  SetForegroundWindow(gallery.window);
  Pump(200);
  ASSERT_EQ(gallery.window, GetForegroundWindow());

  RECT band = {};
  ASSERT_TRUE(SendMessageA(gallery.mainRebar, RB_GETRECT, gallery.followBand, reinterpret_cast<LPARAM>(&band)));
  POINT edge = {(band.left + band.right) / 2, band.bottom};
  MapWindowPoints(gallery.mainRebar, HWND_DESKTOP, &edge, 1);
  const int height = WindowHeight(gallery.window);

  SetCursorPos(edge.x, edge.y);
  mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
  Pump(100);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  Pump(100);
  EXPECT_EQ(gallery.followBand, tovrel::DraggedBand) << "the press on the edge starts a drag";
  for (int step = 1; step <= 4; ++step) {
    SetCursorPos(edge.x, edge.y + 10 * step);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Pump(60);
  }
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  Pump(200);

  EXPECT_EQ(-1, tovrel::DraggedBand);
  EXPECT_EQ(height + 40, WindowHeight(gallery.window));
  EXPECT_EQ(0, tovrel::ParentResizing) << "redrawing is on again after the drag";
  RECT after = {};
  SendMessageA(gallery.mainRebar, RB_GETRECT, gallery.followBand, reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(band.bottom - band.top + 40, after.bottom - after.top) << "the band took the height";
  DestroyWindow(gallery.window);
}

}  // namespace
