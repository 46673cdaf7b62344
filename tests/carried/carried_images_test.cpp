// The five deliverables are 64-bit PE files, each carried image is the built file
// unchanged, and each patched size constant equals the size of its file.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "common/carried.h"
#include "support/file_bytes.h"
#include "support/program_manifest.h"

namespace {

std::string WideName(const wchar_t* name) { return std::string(name, name + wcslen(name)); }

std::string CarriedResource(const char* carrier, int id) {
  HMODULE m = LoadLibraryExA(carrier, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!m) return {};
  std::string bytes;
  if (HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */)) {
    HGLOBAL g = LoadResource(m, r);
    const char* p = static_cast<const char*>(LockResource(g));
    if (p) bytes.assign(p, SizeofResource(m, r));
  }
  FreeLibrary(m);
  return bytes;
}

// The 64-bit value behind the one occurrence of the tag, or -1.
long long PatchedSize(const std::string& image, const std::string& tag) {
  size_t at = image.find(tag);
  if (at == std::string::npos || image.find(tag, at + 1) != std::string::npos) return -1;
  if (at + 16 > image.size()) return -1;
  unsigned long long v = 0;
  for (int i = 15; i >= 8; --i) v = (v << 8) | static_cast<unsigned char>(image[at + i]);
  return static_cast<long long>(v);
}

TEST(Deliverables, ArePe32PlusFiles) {
  for (const char* name :
       {"Zendrikolbar.exe", "pelbuild.dll", "SetupRuntime.exe", "Uninstaller.exe", "UpdateClient.exe"}) {
    std::string f = GetBytes(name);
    ASSERT_GT(f.size(), 0x200u) << name;
    ASSERT_EQ(f.substr(0, 2), "MZ") << name;
    uint32_t pe = *reinterpret_cast<const uint32_t*>(&f[0x3c]);
    ASSERT_EQ(f.substr(pe, 4), std::string("PE\0\0", 4)) << name;
    uint16_t machine = *reinterpret_cast<const uint16_t*>(&f[pe + 4]);
    uint16_t magic = *reinterpret_cast<const uint16_t*>(&f[pe + 24]);
    EXPECT_EQ(machine, IMAGE_FILE_MACHINE_AMD64) << name;
    EXPECT_EQ(magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC) << name;
  }
}

struct Carried {
  const char* carrier;
  int resource;
  const char* file;
};

TEST(CarriedImages, AreTheBuiltFilesUnchanged) {
  const Carried cases[] = {
      {"SetupRuntime.exe", ZK_RES_UNINSTALLER_IMAGE, "Uninstaller.exe"},
      {"Zendrikolbar.exe", ZK_RES_SETUPRUNTIME_IMAGE, "SetupRuntime.exe"},
      {"pelbuild.dll", ZK_RES_UPDATECLIENT_IMAGE, "UpdateClient.exe"},
  };
  for (const Carried& c : cases) {
    std::string built = GetBytes(c.file);
    std::string carried = CarriedResource(c.carrier, c.resource);
    ASSERT_FALSE(built.empty()) << c.file;
    EXPECT_EQ(carried.size(), built.size()) << c.file << " in " << c.carrier;
    EXPECT_TRUE(carried == built) << c.file << " in " << c.carrier << " differs from the built file";
  }
}

TEST(CarriedImages, PatchedSizeEqualsFileSize) {
  const std::pair<const char*, const char*> cases[] = {
      {"SetupRuntime.exe", "ZKSIZE_S"},
      {"UpdateClient.exe", "ZKSIZE_C"},
  };
  for (const auto& c : cases) {
    std::string built = GetBytes(c.first);
    EXPECT_EQ(PatchedSize(built, c.second), static_cast<long long>(built.size())) << c.first;
  }
}

// The carried copy inside Zendrikolbar is the patched one: its constant names its own size.
TEST(CarriedImages, CarriedSetupRuntimeKnowsItsSize) {
  std::string carried = CarriedResource("Zendrikolbar.exe", ZK_RES_SETUPRUNTIME_IMAGE);
  ASSERT_FALSE(carried.empty());
  EXPECT_EQ(PatchedSize(carried, "ZKSIZE_S"), static_cast<long long>(carried.size()));
}

// The programs a setup puts on the machine act on Program Files and HKEY_LOCAL_MACHINE, so
// both ask for administrator rights. Neither declares Windows 8.1 or later: the setup's
// system check then sees Windows 10 and 11 as the "Windows 8" of its list.
TEST(CarriedImages, SetupProgramsAskForAdministratorRights) {
  for (const wchar_t* program : {L"SetupRuntime.exe", L"Uninstaller.exe"}) {
    std::string manifest = ProgramManifest(program);
    ASSERT_FALSE(manifest.empty()) << WideName(program);
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos) << WideName(program);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos) << WideName(program);
    EXPECT_EQ(manifest.find("supportedOS"), std::string::npos) << WideName(program);
    EXPECT_EQ(manifest.find("compatibility"), std::string::npos) << WideName(program);
  }
}

}  // namespace
