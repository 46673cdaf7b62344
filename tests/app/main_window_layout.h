// What Zendrikolbar's main window holds, written down from the program's description:
// the page panels with their tabs, and every control of every page with its kind, caption
// or start-up text, place on its page, start-up state and the style facts a user notices.
// The whole-program tests compare the running window with these tables.
#ifndef ZK_TESTS_APP_MAIN_WINDOW_LAYOUT_H
#define ZK_TESTS_APP_MAIN_WINDOW_LAYOUT_H

#include <ostream>
#include <string>
#include <vector>

struct Column {
  std::string title;
  int width;
  bool operator==(const Column& o) const { return title == o.title && width == o.width; }
};

inline std::ostream& operator<<(std::ostream& os, const Column& c) { return os << '"' << c.title << "\" " << c.width; }

// The five page panels, in the order of the task pane's groups.
struct PanelLayout {
  int id;
  std::vector<std::string> tabs;
};
inline const PanelLayout kPanels[] = {
    {0x00, {"General", "Graphics", "Language"}},
    {0x4D, {"Files", "Pellucast", "Uninstall", "Variables", "Commands"}},
    {0x4C, {"Splash Screen", "License", "Finish"}},
    {0x4E, {"Registry", "Shortcuts"}},
    {0x4F, {"Build"}},
};

enum class Kind { Push, Picture, Check, Toggle, Option, Group, Label, Link, Edit, Rich, List, Tree, Combo, Progress };

inline const char* ClassOf(Kind k) {
  switch (k) {
    case Kind::Label:
    case Kind::Link:
      return "Static";
    case Kind::Edit:
      return "Edit";
    case Kind::Rich:
      return "RichEdit20W";
    case Kind::List:
      return "SysListView32";
    case Kind::Tree:
      return "SysTreeView32";
    case Kind::Combo:
      return "ComboBox";
    case Kind::Progress:
      return "msctls_progress32";
    default:
      return "Button";
  }
}

// Style facts that matter to the user, checked both ways: a control without a flag must
// not have the style.
enum LayoutFlags : unsigned {
  kHidden = 1,
  kDisabled = 2,
  kDigits = 4,    // text field takes digits only
  kReadOnly = 8,  // rich-text editor cannot be typed into
};

constexpr int kNoId = -1;  // a number chosen by the program: found by class and caption
constexpr int kNoState = -1;

struct ControlLayout {
  int id;
  Kind kind;
  const char* text;  // caption, or a text field's start-up text; nullptr: not checked
  int panel, tab;
  int x, y, w, h;
  int state;  // check boxes, options, toggles: 0 or 1
  unsigned flags;
};

// clang-format off
inline const ControlLayout kControls[] = {
    // General
    {0x01, Kind::Group, "Program information", 0, 0, 8, 13, 485, 155, kNoState, 0},
    {0x02, Kind::Label, "Program name:", 0, 0, 18, 40, 90, 15, kNoState, 0},
    {0x04, Kind::Edit, "", 0, 0, 113, 38, 375, 20, kNoState, 0},
    {0x03, Kind::Label, "Program version:", 0, 0, 18, 70, 90, 15, kNoState, 0},
    {0x05, Kind::Edit, "", 0, 0, 113, 68, 375, 20, kNoState, 0},
    {0x1B, Kind::Label, "Company name:", 0, 0, 18, 105, 90, 15, kNoState, 0},
    {0x1C, Kind::Edit, "", 0, 0, 113, 103, 375, 20, kNoState, 0},
    {0x1D, Kind::Label, "Website:", 0, 0, 18, 135, 90, 15, kNoState, 0},
    {0x1E, Kind::Edit, "http://", 0, 0, 113, 133, 375, 20, kNoState, 0},
    {0x11, Kind::Group, "Supported Operating Systems", 0, 0, 8, 178, 485, 170, kNoState, 0},
    {0x12, Kind::Check, "Windows 2000", 0, 0, 18, 203, 170, 20, 1, 0},
    {0x13, Kind::Check, "Windows XP", 0, 0, 208, 203, 160, 20, 1, 0},
    {0x14, Kind::Check, "Windows Server 2003", 0, 0, 18, 240, 170, 20, 1, 0},
    {0x15, Kind::Check, "Windows Vista", 0, 0, 208, 240, 160, 20, 1, 0},
    {0x16, Kind::Check, "Windows Server 2008", 0, 0, 18, 278, 170, 20, 1, 0},
    {0x17, Kind::Check, "Windows 7", 0, 0, 208, 278, 160, 20, 1, 0},
    {0xC8, Kind::Check, "Windows 8", 0, 0, 18, 315, 170, 20, 1, 0},
    // Graphics
    {0x06, Kind::Label, "Wizard image:", 0, 1, 8, 13, 90, 20, kNoState, 0},
    {0x07, Kind::Edit, "<main>", 0, 1, 8, 33, 450, 20, kNoState, 0},
    {0x08, Kind::Push, "...", 0, 1, 463, 33, 30, 20, kNoState, 0},
    {0x09, Kind::Label, "Header image:", 0, 1, 8, 73, 90, 20, kNoState, 0},
    {0x0A, Kind::Edit, "<main>", 0, 1, 8, 93, 450, 20, kNoState, 0},
    {0x0B, Kind::Push, "...", 0, 1, 463, 93, 30, 20, kNoState, 0},
    {0x0C, Kind::Label, "Install-icon image:", 0, 1, 8, 133, 90, 20, kNoState, 0},
    {0x0D, Kind::Edit, "<main>", 0, 1, 8, 153, 450, 20, kNoState, 0},
    {0x0E, Kind::Push, "...", 0, 1, 463, 153, 30, 20, kNoState, 0},
    {0x0F, Kind::Check, "Show label", 0, 1, 8, 188, 485, 20, 1, 0},
    {0x10, Kind::Picture, "", 0, 1, 8, 223, 100, 80, kNoState, 0},
    {0x1F, Kind::Option, "Windows 2000 style", 0, 1, 128, 253, 365, 20, 0, kHidden},
    {0x20, Kind::Option, "Windows XP style", 0, 1, 128, 223, 365, 20, 1, kHidden},
    {0x21, Kind::Label, "(The Windows XP style will be used in the test)", 0, 1, 128, 283, 365, 20, kNoState, kHidden},
    // Language
    {0x22, Kind::Label, "Select the language(s) which should be used while the installation.", 0, 2, 8, 8, 485, 20,
     kNoState, 0},
    {0x23, Kind::Tree, nullptr, 0, 2, 8, 33, 485, 230, kNoState, 0},
    {0x24, Kind::Push, "Import..", 0, 2, 8, 268, 100, 25, kNoState, 0},
    {0x25, Kind::Push, "Delete", 0, 2, 118, 268, 100, 25, kNoState, 0},
    {0x26, Kind::Link, "More languages..", 0, 2, 233, 273, 95, 20, kNoState, 0},
    // Splash Screen
    {0x96, Kind::Check, "Show Splash Screen dialog", 0x4C, 0, 8, 13, 470, 15, 0, 0},
    {0x97, Kind::Label, "Image:", 0x4C, 0, 8, 48, 150, 15, kNoState, 0},
    {0x9C, Kind::Edit, "", 0x4C, 0, 8, 68, 450, 20, kNoState, 0},
    {0x9D, Kind::Push, "...", 0x4C, 0, 463, 68, 30, 20, kNoState, 0},
    {0x9E, Kind::Check, "Play sound", 0x4C, 0, 8, 108, 150, 15, 0, 0},
    {0x98, Kind::Edit, "", 0x4C, 0, 8, 128, 450, 20, kNoState, 0},
    {0x99, Kind::Push, "...", 0x4C, 0, 463, 128, 30, 20, kNoState, 0},
    {0x9A, Kind::Label, "Time(Seconds):", 0x4C, 0, 8, 168, 150, 15, kNoState, 0},
    {0x9B, Kind::Edit, "2", 0x4C, 0, 8, 188, 95, 20, kNoState, kDigits},
    // License
    {0x19, Kind::Check, "Show License Agreement dialog", 0x4C, 1, 8, 13, 485, 20, 0, 0},
    {0x1B58, Kind::Picture, "", 0x4C, 1, 8, 47, 25, 25, kNoState, 0},
    {0x1B59, Kind::Picture, "", 0x4C, 1, 35, 47, 25, 25, kNoState, 0},
    {0x1B5A, Kind::Picture, "", 0x4C, 1, 62, 47, 25, 25, kNoState, 0},
    {0x1B5F, Kind::Picture, "", 0x4C, 1, 94, 47, 25, 25, kNoState, 0},
    {0x1B60, Kind::Picture, "", 0x4C, 1, 121, 47, 25, 25, kNoState, 0},
    {0x1B61, Kind::Picture, "", 0x4C, 1, 148, 47, 25, 25, kNoState, 0},
    {0x1B62, Kind::Picture, "", 0x4C, 1, 175, 47, 25, 25, kNoState, 0},
    {0x1B64, Kind::Toggle, "B", 0x4C, 1, 207, 47, 25, 25, 0, 0},
    {0x1B65, Kind::Toggle, "I", 0x4C, 1, 234, 47, 25, 25, 0, 0},
    {0x1B69, Kind::Toggle, "U", 0x4C, 1, 261, 47, 25, 25, 0, 0},
    {0x1B6A, Kind::Push, "A", 0x4C, 1, 288, 47, 25, 25, kNoState, 0},
    {0x1A, Kind::Rich, "", 0x4C, 1, 8, 73, 480, 320, kNoState, 0},
    // Finish
    {0x27, Kind::Check, "Run program:", 0x4C, 2, 8, 15, 100, 15, 0, 0},
    {0x29, Kind::Edit, "<installpath>\\", 0x4C, 2, 123, 13, 370, 20, kNoState, 0},
    {0x28, Kind::Check, "Reboot computer", 0x4C, 2, 8, 50, 100, 20, 0, 0},
    {0x2A, Kind::Check, "Load DLL:", 0x4C, 2, 8, 90, 100, 15, 0, 0},
    {0x2B, Kind::Edit, "", 0x4C, 2, 123, 88, 335, 20, kNoState, 0},
    {0x2C, Kind::Push, "...", 0x4C, 2, 463, 88, 30, 20, kNoState, 0},
    {0xB7, Kind::Push, "Environment Variables", 0x4C, 2, 308, 118, 150, 22, kNoState, 0},
    // Files
    {0x2D, Kind::List, nullptr, 0x4D, 0, 8, 38, 485, 200, kNoState, 0},
    {0x2E, Kind::Push, "Add Files...", 0x4D, 0, 8, 8, 85, 25, kNoState, 0},
    {0x2F, Kind::Push, "Add Folder...", 0x4D, 0, 103, 8, 80, 25, kNoState, 0},
    {0x30, Kind::Push, "Remove", 0x4D, 0, 193, 8, 75, 25, kNoState, 0},
    {0xAF, Kind::Push, "Remove All", 0x4D, 0, 283, 8, 75, 25, kNoState, 0},
    {0x31, Kind::Check, "Use ZIP file:", 0x4D, 0, 8, 248, 90, 20, 0, 0},
    {0x32, Kind::Edit, "", 0x4D, 0, 103, 248, 350, 20, kNoState, 0},
    {0x33, Kind::Push, "...", 0x4D, 0, 463, 248, 30, 20, kNoState, 0},
    {0x40, Kind::Group, "Default Installation Path", 0x4D, 0, 8, 283, 485, 85, kNoState, 0},
    {0x41, Kind::Edit, "<programfiles>\\<company>\\<appname>\\", 0x4D, 0, 18, 310, 465, 20, kNoState, 0},
    {0x42, Kind::Check, "Allow user to change installation path", 0x4D, 0, 18, 338, 465, 20, 1, 0},
    // Pellucast
    {0xA1, Kind::Check, " Include Pellucast", 0x4D, 1, 8, 13, 485, 15, 0, 0},
    {0x9F, Kind::Label, "Product name:", 0x4D, 1, 8, 48, 95, 20, kNoState, 0},
    {0xA0, Kind::Edit, "<appname>", 0x4D, 1, 108, 48, 385, 20, kNoState, 0},
    {0xA2, Kind::Label, "Main update address:", 0x4D, 1, 8, 80, 95, 25, kNoState, 0},
    {0xA3, Kind::Edit, "http://", 0x4D, 1, 108, 83, 385, 20, kNoState, 0},
    {0xA6, Kind::Label, "1. Alternative update address:", 0x4D, 1, 8, 115, 95, 25, kNoState, 0},
    {0xA7, Kind::Edit, "http://", 0x4D, 1, 108, 118, 385, 20, kNoState, 0},
    {0xA8, Kind::Label, "2. Alternative update address:", 0x4D, 1, 8, 150, 95, 25, kNoState, 0},
    {0xA9, Kind::Edit, "http://", 0x4D, 1, 108, 153, 385, 20, kNoState, 0},
    {0xA4, Kind::Label, "Current product version:", 0x4D, 1, 8, 185, 95, 25, kNoState, 0},
    {0xA5, Kind::Edit, "<appversion>", 0x4D, 1, 108, 187, 385, 20, kNoState, 0},
    {kNoId, Kind::Label, "Language:", 0x4D, 1, 8, 225, 95, 20, kNoState, 0},
    {0xB0, Kind::Combo, nullptr, 0x4D, 1, 108, 222, 385, 20, kNoState, 0},
    {kNoId, Kind::Label, "Program file:", 0x4D, 1, 8, 260, 95, 20, kNoState, 0},
    {0xB1, Kind::Edit, "", 0x4D, 1, 108, 260, 385, 20, kNoState, 0},
    {kNoId, Kind::Check, "Run program", 0x4D, 1, 108, 290, 95, 20, 0, 0},
    {kNoId, Kind::Check, "Terminate process", 0x4D, 1, 213, 290, 115, 20, 0, 0},
    {0xAA, Kind::Label, "Update file name:", 0x4D, 1, 8, 330, 95, 20, kNoState, 0},
    {0xAB, Kind::Edit, "Update", 0x4D, 1, 108, 327, 385, 20, kNoState, 0},
    {0xCB, Kind::Link, "View online manual...", 0x4D, 1, 8, 370, 350, 20, kNoState, 0},
    // Uninstall
    {0x36, Kind::Check, "Include Uninstaller", 0x4D, 2, 8, 13, 150, 20, 0, 0},
    {0xC2, Kind::Edit, "Uninstall", 0x4D, 2, 168, 13, 325, 20, kNoState, 0},
    {0x34, Kind::Check, "Visit website after Uninstall:", 0x4D, 2, 8, 38, 145, 20, 0, 0},
    {0x35, Kind::Edit, "", 0x4D, 2, 168, 38, 325, 20, kNoState, 0},
    // Variables
    {0xB8, Kind::List, nullptr, 0x4D, 3, 8, 8, 485, 265, kNoState, 0},
    {0xB9, Kind::Push, "Add...", 0x4D, 3, 8, 283, 90, 25, kNoState, 0},
    {0xC5, Kind::Push, "Edit...", 0x4D, 3, 108, 283, 90, 25, kNoState, 0},
    {0xBA, Kind::Push, "Remove", 0x4D, 3, 208, 283, 90, 25, kNoState, 0},
    // Commands
    {0xCC, Kind::List, nullptr, 0x4D, 4, 8, 8, 485, 265, kNoState, 0},
    {0xCD, Kind::Push, "Add...", 0x4D, 4, 8, 283, 90, 25, kNoState, 0},
    {0xCE, Kind::Push, "Edit...", 0x4D, 4, 108, 283, 90, 25, kNoState, 0},
    {0xCF, Kind::Push, "Remove", 0x4D, 4, 208, 283, 90, 25, kNoState, 0},
    // Registry
    {0x37, Kind::List, nullptr, 0x4E, 0, 8, 8, 485, 265, kNoState, 0},
    {0x38, Kind::Push, "Add...", 0x4E, 0, 8, 283, 90, 25, kNoState, 0},
    {0xC6, Kind::Push, "Edit...", 0x4E, 0, 108, 283, 90, 25, kNoState, 0},
    {0x39, Kind::Push, "Remove", 0x4E, 0, 208, 283, 90, 25, kNoState, 0},
    // Shortcuts
    {0x3A, Kind::List, nullptr, 0x4E, 1, 8, 8, 485, 210, kNoState, 0},
    {0x3E, Kind::Push, "Add...", 0x4E, 1, 8, 225, 95, 25, kNoState, 0},
    {0xC7, Kind::Push, "Edit...", 0x4E, 1, 108, 225, 95, 25, kNoState, 0},
    {0x3F, Kind::Push, "Remove", 0x4E, 1, 208, 225, 95, 25, kNoState, 0},
    {0x3B, Kind::Label, "Default path for start menu shortcuts:", 0x4E, 1, 8, 265, 185, 20, kNoState, 0},
    {0x3C, Kind::Edit, "<company>\\<appname>\\", 0x4E, 1, 198, 263, 295, 20, kNoState, 0},
    {0x3D, Kind::Check, "Allow user to change the start menu shortcut path", 0x4E, 1, 8, 288, 485, 20, 0, 0},
    {0xB5, Kind::Check, "Create start menu shortcuts for all users", 0x4E, 1, 8, 308, 485, 20, 0, 0},
    {0xB6, Kind::Check, "Create desktop shortcuts for all users", 0x4E, 1, 8, 328, 485, 20, 0, 0},
    // Build
    {0x43, Kind::Group, "", 0x4F, 0, 8, 8, 485, 395, kNoState, 0},
    {0x44, Kind::Label, "Setup file:", 0x4F, 0, 18, 30, 75, 20, kNoState, 0},
    {0x45, Kind::Edit, "", 0x4F, 0, 98, 28, 351, 20, kNoState, kDisabled},
    {0x46, Kind::Push, "...", 0x4F, 0, 454, 28, 30, 20, kNoState, 0},
    {kNoId, Kind::Label, "Compression:", 0x4F, 0, 18, 62, 75, 20, kNoState, 0},
    {0xB4, Kind::Combo, nullptr, 0x4F, 0, 98, 60, 120, 20, kNoState, 0},
    {0x48, Kind::Picture, "", 0x4F, 0, 18, 93, 75, 40, kNoState, 0},
    {0x4A, Kind::Label, "Build information:", 0x4F, 0, 18, 150, 85, 15, kNoState, 0},
    {0x4B, Kind::Rich, "", 0x4F, 0, 18, 173, 465, 195, kNoState, kReadOnly},
    {0x49, Kind::Progress, nullptr, 0x4F, 0, 18, 373, 465, 17, kNoState, 0},
};
// clang-format on

struct ListLayout {
  int id;
  std::vector<Column> columns;
  bool severalRows;     // more than one row can be selected
  bool keepsSelection;  // the selection stays shown without the focus
};
inline const ListLayout kLists[] = {
    {0x2D, {{"", 0}, {"File", 300}, {"Size", 100}, {"Type", 80}}, true, false},
    {0xB8,
     {{"Variable name", 100}, {"Root key", 100}, {"Sub key", 100}, {"Value name", 100}, {"Default value", 100}},
     false,
     true},
    {0xCC, {{"Type", 100}, {"Program", 100}, {"Parameters", 100}, {"Options", 100}}, false, true},
    {0x37, {{"Root key", 140}, {"Sub key", 140}, {"Value name", 100}, {"Value data", 100}}, false, false},
    {0x3A,
     {{"Destination", 100}, {"Shortcut name", 100}, {"Target file", 120}, {"Command line arguments", 160}},
     false,
     false},
};

struct ComboLayout {
  int id;
  std::vector<std::string> entries;
  int selected;
};
inline const ComboLayout kCombos[] = {
    {0xB0, {"English", "German"}, 0},
    {0xB4, {"No compression", "Deflate"}, 1},
};

inline const ControlLayout* LayoutOf(int id) {
  for (const ControlLayout& c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

#endif
