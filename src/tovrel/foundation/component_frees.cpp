#include "tovrel/foundation/component_frees.h"

#include "tovrel/foundation/debug_log.h"

namespace tovrel {

namespace {

ComponentFreeFunction gFrees[COMPONENT_COUNT] = {};

const char* const kFreedLines[COMPONENT_COUNT] = {
    "freed rebars",       "freed toolbars",    "freed buttons", "freed menus",
    "freed textcontrols", "freed splitterexs", "freed panels",
};

}  // namespace

void SetComponentFree(ToolkitComponent component, ComponentFreeFunction free) {
  if (component >= 0 && component < COMPONENT_COUNT) gFrees[component] = free;
}

void FreeEveryComponent() {
  for (int c = 0; c < COMPONENT_COUNT; ++c) {
    if (gFrees[c]) gFrees[c](-1);
    WriteDebugLog(kFreedLines[c]);
  }
}

}  // namespace tovrel
