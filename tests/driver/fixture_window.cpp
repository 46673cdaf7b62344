// driver_fixture.exe: a window with one control of each kind the test driver works, so
// driver_test can check every driver call against a program whose answers it knows.
//
//   driver_fixture.exe            shows "Driver Fixture"; exits with 0 when closed
//   driver_fixture.exe /exit N    ends at once with exit code N, without a window
//
// Controls (IDs): 10 edit, 11 check box, 12 "Copy" (edit text -> label 13), 13 label,
// 14 disabled button, 15 report list view with two items, 16 "Ask" (Yes/No box "Question?"
// titled "Fixture", answer -> label 13), 17 drop-down list, 18 the command line arguments,
// 19 the working folder, 20 mirrors edit 10 or 22 on every EN_CHANGE, 21 the combo's
// selected text on every CBN_SELCHANGE, 22 a multi-line edit (which, unlike a single-line
// one, does not announce WM_SETTEXT with EN_CHANGE itself), 30 a panel that holds 11 and
// 17 (nested controls), 23 a tab control with tabs "One", "Two" ("Two" selected), 24 a tree
// with check boxes holding "apple" (checked) and "pear".
// Menu item 100 "Do it" writes "menu" into label 13.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace {

enum {
  kEdit = 10,
  kCheck = 11,
  kCopy = 12,
  kLabel = 13,
  kDisabled = 14,
  kList = 15,
  kAsk = 16,
  kCombo = 17,
  kArgs = 18,
  kFolder = 19,
  kMirror = 20,
  kChoice = 21,
  kNotes = 22,
  kTabs = 23,
  kTree = 24,
  kPanel = 30,
  kDoIt = 100
};

HINSTANCE g_inst;

HWND Make(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_inst, nullptr);
}

void SetLabel(HWND top, int id, const char* text) { SetWindowTextA(GetDlgItem(top, id), text); }

// The panel passes its children's notifications on, as a dialog page would.
LRESULT CALLBACK PanelProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND || m == WM_NOTIFY) return SendMessageA(GetParent(w), m, wp, lp);
  return DefWindowProcA(w, m, wp, lp);
}

void AddListItem(HWND list, int row, const char* first, const char* second) {
  LVITEMA it = {};
  it.mask = LVIF_TEXT;
  it.iItem = row;
  it.pszText = const_cast<char*>(first);
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
  it.iSubItem = 1;
  it.pszText = const_cast<char*>(second);
  SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
}

void Build(HWND top, const char* args) {
  Make(top, "EDIT", "", WS_BORDER | ES_AUTOHSCROLL, kEdit, 10, 10, 200, 24);
  Make(top, "BUTTON", "Copy", BS_PUSHBUTTON, kCopy, 220, 10, 80, 24);
  Make(top, "STATIC", "", 0, kLabel, 310, 10, 200, 24);
  Make(top, "BUTTON", "Disabled", BS_PUSHBUTTON | WS_DISABLED, kDisabled, 10, 40, 80, 24);
  Make(top, "BUTTON", "Ask", BS_PUSHBUTTON, kAsk, 100, 40, 80, 24);
  Make(top, "STATIC", "", 0, kMirror, 190, 40, 150, 24);
  Make(top, "STATIC", "", 0, kChoice, 350, 40, 150, 24);

  HWND panel = Make(top, "FixturePanel", "", 0, kPanel, 10, 70, 500, 40);
  Make(panel, "BUTTON", "Check", BS_AUTOCHECKBOX, kCheck, 0, 8, 100, 24);
  HWND combo = Make(panel, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, kCombo, 110, 8, 150, 120);
  const char* choices[] = {"alpha", "beta", "gamma"};
  for (const char* c : choices) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c));
  SendMessageA(combo, CB_SETCURSEL, 1, 0);

  HWND list = Make(top, WC_LISTVIEWA, "", LVS_REPORT | WS_BORDER, kList, 10, 120, 300, 100);
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = 120;
  col.pszText = const_cast<char*>("Name");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  col.pszText = const_cast<char*>("Value");
  SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
  AddListItem(list, 0, "first", "one");
  AddListItem(list, 1, "second", "two");

  Make(top, "STATIC", args, 0, kArgs, 10, 230, 500, 24);
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, folder);
  Make(top, "STATIC", folder, 0, kFolder, 10, 260, 500, 24);
  Make(top, "EDIT", "", WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, kNotes, 320, 120, 190, 100);

  HWND tabs = Make(top, WC_TABCONTROLA, "", 0, kTabs, 10, 290, 240, 60);
  const char* tabTexts[] = {"One", "Two"};
  for (int i = 0; i < 2; ++i) {
    TCITEMA t = {};
    t.mask = TCIF_TEXT;
    t.pszText = const_cast<char*>(tabTexts[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&t));
  }
  SendMessageA(tabs, TCM_SETCURSEL, 1, 0);

  HWND tree = Make(top, WC_TREEVIEWA, "", WS_BORDER, kTree, 270, 290, 240, 80);
  // Check boxes are switched on after creation, as the control documents.
  SetWindowLongPtrA(tree, GWL_STYLE, GetWindowLongPtrA(tree, GWL_STYLE) | TVS_CHECKBOXES);
  const char* fruit[] = {"apple", "pear"};
  for (int i = 0; i < 2; ++i) {
    TVINSERTSTRUCTA ins = {};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_STATE;
    ins.item.pszText = const_cast<char*>(fruit[i]);
    ins.item.stateMask = TVIS_STATEIMAGEMASK;
    ins.item.state = INDEXTOSTATEIMAGEMASK(i == 0 ? 2 : 1);
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
  }
}

void OnCommand(HWND top, int id, int code) {
  switch (id) {
    case kDoIt:
      SetLabel(top, kLabel, "menu");
      break;
    case kCopy: {
      char text[256] = "";
      GetDlgItemTextA(top, kEdit, text, sizeof(text));
      SetLabel(top, kLabel, text);
      break;
    }
    case kDisabled:
      // Reaching here means a disabled button was pressed: the driver must not do that.
      SetLabel(top, kLabel, "disabled");
      break;
    case kAsk: {
      int answer = MessageBoxA(top, "Question?", "Fixture", MB_YESNO | MB_ICONQUESTION);
      SetLabel(top, kLabel, answer == IDYES ? "yes" : "no");
      break;
    }
    case kEdit:
    case kNotes:
      if (code == EN_CHANGE) {
        char text[256] = "";
        GetDlgItemTextA(top, id, text, sizeof(text));
        SetLabel(top, kMirror, text);
      }
      break;
    case kCombo:
      if (code == CBN_SELCHANGE) {
        HWND combo = GetDlgItem(GetDlgItem(top, kPanel), kCombo);
        char text[256] = "";
        LRESULT sel = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        if (sel >= 0 && SendMessageA(combo, CB_GETLBTEXTLEN, sel, 0) < 256) {
          SendMessageA(combo, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
        }
        SetLabel(top, kChoice, text);
      }
      break;
  }
}

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_COMMAND:
      OnCommand(w, LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

bool Register(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = g_inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR args, int show) {
  g_inst = inst;
  if (std::strncmp(args, "/exit ", 6) == 0) return std::atoi(args + 6);

  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  if (!Register("FixtureMain", MainProc) || !Register("FixturePanel", PanelProc)) return 2;

  HMENU bar = CreateMenu();
  HMENU actions = CreatePopupMenu();
  AppendMenuA(actions, MF_STRING, kDoIt, "Do it");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(actions), "Actions");

  HWND top = CreateWindowExA(0, "FixtureMain", "Driver Fixture", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 540,
                             440, nullptr, bar, inst, nullptr);
  if (!top) return 3;
  Build(top, args);
  ShowWindow(top, show);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
