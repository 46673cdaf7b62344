// Samples of what the toolkit's foundation draws, shown in one window for a person to look
// at: styled texts, the style backgrounds of both tables, and images derived for disabled
// states. scripts/foundation-screenshot.sh takes the picture. Argument: a folder; the
// program writes "shot-foundation" there once the window is painted and ends when the
// file is gone (or after 30 s).
#include <windows.h>

#include <math.h>

#include <string>

#include "tovrel/foundation/image_effects.h"
#include "tovrel/foundation/image_recolour.h"
#include "tovrel/foundation/start_up.h"
#include "tovrel/foundation/style_backgrounds.h"
#include "tovrel/foundation/styled_text.h"
#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"

using namespace tovrel;

namespace {

const int kWidth = 720, kHeight = 470;

void Label(HDC dc, int x, int y, const std::string& text) {
  RECT rect = {x, y, x + 300, y + 16};
  DrawStyledText(dc, text, &rect, ToolkitFont, 1);
}

void PaintTexts(HDC dc, int top) {
  Label(dc, 10, top, "\\bStyled text\\b");
  const char* const samples[] = {
      "Plain, \\bbold\\b, \\iitalic\\i, \\uunderlined\\u, \\sstruck out\\s, \\cC00000red\\n and normal again",
      "A \\c0000FF\\l1link\\l\\n in a line, an escaped \\\\ backslash\\|and a second line after a break",
  };
  int y = top + 20;
  for (const char* text : samples) {
    RECT rect = {20, y, kWidth - 20, y + 40};
    DrawStyledText(dc, text, &rect, ToolkitFont, 1);
    y += 40;
  }
}

void PaintBackgrounds(HDC dc, int top) {
  const int indexes[] = {6, 10, 13, 15, 17, 33, 44, 52};
  const struct {
    int style;
    const char* name;
  } styles[] = {{UISTYLE_OFFICE2003, "OFFICE2003"}, {UISTYLE_OFFICE2007, "OFFICE2007"}};
  int y = top;
  for (const auto& style : styles) {
    Label(dc, 10, y, std::string("\\b") + style.name + " backgrounds\\b");
    y += 20;
    for (int i = 0; i < 8; ++i) {
      const int x = 20 + (i % 4) * 170, row = y + (i / 4) * 48;
      RECT rect = {x, row + 16, x + 150, row + 40};
      PaintStyleBackground(dc, style.style, indexes[i], &rect, 0x1000);
      Label(dc, x, row, "index " + std::to_string(indexes[i]));
    }
    y += 100;
  }
}

// A 32 x 32 picture with soft edges: a blue disc with an orange square on it.
HICON MakeSampleIcon() {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = -32;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double d = sqrt((x - 15.5) * (x - 15.5) + (y - 15.5) * (y - 15.5));
      const int alpha = d < 14 ? 255 : d < 15.5 ? static_cast<int>((15.5 - d) / 1.5 * 255) : 0;
      uint32_t rgb = (x > 9 && x < 22 && y > 9 && y < 22) ? 0xF08020 : 0x2060D0;
      // Premultiplied, as icons with alpha are drawn.
      const uint32_t r = ((rgb >> 16) & 0xFF) * alpha / 255, g = ((rgb >> 8) & 0xFF) * alpha / 255,
                     b = (rgb & 0xFF) * alpha / 255;
      pixels[y * 32 + x] = static_cast<uint32_t>(alpha) << 24 | r << 16 | g << 8 | b;
    }
  }
  HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
  ICONINFO icon = {TRUE, 0, 0, mask, colour};
  HICON made = CreateIconIndirect(&icon);
  DeleteObject(colour);
  DeleteObject(mask);
  return made;
}

void PaintImages(HDC dc, int top) {
  Label(dc, 10, top, "\\bDerived images\\b");
  static HICON source = MakeSampleIcon();
  static HICON greyed =
      static_cast<HICON>(MakeDisabledImage(source, 120.0f, 0, 0, 0, 0, kImageGreyscale | kImageReturnIcon));
  static HICON whidbey = RecolourImageForStyle(source, UISTYLE_WHIDBEY);
  static HICON office2003 = RecolourImageForStyle(source, UISTYLE_OFFICE2003);
  static HICON office2007 = RecolourImageForStyle(source, UISTYLE_OFFICE2007);
  const struct {
    HICON icon;
    const char* name;
  } images[] = {{source, "the picture"},
                {greyed, "greyed, opacity 120"},
                {whidbey, "WHIDBEY disabled"},
                {office2003, "OFFICE2003 disabled"},
                {office2007, "OFFICE2007 disabled"}};
  for (int i = 0; i < 5; ++i) {
    const int x = 20 + i * 135;
    DrawIconEx(dc, x, top + 20, images[i].icon, 32, 32, 0, nullptr, DI_NORMAL);
    Label(dc, x, top + 56, images[i].name);
  }
  DrawArrowGlyph(dc, kWidth - 40, top + 30, 5, 3, 0);
}

LRESULT CALLBACK SamplesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT all = {0, 0, kWidth, kHeight};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    PaintTexts(dc, 10);
    PaintBackgrounds(dc, 110);
    PaintImages(dc, 360);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string marker = std::string(argc > 1 ? argv[1] : ".") + "\\shot-foundation";
  InitToolkit();
  StartToolkit();
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = SamplesProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = "FoundationSamples";
  RegisterClassA(&windowClass);
  RECT frame = {0, 0, kWidth, kHeight};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowExA(0, "FoundationSamples", "Toolkit foundation samples", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                20, 20, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(window);
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  const ULONGLONG end = GetTickCount64() + 30000;
  MSG message;
  while (GetTickCount64() < end && GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(50);
  }
  DestroyWindow(window);
  return 0;
}
