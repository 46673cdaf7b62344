#include "setupruntime/install_shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "setupruntime/install_steps.h"
#include "setupruntime/program_start.h"
#include "setupruntime/resources.h"
#include "setupruntime/work_folder.h"

int CreateShortcut(const std::wstring& target, const std::wstring& linkFile, const std::wstring& workingFolder,
                   const std::wstring& arguments, const std::wstring& description, const std::wstring& iconFile,
                   int iconIndex) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return 0;
  }
  link->SetPath(target.c_str());
  link->SetArguments(arguments.c_str());
  link->SetDescription(description.c_str());
  link->SetWorkingDirectory(workingFolder.c_str());
  link->SetIconLocation(iconFile.c_str(), iconIndex);
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(linkFile.c_str(), TRUE));
    file->Release();
  }
  link->Release();
  return saved ? 1 : 0;
}

namespace {

// Creates one link per row in folder (ends with "\"); answers the link files.
std::vector<std::wstring> CreateLinks(const InstallRun& run, const std::vector<ShortcutRow>& rows,
                                      const std::wstring& folder) {
  std::vector<std::wstring> links;
  for (const ShortcutRow& row : rows) {
    std::wstring target = Resolve(run, row.target);
    std::wstring link = folder + Resolve(run, row.name) + L".lnk";
    CreateShortcut(target, link, FolderPart(target), Resolve(run, row.arguments), L"", L"", 0);
    links.push_back(link);
  }
  return links;
}

}  // namespace

void InstallShortcuts(InstallRun* run) {
  const InstallInputs& in = *run->in;
  if (in.config.desktopIcon == 1 && in.desktopChecked) {
    for (const std::wstring& link : CreateLinks(*run, ReadDesktopShortcuts(in.workFolder), in.desktopFolder)) {
      LogInstalledFile(&run->log, link);
    }
  }
  if (in.config.startMenuFolder == 1 && in.startMenuChecked) {
    // An empty field puts the links into the start-menu root itself; that folder is not
    // the product's, so it is not recorded for removal.
    std::wstring folder = in.startMenuField;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    std::wstring path = in.startMenuRoot + folder;
    CreateFolderPath(path);
    CreateLinks(*run, ReadStartMenuShortcuts(in.workFolder), path);
    if (!folder.empty()) LogInstalledFolder(&run->log, path);
  }
}
