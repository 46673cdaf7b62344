// The colouriser's records: creating, updating and removing them, and the subclassing
// that lets the window procedures (colouriser_procs.cpp) answer for recorded controls.
#include "app/colouriser/colouriser.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "app/colouriser/colouriser_state.h"
#include "common/gui.h"
#include "common/scoped.h"
#include "common/text.h"

namespace colouriser {

State& Module() {
  static State state;
  return state;
}

ColourRecord* RecordOfControl(int control) {
  for (ColourRecord& r : Module().records)
    if (r.control == control) return &r;
  return nullptr;
}

ColourRecord* RecordOfWindow(HWND window) {
  if (!window) return nullptr;
  for (ColourRecord& r : Module().records)
    if (r.window == window) return &r;
  return nullptr;
}

void RedrawAll(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace colouriser

using namespace colouriser;

namespace {

constexpr DWORD kOwnerDrawFixedTabs = 0x2000;

bool UsesWindowColours(const std::string& cls) {
  static const char* const kWindowClasses[] = {"Edit",          "ListBox",       "ComboBox",
                                               "SysListView32", "SysTreeView32", "RichEdit20A",
                                               "RichEdit20W",   "RichEdit",      "RichEdit50W"};
  for (const char* c : kWindowClasses)
    if (cls == c) return true;
  return false;
}

// A brush of a container, scroll area or tab control also serves as its class's
// background. The class keeps painting with whatever brush it was given, so before the
// record's brush is deleted the class gets back the brush it had before.
void ReleaseRecordBrush(ColourRecord* r) {
  if (!r->brush) return;
  if (r->classBrushReplaced && r->window && IsWindow(r->window) &&
      reinterpret_cast<HBRUSH>(GetClassLongPtrW(r->window, GCLP_HBRBACKGROUND)) == r->brush) {
    SetClassLongPtrW(r->window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(r->replacedClassBrush));
  }
  r->classBrushReplaced = false;
  DeleteObject(r->brush);  // stock brushes are left alone by GDI
  r->brush = nullptr;
}

void AssignBrush(ColourRecord* r, HBRUSH brush) {
  if (r->brush == brush) return;
  ReleaseRecordBrush(r);
  r->brush = brush;
}

void UseAsClassBrush(ColourRecord* r, HWND window) {
  LONG_PTR before = SetClassLongPtrW(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(r->brush));
  if (!r->classBrushReplaced) {
    r->replacedClassBrush = reinterpret_cast<HBRUSH>(before);
    r->classBrushReplaced = true;
  }
}

// The colour an argument sets: a none argument keeps the record's current value, so
// that a later call with "none" never stores the sentinel itself as a colour.
int32_t ColourOf(int32_t colour, int32_t current, int which, const std::string& cls) {
  if (colour == kColourNone) return current;
  return static_cast<int32_t>(GetDefaultKindColour(colour, which, cls));
}

void BrushOf(ColourRecord* r, int32_t colour, const std::string& cls) {
  if (colour == kColourNone) return;
  AssignBrush(r, reinterpret_cast<HBRUSH>(GetDefaultKindColour(colour, 2, cls)));
}

void SetImageListBackground(HIMAGELIST list, int32_t colour) {
  if (list) ImageList_SetBkColor(list, static_cast<COLORREF>(colour));
}

// Mode 1 for each kind.
void ApplyOwnColours(ColourRecord* r, HWND hwnd, int control, int32_t text, int32_t background, intptr_t extra,
                     const std::string& cls) {
  if (text != kColourNone) r->text = static_cast<int32_t>(GetDefaultKindColour(text, 0, cls));
  if (background == kColourTransparent) {
    AssignBrush(r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    r->background = kColourTransparent;
    DisableControlTheme(control);
  } else if (background != kColourNone) {
    AssignBrush(r, reinterpret_cast<HBRUSH>(GetDefaultKindColour(background, 2, cls)));
    r->background = static_cast<int32_t>(GetDefaultKindColour(background, 1, cls));
  }
  const COLORREF bg = static_cast<COLORREF>(r->background);
  switch (r->kind) {
    case kColourKindTab:
      UseAsClassBrush(r, hwnd);
      SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | kOwnerDrawFixedTabs);
      break;
    case kColourKindButton: {
      LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
      // Check boxes, options and group boxes ignore the colours while themed.
      if ((style & 7) != 0 && (!(style & 0x10000) || (style & ((1 << 3) | (1 << 9))))) DisableControlTheme(control);
      break;
    }
    case kColourKindListView:
      SendMessageW(hwnd, LVM_SETBKCOLOR, 0, bg);
      SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, bg);
      SetImageListBackground(reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)),
                             r->background);
      break;
    case kColourKindComboBox:
      SubclassColouredControl(control, ColouriserChildProc, 0);
      break;
    case kColourKindContainer:
      UseAsClassBrush(r, hwnd);
      break;
    case kColourKindScrollArea: {
      HWND inner = GetWindow(hwnd, GW_CHILD);
      if (inner) {
        r->window = inner;
        UseAsClassBrush(r, inner);
      }
      break;
    }
    case kColourKindTreeView:
      FillDefaultColours(r, cls);
      if (static_cast<int32_t>(extra) == kColourTransparent) {
        r->skip = 1;
      } else {
        SendMessageW(hwnd, TVM_SETBKCOLOR, 0, bg);
        SetImageListBackground(reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
                               r->background);
      }
      break;
    case kColourKindProgress:
      SendMessageW(hwnd, PBM_SETBARCOLOR, 0, static_cast<COLORREF>(r->text));
      SendMessageW(hwnd, PBM_SETBKCOLOR, 0, bg);
      break;
    case kColourKindRichEdit: {
      SendMessageW(hwnd, WM_SETREDRAW, 0, 0);
      SendMessageW(hwnd, EM_SETBKGNDCOLOR, 0, bg);
      CHARFORMATA format = {};
      format.cbSize = sizeof(format);
      format.dwMask = CFM_COLOR;
      format.crTextColor = static_cast<COLORREF>(r->text);
      SendMessageW(hwnd, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
      SendMessageW(hwnd, WM_SETREDRAW, 1, 0);
      break;
    }
    default:
      break;
  }
}

void SetTreeLevel(ColourGroup* level, int32_t text, int32_t background, const std::string& cls) {
  level->a = ColourOf(text, level->a, 0, cls);
  level->b = ColourOf(background, level->b, 1, cls);
  level->c = 1;
}

// Position of a control in its parent's client area.
POINT PositionInParent(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  POINT p = {r.left, r.top};
  ScreenToClient(GetParent(hwnd), &p);
  return p;
}

}  // namespace

void InitControlColouriser() {
  State& s = Module();
  s.redraw = true;
  s.records.clear();
  s.controls.clear();
  s.focusItem = 0;
  s.focusList = nullptr;
  AreThemesActive();
}

// The runtime needs no start of its own before the colouriser.
void InitControlColouriserStandalone() { InitControlColouriser(); }

void EndControlColouriser() { ReleaseControlColours(); }

std::string GetControlClassName(HWND window) {
  char name[255] = {};
  int n = GetClassNameA(window, name, 255);
  return std::string(name, n > 0 ? static_cast<size_t>(std::min(n, 254)) : 0);
}

int GetControlKind(const std::string& className) {
  static const struct {
    const char* cls;
    int kind;
  } kKinds[] = {
      {"Button", kColourKindButton},
      {"Edit", kColourKindEdit},
      {"ListBox", kColourKindListBox},
      {"ComboBox", kColourKindComboBox},
      {"SysListView32", kColourKindListView},
      {"SysTreeView32", kColourKindTreeView},
      {"msctls_progress32", kColourKindProgress},
      {"RichEdit20A", kColourKindRichEdit},
      // The class the runtime's editor is made of.
      {"RichEdit20W", kColourKindRichEdit},
      {"RichEdit", kColourKindRichEdit},
      {"RichEdit50W", kColourKindRichEdit},
      {"SysTabControl32", kColourKindTab},
  };
  for (const auto& k : kKinds)
    if (className == k.cls) return k.kind;
  // Containers are the runtime's own (CreateContainer and the pages of panels). The
  // runtime makes no scroll areas, so no class has that kind.
  static const std::string container = WideToAnsi(kRuntimeContainerClass);
  if (className == container) return kColourKindContainer;
  return kColourKindOther;
}

bool IsRuntimeWindowClass(const std::string& className) {
  static const std::string window = WideToAnsi(kRuntimeWindowClass);
  return className == window;
}

intptr_t GetDefaultKindColour(int32_t colour, int which, const std::string& className) {
  if (colour != kColourDefault) {
    if (which == 2) return reinterpret_cast<intptr_t>(CreateSolidBrush(static_cast<COLORREF>(colour)));
    return colour;
  }
  bool window = UsesWindowColours(className);
  if (which == 0) return static_cast<int32_t>(GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  COLORREF background = GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE);
  if (which == 2) return reinterpret_cast<intptr_t>(CreateSolidBrush(background));
  return static_cast<int32_t>(background);
}

void FillDefaultColours(ColourRecord* r, const std::string& className) {
  if (!r || (r->modeBits & kColourModeOwn)) return;
  r->text = static_cast<int32_t>(GetDefaultKindColour(kColourDefault, 0, className));
  r->background = static_cast<int32_t>(GetDefaultKindColour(kColourDefault, 1, className));
  AssignBrush(r, reinterpret_cast<HBRUSH>(GetDefaultKindColour(kColourDefault, 2, className)));
  if (r->kind != kColourKindTreeView) return;
  for (ColourGroup* level : {&r->group1, &r->group2, &r->group3}) {
    if (level->c != 0) continue;
    level->a = r->text;
    level->b = r->background;
  }
}

int AreThemesActive() {
  ScopedModule lib(LoadLibraryA("UxTheme.dll"));
  if (!lib) return 0;
  using IsThemeActiveFn = BOOL(WINAPI*)();
  auto isActive =
      reinterpret_cast<IsThemeActiveFn>(reinterpret_cast<void*>(GetProcAddress(lib.get(), "IsThemeActive")));
  if (isActive && isActive()) Module().themesActive = true;
  lib.reset();
  return Module().themesActive ? 1 : 0;
}

void DisableControlTheme(int control) {
  if (!Module().themesActive) return;
  HWND hwnd = ControlHandle(control);
  if (!hwnd) return;
  ScopedModule lib(LoadLibraryA("UxTheme.dll"));
  if (!lib) return;
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  auto setTheme =
      reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(lib.get(), "SetWindowTheme")));
  if (setTheme) setTheme(hwnd, L"", L"");
}

// Subclassing a window that already has this subclass changes nothing, so parents need
// no list of their own.
void SubclassColouredParent(HWND window, SUBCLASSPROC procedure) {
  if (window) SetWindowSubclass(window, procedure, kColouriserSubclass, 0);
}

void SubclassColouredControl(int control, SUBCLASSPROC procedure, int useParent) {
  HWND hwnd = ControlHandle(control);
  if (!hwnd) return;
  if (useParent) hwnd = GetParent(hwnd);
  if (!hwnd) return;
  auto& controls = Module().controls;
  for (auto it = controls.begin(); it != controls.end(); ++it) {
    if (it->control != control) continue;
    if (it->window == hwnd) return;
    controls.erase(it);  // the control was made anew: its old window is gone
    break;
  }
  if (SetWindowSubclass(hwnd, procedure, kColouriserSubclass, 0)) controls.push_back({control, hwnd, procedure});
}

int IsNumericText(const std::string& text) {
  if (text.empty()) return 0;
  for (char c : text)
    if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')) return 0;
  return 1;
}

const ColourRecord* FindColourRecord(int control) { return RecordOfControl(control); }

int SetControlColours(int control, int32_t text, int32_t background, intptr_t extra, int mode) {
  HWND hwnd = ControlHandle(control);
  if (!hwnd) return 0;
  State& s = Module();
  ColourRecord* r = RecordOfControl(control);
  if (r) {
    if (background != kColourNone) ReleaseRecordBrush(r);
  } else {
    s.records.emplace_back();
    r = &s.records.back();
    if (text == kColourNone) text = kColourDefault;
    if (background == kColourNone) background = kColourDefault;
  }
  r->control = control;
  r->window = hwnd;

  // Every ancestor up to the runtime's window answers for the control. The runtime's
  // windows are top-level, so a chain without a runtime window ends at the top-level
  // window, which is then the top window.
  for (HWND child = hwnd; GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD;) {
    HWND parent = GetAncestor(child, GA_PARENT);
    if (!parent || parent == GetDesktopWindow()) break;
    SubclassColouredParent(parent, ColouriserParentProc);
    r->topWindow = parent;
    if (IsRuntimeWindowClass(GetControlClassName(parent))) break;
    child = parent;
  }

  if (mode < 0 || mode > kColourModePattern) {
    r->modeBits &= mode;
  } else {
    r->modeBits |= mode;
    const std::string cls = GetControlClassName(hwnd);
    r->kind = GetControlKind(cls);
    switch (mode) {
      case kColourModeOwn:
        ApplyOwnColours(r, hwnd, control, text, background, extra, cls);
        break;
      case kColourModeAlternateRows:
      case kColourModeAlternateColumns:
        if (mode == kColourModeAlternateRows && r->kind == kColourKindTreeView) {
          SetTreeLevel(&r->group1, text, background, cls);
          FillDefaultColours(r, cls);
          break;
        }
        if (background != kColourNone)
          SendMessageW(hwnd, LVM_SETBKCOLOR, 0, static_cast<COLORREF>(GetDefaultKindColour(background, 1, cls)));
        r->text = ColourOf(text, r->text, 0, cls);
        r->background = ColourOf(background, r->background, 1, cls);
        BrushOf(r, background, cls);
        r->group1.b = r->background;
        r->group1.c = static_cast<int32_t>(GetDefaultKindColour(static_cast<int32_t>(extra), 1, cls));
        SubclassColouredControl(control, ColouriserControlProc, 0);
        break;
      case kColourModeAbove:
      case kColourModeBelow: {
        FillDefaultColours(r, cls);
        ColourGroup* group = mode == kColourModeAbove ? &r->group2 : &r->group3;
        if (r->kind == kColourKindTreeView) {
          SetTreeLevel(group, text, background, cls);
        } else if (extra) {
          const int32_t* values = reinterpret_cast<const int32_t*>(extra);
          group->a = values[0];
          group->b = values[1];
          group->c = values[2];
        }
        break;
      }
      case kColourModeSelection:
        FillDefaultColours(r, cls);
        r->selectionText = ColourOf(text, r->selectionText, 0, cls);
        r->selectionBackground = ColourOf(background, r->selectionBackground, 1, cls);
        r->selectionEnabled = 1;
        break;
      case kColourModeSurfacePixel:
        if (extra) {
          POINT p = PositionInParent(hwnd);
          COLORREF pixel = GetPixel(reinterpret_cast<HDC>(extra), p.x - 5, p.y);
          r->text = ColourOf(text, r->text, 0, cls);
          r->background = static_cast<int32_t>(GetDefaultKindColour(kColourDefault, 1, cls));
          AssignBrush(r, CreateSolidBrush(pixel));
        }
        break;
      case kColourModePattern:
        r->text = ColourOf(text, r->text, 0, cls);
        r->background = static_cast<int32_t>(GetDefaultKindColour(kColourDefault, 1, cls));
        AssignBrush(r, CreatePatternBrush(reinterpret_cast<HBITMAP>(extra)));
        break;
      default:
        break;  // mode 0 and the rest store no colour
    }
  }
  int result = r->modeBits;
  if (s.redraw) RedrawAll(r->window);
  return result;
}

namespace {

// Takes the control's own subclass off again.
void UnsubclassControl(int control) {
  auto& controls = Module().controls;
  for (auto it = controls.begin(); it != controls.end(); ++it) {
    if (it->control != control) continue;
    if (IsWindow(it->window)) RemoveWindowSubclass(it->window, it->procedure, kColouriserSubclass);
    controls.erase(it);
    return;
  }
}

void ResetListBackground(const ColourRecord& r) {
  if (r.kind == kColourKindListView && IsWindow(r.window))
    SendMessageW(r.window, LVM_SETBKCOLOR, 0, GetSysColor(COLOR_BTNFACE));
}

}  // namespace

void RemoveControlColourRecord(int control) {
  State& s = Module();
  for (auto it = s.records.begin(); it != s.records.end(); ++it) {
    if (it->control != control) continue;
    ResetListBackground(*it);
    ReleaseRecordBrush(&*it);
    UnsubclassControl(control);
    HWND window = it->window;
    s.records.erase(it);
    if (s.redraw && IsWindow(window)) RedrawAll(window);
    return;
  }
}

void ForgetColouredControl(int control) {
  State& s = Module();
  bool redraw = s.redraw;
  s.redraw = false;
  RemoveControlColourRecord(control);
  s.redraw = redraw;
}

void ReleaseControlColours() {
  State& s = Module();
  for (ColourRecord& r : s.records) {
    ResetListBackground(r);
    ReleaseRecordBrush(&r);
  }
  s.records.clear();
  std::vector<ControlEntry> entries = s.controls;
  for (const ControlEntry& e : entries) UnsubclassControl(e.control);
  s.focusItem = 0;
  s.focusList = nullptr;
}
