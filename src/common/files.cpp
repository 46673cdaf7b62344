#include "common/files.h"

#include <windows.h>

#include <memory>
#include <string.h>

namespace {

struct FileRecord {
  HANDLE handle = INVALID_HANDLE_VALUE;
  // Bytes read ahead from the system; the unread ones are buffer[start, end). The
  // system's file pointer therefore stands end - start bytes ahead of the caller's.
  std::unique_ptr<char[]> buffer;
  size_t start = 0;
  size_t end = 0;
};

void ReleaseFile(FileRecord& f) {
  if (f.handle != INVALID_HANDLE_VALUE) CloseHandle(f.handle);
  f.handle = INVALID_HANDLE_VALUE;
}

// Automatic numbers start above the small fixed numbers the programs choose themselves.
// The table is never destroyed: a thread still reading while the process ends must not
// meet a destroyed table, and the system closes the handles at process end anyway
// (nothing is lost, writes are not buffered).
ObjectTable<FileRecord>& Files() {
  static ObjectTable<FileRecord>* table = new ObjectTable<FileRecord>(ReleaseFile, 10000);
  return *table;
}

intptr_t AddFile(int number, HANDLE h, bool atEnd) {
  if (h == INVALID_HANDLE_VALUE) return 0;
  if (atEnd) {
    LARGE_INTEGER zero{};
    SetFilePointerEx(h, zero, nullptr, FILE_END);
  }
  FileRecord rec;
  rec.handle = h;
  int used = 0;
  if (!Files().Add(number, std::move(rec), &used)) return 0;
  return CreateAnswer(number, used, reinterpret_cast<intptr_t>(h));
}

struct OpenMode {
  DWORD access;
  DWORD share;
  DWORD disposition;
  bool atEnd;
};

const OpenMode kRead = {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, false};
const OpenMode kCreate = {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, false};
const OpenMode kAppend = {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, true};

intptr_t Open(int number, const std::string& path, const OpenMode& m) {
  if (!Files().PrepareNumber(number)) return 0;
  HANDLE h = CreateFileA(path.c_str(), m.access, m.share, nullptr, m.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return AddFile(number, h, m.atEnd);
}

intptr_t Open(int number, const std::wstring& path, const OpenMode& m) {
  if (!Files().PrepareNumber(number)) return 0;
  HANDLE h = CreateFileW(path.c_str(), m.access, m.share, nullptr, m.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return AddFile(number, h, m.atEnd);
}

// Makes sure unread bytes are in the buffer; false at the end of the file.
bool Fill(FileRecord& f) {
  if (f.start < f.end) return true;
  if (!f.buffer) f.buffer.reset(new char[kFileReadBufferSize]);
  f.start = f.end = 0;
  DWORD got = 0;
  if (!ReadFile(f.handle, f.buffer.get(), static_cast<DWORD>(kFileReadBufferSize), &got, nullptr)) return false;
  f.end = got;
  return got != 0;
}

// Moves the system's file pointer back to the caller's position and forgets what was
// read ahead; needed before writing or seeking.
void DropReadAhead(FileRecord& f) {
  if (f.end > f.start) {
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(f.end - f.start);
    SetFilePointerEx(f.handle, back, nullptr, FILE_CURRENT);
  }
  f.start = f.end = 0;
}

bool WriteAll(FileRecord& f, const void* data, size_t count) {
  DropReadAhead(f);
  const char* p = static_cast<const char*>(data);
  while (count > 0) {
    DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
    DWORD done = 0;
    if (!WriteFile(f.handle, p, chunk, &done, nullptr) || done == 0) return false;
    p += done;
    count -= done;
  }
  return true;
}

size_t ReadSome(FileRecord& f, void* data, size_t count) {
  char* out = static_cast<char*>(data);
  size_t total = 0;
  while (total < count) {
    if (f.start < f.end) {
      size_t n = f.end - f.start;
      if (n > count - total) n = count - total;
      memcpy(out + total, f.buffer.get() + f.start, n);
      f.start += n;
      total += n;
    } else if (count - total >= kFileReadBufferSize) {
      // Large reads go straight to the caller's memory.
      size_t want = count - total;
      DWORD chunk = want > 0x40000000 ? 0x40000000 : static_cast<DWORD>(want);
      DWORD got = 0;
      if (!ReadFile(f.handle, out + total, chunk, &got, nullptr) || got == 0) break;
      total += got;
    } else if (!Fill(f)) {
      break;
    }
  }
  return total;
}

std::string ReadLine(FileRecord& f) {
  std::string line;
  while (Fill(f)) {
    const char* b = f.buffer.get();
    size_t i = f.start;
    while (i < f.end && b[i] != '\r' && b[i] != '\n') ++i;
    line.append(b + f.start, i - f.start);
    if (i == f.end) {
      f.start = f.end;
      continue;
    }
    char terminator = b[i];
    f.start = i + 1;
    // The LF of a CR LF may be the first byte of the next fill.
    if (terminator == '\r' && Fill(f) && f.buffer[f.start] == '\n') ++f.start;
    return line;
  }
  return line;
}

template <typename F>
int WithFile(int number, F&& fn) {
  int result = 0;
  Files().With(number, [&](FileRecord& f) { result = fn(f); });
  return result;
}

int WriteLittleEndian(int number, uint64_t value, int bytes) {
  unsigned char raw[8];
  for (int i = 0; i < bytes; ++i) raw[i] = static_cast<unsigned char>(value >> (8 * i));
  return FileWriteBytes(number, raw, static_cast<size_t>(bytes));
}

bool ReadLittleEndian(int number, uint64_t* value, int bytes) {
  unsigned char raw[8];
  if (FileReadBytes(number, raw, static_cast<size_t>(bytes)) != static_cast<size_t>(bytes)) return false;
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | raw[i];
  *value = v;
  return true;
}

int64_t SizeFromAttributes(BOOL found, const WIN32_FILE_ATTRIBUTE_DATA& data) {
  if (!found) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -2;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

intptr_t FileOpenRead(int number, const std::string& path) { return Open(number, path, kRead); }
intptr_t FileOpenRead(int number, const std::wstring& path) { return Open(number, path, kRead); }
intptr_t FileCreate(int number, const std::string& path) { return Open(number, path, kCreate); }
intptr_t FileCreate(int number, const std::wstring& path) { return Open(number, path, kCreate); }
intptr_t FileOpenAppend(int number, const std::string& path) { return Open(number, path, kAppend); }
intptr_t FileOpenAppend(int number, const std::wstring& path) { return Open(number, path, kAppend); }

int FileClose(int number) { return Files().Free(number) ? 1 : 0; }

void FileCloseAll() { Files().FreeAll(); }

std::string FileReadLine(int number) {
  std::string line;
  Files().With(number, [&](FileRecord& f) { line = ReadLine(f); });
  return line;
}

int FileEof(int number) {
  int eof = 1;
  Files().With(number, [&](FileRecord& f) { eof = Fill(f) ? 0 : 1; });
  return eof;
}

int FileWriteBytes(int number, const void* data, size_t count) {
  return WithFile(number, [&](FileRecord& f) { return WriteAll(f, data, count) ? 1 : 0; });
}

int FileWriteText(int number, const std::string& text) { return FileWriteBytes(number, text.data(), text.size()); }

int FileWriteLine(int number, const std::string& text) {
  // One write for text and terminator, so a line never reaches the disk half-written.
  std::string line = text;
  line += "\r\n";
  return FileWriteBytes(number, line.data(), line.size());
}

int FileWriteInt32(int number, int32_t value) { return WriteLittleEndian(number, static_cast<uint32_t>(value), 4); }

int FileWriteInt64(int number, int64_t value) { return WriteLittleEndian(number, static_cast<uint64_t>(value), 8); }

size_t FileReadBytes(int number, void* data, size_t count) {
  size_t got = 0;
  Files().With(number, [&](FileRecord& f) { got = ReadSome(f, data, count); });
  return got;
}

int FileReadInt32(int number, int32_t* value) {
  uint64_t v = 0;
  if (!ReadLittleEndian(number, &v, 4)) return 0;
  *value = static_cast<int32_t>(static_cast<uint32_t>(v));
  return 1;
}

int FileReadInt64(int number, int64_t* value) {
  uint64_t v = 0;
  if (!ReadLittleEndian(number, &v, 8)) return 0;
  *value = static_cast<int64_t>(v);
  return 1;
}

int64_t FileLength(int number) {
  int64_t length = 0;
  Files().With(number, [&](FileRecord& f) {
    LARGE_INTEGER size;
    if (GetFileSizeEx(f.handle, &size)) length = size.QuadPart;
  });
  return length;
}

int64_t FilePosition(int number) {
  int64_t position = 0;
  Files().With(number, [&](FileRecord& f) {
    LARGE_INTEGER zero{}, now{};
    if (SetFilePointerEx(f.handle, zero, &now, FILE_CURRENT))
      position = now.QuadPart - static_cast<int64_t>(f.end - f.start);
  });
  return position;
}

int FileSeek(int number, int64_t position) {
  if (position < 0) return 0;
  return WithFile(number, [&](FileRecord& f) {
    f.start = f.end = 0;
    LARGE_INTEGER to;
    to.QuadPart = position;
    return SetFilePointerEx(f.handle, to, nullptr, FILE_BEGIN) ? 1 : 0;
  });
}

int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  BOOL found = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return SizeFromAttributes(found, data);
}

int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  BOOL found = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return SizeFromAttributes(found, data);
}
