#include "app/paths.h"

#include <windows.h>

const std::string& ProgramFolder() {
  static const std::string folder = [] {
    char buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
    std::string path(buf, n < sizeof(buf) ? n : 0);
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
  }();
  return folder;
}

std::string ProgramPath(const std::string& relative) { return ProgramFolder() + relative; }
