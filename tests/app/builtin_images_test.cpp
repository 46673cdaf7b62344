// The pictures, program icon and manifest that Zendrikolbar.exe carries. The resources
// live in the built program, not in this test, so the program is opened as a data file.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/builtin_images.h"
#include "app/resources.h"
#include "common/images.h"

namespace {

struct Bytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

Bytes Resource(HMODULE module, int id, const char* type) {
  Bytes b;
  HRSRC r = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!r) return b;
  HGLOBAL g = LoadResource(module, r);
  b.data = g ? static_cast<const uint8_t*>(LockResource(g)) : nullptr;
  b.size = b.data ? SizeofResource(module, r) : 0;
  return b;
}

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(U16(p)) | uint32_t(U16(p + 2)) << 16; }

// The size the system gives an icon handle.
SIZE IconSize(HICON icon) {
  SIZE s = {0, 0};
  ICONINFO ii{};
  if (!icon || !GetIconInfo(icon, &ii)) return s;
  BITMAP bm{};
  if (ii.hbmColor && GetObjectA(ii.hbmColor, sizeof(bm), &bm)) {
    s.cx = bm.bmWidth;
    s.cy = bm.bmHeight;
  } else if (ii.hbmMask && GetObjectA(ii.hbmMask, sizeof(bm), &bm)) {
    s.cx = bm.bmWidth;
    s.cy = bm.bmHeight / 2;
  }
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  if (ii.hbmMask) DeleteObject(ii.hbmMask);
  return s;
}

// One entry of an .ico file as stored: its size, depth and, for a bitmap entry, whether
// its alpha has both see-through and solid pixels (a drawn shape on a clear ground).
struct IcoEntry {
  int size = 0;
  int bits = 0;
  bool png = false;
  bool clearAndSolid = false;
};

std::vector<IcoEntry> ReadIco(Bytes b) {
  std::vector<IcoEntry> out;
  if (b.size < 6 || U16(b.data) != 0 || U16(b.data + 2) != 1) return out;
  unsigned count = U16(b.data + 4);
  if (6 + count * 16 > b.size) return out;
  for (unsigned i = 0; i < count; ++i) {
    const uint8_t* d = b.data + 6 + i * 16;
    uint32_t bytes = U32(d + 8), offset = U32(d + 12);
    if (offset > b.size || bytes > b.size - offset) return {};
    const uint8_t* p = b.data + offset;
    IcoEntry e;
    e.size = d[0] ? d[0] : 256;
    e.bits = U16(d + 6);
    e.png = bytes >= 8 && memcmp(p, "\x89PNG", 4) == 0;
    if (!e.png && bytes >= 40 && U16(p + 14) == 32) {
      size_t pixels = size_t(e.size) * e.size;
      if (40 + pixels * 4 > bytes) return {};
      bool clear = false, solid = false;
      for (size_t k = 0; k < pixels; ++k) {
        uint8_t a = p[40 + k * 4 + 3];
        clear |= a == 0;
        solid |= a == 255;
      }
      e.clearAndSolid = clear && solid;
    }
    out.push_back(e);
  }
  return out;
}

class BuiltinImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = LoadLibraryExA("Zendrikolbar.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe_, nullptr) << "Zendrikolbar.exe not found beside the test";
  }
  void TearDown() override {
    if (exe_) FreeLibrary(exe_);
  }
  HMODULE exe_ = nullptr;
};

struct IconCase {
  int id;
  const char* name;
  std::vector<int> sizes;  // in file order
};

const IconCase kIcons[] = {
    {ZK_RES_BUILD_ICON, "Build button", {32}},       {ZK_RES_GROUP_GENERAL_ICON, "group General", {32}},
    {ZK_RES_GROUP_SETUP_ICON, "group Setup", {32}},  {ZK_RES_GROUP_DIALOGS_ICON, "group Dialogs", {32}},
    {ZK_RES_GROUP_BUILD_ICON, "group Build", {32}},  {ZK_RES_GROUP_SYSTEM_ICON, "group System", {32}},
    {ZK_RES_MENU_NEW_ICON, "menu New", {16}},        {ZK_RES_MENU_OPEN_ICON, "menu Open", {16}},
    {ZK_RES_MENU_SAVEAS_ICON, "menu Save As", {16}}, {ZK_RES_MENU_BUILD_ICON, "menu Build", {16}},
    {ZK_RES_MENU_HELP_ICON, "menu Help", {16}},      {ZK_RES_ABOUT_ICON, "About", {48, 32}},
};

TEST_F(BuiltinImagesTest, EveryIconIsCarriedAtItsSizesWithRealAlpha) {
  for (const IconCase& c : kIcons) {
    SCOPED_TRACE(c.name);
    Bytes b = Resource(exe_, c.id, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    ASSERT_NE(b.data, nullptr);
    std::vector<IcoEntry> entries = ReadIco(b);
    ASSERT_EQ(entries.size(), c.sizes.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].size, c.sizes[i]);
      EXPECT_EQ(entries[i].bits, 32);
      EXPECT_TRUE(entries[i].clearAndSolid) << "entry " << i << " has no transparent ground";
      HICON icon = DecodeIcon(b.data, b.size, c.sizes[i], c.sizes[i]);
      ASSERT_NE(icon, nullptr);
      SIZE s = IconSize(icon);
      EXPECT_EQ(s.cx, c.sizes[i]);
      EXPECT_EQ(s.cy, c.sizes[i]);
      DestroyIcon(icon);
    }
  }
}

TEST_F(BuiltinImagesTest, PreviewIsA69By54Jpeg) {
  Bytes b = Resource(exe_, ZK_RES_PREVIEW_JPEG, MAKEINTRESOURCEA(10));
  ASSERT_NE(b.data, nullptr);
  ASSERT_GT(b.size, 2u);
  EXPECT_EQ(b.data[0], 0xFF);
  EXPECT_EQ(b.data[1], 0xD8);
  bool isIcon = true;
  int w = 0, h = 0;
  HANDLE bmp = DecodeImage(b.data, b.size, &isIcon, &w, &h);
  ASSERT_NE(bmp, nullptr);
  EXPECT_FALSE(isIcon);
  EXPECT_EQ(w, 69);
  EXPECT_EQ(h, 54);
  DeleteObject(bmp);
}

TEST_F(BuiltinImagesTest, ProgramIconHas16To256PixelImages) {
  // An icon group: a 6-byte header and 14-byte entries naming RT_ICON resources.
  Bytes group = Resource(exe_, ZK_RES_PROGRAM_ICON, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
  ASSERT_NE(group.data, nullptr);
  ASSERT_GE(group.size, 6u);
  unsigned count = U16(group.data + 4);
  ASSERT_GE(group.size, 6 + count * 14u);
  std::vector<int> sizes;
  for (unsigned i = 0; i < count; ++i) {
    const uint8_t* e = group.data + 6 + i * 14;
    sizes.push_back(e[0] ? e[0] : 256);
    EXPECT_EQ(U16(e + 6), 32) << "entry " << i;
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));

  // Each size as the system picks and makes it from the program's resources.
  for (int want : {16, 32, 48, 256}) {
    SCOPED_TRACE(want);
    int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data), TRUE, want, want, LR_DEFAULTCOLOR);
    ASSERT_NE(id, 0);
    Bytes image = Resource(exe_, id, MAKEINTRESOURCEA(3) /* RT_ICON */);
    ASSERT_NE(image.data, nullptr);
    std::vector<BYTE> copy(image.data, image.data + image.size);
    HICON icon =
        CreateIconFromResourceEx(copy.data(), DWORD(copy.size()), TRUE, 0x00030000, want, want, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    SIZE s = IconSize(icon);
    EXPECT_EQ(s.cx, want);
    EXPECT_EQ(s.cy, want);
    DestroyIcon(icon);
  }
}

TEST_F(BuiltinImagesTest, ManifestAsksForCommonControls6DpiAwarenessAndNoElevation) {
  Bytes b = Resource(exe_, ZK_RES_MANIFEST, MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
  ASSERT_NE(b.data, nullptr);
  std::string text(reinterpret_cast<const char*>(b.data), b.size);
  EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
  EXPECT_NE(text.find(">true</dpiAware>"), std::string::npos);
  EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
}

TEST_F(BuiltinImagesTest, LoadFillsEveryEntryAtItsSize) {
  FreeRuntimeImage(0);
  FreeRuntimeImage(1);
  BuiltinImages images = LoadBuiltinImages(exe_);

  ASSERT_NE(images.preview, nullptr);
  EXPECT_EQ(RuntimeImageHandle(0), images.preview);
  EXPECT_FALSE(RuntimeImageIsIcon(0));
  EXPECT_EQ(RuntimeImageWidth(0), 69);
  EXPECT_EQ(RuntimeImageHeight(0), 54);

  ASSERT_NE(images.build, nullptr);
  EXPECT_EQ(RuntimeImageHandle(1), images.build);
  EXPECT_TRUE(RuntimeImageIsIcon(1));
  EXPECT_EQ(RuntimeImageWidth(1), 32);

  struct {
    HICON icon;
    int size;
  } const want[] = {
      {images.groupIcons[kGroupGeneral], 32},
      {images.groupIcons[kGroupSetup], 32},
      {images.groupIcons[kGroupDialogs], 32},
      {images.groupIcons[kGroupBuild], 32},
      {images.groupIcons[kGroupSystem], 32},
      {images.menuNew, 16},
      {images.menuOpen, 16},
      {images.menuSaveAs, 16},
      {images.menuBuild, 16},
      {images.menuHelp, 16},
      {images.about48, 48},
      {images.about32, 32},
  };
  for (size_t i = 0; i < sizeof(want) / sizeof(want[0]); ++i) {
    SCOPED_TRACE(i);
    SIZE s = IconSize(want[i].icon);
    EXPECT_EQ(s.cx, want[i].size);
    EXPECT_EQ(s.cy, want[i].size);
  }
  // The group icons are five different pictures, not one loaded five times.
  for (int i = 0; i < kGroupCount; ++i)
    for (int j = i + 1; j < kGroupCount; ++j) EXPECT_NE(images.groupIcons[i], images.groupIcons[j]);

  FreeBuiltinImages(&images);
  EXPECT_FALSE(IsRuntimeImage(0));
  EXPECT_FALSE(IsRuntimeImage(1));
  EXPECT_EQ(images.preview, nullptr);
  EXPECT_EQ(images.about48, nullptr);
}

TEST_F(BuiltinImagesTest, FreeKeepsImagesThatReplacedTheBuiltinOnes) {
  BuiltinImages images = LoadBuiltinImages(exe_);
  ASSERT_NE(images.preview, nullptr);
  ASSERT_NE(CreateRuntimeImage(0, 5, 5, RGB(1, 2, 3)), 0);
  FreeBuiltinImages(&images);
  EXPECT_TRUE(IsRuntimeImage(0));
  EXPECT_EQ(RuntimeImageWidth(0), 5);
  EXPECT_FALSE(IsRuntimeImage(1));
  FreeRuntimeImage(0);
}

TEST(BuiltinImagesMissing, AModuleWithoutThePicturesLeavesEveryEntryEmpty) {
  // This test program carries none of the resources.
  ASSERT_NE(CreateRuntimeImage(0, 3, 3, RGB(0, 0, 0)), 0);
  FreeRuntimeImage(1);
  BuiltinImages images = LoadBuiltinImages(GetModuleHandleA(nullptr));
  EXPECT_EQ(images.preview, nullptr);
  EXPECT_EQ(images.build, nullptr);
  for (HICON icon : images.groupIcons) EXPECT_EQ(icon, nullptr);
  EXPECT_EQ(images.menuNew, nullptr);
  EXPECT_EQ(images.menuOpen, nullptr);
  EXPECT_EQ(images.menuSaveAs, nullptr);
  EXPECT_EQ(images.menuBuild, nullptr);
  EXPECT_EQ(images.menuHelp, nullptr);
  EXPECT_EQ(images.about48, nullptr);
  EXPECT_EQ(images.about32, nullptr);
  // A missing picture leaves the runtime image of that number alone.
  EXPECT_EQ(RuntimeImageWidth(0), 3);
  EXPECT_FALSE(IsRuntimeImage(1));
  FreeRuntimeImage(0);
}

}  // namespace
