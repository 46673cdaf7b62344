// The system libraries the toolkit draws with, opened through the seam: what the pinned
// prefix's light style gives, and what happens when a library, its start or every one of
// its functions fails. One process runs every configuration: each test starts from closed
// libraries and a system-backed seam, and the graphics library may be started again.
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tovrel/foundation/colour_lookup.h"
#include "tovrel/foundation/colour_scheme.h"
#include "tovrel/foundation/dwm_api.h"
#include "tovrel/foundation/gdiplus_api.h"
#include "tovrel/foundation/system_libraries.h"
#include "tovrel/foundation/ui_styles.h"
#include "tovrel/foundation/uxtheme_api.h"

using namespace tovrel;

namespace {

template <typename Function>
FARPROC AsFarproc(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

template <typename Function>
Function RealFunction(const char* library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(library), name)));
}

// Stand-ins the seam hands out in place of the real functions; they record and forward.
int gOpenThemeDataCalls = 0;
std::vector<HTHEME> gClosedThemes;
int gStartupCalls = 0;

HTHEME WINAPI CountingOpenThemeData(HWND window, LPCWSTR classes) {
  ++gOpenThemeDataCalls;
  return RealFunction<decltype(&OpenThemeData)>("uxtheme.dll", "OpenThemeData")(window, classes);
}

// A style that has every class but the scroll bar.
HTHEME WINAPI OpenThemeDataWithoutScrollbar(HWND window, LPCWSTR classes) {
  if (lstrcmpiW(classes, L"scrollbar") == 0) return nullptr;
  return CountingOpenThemeData(window, classes);
}

HRESULT WINAPI RecordingCloseThemeData(HTHEME theme) {
  gClosedThemes.push_back(theme);
  return RealFunction<decltype(&CloseThemeData)>("uxtheme.dll", "CloseThemeData")(theme);
}

using Startup = int(WINAPI*)(ULONG_PTR*, const GdiPlusStartupInput*, GdiPlusStartupOutput*);

int WINAPI CountingStartup(ULONG_PTR* token, const GdiPlusStartupInput* input, GdiPlusStartupOutput* output) {
  ++gStartupCalls;
  return RealFunction<Startup>("gdiplus.dll", "GdiplusStartup")(token, input, output);
}

int WINAPI FailingStartup(ULONG_PTR*, const GdiPlusStartupInput*, GdiPlusStartupOutput*) {
  ++gStartupCalls;
  return 1;  // GenericError
}

// Reports success but hands out no token.
int WINAPI TokenlessStartup(ULONG_PTR*, const GdiPlusStartupInput*, GdiPlusStartupOutput*) {
  ++gStartupCalls;
  return 0;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window of ours in the foreground, as the toolkit finds it at start.
HWND OpenForegroundWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LibrariesTestWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "LibrariesTestWindow", "libraries", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(window);
  return window;
}

class LibrariesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gOpenThemeDataCalls = 0;
    gClosedThemes.clear();
    gStartupCalls = 0;
    SetLibrarySeamForTest(&seam);
  }
  void TearDown() override {
    FreeUxTheme();
    FreeDwmApi();
    DwmCompositionEnabled = FALSE;
    ResetGdiPlusForTest();
    ColourScheme.clear();
    SetLibrarySeamForTest(nullptr);
    if (window) DestroyWindow(window);
  }
  LibrarySeamForTest seam;
  HWND window = nullptr;
};

// What the pinned prefix's light style gives, checked against the running Wine so that a
// change in it shows here.
TEST_F(LibrariesTest, LightStyleOpensEachClassItHas) {
  window = OpenForegroundWindow();
  ASSERT_EQ(GetForegroundWindow(), window);
  ASSERT_NE(LoadUxTheme(), nullptr);
  EXPECT_EQ(ThemesActive, 1);
  EXPECT_NE(ThemeHandles[THEME_SCROLLBAR], nullptr);
  // The light style has no explorer bar even though it has a scroll bar.
  EXPECT_EQ(ThemeHandles[THEME_EXPLORERBAR], nullptr);
  for (int i : {THEME_REBAR, THEME_TAB, THEME_TOOLBAR, THEME_MENU, THEME_BUTTON})
    EXPECT_NE(ThemeHandles[i], nullptr) << "class " << i;
  EXPECT_EQ(ThemeBaseColour, 0xFA9632u);
  EXPECT_EQ(ColourScheme, "blue");
  EXPECT_TRUE(CurrentThemeColourInputs().scrollbarTheme);
  EXPECT_EQ(CurrentThemeColourInputs().baseColour, 0xFA9632u);
  EXPECT_EQ(LookupUIColour(UISTYLE_OFFICE2007, -1, 0), UICOLOURMODE_CUSTOM_BLUE);
  // Opened for our foreground window, so the theme is stored on it.
  auto windowTheme = RealFunction<decltype(&GetWindowTheme)>("uxtheme.dll", "GetWindowTheme");
  ASSERT_NE(windowTheme, nullptr);
  EXPECT_NE(windowTheme(window), nullptr);
  EXPECT_NE(UxThemeApi.drawThemeBackground, nullptr);
  EXPECT_NE(UxThemeApi.setWindowTheme, nullptr);

  EXPECT_EQ(LoadDwmApi(), 0);
  EXPECT_NE(DwmApi.library, nullptr);
  EXPECT_NE(DwmApi.dwmIsCompositionEnabled, nullptr);
  // Wine reports composition on for the Windows 10 the prefix is pinned to, as Windows 8
  // and later always compose.
  EXPECT_TRUE(DwmCompositionEnabled);

  ULONG_PTR token = LoadGdiPlus();
  EXPECT_NE(token, 0u);
  EXPECT_NE(GdiPlusApi.gdipCreateFromHDC, nullptr);
  EXPECT_NE(GdiPlusApi.gdipSetPathGradientCenterPoint, nullptr);
}

TEST_F(LibrariesTest, SecondLoadUxThemeReturnsTheOpenLibraryWithoutReading) {
  seam.replacedFunctions["OpenThemeData"] = AsFarproc(&CountingOpenThemeData);
  HMODULE first = LoadUxTheme();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(gOpenThemeDataCalls, THEME_CLASS_COUNT);
  HTHEME scrollbar = ThemeHandles[THEME_SCROLLBAR];
  EXPECT_EQ(LoadUxTheme(), first);
  EXPECT_EQ(gOpenThemeDataCalls, THEME_CLASS_COUNT);
  EXPECT_EQ(ThemeHandles[THEME_SCROLLBAR], scrollbar);
  EXPECT_EQ(seam.opens["uxtheme.dll"], 1);
}

TEST_F(LibrariesTest, UxThemeMissingGivesTheClassicLookAndGreyColumn) {
  seam.missingLibraries.insert("UxTheme.dll");
  EXPECT_EQ(LoadUxTheme(), nullptr);
  EXPECT_EQ(UxThemeApi.openThemeData, nullptr);
  EXPECT_EQ(ThemesActive, 0);
  for (HTHEME theme : ThemeHandles) EXPECT_EQ(theme, nullptr);
  EXPECT_EQ(ThemeBaseColour, 0u);
  EXPECT_EQ(ColourScheme, "");
  EXPECT_FALSE(CurrentThemeColourInputs().scrollbarTheme);
  EXPECT_EQ(LookupUIColour(UISTYLE_OFFICE2007, -1, 0), UICOLOURMODE_CUSTOM_GREY);
  FreeUxTheme();  // nothing to close
}

TEST_F(LibrariesTest, DwmapiMissingTurnsCompositionOffAndNothingElse) {
  seam.missingLibraries.insert("dwmapi.dll");
  DwmCompositionEnabled = FALSE;
  EXPECT_EQ(LoadDwmApi(), 0);
  EXPECT_EQ(DwmApi.library, nullptr);
  EXPECT_EQ(DwmApi.dwmIsCompositionEnabled, nullptr);
  EXPECT_FALSE(DwmCompositionEnabled);
  ASSERT_NE(LoadUxTheme(), nullptr);
  EXPECT_EQ(ThemesActive, 1);
  EXPECT_EQ(ThemeBaseColour, 0xFA9632u);
  EXPECT_NE(LoadGdiPlus(), 0u);
  FreeDwmApi();  // nothing to close
}

// A start that fails holds nothing: the library is closed, the token stays 0, and the next
// call opens it and tries again.
TEST_F(LibrariesTest, FailedGdiPlusStartIsRetriedWithTheLibraryClosedBetween) {
  struct Case {
    const char* name;
    FARPROC startup;  // nullptr: the function is missing
  } cases[] = {
      {"start fails", AsFarproc(&FailingStartup)},
      {"start reports success without a token", AsFarproc(&TokenlessStartup)},
      {"no start function", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seam.opens.clear();
    seam.closes.clear();
    seam.missingFunctions.clear();
    seam.replacedFunctions.clear();
    if (c.startup)
      seam.replacedFunctions["GdiplusStartup"] = c.startup;
    else
      seam.missingFunctions.insert("GdiplusStartup");
    EXPECT_EQ(LoadGdiPlus(), 0u);
    EXPECT_EQ(seam.opens["gdiplus.dll"], 1);
    EXPECT_EQ(seam.closes["gdiplus.dll"], 1);
    EXPECT_EQ(GdiPlusApi.library, nullptr);
    EXPECT_EQ(GdiPlusApi.gdipCreateFromHDC, nullptr);
    EXPECT_EQ(LoadGdiPlus(), 0u);
    EXPECT_EQ(seam.opens["gdiplus.dll"], 2);
    EXPECT_EQ(seam.closes["gdiplus.dll"], 2);

    seam.missingFunctions.clear();
    seam.replacedFunctions.clear();
    EXPECT_NE(LoadGdiPlus(), 0u);
    EXPECT_EQ(seam.opens["gdiplus.dll"], 3);
    EXPECT_EQ(seam.closes["gdiplus.dll"], 2);
    ResetGdiPlusForTest();
  }
}

TEST_F(LibrariesTest, GdiPlusStartsOnceForEveryPainter) {
  seam.replacedFunctions["GdiplusStartup"] = AsFarproc(&CountingStartup);
  ULONG_PTR first = LoadGdiPlus();
  ASSERT_NE(first, 0u);
  EXPECT_EQ(LoadGdiPlus(), first);
  EXPECT_EQ(gStartupCalls, 1);
  EXPECT_EQ(seam.opens["gdiplus.dll"], 1);
}

TEST_F(LibrariesTest, NothingCallsIntoGdiPlusAfterItIsFreed) {
  ASSERT_NE(LoadGdiPlus(), 0u);
  FreeGdiPlus();
  EXPECT_EQ(seam.closes["gdiplus.dll"], 1);
  EXPECT_EQ(LoadGdiPlus(), 0u);
  EXPECT_EQ(GdiPlusApi.gdipCreateFromHDC, nullptr);
  EXPECT_EQ(seam.opens["gdiplus.dll"], 1);
}

TEST_F(LibrariesTest, EveryExportAnsweringZeroLeavesEverythingOff) {
  seam.everyFunctionAnswersZero = true;
  DwmCompositionEnabled = FALSE;
  ASSERT_NE(LoadUxTheme(), nullptr);
  EXPECT_EQ(ThemesActive, 0);
  for (HTHEME theme : ThemeHandles) EXPECT_EQ(theme, nullptr);
  EXPECT_EQ(ThemeBaseColour, 0u);
  EXPECT_EQ(LoadDwmApi(), 0);
  EXPECT_FALSE(DwmCompositionEnabled);
  EXPECT_EQ(LoadGdiPlus(), 0u);
  EXPECT_EQ(seam.closes["gdiplus.dll"], 1);
  FreeUxTheme();
  FreeDwmApi();
  FreeGdiPlus();
  EXPECT_EQ(seam.closes["uxtheme.dll"], 1);
  EXPECT_EQ(seam.closes["dwmapi.dll"], 1);
}

// Each open handle is closed on its own merits: a style without a scroll bar still has
// the others open.
TEST_F(LibrariesTest, FreeUxThemeClosesEveryOpenHandle) {
  struct Case {
    const char* name;
    FARPROC openThemeData;
    uint32_t baseColour;
    int colourFamily;
  } cases[] = {
      {"every class", AsFarproc(&CountingOpenThemeData), 0xFA9632, UICOLOURMODE_CUSTOM_BLUE},
      // The other classes open, but the base colour and the column come from the scroll
      // bar alone.
      {"no scroll bar", AsFarproc(&OpenThemeDataWithoutScrollbar), 0, UICOLOURMODE_CUSTOM_GREY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gClosedThemes.clear();
    seam.closes.clear();
    seam.replacedFunctions["OpenThemeData"] = c.openThemeData;
    seam.replacedFunctions["CloseThemeData"] = AsFarproc(&RecordingCloseThemeData);
    ASSERT_NE(LoadUxTheme(), nullptr);
    std::multiset<HTHEME> open;
    for (HTHEME theme : ThemeHandles)
      if (theme) open.insert(theme);
    EXPECT_GE(open.size(), 5u);
    EXPECT_EQ(ThemeBaseColour, c.baseColour);
    EXPECT_EQ(LookupUIColour(UISTYLE_OFFICE2007, -1, 0), c.colourFamily);
    FreeUxTheme();
    EXPECT_EQ(std::multiset<HTHEME>(gClosedThemes.begin(), gClosedThemes.end()), open);
    EXPECT_EQ(seam.closes["uxtheme.dll"], 1);
    for (HTHEME theme : ThemeHandles) EXPECT_EQ(theme, nullptr);
    EXPECT_EQ(UxThemeApi.closeThemeData, nullptr);
  }
}

TEST(ThemeDataWindow, OnlyOurForegroundWindowReceivesTheTheme) {
  HWND ours = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x10010));
  EXPECT_EQ(ThemeDataWindow(ours, 7, 7), ours);
  EXPECT_EQ(ThemeDataWindow(ours, 8, 7), nullptr);
  EXPECT_EQ(ThemeDataWindow(nullptr, 0, 7), nullptr);
}

TEST(ColourScheme, FromTheBaseColour) {
  struct Case {
    uint8_t red, green, blue;
    const char* beforeVista;
  } cases[] = {
      {200, 200, 200, "silver"}, {199, 199, 200, "blue"}, {200, 200, 199, "olive"},   {199, 200, 255, "grey"},
      {255, 255, 255, "silver"}, {0, 0, 0, "grey"},       {0x32, 0x96, 0xFA, "blue"},
  };
  for (const Case& c : cases) {
    uint32_t colour = c.red | c.green << 8 | c.blue << 16;
    EXPECT_STREQ(ColourSchemeFor(false, colour), c.beforeVista) << std::hex << colour;
    EXPECT_STREQ(ColourSchemeFor(true, colour), "blue") << std::hex << colour;
  }
  // The prefix reports a later Windows, so the running scheme is blue whatever the colour.
  EXPECT_EQ(SetColourSchemeFromColour(0x00C8C8C8), 0);
  EXPECT_EQ(ColourScheme, "blue");
  ColourScheme.clear();
}

}  // namespace
