// Steps through a running setup for scripts/setup-screenshots.sh, one step per call, so
// that the script can take a picture between steps:
//   zk_setup_tour make DIR       builds DIR\setup.exe (every page, English and German)
//   zk_setup_tour lang INDEX     chooses language INDEX in the language window
//   zk_setup_tour accept|next|back
//   zk_setup_tour sleep MS       waits (the setup runs this as its command, so that the
//                                installing page stays long enough for a picture)
// Ends with 0 when the step was done.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "common/text.h"
#include "driver/driver.h"
#include "setupruntime/setup_fixture.h"

namespace {

// The shown runtime window that holds control id.
HWND WindowWith(int id) {
  struct Search {
    int id;
    HWND found;
  } s{id, nullptr};
  for (int i = 0; i < 100 && !s.found; ++i) {
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          Search* s = reinterpret_cast<Search*>(p);
          wchar_t cls[64];
          if (!IsWindowVisible(w) || !GetClassNameW(w, cls, 64) || wcscmp(cls, L"ZkRuntimeWindow") != 0) return TRUE;
          if (!DriverFindControl(w, s->id)) return TRUE;
          s->found = w;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    if (!s.found) Sleep(100);
  }
  return s.found;
}

bool Click(int id) {
  HWND w = WindowWith(id);
  return w && DriverClick(DriverFindControl(w, id));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring step = argv[1];
  if (step == L"make" && argc > 2) {
    std::wstring dir = FullFolder(argv[2]);
    CreateFolderPath(dir);
    BuildInput in = FullProject();
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    CommandEntry wait;
    wait.type = "Execute application";
    wait.program = WideToAnsi(self);
    wait.parameters = "sleep 4000";
    wait.options = "-wait -hide";
    in.project.commands = {wait};
    std::string error;
    if (MakeSetupFromProject(in, dir, &error)) return 0;
    fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (step == L"lang" && argc > 2) {
    HWND w = WindowWith(0x46);
    if (!w || !DriverComboSelect(DriverFindControl(w, 0x46), _wtoi(argv[2]))) return 1;
    return Click(0x48) ? 0 : 1;
  }
  if (step == L"sleep" && argc > 2) {
    Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    return 0;
  }
  if (step == L"accept") return Click(0x15) ? 0 : 1;
  if (step == L"next") return Click(1) ? 0 : 1;
  if (step == L"back") return Click(0x3D) ? 0 : 1;
  return 2;
}
