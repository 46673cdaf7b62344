#include "app/paths.h"

#include <windows.h>

#include "common/path_split.h"

const std::string& ProgramFolder() {
  static const std::string folder = [] {
    char buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
    std::string path(buf, n < sizeof(buf) ? n : 0);
    std::string folder = PathFolder(path);
    return folder.empty() ? std::string(".\\") : folder;
  }();
  return folder;
}

std::string ProgramPath(const std::string& relative) { return ProgramFolder() + relative; }
