#include "tovrel/gallery/gallery_window.h"

#include <commctrl.h>

#include <string>

#include "tovrel/foundation/toolkit_globals.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/frame/rebar.h"
#include "tovrel/frame/rebar_bands.h"
#include "tovrel/frame/rebar_height.h"
#include "tovrel/frame/rebar_fitting.h"
#include "tovrel/frame/toolbar.h"
#include "tovrel/gallery/gallery_images.h"
#include "tovrel/gallery/gallery_menus.h"

namespace tovrel_gallery {

using namespace tovrel;

namespace {

const char kGalleryClass[] = "TovrelGallery";
const char kPanelClass[] = "TovrelGalleryPanel";
const int kPanelHeight = 96, kGap = 6;

// The panels below the gallery's own rebar, each with a rebar of its own.
struct PanelSpec {
  const char* caption;
  int uiStyle;
};
const PanelSpec kPanels[] = {
    {"No UI style", 0},
    {"OFFICE2003", UISTYLE_OFFICE2003},
    {"OFFICE2007, a fill band and a follow band", UISTYLE_OFFICE2007},
};
const int kPanelCount = sizeof(kPanels) / sizeof(kPanels[0]);
HWND panels[kPanelCount];

HICON Icon(Shape shape, COLORREF rgb) { return MakeGalleryIcon(16, shape, rgb); }

// A flat tool bar in the style: three picture buttons, a separator and a marked-up text
// button, and a combo box on it when asked. Hosted in a new band of the current rebar.
HWND AddToolbarBand(HWND parent, int uiStyle, int firstId, bool withGadget, int bandStyle) {
  const intptr_t number = CreateToolbar(
      -1, parent, 16, 16,
      uiStyle | 0x800000 | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN);
  HWND toolbar = GetToolbarWindow(number);
  if (!toolbar) return nullptr;
  AddToolbarButton(firstId, "New", Icon(Shape::kSquare, 0x2E7D32), Icon(Shape::kSquare, 0x66BB6A), 0, BTNS_AUTOSIZE);
  AddToolbarButton(firstId + 1, "Open", Icon(Shape::kCircle, 0x1565C0), Icon(Shape::kCircle, 0x64B5F6), 0,
                   BTNS_AUTOSIZE);
  AddToolbarButton(firstId + 2, "Save", Icon(Shape::kTriangle, 0xC62828), 0, 0, BTNS_AUTOSIZE);
  AddToolbarSeparator();
  AddToolbarTextButton(firstId + 3, "\\bBuild\\b", BTNS_AUTOSIZE);
  DisableToolbarButton(number, firstId + 2, 1);
  SetToolbarButtonToolTip(number, firstId, "Makes a new project");
  if (withGadget) {
    HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 110,
                                 200, toolbar, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitFont), 0);
    for (const char* item : {"Release", "Debug", "Checked"}) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    AddToolbarGadget(firstId + 4, combo, 4, 1, 4, 2, 1);
  }
  SIZE size = {};
  SendMessageA(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
  AddRebarBand(toolbar, "", size.cx + 16, size.cx, 0, nullptr, bandStyle);
  return toolbar;
}

HWND AddButtonBand(HWND parent, const char* text, int bandStyle) {
  HWND button = CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 110, 24, parent,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitFont), 0);
  AddRebarBand(button, "", 130, 90, 24, nullptr, bandStyle);
  return button;
}

HWND AddListBand(HWND parent, const char* text, int bandStyle, int minHeight) {
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 0, 0, 160,
                              minHeight, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitFont), 0);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  AddRebarBand(list, "", 220, 120, minHeight, nullptr, bandStyle);
  return list;
}

void FillPanel(HWND panel, int index) {
  const PanelSpec& spec = kPanels[index];
  HWND caption = CreateWindowExA(0, "Static", spec.caption, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 10, 18, panel,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(caption, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitFont), 0);
  SetWindowLongPtrA(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(caption));
  CreateRebar(-1, panel, nullptr, spec.uiStyle | RBS_VARHEIGHT | RBS_BANDBORDERS, 0);
  if (index < 2) {
    AddToolbarBand(panel, spec.uiStyle, 200 + index * 10, false, 0);
    AddButtonBand(panel, "Button band", 0);
    return;
  }
  // The fill band reaches down to the caption line below it; the follow band beside it
  // takes its height.
  AddListBand(panel, "Fill band: down to the line below", static_cast<int>(RebarFillBandBits & 0x20000), 20);
  AddListBand(panel, "Follow band", static_cast<int>(RebarFollowBand), 20);
  // Adding a band sizes no window, so nothing has fitted the follow band yet.
  FitRebarBands(panel);
}

// A panel's caption is a line of its own at the panel's bottom: the window a fill band
// reaches down to.
LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    HWND caption = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (caption) MoveWindow(caption, 8, HIWORD(lParam) - 20, LOWORD(lParam) - 16, 18, TRUE);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void PlacePanels(HWND gallery, HWND rebar) {
  RECT client;
  GetClientRect(gallery, &client);
  int y = GetRebarHeight(reinterpret_cast<intptr_t>(rebar)) + kGap;
  for (HWND panel : panels) {
    if (!panel) continue;
    MoveWindow(panel, kGap, y, client.right - 2 * kGap, kPanelHeight, TRUE);
    y += kPanelHeight + kGap;
  }
}

LRESULT CALLBACK GalleryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
    case WM_TOVREL_REBARHEIGHT:
      PlacePanels(window, reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_USERDATA)));
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
  WNDCLASSEXA cls = {};
  cls.cbSize = sizeof(cls);
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  cls.lpfnWndProc = GalleryProc;
  cls.lpszClassName = kGalleryClass;
  RegisterClassExA(&cls);
  cls.lpfnWndProc = PanelProc;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = kPanelClass;
  RegisterClassExA(&cls);
}

}  // namespace

Gallery CreateGallery() {
  RegisterClasses();
  Gallery gallery;
  gallery.window = CreateWindowExA(0, kGalleryClass, "Tovrel gallery", WS_OVERLAPPEDWINDOW, 40, 40, 720, 452, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!gallery.window) return gallery;
  // The gallery's own rebar, as the tool's main window has it: the menu bar in the first
  // row, a tool bar band with a combo box and a button band in the second, and a follow
  // band in a row of its own, whose bottom edge the user drags to make the window taller.
  const intptr_t rebar =
      CreateRebar(-1, gallery.window, nullptr, UISTYLE_OFFICE2007 | RBS_VARHEIGHT | RBS_BANDBORDERS, 0);
  gallery.mainRebar = GetRebarWindow(rebar);
  SetWindowLongPtrA(gallery.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(gallery.mainRebar));
  gallery.menus = AddGalleryMenuBar(gallery.window);
  gallery.toolbar = AddToolbarBand(gallery.window, UISTYLE_OFFICE2007, 100, true, RBBS_BREAK);
  AddButtonBand(gallery.window, "Button band", 0);
  AddListBand(gallery.window, "Drag the lower edge of this band", static_cast<int>(RebarFollowBand | RBBS_BREAK), 28);
  gallery.followBand = static_cast<int>(SendMessageA(gallery.mainRebar, RB_GETBANDCOUNT, 0, 0)) - 1;
  for (int i = 0; i < kPanelCount; ++i) {
    panels[i] = CreateWindowExA(WS_EX_CLIENTEDGE, kPanelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10,
                                kPanelHeight, gallery.window, nullptr, GetModuleHandleA(nullptr), nullptr);
    FillPanel(panels[i], i);
  }
  RECT client;
  GetClientRect(gallery.window, &client);
  SendMessageA(gallery.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  return gallery;
}

}  // namespace tovrel_gallery
