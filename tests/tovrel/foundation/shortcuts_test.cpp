// Keyboard shortcuts: the item text and shortcut grammar as tables, the binding lists,
// the modifier state, and real windows on the display with key messages posted to a
// focused edit and taken off the queue by GetMessage.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tovrel/foundation/maps.h"
#include "tovrel/foundation/shortcut_rules.h"
#include "tovrel/foundation/shortcuts.h"
#include "tovrel/foundation/toolkit_globals.h"

using namespace tovrel;

namespace {

// ---- rules ----

TEST(ShortcutRules, FindsTheShortcutAfterTheMarker) {
  struct Case {
    const char* item;
    bool found;
    const char* shortcut;
  } cases[] = {
      {"Save$ctrl+s", true, "ctrl+s"},
      {"Quit$alt+f4", true, "alt+f4"},
      {"Price $$5$ctrl+p", true, "ctrl+p"},  // "$$" is an escaped dollar
      {"Price $$5", false, ""},
      {"Dollar$", false, ""},  // the last character is never the marker
      {"Dollars $$$", false, ""},
      {"$x", true, "x"},
      {"a$b$c", true, "b$c"},  // only the first marker counts
      {"plain", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    std::string shortcut;
    EXPECT_EQ(FindItemShortcut(c.item, &shortcut), c.found) << c.item;
    if (c.found) {
      EXPECT_EQ(shortcut, c.shortcut) << c.item;
    }
  }
}

TEST(ShortcutRules, ParsesTheGrammar) {
  const int V = FVIRTKEY, S = FSHIFT, C = FCONTROL, A = FALT;
  struct Case {
    const char* text;
    bool ok;
    int keyCode;
    int flags;
  } cases[] = {
      {"ctrl+s", true, 'S', C},  // a character shortcut: no FVIRTKEY
      {"alt+f4", true, VK_F4, A | V},
      {"ctrl-shift-f10", true, VK_F10, C | S | V},
      {"Ctrl Shift F10", true, VK_F10, C | S | V},
      {"CTRL+SHIFT+F10", true, VK_F10, C | S | V},
      {"control|shift,f10", true, VK_F10, C | S | V},
      {"ctrl+=", true, '=', C},
      {"ctrl+-", true, 0, C | V},  // "-" separates: an empty part ends the list
      {"ctrl++a", true, 0, C | V},
      {"ctrl+minus", true, 0xBD, C | V},
      {"shift+plus", true, 0xBB, S | V},
      {"alt;comma", true, 0xBC, A | V},
      {"ctrl:period", true, 0xBE, C | V},
      {"ctrl+foo", false, 0, 0},
      {"\\bCtrl\\b+\\cS", true, 'S', C},  // styled-text codes are removed first
      {"ctrl+shift", true, 0, C | S | V},
      {"numpad5", true, 0x65, V},
      {"num0", true, 0x60, V},
      {"pad9", true, 0x69, V},
      {"f24", true, 0x87, V},
      {"f25", false, 0, 0},
      {"ctrl+pgdn", true, VK_NEXT, C | V},
      {"leftwindows", true, VK_LWIN, V},
      {"ret", true, VK_RETURN, V},
      {"esc", true, VK_ESCAPE, V},
      {"a+f1", true, VK_F1, 0},  // a later name replaces the key; the character mark stays
      {"f1+a", true, 'A', 0},
      {"1", true, '1', 0},
  };
  for (const Case& c : cases) {
    ShortcutKey key{-1, -1};
    EXPECT_EQ(ParseShortcut(c.text, &key), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(key.keyCode, c.keyCode) << c.text;
    EXPECT_EQ(key.flags, c.flags) << c.text;
  }
}

std::string ListOf(const ToolkitList<ShortcutBinding>& list) {
  std::string out;
  for (const ShortcutBinding& b : list) {
    out += std::to_string(b.keyCode) + "/" + std::to_string(b.flags) + ":" + std::to_string(b.commandId) + " ";
  }
  return out;
}

TEST(ShortcutRules, UpdatesBindingsInPlace) {
  const ShortcutKey ctrlS{'S', FCONTROL}, altS{'S', FALT}, f4{VK_F4, FVIRTKEY};
  struct Step {
    ShortcutKey key;
    int16_t command;
    bool changed;
    const char* list;
  } steps[] = {
      {ctrlS, 5, true, "83/8:5 "},
      {ctrlS, 6, true, "83/8:6 "},  // same key and flags: the command changes, no growth
      {altS, 7, true, "83/8:6 83/16:7 "},
      {f4, 8, true, "83/8:6 83/16:7 115/1:8 "},
      {ctrlS, -1, true, "83/16:7 115/1:8 "},
      {ctrlS, -1, false, "83/16:7 115/1:8 "},  // removing what is not there stores nothing
      {ctrlS, 9, true, "83/16:7 115/1:8 83/8:9 "},
  };
  ToolkitList<ShortcutBinding> list;
  for (const Step& s : steps) {
    EXPECT_EQ(UpdateBindings(list, s.key, s.command), s.changed);
    EXPECT_EQ(ListOf(list), s.list);
  }
}

TEST(ShortcutRules, KeyMessagesKeepTheModifiers) {
  const LPARAM altHeld = 1 << 29;
  struct Step {
    UINT message;
    WPARAM key;
    LPARAM lParam;
    bool fires;
    int modifiers;  // of the press, or of the state after a message that does not fire
  } steps[] = {
      {WM_KEYDOWN, VK_CONTROL, 0, false, FCONTROL},
      {WM_KEYDOWN, 'S', 0, true, FCONTROL},
      {WM_KEYDOWN, VK_SHIFT, 0, false, FCONTROL | FSHIFT},
      {WM_KEYDOWN, VK_F10, 0, true, FCONTROL | FSHIFT},
      {WM_KEYUP, VK_CONTROL, 0, false, FSHIFT},
      {WM_KEYUP, VK_SHIFT, 0, false, 0},
      {WM_KEYUP, 'S', 0, false, 0},
      {WM_CHAR, 's', 0, false, 0},
      {WM_SYSKEYDOWN, VK_F10, 0, false, 0},  // no context code: nothing
      {WM_SYSKEYDOWN, VK_MENU, altHeld, false, FALT},
      {WM_SYSKEYDOWN, VK_F4, altHeld, true, FALT},
      {WM_SYSKEYDOWN, VK_SHIFT, altHeld, false, FALT | FSHIFT},
      {WM_SYSKEYUP, VK_MENU, altHeld, false, FSHIFT},
      {WM_SYSKEYDOWN, 'X', altHeld, true, FALT | FSHIFT},  // Alt is forced on with the code
      {WM_KEYUP, VK_SHIFT, 0, false, FALT},                // and stays on afterwards
  };
  ShortcutModifierState state{0, 0, 0};
  int i = 0;
  for (const Step& s : steps) {
    ShortcutPress press = ReadKeyMessage(state, s.message, s.key, s.lParam);
    EXPECT_EQ(press.fires, s.fires) << "step " << i;
    const int modifiers = s.fires ? press.modifiers : state.ctrl | state.shift | state.alt;
    EXPECT_EQ(modifiers, s.modifiers) << "step " << i;
    if (s.fires) {
      EXPECT_EQ(press.virtualKey, static_cast<int>(s.key)) << "step " << i;
    }
    ++i;
  }
}

TEST(ShortcutRules, TheFirstMatchingBindingWins) {
  ToolkitList<ShortcutBinding> list;
  list.Add() = {'S', FCONTROL, 1};
  list.Add() = {VK_F4, FALT | FVIRTKEY, 2};
  list.Add() = {VK_F4, FALT | FVIRTKEY, 3};
  list.Add() = {'=', FCONTROL, -4};
  struct Case {
    int virtualKey, modifiers, character;
    bool found;
    int16_t command;
  } cases[] = {
      {'S', FCONTROL, 'S', true, 1},
      {'S', 0, 'S', false, 0},
      {'S', FCONTROL | FSHIFT, 'S', false, 0},
      {VK_F4, FALT, 0, true, 2},
      {VK_F4, 0, 0, false, 0},
      {VK_OEM_PLUS, FCONTROL, '=', true, -4},  // a character binding compares the character
  };
  for (const Case& c : cases) {
    int16_t command = 0;
    EXPECT_EQ(FindShortcutCommand(list, {true, c.virtualKey, c.modifiers}, c.character, &command), c.found);
    EXPECT_EQ(command, c.command);
  }
}

// ---- windows ----

constexpr UINT kPumped = WM_APP + 7;

struct Seen {
  std::vector<std::pair<HWND, int>> commands;  // window, command id
  std::vector<WPARAM> editKeys;                // key presses the edit received
  int editNulls = 0;
};
Seen gSeen;
WNDPROC gEditProc = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam == 0) gSeen.commands.push_back({window, LOWORD(wParam)});
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) gSeen.editKeys.push_back(wParam);
  if (message == WM_NULL) ++gSeen.editNulls;
  return CallWindowProcA(gEditProc, window, message, wParam, lParam);
}

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA frameClass{};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.lpszClassName = "ShortcutsTestFrame";
    RegisterClassA(&frameClass);
    frame = Open("frame", 0);
    other = Open("other", 300);
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 4, 4, 150, 22, frame, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(EditProc))));
    Activate(frame);
    SetFocus(edit);
    Pump();
    gSeen = Seen();
  }
  void TearDown() override {
    DestroyWindow(frame);
    DestroyWindow(other);
    Pump();
    ShortcutMap.Clear();
    ResetShortcutModifiers();
    ItemShortcutsDisabled = 0;
  }

  static HWND Open(const char* title, int x) {
    return CreateWindowExA(0, "ShortcutsTestFrame", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 0, 280, 120, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  }

  static void Activate(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
  }

  // Takes every message posted so far off the queue with GetMessage and dispatches it.
  static void Pump() {
    if (!PostThreadMessageA(GetCurrentThreadId(), kPumped, 0, 0)) return;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == kPumped) break;
      DispatchMessageA(&msg);
    }
  }

  void Key(UINT message, WPARAM key) {
    const LPARAM lParam = (message == WM_SYSKEYDOWN ? 1 << 29 : 0) | 1;
    PostMessageA(edit, message, key, lParam);
  }

  // Ctrl down, the key down and up, Ctrl up, as the keyboard would post them.
  void CtrlKey(WPARAM key) {
    Key(WM_KEYDOWN, VK_CONTROL);
    Key(WM_KEYDOWN, key);
    Key(WM_KEYUP, key);
    Key(WM_KEYUP, VK_CONTROL);
  }

  static std::string BindingsOf(HWND window) {
    ToolkitList<ShortcutBinding>* list = ShortcutMap.Find(window ? HandleKey(window) : "0");
    return list ? ListOf(*list) : "none";
  }

  HWND frame = nullptr, other = nullptr, edit = nullptr;
};

TEST_F(Shortcuts, RegistrationKeepsOneListPerRootWindow) {
  EXPECT_EQ(RegisterShortcut(edit, 101, "ctrl+s"), 1);  // the edit's root is the frame
  EXPECT_NE(ShortcutHookHandle, nullptr);
  EXPECT_EQ(BindingsOf(frame), "83/8:101 ");
  EXPECT_EQ(RegisterShortcut(frame, 102, "Ctrl+S"), 1);
  EXPECT_EQ(BindingsOf(frame), "83/8:102 ");
  EXPECT_EQ(RegisterShortcut(nullptr, 103, "ctrl+f5"), 1);
  EXPECT_EQ(BindingsOf(nullptr), "116/9:103 ");

  EXPECT_EQ(RegisterShortcut(frame, 104, "ctrl+foo"), 0);
  EXPECT_EQ(RegisterShortcut(reinterpret_cast<HWND>(0x7654320), 105, "ctrl+s"), 0);
  EXPECT_EQ(BindingsOf(frame), "83/8:102 ");
  EXPECT_EQ(ShortcutMap.Size(), 2u);

  EXPECT_EQ(RegisterShortcut(frame, 106, "alt+f4"), 1);
  EXPECT_EQ(RegisterShortcut(edit, 0, ""), 1);  // every binding of the window goes
  EXPECT_EQ(BindingsOf(frame), "none");
  EXPECT_EQ(BindingsOf(nullptr), "116/9:103 ");
}

TEST_F(Shortcuts, ItemTextsRegisterTheirShortcut) {
  EXPECT_EQ(RegisterItemShortcut(frame, 201, "Save$ctrl+s"), 1);
  EXPECT_EQ(RegisterItemShortcut(frame, 202, "Quit$alt+f4"), 1);
  EXPECT_EQ(RegisterItemShortcut(frame, 203, "Plain item"), 0);
  EXPECT_EQ(RegisterItemShortcut(frame, 203, "Price $$5$ctrl+p"), 1);
  EXPECT_EQ(BindingsOf(frame), "83/8:201 115/17:202 80/8:203 ");

  ItemShortcutsDisabled = 1;
  EXPECT_EQ(RegisterItemShortcut(frame, 204, "Open$ctrl+o"), 0);
  ItemShortcutsDisabled = 0;

  // Disabling an item removes its binding; twice, or for an item without one, stores nothing.
  EXPECT_EQ(RegisterItemShortcut(frame, -1, "Save$ctrl+s"), 1);
  EXPECT_EQ(RegisterItemShortcut(frame, -1, "Save$ctrl+s"), 1);
  EXPECT_EQ(RegisterItemShortcut(frame, -1, "Open$ctrl+o"), 1);
  EXPECT_EQ(BindingsOf(frame), "115/17:202 80/8:203 ");
}

TEST_F(Shortcuts, APressSendsTheCommandToTheRootAndTheEditGetsNothing) {
  ASSERT_EQ(RegisterItemShortcut(frame, 301, "Save$ctrl+s"), 1);
  CtrlKey('S');
  Pump();
  ASSERT_EQ(gSeen.commands.size(), 1u);
  EXPECT_EQ(gSeen.commands[0], std::make_pair(frame, 301));
  EXPECT_EQ(gSeen.editKeys, std::vector<WPARAM>{VK_CONTROL});
  EXPECT_EQ(gSeen.editNulls, 1);

  // Alt+F4 comes as system keys with the context code.
  ASSERT_EQ(RegisterItemShortcut(frame, 302, "Quit$alt+f4"), 1);
  gSeen = Seen();
  Key(WM_SYSKEYDOWN, VK_MENU);
  Key(WM_SYSKEYDOWN, VK_F4);
  Pump();
  ASSERT_EQ(gSeen.commands.size(), 1u);
  EXPECT_EQ(gSeen.commands[0].second, 302);
  EXPECT_TRUE(IsWindow(frame)) << "the key never reached the default handling";
}

TEST_F(Shortcuts, ADisabledItemsKeyReachesTheEdit) {
  ASSERT_EQ(RegisterItemShortcut(frame, 401, "Save$ctrl+s"), 1);
  ASSERT_EQ(RegisterItemShortcut(frame, -1, "Save$ctrl+s"), 1);
  EXPECT_EQ(BindingsOf(frame), "");
  CtrlKey('S');
  Pump();
  EXPECT_TRUE(gSeen.commands.empty());
  EXPECT_EQ(gSeen.editKeys, (std::vector<WPARAM>{VK_CONTROL, 'S'}));
  EXPECT_EQ(gSeen.editNulls, 0);
}

TEST_F(Shortcuts, BindingsForAnyWindowGoToTheActiveOne) {
  ASSERT_EQ(RegisterShortcut(nullptr, 501, "ctrl+f5"), 1);
  Activate(other);
  Pump();
  ASSERT_EQ(GetActiveWindow(), other);
  gSeen = Seen();
  CtrlKey(VK_F5);
  Pump();
  ASSERT_EQ(gSeen.commands.size(), 1u);
  EXPECT_EQ(gSeen.commands[0], std::make_pair(other, 501));
  EXPECT_EQ(gSeen.editNulls, 1);

  // The window's own binding is looked at first.
  ASSERT_EQ(RegisterShortcut(frame, 502, "ctrl+f5"), 1);
  gSeen = Seen();
  CtrlKey(VK_F5);
  Pump();
  ASSERT_EQ(gSeen.commands.size(), 1u);
  EXPECT_EQ(gSeen.commands[0], std::make_pair(frame, 502));
}

TEST_F(Shortcuts, AKeyPeekedAtAndThenTakenFiresOnce) {
  ASSERT_EQ(RegisterShortcut(frame, 601, "ctrl+s"), 1);
  MSG msg;
  Key(WM_KEYDOWN, VK_CONTROL);
  ASSERT_TRUE(PeekMessageA(&msg, edit, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
  EXPECT_EQ(ShortcutModifiers.ctrl, 0) << "a peeked Ctrl is not held yet";
  Pump();
  EXPECT_EQ(ShortcutModifiers.ctrl, FCONTROL);

  Key(WM_KEYDOWN, 'S');
  Key(WM_KEYUP, 'S');
  Key(WM_KEYUP, VK_CONTROL);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(PeekMessageA(&msg, edit, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN)) << "a peek leaves the message as it is";
  }
  EXPECT_TRUE(gSeen.commands.empty());
  Pump();
  ASSERT_EQ(gSeen.commands.size(), 1u);
  EXPECT_EQ(gSeen.commands[0].second, 601);
  EXPECT_EQ(gSeen.editNulls, 1);
}

TEST_F(Shortcuts, LosingTheKeyboardReleasesTheModifiers) {
  ASSERT_EQ(RegisterShortcut(frame, 701, "ctrl+s"), 1);
  Key(WM_KEYDOWN, VK_CONTROL);
  Pump();
  EXPECT_EQ(ShortcutModifiers.ctrl, FCONTROL);
  // Ctrl was let go in another application: its key-up never came here.
  ResetShortcutModifiers();
  EXPECT_EQ(ShortcutModifiers.ctrl, 0);
  Key(WM_KEYDOWN, 'S');
  Pump();
  EXPECT_TRUE(gSeen.commands.empty());
  EXPECT_EQ(gSeen.editKeys, (std::vector<WPARAM>{VK_CONTROL, 'S'}));
}

TEST_F(Shortcuts, AGoingWindowTakesItsBindingsAlong) {
  ASSERT_EQ(RegisterShortcut(frame, 801, "ctrl+s"), 1);
  ASSERT_EQ(RegisterShortcut(other, 802, "ctrl+s"), 1);
  ASSERT_EQ(RegisterShortcut(nullptr, 803, "ctrl+f5"), 1);
  ForgetWindowShortcuts(frame);
  ForgetWindowShortcuts(nullptr);  // "0" is no window
  EXPECT_EQ(BindingsOf(frame), "none");
  EXPECT_EQ(BindingsOf(other), "83/8:802 ");
  EXPECT_EQ(BindingsOf(nullptr), "116/9:803 ");
}

}  // namespace
