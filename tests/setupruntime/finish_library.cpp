// A stand-in for an author's finish library: two functions that leave their mark in the
// current folder, in the order they are called, and a data export that must never be
// called (its bytes are no code).
#include <windows.h>

namespace {

void Mark(const char* text) {
  HANDLE h = CreateFileW(L"finish_library_calls.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD put = 0;
  WriteFile(h, text, 1, &put, nullptr);
  CloseHandle(h);
}

}  // namespace

extern "C" {
__declspec(dllexport) void FinishFirst() { Mark("1"); }
__declspec(dllexport) void FinishSecond() { Mark("2"); }
__declspec(dllexport) unsigned char FinishData[16] = {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC,
                                                      0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};
}
