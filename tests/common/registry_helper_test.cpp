#include "common/registry_helper.h"

#include <gtest/gtest.h>
#include <stdint.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const wchar_t kTestRoot[] = L"Software\\ZendrikolbarTest";

// Each test works in its own key below HKCU\Software\ZendrikolbarTest and removes it.
class RegistryHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    base_ = std::wstring(kTestRoot) + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(++counter);
    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, base_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
    RegCloseKey(k);
    TakeRegistryError();
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, base_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kTestRoot);  // fails while other runs still use it
  }

  std::wstring Key(const std::wstring& rest) const { return base_ + L"\\" + rest; }

  // Direct system access, independent of the code under test.
  bool Exists(const std::wstring& key) const {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  }
  void MakeKey(const std::wstring& key) const {
    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
    RegCloseKey(k);
  }
  void PutRaw(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size) const {
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size));
  }
  // Type and bytes as stored; false when the value is missing.
  bool GetRaw(const std::wstring& key, const wchar_t* name, DWORD* type, std::vector<unsigned char>* bytes) const {
    // RegQueryValueExW and not RegGetValueW, which would add a missing terminating zero.
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExW(k, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS;
    bytes->assign(size, 0);
    ok = ok && RegQueryValueExW(k, name, nullptr, type, bytes->data(), &size) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
  }

  std::wstring base_;
};

std::vector<unsigned char> WideBytes(const std::wstring& s) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s.c_str());
  return std::vector<unsigned char>(p, p + (s.size() + 1) * sizeof(wchar_t));
}

TEST(RegistryRootKeys, NamesMapToThePredefinedKeysAndBack) {
  struct Case {
    const wchar_t* name;
    HKEY key;
  };
  const Case cases[] = {
      {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {L"HKEY_USERS", HKEY_USERS},
      {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.key, RootKeyFromName(c.name)) << c.name;
    EXPECT_EQ(c.name, RootKeyName(c.key));
  }
}

TEST(RegistryRootKeys, UnknownNamesAndKeysMapToNothing) {
  for (const wchar_t* name : {L"", L"hkey_current_user", L"HKCU", L"HKEY_CURRENT_USER ", L"HKEY_PERFORMANCE_DATA",
                              L"HKEY_DYN_DATA", L"\\HKEY_USERS"})
    EXPECT_EQ(nullptr, RootKeyFromName(name)) << name;
  const HKEY zeroExtended = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u));
  for (HKEY key : {HKEY(nullptr), HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA, zeroExtended}) EXPECT_EQ(L"", RootKeyName(key));
}

TEST(RegistryRootKeys, KeysArePointerSizedAndSignExtended) {
  static_assert(sizeof(HKEY) == 8, "64-bit build");
  struct Case {
    const wchar_t* name;
    uint64_t value;
  };
  const Case cases[] = {
      {L"HKEY_CLASSES_ROOT", 0xFFFFFFFF80000000ull},   {L"HKEY_CURRENT_USER", 0xFFFFFFFF80000001ull},
      {L"HKEY_LOCAL_MACHINE", 0xFFFFFFFF80000002ull},  {L"HKEY_USERS", 0xFFFFFFFF80000003ull},
      {L"HKEY_CURRENT_CONFIG", 0xFFFFFFFF80000005ull},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, reinterpret_cast<uintptr_t>(RootKeyFromName(c.name))) << c.name;
}

TEST_F(RegistryHelperTest, AcceptsTheSignExtendedRootButNotAZeroExtendedOne) {
  EXPECT_EQ(1, RegistryKeyExists(RootKeyFromName(L"HKEY_CURRENT_USER"), base_));
  EXPECT_EQ(L"", TakeRegistryError());
  const HKEY zeroExtended = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u));
  EXPECT_EQ(0, RegistryKeyExists(zeroExtended, base_));
  EXPECT_EQ(kRegErrorRootEmpty, TakeRegistryError());
}

// Every operation on a sub key and value name, for the argument checks they all share.
struct Operation {
  const char* name;
  bool nameRequired;
  std::function<void(HKEY, const std::wstring&, const std::wstring&)> run;
};

std::vector<Operation> AllOperations() {
  return {
      {"KeyExists", false, [](HKEY r, const std::wstring& k, const std::wstring&) { RegistryKeyExists(r, k); }},
      {"Read", false, [](HKEY r, const std::wstring& k, const std::wstring& v) { ReadRegistryValue(r, k, v); }},
      {"ReadType", false, [](HKEY r, const std::wstring& k, const std::wstring& v) { ReadRegistryValueType(r, k, v); }},
      {"CreateKey", false, [](HKEY r, const std::wstring& k, const std::wstring&) { CreateRegistryKey(r, k); }},
      {"WriteString", false,
       [](HKEY r, const std::wstring& k, const std::wstring& v) { WriteRegistryString(r, k, v, L"x"); }},
      {"WriteExpand", true,
       [](HKEY r, const std::wstring& k, const std::wstring& v) { WriteRegistryExpandString(r, k, v, L"x"); }},
      {"WriteDword", true,
       [](HKEY r, const std::wstring& k, const std::wstring& v) { WriteRegistryDword(r, k, v, 1); }},
      {"WriteBinaryText", true,
       [](HKEY r, const std::wstring& k, const std::wstring& v) {
         WriteRegistryBinary(r, k, v, L"01", kRegBinaryText);
       }},
      {"WriteBinaryBlock", true,
       [](HKEY r, const std::wstring& k, const std::wstring& v) {
         WriteRegistryBinary(r, k, v, std::vector<unsigned char>{1}, kRegBinaryBlock);
       }},
      {"DeleteValue", false,
       [](HKEY r, const std::wstring& k, const std::wstring& v) { DeleteRegistryValue(r, k, v); }},
      {"DeleteKey", false, [](HKEY r, const std::wstring& k, const std::wstring&) { DeleteRegistryKey(r, k); }},
      {"DeleteKeyIfEmpty", false,
       [](HKEY r, const std::wstring& k, const std::wstring&) { DeleteRegistryKeyIfEmpty(r, k, 1); }},
  };
}

TEST_F(RegistryHelperTest, EveryOperationRefusesARootThatIsNotPredefined) {
  const HKEY zeroExtended = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u));
  for (const Operation& op : AllOperations()) {
    for (HKEY root : {HKEY(nullptr), zeroExtended, HKEY(reinterpret_cast<HKEY>(1))}) {
      op.run(root, base_, L"v");
      EXPECT_EQ(kRegErrorRootEmpty, TakeRegistryError()) << op.name;
    }
  }
  EXPECT_TRUE(Exists(base_));
}

// "\" loses its backslash and is then empty: no operation may reach the root key itself.
TEST_F(RegistryHelperTest, EveryOperationRefusesAnEmptySubKey) {
  for (const Operation& op : AllOperations()) {
    for (const wchar_t* subKey : {L"", L"\\"}) {
      op.run(HKEY_CURRENT_USER, subKey, L"v");
      EXPECT_EQ(kRegErrorSubKeyEmpty, TakeRegistryError()) << op.name << " '" << subKey << "'";
    }
  }
}

TEST_F(RegistryHelperTest, OperationsThatNeedAValueNameRefuseAnEmptyOne) {
  for (const Operation& op : AllOperations()) {
    op.run(HKEY_CURRENT_USER, base_, L"");
    std::wstring error = TakeRegistryError();
    if (op.nameRequired)
      EXPECT_EQ(kRegErrorValueNameEmpty, error) << op.name;
    else
      EXPECT_NE(kRegErrorValueNameEmpty, error) << op.name;
  }
}

TEST_F(RegistryHelperTest, OperationsOnAMissingKeyReportIt) {
  const std::wstring missing = Key(L"Missing\\Deeper");
  for (const Operation& op : AllOperations()) {
    if (std::string(op.name) == "CreateKey") continue;
    op.run(HKEY_CURRENT_USER, missing, L"v");
    const wchar_t* expected = std::string(op.name) == "KeyExists" ? kRegErrorSubKeyNotFound : kRegErrorSubKeyMissing;
    EXPECT_EQ(expected, TakeRegistryError()) << op.name;
    EXPECT_FALSE(Exists(missing)) << op.name;
  }
}

TEST_F(RegistryHelperTest, KeyExistsAnswersOneOrZero) {
  EXPECT_EQ(1, RegistryKeyExists(HKEY_CURRENT_USER, base_));
  EXPECT_EQ(L"", TakeRegistryError());
  EXPECT_EQ(1, RegistryKeyExists(HKEY_CURRENT_USER, L"\\" + base_));
  EXPECT_EQ(0, RegistryKeyExists(HKEY_CURRENT_USER, Key(L"Nope")));
  EXPECT_EQ(kRegErrorSubKeyNotFound, TakeRegistryError());
}

TEST_F(RegistryHelperTest, EveryOperationClearsAnEarlierError) {
  RegistryKeyExists(nullptr, base_);
  EXPECT_EQ(1, RegistryKeyExists(HKEY_CURRENT_USER, base_));
  EXPECT_EQ(L"", TakeRegistryError());
  RegistryKeyExists(nullptr, base_);
  InitRegistryHelper();
  EXPECT_EQ(L"", TakeRegistryError());
  RegistryKeyExists(nullptr, base_);
  EXPECT_EQ(kRegErrorRootEmpty, TakeRegistryError());
  EXPECT_EQ(L"", TakeRegistryError()) << "taking clears the stored text";
}

TEST_F(RegistryHelperTest, CreatesEveryMissingLevelAndLeavesAnExistingKeyAlone) {
  CreateRegistryKey(HKEY_CURRENT_USER, Key(L"A\\B\\C"));
  EXPECT_EQ(L"", TakeRegistryError());
  EXPECT_TRUE(Exists(Key(L"A\\B\\C")));

  PutRaw(Key(L"A"), L"keep", REG_SZ, L"k", 4);
  CreateRegistryKey(HKEY_CURRENT_USER, L"\\" + Key(L"A\\"));
  EXPECT_EQ(L"", TakeRegistryError());
  EXPECT_EQ(L"k", ReadRegistryValue(HKEY_CURRENT_USER, Key(L"A"), L"keep"));
  EXPECT_TRUE(Exists(Key(L"A\\B\\C")));
}

TEST_F(RegistryHelperTest, AKeyThatCannotBeCreatedReportsIt) {
  // A key name component may hold at most 255 characters.
  CreateRegistryKey(HKEY_CURRENT_USER, Key(std::wstring(300, L'x')));
  EXPECT_EQ(kRegErrorCreate, TakeRegistryError());
}

// What each write stores, byte for byte, and what the reads give back for it.
TEST_F(RegistryHelperTest, WritesStoreTheTypesAndReadsGiveThemBack) {
  struct Case {
    const char* what;
    std::function<void(const std::wstring& key)> write;
    DWORD type;
    std::vector<unsigned char> stored;
    const wchar_t* typeText;
    const wchar_t* readBack;
  };
  const std::wstring umlauts = L"Gr\u00FC\u00DFe \u2211 C:\\Programme";
  const Case cases[] = {
      {"string", [](const std::wstring& k) { WriteRegistryString(HKEY_CURRENT_USER, k, L"v", L"hello"); }, REG_SZ,
       WideBytes(L"hello"), L"REG_SZ", L"hello"},
      {"unicode string", [&](const std::wstring& k) { WriteRegistryString(HKEY_CURRENT_USER, k, L"v", umlauts); },
       REG_SZ, WideBytes(umlauts), L"REG_SZ", umlauts.c_str()},
      {"empty string", [](const std::wstring& k) { WriteRegistryString(HKEY_CURRENT_USER, k, L"v", L""); }, REG_SZ,
       WideBytes(L""), L"REG_SZ", L""},
      {"expand string, not expanded",
       [](const std::wstring& k) { WriteRegistryExpandString(HKEY_CURRENT_USER, k, L"v", L"%SystemRoot%\\x"); },
       REG_EXPAND_SZ, WideBytes(L"%SystemRoot%\\x"), L"REG_EXPAND_SZ", L"%SystemRoot%\\x"},
      {"dword",
       [](const std::wstring& k) { WriteRegistryDword(HKEY_CURRENT_USER, k, L"v", 0x01020304); },
       REG_DWORD,
       {4, 3, 2, 1},
       L"REG_DWORD",
       L"16909060"},
      {"largest dword",
       [](const std::wstring& k) { WriteRegistryDword(HKEY_CURRENT_USER, k, L"v", 0xFFFFFFFF); },
       REG_DWORD,
       {0xFF, 0xFF, 0xFF, 0xFF},
       L"REG_DWORD",
       L"4294967295"},
      {"binary text",
       [](const std::wstring& k) { WriteRegistryBinary(HKEY_CURRENT_USER, k, L"v", L"0A 1B FF", kRegBinaryText); },
       REG_BINARY,
       {0x0A, 0x1B, 0xFF},
       L"REG_BINARY",
       L"0A 1B FF "},
      {"binary text, lower case, blanks around",
       [](const std::wstring& k) { WriteRegistryBinary(HKEY_CURRENT_USER, k, L"v", L"  0a c3  ", kRegBinaryText); },
       REG_BINARY,
       {0x0A, 0xC3},
       L"REG_BINARY",
       L"0A C3 "},
      {"binary block",
       [](const std::wstring& k) {
         WriteRegistryBinary(HKEY_CURRENT_USER, k, L"v", std::vector<unsigned char>{0, 0x7F, 0x80}, kRegBinaryBlock);
       },
       REG_BINARY,
       {0, 0x7F, 0x80},
       L"REG_BINARY",
       L"00 7F 80 "},
      {"empty binary block",
       [](const std::wstring& k) {
         WriteRegistryBinary(HKEY_CURRENT_USER, k, L"v", std::vector<unsigned char>{}, kRegBinaryBlock);
       },
       REG_BINARY,
       {},
       L"REG_BINARY",
       L""},
  };
  int n = 0;
  for (const Case& c : cases) {
    // Both spellings of the sub key callers use: with a leading and with a trailing backslash.
    const std::wstring key = Key(L"W" + std::to_wstring(n++));
    MakeKey(key);
    c.write(n % 2 ? L"\\" + key : key + L"\\");
    EXPECT_EQ(L"", TakeRegistryError()) << c.what;
    DWORD type = 0;
    std::vector<unsigned char> stored;
    ASSERT_TRUE(GetRaw(key, L"v", &type, &stored)) << c.what;
    EXPECT_EQ(c.type, type) << c.what;
    EXPECT_EQ(c.stored, stored) << c.what;
    EXPECT_EQ(c.typeText, ReadRegistryValueType(HKEY_CURRENT_USER, key, L"v")) << c.what;
    EXPECT_EQ(L"", TakeRegistryError()) << c.what;
    EXPECT_EQ(c.readBack, ReadRegistryValue(HKEY_CURRENT_USER, key, L"v")) << c.what;
    EXPECT_EQ(L"", TakeRegistryError()) << c.what;
  }
}

TEST_F(RegistryHelperTest, AWriteReplacesTheValueAndItsType) {
  WriteRegistryDword(HKEY_CURRENT_USER, base_, L"v", 7);
  WriteRegistryString(HKEY_CURRENT_USER, base_, L"v", L"seven");
  EXPECT_EQ(L"REG_SZ", ReadRegistryValueType(HKEY_CURRENT_USER, base_, L"v"));
  EXPECT_EQ(L"seven", ReadRegistryValue(HKEY_CURRENT_USER, base_, L"v"));
}

TEST_F(RegistryHelperTest, AStringWithAnEmptyNameSetsTheDefaultValue) {
  WriteRegistryString(HKEY_CURRENT_USER, base_, L"", L"default text");
  EXPECT_EQ(L"", TakeRegistryError());
  DWORD type = 0;
  std::vector<unsigned char> stored;
  ASSERT_TRUE(GetRaw(base_, nullptr, &type, &stored));
  EXPECT_EQ(DWORD(REG_SZ), type);
  EXPECT_EQ(WideBytes(L"default text"), stored);
  EXPECT_EQ(L"default text", ReadRegistryValue(HKEY_CURRENT_USER, base_, L""));
}

// Values other programs wrote, in forms this library never writes itself.
TEST_F(RegistryHelperTest, ReadsValuesWrittenByOthers) {
  struct Case {
    const char* what;
    DWORD type;
    std::vector<unsigned char> bytes;
    const wchar_t* typeText;
    const wchar_t* readBack;
    const wchar_t* error;
  };
  auto wide = [](const std::wstring& s, size_t chars) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    return std::vector<unsigned char>(p, p + chars * sizeof(wchar_t));
  };
  const Case cases[] = {
      {"multi string", REG_MULTI_SZ, wide(std::wstring(L"one\0two words\0\0", 16), 16), L"REG_MULTI_SZ",
       L"one\r\ntwo words\r\n", L""},
      {"empty multi string", REG_MULTI_SZ, wide(std::wstring(L"\0", 1), 1), L"REG_MULTI_SZ", L"", L""},
      {"multi string without its last zeros", REG_MULTI_SZ, wide(L"ab", 2), L"REG_MULTI_SZ", L"ab\r\n", L""},
      {"string without terminating zero", REG_SZ, wide(L"abc", 3), L"REG_SZ", L"abc", L""},
      {"string with an odd byte count", REG_SZ, {'a', 0, 'b', 0, 'c'}, L"REG_SZ", L"ab", L""},
      {"string ends at its first zero", REG_SZ, wide(std::wstring(L"ab\0cd", 6), 6), L"REG_SZ", L"ab", L""},
      {"expand string", REG_EXPAND_SZ, wide(L"%TEMP%", 7), L"REG_EXPAND_SZ", L"%TEMP%", L""},
      {"short dword", REG_DWORD, {1, 2}, L"REG_DWORD", L"", kRegErrorReading},
      {"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, L"", L"", kRegErrorReading},
      {"none", REG_NONE, {1}, L"", L"", kRegErrorReading},
      {"empty binary", REG_BINARY, {}, L"REG_BINARY", L"", L""},
  };
  for (const Case& c : cases) {
    PutRaw(base_, L"v", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
    EXPECT_EQ(c.typeText, ReadRegistryValueType(HKEY_CURRENT_USER, base_, L"v")) << c.what;
    EXPECT_EQ(L"", TakeRegistryError()) << c.what;
    EXPECT_EQ(c.readBack, ReadRegistryValue(HKEY_CURRENT_USER, base_, L"v")) << c.what;
    EXPECT_EQ(c.error, TakeRegistryError()) << c.what;
  }
}

TEST_F(RegistryHelperTest, AMissingValueReadsAsEmptyWithAnError) {
  EXPECT_EQ(L"", ReadRegistryValue(HKEY_CURRENT_USER, base_, L"absent"));
  EXPECT_EQ(kRegErrorReading, TakeRegistryError());
  EXPECT_EQ(L"", ReadRegistryValueType(HKEY_CURRENT_USER, base_, L"absent"));
  EXPECT_EQ(kRegErrorReading, TakeRegistryError());
}

TEST_F(RegistryHelperTest, BadBinaryArgumentsWriteNothing) {
  struct Case {
    const wchar_t* text;
    int mode;
    const wchar_t* error;
  };
  const Case cases[] = {
      {L"0A1B", kRegBinaryText, kRegErrorBinaryNoSpace},
      {L"0A,1B", kRegBinaryText, kRegErrorBinaryNoSpace},
      {L"0A  1B", kRegBinaryText, kRegErrorBinaryNoSpace},
      {L"", kRegBinaryText, kRegErrorBinaryEmpty},
      {L"    ", kRegBinaryText, kRegErrorBinaryEmpty},
      {L"0G 1B", kRegBinaryText, kRegErrorBinaryNotHex},
      {L"0A x1", kRegBinaryText, kRegErrorBinaryNotHex},
      {L"0A 1B F", kRegBinaryText, kRegErrorBinaryNotHex},  // last byte would be lost
      {L"0A 1B F7F", kRegBinaryText, kRegErrorBinaryNoSpace},
      {L"0A", kRegBinaryBlock, kRegErrorBinaryMode},
      {L"0A", 2, kRegErrorBinaryMode},
      {L"0A", -1, kRegErrorBinaryMode},
  };
  for (const Case& c : cases) {
    WriteRegistryBinary(HKEY_CURRENT_USER, base_, L"v", c.text, c.mode);
    EXPECT_EQ(c.error, TakeRegistryError()) << "'" << c.text << "' mode " << c.mode;
    DWORD type;
    std::vector<unsigned char> bytes;
    EXPECT_FALSE(GetRaw(base_, L"v", &type, &bytes)) << "'" << c.text << "'";
  }
  for (int mode : {kRegBinaryText, 2}) {
    WriteRegistryBinary(HKEY_CURRENT_USER, base_, L"v", std::vector<unsigned char>{1}, mode);
    EXPECT_EQ(kRegErrorBinaryMode, TakeRegistryError()) << mode;
  }
}

TEST_F(RegistryHelperTest, AValueThatCannotBeSetReportsIt) {
  // A value name may hold at most 16383 characters.
  const std::wstring tooLong(20000, L'v');
  WriteRegistryString(HKEY_CURRENT_USER, base_, tooLong, L"x");
  EXPECT_EQ(kRegErrorWrite, TakeRegistryError());
  WriteRegistryDword(HKEY_CURRENT_USER, base_, tooLong, 1);
  EXPECT_EQ(kRegErrorWrite, TakeRegistryError());
  WriteRegistryBinary(HKEY_CURRENT_USER, base_, tooLong, L"01", kRegBinaryText);
  EXPECT_EQ(kRegErrorWrite, TakeRegistryError());
}

TEST_F(RegistryHelperTest, DeletesAValueAndReportsAMissingOne) {
  PutRaw(base_, L"v", REG_SZ, L"x", 4);
  PutRaw(base_, L"other", REG_SZ, L"y", 4);
  DeleteRegistryValue(HKEY_CURRENT_USER, base_, L"v");
  EXPECT_EQ(L"", TakeRegistryError());
  DWORD type;
  std::vector<unsigned char> bytes;
  EXPECT_FALSE(GetRaw(base_, L"v", &type, &bytes));
  EXPECT_TRUE(GetRaw(base_, L"other", &type, &bytes));
  DeleteRegistryValue(HKEY_CURRENT_USER, base_, L"v");
  EXPECT_EQ(kRegErrorDeleteValue, TakeRegistryError());
}

TEST_F(RegistryHelperTest, DeleteKeyRemovesAKeyWithValuesButNotOneWithSubKeys) {
  MakeKey(Key(L"Parent\\Child"));
  PutRaw(Key(L"Parent\\Child"), L"v", REG_SZ, L"x", 4);
  DeleteRegistryKey(HKEY_CURRENT_USER, Key(L"Parent"));
  EXPECT_EQ(kRegErrorDeleteKey, TakeRegistryError());
  EXPECT_TRUE(Exists(Key(L"Parent\\Child")));

  DeleteRegistryKey(HKEY_CURRENT_USER, L"\\" + Key(L"Parent\\Child"));
  EXPECT_EQ(L"", TakeRegistryError());
  EXPECT_FALSE(Exists(Key(L"Parent\\Child")));
  DeleteRegistryKey(HKEY_CURRENT_USER, Key(L"Parent\\"));
  EXPECT_EQ(L"", TakeRegistryError());
  EXPECT_FALSE(Exists(Key(L"Parent")));
}

TEST_F(RegistryHelperTest, DeleteIfEmptyKeepsAKeyWithContent) {
  enum Content { kNothing, kValue, kDefaultValue, kSubKey };
  struct Case {
    const char* what;
    Content content;
    int check;
    bool deleted;
    const wchar_t* error;
  };
  const Case cases[] = {
      {"empty key", kNothing, 1, true, L""},
      {"one value", kValue, 1, false, kRegErrorKeyNotEmpty},
      {"default value only", kDefaultValue, 1, false, kRegErrorKeyNotEmpty},
      {"sub key", kSubKey, 1, false, kRegErrorKeyNotEmpty},
      {"check above 1 counts as 1", kValue, 5, false, kRegErrorKeyNotEmpty},
      {"no check", kValue, 0, true, L""},
      {"check below 0 counts as 0", kValue, -3, true, L""},
      {"no check, sub key still refused", kSubKey, 0, false, kRegErrorDeleteKey},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::wstring key = Key(L"E" + std::to_wstring(n++));
    MakeKey(key);
    if (c.content == kValue) PutRaw(key, L"v", REG_DWORD, "\1\0\0\0", 4);
    if (c.content == kDefaultValue) PutRaw(key, nullptr, REG_SZ, L"d", 4);
    if (c.content == kSubKey) MakeKey(key + L"\\Sub");
    DeleteRegistryKeyIfEmpty(HKEY_CURRENT_USER, key, c.check);
    EXPECT_EQ(c.error, TakeRegistryError()) << c.what;
    EXPECT_EQ(c.deleted, !Exists(key)) << c.what;
  }
}

TEST(RegistryFolders, AnswerExistingFoldersWithATrailingBackslash) {
  struct Case {
    const char* what;
    std::wstring (*get)();
  };
  const Case cases[] = {
      {"common programs", GetCommonProgramsFolder},
      {"user programs", GetUserProgramsFolder},
      {"common desktop", GetCommonDesktopFolder},
      {"user desktop", GetUserDesktopFolder},
  };
  for (const Case& c : cases) {
    RegistryKeyExists(nullptr, L"x");  // an earlier error must not survive
    const std::wstring folder = c.get();
    EXPECT_EQ(L"", TakeRegistryError()) << c.what;
    ASSERT_GE(folder.size(), 4u) << c.what;
    EXPECT_EQ(L'\\', folder.back()) << c.what;
    EXPECT_NE(L'\\', folder[folder.size() - 2]) << c.what;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << c.what;
  }
  EXPECT_NE(GetUserProgramsFolder(), GetUserDesktopFolder());
}

// The install thread and the GUI thread may both call in: the shared text is always one
// whole text that some operation set, never a mix or a crash. The operations fail in their
// argument checks, so the threads spend their time on the text and not in the system.
TEST_F(RegistryHelperTest, TwoThreadsDoNotCorruptTheErrorText) {
  const std::vector<std::wstring> allowed = {L"", kRegErrorRootEmpty, kRegErrorValueNameEmpty};
  std::atomic<int> bad{0};
  std::atomic<bool> go{false};
  auto worker = [&](int which) {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < 2000000; ++i) {
      if (which == 0)
        RegistryKeyExists(nullptr, L"x");
      else
        WriteRegistryDword(HKEY_CURRENT_USER, base_, L"", 1);
      const std::wstring text = TakeRegistryError();
      bool known = false;
      for (const std::wstring& a : allowed) known = known || text == a;
      if (!known) ++bad;
    }
  };
  std::thread a(worker, 0), b(worker, 1);
  go = true;
  a.join();
  b.join();
  EXPECT_EQ(0, bad.load());
}

}  // namespace
