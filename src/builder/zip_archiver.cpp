#include "builder/zip_archiver.h"

#include <windows.h>
#include <shlwapi.h>

// iowin32.h needs the declarations of the other two first.
#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <minizip/iowin32.h>

#include <string.h>

#include <vector>

#include "common/dirlist.h"
#include "common/files.h"
#include "common/path_split.h"
#include "common/scoped.h"
#include "common/text.h"
#include "builder/zip_deflate.h"
#include "builder/zip_names.h"
#include "builder/zip_workers.h"

namespace {

// Entries from this size on carry zip64 fields. The margin below 4 GB covers deflate's
// slight growth of data that does not compress, which must still fit the fields.
constexpr int64_t kZip64From = 0xF0000000LL;

struct ArchiverState {
  zipFile writeArchive = nullptr;
  unzFile readArchive = nullptr;
  int method = kZipDeflated;
  ZipProgressProc progress = nullptr;
};

ArchiverState& State() {
  static ArchiverState state;
  return state;
}

// One thing to archive: a file, or a folder whose path ends in "\\". The path is UTF-8,
// whatever the ANSI code page can hold, and reaches the system through the wide calls.
struct Element {
  std::string path;
  bool folder;
  int64_t size = -2;  // as the file system reports it; -2 for folders
  int job = -1;       // the worker job packing the file, or -1 when it is packed on the writer
};

// minizip's own file layer goes through the C runtime; the Win32 one takes ANSI paths as
// the rest of the program does and handles archives past 4 GB.
zipFile OpenZipForWriting(const std::string& path, int mode) {
  zlib_filefunc64_def funcs;
  fill_win32_filefunc64A(&funcs);
  return zipOpen2_64(path.c_str(), mode, nullptr, &funcs);
}

unzFile OpenZipForReading(const std::string& path) {
  zlib_filefunc64_def funcs;
  fill_win32_filefunc64A(&funcs);
  return unzOpen2_64(path.c_str(), &funcs);
}

// The progress procedure hears of every chunk of kZipChunkSize; it is also where a build
// pauses or stops. There is no pause between chunks: the archiver runs on the build
// thread, so the GUI thread repaints meanwhile, and waiting would only lengthen the build.
// Callers take names in the ANSI code page, as every other path of theirs.
bool ReportProgress(const std::string& utf8Name, float percent) {
  ZipProgressProc proc = State().progress;
  return proc != nullptr && proc(Utf8ToAnsi(utf8Name).c_str(), percent, 0) != 0;
}

bool ToLocalTime(const FILETIME& written, SYSTEMTIME* local) {
  SYSTEMTIME utc{};
  return FileTimeToSystemTime(&written, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, local);
}

// Local time of the file's last write; false when the file cannot be opened.
bool ReadLocalWriteTime(const std::string& path, SYSTEMTIME* local) {
  ScopedHandle h(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
  if (!h) return false;
  FILETIME written{};
  BOOL ok = GetFileTime(h.get(), nullptr, nullptr, &written);
  h.reset();
  return ok && ToLocalTime(written, local);
}

// The earliest time the archive's date fields can hold.
SYSTEMTIME DosEpoch() {
  SYSTEMTIME t{};
  t.wYear = 1980;
  t.wMonth = 1;
  t.wDay = 1;
  return t;
}

// A folder cannot be opened as a file, so its time comes from its attributes.
SYSTEMTIME FolderTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  SYSTEMTIME local{};
  if (!GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      !ToLocalTime(data.ftLastWriteTime, &local)) {
    return DosEpoch();
  }
  return local;
}

// DOS date and time in one value, the seconds halved. Times before 1980 do not fit the
// year field and are stored as its first moment.
uint32_t DosDate(const SYSTEMTIME& time) {
  const SYSTEMTIME t = time.wYear < 1980 ? DosEpoch() : time;
  return (static_cast<uint32_t>(t.wYear - 1980) << 25) + (static_cast<uint32_t>(t.wMonth) << 21) +
         (static_cast<uint32_t>(t.wDay) << 16) + (static_cast<uint32_t>(t.wHour) << 11) +
         (static_cast<uint32_t>(t.wMinute) << 5) + t.wSecond / 2u;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// The folder part of path with its trailing "\"; empty when path names no folder.
std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// The entry name of source (UTF-8): its relative path, full path or file name, with "/"
// separators, in the bytes zip_names.h chooses. Only a leading base folder is removed, so a
// folder further down that happens to repeat the base's text keeps its name.
ZipNameBytes EntryName(const std::string& source, const std::string& base, int nameMode) {
  std::string name;
  if (nameMode == kZipNameFullPath) {
    name = source;
  } else if (nameMode == kZipNameRelative) {
    name = StartsWithNoCase(source, base) ? source.substr(base.size()) : source;
  } else {
    name = PathFileName(source);
  }
  std::wstring wide = Utf8ToWide(name);
  for (wchar_t& c : wide) {
    if (c == L'\\') c = L'/';
  }
  return EncodeZipEntryName(wide, CP_OEMCP);
}

// folder is UTF-8. The walk is wide, so that no name is lost to the ANSI code page.
void CollectFolderFiles(int mode, std::string folder, const std::wstring& pattern, std::vector<Element>* out) {
  // An empty base means the current folder, not the root of the drive.
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  if (mode == kZipFolderTreeEntries) out->push_back({folder, true, -2, -1});
  for (const DirEntryW& e : ListDirectory(Utf8ToWide(folder), L"*.*", DirOrder::kSystem)) {
    if (e.isFolder) {
      if (mode != kZipFolderFiles) CollectFolderFiles(mode, folder + WideToUtf8(e.name), pattern, out);
    } else if (PathMatchSpecW(e.name.c_str(), pattern.c_str())) {
      out->push_back({folder + WideToUtf8(e.name), false, e.size, -1});
    }
  }
}

// Reports a chunk put into the archive; true when the progress procedure says stop.
bool ChunkDone(const Element& element, uint32_t sourceBytes, uint64_t* done) {
  *done += sourceBytes;
  return ReportProgress(element.path, static_cast<float>(*done * 100.0 / static_cast<double>(element.size)));
}

// Writes a file packed by a worker into the open entry, chunk by chunk as it was read, so
// that progress and cancel come at the same points as when the file is packed here.
int WritePackedFile(zipFile zf, const Element& element, const DeflatedFile& packed, bool* written) {
  uint64_t done = 0;
  size_t from = 0;
  for (const DeflatedFile::Chunk& chunk : packed.chunks) {
    int result = zipWriteInFileInZip(zf, packed.data.data() + from, static_cast<unsigned>(chunk.end - from));
    if (result != ZIP_OK) return result;
    from = chunk.end;
    if (ChunkDone(element, chunk.sourceBytes, &done)) return kZipCancelled;
  }
  if (packed.result != ZIP_OK) return packed.result;
  int result = zipWriteInFileInZip(zf, packed.data.data() + from, static_cast<unsigned>(packed.data.size() - from));
  if (result != ZIP_OK) return result;
  *written = done > 0;
  return ReportProgress("", 100.0f) ? kZipCancelled : ZIP_OK;
}

// Reads the file into the open entry chunk by chunk, packing each chunk here when the
// entry is raw (deflater given) and letting minizip store it otherwise.
int StreamFile(zipFile zf, const Element& element, HANDLE h, RawDeflater* deflater, bool* written) {
  std::vector<char> buffer(kZipChunkSize);
  std::string packed;
  uint64_t done = 0;
  for (;;) {
    DWORD got = 0;
    // A truncated copy would pass every check later: fail instead.
    if (!ReadFile(h, buffer.data(), kZipChunkSize, &got, nullptr)) return ZIP_ERRNO;
    const char* data = buffer.data();
    size_t size = got;
    if (deflater != nullptr) {
      packed.clear();
      bool ok = got == 0 ? FinishRawDeflate(deflater, &packed) : DeflateChunk(deflater, buffer.data(), got, &packed);
      if (!ok) return ZIP_INTERNALERROR;
      data = packed.data();
      size = packed.size();
    }
    int result = zipWriteInFileInZip(zf, data, static_cast<unsigned>(size));
    if (result != ZIP_OK) return result;
    if (got == 0) {
      *written = done > 0;
      return ReportProgress("", 100.0f) ? kZipCancelled : ZIP_OK;
    }
    if (ChunkDone(element, got, &done)) return kZipCancelled;
  }
}

// Opens an entry for the element and puts the file's data into it: packed by a worker
// (pool and job given) or read and packed here. Deflated data is packed outside minizip
// and handed to it raw, the same way on either path. Answers ZIP_OK, kZipCancelled or
// minizip's negative code; *written tells whether data went in.
int WriteElement(zipFile zf, const Element& element, const ZipNameBytes& name, const SYSTEMTIME& when,
                 DeflatePool* pool, bool* written) {
  *written = false;
  zip_fileinfo info{};
  info.tmz_date.tm_sec = when.wSecond;
  info.tmz_date.tm_min = when.wMinute;
  info.tmz_date.tm_hour = when.wHour;
  info.tmz_date.tm_mday = when.wDay;
  info.tmz_date.tm_mon = when.wMonth - 1;
  info.tmz_date.tm_year = when.wYear;
  info.dosDate = DosDate(when);
  std::wstring path = Utf8ToWide(element.path);
  DWORD attributes = GetFileAttributesW(path.c_str());
  info.external_fa = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;

  // A source that vanished since its date was read gives an entry without data.
  const DeflatedFile* packed = element.job >= 0 ? &WaitDeflatedFile(pool, static_cast<size_t>(element.job)) : nullptr;
  ScopedHandle h;
  if (packed == nullptr && !element.folder && element.size != 0) {
    h.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  }
  bool hasData = packed != nullptr ? packed->opened : h.valid();
  bool raw = hasData && State().method == kZipDeflated;
  RawDeflater deflater;
  int result = raw && packed == nullptr && !StartRawDeflate(&deflater) ? ZIP_INTERNALERROR : ZIP_OK;
  if (result == ZIP_OK) {
    int zip64 = element.size >= kZip64From ? 1 : 0;
    // The stream parameters and "made by" value are those zipOpenNewFileInZip2_64 gives,
    // so an entry differs from before only by the flag, and only when its name needs it.
    result = zipOpenNewFileInZip4_64(zf, name.bytes.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, State().method,
                                     kZipLevel, raw ? 1 : 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                                     name.utf8 ? kZipUtf8NameFlag : 0, zip64);
  }
  if (result == ZIP_OK) {
    if (packed != nullptr && hasData) {
      result = WritePackedFile(zf, element, *packed, written);
    } else if (hasData) {
      result = StreamFile(zf, element, h.get(), raw ? &deflater : nullptr, written);
    }
    // minizip cannot know the size and checksum of data it did not pack itself.
    uint64_t total = packed != nullptr ? packed->total : deflater.total;
    uint32_t crc = packed != nullptr ? packed->crc : deflater.crc;
    int closed = raw ? zipCloseFileInZipRaw64(zf, total, crc) : zipCloseFileInZip(zf);
    if (closed != ZIP_OK) {
      *written = false;
      if (result == ZIP_OK) result = closed;
    }
  }
  EndRawDeflate(&deflater);
  h.reset();
  if (packed != nullptr) ReleaseDeflatedFile(pool, static_cast<size_t>(element.job));
  return result;
}

uint32_t ReadLe32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t ReadLe64(const unsigned char* p) { return ReadLe32(p) | (static_cast<uint64_t>(ReadLe32(p + 4)) << 32); }

bool ReadAt(HANDLE h, uint64_t offset, void* data, size_t count) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  DWORD got = 0;
  return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && ReadFile(h, data, static_cast<DWORD>(count), &got, nullptr) &&
         got == count;
}

// The bytes minizip overwrites when it extends an archive: the central directory and the
// records after it. Saved so that a cancelled or failed extension can put them back.
struct ArchiveTail {
  bool saved = false;
  uint64_t offset = 0;
  std::string bytes;
};

bool SaveArchiveTail(const std::string& path, ArchiveTail* tail) {
  ScopedHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return false;
  bool ok = false;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h.get(), &size) && size.QuadPart >= 22) {
    uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    // The end record is 22 bytes plus a comment of at most 65535.
    size_t window = static_cast<size_t>(fileSize < 65557 ? fileSize : 65557);
    std::vector<unsigned char> end(window);
    if (ReadAt(h.get(), fileSize - window, end.data(), window)) {
      for (size_t i = window - 22 + 1; i-- > 0;) {
        if (memcmp(end.data() + i, "PK\x05\x06", 4) != 0) continue;
        uint64_t endPos = fileSize - window + i;
        uint64_t dirSize = ReadLe32(end.data() + i + 12);
        uint64_t recordPos = endPos;
        unsigned char locator[20];
        if (endPos >= 20 && ReadAt(h.get(), endPos - 20, locator, 20) && memcmp(locator, "PK\x06\x07", 4) == 0) {
          unsigned char record[56];
          recordPos = ReadLe64(locator + 8);
          if (!ReadAt(h.get(), recordPos, record, 56) || memcmp(record, "PK\x06\x06", 4) != 0) break;
          dirSize = ReadLe64(record + 40);
        }
        if (dirSize > recordPos) break;
        tail->offset = recordPos - dirSize;
        tail->bytes.resize(static_cast<size_t>(fileSize - tail->offset));
        ok = ReadAt(h.get(), tail->offset, &tail->bytes[0], tail->bytes.size());
        break;
      }
    }
  }
  h.reset();
  tail->saved = ok;
  return ok;
}

void RestoreArchiveTail(const std::string& path, const ArchiveTail& tail) {
  ScopedHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(tail.offset);
  DWORD put = 0;
  if (SetFilePointerEx(h.get(), at, nullptr, FILE_BEGIN) &&
      WriteFile(h.get(), tail.bytes.data(), static_cast<DWORD>(tail.bytes.size()), &put, nullptr)) {
    SetEndOfFile(h.get());
  }
  h.reset();
}

// An archive without entries is its end record alone (and perhaps a comment); minizip
// finds no archive in it, as it takes a directory at offset 0 for a missing one.
bool IsEmptyArchive(const std::string& path) {
  ScopedHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return false;
  unsigned char record[22];
  bool empty = ReadAt(h.get(), 0, record, sizeof record) && memcmp(record, "PK\x05\x06", 4) == 0 &&
               ReadLe32(record + 8) == 0;  // no entries on this disk nor in all
  h.reset();
  return empty;
}

// The archive an add operation writes to, opened and closed within the operation.
struct WriteTarget {
  std::string path;
  zipFile zf = nullptr;
  ArchiveTail tail;
};

// Archives with entries are extended; a missing, empty or entry-less file is (re)created.
// Anything else at the path is not an archive of ours and is left alone.
bool OpenTarget(const std::string& archive, WriteTarget* target) {
  target->path = archive;
  int64_t entries = CountZipEntries(archive);
  int mode = APPEND_STATUS_CREATE;
  if (entries > 0) {
    if (!SaveArchiveTail(archive, &target->tail)) return false;
    mode = APPEND_STATUS_ADDINZIP;
  } else if (entries < 0 && FileSize(archive) > 0 && !IsEmptyArchive(archive)) {
    return false;
  }
  target->zf = OpenZipForWriting(archive, mode);
  return target->zf != nullptr;
}

// Writes the central directory. After a cancel or failure an extended archive gets its
// old directory back, so it holds exactly the entries it had before. Answers the
// operation's result, or the close's failure when the operation itself went well.
int CloseTarget(WriteTarget* target, int result) {
  int closed = zipClose(target->zf, nullptr);
  target->zf = nullptr;
  if ((result != ZIP_OK || closed != ZIP_OK) && target->tail.saved) RestoreArchiveTail(target->path, target->tail);
  return result == ZIP_OK ? closed : result;
}

}  // namespace

int InitZipArchiver() {
  State().method = kZipDeflated;
  return 0;
}

int EndZipArchiver() { return 0; }

int SetZipProgressCallback(ZipProgressProc proc) {
  if (proc != nullptr && !IsBadCodePtr(reinterpret_cast<FARPROC>(reinterpret_cast<void*>(proc)))) {
    State().progress = proc;
  }
  return 0;
}

int SetZipCompressionMethod(int method) {
  if (method == kZipStored || method == kZipDeflated) State().method = method;
  return 0;
}

void* CreateZipArchive(const std::string& file, int appendMode) {
  ArchiverState& s = State();
  if (s.writeArchive != nullptr) zipClose(s.writeArchive, nullptr);
  s.writeArchive = OpenZipForWriting(file, appendMode);
  return s.writeArchive;
}

int CloseZipArchive() { return CloseZipArchives(""); }

int CloseZipArchives(const std::string& comment) {
  ArchiverState& s = State();
  int result = 0;
  if (s.writeArchive != nullptr) {
    result = zipClose(s.writeArchive, comment.empty() ? nullptr : comment.c_str());
    s.writeArchive = nullptr;
  }
  if (s.readArchive != nullptr) {
    unzClose(s.readArchive);
    s.readArchive = nullptr;
  }
  return result;
}

int AddZipFolder(const std::string& archive, const std::string& folderPattern, int nameMode, int folderMode) {
  WriteTarget target;
  if (!OpenTarget(archive, &target)) return 0;
  std::string ansiBase = FolderOf(folderPattern);
  std::string base = AnsiToUtf8(ansiBase);
  std::vector<Element> elements;
  CollectFolderFiles(folderMode, base, AnsiToWide(folderPattern.substr(ansiBase.size())), &elements);

  // Files that fit in memory are packed ahead by the workers; the rest on this thread.
  DeflatePool pool;
  int workers = State().method == kZipDeflated ? ZipWorkerCount() : 0;
  if (workers > 0) {
    for (Element& e : elements) {
      if (!e.folder && e.size > 0 && e.size <= kZipLargestPooledFile) {
        e.job = static_cast<int>(AddDeflateJob(&pool, e.path, e.size));
      }
    }
    if (!StartDeflatePool(&pool, workers)) {
      for (Element& e : elements) e.job = -1;
    }
  }

  int count = 0;
  int result = ZIP_OK;
  for (const Element& e : elements) {
    SYSTEMTIME when{};
    if (e.folder) {
      when = FolderTime(e.path);
    } else if (!ReadLocalWriteTime(e.path, &when)) {
      // Unreadable: no entry. Its worker job, if any, is handed back all the same.
      if (e.job >= 0) {
        WaitDeflatedFile(&pool, static_cast<size_t>(e.job));
        ReleaseDeflatedFile(&pool, static_cast<size_t>(e.job));
      }
      continue;
    }
    bool written = false;
    result = WriteElement(target.zf, e, EntryName(e.path, base, nameMode), when, &pool, &written);
    if (written) ++count;
    if (result != ZIP_OK) break;
  }
  StopDeflatePool(&pool);
  result = CloseTarget(&target, result);
  return result == ZIP_OK ? count : result;
}

int AddZipFile(const std::string& archive, const std::string& source, int nameMode) {
  SYSTEMTIME when{};
  int64_t size = FileSize(source);
  // Some systems open folders as files; a folder is still no file to add.
  std::string path = AnsiToUtf8(source);
  if (size < 0 || !ReadLocalWriteTime(path, &when)) return 0;
  WriteTarget target;
  if (!OpenTarget(archive, &target)) return 0;
  bool written = false;
  int result = WriteElement(target.zf, {path, false, size, -1}, EntryName(path, FolderOf(path), nameMode), when,
                            nullptr, &written);
  result = CloseTarget(&target, result);
  if (result != ZIP_OK) return result;
  return written ? 1 : 0;
}

void* OpenZipArchive(const std::string& file) {
  ArchiverState& s = State();
  if (s.readArchive != nullptr) unzClose(s.readArchive);
  s.readArchive = OpenZipForReading(file);
  return s.readArchive;
}

int GoToFirstZipEntry() {
  unzFile uf = State().readArchive;
  return uf == nullptr ? -1 : unzGoToFirstFile(uf);
}

int GoToNextZipEntry() {
  unzFile uf = State().readArchive;
  return uf == nullptr ? -1 : unzGoToNextFile(uf);
}

int GetZipEntryInfo(ZipEntryInfo* info) {
  unzFile uf = State().readArchive;
  if (uf == nullptr || info == nullptr) return -1;
  unz_file_info64 fi{};
  // Names are at most 65535 bytes long, so the whole name always fits.
  std::vector<char> name(65536);
  int result = unzGetCurrentFileInfo64(uf, &fi, name.data(), static_cast<uLong>(name.size()), nullptr, 0, nullptr, 0);
  *info = ZipEntryInfo{};
  if (result != UNZ_OK) return result;
  info->versionMadeBy = fi.version;
  info->versionNeeded = fi.version_needed;
  info->flag = fi.flag;
  info->compressionMethod = fi.compression_method;
  info->dosDate = fi.dosDate;
  info->crc = fi.crc;
  info->compressedSize = fi.compressed_size;
  info->uncompressedSize = fi.uncompressed_size;
  info->nameLength = fi.size_filename;
  info->extraLength = fi.size_file_extra;
  info->commentLength = fi.size_file_comment;
  info->diskNumberStart = fi.disk_num_start;
  info->internalAttributes = fi.internal_fa;
  info->externalAttributes = fi.external_fa;
  info->second = fi.tmu_date.tm_sec;
  info->minute = fi.tmu_date.tm_min;
  info->hour = fi.tmu_date.tm_hour;
  info->day = fi.tmu_date.tm_mday;
  info->month = fi.tmu_date.tm_mon;
  info->year = fi.tmu_date.tm_year;
  if ((fi.flag & kZipUtf8NameFlag) != 0) {
    info->name = WideToAnsi(DecodeZipEntryName(name.data(), fi.flag, CP_OEMCP));
  } else {
    std::vector<char> ansi(2 * fi.size_filename + 1);
    OemToCharA(name.data(), ansi.data());
    info->name.assign(ansi.data());
  }
  for (char& c : info->name) {
    if (c == '/') c = '\\';
  }
  return result;
}

int64_t CountZipEntries(const std::string& file) {
  unzFile uf = OpenZipForReading(file);
  if (uf == nullptr) return IsEmptyArchive(file) ? 0 : -1;
  unz_global_info64 global{};
  int result = unzGetGlobalInfo64(uf, &global);
  unzClose(uf);
  return result == UNZ_OK ? static_cast<int64_t>(global.number_entry) : result;
}
