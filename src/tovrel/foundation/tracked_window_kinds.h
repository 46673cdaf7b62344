// Which windows the toolkit tracks, and the kind it records for each: decided from class
// names alone, so the rule is tested without creating windows.
#ifndef ZK_TOVREL_FOUNDATION_TRACKED_WINDOW_KINDS_H
#define ZK_TOVREL_FOUNDATION_TRACKED_WINDOW_KINDS_H

#include <windows.h>

#include <stdint.h>
#include <string>

namespace tovrel {

// Class names of the toolkit's own controls, set when each registers its class. Until
// then they are empty, and an empty name matches no window.
extern std::string PanelExClassName;
extern std::string PanelExPageClassName;
extern std::string DropShadowClassName;
extern std::string ScrollbarBoxClassName;

enum TrackedWindowKind : int32_t {
  kKindOther = 0,
  kKindPanelEx = 1,
  kKindPanelExPage = 2,
  kKindToolbar = 5,
  kKindComboBox = 6,
  kKindEdit = 7,
  kKindProgress = 8,
  kKindButton = 9,
  kKindContainer = 10,  // the runtime's container of controls
  kKindTabControl = 11,
  kKindGroupBox = 12,
  kKindComboEdit = 13,  // the edit field inside a combo box
};

// System and helper windows that are never subclassed: menus and their shadows, tool
// tips, input-method and clipboard helpers, and the toolkit's own shadow and corner box.
bool IsUntrackedClass(const std::string& className);

// The kind of a new window of `className` whose parent is of `parentClassName` ("" for
// none) and whose style is `style`.
int32_t TrackedWindowKindOf(const std::string& className, const std::string& parentClassName, LONG_PTR style);

}  // namespace tovrel

#endif
