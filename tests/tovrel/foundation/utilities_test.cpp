// The toolkit's small routines without a window: fonts as GDI keeps them, word packing,
// version-like texts and the Windows version codes.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/dpi.h"
#include "tovrel/foundation/os_version.h"
#include "tovrel/foundation/utilities.h"

using namespace tovrel;

namespace {

struct FontCase {
  int flags;
  int weight;
  bool italic, underline, strikeOut;
  int quality;
};

// Flags and the font they ask for. The quality flags are tried in a fixed order and the
// first present wins; a weight of 700 to 708 or the bits 0x100/0x200 mean bold/italic.
const FontCase kFontCases[] = {
    {0, 0, false, false, false, DEFAULT_QUALITY},
    {0x40000 | 0x1, FW_BOLD, false, false, false, CLEARTYPE_QUALITY},
    {0x300, FW_BOLD, true, false, false, DEFAULT_QUALITY},
    {701, FW_BOLD, false, false, false, DEFAULT_QUALITY},
    {700, FW_BOLD, false, false, false, DEFAULT_QUALITY},
    {703, FW_BOLD, true, false, false, DEFAULT_QUALITY},
    // The bits of 700 include those of underline and strike-out: 700 plus a style keeps it.
    {704, FW_BOLD, false, true, false, DEFAULT_QUALITY},
    {707, FW_BOLD, true, true, false, DEFAULT_QUALITY},
    {708, FW_BOLD, false, false, true, DEFAULT_QUALITY},
    {709, FW_BOLD, true, true, false, DEFAULT_QUALITY},  // past the range, bits: 0x1, 0x4, 0x200
    {400, 0, false, false, false, DEFAULT_QUALITY},      // not bold through its 0x100 bit
    {401, FW_BOLD, false, false, false, DEFAULT_QUALITY},
    {0x2 | 0x4 | 0x8, 0, true, true, true, DEFAULT_QUALITY},
    {0x10000 | 0x20000 | 0x40000, 0, false, false, false, ANTIALIASED_QUALITY},
    {0x20000 | 0x40000, 0, false, false, false, NONANTIALIASED_QUALITY},
    {0x80000 | 0x2, 0, true, false, false, DEFAULT_QUALITY},
    // A quality flag is taken out before the weight is read: 700 still means bold.
    {0x40000 | 700, FW_BOLD, false, false, false, CLEARTYPE_QUALITY},
    // Only the first quality flag is removed; the ones left are no weight or style.
    {0x10000 | 0x80000 | 0x4, 0, false, true, false, ANTIALIASED_QUALITY},
};

TEST(CreateFontByName, FontReadBackMatchesTheFlags) {
  for (const FontCase& c : kFontCases) {
    SCOPED_TRACE(c.flags);
    HFONT font = CreateFontByName("Arial", 10, c.flags);
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, ScreenDpi(), 72));
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfItalic != 0, c.italic);
    EXPECT_EQ(lf.lfUnderline != 0, c.underline);
    EXPECT_EQ(lf.lfStrikeOut != 0, c.strikeOut);
    EXPECT_EQ(lf.lfQuality, c.quality);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily, VARIABLE_PITCH);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_TRUE(DeleteGraphicsObject(font));
  }
}

TEST(CreateFontByName, HeightIsThePointSizeAtTheScreenDpi) {
  const struct {
    int size, dpi, height;
  } cases[] = {{10, 96, -13}, {8, 96, -11}, {12, 96, -16}, {10, 120, -17}, {9, 144, -18}, {0, 96, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size * 1000 + c.dpi);
    EXPECT_EQ(FontRequestFor(c.size, 0, c.dpi).height, c.height);
  }
  EXPECT_EQ(ScreenDpi(), 96) << "the test prefix is pinned to 96 DPI";
}

TEST(DeleteGraphicsObject, DeletesOnceAndThenFails) {
  HFONT font = CreateFontByName("Arial", 10, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(DeleteGraphicsObject(font));
  EXPECT_EQ(GetObjectType(font), 0u);
  EXPECT_FALSE(DeleteGraphicsObject(font));
}

TEST(Words, MakeLongAndItsWords) {
  EXPECT_EQ(MakeLong(0x12345, 0xABCDE), static_cast<intptr_t>(0xBCDE2345));
  const struct {
    intptr_t value, low, high;
  } cases[] = {
      {0xBCDE2345, 0x2345, 0xBCDE},
      {0, 0, 0},
      {-1, 0xFFFF, 0xFFFF},  // a sign-extended LPARAM still gives two unsigned words
      {0x7FFF8000, 0x8000, 0x7FFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(GetLowWord(c.value), c.low);
    EXPECT_EQ(GetHighWord(c.value), c.high);
    EXPECT_EQ(MakeLong(c.low, c.high), c.value & 0xFFFFFFFF);
  }
  // The same packing as the system's for message parameters: never negative.
  EXPECT_EQ(MakeLong(0xFFFF, 0xFFFF), static_cast<LPARAM>(MAKELPARAM(0xFFFF, 0xFFFF)));
  EXPECT_GT(MakeLong(-1, -1), 0);
}

TEST(IsDecimalString, Table) {
  const struct {
    const char* text;
    int decimal;
  } cases[] = {
      {"1.2.3", 1}, {" 12", 0}, {".", 0}, {" . ", 0}, {"", 0},    {"12", 1},  {"1a", 0},   {"12 ", 0},
      {"..", 1},    {".5", 1},  {"0", 1}, {"-1", 0},  {"1,5", 0}, {"\t.", 0}, {"\xB2", 0},  // superscript two
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsDecimalString(c.text), c.decimal);
  }
}

TEST(GetToolkitFactor, IsTheConstant) { EXPECT_EQ(GetToolkitFactor(), 1.36); }

TEST(OsVersionCode, FromTheReportedNumbers) {
  constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNt = VER_PLATFORM_WIN32_NT;
  constexpr BYTE kWs = VER_NT_WORKSTATION, kSrv = VER_NT_SERVER, kDc = VER_NT_DOMAIN_CONTROLLER;
  const struct {
    OsVersionNumbers numbers;
    int code;
  } cases[] = {
      {{k9x, 4, 0, 0}, 10},                               // Windows 95
      {{k9x, 4, 10, 0}, 30},                              // Windows 98
      {{k9x, 4, 90, 0}, 40},                              // Windows ME
      {{kNt, 3, 51, kWs}, 5},                             // NT 3.51
      {{kNt, 4, 0, kWs}, 20},                             // NT 4
      {{kNt, 4, 0, kSrv}, 20},                            // NT 4 server
      {{kNt, 5, 0, kWs}, 50},                             // Windows 2000
      {{kNt, 5, 0, kSrv}, 50},   {{kNt, 5, 1, kWs}, 60},  // Windows XP
      {{kNt, 5, 2, kWs}, 60},                             // XP's 64-bit edition
      {{kNt, 5, 2, kSrv}, 65},                            // Server 2003
      {{kNt, 5, 2, kDc}, 65},                             // Server 2003 as a domain controller
      {{kNt, 6, 0, kWs}, 70},                             // Vista
      {{kNt, 6, 0, kSrv}, 75},                            // Server 2008
      {{kNt, 6, 1, kDc}, 75},                             // Server 2008 R2
      {{kNt, 6, 1, kWs}, 80},                             // Windows 7
      {{kNt, 6, 2, kWs}, 100},                            // Windows 8
      {{kNt, 6, 3, kSrv}, 100},                           // Server 2012 R2
      {{kNt, 10, 0, kWs}, 100},                           // Windows 10 and 11
      {{kNt, 10, 0, kSrv}, 100},                          // Server 2016 and later
      {{0, 3, 10, 0}, 100},                               // Win32s: no code of its own
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.numbers.platformId << " " << c.numbers.major << "." << c.numbers.minor << " "
                                    << int(c.numbers.productType));
    EXPECT_EQ(OsVersionCodeOf(c.numbers), c.code);
  }
}

TEST(OsVersionCode, RunningSystem) {
  OsVersionNumbers v = RunningOsVersion();
  printf("running: platform %lu, %lu.%lu, product type %d, code %d\n", v.platformId, v.major, v.minor,
         int(v.productType), RunningOsVersionCode());
  // The test prefix is pinned to Windows 10, a workstation.
  EXPECT_EQ(v.platformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(v.major, 10u);
  EXPECT_EQ(v.minor, 0u);
  EXPECT_EQ(v.productType, VER_NT_WORKSTATION);
  EXPECT_EQ(RunningOsVersionCode(), 100);
}

// The version of the copy the process draws with, which the tool's manifest (carried by
// the test too) takes from the side-by-side store instead of the system folder. Wine's
// copy there reports the same 5.81 as the system folder's.
TEST(ComctlVersion, TheLibraryTheProcessDrawsWith) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&controls));
  HMODULE loaded = GetModuleHandleA("comctl32.dll");
  char path[MAX_PATH] = {};
  GetModuleFileNameA(loaded, path, MAX_PATH);
  EXPECT_NE(nullptr, StrStrIA(path, "\\winsxs\\")) << path;

  ComctlVersionInfo v = ReadComctlVersion();
  printf("comctl32: %lu.%lu.%lu\n", v.major, v.minor, v.build);
  auto getVersion =
      reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(GetProcAddress(loaded, "DllGetVersion")));
  ASSERT_NE(nullptr, getVersion);
  DLLVERSIONINFO info = {};
  info.cbSize = sizeof(info);
  ASSERT_EQ(S_OK, getVersion(&info));
  EXPECT_EQ(info.dwMajorVersion, v.major);
  EXPECT_EQ(info.dwMinorVersion, v.minor);
  EXPECT_EQ(info.dwBuildNumber, v.build);
  EXPECT_EQ(5u, v.major);
  EXPECT_EQ(81u, v.minor);
}

}  // namespace
