// A small setup for the installation's tests: a crafted program archive behind some
// leading bytes, resource files in a work folder, a recording InstallUi and the inputs
// the wizard would hand over.
#ifndef ZK_TESTS_SETUPRUNTIME_INSTALL_TEST_SUPPORT_H
#define ZK_TESTS_SETUPRUNTIME_INSTALL_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <windows.h>

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "setupruntime/install.h"
#include "setupruntime/runtime_test_files.h"

// One archive entry as the test wants it stored.
enum class Damage { kNone, kBadCrc, kBrokenStream, kShortStream };
struct ZipItem {
  std::string name;  // OEM bytes (UTF-8 with utf8), "/" separators; a folder ends with "/"
  std::string data;
  uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
  Damage damage = Damage::kNone;
  bool utf8 = false;  // the entry carries the UTF-8 name flag
};

// Writes the items into a ZIP archive at path, in order. 1 on success.
int WriteZip(const std::wstring& path, const std::vector<ZipItem>& items);

// A setup file: leading bytes standing for the runtime and the cabinet, the archive in
// archivePath, then its 32-bit length. Where the archive lies goes to *archive.
bool WriteSetupFile(const std::wstring& setupPath, const std::wstring& archivePath, ZipWindow* archive);

// Lines as a line file holds them: UTF-8, CR LF each.
std::string Lines(const std::vector<std::wstring>& lines);
std::string Int32Bytes(int32_t value);

// Records what the installation asks of the wizard.
class RecordingUi : public InstallUi {
 public:
  void SetStatusText(const std::wstring& text) override { statuses.push_back(text); }
  void SetProgressRange(int maximum) override { progress.push_back(L"range " + std::to_wstring(maximum)); }
  void SetProgressValue(int value) override { progress.push_back(std::to_wstring(value)); }
  void ShowError(const std::wstring& title, const std::wstring& text) override {
    errors.push_back(title + L"|" + text);
  }
  int AskExtractFailure(const std::wstring& title, const std::wstring& text) override {
    asks.push_back(title + L"|" + text);
    return answer ? answer(static_cast<int>(asks.size())) : IDIGNORE;
  }
  void ShowInfo(const std::wstring& title, const std::wstring& text) override { infos.push_back(title + L"|" + text); }
  void ShowFinishPage() override { ++finishPages; }
  void EndSetup() override { ++endSetups; }

  std::function<int(int)> answer;  // given the number of the question (from 1)
  std::vector<std::wstring> statuses, progress, errors, asks, infos;
  int finishPages = 0;
  int endSetups = 0;
};

extern const wchar_t kTestAppName[];
extern const wchar_t kTestRegistryKey[];  // below HKEY_CURRENT_USER

// Each test gets a fresh folder: work\ (resource files, setup.exe, language file), App
// (the installation folder field, without a trailing backslash), Desktop\ and Programs\.
class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The installation folder with its trailing backslash.
  std::wstring App() const { return dir + L"App\\"; }
  // Writes the archive into the setup file.
  void UseArchive(const std::vector<ZipItem>& items);
  void PutWorkFile(const std::wstring& name, const std::string& bytes);
  int Run() { return RunInstall(in, ui); }

  std::wstring dir, work;
  InstallInputs in;
  RecordingUi ui;
  std::string uninstallerImage = "MZ the carried uninstaller";
};

#endif
