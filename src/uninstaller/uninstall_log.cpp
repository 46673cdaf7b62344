#include "uninstaller/uninstall_log.h"

#include <windows.h>

#include "common/scoped.h"
#include "common/sha256.h"
#include "common/text.h"

namespace {

// A log lists one line per installed file; even a very large product stays far below
// this. Anything bigger is not a log the setup wrote.
constexpr int64_t kMaxLogBytes = 256LL * 1024 * 1024;

// Walks the bytes of a log: raw integers and CR LF lines.
struct LogCursor {
  const std::string& bytes;
  size_t pos = 0;

  bool AtEnd() const { return pos >= bytes.size(); }

  bool Int32(int32_t* value) {
    if (bytes.size() - pos < 4) return false;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[pos + i]);
    *value = static_cast<int32_t>(v);
    pos += 4;
    return true;
  }

  // One line without its end. A line must end with LF (CR LF as written); a last line
  // without one was cut off while it was written.
  bool Line(std::wstring* line) {
    if (AtEnd()) return false;
    size_t lf = bytes.find('\n', pos);
    if (lf == std::string::npos) return false;
    size_t end = lf;
    if (end > pos && bytes[end - 1] == '\r') --end;
    *line = Utf8ToWide(bytes.substr(pos, end - pos));
    pos = lf + 1;
    return true;
  }
};

// The number of data lines after a marker; -1 for a line that is no marker.
int DataLines(const std::wstring& marker, RecordKind* kind) {
  for (const RecordFormat& f : kRecordFormats) {
    if (marker == f.marker) {
      *kind = f.kind;
      return f.dataLines;
    }
  }
  return -1;
}

// The log as read up to read->wholeLength; the digest covers just those bytes, as the
// setup's running digest covers the records it finished writing.
LogStatus Accept(const std::string& bytes, UninstallLog* read, UninstallLog* log) {
  read->sha256 = Sha256Hex(bytes.substr(0, read->wholeLength));
  *log = *read;
  return LogStatus::Ok;
}

// The records read so far are what the setup finished writing; the cut one is left out.
LogStatus EndsInsideRecord(const std::string& bytes, UninstallLog* read, UninstallLog* log) {
  read->cut = true;
  return Accept(bytes, read, log);
}

}  // namespace

LogStatus ParseUninstallLog(const std::string& bytes, UninstallLog* log) {
  if (static_cast<int64_t>(bytes.size()) > kMaxLogBytes) return LogStatus::TooLarge;
  LogCursor in{bytes};
  int32_t version = 0;
  if (!in.Int32(&version) || version != kUninstallLogVersion) return LogStatus::WrongVersion;

  UninstallLog read;
  if (!in.Line(&read.productName) || !in.Line(&read.productVersion) || !in.Line(&read.website) ||
      !in.Line(&read.installFolder) || !in.Int32(&read.entryCount))
    return LogStatus::ShortHeader;

  read.wholeLength = in.pos;
  std::wstring line;
  while (!in.AtEnd()) {
    // The file ends inside a record: the setup stopped while writing it.
    if (!in.Line(&line)) return EndsInsideRecord(bytes, &read, log);
    UninstallRecord r;
    int count = DataLines(line, &r.kind);
    if (count < 0) {
      read.wholeLength = in.pos;
      continue;
    }
    std::wstring data[kMostDataLines];
    for (int i = 0; i < count; ++i) {
      if (!in.Line(&data[i])) return EndsInsideRecord(bytes, &read, log);
      // Paths, root names and keys never read as a marker; where one stands, the record
      // before it lost its data lines and the file went on: damage, not an end.
      // A value name can be any text.
      bool valueName = r.kind == RecordKind::RegistryValue && i == 2;
      RecordKind other;
      if (!valueName && DataLines(data[i], &other) >= 0) return LogStatus::CutRecord;
    }
    if (r.kind == RecordKind::File || r.kind == RecordKind::Folder) {
      r.path = data[0];
    } else {
      r.rootName = data[0];
      r.key = data[1];
      r.valueName = data[2];
    }
    read.records.push_back(r);
    read.wholeLength = in.pos;
  }
  return Accept(bytes, &read, log);
}

LogStatus ReadUninstallLog(const std::wstring& path, UninstallLog* log) {
  ScopedHandle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return LogStatus::Missing;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size)) return LogStatus::Missing;
  if (size.QuadPart > kMaxLogBytes) return LogStatus::TooLarge;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!ReadFile(h.get(), &bytes[got], static_cast<DWORD>(bytes.size() - got), &n, nullptr) || n == 0) break;
    got += n;
  }
  h.reset();
  // A file that shrank while it was read is taken as it was found: the checks below
  // then decide on what is really there.
  bytes.resize(got);
  return ParseUninstallLog(bytes, log);
}
