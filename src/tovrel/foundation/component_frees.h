// How the toolkit's shutdown reaches the controls built above the foundation: each kind
// of control hands over its free operation when it makes its first record, and shutdown
// frees every kind in a fixed order.
#ifndef ZK_TOVREL_FOUNDATION_COMPONENT_FREES_H
#define ZK_TOVREL_FOUNDATION_COMPONENT_FREES_H

#include <stdint.h>

namespace tovrel {

// In the order shutdown frees them.
enum ToolkitComponent {
  COMPONENT_REBAR,
  COMPONENT_TOOLBAR,
  COMPONENT_BUTTONEX,
  COMPONENT_MENU,
  COMPONENT_TEXTCONTROL,
  COMPONENT_SPLITTEREX,
  COMPONENT_PANELEX,
  COMPONENT_COUNT
};

// Frees one record, or every record with -1.
using ComponentFreeFunction = int (*)(intptr_t which);

void SetComponentFree(ToolkitComponent component, ComponentFreeFunction free);

// Frees every record of every kind, in the enum's order, each kind followed by its line
// in the debug log ("freed rebars", ...). A kind that never registered has nothing to free.
void FreeEveryComponent();

}  // namespace tovrel

#endif
