#include "common/dirlist.h"

#include <windows.h>

#include <algorithm>
#include <string.h>
#include <wchar.h>

#include "common/scoped.h"

namespace {

// The narrow and wide system calls differ only in their names and character types.
struct Narrow {
  using Data = WIN32_FIND_DATAA;
  static HANDLE First(const std::string& p, Data* d) { return FindFirstFileA(p.c_str(), d); }
  static BOOL Next(HANDLE h, Data* d) { return FindNextFileA(h, d); }
  static int CompareNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()); }
};

struct Wide {
  using Data = WIN32_FIND_DATAW;
  static HANDLE First(const std::wstring& p, Data* d) { return FindFirstFileW(p.c_str(), d); }
  static BOOL Next(HANDLE h, Data* d) { return FindNextFileW(h, d); }
  static int CompareNoCase(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()); }
};

template <typename S>
bool IsDotEntry(const S& name) {
  return (name.size() == 1 && name[0] == '.') || (name.size() == 2 && name[0] == '.' && name[1] == '.');
}

template <typename Api, typename S>
std::vector<BasicDirEntry<S>> List(S folder, const S& pattern, DirOrder order) {
  std::vector<BasicDirEntry<S>> entries;
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  typename Api::Data data;
  ScopedFind h(Api::First(folder + pattern, &data));
  if (!h) return entries;
  do {
    BasicDirEntry<S> e;
    e.name = data.cFileName;
    if (IsDotEntry(e.name)) continue;
    e.attributes = data.dwFileAttributes;
    e.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    e.size = e.isFolder ? 0 : (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    e.lastWrite =
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    entries.push_back(std::move(e));
  } while (Api::Next(h.get(), &data));
  h.reset();
  if (order == DirOrder::kByName) {
    std::stable_sort(entries.begin(), entries.end(), [](const BasicDirEntry<S>& a, const BasicDirEntry<S>& b) {
      return Api::CompareNoCase(a.name, b.name) < 0;
    });
  }
  return entries;
}

}  // namespace

std::vector<DirEntry> ListDirectory(const std::string& folder, const std::string& pattern, DirOrder order) {
  return List<Narrow>(folder, pattern, order);
}

std::vector<DirEntryW> ListDirectory(const std::wstring& folder, const std::wstring& pattern, DirOrder order) {
  return List<Wide>(folder, pattern, order);
}
