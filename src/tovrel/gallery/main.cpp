// The toolkit's gallery program: shows the frame's tool bars and rebars in every UI style.
// Built with the others for people and screenshots; never shipped in a setup.
//
//   TovrelGallery.exe [FOLDER]
//
// With a folder, the program writes "shot-gallery" there once the window is painted and
// ends when the file is gone again (or after 30 s), so a script can take its picture.
#include <windows.h>

#include <string>

#include "tovrel/foundation/start_up.h"
#include "tovrel/gallery/gallery_window.h"

namespace {

std::string shotFile;

void CALLBACK WatchShot(HWND window, UINT, UINT_PTR, DWORD) {
  static int ticks = 0;
  if (GetFileAttributesA(shotFile.c_str()) == INVALID_FILE_ATTRIBUTES || ++ticks > 300) DestroyWindow(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  InitToolkit();
  StartToolkit();
  tovrel_gallery::Gallery gallery = tovrel_gallery::CreateGallery();
  if (!gallery.window) return 1;
  ShowWindow(gallery.window, show);
  UpdateWindow(gallery.window);
  if (__argc > 1) {
    shotFile = std::string(__argv[1]) + "\\shot-gallery";
    HANDLE file = CreateFileA(shotFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    SetTimer(gallery.window, 1, 100, WatchShot);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
