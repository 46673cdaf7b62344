// The About window and the wizard preview of Zendrikolbar.exe as a person meets them:
// opened from the Help menu's About item and from the Graphics page's preview button,
// read back through the driver and closed again. The links are not clicked here: Wine
// would start a browser. The in-process test clicks them with the opener replaced.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_driver.h"
#include "driver/driver.h"
#include "support/waits.h"

namespace {

constexpr DWORD kWaitMs = 10000;
constexpr int kMenuAbout = 0xC;
constexpr int kWizardImage = 0x07;
constexpr int kShowLabel = 0x0F;
constexpr int kPreviewButton = 0x10;

// The control's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool HasPicture(HWND control) {
  DWORD_PTR image = 0;
  return control &&
         SendMessageTimeoutW(control, STM_GETIMAGE, IMAGE_BITMAP, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs, &image) &&
         image != 0;
}

struct TitledWindows {
  DWORD pid;
  const wchar_t* title;
  int count;
};

BOOL CALLBACK CountTitled(HWND w, LPARAM lp) {
  TitledWindows* t = reinterpret_cast<TitledWindows*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t title[64] = {};
  if (pid == t->pid && GetWindowTextW(w, title, 64) && lstrcmpW(title, t->title) == 0) ++t->count;
  return TRUE;
}

class SecondaryWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DriverStart("Zendrikolbar.exe", "", "", &p_));
    main_ = DriverWaitWindow("Zendrikolbar", p_.id, 20000);
    ASSERT_NE(nullptr, main_);
  }

  void TearDown() override {
    if (main_ && DriverRunning(p_)) DriverCloseAndWait(main_, p_, 10000, nullptr);
    if (DriverRunning(p_)) DriverKill(p_);
    DriverRelease(&p_);
  }

  HWND OpenAbout() {
    if (!DriverMenuCommand(main_, kMenuAbout)) return nullptr;
    return DriverWaitWindow("About Zendrikolbar", p_.id, kWaitMs);
  }

  // Shows the Graphics page, puts `image` into the wizard-image field and presses the
  // preview button.
  bool PressPreview(const std::string& image) {
    if (!ClickTaskPaneItem(main_, 1, 2)) return false;
    HWND field = DriverWaitControl(main_, kWizardImage, kWaitMs);
    HWND button = DriverFindControl(main_, kPreviewButton);
    if (!field || !button || !DriverSetText(field, image)) return false;
    return WaitFor([&] { return DriverClick(button); }, kWaitMs);
  }

  int CountWindows(const wchar_t* title) {
    TitledWindows t = {p_.id, title, 0};
    EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&t));
    return t.count;
  }

  DriverProcess p_;
  HWND main_ = nullptr;
};

// ---- About -------------------------------------------------------------------------------

TEST_F(SecondaryWindowsTest, AboutShowsVersionMakerLinksAndOk) {
  HWND about = OpenAbout();
  ASSERT_NE(nullptr, about);
  EXPECT_TRUE(WaitFor([&] { return !DriverEnabled(main_); }, kWaitMs));

  RECT client = {};
  GetClientRect(about, &client);
  EXPECT_EQ(351, client.right);
  EXPECT_EQ(222, client.bottom);
  RECT a = {}, m = {};
  GetWindowRect(about, &a);
  GetWindowRect(main_, &m);
  EXPECT_NEAR((m.left + m.right) / 2, (a.left + a.right) / 2, 2);
  EXPECT_NEAR((m.top + m.bottom) / 2, (a.top + a.bottom) / 2, 2);

  HWND panel = DriverFindControl(about, 0x7F);
  ASSERT_NE(nullptr, panel);
  struct Expect {
    int id;
    const char* text;  // nullptr: any text that is not empty
    RECT place;
  } controls[] = {
      {0x81, "Zendrikolbar 1.2.9.2", {79, 24, 339, 44}},
      {0x82, nullptr, {79, 49, 339, 69}},
      {0x83, "Website: https://zendrikolbar.example/", {79, 79, 339, 99}},
      {0x84, "Support: https://zendrikolbar.example/help", {79, 104, 339, 124}},
      {0x87, "Please make a donation to support the development of Zendrikolbar.", {15, 144, 335, 172}},
      {0x89, "OK", {129, 189, 224, 214}},
      {0x80, "", {9, 19, 64, 74}},
  };
  for (const Expect& e : controls) {
    SCOPED_TRACE(e.id);
    HWND c = DriverFindControl(about, e.id);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(panel, GetParent(c));
    EXPECT_TRUE(DriverVisible(c));
    if (e.text) {
      EXPECT_EQ(e.text, DriverText(c));
    } else {
      EXPECT_FALSE(DriverText(c).empty());
    }
    RECT r = PlaceInParent(c);
    EXPECT_EQ(e.place.left, r.left);
    EXPECT_EQ(e.place.top, r.top);
    EXPECT_EQ(e.place.right, r.right);
    EXPECT_EQ(e.place.bottom, r.bottom);
  }
  EXPECT_TRUE(HasPicture(DriverFindControl(about, 0x80)));

  EXPECT_TRUE(DriverClick(DriverFindControl(about, 0x89)));
  EXPECT_TRUE(WaitFor([&] { return DriverEnabled(main_); }, kWaitMs));
  EXPECT_TRUE(WaitFor([&] { return !DriverVisible(about); }, kWaitMs));
}

TEST_F(SecondaryWindowsTest, AboutCloseBoxEnablesTheMainWindowAndAboutOpensAgain) {
  HWND about = OpenAbout();
  ASSERT_NE(nullptr, about);
  ASSERT_TRUE(WaitFor([&] { return !DriverEnabled(main_); }, kWaitMs));
  PostMessageW(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return DriverEnabled(main_); }, kWaitMs));
  EXPECT_TRUE(WaitFor([&] { return !DriverVisible(about); }, kWaitMs));

  // Opening it again builds it anew: one About window, disabling the main window again.
  HWND again = OpenAbout();
  ASSERT_NE(nullptr, again);
  EXPECT_TRUE(WaitFor([&] { return !DriverEnabled(main_); }, kWaitMs));
  EXPECT_EQ(1, CountWindows(L"About Zendrikolbar"));
  EXPECT_TRUE(DriverClick(DriverFindControl(again, 0x89)));
  EXPECT_TRUE(WaitFor([&] { return DriverEnabled(main_); }, kWaitMs));
}

// ---- wizard preview ----------------------------------------------------------------------

TEST_F(SecondaryWindowsTest, PreviewOfTheBuiltInImageShowsPlaceholdersAndClosesWithCancel) {
  ASSERT_TRUE(PressPreview("<main>"));
  HWND view = DriverWaitWindow("View", p_.id, kWaitMs);
  ASSERT_NE(nullptr, view);
  EXPECT_TRUE(DriverEnabled(main_));
  RECT client = {};
  GetClientRect(view, &client);
  EXPECT_EQ(497, client.right);
  EXPECT_EQ(362, client.bottom);

  EXPECT_EQ("$Title$", DriverText(DriverFindControl(view, 0x60)));
  EXPECT_EQ("$StartText$", DriverText(DriverFindControl(view, 0x62)));
  HWND picture = DriverFindControl(view, 0x63);
  EXPECT_TRUE(HasPicture(picture));
  RECT place = PlaceInParent(picture);
  EXPECT_EQ(164, place.right - place.left);
  EXPECT_EQ(314, place.bottom - place.top);
  HWND strip = DriverFindControl(view, 0x5C);  // "Show label" is checked at start
  EXPECT_TRUE(HasPicture(strip));
  EXPECT_FALSE(DriverVisible(DriverFindControl(view, 0x5E)));
  EXPECT_FALSE(DriverEnabled(DriverFindControl(view, 0x5D)));
  EXPECT_EQ("Next >", DriverText(DriverFindControl(view, 0x5D)));

  // A second press rebuilds it: still one preview.
  ASSERT_TRUE(PressPreview("<main>"));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(view); }, kWaitMs));
  HWND rebuilt = DriverWaitWindow("View", p_.id, kWaitMs);
  ASSERT_NE(nullptr, rebuilt);
  EXPECT_EQ(1, CountWindows(L"View"));

  EXPECT_TRUE(DriverClick(DriverFindControl(rebuilt, 0x5F)));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(rebuilt); }, kWaitMs));
  EXPECT_TRUE(DriverEnabled(main_));
}

TEST_F(SecondaryWindowsTest, PreviewCloseBoxHidesIt) {
  ASSERT_TRUE(PressPreview("<main>"));
  HWND view = DriverWaitWindow("View", p_.id, kWaitMs);
  ASSERT_NE(nullptr, view);
  PostMessageW(view, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !DriverVisible(view); }, kWaitMs));
  EXPECT_TRUE(IsWindow(view));
}

TEST_F(SecondaryWindowsTest, PreviewWithoutShowLabelHasNoStrip) {
  ASSERT_TRUE(ClickTaskPaneItem(main_, 1, 2));
  HWND show = DriverWaitControl(main_, kShowLabel, kWaitMs);
  ASSERT_NE(nullptr, show);
  ASSERT_TRUE(DriverClick(show));
  ASSERT_TRUE(WaitFor([&] { return DriverCheckState(show) == BST_UNCHECKED; }, kWaitMs));
  ASSERT_TRUE(PressPreview("<main>"));
  HWND view = DriverWaitWindow("View", p_.id, kWaitMs);
  ASSERT_NE(nullptr, view);
  EXPECT_EQ(nullptr, DriverFindControl(view, 0x5C));
  EXPECT_NE(nullptr, DriverFindControl(view, 0x5F));
}

TEST_F(SecondaryWindowsTest, PreviewOpensOnlyForAnImagePathThatNamesSomething) {
  // A missing file: nothing opens.
  ASSERT_TRUE(PressPreview("C:\\no such folder\\wizard.bmp"));
  Sleep(1500);
  EXPECT_EQ(0, CountWindows(L"View"));

  // A folder counts as present: the preview opens, with nothing to show on the left.
  char windows[MAX_PATH] = {};
  ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  ASSERT_TRUE(PressPreview(windows));
  HWND view = DriverWaitWindow("View", p_.id, kWaitMs);
  ASSERT_NE(nullptr, view);
  EXPECT_FALSE(HasPicture(DriverFindControl(view, 0x63)));
  EXPECT_EQ("$Title$", DriverText(DriverFindControl(view, 0x60)));
}

}  // namespace
