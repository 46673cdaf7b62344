// The authoring tool's built-in pictures, carried as resources in Zendrikolbar.exe
// (app.rc) and decoded once at start-up.
#ifndef ZK_APP_BUILTIN_IMAGES_H
#define ZK_APP_BUILTIN_IMAGES_H

#include <windows.h>

// Positions in BuiltinImages::groupIcons, in the task pane's group order.
enum BuiltinGroup { kGroupGeneral, kGroupSetup, kGroupDialogs, kGroupBuild, kGroupSystem, kGroupCount };

// Every entry is 0 when its picture could not be loaded. `preview` and `build` are also
// runtime images 0 and 1, owned by the image table; the icons belong to this record.
struct BuiltinImages {
  HBITMAP preview = nullptr;           // runtime image 0: the wizard-preview button, 69x54
  HICON build = nullptr;               // runtime image 1: the Build button, 32x32
  HICON groupIcons[kGroupCount] = {};  // task-pane groups, 32x32
  HICON menuNew = nullptr;             // menu and tool-bar pictures, 16x16
  HICON menuOpen = nullptr;
  HICON menuSaveAs = nullptr;  // also the Save tool-bar button
  HICON menuBuild = nullptr;
  HICON menuHelp = nullptr;
  HICON about48 = nullptr;  // the About window's picture
  HICON about32 = nullptr;
};

// Decodes the pictures carried by `module` (nullptr: this program). Runtime images 0 and
// 1 are replaced only by pictures that decode. Nothing is reported: a picture that is
// missing or damaged just leaves its entry 0.
BuiltinImages LoadBuiltinImages(HMODULE module = nullptr);

// Destroys the icons and frees runtime images 0 and 1 while they are still these
// pictures; every entry becomes 0.
void FreeBuiltinImages(BuiltinImages* images);

#endif
