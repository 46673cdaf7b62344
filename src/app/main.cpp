// Zendrikolbar, the authoring tool.
#include <windows.h>
#include <commctrl.h>

static LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_SIZE:
      SendMessageA(GetDlgItem(w, 1), WM_SIZE, 0, 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "ZendrikolbarMain";
  RegisterClassExA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "Zendrikolbar", WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, inst, nullptr);
  if (!w) return 1;
  CreateWindowExA(0, STATUSCLASSNAMEA, "Ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, w,
                  reinterpret_cast<HMENU>(1), inst, nullptr);
  ShowWindow(w, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
