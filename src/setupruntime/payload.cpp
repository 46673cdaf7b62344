#include "setupruntime/payload.h"

#include <windows.h>
#include <setupapi.h>

#include "common/carried.h"
#include "common/files.h"
#include "common/path_split.h"
#include "setupruntime/work_folder.h"
#include "setupruntime/zip_reader.h"

// The one slot of the program: the build writes the image size into it after linking.
ZK_IMAGE_SIZE_SLOT(zk_setup_image_size, 'Z', 'K', 'S', 'I', 'Z', 'E', '_', 'S');

uint64_t SetupImageSize() { return ImageSizeFromSlot(zk_setup_image_size); }

namespace {

// Copies count bytes from one open file to another, in blocks.
bool CopyBytes(int from, int to, uint64_t count) {
  std::vector<char> block(64 * 1024);
  while (count > 0) {
    size_t want = count < block.size() ? static_cast<size_t>(count) : block.size();
    if (FileReadBytes(from, block.data(), want) != want) return false;
    if (!FileWriteBytes(to, block.data(), want)) return false;
    count -= want;
  }
  return true;
}

struct ExtractContext {
  std::wstring destination;
  std::vector<std::wstring>* skipped;
};

UINT CALLBACK CabinetFileCallback(PVOID context, UINT notification, UINT_PTR param1, UINT_PTR) {
  if (notification != SPFILENOTIFY_FILEINCABINET) return NO_ERROR;
  ExtractContext* c = static_cast<ExtractContext*>(context);
  FILE_IN_CABINET_INFO_W* info = reinterpret_cast<FILE_IN_CABINET_INFO_W*>(param1);
  std::wstring name = info->NameInCabinet ? info->NameInCabinet : L"";
  std::wstring target = c->destination + name;
  // A truncated target name would write somewhere else than the cabinet says.
  if (!IsSafeCabinetName(name) || target.size() >= MAX_PATH) {
    if (c->skipped) c->skipped->push_back(name);
    return FILEOP_SKIP;
  }
  std::wstring folder = PathFolder(target);
  if (!folder.empty()) CreateFolderPath(folder);
  lstrcpynW(info->FullTargetName, target.c_str(), MAX_PATH);
  return FILEOP_DOIT;
}

}  // namespace

int CopyPayloadCabinet(const std::wstring& setupPath, uint64_t imageSize, const std::wstring& cabinetPath) {
  int in = static_cast<int>(FileOpenRead(kAnyNumber, setupPath));
  if (in == 0) return kPayloadCannotOpen;
  int64_t length = FileLength(in);
  int64_t n = 0;
  // Every bound is checked by subtraction, so a huge N cannot wrap around.
  bool sound = length >= 0 && imageSize <= static_cast<uint64_t>(length) &&
               static_cast<uint64_t>(length) - imageSize >= 8 && FileSeek(in, static_cast<int64_t>(imageSize)) &&
               FileReadInt64(in, &n) && n > 0 &&
               static_cast<uint64_t>(n) <= static_cast<uint64_t>(length) - imageSize - 8;
  if (!sound) {
    FileClose(in);
    return kPayloadDamaged;
  }
  int out = static_cast<int>(FileCreate(kAnyNumber, cabinetPath));
  if (out == 0) {
    DWORD error = GetLastError();
    FileClose(in);
    SetLastError(error);
    return kPayloadCannotWrite;
  }
  bool copied = CopyBytes(in, out, static_cast<uint64_t>(n));
  DWORD error = GetLastError();
  FileClose(out);
  FileClose(in);
  if (!copied) {
    DeleteFileW(cabinetPath.c_str());
    SetLastError(error);
    return kPayloadCannotWrite;
  }
  return kPayloadOk;
}

ZipWindow PayloadArchiveWindow(const std::wstring& setupPath, uint64_t imageSize) {
  ZipWindow window;
  window.length = 0;
  int in = static_cast<int>(FileOpenRead(kAnyNumber, setupPath));
  if (in == 0) return window;
  int64_t fileLength = FileLength(in);
  uint64_t length = fileLength < 0 ? 0 : static_cast<uint64_t>(fileLength);
  int64_t n = 0;
  unsigned char field[4] = {};
  // Every bound is checked by subtraction, so a huge N cannot wrap around.
  bool sound = imageSize <= length && length - imageSize >= 8 && FileSeek(in, static_cast<int64_t>(imageSize)) &&
               FileReadInt64(in, &n) && n >= 0 && static_cast<uint64_t>(n) <= length - imageSize - 8;
  if (sound) {
    window.start = imageSize + 8 + static_cast<uint64_t>(n);
    window.length = length - window.start;
    if (window.length >= 4 && FileSeek(in, static_cast<int64_t>(length - 4)) && FileReadBytes(in, field, 4) == 4) {
      uint32_t stored = field[0] | (field[1] << 8) | (field[2] << 16) | (static_cast<uint32_t>(field[3]) << 24);
      uint64_t archive = window.length - 4;
      bool large = archive >= 0xFFFFFFFFull;
      if (large ? stored == 0xFFFFFFFFu : stored == archive) window.length = archive;
    }
  }
  FileClose(in);
  return window;
}

int IsSafeCabinetName(const std::wstring& name) {
  // The archive's rule, so that "...\" or ".. \" (read by the system as the parent folder)
  // cannot leave the work folder either; only the empty name, the archive's folder
  // itself, is no file here.
  return !name.empty() && IsSafeEntryName(name);
}

int ExtractCabinet(const std::wstring& cabinet, const std::wstring& destination, std::vector<std::wstring>* skipped) {
  ExtractContext context{destination, skipped};
  return SetupIterateCabinetW(cabinet.c_str(), 0, CabinetFileCallback, &context) ? 1 : 0;
}
