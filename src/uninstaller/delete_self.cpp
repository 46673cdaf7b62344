#include "uninstaller/delete_self.h"

#include <windows.h>
#include <shellapi.h>

#include "common/guid_text.h"
#include "common/scoped.h"
#include "common/text.h"

namespace {

std::wstring Quoted(const std::wstring& path) {
  std::wstring q = L"\"";
  for (wchar_t c : path) {
    q += c;
    if (c == L'%') q += L'%';
  }
  return q + L"\"";
}

// text in codePage, when every character converts to itself: no default character put in,
// no look-alike chosen, and it reads back unchanged.
bool ConvertsExactly(const std::wstring& text, UINT codePage, std::string* bytes) {
  if (text.empty()) {
    bytes->clear();
    return true;
  }
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      &usedDefault);
  if (usedDefault) return false;
  int back = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, out.data(), n, nullptr, 0);
  std::wstring check(static_cast<size_t>(back > 0 ? back : 0), L'\0');
  if (back <= 0 || MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, out.data(), n, &check[0], back) != back ||
      check != text)
    return false;
  *bytes = out;
  return true;
}

}  // namespace

std::vector<std::wstring> DeleteSelfBatchLines(const std::wstring& programPath, const std::wstring& batchPath,
                                               const std::wstring& installFolder) {
  // "cd \" first: a batch started from the installation folder would otherwise keep it
  // as its current folder, and a current folder cannot be removed.
  std::vector<std::wstring> lines = {
      L"cd \\",
      L":DeleteFile",
      L"del " + Quoted(programPath),
      L"if exist " + Quoted(programPath) + L" goto DeleteFile",
  };
  if (!installFolder.empty()) lines.push_back(L"rd " + Quoted(installFolder));
  lines.push_back(L"del " + Quoted(batchPath));
  lines.push_back(L"exit");
  return lines;
}

std::string BatchFileBytes(const std::vector<std::wstring>& lines, unsigned oemCodePage) {
  std::string oem;
  bool fits = true;
  for (const std::wstring& line : lines) {
    std::string bytes;
    if (!ConvertsExactly(line, oemCodePage, &bytes)) {
      fits = false;
      break;
    }
    oem += bytes + "\r\n";
  }
  if (fits) return oem;
  // cmd.exe decodes each line of a batch file as it comes to it, in the console's code
  // page of that moment: after this first line the rest is read as UTF-8.
  std::string utf8 = "chcp 65001 >nul\r\n";
  for (const std::wstring& line : lines) utf8 += WideToUtf8(line) + "\r\n";
  return utf8;
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
  std::string bytes = BatchFileBytes(DeleteSelfBatchLines(program, batch, installFolder), GetOEMCP());
  // CREATE_NEW: the name is new, so an existing file of that name is never taken over.
  ScopedHandle h(CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  DWORD put = 0;
  BOOL ok = WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  // Closed before a failed batch is deleted, and before the interpreter reads it.
  h.reset();
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
