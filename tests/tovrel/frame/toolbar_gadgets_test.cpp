// Controls placed on tool bars: where they sit over their placeholders while buttons come
// and go, what they become when their placeholder or tool bar goes, and the hover bit the
// toolkit keeps for framed ones.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>

#include "toolbar_test_support.h"
#include "tovrel/foundation/lists.h"
#include "tovrel/frame/toolbar.h"

using namespace tovrel;

namespace {

RECT ItemRect(HWND toolbar, int commandId) {
  RECT r = {};
  const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, commandId, 0);
  SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT RectIn(HWND window, HWND parent) {
  RECT r = {};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

ToolbarButton* GadgetRecord(HWND gadget) {
  for (ToolbarButton& b : ToolbarButtonList) {
    if (b.gadgetWindow == gadget) return &b;
  }
  return nullptr;
}

class ToolbarGadgetTest : public ToolbarTest {
 protected:
  HWND Combo(int width) {
    return CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, width, 200, host_,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  }
};

}  // namespace

TEST_F(ToolbarGadgetTest, AGadgetSitsOverItsPlaceholderInsetByItsPaddings) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(70, host_, 16, 16, 0));
  ASSERT_EQ(1, AddToolbarButton(1, "", Icon(0xFF), nullptr, nullptr, 0));
  HWND combo = Combo(120);
  const int id = AddToolbarGadget(-1, combo, 3, 1, 5, 2, 1);
  ASSERT_NE(0, id);
  EXPECT_EQ(combo, GetToolbarGadget(70, id));
  EXPECT_EQ(combo, GetToolbarGadget(reinterpret_cast<intptr_t>(w), id));
  EXPECT_EQ(nullptr, GetToolbarGadget(70, 1));
  EXPECT_EQ(w, GetParent(combo));
  EXPECT_TRUE(IsWindowVisible(combo) || !IsWindowVisible(w));
  EXPECT_EQ(120 + 3 + 5, GetToolbarButtonWidth(70, id));
  const ToolbarButton* record = GadgetRecord(combo);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(NoButtonImage(), record->image);
  EXPECT_EQ(1, record->gadgetFrame);
  EXPECT_EQ(0, SendMessageA(w, TB_ISBUTTONENABLED, id, 0));

  // Wherever the placeholder goes and whatever width it takes, the control follows.
  struct Step {
    const char* what;
    std::function<int()> run;
    int width;
  } steps[] = {
      {"added", [] { return 1; }, 120},
      {"a button before it", [&] { return InsertToolbarButton(70, 0, 2, "", Icon(0xFF00), nullptr, nullptr, 0); }, 120},
      {"a separator before it", [] { return InsertToolbarSeparator(70, 1); }, 120},
      {"wider", [&] { return SetToolbarButtonWidth(70, id, 150); }, 150},
      {"the first button gone", [] { return RemoveToolbarButton(70, 0, 1); }, 150},
      {"taller buttons", [] { return SetToolbarButtonHeight(70, 30); }, 150},
  };
  for (const Step& s : steps) {
    ASSERT_NE(0, s.run()) << s.what;
    const RECT item = ItemRect(w, id);
    const RECT at = RectIn(combo, w);
    EXPECT_EQ(item.left + 3, at.left) << s.what;
    EXPECT_EQ(item.top + 1, at.top) << s.what;
    EXPECT_EQ(s.width, at.right - at.left) << s.what;
    EXPECT_EQ(s.width + 8, GetToolbarButtonWidth(70, id)) << s.what;
    // The selection field fits the placeholder, less the bottom padding.
    EXPECT_EQ(item.bottom - item.top - 2, at.bottom - at.top) << s.what;
  }

  // Hidden and shown with its button; given back to its window when the placeholder goes.
  EXPECT_EQ(1, HideToolbarButton(70, id, 1));
  EXPECT_FALSE(GetWindowLongPtrA(combo, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(1, HideToolbarButton(70, id, 0));
  EXPECT_TRUE(GetWindowLongPtrA(combo, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(1, RemoveToolbarButton(70, id, 0));
  EXPECT_TRUE(IsWindow(combo));
  EXPECT_EQ(host_, GetParent(combo));
  EXPECT_FALSE(GetWindowLongPtrA(combo, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(nullptr, GadgetRecord(combo));
  DestroyWindow(combo);
}

TEST_F(ToolbarGadgetTest, AComboBoxFitsAPlaceholderOfTheButtonHeight) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(71, host_, 16, 16, 0));
  ASSERT_EQ(1, AddToolbarButton(1, "", Icon(0xFF), nullptr, nullptr, 0));
  ASSERT_EQ(1, SetToolbarButtonHeight(71, 22));
  HWND combo = Combo(100);
  const int id = AddToolbarGadget(-1, combo, 0, 0, 0, 0, 0);
  ASSERT_NE(0, id);
  const RECT item = ItemRect(w, id);
  ASSERT_EQ(22, item.bottom - item.top);
  RECT shown = {};
  GetWindowRect(combo, &shown);
  EXPECT_EQ(22, shown.bottom - shown.top);
  // Wine answers the selection field's height with the 2 pixels it adds to what it was
  // given (16).
  EXPECT_EQ(18, SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  DestroyWindow(combo);
}

TEST_F(ToolbarGadgetTest, RefusedGadgetsLeaveTheToolbarAsItWas) {
  HWND w = reinterpret_cast<HWND>(CreateToolbar(72, host_, 16, 16, 0));
  ASSERT_EQ(80, AddToolbarTextButton(80, "a", 0));
  HWND combo = Combo(80);
  HWND gone = Combo(80);
  DestroyWindow(gone);
  EXPECT_EQ(0, AddToolbarGadget(-1, gone, 0, 0, 0, 0, 0));
  EXPECT_EQ(0, AddToolbarGadget(80, combo, 0, 0, 0, 0, 0));
  EXPECT_EQ(0, InsertToolbarComboBox(4242, 0, -1, combo, 0, 0, 0, 0, 0));
  EXPECT_EQ(1, SendMessageA(w, TB_BUTTONCOUNT, 0, 0));
  EXPECT_EQ(host_, GetParent(combo));
  // Inserted at the front, then handed back with the freed tool bar, hidden.
  const int id = InsertToolbarComboBox(72, 0, -1, combo, 0, 0, 0, 0, 1);
  ASSERT_NE(0, id);
  EXPECT_EQ(0, SendMessageA(w, TB_COMMANDTOINDEX, id, 0));
  EXPECT_EQ(1, FreeToolbar(72));
  EXPECT_TRUE(IsWindow(combo));
  EXPECT_EQ(host_, GetParent(combo));
  EXPECT_FALSE(GetWindowLongPtrA(combo, GWL_STYLE) & WS_VISIBLE);
  DestroyWindow(combo);
}

// The pointer over a framed gadget sets its hover bit and asks for the leave message
// (which the system refuses with a 32-bit structure size); leaving clears the bit.
TEST_F(ToolbarGadgetTest, HoverBitFollowsThePointer) {
  SetWindowPos(host_, HWND_TOP, 0, 0, 500, 200, SWP_SHOWWINDOW);
  SetForegroundWindow(host_);
  CreateToolbar(73, host_, 16, 16, 0);
  HWND combo = Combo(100);
  HWND plain = Combo(100);
  const int framed = AddToolbarGadget(-1, combo, 0, 0, 0, 0, 1);
  const int unframed = AddToolbarGadget(-1, plain, 0, 0, 0, 0, 0);
  ASSERT_NE(0, framed);
  ASSERT_NE(0, unframed);
  UpdateWindow(host_);
  RECT r = {};
  GetWindowRect(combo, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);

  SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(1, GadgetRecord(combo)->gadgetHoverState & 1);
  TRACKMOUSEEVENT query = {};
  query.cbSize = sizeof(query);
  query.dwFlags = TME_QUERY;
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(static_cast<DWORD>(TME_LEAVE), query.dwFlags & TME_LEAVE);
  EXPECT_EQ(combo, query.hwndTrack);
  SendMessageA(plain, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(0, GadgetRecord(plain)->gadgetHoverState);
  // Only combo boxes and edit fields keep the bit, framed or not.
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 0, 0, 40, 20, host_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(0, AddToolbarGadget(-1, button, 0, 0, 0, 0, 1));
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(0, GadgetRecord(button)->gadgetHoverState);

  // A leave while the pointer is still on the control changes nothing.
  SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(1, GadgetRecord(combo)->gadgetHoverState & 1);
  SetCursorPos(r.left + 300, r.bottom + 300);
  SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(0, GadgetRecord(combo)->gadgetHoverState & 1);
  FreeToolbar(-1);
  DestroyWindow(combo);
  DestroyWindow(plain);
  DestroyWindow(button);
}
