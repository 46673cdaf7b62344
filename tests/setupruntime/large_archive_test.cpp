// A setup whose archive is larger than 4 GB, holding one file larger than 4 GB and a file
// stored behind it: built by the builder's archiver and setup writer, installed by the
// setup. Sizes and offsets past 32 bits are carried by zip64 fields, and the setup file's
// 32-bit archive length field cannot hold the archive's length.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "builder/resource_files.h"
#include "builder/zip_archiver.h"
#include "common/text.h"
#include "setupruntime/install_test_support.h"
#include "setupruntime/payload.h"

namespace {

constexpr uint64_t kBigSize = 0x100000000ull + 0x100000 + 3;  // 4 GB, 1 MB and 3 bytes

// Places inside the big file that carry a mark; the rest is zeros, which the file system
// need not store.
const uint64_t kMarks[] = {0, 0xFFFFFFFCull, 0x100000010ull, kBigSize - 8};

bool WriteAt(HANDLE h, uint64_t at, const std::string& bytes) {
  LARGE_INTEGER where;
  where.QuadPart = static_cast<LONGLONG>(at);
  DWORD put = 0;
  return SetFilePointerEx(h, where, nullptr, FILE_BEGIN) &&
         WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
}

std::string ReadAt(const std::wstring& path, uint64_t at, size_t count) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string bytes(count, '\0');
  LARGE_INTEGER where;
  where.QuadPart = static_cast<LONGLONG>(at);
  DWORD got = 0;
  if (!SetFilePointerEx(h, where, nullptr, FILE_BEGIN) ||
      !ReadFile(h, &bytes[0], static_cast<DWORD>(count), &got, nullptr))
    got = 0;
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

// Eight bytes that differ from place to place.
std::string Mark(uint64_t at) {
  std::string mark = "m" + std::to_string(at % 10000000);
  mark.resize(8, '-');
  return mark;
}

bool MakeBigFile(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(kBigSize);
  bool ok = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  for (uint64_t at : kMarks) ok = ok && WriteAt(h, at, Mark(at));
  CloseHandle(h);
  return ok;
}

uint64_t SizeOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(InstallTest, ArchiveAndFileOverFourGigabytesBuildAndInstall) {
  std::wstring staging = dir + L"staging\\";
  CreateFolderPath(staging);
  ASSERT_TRUE(MakeBigFile(staging + L"big.bin"));
  ASSERT_TRUE(PutBytes(staging + L"zz_after.txt", "stored behind the big file"));
  ASSERT_TRUE(PutBytes(work + L"Setup.cab", "MSCF a cabinet"));

  // Stored, so that the archive itself passes 4 GB and the entry behind the big one
  // starts beyond 32-bit offsets.
  SetZipCompressionMethod(kZipStored);
  std::string archive = WideToAnsi(work + L"program.zip");
  ASSERT_EQ(AddZipFolder(archive, WideToAnsi(staging + L"*.*"), kZipNameRelative, kZipFolderFiles), 2);
  ASSERT_GT(SizeOf(work + L"program.zip"), kBigSize);
  RemoveWorkFolder(staging);

  const std::string image = "MZ runtime image " + std::string(3000, 'R');
  std::string error;
  ASSERT_EQ(WriteSetupExecutable(WideToAnsi(in.setupPath), image, WideToAnsi(work + L"Setup.cab"), archive, &error), 1)
      << error;
  DeleteFileW((work + L"program.zip").c_str());
  EXPECT_EQ(ReadAt(in.setupPath, SizeOf(in.setupPath) - 4, 4), "\xff\xff\xff\xff");
  in.archive = PayloadArchiveWindow(in.setupPath, image.size());
  EXPECT_EQ(in.archive.start, image.size() + 8 + 14);

  ASSERT_EQ(Run(), 1);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_TRUE(ui.asks.empty());
  EXPECT_EQ(ui.finishPages, 1);
  EXPECT_EQ(GetBytes(App() + L"zz_after.txt"), "stored behind the big file");
  EXPECT_EQ(SizeOf(App() + L"big.bin"), kBigSize);
  for (uint64_t at : kMarks) EXPECT_EQ(ReadAt(App() + L"big.bin", at, 8), Mark(at)) << at;
  DeleteFileW((App() + L"big.bin").c_str());
  DeleteFileW(in.setupPath.c_str());
}

}  // namespace
