#include "common/path_split.h"

namespace {

template <typename Char>
bool IsSeparator(const std::basic_string<Char>& path, size_t i) {
  Char c = path[i];
  return c == Char('\\') || c == Char('/') || (c == Char(':') && i == 1);
}

// Index just behind the last separator; 0 when there is none.
template <typename Char>
size_t NameStart(const std::basic_string<Char>& path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path, i - 1)) return i;
  }
  return 0;
}

template <typename Char>
std::basic_string<Char> Extension(const std::basic_string<Char>& path) {
  size_t dot = path.rfind(Char('.'));
  if (dot == std::basic_string<Char>::npos || dot < NameStart(path)) return {};
  return path.substr(dot + 1);
}

template <typename Char>
std::basic_string<Char> Join(const std::basic_string<Char>& folder, const std::basic_string<Char>& name) {
  if (folder.empty()) return name;
  Char last = folder.back();
  if (last == Char('\\') || last == Char('/')) return folder + name;
  return folder + Char('\\') + name;
}

}  // namespace

std::string PathFileName(const std::string& path) { return path.substr(NameStart(path)); }
std::wstring PathFileName(const std::wstring& path) { return path.substr(NameStart(path)); }

std::string PathFolder(const std::string& path) { return path.substr(0, NameStart(path)); }
std::wstring PathFolder(const std::wstring& path) { return path.substr(0, NameStart(path)); }

std::string PathExtension(const std::string& path) { return Extension(path); }
std::wstring PathExtension(const std::wstring& path) { return Extension(path); }

std::string PathJoin(const std::string& folder, const std::string& name) { return Join(folder, name); }
std::wstring PathJoin(const std::wstring& folder, const std::wstring& name) { return Join(folder, name); }
