#include "tovrel/foundation/tracked_window_kinds.h"

#include "common/gui.h"

namespace tovrel {

std::string PanelExClassName;
std::string PanelExPageClassName;
std::string DropShadowClassName;
std::string ScrollbarBoxClassName;

namespace {

// The runtime names its classes in wide text; they are plain ASCII.
std::string NarrowAscii(const wchar_t* text) {
  std::string narrow;
  for (; *text; ++text) narrow += static_cast<char>(*text);
  return narrow;
}

bool SameNonEmpty(const std::string& a, const std::string& b) { return !b.empty() && a == b; }

}  // namespace

bool IsUntrackedClass(const std::string& className) {
  static const char* const kSystemClasses[] = {
      "#32768", "SysShadow", "tooltips_class32", "MSCTFIME UI", "CLIPBRDWNDCLASS",        "CicMarshalWndClass",
      "IME",    "ComboLBox", "DDEMLEvent",       "Message",     "GDI+ Hook Window Class", "Static",
  };
  for (const char* name : kSystemClasses) {
    if (className == name) return true;
  }
  return SameNonEmpty(className, DropShadowClassName) || SameNonEmpty(className, ScrollbarBoxClassName);
}

int32_t TrackedWindowKindOf(const std::string& className, const std::string& parentClassName, LONG_PTR style) {
  static const std::string kContainerClass = NarrowAscii(kRuntimeContainerClass);
  if (SameNonEmpty(className, PanelExClassName)) return kKindPanelEx;
  if (SameNonEmpty(className, PanelExPageClassName)) return kKindPanelExPage;
  if (className == "ToolbarWindow32") return kKindToolbar;
  if (className == "ComboBox") return kKindComboBox;
  if (className == "Edit") return parentClassName == "ComboBox" ? kKindComboEdit : kKindEdit;
  if (className == "msctls_progress32") return kKindProgress;
  if (className == "Button") return (style & BS_TYPEMASK) == BS_GROUPBOX ? kKindGroupBox : kKindButton;
  if (className == kContainerClass) return kKindContainer;
  if (className == "SysTabControl32") return kKindTabControl;
  return kKindOther;
}

}  // namespace tovrel
