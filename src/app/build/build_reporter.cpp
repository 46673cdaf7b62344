#include "app/build/build_reporter.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <richedit.h>
#include <shellapi.h>

#include <memory>

#include "app/build/build_requests.h"
#include "app/controls.h"
#include "app/project_state.h"
#include "app/windows/secondary_windows.h"
#include "common/carried.h"
#include "common/gui.h"
#include "common/gui_thread.h"
#include "common/requesters.h"
#include "common/resource_data.h"
#include "common/text.h"

using namespace ctl;

namespace {

const char kTitle[] = "Zendrikolbar";

// The setup runtime's image carried in this program; empty when it is missing.
std::string SetupRuntimeImage() {
  const void* data = nullptr;
  size_t size = 0;
  if (!RcDataResource(nullptr, ZK_RES_SETUPRUNTIME_IMAGE, &data, &size)) return {};
  return std::string(static_cast<const char*>(data), size);
}

}  // namespace

void ToolBuildReporter::Log(const std::string& line) {
  PostToGuiThread([line] { AddBuildLogLine(line); });
}

void ToolBuildReporter::SetProgressMaximum(int maximum) {
  PostToGuiThread([maximum] {
    HWND bar = ControlHandle(kBuildProgress);
    if (bar) SendMessageW(bar, PBM_SETRANGE32, 0, maximum);
  });
}

void ToolBuildReporter::SetProgress(int position) {
  PostToGuiThread([position] { SetBuildProgressBar(position); });
}

void ToolBuildReporter::SetLabel(const std::string& text) {
  PostToGuiThread([text] { SetBuildProgressLabel(text); });
}

bool ToolBuildReporter::MustStop() { return BuildMustStop(); }

bool ToolBuildReporter::PauseRequested() { return BuildPauseRequested(); }

void ToolBuildReporter::SetupWritten(const std::string& path) { SetLastSetupPath(path); }

void ToolBuildReporter::HideProgress() {
  PostToGuiThread([] { HideBuildProgressWindow(); });
}

void ToolBuildReporter::OfferToRun(const std::string& path) {
  if (MessageRequester(kTitle, "Do you want to run the setup now?", MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) !=
      IDYES)
    return;
  // The shell may need COM on the calling thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) CoUninitialize();
}

void ToolBuildReporter::Finished() {
  EndBuildRequests();
  PostToGuiThread([] {
    EnableRuntimeWindow(kMainWindow, true);
    HWND main = WindowHandle(kMainWindow);
    if (main) SetForegroundWindow(main);
  });
}

void RunBuildThread(intptr_t argument) {
  std::unique_ptr<BuildInput> in(reinterpret_cast<BuildInput*>(argument));
  ToolBuildReporter reporter;
  BuildSetup(*in, SetupRuntimeImage(), reporter);
}

void AddBuildLogLine(const std::string& text) {
  HWND log = ControlHandle(kBuildLog);
  if (!log) return;
  GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT end = SendMessageW(log, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  std::wstring line = (end > 0 ? L"\r\n" : L"") + AnsiToWide(text);
  CHARRANGE at = {static_cast<LONG>(end > 0 ? end : 0), static_cast<LONG>(end > 0 ? end : 0)};
  SendMessageW(log, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
  SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageW(log, WM_VSCROLL, SB_BOTTOM, 0);
}
