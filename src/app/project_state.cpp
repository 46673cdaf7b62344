#include "app/project_state.h"

std::string ProjectPath;

namespace {
std::mutex g_lastSetupLock;
std::string g_lastSetupPath;
}  // namespace

std::string GetLastSetupPath() {
  std::lock_guard<std::mutex> g(g_lastSetupLock);
  return g_lastSetupPath;
}

void SetLastSetupPath(const std::string& path) {
  std::lock_guard<std::mutex> g(g_lastSetupLock);
  g_lastSetupPath = path;
}
