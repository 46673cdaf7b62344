// The setup executable: the runtime image, then the cabinet behind its 64-bit length, then
// the program archive and its 32-bit length. The runtime finds the cabinet length at the
// fixed offset of its own image size and the archive through the ZIP directory at the end.
#include "builder/resource_files.h"
#include "builder/write_replacing.h"

#include <windows.h>

#include <stdint.h>

#include <vector>

namespace {

const char kCannotCreate[] = "Error: Could not create setup file.";

bool WriteAll(HANDLE file, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
    p += chunk;
    size -= chunk;
  }
  return true;
}

HANDLE OpenForReading(const std::string& path, uint64_t* size) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  LARGE_INTEGER length;
  if (h != INVALID_HANDLE_VALUE && !GetFileSizeEx(h, &length)) {
    CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
  if (h != INVALID_HANDLE_VALUE) *size = static_cast<uint64_t>(length.QuadPart);
  return h;
}

// Copies exactly size bytes; a source that is shorter than it said is an error.
bool CopyExactly(HANDLE from, HANDLE to, uint64_t size) {
  std::vector<char> buffer(1 << 20);
  while (size > 0) {
    DWORD want = size > buffer.size() ? static_cast<DWORD>(buffer.size()) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), want, &got, nullptr) || got != want) return false;
    if (!WriteAll(to, buffer.data(), got)) return false;
    size -= got;
  }
  return true;
}

// The payload after the image. The cabinet is required: the runtime reads its length at a
// fixed offset, so a setup without one would take the archive's first bytes for it.
bool WritePayload(HANDLE out, const std::string& cabinetPath, const std::string& archivePath, std::string* error) {
  uint64_t cabinetSize = 0;
  HANDLE cabinet = OpenForReading(cabinetPath, &cabinetSize);
  if (cabinet == INVALID_HANDLE_VALUE || cabinetSize == 0) {
    if (cabinet != INVALID_HANDLE_VALUE) CloseHandle(cabinet);
    *error = "Error: Could not read the setup cabinet.";
    return false;
  }
  unsigned char length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(cabinetSize >> (8 * i));
  bool ok = WriteAll(out, length, 8) && CopyExactly(cabinet, out, cabinetSize);
  CloseHandle(cabinet);
  if (!ok) return false;

  uint64_t archiveSize = 0;
  HANDLE archive = OpenForReading(archivePath, &archiveSize);
  if (archive == INVALID_HANDLE_VALUE) return false;
  ok = CopyExactly(archive, out, archiveSize);
  CloseHandle(archive);
  // Only the low 32 bits fit; the runtime locates the archive without this field.
  for (int i = 0; i < 4; ++i) length[i] = static_cast<unsigned char>(archiveSize >> (8 * i));
  return ok && WriteAll(out, length, 4);
}

}  // namespace

int WriteSetupExecutable(const std::string& path, const std::string& runtimeImage, const std::string& cabinetPath,
                         const std::string& archivePath, std::string* error) {
  std::string message = kCannotCreate;
  // The old setup stays whole until the new one is complete.
  bool ok = !runtimeImage.empty() && !path.empty() && WriteReplacing(path, "zks", [&](const std::string& temp) {
    HANDLE out = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    bool written = WriteAll(out, runtimeImage.data(), runtimeImage.size()) &&
                   WritePayload(out, cabinetPath, archivePath, &message) && FlushFileBuffers(out);
    return CloseHandle(out) && written;
  });
  if (!ok && error) *error = message;
  return ok ? 1 : 0;
}
