#include "builder/cabinet_writer.h"

#include <windows.h>
#include <fcntl.h>
#include <fci.h>

#include <stdio.h>
#include <string.h>

#include <vector>

#include "common/files.h"
#include "common/path_split.h"
#include "common/scoped.h"

struct CabinetContext {
  HFCI fci = nullptr;
  ERF error{};
  CCAB ccab{};
  std::string path;
  std::string tempFolder;          // ends in "\"
  std::vector<std::string> temps;  // every work-file name handed to the library
  bool failed = false;
};

namespace {

// Cabinet parameters, the same for every cabinet the builder writes.
constexpr ULONG kMaxCabinetSize = 300000000;
constexpr ULONG kFolderThreshold = 900000;
constexpr USHORT kSetId = 12345;

typedef HFCI(DIAMONDAPI* FciCreateFn)(PERF, PFNFCIFILEPLACED, PFNFCIALLOC, PFNFCIFREE, PFNFCIOPEN, PFNFCIREAD,
                                      PFNFCIWRITE, PFNFCICLOSE, PFNFCISEEK, PFNFCIDELETE, PFNFCIGETTEMPFILE, PCCAB,
                                      void*);
typedef BOOL(DIAMONDAPI* FciAddFileFn)(HFCI, char*, char*, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS, PFNFCIGETOPENINFO,
                                       TCOMP);
typedef BOOL(DIAMONDAPI* FciFlushCabinetFn)(HFCI, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS);
typedef BOOL(DIAMONDAPI* FciDestroyFn)(HFCI);

// The library stays loaded once found; a failed load is tried again by the next cabinet.
struct FciLibrary {
  HMODULE module = nullptr;
  FciCreateFn create = nullptr;
  FciAddFileFn addFile = nullptr;
  FciFlushCabinetFn flushCabinet = nullptr;
  FciDestroyFn destroy = nullptr;
};

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const FciLibrary* LoadFciLibrary() {
  static FciLibrary lib;
  if (lib.module != nullptr) return &lib;
  ScopedModule module(LoadLibraryA("CABINET.DLL"));
  if (!module) return nullptr;
  FciLibrary found;
  found.create = Lookup<FciCreateFn>(module.get(), "FCICreate");
  found.addFile = Lookup<FciAddFileFn>(module.get(), "FCIAddFile");
  found.flushCabinet = Lookup<FciFlushCabinetFn>(module.get(), "FCIFlushCabinet");
  found.destroy = Lookup<FciDestroyFn>(module.get(), "FCIDestroy");
  if (!found.create || !found.addFile || !found.flushCabinet || !found.destroy) return nullptr;
  // Kept loaded for the rest of the process.
  found.module = module.release();
  lib = found;
  return &lib;
}

// Callbacks through which the library reaches memory and files.

FNFCIALLOC(FciAlloc) { return GlobalAlloc(GMEM_FIXED, cb); }

FNFCIFREE(FciFree) { GlobalFree(memory); }

FNFCIOPEN(FciOpen) {
  DWORD access = GENERIC_READ;
  if ((oflag & _O_ACCMODE) == _O_WRONLY) access = GENERIC_WRITE;
  if ((oflag & _O_ACCMODE) == _O_RDWR) access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if ((oflag & (_O_CREAT | _O_EXCL)) == (_O_CREAT | _O_EXCL)) {
    disposition = CREATE_NEW;
  } else if ((oflag & (_O_CREAT | _O_TRUNC)) == (_O_CREAT | _O_TRUNC)) {
    disposition = CREATE_ALWAYS;
  } else if (oflag & _O_CREAT) {
    disposition = OPEN_ALWAYS;
  } else if (oflag & _O_TRUNC) {
    disposition = TRUNCATE_EXISTING;
  }
  HANDLE h = CreateFileA(pszFile, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  return reinterpret_cast<INT_PTR>(h);
}

// A failed transfer answers -1, not a short count: a short read looks like the end of a
// source file and would put a truncated copy into the cabinet.
FNFCIREAD(FciRead) {
  DWORD got = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(hf), memory, cb, &got, nullptr)) {
    *err = static_cast<int>(GetLastError());
    return static_cast<UINT>(-1);
  }
  return got;
}

FNFCIWRITE(FciWrite) {
  DWORD put = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(hf), memory, cb, &put, nullptr) || put != cb) {
    *err = static_cast<int>(GetLastError());
    return static_cast<UINT>(-1);
  }
  return put;
}

FNFCICLOSE(FciClose) {
  if (!CloseHandle(reinterpret_cast<HANDLE>(hf))) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  return 0;
}

FNFCISEEK(FciSeek) {
  static const DWORD kMethods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  if (seektype < 0 || seektype > 2) return -1;
  DWORD at = SetFilePointer(reinterpret_cast<HANDLE>(hf), dist, nullptr, kMethods[seektype]);
  if (at == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  return static_cast<__LONG32>(at);
}

FNFCIDELETE(FciDelete) {
  if (!DeleteFileA(pszFile)) *err = static_cast<int>(GetLastError());
  return 0;
}

// The library creates its work files itself and fails on a name that exists already, so
// it gets a name in the cabinet's temporary folder that nothing uses yet. Each name is
// remembered so that none can outlive the cabinet.
FNFCIGETTEMPFILE(FciGetTempFile) {
  static unsigned counter = 0;
  CabinetContext* cabinet = static_cast<CabinetContext*>(pv);
  for (int tries = 0; tries < 1000; ++tries) {
    char name[MAX_PATH + 32];
    snprintf(name, sizeof name, "%szkcab%lx_%x.tmp", cabinet->tempFolder.c_str(),
             static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
    if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) continue;
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return FALSE;
    if (strlen(name) + 1 > static_cast<size_t>(cbTempName)) return FALSE;
    strcpy(pszTempName, name);
    cabinet->temps.push_back(name);
    return TRUE;
  }
  return FALSE;
}

FNFCIFILEPLACED(FciFilePlaced) { return 0; }

// Asked for when the cabinet is full. A second cabinet cannot be shipped, and giving it
// the same name would overwrite the first, so the cabinet fails instead.
FNFCIGETNEXTCABINET(FciGetNextCabinet) { return FALSE; }

// Opens a source for the library and gives it the source's date and time.
FNFCIGETOPENINFO(FciGetOpenInfo) {
  HANDLE h =
      CreateFileA(pszName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    *err = static_cast<int>(GetLastError());
    return -1;
  }
  FILETIME written{}, local{};
  *pdate = 0;
  *ptime = 0;
  if (GetFileTime(h, nullptr, nullptr, &written) && FileTimeToLocalFileTime(&written, &local)) {
    FileTimeToDosDateTime(&local, pdate, ptime);
  }
  *pattribs = 0;
  return reinterpret_cast<INT_PTR>(h);
}

FNFCISTATUS(FciStatus) { return typeStatus == statusCabinet ? static_cast<__LONG32>(cb2) : 0; }

// Creates every folder of path (which ends in "\"); true when the last one exists.
bool CreateFolderPath(const std::string& path) {
  for (size_t i = path.find('\\'); i != std::string::npos; i = path.find('\\', i + 1)) {
    if (i > 0 && path[i - 1] != ':' && path[i - 1] != '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteTemps(const CabinetContext& cabinet) {
  for (const std::string& name : cabinet.temps) DeleteFileA(name.c_str());
}

}  // namespace

int InitCabinetWriter() { return 0; }

CabinetContext* CreateCabinet(const std::string& path, const std::string& tempFolder) {
  std::string folder = PathFolder(path);
  if (folder.empty()) return nullptr;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  folder += '\\';
  std::string name = PathFileName(path);
  std::string temps = tempFolder.empty() ? folder : tempFolder;
  if (temps.back() != '\\') temps += '\\';
  if (name.empty() || name.size() >= CB_MAX_CABINET_NAME || folder.size() >= CB_MAX_CAB_PATH) return nullptr;
  if (!CreateFolderPath(folder) || !CreateFolderPath(temps)) return nullptr;

  const FciLibrary* lib = LoadFciLibrary();
  if (lib == nullptr) return nullptr;
  CabinetContext* cabinet = new CabinetContext;
  cabinet->path = path;
  cabinet->tempFolder = temps;
  CCAB& ccab = cabinet->ccab;
  ccab.cb = kMaxCabinetSize;
  ccab.cbFolderThresh = kFolderThreshold;
  ccab.iCab = 1;
  ccab.iDisk = 0;
  ccab.fFailOnIncompressible = 0;
  ccab.setID = kSetId;
  strcpy(ccab.szDisk, "disk1");
  strcpy(ccab.szCab, name.c_str());
  strcpy(ccab.szCabPath, folder.c_str());
  cabinet->fci = lib->create(&cabinet->error, FciFilePlaced, FciAlloc, FciFree, FciOpen, FciRead, FciWrite, FciClose,
                             FciSeek, FciDelete, FciGetTempFile, &cabinet->ccab, cabinet);
  if (cabinet->fci == nullptr) {
    DeleteTemps(*cabinet);
    delete cabinet;
    return nullptr;
  }
  return cabinet;
}

int AddCabinetFile(CabinetContext* cabinet, const std::string& source, const std::string& name) {
  if (cabinet == nullptr || cabinet->failed) return kCabinetAddFailed;
  int64_t size = FileSize(source);
  if (size == 0) return kCabinetFileEmpty;
  if (size < 0) return kCabinetSourceMissing;
  std::vector<char> sourceText(source.begin(), source.end());
  std::vector<char> nameText(name.begin(), name.end());
  sourceText.push_back('\0');
  nameText.push_back('\0');
  // The attributes are put back afterwards, so a read-only source stays read-only.
  DWORD attributes = GetFileAttributesA(source.c_str());
  SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
  BOOL added = LoadFciLibrary()->addFile(cabinet->fci, sourceText.data(), nameText.data(), FALSE, FciGetNextCabinet,
                                         FciStatus, FciGetOpenInfo, tcompTYPE_MSZIP);
  SetFileAttributesA(source.c_str(), attributes);
  if (!added) {
    // After a refusal the library's state is undefined; the cabinet is not written.
    cabinet->failed = true;
    return kCabinetAddFailed;
  }
  return kCabinetFileAdded;
}

int AddCabinetFileByName(CabinetContext* cabinet, const std::string& source) {
  return AddCabinetFile(cabinet, source, PathFileName(source));
}

int CloseCabinet(CabinetContext* cabinet) {
  if (cabinet == nullptr) return 0;
  const FciLibrary* lib = LoadFciLibrary();
  bool written = !cabinet->failed && lib->flushCabinet(cabinet->fci, FALSE, FciGetNextCabinet, FciStatus);
  lib->destroy(cabinet->fci);
  DeleteTemps(*cabinet);
  if (!written) DeleteFileA(cabinet->path.c_str());
  delete cabinet;
  return written ? 1 : 0;
}
