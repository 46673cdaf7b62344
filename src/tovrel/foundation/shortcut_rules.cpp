#include "tovrel/foundation/shortcut_rules.h"

#include <ctype.h>

#include <map>

namespace tovrel {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

const std::map<std::string, int32_t>& KeyNames() {
  static const std::map<std::string, int32_t> names = [] {
    std::map<std::string, int32_t> n = {
        {"back", 0x08},      {"tab", 0x09},          {"clear", 0x0C},   {"return", 0x0D},      {"ret", 0x0D},
        {"enter", 0x0D},     {"ent", 0x0D},          {"pause", 0x13},   {"capital", 0x14},     {"caps", 0x14},
        {"capslock", 0x14},  {"escape", 0x1B},       {"esc", 0x1B},     {"space", 0x20},       {"prior", 0x21},
        {"pageup", 0x21},    {"pgup", 0x21},         {"next", 0x22},    {"pagedown", 0x22},    {"pgdn", 0x22},
        {"end", 0x23},       {"home", 0x24},         {"left", 0x25},    {"up", 0x26},          {"right", 0x27},
        {"down", 0x28},      {"select", 0x29},       {"print", 0x2A},   {"execute", 0x2B},     {"snapshot", 0x2C},
        {"prtsc", 0x2C},     {"insert", 0x2D},       {"ins", 0x2D},     {"delete", 0x2E},      {"del", 0x2E},
        {"help", 0x2F},      {"lwin", 0x5B},         {"leftwin", 0x5B}, {"leftwindows", 0x5B}, {"rwin", 0x5C},
        {"rightwin", 0x5C},  {"rightwindows", 0x5C}, {"apps", 0x5D},    {"multiply", 0x6A},    {"add", 0x6B},
        {"separator", 0x6C}, {"subtract", 0x6D},     {"decimal", 0x6E}, {"divide", 0x6F},      {"numlock", 0x90},
        {"scroll", 0x91},    {"plus", 0xBB},         {"comma", 0xBC},   {"minus", 0xBD},       {"period", 0xBE},
    };
    for (int i = 0; i <= 9; ++i) {
      for (const char* prefix : {"numpad", "num", "pad"}) n[prefix + std::to_string(i)] = 0x60 + i;
    }
    for (int i = 1; i <= 24; ++i) n["f" + std::to_string(i)] = 0x70 + i - 1;
    return n;
  }();
  return names;
}

}  // namespace

bool FindItemShortcut(const std::string& itemText, std::string* shortcut) {
  std::string copy = itemText;
  for (size_t i = 0; i + 1 < copy.size(); ++i) {
    if (copy[i] != '$') continue;
    if (copy[i + 1] == '$') {
      copy.erase(i + 1, 1);
      continue;
    }
    *shortcut = copy.substr(i + 1);
    return true;
  }
  return false;
}

bool ParseShortcut(const std::string& text, ShortcutKey* key) {
  std::string s;
  for (char c : text) s += static_cast<char>(tolower(static_cast<unsigned char>(c)));
  for (const char* code : {"\\b", "\\i", "\\u", "\\s", "\\c", "\\n"}) ReplaceAll(s, code, "");
  for (const char* separator : {"|", " ", "-", ",", ".", "~", "^", "/", "\\", ":", ";"}) ReplaceAll(s, separator, "+");

  bool ctrl = false, shift = false, alt = false, character = false;
  int32_t keyCode = 0;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find('+', start);
    if (end == std::string::npos) end = s.size();
    const std::string part = s.substr(start, end - start);
    if (part.empty()) break;
    if (part == "alt") {
      alt = true;
    } else if (part == "ctrl" || part == "control") {
      ctrl = true;
    } else if (part == "shift") {
      shift = true;
    } else if (KeyNames().count(part)) {
      keyCode = KeyNames().at(part);
    } else if (part.size() == 1) {
      keyCode = toupper(static_cast<unsigned char>(part[0]));
      character = true;
    } else {
      return false;
    }
    start = end + 1;
  }
  key->keyCode = keyCode;
  key->flags = (alt ? FALT : 0) | (ctrl ? FCONTROL : 0) | (shift ? FSHIFT : 0) | (character ? 0 : FVIRTKEY);
  return true;
}

bool UpdateBindings(ToolkitList<ShortcutBinding>& list, const ShortcutKey& key, int16_t commandId) {
  for (ShortcutBinding& binding : list) {
    if (binding.keyCode != key.keyCode || binding.flags != key.flags) continue;
    if (commandId == -1) return list.Delete(&binding);
    binding.commandId = commandId;
    return true;
  }
  if (commandId == -1) return false;
  list.Add() = {key.keyCode, key.flags, commandId};
  return true;
}

ShortcutPress ReadKeyMessage(ShortcutModifierState& state, UINT message, WPARAM virtualKey, LPARAM lParam) {
  const ShortcutPress none{false, 0, 0};
  const int32_t vk = static_cast<int32_t>(virtualKey);
  switch (message) {
    case WM_KEYDOWN:
      if (vk == VK_CONTROL) {
        state.ctrl = FCONTROL;
      } else if (vk == VK_SHIFT) {
        state.shift = FSHIFT;
      } else if (vk == VK_MENU) {
        state.alt = FALT;
      } else {
        return {true, vk, state.ctrl | state.shift | state.alt};
      }
      return none;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (vk == VK_CONTROL) state.ctrl = 0;
      if (vk == VK_SHIFT) state.shift = 0;
      if (vk == VK_MENU) state.alt = 0;
      return none;
    case WM_SYSKEYDOWN: {
      if (vk == VK_MENU) {
        state.alt = FALT;
        return none;
      }
      // Bit 29, the context code, is set when Alt is held; F10 alone comes without it.
      if (!(lParam & (1 << 29))) return none;
      ShortcutPress press = none;
      if (vk == VK_CONTROL) {
        state.ctrl = FCONTROL;
      } else if (vk == VK_SHIFT) {
        state.shift = FSHIFT;
      } else {
        press = {true, vk, state.ctrl | state.shift | FALT};
      }
      state.alt = FALT;
      return press;
    }
    default:
      return none;
  }
}

bool FindShortcutCommand(const ToolkitList<ShortcutBinding>& list, const ShortcutPress& press, int32_t character,
                         int16_t* commandId) {
  for (const ShortcutBinding& binding : list) {
    const bool virtualKey = binding.flags & FVIRTKEY;
    const int32_t flags = virtualKey ? press.modifiers | FVIRTKEY : press.modifiers;
    const int32_t code = virtualKey ? press.virtualKey : character;
    if (binding.flags == flags && binding.keyCode == code) {
      *commandId = binding.commandId;
      return true;
    }
  }
  return false;
}

}  // namespace tovrel
