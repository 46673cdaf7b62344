// The planting tests' control: a program that gets its libraries the careless way, so the
// tests can show that their planted libraries really are found when a program asks for
// them by bare name.
//   planting_probe bare NAME...   loads each NAME by bare name, in the default search
//                                 order (the program's own folder first)
//   planting_probe cabinet FILE   restricts its own loads to the system folder, then
//                                 iterates the cabinet FILE through the setup API, without
//                                 loading anything ahead
// Exit code 0 when every step was done, 3 when the program faulted.
#include <windows.h>
#include <setupapi.h>

#include <string>

namespace {

// A planted library exports nothing, so taking it for the real one ends in a fault; the
// probe then ends quietly with code 3 instead of through the crash handler.
LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) { ExitProcess(3); }

UINT CALLBACK SkipEveryFile(PVOID, UINT notification, UINT_PTR, UINT_PTR) {
  return notification == SPFILENOTIFY_FILEINCABINET ? FILEOP_SKIP : NO_ERROR;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetUnhandledExceptionFilter(EndQuietly);
  if (argc >= 3 && std::wstring(argv[1]) == L"bare") {
    int failed = 0;
    for (int i = 2; i < argc; ++i)
      if (!LoadLibraryW(argv[i])) ++failed;
    return failed;
  }
  if (argc == 3 && std::wstring(argv[1]) == L"cabinet") {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return SetupIterateCabinetW(argv[2], 0, SkipEveryFile, nullptr) ? 0 : 1;
  }
  return 2;
}
