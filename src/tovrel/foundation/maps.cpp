#include "tovrel/foundation/maps.h"

namespace tovrel {

std::string HandleKey(const void* handle) {
  const uint32_t low = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
  return std::to_string(static_cast<int32_t>(low));
}

std::string AddressKey(const void* address) {
  return std::to_string(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(address)));
}

ToolkitMap<uint32_t> ColourNameMap(512);
ToolkitMap<int32_t> SlicedImageValidMap(512);
ToolkitMap<SharedIcon> SharedIconMap(512);
ToolkitMap<HANDLE> SharedIconNameMap(512);
ToolkitMap<TrackedWindow> TrackedWindowMap(10000);
ToolkitMap<ToolkitList<ShortcutBinding>> ShortcutMap(512);

}  // namespace tovrel
