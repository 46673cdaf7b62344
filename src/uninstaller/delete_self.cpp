#include "uninstaller/delete_self.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "common/text.h"

std::vector<std::wstring> DeleteSelfBatchLines(const std::wstring& programPath, const std::wstring& batchPath,
                                               const std::wstring& installFolder) {
  // "cd \" first: a batch started from the installation folder would otherwise keep it
  // as its current folder, and a current folder cannot be removed.
  std::vector<std::wstring> lines = {
      L"cd \\",
      L":DeleteFile",
      L"del \"" + programPath + L"\"",
      L"if exist \"" + programPath + L"\" goto DeleteFile",
  };
  if (!installFolder.empty()) lines.push_back(L"rd \"" + installFolder + L"\"");
  lines.push_back(L"del \"" + batchPath + L"\"");
  lines.push_back(L"exit");
  return lines;
}

std::wstring NewGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return std::wstring();
  wchar_t text[64];
  if (StringFromGUID2(guid, text, 64) == 0) return std::wstring();
  return text;
}

bool DeleteSelf(const std::wstring& installFolder) {
  wchar_t program[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  wchar_t temp[MAX_PATH];
  DWORD t = GetTempPathW(MAX_PATH, temp);
  std::wstring guid = NewGuidText();
  if (t == 0 || t >= MAX_PATH || guid.empty()) return false;
  std::wstring batch = std::wstring(temp) + guid + L".bat";
  std::string bytes;
  for (const std::wstring& line : DeleteSelfBatchLines(program, batch, installFolder)) bytes += WideToUtf8(line) + "\r\n";
  // CREATE_NEW: the name is new, so an existing file of that name is never taken over.
  HANDLE h = CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  if (!ok || put != bytes.size()) {
    DeleteFileW(batch.c_str());
    return false;
  }
  // Started in the temporary folder: a process whose current folder is the installation
  // folder (the batch's interpreter, or whatever the shell puts between) keeps it open,
  // and an open folder cannot be removed.
  HINSTANCE r = ShellExecuteW(nullptr, L"open", batch.c_str(), nullptr, temp, SW_HIDE);
  return reinterpret_cast<INT_PTR>(r) > 32;
}
