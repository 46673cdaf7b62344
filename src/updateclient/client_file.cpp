#include "updateclient/client_file.h"

#include <windows.h>

#include "common/carried.h"
#include "common/failure_log.h"
#include "common/guid_text.h"
#include "common/path_split.h"
#include "common/scoped.h"
#include "common/whole_file.h"

// The build patches the image size into this slot after linking.
ZK_IMAGE_SIZE_SLOT(zk_client_image_size, 'Z', 'K', 'S', 'I', 'Z', 'E', '_', 'C');

namespace {

// The block is eleven short lines; a megabyte behind the image is no block of ours.
constexpr uint64_t kLargestBlock = 1u << 20;
constexpr DWORD kMoveRetryMs = 5;

bool ReadPart(HANDLE file, uint64_t offset, uint64_t limit, std::string* out) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
  out->clear();
  char buffer[64 * 1024];
  while (out->size() < limit) {
    DWORD want = static_cast<DWORD>(std::min<uint64_t>(sizeof(buffer), limit - out->size()));
    DWORD got = 0;
    if (!ReadFile(file, buffer, want, &got, nullptr)) return false;
    if (got == 0) break;
    out->append(buffer, got);
  }
  return true;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, n, &written, nullptr) || written != n) return false;
    done += n;
  }
  return true;
}

bool PlainFileName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:") == std::wstring::npos;
}

}  // namespace

uint64_t ClientImageSize() { return ImageSizeFromSlot(zk_client_image_size); }

bool ReadUpdaterSettings(const std::wstring& clientFile, uint64_t imageSize, UpdaterSettingsBlock* settings) {
  *settings = UpdaterSettingsBlock();
  if (imageSize == 0) return false;
  ScopedHandle file(CreateFileW(clientFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file || !ReadPart(file.get(), imageSize, kLargestBlock, &bytes)) return false;
  return DecodeUpdaterSettingsBlock(bytes, settings);
}

bool WriteClientFile(const std::wstring& clientFile, uint64_t imageSize, const UpdaterSettingsBlock& settings,
                     const std::wstring& target) {
  if (imageSize == 0 || !UpdaterSettingsBlockIsWritable(settings)) return false;
  std::string image;
  {
    ScopedHandle own(CreateFileW(clientFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    if (!own || !ReadPart(own.get(), 0, imageSize, &image) || image.size() != imageSize) return false;
  }
  bool ok;
  {
    ScopedHandle out(
        CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    ok = WriteAll(out.get(), image) && WriteAll(out.get(), EncodeUpdaterSettingsBlock(settings)) &&
         FlushFileBuffers(out.get());
  }
  if (!ok) DeleteFileW(target.c_str());
  return ok;
}

bool RebuildUpdateClient(const std::wstring& clientFile, uint64_t imageSize, UpdaterSettingsBlock settings,
                         const std::string& newVersion) {
  settings.version = newVersion;
  // Beside the client, not in TEMP: the move into its place stays on one volume, and the
  // copy never starts from a folder where anyone may have planted libraries.
  std::wstring folder = PathFolder(clientFile);
  std::wstring copy = folder + L"qd" + NewGuidText() + L".exe";
  if (!WriteClientFile(clientFile, imageSize, settings, copy)) {
    ReportFailure({"write the rebuilt client", copy.c_str(), GetLastError()});
    return false;
  }
  std::wstring commandLine = L"\"" + copy + L"\" /updateversion \"" + PathFileName(clientFile) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    ReportFailure({"start the rebuilt client", copy.c_str(), GetLastError()});
    DeleteFileW(copy.c_str());
    return false;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool TakeOldClientsPlace(const std::wstring& ownFile, const std::wstring& name, uint32_t waitMs) {
  bool moved = false;
  if (PlainFileName(name)) {
    std::wstring target = PathFolder(ownFile) + name;
    // The old client's file stays in place until the move replaces it: should the move
    // never succeed, the old client still works.
    DWORD start = GetTickCount();
    for (;;) {
      if (MoveFileExW(ownFile.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        moved = true;
        break;
      }
      if (GetTickCount() - start >= waitMs) break;
      Sleep(kMoveRetryMs);
    }
  }
  if (!moved) ReportFailure({"take the old client's place", name.c_str(), GetLastError()});
  if (!moved && !DeleteFileW(ownFile.c_str())) MoveFileExW(ownFile.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return moved;
}
