#include "updateclient/wizard.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "common/fonts.h"
#include "common/format.h"
#include "common/gui.h"
#include "common/gui_thread.h"
#include "common/text.h"
#include "updateclient/busy_indicator.h"
#include "updateclient/download.h"
#include "updateclient/finish.h"
#include "updateclient/pictures.h"
#include "updateclient/resources.h"
#include "updateclient/search.h"
#include "updateclient/texts.h"

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 270;
constexpr int kPageHeight = 230;
constexpr int kHeaderHeight = 58;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kBoldFont = 0;
constexpr int kRegularFont = 1;
// The byte labels end this far left of the window's right edge; the bars end there too.
constexpr int kLabelsRight = kWidth - 58;
constexpr int kBarSteps = 10000;  // bars count in steps, so sizes beyond 32 bits fit
// The pause after the connection step, so that each step can be seen.
constexpr int kStepPauseMs = 1000;

struct Pictures {
  HBITMAP done = nullptr;
  HBITMAP failed = nullptr;
  HBITMAP header = nullptr;
  HBITMAP frames = nullptr;  // with alpha, for the busy indicator
};

Pictures g_pictures;
ClientState* g_state = nullptr;
CancelGate* g_gate = nullptr;
HWND g_busy = nullptr;

std::wstring T(int number) { return ClientTextOf(g_state->settings.language, number); }

int Label(int number, int x, int y, int w, int h, const std::wstring& text, int font, unsigned flags = 0) {
  int n = static_cast<int>(CreateLabelW(number, x, y, w, h, text, flags));
  if (number == kAnyNumber) number = n;
  SetControlFont(number, RuntimeFontHandle(font));
  return number;
}

void Header(const std::wstring& pageTitle) {
  int band = static_cast<int>(CreateContainer(kAnyNumber, 0, 0, kWidth, kHeaderHeight));
  SetControlBackColour(band, kWhite);
  SetControlBackColour(Label(kAnyNumber, 14, 10, 400, 15, AnsiToWide(g_state->settings.windowTitle), kBoldFont),
                       kWhite);
  SetControlBackColour(Label(kAnyNumber, 25, 28, 380, 15, pageTitle, kRegularFont), kWhite);
  CreateImageControl(kAnyNumber, kWidth - 48 - 8, 5, 48, 48, g_pictures.header);
  ClosePanel();
  CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, kHeaderHeight, kWidth, 2,
                  CurrentControlParent(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void SearchPage() {
  CreateContainer(kSearchPage, 0, 0, kWidth, kPageHeight);
  Header(T(kTextSearchTitle));
  Label(kSearchIntro, 20, 70, 460, 16, T(kTextSearchIntro), kRegularFont);
  for (int i = 0; i < 3; ++i) {
    Label(kStepRow1 + i, 65, 100 + 30 * i, 420, 16, T(kTextConnecting + i), kRegularFont);
    CreateImageControl(kStepPicture1 + i, 40, 100 + 30 * i, 16, 16, g_pictures.done);
    HideControl(kStepPicture1 + i, true);
    if (i > 0) HideControl(kStepRow1 + i, true);
  }
  g_busy = CreateBusyIndicator(CurrentControlParent(), kBusyIndicator, 40, 100, g_pictures.frames);
  Label(kResultLine, 30, 200, 440, 28, L"", kRegularFont);
  HideControl(kResultLine, true);
  ClosePanel();
}

void DownloadPage() {
  CreateContainer(kDownloadPage, 0, 0, kWidth, kPageHeight);
  Header(T(kTextDownloadTitle));
  Label(kDownloadIntro, 20, 70, 460, 16, T(kTextDownloadIntro), kRegularFont);
  Label(kFileLine, 20, 100, 300, 16, WithParamA(T(kTextDownloading), L""), kRegularFont);
  Label(kFileBytes, kLabelsRight - 120, 100, 120, 16, L"", kRegularFont, kLabelRight);
  CreateProgress(kFileBar, 20, 118, kLabelsRight - 20, 16, 0, kBarSteps, kProgressSmooth);
  Label(kTotalLine, 20, 160, 300, 16, T(kTextTotalProgress), kRegularFont);
  Label(kTotalBytes, kLabelsRight - 120, 160, 120, 16, L"", kRegularFont, kLabelRight);
  CreateProgress(kTotalBar, 20, 178, kLabelsRight - 20, 16, 0, kBarSteps, kProgressSmooth);
  Label(kSpeedLine, 20, 210, kWidth - 40, 16, L"", kRegularFont, kLabelCenter);
  ClosePanel();
  HideControl(kDownloadPage, true);
}

void FinishPage() {
  CreateContainer(kFinishPage, 0, 0, kWidth, kPageHeight);
  Header(T(kTextFinishTitle));
  Label(kFinishText, 20, 70, 405, 50, T(kTextAllDownloaded), kRegularFont);
  ClosePanel();
  HideControl(kFinishPage, true);
}

int BarPosition(int64_t done, int64_t size) {
  if (size <= 0) return 0;
  return static_cast<int>(std::min<int64_t>(kBarSteps, done * kBarSteps / size));
}

// "done / size (p%)"; only "done" when the size is not known.
std::wstring BytesText(int64_t done, int64_t size) {
  std::string text = FormatSize(done);
  if (size > 0)
    text += " / " + FormatSize(size) + " (" + std::to_string(std::min<int64_t>(100, done * 100 / size)) + "%)";
  return AnsiToWide(text);
}

int TextWidth(int control, const std::wstring& text) {
  HWND w = ControlHandle(control);
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, RuntimeFontHandle(kRegularFont));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return size.cx + 4;
}

// A byte label as wide as the widest text it will show, its right edge at kLabelsRight.
void FitBytesLabel(int label, int line, int64_t size) {
  int width = std::min(TextWidth(label, BytesText(size, size)), kLabelsRight - 100);
  ResizeControl(label, kLabelsRight - width, kKeepValue, width, kKeepValue);
  ResizeControl(line, kKeepValue, kKeepValue, kLabelsRight - width - 24, kKeepValue);
  SetControlTextW(label, L"");
}

// Hands every report of the worker threads to the GUI thread, which alone touches the
// window.
class WizardUi : public SearchUi, public DownloadUi {
 public:
  void ShowStep(int step, const std::string& newest, int64_t totalSize) override {
    PostToGuiThread([=] { ApplyStep(step, newest, totalSize); });
  }
  void FileStarted(const ProgressFigures& f) override {
    PostToGuiThread([=] {
      SendMessageW(ControlHandle(kFileBar), PBM_SETPOS, 0, 0);
      SetControlTextW(kFileLine, WithParamA(T(kTextDownloading), AnsiToWide(f.fileName)));
      FitBytesLabel(kFileBytes, kFileLine, f.fileSize);
      FitBytesLabel(kTotalBytes, kTotalLine, f.totalSize);
    });
  }
  void ShowProgress(const ProgressFigures& f) override {
    PostToGuiThread([=] {
      if (g_state->cancelState != kCancelNone) return;  // the cancel's texts stay
      SetControlTextW(kFileBytes, BytesText(f.fileDone, f.fileSize));
      SetControlTextW(kTotalBytes, BytesText(f.totalDone, f.totalSize));
      SetControlTextW(kSpeedLine, T(kTextSpeed) + L" " + AnsiToWide(FormatSize(f.bytesPerSecond)) + L"/s");
      SetControlState(kFileBar, BarPosition(f.fileDone, f.fileSize));
      SetControlState(kTotalBar, BarPosition(f.totalDone, f.totalSize));
    });
  }
  void ShowCancelling() override {
    PostToGuiThread([] {
      SetControlTextW(kFileLine, T(kTextCancelling));
      SetControlTextW(kFileBytes, L"");
      SetControlTextW(kTotalBytes, L"");
      SetControlTextW(kSpeedLine, L"");
      DisableControl(kCancelButton, true);
    });
  }
  void Finished(int wizardState, int cancelState) override {
    PostToGuiThread([=] {
      HideControl(kDownloadPage, true);
      HideControl(kCancelButton, true);
      DisableControl(kCancelButton, true);
      if (cancelState == kCancelStopping)
        SetControlTextW(kFinishText, T(kTextCancelled));
      else if (cancelState == kCancelError)
        SetControlTextW(kFinishText, WithParamA(T(kTextFailed), AnsiToWide(g_state->settings.productName)));
      HideControl(kFinishPage, false);
      SetControlTextW(kNextButton, T(kTextFinish));
      DisableControl(kNextButton, false);
      HideControl(kNextButton, false);
      (void)wizardState;
    });
  }

 private:
  static void ShowPicture(int row, bool failed) {
    SetControlImage(kStepPicture1 + row, failed ? g_pictures.failed : g_pictures.done);
    HideControl(kStepPicture1 + row, false);
  }
  static void MoveBusy(int row) {
    if (!g_busy) return;
    if (row < 0) {
      ShowWindow(g_busy, SW_HIDE);
      return;
    }
    SetWindowPos(g_busy, nullptr, 40, 100 + 30 * row, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  static void ApplyStep(int step, const std::string& newest, int64_t totalSize) {
    switch (step) {
      case kStepConnected:
        SetControlTextW(kStepRow1, T(kTextConnected));
        ShowPicture(0, false);
        MoveBusy(1);
        SetControlTextW(kStepRow1 + 1, T(kTextSearching));
        HideControl(kStepRow1 + 1, false);
        break;
      case kStepNoServer:
        SetControlTextW(kStepRow1, T(kTextNotConnected));
        ShowPicture(0, true);
        MoveBusy(-1);
        break;
      case kStepNewVersion:
        SetControlTextW(kStepRow1 + 1, T(kTextNewVersion) + L" " + AnsiToWide(newest));
        ShowPicture(1, false);
        MoveBusy(2);
        SetControlTextW(kStepRow1 + 2, T(kTextRetrieving));
        HideControl(kStepRow1 + 2, false);
        break;
      case kStepNoNewVersion:
        SetControlTextW(kStepRow1 + 1, T(kTextNoNewVersion));
        ShowPicture(1, true);
        MoveBusy(-1);
        break;
      case kStepDataReceived:
        SetControlTextW(kStepRow1 + 2, T(kTextDataReceived));
        MoveBusy(-1);
        ShowPicture(2, false);
        break;
      case kStepReady:
        SetControlTextW(kResultLine, WithParamA(T(kTextTotalSize), AnsiToWide(FormatSize(totalSize))));
        HideControl(kResultLine, false);
        DisableControl(kNextButton, false);
        g_state->wizardState = kWizardReady;
        break;
    }
  }
};

WizardUi g_ui;

DWORD WINAPI SearchThread(void*) {
  RunSearch(*g_state, g_ui, kStepPauseMs);
  return 0;
}

DWORD WINAPI DownloadThread(void*) {
  RunDownload(*g_state, g_ui, *g_gate);
  return 0;
}

bool StartThread(LPTHREAD_START_ROUTINE proc) {
  HANDLE thread = CreateThread(nullptr, 0, proc, nullptr, 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}

void LoadPictures() {
  HBITMAP done = DecodePictureResource(ZK_RES_CLIENT_DONE_PNG);
  HBITMAP failed = DecodePictureResource(ZK_RES_CLIENT_FAILED_PNG);
  HBITMAP header = DecodePictureResource(ZK_RES_CLIENT_HEADER_PNG);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  g_pictures.done = FlattenOnto(done, face);
  g_pictures.failed = FlattenOnto(failed, face);
  g_pictures.header = FlattenOnto(header, kWhite);
  g_pictures.frames = DecodePictureResource(ZK_RES_CLIENT_BUSY_FRAMES_PNG);
  for (HBITMAP b : {done, failed, header})
    if (b) DeleteObject(b);
}

bool BuildWindow() {
  LoadRuntimeFont(kBoldFont, "Microsoft Sans Serif", 8, kFontBold);
  LoadRuntimeFont(kRegularFont, "Microsoft Sans Serif", 8);
  LoadPictures();
  if (!OpenRuntimeWindowW(kClientWindow, 0, 0, kWidth, kHeight, AnsiToWide(g_state->settings.windowTitle),
                          kWindowTitleBar | kWindowSystemMenu | kWindowScreenCentered | kWindowInvisible))
    return false;
  SearchPage();
  DownloadPage();
  FinishPage();
  CreateButtonW(kNextButton, 300, 237, 90, 25, T(kTextNext));
  SetControlFont(kNextButton, RuntimeFontHandle(kRegularFont));
  DisableControl(kNextButton, true);
  CreateButtonW(kCancelButton, 400, 237, 90, 25, T(kTextCancel));
  SetControlFont(kCancelButton, RuntimeFontHandle(kRegularFont));
  ShowRuntimeWindow(kClientWindow, true);
  return true;
}

// The question before a running download is cancelled. The download waits at its gate
// meanwhile, so nothing changes under the question.
void AskCancel() {
  g_gate->Close();
  int answer = MessageBoxW(WindowHandle(kClientWindow), T(kTextExitQuestion).c_str(),
                           AnsiToWide(g_state->settings.windowTitle).c_str(), MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES && g_state->downloadRunning) {
    int none = kCancelNone;
    g_state->cancelState.compare_exchange_strong(none, kCancelRequested);
  }
  g_gate->Open();
}

}  // namespace

int RunWizard(ClientState& state) {
  g_state = &state;
  CancelGate gate;
  g_gate = &gate;
  if (!BuildWindow()) return 1;
  if (!StartThread(SearchThread)) return FinishUpdate(state);
  for (;;) {
    int event = WaitWindowEvent();
    if (event == 0) break;
    bool next = event == kEventControl && EventControl() == kNextButton;
    bool cancel = (event == kEventControl && EventControl() == kCancelButton) ||
                  (event == kEventClose && EventWindow() == kClientWindow);
    if (next) {
      if (state.wizardState != kWizardReady) break;
      HideControl(kNextButton, true);
      HideControl(kSearchPage, true);
      HideControl(kDownloadPage, false);
      // Running before the thread starts, so that a cancel right away is asked about.
      state.downloadRunning = 1;
      if (!StartThread(DownloadThread)) break;
    } else if (cancel) {
      if (state.cancelState == kCancelStopping) continue;
      if (state.downloadRunning) {
        AskCancel();
        continue;
      }
      break;
    }
  }
  return FinishUpdate(state);
}
