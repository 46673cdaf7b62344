#include "tovrel/frame/object_numbers.h"

namespace tovrel {

namespace {
intptr_t nextObjectNumber = 10000;
int32_t nextCommandId = 65534;
}  // namespace

intptr_t AllocateObjectNumber() { return nextObjectNumber++; }

int32_t AllocateCommandId() {
  // After 65534 ids the count starts again rather than reaching 0 or going negative.
  if (nextCommandId < 1) nextCommandId = 65534;
  return nextCommandId--;
}

}  // namespace tovrel
