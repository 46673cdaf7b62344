#include "common/registry_helper.h"

#include <shlobj.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "common/placeholders.h"
#include "common/scoped.h"

const wchar_t kUninstallLogDigestValue[] = L"UninstallLogSha256";

const wchar_t kRegErrorRootEmpty[] = L"ERROR, #HKEY is empty";
const wchar_t kRegErrorSubKeyEmpty[] = L"ERROR, subkeyname is empty";
const wchar_t kRegErrorValueNameEmpty[] = L"ERROR, valuename is empty";
const wchar_t kRegErrorSubKeyMissing[] = L"ERROR, sub key dont exist";
const wchar_t kRegErrorSubKeyNotFound[] = L"ERROR, sub key not found";
const wchar_t kRegErrorReading[] = L"ERROR, reading key";
const wchar_t kRegErrorNoMemory[] = L"ERROR, can\u00B4t allocate memory";
const wchar_t kRegErrorWrite[] = L"ERROR, can\u00B4t write value";
const wchar_t kRegErrorCreate[] = L"ERROR, false type";
const wchar_t kRegErrorBinaryEmpty[] = L"ERROR, allocated memorysize <1";
const wchar_t kRegErrorBinaryNoSpace[] = L"ERROR, no space";
const wchar_t kRegErrorBinaryNotHex[] = L"ERROR, translate hexadecimal to decimal";
const wchar_t kRegErrorBinaryMode[] = L"ERROR, false flag";
const wchar_t kRegErrorDeleteValue[] = L"ERROR, can\u00B4t delete value";
const wchar_t kRegErrorDeleteKey[] = L"ERROR, can\u00B4t delete subkey";
const wchar_t kRegErrorKeyNotEmpty[] = L"ERROR, subkey is not empty";
const wchar_t kRegErrorOther[] = L"ERROR, not specified message";
const wchar_t kRegErrorProgramsFolder[] = L"ERROR, startmenu programs path not found";
const wchar_t kRegErrorDesktopFolder[] = L"ERROR, desktop path not found";

namespace {

// One text for the process; the install thread and the GUI thread both reach it.
std::mutex g_errorLock;
std::wstring g_error;

void SetError(const wchar_t* text) {
  std::lock_guard<std::mutex> lock(g_errorLock);
  g_error = text;
}

void ClearError() {
  std::lock_guard<std::mutex> lock(g_errorLock);
  g_error.clear();
}

struct RootName {
  HKEY key;
  const wchar_t* name;
};

// The names the setup's files use. The SDK constants carry the sign extension that
// 64-bit Windows gives the predefined keys.
const RootName kRootNames[] = {
    {HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT"},     {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE"},   {HKEY_USERS, L"HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG"},
};

bool IsPredefinedRoot(HKEY root) {
  return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE || root == HKEY_USERS ||
         root == HKEY_PERFORMANCE_DATA || root == HKEY_CURRENT_CONFIG || root == HKEY_DYN_DATA;
}

// The checks every operation starts with. The backslash goes before the emptiness test:
// a sub key of just "\" would otherwise reach the system as "" and name the root key
// itself, which a deletion must never touch.
bool CheckArguments(HKEY root, const std::wstring& subKey, const std::wstring* valueName, std::wstring* path) {
  ClearError();
  if (!IsPredefinedRoot(root)) {
    SetError(kRegErrorRootEmpty);
    return false;
  }
  *path = subKey;
  if (!path->empty() && (*path)[0] == L'\\') path->erase(0, 1);
  if (path->empty()) {
    SetError(kRegErrorSubKeyEmpty);
    return false;
  }
  if (valueName && valueName->empty()) {
    SetError(kRegErrorValueNameEmpty);
    return false;
  }
  return true;
}

bool KeyOpensForReading(HKEY root, const std::wstring& path) {
  ScopedKey k;
  return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
}

// Checks, makes sure the key exists and opens it. valueName nullptr: no name required.
bool OpenExisting(HKEY root, const std::wstring& subKey, const std::wstring* valueName, REGSAM access, ScopedKey* key,
                  std::wstring* path) {
  if (!CheckArguments(root, subKey, valueName, path)) return false;
  if (!KeyOpensForReading(root, *path)) {
    SetError(kRegErrorSubKeyMissing);
    return false;
  }
  if (RegOpenKeyExW(root, path->c_str(), 0, access, key->put()) != ERROR_SUCCESS) {
    SetError(kRegErrorOther);
    return false;
  }
  return true;
}

struct RawValue {
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::unique_ptr<unsigned char[]> bytes;
};

// The value's type and bytes. Another writer may grow the value between asking for its
// size and reading it; the read is then simply repeated.
bool QueryValue(HKEY key, const std::wstring& name, RawValue* value) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value->type, nullptr, &size) != ERROR_SUCCESS) {
      SetError(kRegErrorReading);
      return false;
    }
    value->bytes.reset(new (std::nothrow) unsigned char[static_cast<size_t>(size) + 1]);
    if (!value->bytes) {
      SetError(kRegErrorNoMemory);
      return false;
    }
    value->size = size;
    LONG r = RegQueryValueExW(key, name.c_str(), nullptr, &value->type, value->bytes.get(), &value->size);
    if (r == ERROR_SUCCESS) return true;
    if (r != ERROR_MORE_DATA) break;
  }
  SetError(kRegErrorReading);
  return false;
}

// The stored bytes need not end with a zero (any program may write a text without one),
// so every text is bounded by the value's size.
std::wstring TextOf(const RawValue& v, size_t firstChar, size_t* next) {
  size_t count = v.size / sizeof(wchar_t);
  std::wstring text;
  size_t i = firstChar;
  for (; i < count; ++i) {
    wchar_t c;
    memcpy(&c, v.bytes.get() + i * sizeof(wchar_t), sizeof c);
    if (c == L'\0') break;
    text += c;
  }
  if (next) *next = i + 1;
  return text;
}

std::wstring MultiTextOf(const RawValue& v) {
  size_t count = v.size / sizeof(wchar_t);
  std::wstring text;
  size_t at = 0;
  while (at < count) {
    std::wstring one = TextOf(v, at, &at);
    if (one.empty()) break;  // the empty string ends the list
    text += one;
    text += L"\r\n";
  }
  return text;
}

std::wstring HexBytesOf(const RawValue& v) {
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text;
  text.reserve(v.size * 3);
  for (DWORD i = 0; i < v.size; ++i) {
    text += kDigits[v.bytes[i] >> 4];
    text += kDigits[v.bytes[i] & 0x0F];
    text += L' ';
  }
  return text;
}

void SetValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName, bool nameRequired, DWORD type,
              const void* data, size_t size) {
  ScopedKey key;
  std::wstring path;
  if (!OpenExisting(root, subKey, nameRequired ? &valueName : nullptr, KEY_ALL_ACCESS, &key, &path)) return;
  if (size > 0xFFFFFFFFu || RegSetValueExW(key.get(), valueName.c_str(), 0, type, static_cast<const BYTE*>(data),
                                           static_cast<DWORD>(size)) != ERROR_SUCCESS)
    SetError(kRegErrorWrite);
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

// "0A 1B FF" -> 0A 1B FF: trimmed, one blank added, then every three characters are two
// digits and a blank. Characters left over after the last whole byte are refused rather
// than dropped, so a mistyped last byte never writes shortened data.
bool ParseHexBytes(const std::wstring& data, std::vector<unsigned char>* bytes) {
  std::wstring text;
  size_t first = data.find_first_not_of(L' ');
  if (first != std::wstring::npos) text = data.substr(first, data.find_last_not_of(L' ') - first + 1);
  text += L' ';
  size_t count = text.size() / 3;
  if (count < 1) {
    SetError(kRegErrorBinaryEmpty);
    return false;
  }
  bytes->clear();
  for (size_t i = 0; i < count; ++i) {
    if (text[i * 3 + 2] != L' ') {
      SetError(kRegErrorBinaryNoSpace);
      return false;
    }
    int high = HexDigit(text[i * 3]);
    int low = HexDigit(text[i * 3 + 1]);
    if (high < 0 || low < 0) {
      SetError(kRegErrorBinaryNotHex);
      return false;
    }
    bytes->push_back(static_cast<unsigned char>(high << 4 | low));
  }
  if (text.size() % 3 != 0) {
    SetError(kRegErrorBinaryNotHex);
    return false;
  }
  return true;
}

std::wstring SpecialFolder(int csidl, const wchar_t* error) {
  ClearError();
  std::wstring folder = GetSpecialFolder(csidl);
  if (folder.empty()) SetError(error);
  return folder;
}

}  // namespace

HKEY RootKeyFromName(const std::wstring& name) {
  for (const RootName& r : kRootNames)
    if (name == r.name) return r.key;
  return nullptr;
}

std::wstring RootKeyName(HKEY root) {
  for (const RootName& r : kRootNames)
    if (root == r.key) return r.name;
  return L"";
}

void InitRegistryHelper() { ClearError(); }

std::wstring TakeRegistryError() {
  std::lock_guard<std::mutex> lock(g_errorLock);
  std::wstring text;
  text.swap(g_error);
  return text;
}

int RegistryKeyExists(HKEY root, const std::wstring& subKey) {
  std::wstring path;
  if (!CheckArguments(root, subKey, nullptr, &path)) return 0;
  if (!KeyOpensForReading(root, path)) {
    SetError(kRegErrorSubKeyNotFound);
    return 0;
  }
  return 1;
}

std::wstring ReadRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
  ScopedKey key;
  std::wstring path;
  if (!OpenExisting(root, subKey, nullptr, KEY_READ, &key, &path)) return L"";
  RawValue v;
  if (!QueryValue(key.get(), valueName, &v)) return L"";
  switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return TextOf(v, 0, nullptr);
    case REG_MULTI_SZ:
      return MultiTextOf(v);
    case REG_DWORD:
      if (v.size == sizeof(DWORD)) {
        DWORD number;
        memcpy(&number, v.bytes.get(), sizeof number);
        return std::to_wstring(number);
      }
      break;
    case REG_BINARY:
      return HexBytesOf(v);
  }
  SetError(kRegErrorReading);
  return L"";
}

std::wstring ReadRegistryValueType(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
  ScopedKey key;
  std::wstring path;
  if (!OpenExisting(root, subKey, nullptr, KEY_READ, &key, &path)) return L"";
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
    SetError(kRegErrorReading);
    return L"";
  }
  switch (type) {
    case REG_SZ:
      return L"REG_SZ";
    case REG_EXPAND_SZ:
      return L"REG_EXPAND_SZ";
    case REG_BINARY:
      return L"REG_BINARY";
    case REG_DWORD:
      return L"REG_DWORD";
    case REG_MULTI_SZ:
      return L"REG_MULTI_SZ";
  }
  return L"";
}

void CreateRegistryKey(HKEY root, const std::wstring& subKey) {
  std::wstring path;
  if (!CheckArguments(root, subKey, nullptr, &path)) return;
  ScopedKey key;
  DWORD disposition = 0;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.put(),
                      &disposition) != ERROR_SUCCESS)
    SetError(kRegErrorCreate);
}

void WriteRegistryString(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                         const std::wstring& text) {
  SetValue(root, subKey, valueName, false, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void WriteRegistryExpandString(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                               const std::wstring& text) {
  SetValue(root, subKey, valueName, true, REG_EXPAND_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void WriteRegistryDword(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD number) {
  SetValue(root, subKey, valueName, true, REG_DWORD, &number, sizeof number);
}

void WriteRegistryBinary(HKEY root, const std::wstring& subKey, const std::wstring& valueName, const std::wstring& data,
                         int mode) {
  std::wstring path;
  if (!CheckArguments(root, subKey, &valueName, &path)) return;
  if (mode != kRegBinaryText) {
    SetError(kRegErrorBinaryMode);
    return;
  }
  std::vector<unsigned char> bytes;
  if (!ParseHexBytes(data, &bytes)) return;
  SetValue(root, subKey, valueName, true, REG_BINARY, bytes.data(), bytes.size());
}

void WriteRegistryBinary(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                         const std::vector<unsigned char>& data, int mode) {
  std::wstring path;
  if (!CheckArguments(root, subKey, &valueName, &path)) return;
  if (mode != kRegBinaryBlock) {
    SetError(kRegErrorBinaryMode);
    return;
  }
  SetValue(root, subKey, valueName, true, REG_BINARY, data.data(), data.size());
}

void DeleteRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName) {
  ScopedKey key;
  std::wstring path;
  if (!OpenExisting(root, subKey, nullptr, KEY_ALL_ACCESS, &key, &path)) return;
  if (RegDeleteValueW(key.get(), valueName.c_str()) != ERROR_SUCCESS) SetError(kRegErrorDeleteValue);
}

void DeleteRegistryKey(HKEY root, const std::wstring& subKey) { DeleteRegistryKeyIfEmpty(root, subKey, 0); }

void DeleteRegistryKeyIfEmpty(HKEY root, const std::wstring& subKey, int check) {
  std::wstring path;
  {
    ScopedKey key;
    if (!OpenExisting(root, subKey, nullptr, KEY_ALL_ACCESS, &key, &path)) return;
    if (check > 0) {
      DWORD subKeys = 0, values = 0;
      if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS) {
        SetError(kRegErrorOther);
        return;
      }
      if (subKeys != 0 || values != 0) {
        SetError(kRegErrorKeyNotEmpty);
        return;
      }
    }
  }
  if (RegDeleteKeyW(root, path.c_str()) != ERROR_SUCCESS) SetError(kRegErrorDeleteKey);
}

std::wstring GetCommonProgramsFolder() { return SpecialFolder(CSIDL_COMMON_PROGRAMS, kRegErrorProgramsFolder); }

std::wstring GetUserProgramsFolder() { return SpecialFolder(CSIDL_PROGRAMS, kRegErrorProgramsFolder); }

std::wstring GetCommonDesktopFolder() { return SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY, kRegErrorDesktopFolder); }

std::wstring GetUserDesktopFolder() { return SpecialFolder(CSIDL_DESKTOP, kRegErrorDesktopFolder); }
