// The setup executable: the runtime image, then the cabinet behind its 64-bit length, then
// the program archive and its 32-bit length. The runtime finds the cabinet length at the
// fixed offset of its own image size; the archive starts right after the cabinet.
#include "builder/resource_files.h"
#include "common/scoped.h"
#include "common/whole_file.h"

#include <windows.h>

#include <stdint.h>

#include <functional>
#include <vector>

namespace {

const char kCannotCreate[] = "Error: Could not create setup file.";

// Data goes out in chunks of this size, and a stop request is looked at before each.
constexpr size_t kChunk = 0x100000;

// The file being written and the caller's stop request.
struct SetupWriter {
  HANDLE out;
  const std::function<bool()>& mustStop;
  bool stopped = false;

  bool Stop() {
    if (!stopped && mustStop && mustStop()) stopped = true;
    return stopped;
  }
};

bool WriteAll(SetupWriter* w, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    if (w->Stop()) return false;
    DWORD chunk = size > kChunk ? static_cast<DWORD>(kChunk) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(w->out, p, chunk, &written, nullptr) || written != chunk) return false;
    p += chunk;
    size -= chunk;
  }
  return true;
}

ScopedHandle OpenForReading(const std::string& path, uint64_t* size) {
  ScopedHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER length;
  if (h && !GetFileSizeEx(h.get(), &length)) h.reset();
  if (h) *size = static_cast<uint64_t>(length.QuadPart);
  return h;
}

// Copies exactly size bytes; a source that is shorter than it said is an error.
bool CopyExactly(SetupWriter* w, HANDLE from, uint64_t size) {
  std::vector<char> buffer(kChunk);
  while (size > 0) {
    DWORD want = size > buffer.size() ? static_cast<DWORD>(buffer.size()) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), want, &got, nullptr) || got != want) return false;
    if (!WriteAll(w, buffer.data(), got)) return false;
    size -= got;
  }
  return true;
}

// The payload after the image. The cabinet is required: the runtime reads its length at a
// fixed offset, so a setup without one would take the archive's first bytes for it.
bool WritePayload(SetupWriter* w, const std::string& cabinetPath, const std::string& archivePath, std::string* error) {
  uint64_t cabinetSize = 0;
  ScopedHandle cabinet = OpenForReading(cabinetPath, &cabinetSize);
  if (!cabinet || cabinetSize == 0) {
    *error = "Error: Could not read the setup cabinet.";
    return false;
  }
  unsigned char length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(cabinetSize >> (8 * i));
  bool ok = WriteAll(w, length, 8) && CopyExactly(w, cabinet.get(), cabinetSize);
  cabinet.reset();
  if (!ok) return false;

  uint64_t archiveSize = 0;
  ScopedHandle archive = OpenForReading(archivePath, &archiveSize);
  if (!archive) return false;
  ok = CopyExactly(w, archive.get(), archiveSize);
  archive.reset();
  // The field has 32 bits; an archive of 4 GB or more is marked with all bits set, which
  // tells the runtime to take the archive as running up to this field.
  uint64_t field = archiveSize >= 0xFFFFFFFFull ? 0xFFFFFFFFull : archiveSize;
  for (int i = 0; i < 4; ++i) length[i] = static_cast<unsigned char>(field >> (8 * i));
  return ok && WriteAll(w, length, 4);
}

}  // namespace

int WriteSetupExecutable(const std::string& path, const std::string& runtimeImage, const std::string& cabinetPath,
                         const std::string& archivePath, std::string* error, const std::function<bool()>& mustStop) {
  std::string message = kCannotCreate;
  bool stopped = false;
  // The old setup stays whole until the new one is complete; a stopped write leaves only
  // the old one, never a setup that looks finished.
  bool ok = !runtimeImage.empty() && !path.empty() && WriteReplacing(path, "zks", [&](const std::string& temp) {
    ScopedHandle out(
        CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    SetupWriter w{out.get(), mustStop};
    bool written = WriteAll(&w, runtimeImage.data(), runtimeImage.size()) &&
                   WritePayload(&w, cabinetPath, archivePath, &message) && FlushFileBuffers(out.get()) && !w.Stop();
    stopped = w.stopped;
    return out.reset() && written;
  });
  if (stopped) return kSetupCancelled;
  if (!ok && error) *error = message;
  return ok ? 1 : 0;
}
