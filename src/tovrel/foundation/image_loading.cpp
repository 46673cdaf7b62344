#include "tovrel/foundation/image_loading.h"

#include <commctrl.h>

#include "common/images.h"
#include "tovrel/foundation/image_effects.h"
#include "tovrel/foundation/maps.h"

namespace tovrel {

std::string ImageFolder;

namespace {

bool FileHasData(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

// A copy of the runtime image's bitmap that belongs to us: opacity 255 and no adjustment
// copy the pixels as they are.
HANDLE TakeBitmap(HANDLE bitmap) { return MakeDisabledImage(bitmap, 255.0f, 0, 0, 0, 0, 0); }

// Decodes the file with the runtime's decoders, scaled when a size is asked for; the
// runtime's numbered image is freed again, only our own handle comes back.
HANDLE LoadWithDecoders(const std::string& path, int width, int height, int flags) {
  intptr_t number = LoadRuntimeImage(-1, path);
  if (!number) return nullptr;
  int image = static_cast<int>(number);
  if (width != 0 || height != 0) {
    if (width == 0) width = RuntimeImageWidth(image);
    if (height == 0) height = RuntimeImageHeight(image);
    if (width != RuntimeImageWidth(image) || height != RuntimeImageHeight(image))
      ResizeRuntimeImage(image, width, height);
  }
  HANDLE handle = RuntimeImageHandle(image);
  HANDLE result = nullptr;
  if (RuntimeImageIsIcon(image))
    result = CopyImage(handle, IMAGE_ICON, 0, 0, 0);
  else if (flags & kLoadAsIcon)
    result = ConvertBitmapToIcon(static_cast<HBITMAP>(handle));
  else
    result = TakeBitmap(handle);
  FreeRuntimeImage(image);
  return result;
}

}  // namespace

int SetImageFolder(const std::string& folder) {
  ImageFolder = folder;
  if (ImageFolder.empty() || ImageFolder.back() != '\\') ImageFolder += '\\';
  return 1;
}

HANDLE LoadToolkitImage(const std::string& name, int width, int height, int flags) {
  if (flags & kLoadShared) {
    if (HANDLE* cached = SharedIconNameMap.Find(name)) {
      if (SharedIcon* record = SharedIconMap.Find(HandleKey(*cached))) ++record->referenceCount;
      return *cached;
    }
  }
  std::string path = ImageFolder + name;
  if (!FileHasData(path)) return nullptr;
  HANDLE result = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, width, height, LR_LOADFROMFILE);
  if (!result) result = LoadWithDecoders(path, width, height, flags);
  if (result && (flags & kLoadShared)) {
    SharedIcon& record = SharedIconMap.Add(HandleKey(result));
    record.referenceCount = 0;
    record.imageList = nullptr;
    record.fileName = name;
    SharedIconNameMap.Add(name) = result;
  }
  return result;
}

BOOL ReleaseSharedIcon(HANDLE image) {
  std::string key = HandleKey(image);
  if (SharedIcon* record = SharedIconMap.Find(key)) {
    if (record->referenceCount > 0) {
      --record->referenceCount;
      return TRUE;
    }
    if (record->imageList) ImageList_Destroy(record->imageList);
    SharedIconNameMap.Delete(record->fileName);
    SharedIconMap.Delete(key);
  }
  // A bitmap is a GDI object; anything else is taken for an icon.
  if (GetObjectType(image) == OBJ_BITMAP) return DeleteObject(image);
  return DestroyIcon(static_cast<HICON>(image));
}

}  // namespace tovrel
