// The program files: every entry of the archive extracted into the installation folder.
#include <windows.h>

#include "setupruntime/install_steps.h"

namespace {

// How many refused names the closing message lists; the rest are summed up as "...".
constexpr size_t kListedNames = 20;

bool IsFolder(const std::wstring& path) {
  DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The last component of name; a folder entry ("Data\Sub\") gives its own name.
std::wstring LastComponent(std::wstring name) {
  if (!name.empty() && name.back() == L'\\') name.pop_back();
  size_t slash = name.find_last_of(L'\\');
  return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

// Extracts the current entry, asking until it is written, skipped or the setup aborted.
// 0 on Abort.
int ExtractWithQuestion(InstallRun* run, ZipReader* zip, const std::wstring& name) {
  const SetupTexts& texts = run->in->texts;
  for (;;) {
    run->ui->SetStatusText(texts.installingText2 + L"\n" + run->folder + name);
    if (ExtractZipEntry(zip, run->folder) == kExtractOk || name.empty()) return 1;
    int answer = run->ui->AskExtractFailure(texts.couldNotExtractFileH,
                                            texts.couldNotExtractFile + L"\n" + LastComponent(name));
    if (answer == IDRETRY) continue;
    if (answer == IDABORT) return 0;
    ++run->ignoredFailures;
    return 1;
  }
}

void ReportRefused(InstallRun* run, const std::vector<std::wstring>& refused) {
  if (refused.empty()) return;
  const SetupTexts& texts = run->in->texts;
  std::wstring text = texts.couldNotExtractFile + L"\n";
  for (size_t i = 0; i < refused.size() && i < kListedNames; ++i) text += L"\n" + refused[i];
  if (refused.size() > kListedNames) text += L"\n...";
  run->ui->ShowInfo(texts.couldNotExtractFileH, text);
}

}  // namespace

int InstallArchiveFiles(InstallRun* run, ZipReader* zip) {
  // Names that would land outside the installation folder are never written; the user
  // hears of them once, after the files, rather than once per entry.
  std::vector<std::wstring> refused;
  for (int at = ZipFirstEntry(zip); at == 0; at = ZipNextEntry(zip)) {
    std::wstring name = ZipEntryName(zip);
    if (!IsSafeEntryName(name)) {
      refused.push_back(name);
      ++run->ignoredFailures;
    } else {
      if (!ExtractWithQuestion(run, zip, name)) {
        run->ui->EndSetup();
        return 0;
      }
      if (run->logging && !name.empty()) {
        std::wstring path = run->folder + name;
        if (IsFolder(path)) {
          run->folders.push_back(path);
        } else {
          LogInstalledFile(&run->log, path);
        }
      }
    }
    run->ui->SetProgressValue(++run->counter);
  }
  ReportRefused(run, refused);
  return 1;
}
