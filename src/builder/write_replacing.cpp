#include "builder/write_replacing.h"

#include <windows.h>

bool WriteReplacing(const std::string& path, const char* prefix,
                    const std::function<bool(const std::string& temp)>& write) {
  size_t slash = path.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  char temp[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), prefix, 0, temp)) return false;
  bool ok = write(temp) && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temp);
  return ok;
}
