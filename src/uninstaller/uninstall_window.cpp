#include "uninstaller/uninstall_window.h"

#include <windows.h>

#include <atomic>

#include "common/fonts.h"
#include "common/gui.h"
#include "common/images.h"
#include "common/resource_data.h"
#include "uninstaller/resources.h"

namespace {

constexpr int kWidth = 497;
constexpr int kHeight = 362;
constexpr int kHeaderHeight = 58;
constexpr COLORREF kWhite = RGB(255, 255, 255);

constexpr int kHeaderPicture = 1;
constexpr int kSeparatorPicture = 2;
constexpr int kBoldFont = 1;
constexpr int kNormalFont = 2;

// The window's handle for message boxes of any thread: the registry of windows belongs to
// the GUI thread.
std::atomic<HWND> g_window{nullptr};

bool CatchPicture(int number, int resource) {
  const void* data = nullptr;
  size_t size = 0;
  return RcDataResource(nullptr, resource, &data, &size) && CatchRuntimeImage(number, data, size) != 0;
}

void Label(int number, int x, int y, int w, int h, const std::wstring& text, int font, bool onHeader) {
  CreateLabelW(number, x, y, w, h, text);
  SetControlFont(number, RuntimeFontHandle(font));
  if (onHeader) SetControlBackColour(number, kWhite);
}

}  // namespace

int UninstallProgressMaximum(const UninstallLog& log) { return log.entryCount > 0 ? log.entryCount : 0; }

bool LoadUninstallArtwork() {
  bool ok = CatchPicture(kHeaderPicture, ZK_RES_UNINSTALL_HEADER_BMP);
  ok = CatchPicture(kSeparatorPicture, ZK_RES_UNINSTALL_SEPARATOR_BMP) && ok;
  LoadRuntimeFont(kBoldFont, "Microsoft Sans Serif", 8, kFontBold);
  LoadRuntimeFont(kNormalFont, "Microsoft Sans Serif", 8);
  return ok;
}

bool OpenUninstallWindow(const UninstallTexts& texts, const UninstallLog& log) {
  if (!OpenRuntimeWindowW(
          kUninstallWindow, 0, 0, kWidth, kHeight, L"Uninstall " + log.productName,
          kWindowTitleBar | kWindowSystemMenu | kWindowMinimizeBox | kWindowScreenCentered | kWindowInvisible))
    return false;
  HWND window = WindowHandle(kUninstallWindow);
  g_window = window;
  // The uninstallation cannot be stopped half-way from the title bar.
  EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);

  Label(kHeaderBack, 0, 0, kWidth, kHeaderHeight, L"", kNormalFont, true);
  CreateImageControl(kHeaderImage, 440, 1, 55, 55, RuntimeImageHandle(kHeaderPicture));
  Label(kHeaderTitle, 14, 10, 305, 15, texts.header, kBoldFont, true);
  // The sub-title ends with the header (two lines): a taller one would lay its white back
  // over the separator line below the header.
  Label(kHeaderSubtitle, 25, 27, 355, kHeaderHeight - 27, texts.headerB, kNormalFont, true);
  // The white back lies under the header's picture and texts, which overlap it: lowest
  // of its siblings and leaving their areas to them when it paints.
  HWND back = ControlHandle(kHeaderBack);
  SetWindowLongPtrW(back, GWL_STYLE, GetWindowLongPtrW(back, GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(back, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  CreateImageControl(kSeparatorTop, 0, kHeaderHeight, kWidth, 2, RuntimeImageHandle(kSeparatorPicture));
  CreateImageControl(kSeparatorBottom, 0, 313, kWidth, 2, RuntimeImageHandle(kSeparatorPicture));

  Label(kStatusText, 25, 90, kWidth - 50, 20, texts.uninstalling + L" " + log.productName, kNormalFont, false);
  CreateProgress(kProgressBar, 25, 120, kWidth - 50, 20, 0, UninstallProgressMaximum(log));
  CreateButtonW(kCancelButton, kWidth - 105, 330, 80, 22, texts.btnCancel);
  SetControlFont(kCancelButton, RuntimeFontHandle(kNormalFont));
  DisableControl(kCancelButton, true);
  ShowRuntimeWindow(kUninstallWindow, true);
  return true;
}

int UninstallMessage(const std::wstring& title, const std::wstring& text, unsigned flags) {
  HWND owner = g_window.load();
  if (owner && (!IsWindow(owner) || !IsWindowVisible(owner))) owner = nullptr;
  return MessageBoxW(owner, text.c_str(), title.c_str(), flags | (owner ? 0u : static_cast<unsigned>(MB_TASKMODAL)));
}

void RunUninstallEvents(const UninstallTexts& texts) {
  for (;;) {
    int event = WaitWindowEvent();
    if (event == 0) return;  // the thread's queue was told to quit
    bool ask = (event == kEventClose && EventWindow() == kUninstallWindow) ||
               (event == kEventControl && EventControl() == kCancelButton);
    if (ask && UninstallMessage(texts.exitUninstallT, texts.exitUninstall, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
      return;
  }
}
