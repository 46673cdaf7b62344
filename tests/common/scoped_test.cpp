#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

#include "common/scoped.h"
#include "support/file_bytes.h"

namespace {

bool HandleAlive(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}

bool KeyAlive(HKEY k) {
  DWORD subkeys = 0;
  return RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

bool FindAlive(HANDLE h) {
  WIN32_FIND_DATAW found;
  // The folder holds more than "." and "..", so a live search has a next entry.
  return FindNextFileW(h, &found) != 0 || GetLastError() == ERROR_NO_MORE_FILES;
}

bool GdiAlive(HGDIOBJ g) { return GetObjectType(g) != 0; }

// Each kind of owner: the object is released when its owner goes, a move hands it over
// without releasing it, release() gives it up untouched, and put() releases the old one
// before an out-parameter fills it.
template <typename Owner, typename Make, typename Alive>
void CheckOwner(const char* kind, Make make, Alive alive) {
  SCOPED_TRACE(kind);
  auto first = make();
  ASSERT_TRUE(alive(first));
  {
    Owner a(first);
    Owner b(std::move(a));
    EXPECT_FALSE(a.valid());
    {
      Owner c;
      c = std::move(b);
      EXPECT_FALSE(b.valid());
      EXPECT_EQ(first, c.get());
      EXPECT_TRUE(alive(first));
    }
    EXPECT_FALSE(alive(first)) << "the last owner went";
  }

  auto second = make();
  {
    Owner a(second);
    EXPECT_EQ(second, a.release());
    EXPECT_FALSE(a.valid());
  }
  EXPECT_TRUE(alive(second)) << "a released object is the caller's";

  Owner out(second);
  out.reset(second);
  EXPECT_TRUE(alive(second)) << "taking back what it holds closes nothing";
  auto fresh = make();
  *out.put() = fresh;
  EXPECT_FALSE(alive(second)) << "put() released the old object";
  auto third = out.get();
  EXPECT_TRUE(out.reset());
  EXPECT_FALSE(alive(third));
  EXPECT_TRUE(out.reset()) << "resetting an empty owner releases nothing";
}

TEST(Scoped, EachKindReleasesOnceAndOnMove) {
  CheckOwner<ScopedHandle>(
      "handle", [] { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }, HandleAlive);

  HKEY parent = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ZkScopedTest", 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &parent, nullptr));
  HKEY child = nullptr;
  RegCreateKeyExW(parent, L"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
  RegCloseKey(child);
  CheckOwner<ScopedKey>(
      "key",
      [&] {
        HKEY k = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ZkScopedTest", 0, KEY_READ, &k);
        return k;
      },
      KeyAlive);
  RegCloseKey(parent);
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\ZkScopedTest\\Child");
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\ZkScopedTest");

  std::wstring dir = FullFolder(L"zk_scoped_test");
  CreateDirectoryW(dir.c_str(), nullptr);
  for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) PutBytes(dir + name, "x");
  CheckOwner<ScopedFind>(
      "find",
      [&] {
        WIN32_FIND_DATAW found;
        return FindFirstFileW((dir + L"*").c_str(), &found);
      },
      FindAlive);
  for (const wchar_t* name : {L"a", L"b", L"c", L"d"}) DeleteFileW((dir + name).c_str());
  RemoveDirectoryW(dir.c_str());

  CheckOwner<ScopedGdiObject>(
      "gdi", [] { return static_cast<HGDIOBJ>(CreateSolidBrush(RGB(1, 2, 3))); }, GdiAlive);
  CheckOwner<ScopedMemoryDc>(
      "memory dc", [] { return CreateCompatibleDC(nullptr); }, GdiAlive);
}

TEST(Scoped, FailedOpeningsAreEmpty) {
  ScopedHandle file(CreateFileW(L"zk_scoped_missing\\none", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(file.valid());
  EXPECT_FALSE(ScopedHandle(nullptr).valid());
  WIN32_FIND_DATAW found;
  ScopedFind find(FindFirstFileW(L"zk_scoped_missing\\*", &found));
  EXPECT_FALSE(find.valid());
  EXPECT_TRUE(find.reset());
}

TEST(Scoped, ModuleIsUnloadedWhenItsOwnerGoes) {
  const wchar_t* name = L"msimg32.dll";
  if (GetModuleHandleW(name)) GTEST_SKIP() << "already loaded by the process";
  {
    ScopedModule module(LoadLibraryW(name));
    ASSERT_TRUE(module.valid());
    EXPECT_EQ(module.get(), GetModuleHandleW(name));
  }
  EXPECT_EQ(nullptr, GetModuleHandleW(name));
}

TEST(Scoped, SelectedObjectIsSelectedBackAndCanBeDeleted) {
  ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc.valid());
  HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_BITMAP);
  ScopedBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
  ASSERT_TRUE(bitmap.valid());
  {
    ScopedSelect select(dc.get(), bitmap.get());
    EXPECT_EQ(static_cast<HGDIOBJ>(bitmap.get()), GetCurrentObject(dc.get(), OBJ_BITMAP));
  }
  EXPECT_EQ(before, GetCurrentObject(dc.get(), OBJ_BITMAP));
  HBITMAP raw = bitmap.get();
  EXPECT_TRUE(bitmap.reset()) << "a bitmap still selected could not be deleted";
  EXPECT_FALSE(GdiAlive(raw));
}

}  // namespace
