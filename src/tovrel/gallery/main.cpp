// The toolkit's gallery program: shows the frame's menus, tool bars and rebars in every UI
// style. Built with the others for people and screenshots; never shipped in a setup.
//
//   TovrelGallery.exe [FOLDER [menu]]
//
// With a folder, the program writes "shot-gallery" there once the window is painted and
// ends when the file is gone again (or after 30 s), so a script can take its picture. The
// picture shows a hot and a checked tool-bar button; with "menu" it shows the File menu
// open instead.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tovrel/foundation/start_up.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/gallery/gallery_window.h"

namespace {

std::string shotFile;
const UINT kOpenFileMenu = WM_APP + 1;

void WriteShotFile() {
  HANDLE file = CreateFileA(shotFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void CALLBACK WatchShot(HWND window, UINT, UINT_PTR, DWORD) {
  static int ticks = 0;
  if (GetFileAttributesA(shotFile.c_str()) != INVALID_FILE_ATTRIBUTES && ++ticks <= 300) return;
  EndMenu();
  DestroyWindow(window);
}

// Runs inside the menu's own message loop: the file is written once the menu is painted.
void CALLBACK MenuShown(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  WriteShotFile();
  SetTimer(window, 1, 100, WatchShot);
}

// The File title's drop-down under its title, as a click on the title will open it.
void OpenFileMenu(const tovrel_gallery::Gallery& gallery) {
  const tovrel_gallery::GalleryMenus& menus = gallery.menus;
  RECT title = {};
  SendMessageA(menus.bar, TB_GETRECT, menus.fileTitle, reinterpret_cast<LPARAM>(&title));
  MapWindowPoints(menus.bar, HWND_DESKTOP, reinterpret_cast<POINT*>(&title), 2);
  SetTimer(gallery.window, 2, 500, MenuShown);
  TrackPopupMenuEx(menus.fileMenu, TPM_VERTICAL, title.left, title.bottom, gallery.window, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  InitToolkit();
  StartToolkit();
  tovrel_gallery::Gallery gallery = tovrel_gallery::CreateGallery();
  if (!gallery.window) return 1;
  ShowWindow(gallery.window, show);
  UpdateWindow(gallery.window);
  const bool menuShot = __argc > 2 && std::string(__argv[2]) == "menu";
  if (__argc > 1) {
    shotFile = std::string(__argv[1]) + "\\shot-gallery";
    if (menuShot) {
      SetForegroundWindow(gallery.window);
      PostMessageA(gallery.window, kOpenFileMenu, 0, 0);
    } else {
      // The second button hot, the text button checked.
      SendMessageA(gallery.toolbar, TB_SETHOTITEM, 1, 0);
      tovrel::SetToolbarButtonChecked(reinterpret_cast<intptr_t>(gallery.toolbar), 103, 1);
      UpdateWindow(gallery.window);
      WriteShotFile();
      SetTimer(gallery.window, 1, 100, WatchShot);
    }
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kOpenFileMenu) {
      OpenFileMenu(gallery);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
