// Windows for the parent-window and band tests, made the way the toolkit's creators make
// them: a host window, a real rebar at its top left with bands whose lParam is their
// RebarBand record, tool bars in bands, and the records in the toolkit's lists. The
// records are taken out of the lists again when the fixture goes.
#ifndef ZK_TESTS_TOVREL_FRAME_BAND_TEST_WINDOWS_H
#define ZK_TESTS_TOVREL_FRAME_BAND_TEST_WINDOWS_H

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "tovrel/foundation/lists.h"
#include "tovrel/foundation/start_up.h"

namespace frametest {

// The toolkit starts once per process, as in the tool.
class ToolkitStart : public ::testing::Environment {
 public:
  void SetUp() override {
    InitToolkit();
    StartToolkit();
  }
};

constexpr UINT kAnswerMessage = WM_APP + 1;
constexpr LRESULT kAnswer = 1234;

// Messages the host's own class procedure saw, and every WM_USER-range message a recorder
// window saw.
inline std::map<UINT, int>& HostMessages() {
  static std::map<UINT, int> counts;
  return counts;
}
inline std::vector<UINT>& RecordedMessages() {
  static std::vector<UINT> messages;
  return messages;
}

inline LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ++HostMessages()[message];
  if (message == kAnswerMessage) return kAnswer;
  return DefWindowProcA(window, message, wParam, lParam);
}

inline LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < 0x8000) RecordedMessages().push_back(message);
  return DefWindowProcA(window, message, wParam, lParam);
}

inline void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXA host = {};
  host.cbSize = sizeof(host);
  host.lpfnWndProc = &HostProc;
  host.hInstance = GetModuleHandleA(nullptr);
  host.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  host.lpszClassName = "FrameTestHost";
  RegisterClassExA(&host);
  WNDCLASSEXA recorder = host;
  recorder.lpfnWndProc = &RecorderProc;
  recorder.lpszClassName = "FrameTestRecorder";
  RegisterClassExA(&recorder);
}

class BandWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    HostMessages().clear();
    RecordedMessages().clear();
  }

  void TearDown() override {
    for (tovrel::Toolbar* t : toolbars_) tovrel::ToolbarList.Delete(t);
    for (tovrel::RebarBand* b : bands_) tovrel::RebarBandList.Delete(b);
    for (tovrel::Rebar* r : rebars_) tovrel::RebarList.Delete(r);
    for (HWND w : hosts_) {
      tovrel::SubclassEntry* e =
          tovrel::SubclassList.Find([w](const tovrel::SubclassEntry& s) { return s.window == w; });
      if (e) tovrel::SubclassList.Delete(e);
      DestroyWindow(w);
    }
  }

  HWND MakeHost(int x, int y, int w, int h, bool visible = false) {
    HWND host = CreateWindowExA(0, "FrameTestHost", "band test", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), x, y,
                                w, h, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    hosts_.push_back(host);
    return host;
  }

  HWND MakeRecorder(HWND parent) {
    return CreateWindowExA(0, "FrameTestRecorder", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }

  tovrel::Rebar& AddRebarRecord(HWND window, HWND parent, bool option = false) {
    tovrel::Rebar& r = tovrel::RebarList.Add();
    r.number = static_cast<intptr_t>(rebars_.size()) + 900;
    r.window = window;
    r.parentWindow = parent;
    r.option = option;
    rebars_.push_back(&r);
    return r;
  }

  HWND MakeRebar(HWND parent, bool option = false) {
    HWND rebar = CreateWindowExA(
        0, REBARCLASSNAMEA, "",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER, 0,
        0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    AddRebarRecord(rebar, parent, option);
    return rebar;
  }

  // Appends a band with its record; returns the record (lParam of the band).
  tovrel::RebarBand* AddBand(HWND rebar, HWND child, UINT style, int cyMinChild, int id, bool newRow = false) {
    tovrel::RebarBand& record = tovrel::RebarBandList.Add();
    record.parentWindow = GetParent(rebar);
    record.rebarWindow = rebar;
    record.childWindow = child;
    record.bandId = id;
    record.visible = true;
    bands_.push_back(&record);
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_LPARAM;
    info.fStyle = style | (newRow ? RBBS_BREAK : 0);
    info.hwndChild = child;
    info.cxMinChild = 10;
    info.cyMinChild = cyMinChild;
    info.cx = 300;
    info.wID = id;
    info.lParam = reinterpret_cast<LPARAM>(&record);
    EXPECT_TRUE(SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info)));
    return &record;
  }

  // A wrapping tool bar with `buttons` text buttons, recorded in ToolbarList.
  tovrel::Toolbar& MakeToolbar(HWND parent, int buttons) {
    HWND tb = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, "",
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
        0, 200, 24, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELONG(16, 16));
    for (int i = 0; i < buttons; ++i) {
      TBBUTTON b = {};
      b.iBitmap = I_IMAGENONE;
      b.idCommand = 100 + i;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = BTNS_BUTTON;
      SendMessageA(tb, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    }
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);
    tovrel::Toolbar& t = tovrel::ToolbarList.Add();
    t.number = static_cast<intptr_t>(toolbars_.size()) + 900;
    t.window = tb;
    t.parentWindow = GetAncestor(parent, GA_ROOT);
    t.rows = 1;
    toolbars_.push_back(&t);
    return t;
  }

  static int MinChild(HWND rebar, int band) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILDSIZE;
    SendMessageA(rebar, RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
    return static_cast<int>(info.cyMinChild);
  }

  static RECT BandRect(HWND rebar, int band) {
    RECT r = {};
    SendMessageA(rebar, RB_GETRECT, band, reinterpret_cast<LPARAM>(&r));
    return r;
  }

  static RECT WindowRect(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return r;
  }

  static LONG_PTR ExStyle(HWND w) { return GetWindowLongPtrA(w, GWL_EXSTYLE); }

 private:
  std::vector<HWND> hosts_;
  std::vector<tovrel::Rebar*> rebars_;
  std::vector<tovrel::RebarBand*> bands_;
  std::vector<tovrel::Toolbar*> toolbars_;
};

}  // namespace frametest

#endif
