// The secondary windows in-process, beside a stand-in main window that has the fields
// they read: the build progress window driven by the build thread's reporter, the About window's
// panel, colours and links, and the wizard preview's picture. This program carries none
// of Zendrikolbar.exe's built-in pictures; the whole-program test sees those.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/build/build_reporter.h"
#include "app/colouriser/colouriser.h"
#include "app/controls.h"
#include "app/windows/secondary_windows.h"
#include "app/windows/web_links.h"
#include "common/gui.h"
#include "support/folders.h"

using namespace ctl;

namespace {

std::vector<std::string> Opened;
void RememberAddress(const std::string& address) { Opened.push_back(address); }

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH lb = {};
  if (!brush || GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(lb), &lb) != sizeof(lb)) return CLR_INVALID;
  return lb.lbColor;
}

// Takes events until `done` holds or the time is up, handing the secondary windows
// theirs, as the event loop does. Returns whether `done` came true.
template <typename Done>
bool Pump(Done done, DWORD timeoutMs = 5000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    int event = WaitWindowEvent(20);
    if (event == kEventControl) HandleSecondaryWindowEvent(EventWindow(), EventControl(), EventType());
    if (event == kEventClose) HandleSecondaryWindowClose(EventWindow());
  }
  return true;
}

RECT RectInParent(HWND w) {
  RECT r = {};
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A 24-bit BMP file of w x h pixels in one colour.
bool WriteBmp(const std::string& path, int w, int h) {
  const int row = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh = {};
  BITMAPINFOHEADER ih = {};
  ih.biSize = sizeof(ih);
  ih.biWidth = w;
  ih.biHeight = h;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(ih);
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(row * h);
  std::vector<unsigned char> pixels(static_cast<size_t>(row * h), 0x80);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(f, &fh, sizeof(fh), &n, nullptr) && WriteFile(f, &ih, sizeof(ih), &n, nullptr) &&
            WriteFile(f, pixels.data(), static_cast<DWORD>(pixels.size()), &n, nullptr);
  CloseHandle(f);
  return ok;
}

class SecondaryWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitControlColouriser();
    Opened.clear();
    SetWebAddressOpener(RememberAddress);
    ASSERT_NE(0, OpenRuntimeWindow(kMainWindow, 60, 40, 600, 450, "Zendrikolbar", kWindowSystemMenu | kWindowTitleBar));
    CreateTextField(kWizardImage, 8, 33, 450, 20, "<main>");
    CreateCheckBox(kShowLabel, 8, 188, 200, 20, "Show label");
    SetControlState(kShowLabel, 1);
    CreateProgress(kBuildProgress, 18, 373, 465, 17, 0, 10);
    main_ = WindowHandle(kMainWindow);
  }

  void TearDown() override {
    for (int w : {kWizardPreviewWindow, kBuildProgressWindow, kAboutWindow, kMainWindow}) CloseRuntimeWindow(w);
    SetWebAddressOpener(nullptr);
    ReleaseControlColours();
  }

  HWND main_ = nullptr;
};

// ---- build progress window ---------------------------------------------------------------

TEST_F(SecondaryWindowsTest, ProgressWindowSitsOnTheMainWindowWithoutCloseBox) {
  OpenBuildProgressWindow();
  HWND w = WindowHandle(kBuildProgressWindow);
  ASSERT_NE(nullptr, w);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ("Zendrikolbar..creating setup file", GetWindowTitle(kBuildProgressWindow));
  EXPECT_EQ(main_, GetWindow(w, GW_OWNER));
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_STYLE) & WS_SYSMENU);
  RECT wr, mr, cr;
  GetWindowRect(w, &wr);
  GetWindowRect(main_, &mr);
  GetClientRect(w, &cr);
  EXPECT_EQ(mr.left, wr.left);
  EXPECT_EQ(mr.top, wr.top);
  EXPECT_EQ(280, cr.right);
  EXPECT_EQ(80, cr.bottom);
  EXPECT_EQ("Please wait while Zendrikolbar is creating the setup file...", GetControlText(kProgressLabel));
  EXPECT_EQ("Pause", GetControlText(kProgressPause));
  EXPECT_EQ("Cancel", GetControlText(kProgressCancel));
  struct Place {
    int control, x, y, w, h;
  } places[] = {{kProgressLabel, 10, 5, 270, 40}, {kProgressPause, 5, 50, 95, 25}, {kProgressCancel, 105, 50, 95, 25}};
  for (const Place& p : places) {
    RECT r = RectInParent(ControlHandle(p.control));
    EXPECT_EQ(p.x, r.left) << p.control;
    EXPECT_EQ(p.y, r.top) << p.control;
    EXPECT_EQ(p.w, r.right - r.left) << p.control;
    EXPECT_EQ(p.h, r.bottom - r.top) << p.control;
  }
  // A close request (there is no box, but Alt+F4 still asks) leaves it alone.
  EXPECT_TRUE(HandleSecondaryWindowClose(kBuildProgressWindow));
  EXPECT_TRUE(IsWindowVisible(w));
}

TEST_F(SecondaryWindowsTest, TheBuildThreadDrivesTheProgressWindowWhileTheGuiThreadTakesEvents) {
  OpenBuildProgressWindow();
  std::atomic<bool> done(false);
  std::thread build([&] {
    ToolBuildReporter reporter;
    reporter.SetLabel("Compressing files...");
    reporter.SetProgress(7);
    reporter.HideProgress();
    done = true;
  });
  // Pause and Resume are the commands' own, on the GUI thread, while the build runs.
  EXPECT_EQ("Pause", GetPauseButtonText());
  SetPauseButtonText("Resume");
  EXPECT_EQ("Resume", GetPauseButtonText());
  bool finished = Pump([&] { return done.load() && !IsWindowVisible(WindowHandle(kBuildProgressWindow)); });
  build.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ("Compressing files...", GetControlText(kProgressLabel));
  EXPECT_EQ(7, GetControlState(kBuildProgress));
  EXPECT_FALSE(IsWindowVisible(WindowHandle(kBuildProgressWindow)));

  // The next build gets a fresh window: shown, and "Pause" again.
  OpenBuildProgressWindow();
  EXPECT_TRUE(IsWindowVisible(WindowHandle(kBuildProgressWindow)));
  EXPECT_EQ("Pause", GetControlText(kProgressPause));
  EXPECT_EQ("Please wait while Zendrikolbar is creating the setup file...", GetControlText(kProgressLabel));
}

// ---- About window ------------------------------------------------------------------------

TEST_F(SecondaryWindowsTest, AboutDisablesTheMainWindowUntilOk) {
  OpenAboutWindow();
  HWND about = WindowHandle(kAboutWindow);
  ASSERT_NE(nullptr, about);
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_FALSE(IsWindowEnabled(main_));
  EXPECT_TRUE(HandleSecondaryWindowEvent(kAboutWindow, kAboutOk, kEventTypeLeftClick));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_FALSE(IsWindowVisible(about));
}

TEST_F(SecondaryWindowsTest, AboutCloseBoxEnablesTheMainWindow) {
  OpenAboutWindow();
  PostMessageW(WindowHandle(kAboutWindow), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Pump([&] { return IsWindowEnabled(main_) != FALSE; }));
  EXPECT_FALSE(IsWindowVisible(WindowHandle(kAboutWindow)));
}

TEST_F(SecondaryWindowsTest, AboutPanelIsWhiteAndItsOkButtonIsRecordedWithoutColours) {
  OpenAboutWindow();
  HWND panel = GetParent(ControlHandle(kAboutOk));
  ASSERT_EQ(kAboutPanel, GetDlgCtrlID(panel));
  HDC dc = GetDC(panel);
  for (int label : {kAboutVersion, kAboutMaker, kAboutWebsite, kAboutSupport, kAboutDonate}) {
    EXPECT_EQ(panel, GetParent(ControlHandle(label))) << label;
    LRESULT brush = SendMessageW(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(ControlHandle(label)));
    EXPECT_EQ(RGB(255, 255, 255), BrushColour(brush)) << label;
  }
  const ColourRecord* ok = FindColourRecord(kAboutOk);
  ASSERT_NE(nullptr, ok);
  EXPECT_EQ(0, ok->modeBits);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  EXPECT_EQ(0, SendMessageW(panel, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(ControlHandle(kAboutOk))));
  EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
  EXPECT_EQ(RGB(0, 0, 0), GetBkColor(dc));
  ReleaseDC(panel, dc);
}

TEST_F(SecondaryWindowsTest, AboutLinksOpenTheMakersPagesOnAClick) {
  OpenAboutWindow();
  struct Link {
    int control;
    const char* address;
  } links[] = {{kAboutWebsite, kMakerWebsite}, {kAboutSupport, kMakerSupport}, {kAboutDonate, kMakerDonation}};
  for (const Link& l : links) {
    SCOPED_TRACE(l.control);
    Opened.clear();
    // A real click on the link, through the panel, arrives as an event of window 5.
    HWND link = ControlHandle(l.control);
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(Pump([] { return !Opened.empty(); }));
    ASSERT_EQ(1u, Opened.size());
    EXPECT_EQ(l.address, Opened[0]);
    EXPECT_EQ(0u, Opened[0].rfind("https://zendrikolbar.example/", 0));
    // The second half of a double click opens nothing more.
    HandleSecondaryWindowEvent(kAboutWindow, l.control, kEventTypeLeftDoubleClick);
    EXPECT_EQ(1u, Opened.size());
  }
  EXPECT_NE(std::string(kMakerWebsite), kMakerSupport);
  EXPECT_NE(std::string(kMakerSupport), kMakerDonation);
}

// ---- wizard preview ----------------------------------------------------------------------

TEST_F(SecondaryWindowsTest, PreviewScalesAWizardImageFileTo164By314) {
  std::string path = TempPath() + "zk_preview_small.bmp";
  ASSERT_TRUE(WriteBmp(path, 20, 10));
  SetControlText(kWizardImage, path);
  OpenWizardPreview();
  HWND picture = ControlHandle(kPreviewPicture);
  ASSERT_NE(nullptr, picture);
  HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP bm = {};
  ASSERT_EQ(static_cast<int>(sizeof(bm)), GetObjectW(shown, sizeof(bm), &bm));
  EXPECT_EQ(164, bm.bmWidth);
  EXPECT_EQ(314, bm.bmHeight);
  EXPECT_TRUE(IsWindowEnabled(main_));
  DeleteFileA(path.c_str());
}

TEST_F(SecondaryWindowsTest, PreviewOfAFileThatIsNoImageHasAnEmptyLeftArea) {
  std::string path = TempPath() + "zk_preview_broken.bmp";
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, f);
  DWORD n = 0;
  WriteFile(f, "not a picture", 13, &n, nullptr);
  CloseHandle(f);
  SetControlText(kWizardImage, path);
  OpenWizardPreview();
  ASSERT_TRUE(IsRuntimeWindow(kWizardPreviewWindow));
  EXPECT_EQ(0, SendMessageW(ControlHandle(kPreviewPicture), STM_GETIMAGE, IMAGE_BITMAP, 0));
  EXPECT_EQ("$Title$", GetControlText(kPreviewTitle));
  DeleteFileA(path.c_str());
}

TEST_F(SecondaryWindowsTest, PreviewShowsTheLabelStripOnlyWithShowLabel) {
  for (int show : {1, 0}) {
    SetControlState(kShowLabel, show);
    OpenWizardPreview();
    EXPECT_EQ(show, IsControl(kPreviewLabelStrip)) << show;
  }
}

TEST_F(SecondaryWindowsTest, PreviewLayoutButtonsAndCancel) {
  OpenWizardPreview();
  HWND w = WindowHandle(kWizardPreviewWindow);
  ASSERT_NE(nullptr, w);
  EXPECT_EQ("View", GetWindowTitle(kWizardPreviewWindow));
  EXPECT_EQ(nullptr, GetWindow(w, GW_OWNER));
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_MINIMIZEBOX);
  RECT cr;
  GetClientRect(w, &cr);
  EXPECT_EQ(497, cr.right);
  EXPECT_EQ(362, cr.bottom);
  EXPECT_EQ("$Title$", GetControlText(kPreviewTitle));
  EXPECT_EQ("$StartText$", GetControlText(kPreviewStartText));
  HWND textArea = GetParent(ControlHandle(kPreviewTitle));
  EXPECT_EQ(kPreviewTextArea, GetDlgCtrlID(textArea));
  EXPECT_EQ(kPreviewWizardArea, GetDlgCtrlID(GetParent(textArea)));
  EXPECT_EQ(GetParent(textArea), GetParent(ControlHandle(kPreviewPicture)));
  RECT title = RectInParent(ControlHandle(kPreviewTitle));
  EXPECT_EQ(14, title.left);
  EXPECT_EQ(14, title.top);
  EXPECT_FALSE(IsControlVisible(kPreviewBack));
  EXPECT_FALSE(IsControlEnabled(kPreviewBack));
  EXPECT_TRUE(IsControlVisible(kPreviewNext));
  EXPECT_FALSE(IsControlEnabled(kPreviewNext));
  EXPECT_TRUE(IsControlEnabled(kPreviewCancel));
  EXPECT_EQ("< Back", GetControlText(kPreviewBack));
  EXPECT_EQ("Next >", GetControlText(kPreviewNext));

  // Its close box only hides it; Cancel closes it.
  EXPECT_TRUE(HandleSecondaryWindowClose(kWizardPreviewWindow));
  EXPECT_TRUE(IsRuntimeWindow(kWizardPreviewWindow));
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_TRUE(HandleSecondaryWindowEvent(kWizardPreviewWindow, kPreviewCancel, kEventTypeLeftClick));
  EXPECT_FALSE(IsRuntimeWindow(kWizardPreviewWindow));
}

TEST_F(SecondaryWindowsTest, OtherWindowsAreLeftToTheirOwners) {
  EXPECT_FALSE(HandleSecondaryWindowEvent(kMainWindow, kPreviewButton, kEventTypeLeftClick));
  EXPECT_FALSE(HandleSecondaryWindowEvent(kRegistryDialog, 0x6C, kEventTypeLeftClick));
  // The progress window's buttons belong to the build commands.
  EXPECT_FALSE(HandleSecondaryWindowEvent(kBuildProgressWindow, kProgressPause, kEventTypeLeftClick));
  EXPECT_FALSE(HandleSecondaryWindowClose(kShortcutDialog));
  EXPECT_FALSE(HandleSecondaryWindowClose(kMainWindow));
}

}  // namespace
