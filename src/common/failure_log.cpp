#include "common/failure_log.h"

#include <string.h>

#include "common/scoped.h"
#include "common/text.h"

namespace {

// The line is put together in a fixed buffer: the programs that end users download carry
// this code, and a buffer needs no allocation and no cleanup on the way. A line longer
// than the buffer is cut; it still ends with its line break.
struct LineBuffer {
  char text[4096];
  size_t size = 0;
  static constexpr size_t kRoom = sizeof(text) - 2;  // the line break always fits
};

void Put(LineBuffer* b, char c) {
  if (b->size < LineBuffer::kRoom) b->text[b->size++] = c;
}

void PutNumber(LineBuffer* b, unsigned long value, int width) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int i = n; i < width; ++i) Put(b, '0');
  while (n > 0) Put(b, digits[--n]);
}

// Puts UTF-8 text with what would break the line (or hide in it) made a blank; without
// blanks and line breaks at its end, which the system's texts carry.
void PutText(LineBuffer* b, const char* text) {
  if (text == nullptr) return;
  size_t n = strlen(text);
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) --n;
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    Put(b, c < 0x20 || c == 0x7F ? ' ' : text[i]);
  }
}

void PutText(LineBuffer* b, const wchar_t* text) {
  if (text != nullptr && *text != 0) PutText(b, WideToUtf8(text).c_str());
}

bool Empty(const char* text) { return text == nullptr || *text == 0; }
bool Empty(const wchar_t* text) { return text == nullptr || *text == 0; }

}  // namespace

std::string FailureLine(const FailureStamp& stamp, const FailureCause& cause, const wchar_t* errorText) {
  const SYSTEMTIME& t = stamp.time;
  const struct {
    unsigned long value;
    int width;
    char after;
  } parts[] = {{t.wYear, 4, '-'},   {t.wMonth, 2, '-'},  {t.wDay, 2, ' '},         {t.wHour, 2, ':'},
               {t.wMinute, 2, ':'}, {t.wSecond, 2, '.'}, {t.wMilliseconds, 3, ' '}};
  LineBuffer b;
  for (const auto& p : parts) {
    PutNumber(&b, p.value, p.width);
    Put(&b, p.after);
  }
  PutText(&b, stamp.program);
  Put(&b, '[');
  PutNumber(&b, stamp.processId, 1);
  PutText(&b, "]");
  Put(&b, ' ');
  PutText(&b, cause.step);
  if (!Empty(cause.file)) {
    PutText(&b, ": file \"");
    PutText(&b, cause.file);
    Put(&b, '"');
  }
  if (cause.error != 0) {
    PutText(&b, ": error");
    Put(&b, ' ');
    PutNumber(&b, cause.error, 1);
    size_t before = b.size;
    PutText(&b, " (");
    PutText(&b, errorText);
    if (b.size == before + 2)
      b.size = before;
    else
      Put(&b, ')');
  }
  if (!Empty(cause.detail)) {
    PutText(&b, ":");
    Put(&b, ' ');
    PutText(&b, cause.detail);
  }
  b.text[b.size++] = '\r';
  b.text[b.size++] = '\n';
  return std::string(b.text, b.size);
}

void ReportFailureAnsi(const char* step, const std::string& file, unsigned long error, const std::string& detail) {
  std::wstring wideFile = AnsiToWide(file);
  std::string utf8Detail = AnsiToUtf8(detail);
  ReportFailure({step, wideFile.c_str(), error, utf8Detail.c_str()});
}

void ReportFailure(const FailureCause& cause) {
  DWORD lastError = GetLastError();
  wchar_t path[MAX_PATH + 1];
  DWORD n = GetEnvironmentVariableW(L"ZK_DEBUG_LOG", path, MAX_PATH + 1);
  if (n > 0 && n <= MAX_PATH) {
    wchar_t program[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) length = 0;
    program[length] = 0;
    FailureStamp stamp;
    stamp.program = program;
    for (DWORD i = 0; i < length; ++i)
      if (program[i] == L'\\') stamp.program = program + i + 1;
    stamp.processId = GetCurrentProcessId();
    GetLocalTime(&stamp.time);
    wchar_t* text = nullptr;
    if (cause.error != 0)
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, cause.error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string line = FailureLine(stamp, cause, text);
    if (text) LocalFree(text);
    // Append access alone makes every write land at the end of the file, whoever else
    // has written there since it was opened.
    ScopedHandle h(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (h) {
      DWORD put = 0;
      WriteFile(h.get(), line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
    }
  }
  SetLastError(lastError);
}
