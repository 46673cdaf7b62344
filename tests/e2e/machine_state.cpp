#include "e2e/machine_state.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "app/test_paths.h"
#include "common/text.h"

namespace {

void ListInto(const std::wstring& folder, const std::string& prefix, std::set<std::string>* out) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    std::string entry = prefix + WideToUtf8(name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out->insert(entry + "\\");
      ListInto(folder + name + L"\\", entry + "\\", out);
    } else {
      out->insert(entry);
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

}  // namespace

std::string SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
  std::string folder = WideToUtf8(path);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesW(Utf8ToWide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::set<std::string> TreeEntries(const std::string& folder) {
  std::set<std::string> entries;
  ListInto(Utf8ToWide(folder), "", &entries);
  return entries;
}

bool ReadShellLink(const std::string& path, ShellLink* out) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool ok = false;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t text[MAX_PATH * 4];
      if (SUCCEEDED(file->Load(Utf8ToWide(path).c_str(), STGM_READ))) {
        ok = true;
        // SLGP_RAWPATH: the path as stored, not resolved against what is on disk now.
        ok = ok && SUCCEEDED(link->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH));
        out->target = WideToUtf8(text);
        ok = ok && SUCCEEDED(link->GetArguments(text, MAX_PATH * 4));
        out->arguments = WideToUtf8(text);
        ok = ok && SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH * 4));
        out->workingFolder = WideToUtf8(text);
      }
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return ok;
}

bool ReadRegistry(HKEY root, const std::string& key, const std::string& name, DWORD* type, std::string* text) {
  HKEY h;
  if (RegOpenKeyExW(root, Utf8ToWide(key).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS) return false;
  std::wstring wname = Utf8ToWide(name);
  DWORD size = 0;
  bool ok = RegQueryValueExW(h, wname.c_str(), nullptr, type, nullptr, &size) == ERROR_SUCCESS;
  std::vector<BYTE> data(size + sizeof(wchar_t), 0);
  ok = ok && RegQueryValueExW(h, wname.c_str(), nullptr, type, data.data(), &size) == ERROR_SUCCESS;
  RegCloseKey(h);
  if (!ok) return false;
  if (*type == REG_DWORD && size == 4) {
    DWORD v;
    memcpy(&v, data.data(), 4);
    *text = std::to_string(v);
  } else if (*type == REG_SZ || *type == REG_EXPAND_SZ) {
    *text = WideToUtf8(reinterpret_cast<const wchar_t*>(data.data()));
  } else {
    text->assign(reinterpret_cast<const char*>(data.data()), size);
  }
  return true;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  HKEY h;
  if (RegOpenKeyExW(root, Utf8ToWide(key).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void DeleteRegistryTree(HKEY root, const std::string& key) {
  HKEY h;
  if (RegOpenKeyExW(root, Utf8ToWide(key).c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS) return;
  RegDeleteTreeW(h, nullptr);
  RegCloseKey(h);
  RegDeleteKeyExW(root, Utf8ToWide(key).c_str(), KEY_WOW64_64KEY, 0);
}

void RemoveDemoTraces() {
  DeleteFileW(Utf8ToWide(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "Demo Notes.lnk").c_str());
  RemoveTree(SpecialFolder(CSIDL_PROGRAMS) + "Zendrikolbar Samples\\");
  DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Zendrikolbar Samples");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo Notes");
}
