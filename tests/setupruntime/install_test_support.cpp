#include "setupruntime/install_test_support.h"

#include <minizip/zip.h>
#include <minizip/iowin32.h>
#include <zlib.h>

#include "common/text.h"
#include "setupruntime/install_workers.h"

const wchar_t kTestAppName[] = L"Zendrikolbar Install Test";
const wchar_t kTestRegistryKey[] = L"Software\\ZendrikolbarTestInstall";

namespace {

std::string RawDeflate(const std::string& data) {
  z_stream s{};
  deflateInit2(&s, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&s, static_cast<uLong>(data.size())) + 16, '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = reinterpret_cast<Bytef*>(&out[0]);
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

uLong Crc(const std::string& data) {
  return crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
}

// A damaged entry is written raw, so its stored CRC and sizes are whatever the test says.
int WriteItem(zipFile zf, const ZipItem& item) {
  zip_fileinfo info{};
  info.dosDate = 0x5A2F6000;  // 2025-01-15 12:00:00
  info.external_fa = item.attributes;
  std::string raw = item.data;
  uLong size = static_cast<uLong>(item.data.size());
  uLong crc = Crc(item.data);
  int method = Z_DEFLATED;
  switch (item.damage) {
    case Damage::kNone:
      break;
    case Damage::kBadCrc:
      method = 0;
      crc ^= 1;
      break;
    case Damage::kBrokenStream:
      raw = std::string("\xff\xfe\xfd broken stream", 17);
      break;
    case Damage::kShortStream:
      raw = RawDeflate(item.data);
      size += 50;  // the directory promises more than the stream holds
      break;
  }
  bool isRaw = item.damage != Damage::kNone;
  // Bit 11 of the general-purpose flags: the name is UTF-8.
  uLong flags = item.utf8 ? 1u << 11 : 0;
  if (zipOpenNewFileInZip4_64(zf, item.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, 9, isRaw ? 1 : 0,
                              -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, flags, 0) != ZIP_OK) {
    return 0;
  }
  if (!raw.empty() && zipWriteInFileInZip(zf, raw.data(), static_cast<unsigned>(raw.size())) != ZIP_OK) return 0;
  return (isRaw ? zipCloseFileInZipRaw(zf, size, crc) : zipCloseFileInZip(zf)) == ZIP_OK;
}

}  // namespace

int WriteZip(const std::wstring& path, const std::vector<ZipItem>& items) {
  zlib_filefunc64_def funcs;
  fill_win32_filefunc64W(&funcs);
  zipFile zf = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &funcs);
  if (zf == nullptr) return 0;
  int ok = 1;
  for (const ZipItem& item : items) ok = ok && WriteItem(zf, item);
  return zipClose(zf, nullptr) == ZIP_OK && ok;
}

std::string Int32Bytes(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
  return bytes;
}

bool WriteSetupFile(const std::wstring& setupPath, const std::wstring& archivePath, ZipWindow* window) {
  std::string archive = GetBytes(archivePath);
  // Leading bytes that look like a little of everything, a stray "PK" signature included.
  std::string head =
      "MZ runtime image " + std::string(4000, 'R') + "PK\x03\x04 not an entry" + Int64Bytes(10) + "MSCF cab..";
  window->start = head.size();
  window->length = archive.size();
  return !archive.empty() && PutBytes(setupPath, head + archive + Int32Bytes(static_cast<int32_t>(archive.size())));
}

std::string Lines(const std::vector<std::wstring>& lines) {
  std::string bytes;
  for (const std::wstring& line : lines) bytes += WideToUtf8(line) + "\r\n";
  return bytes;
}

void InstallTest::SetUp() {
  // Workers as the setup has them; every update of the page recorded, so that tests see
  // the whole sequence (the throttled one has a test of its own).
  SetExtractWorkerCount(-1);
  SetExtractUpdateInterval(0);
  dir = TestFolder();
  work = dir + L"work\\";
  CreateFolderPath(work);
  CreateFolderPath(dir + L"Desktop\\");
  CreateFolderPath(dir + L"Programs\\");
  PutWorkFile(L"Default.zkl", "[Installing]\r\nText2 = Extracting files:\r\n");

  in.config.appName = kTestAppName;
  in.config.version = L"1.2";
  in.config.company = L"Test Company";
  in.config.website = L"http://uninstall.example";
  in.config.website1 = L"http://help.example";
  in.config.uninstaller = 1;
  in.config.uninstallerFilename = L"uninst";
  in.config.uninstallerVisitWebsite = 1;
  in.texts.installingText2 = L"Extracting files:";
  in.texts.installingText3 = L"Finishing the installation...";
  in.texts.couldNotExtractFileH = L"Error";
  in.texts.couldNotExtractFile = L"A file could not be extracted.";
  in.texts.languageFile = work + L"Default.zkl";
  in.workFolder = work;
  in.setupPath = work + L"setup.exe";
  in.startMenuRoot = dir + L"Programs\\";
  in.desktopFolder = dir + L"Desktop\\";
  in.installFolderField = dir + L"App";
  in.startMenuField = L"Test Product";
  in.desktopChecked = 1;
  in.startMenuChecked = 1;
  in.uninstallerImage = uninstallerImage.data();
  in.uninstallerImageSize = uninstallerImage.size();
}

void InstallTest::TearDown() {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                 (std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kTestAppName).c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, kTestRegistryKey);
}

void InstallTest::UseArchive(const std::vector<ZipItem>& items) {
  ASSERT_EQ(WriteZip(work + L"program.zip", items), 1);
  ASSERT_TRUE(WriteSetupFile(in.setupPath, work + L"program.zip", &in.archive));
}

void InstallTest::PutWorkFile(const std::wstring& name, const std::string& bytes) {
  ASSERT_TRUE(PutBytes(work + name, bytes));
}
