#include "app/builtin_images.h"

#include <stddef.h>
#include <stdint.h>

#include "app/resources.h"
#include "common/images.h"
#include "common/resource_data.h"

namespace {

HICON IconResource(HMODULE module, int id, int size) {
  const void* data = nullptr;
  size_t bytes = 0;
  if (!RcDataResource(module, id, &data, &bytes)) return nullptr;
  return DecodeIcon(data, bytes, size, size);
}

// Puts the resource under runtime image `number`; its handle, or 0. A resource that is
// missing leaves whatever image holds the number alone.
HANDLE RuntimeImageResource(HMODULE module, int id, int number) {
  const void* data = nullptr;
  size_t bytes = 0;
  if (!RcDataResource(module, id, &data, &bytes)) return nullptr;
  if (!CatchRuntimeImage(number, data, bytes)) return nullptr;
  return RuntimeImageHandle(number);
}

void Destroy(HICON* icon) {
  if (*icon) DestroyIcon(*icon);
  *icon = nullptr;
}

}  // namespace

BuiltinImages LoadBuiltinImages(HMODULE module) {
  if (!module) module = GetModuleHandleA(nullptr);
  BuiltinImages images;

  HANDLE preview = RuntimeImageResource(module, ZK_RES_PREVIEW_JPEG, 0);
  if (preview && !RuntimeImageIsIcon(0)) images.preview = static_cast<HBITMAP>(preview);
  HANDLE build = RuntimeImageResource(module, ZK_RES_BUILD_ICON, 1);
  if (build && RuntimeImageIsIcon(1)) images.build = static_cast<HICON>(build);

  static const int kGroupIds[kGroupCount] = {ZK_RES_GROUP_GENERAL_ICON, ZK_RES_GROUP_SETUP_ICON,
                                             ZK_RES_GROUP_DIALOGS_ICON, ZK_RES_GROUP_BUILD_ICON,
                                             ZK_RES_GROUP_SYSTEM_ICON};
  for (int i = 0; i < kGroupCount; ++i) images.groupIcons[i] = IconResource(module, kGroupIds[i], 32);

  images.menuNew = IconResource(module, ZK_RES_MENU_NEW_ICON, 16);
  images.menuOpen = IconResource(module, ZK_RES_MENU_OPEN_ICON, 16);
  images.menuSaveAs = IconResource(module, ZK_RES_MENU_SAVEAS_ICON, 16);
  images.menuBuild = IconResource(module, ZK_RES_MENU_BUILD_ICON, 16);
  images.menuHelp = IconResource(module, ZK_RES_MENU_HELP_ICON, 16);
  images.about48 = IconResource(module, ZK_RES_ABOUT_ICON, 48);
  images.about32 = IconResource(module, ZK_RES_ABOUT_ICON, 32);
  return images;
}

void FreeBuiltinImages(BuiltinImages* images) {
  // Images 0 and 1 may have been replaced since; only our own pictures are freed.
  if (images->preview && RuntimeImageHandle(0) == images->preview) FreeRuntimeImage(0);
  if (images->build && RuntimeImageHandle(1) == images->build) FreeRuntimeImage(1);
  images->preview = nullptr;
  images->build = nullptr;
  for (HICON& icon : images->groupIcons) Destroy(&icon);
  Destroy(&images->menuNew);
  Destroy(&images->menuOpen);
  Destroy(&images->menuSaveAs);
  Destroy(&images->menuBuild);
  Destroy(&images->menuHelp);
  Destroy(&images->about48);
  Destroy(&images->about32);
}
