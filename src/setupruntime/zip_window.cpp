#include "setupruntime/zip_window.h"

#include <windows.h>

#include <string.h>

#include <vector>

#include "common/scoped.h"

namespace {

// minizip reads the directory a few bytes at a time; served from one block, a directory
// of tens of thousands of entries takes a few system calls instead of millions.
constexpr size_t kBlockSize = 64 * 1024;

struct WindowStream {
  HANDLE h = INVALID_HANDLE_VALUE;
  uint64_t start = 0;  // the window in the file
  uint64_t length = 0;
  uint64_t pos = 0;  // from the window's start
  std::vector<char> block = std::vector<char>(kBlockSize);
  uint64_t blockAt = 0;  // from the window's start
  size_t blockFilled = 0;
  bool failed = false;
};

bool ReadAt(WindowStream* s, uint64_t at, void* data, DWORD count) {
  OVERLAPPED where{};
  uint64_t offset = s->start + at;
  where.Offset = static_cast<DWORD>(offset);
  where.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (ReadFile(s->h, data, count, &got, &where) && got == count) return true;
  s->failed = true;
  return false;
}

voidpf ZCALLBACK OpenWindow(voidpf opaque, const void* filename, int mode) {
  const ZipWindow* window = static_cast<const ZipWindow*>(opaque);
  if (filename == nullptr || (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  ScopedHandle h(CreateFileW(static_cast<const wchar_t*>(filename), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return nullptr;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size) || static_cast<uint64_t>(size.QuadPart) < window->start) return nullptr;
  WindowStream* s = new WindowStream;
  // The stream owns it from here; minizip closes it through CloseWindow.
  s->h = h.release();
  s->start = window->start;
  uint64_t rest = static_cast<uint64_t>(size.QuadPart) - window->start;
  s->length = window->length < rest ? window->length : rest;
  return s;
}

uLong ZCALLBACK ReadWindow(voidpf, voidpf stream, void* buf, uLong size) {
  WindowStream* s = static_cast<WindowStream*>(stream);
  if (s->pos >= s->length) return 0;
  uint64_t left = s->length - s->pos;
  uLong want = left < size ? static_cast<uLong>(left) : size;
  char* out = static_cast<char*>(buf);
  uLong done = 0;
  while (done < want) {
    uLong rest = want - done;
    if (s->pos >= s->blockAt && s->pos < s->blockAt + s->blockFilled) {
      size_t from = static_cast<size_t>(s->pos - s->blockAt);
      size_t n = s->blockFilled - from < rest ? s->blockFilled - from : rest;
      memcpy(out + done, s->block.data() + from, n);
      done += static_cast<uLong>(n);
      s->pos += n;
    } else if (rest >= kBlockSize) {
      // Entry data comes in large reads that would gain nothing from the block.
      if (!ReadAt(s, s->pos, out + done, rest)) break;
      done += rest;
      s->pos += rest;
    } else {
      uint64_t available = s->length - s->pos;
      DWORD n = available < kBlockSize ? static_cast<DWORD>(available) : static_cast<DWORD>(kBlockSize);
      s->blockFilled = 0;
      if (!ReadAt(s, s->pos, s->block.data(), n)) break;
      s->blockAt = s->pos;
      s->blockFilled = n;
    }
  }
  return done;
}

uLong ZCALLBACK WriteWindow(voidpf, voidpf stream, const void*, uLong) {
  static_cast<WindowStream*>(stream)->failed = true;
  return 0;
}

ZPOS64_T ZCALLBACK TellWindow(voidpf, voidpf stream) { return static_cast<WindowStream*>(stream)->pos; }

long ZCALLBACK SeekWindow(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  WindowStream* s = static_cast<WindowStream*>(stream);
  uint64_t base = 0;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
    base = s->pos;
  } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
    base = s->length;
  } else if (origin != ZLIB_FILEFUNC_SEEK_SET) {
    return -1;
  }
  // Nothing outside the window is ever read, however the archive's offsets point.
  if (offset > s->length || base > s->length - offset) return -1;
  s->pos = base + offset;
  return 0;
}

int ZCALLBACK CloseWindow(voidpf, voidpf stream) {
  WindowStream* s = static_cast<WindowStream*>(stream);
  int result = CloseHandle(s->h) ? 0 : -1;
  delete s;
  return result;
}

int ZCALLBACK WindowError(voidpf, voidpf stream) { return static_cast<WindowStream*>(stream)->failed ? 1 : 0; }

}  // namespace

void FillZipWindowFuncs(zlib_filefunc64_def* funcs, const ZipWindow* window) {
  funcs->zopen64_file = OpenWindow;
  funcs->zread_file = ReadWindow;
  funcs->zwrite_file = WriteWindow;
  funcs->ztell64_file = TellWindow;
  funcs->zseek64_file = SeekWindow;
  funcs->zclose_file = CloseWindow;
  funcs->zerror_file = WindowError;
  funcs->opaque = const_cast<ZipWindow*>(window);
}

bool ReadZipWindowBytes(const std::wstring& file, const ZipWindow& window, uint64_t offset, void* data,
                        unsigned count) {
  void* stream = OpenWindow(const_cast<ZipWindow*>(&window), file.c_str(), ZLIB_FILEFUNC_MODE_READ);
  if (stream == nullptr) return false;
  bool ok = SeekWindow(nullptr, stream, offset, ZLIB_FILEFUNC_SEEK_SET) == 0 &&
            ReadWindow(nullptr, stream, data, count) == count;
  CloseWindow(nullptr, stream);
  return ok;
}
