// Registry and shell-folder operations for the setup runtime and the uninstaller.
//
// Failures are not answered by the results: every operation first clears a last-error
// text kept for the whole process and sets it when a step fails. A caller that needs to
// know takes the text afterwards (TakeRegistryError); an empty text means success. The
// text is guarded by a lock, so the GUI thread and the install thread may both call in;
// it is still one text, so an operation and the take that follows it belong on one
// thread at a time.
//
// Root keys are the system's predefined HKEY values (pointer-sized and sign-extended on
// 64-bit Windows). Only the seven predefined keys are accepted; the setup's files name
// them as texts, turned into keys by RootKeyFromName and back by RootKeyName.
//
// Sub keys lose one leading backslash before use and must not be empty after that, so no
// operation ever acts on a root key itself. Reads open keys with KEY_READ, writes and
// deletions with KEY_ALL_ACCESS.
#ifndef ZK_COMMON_REGISTRY_HELPER_H
#define ZK_COMMON_REGISTRY_HELPER_H

#include <windows.h>

#include <string>
#include <vector>

// The last-error texts.
extern const wchar_t kRegErrorRootEmpty[];  // root is not a predefined key
extern const wchar_t kRegErrorSubKeyEmpty[];
extern const wchar_t kRegErrorValueNameEmpty[];
extern const wchar_t kRegErrorSubKeyMissing[];   // key to act in does not exist
extern const wchar_t kRegErrorSubKeyNotFound[];  // RegistryKeyExists only
extern const wchar_t kRegErrorReading[];
extern const wchar_t kRegErrorNoMemory[];
extern const wchar_t kRegErrorWrite[];
extern const wchar_t kRegErrorCreate[];
extern const wchar_t kRegErrorBinaryEmpty[];
extern const wchar_t kRegErrorBinaryNoSpace[];
extern const wchar_t kRegErrorBinaryNotHex[];
extern const wchar_t kRegErrorBinaryMode[];
extern const wchar_t kRegErrorDeleteValue[];
extern const wchar_t kRegErrorDeleteKey[];
extern const wchar_t kRegErrorKeyNotEmpty[];
extern const wchar_t kRegErrorOther[];
extern const wchar_t kRegErrorProgramsFolder[];
extern const wchar_t kRegErrorDesktopFolder[];

// The value of a product's Add/Remove key that holds the SHA-256 of its uninstall log, as
// 64 lowercase hex digits: the setup writes it, the uninstaller checks the log against it.
extern const wchar_t kUninstallLogDigestValue[];

// Modes of WriteRegistryBinary.
constexpr int kRegBinaryBlock = 0;  // the bytes of a memory block
constexpr int kRegBinaryText = 1;   // text of hexadecimal byte pairs, e.g. "0A 1B FF"

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
// "HKEY_CURRENT_CONFIG" (exact spelling). nullptr for any other name.
HKEY RootKeyFromName(const std::wstring& name);
// The name of one of those five keys; an empty text for any other value.
std::wstring RootKeyName(HKEY root);

// Start hook of the programs that link this in: clears the last-error text.
void InitRegistryHelper();
// The last-error text; the stored text is cleared.
std::wstring TakeRegistryError();

// 1 when the key can be opened for reading, else 0.
int RegistryKeyExists(HKEY root, const std::wstring& subKey);
// REG_SZ and REG_EXPAND_SZ: the stored text, not expanded; REG_MULTI_SZ: every string
// followed by CR LF; REG_DWORD: the unsigned number in decimal; REG_BINARY: each byte as
// two upper-case hexadecimal digits and a blank. Empty (and an error) for other types.
std::wstring ReadRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
// "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD", "REG_MULTI_SZ"; empty for others.
std::wstring ReadRegistryValueType(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
// Creates the key with every missing level; an existing key is left as it is.
void CreateRegistryKey(HKEY root, const std::wstring& subKey);
// The writes need an existing key. An empty value name means the key's default value
// (WriteRegistryString only; the others refuse it).
void WriteRegistryString(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                         const std::wstring& text);
void WriteRegistryExpandString(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                               const std::wstring& text);
void WriteRegistryDword(HKEY root, const std::wstring& subKey, const std::wstring& valueName, DWORD number);
// Text form, mode kRegBinaryText: "0A 1B FF" gives the bytes 0A, 1B, FF.
void WriteRegistryBinary(HKEY root, const std::wstring& subKey, const std::wstring& valueName, const std::wstring& data,
                         int mode);
// Block form, mode kRegBinaryBlock: the whole block is written.
void WriteRegistryBinary(HKEY root, const std::wstring& subKey, const std::wstring& valueName,
                         const std::vector<unsigned char>& data, int mode);
void DeleteRegistryValue(HKEY root, const std::wstring& subKey, const std::wstring& valueName);
// A key that still has sub keys is not removed.
void DeleteRegistryKey(HKEY root, const std::wstring& subKey);
// check (clamped to 0 or 1) = 1: the key is deleted only when it has neither a sub key
// nor a value; 0: as DeleteRegistryKey.
void DeleteRegistryKeyIfEmpty(HKEY root, const std::wstring& subKey, int check);

// Shell folders, each with a trailing backslash; empty (and an error) on failure.
std::wstring GetCommonProgramsFolder();
std::wstring GetUserProgramsFolder();
std::wstring GetCommonDesktopFolder();
std::wstring GetUserDesktopFolder();

#endif
