// Owners of Win32 handles, keys, modules and GDI objects: each releases what it holds
// exactly once, when it goes out of scope or is given something else, so that no early
// return can leak a handle and no handle is closed twice.
//
// Move-only. get() lends, release() gives up ownership without closing, reset() closes
// now (and may take a new value), and put() hands the address to an out-parameter after
// closing whatever was held.
#ifndef ZK_COMMON_SCOPED_H
#define ZK_COMMON_SCOPED_H

#include <windows.h>

template <typename Traits>
class Scoped {
 public:
  using Type = typename Traits::Type;

  Scoped() = default;
  explicit Scoped(Type value) : value_(value) {}
  ~Scoped() { reset(); }
  Scoped(Scoped&& other) noexcept : value_(other.release()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  Type get() const { return value_; }
  bool valid() const { return !Traits::IsEmpty(value_); }
  explicit operator bool() const { return valid(); }

  Type release() {
    Type value = value_;
    value_ = Traits::Empty();
    return value;
  }
  // True when nothing was held or releasing it succeeded: a file's close can be the
  // moment its last write fails, and callers that write need to know.
  bool reset(Type value = Traits::Empty()) {
    // Given what it already holds, an owner keeps it rather than closing it under itself.
    if (value == value_) return true;
    Type old = value_;
    value_ = value;
    return Traits::IsEmpty(old) || Traits::Close(old);
  }
  Type* put() {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Empty();
};

namespace scoped_detail {

// CreateFile answers INVALID_HANDLE_VALUE on failure, most other calls nullptr: both are
// empty, so an owner can take either answer unchecked.
struct HandleTraits {
  using Type = HANDLE;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static bool Close(Type h) { return CloseHandle(h) != 0; }
};

struct KeyTraits {
  using Type = HKEY;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type k) { return k == nullptr; }
  static bool Close(Type k) { return RegCloseKey(k) == ERROR_SUCCESS; }
};

struct FindTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static bool Close(Type h) { return FindClose(h) != 0; }
};

struct ModuleTraits {
  using Type = HMODULE;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type m) { return m == nullptr; }
  static bool Close(Type m) { return FreeLibrary(m) != 0; }
};

template <typename T>
struct GdiTraits {
  using Type = T;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type g) { return g == nullptr; }
  static bool Close(Type g) { return DeleteObject(g) != 0; }
};

struct MemoryDcTraits {
  using Type = HDC;
  static Type Empty() { return nullptr; }
  static bool IsEmpty(Type dc) { return dc == nullptr; }
  static bool Close(Type dc) { return DeleteDC(dc) != 0; }
};

}  // namespace scoped_detail

using ScopedHandle = Scoped<scoped_detail::HandleTraits>;
using ScopedKey = Scoped<scoped_detail::KeyTraits>;
using ScopedFind = Scoped<scoped_detail::FindTraits>;
using ScopedModule = Scoped<scoped_detail::ModuleTraits>;
using ScopedGdiObject = Scoped<scoped_detail::GdiTraits<HGDIOBJ>>;
using ScopedBitmap = Scoped<scoped_detail::GdiTraits<HBITMAP>>;
using ScopedBrush = Scoped<scoped_detail::GdiTraits<HBRUSH>>;
using ScopedFont = Scoped<scoped_detail::GdiTraits<HFONT>>;
using ScopedPen = Scoped<scoped_detail::GdiTraits<HPEN>>;
// A DC from CreateCompatibleDC/CreateDC, deleted with DeleteDC.
using ScopedMemoryDc = Scoped<scoped_detail::MemoryDcTraits>;

// A window's (or the screen's) DC from GetDC, handed back with ReleaseDC.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and selects the previous one back when it goes, so that the
// object can be deleted afterwards (GDI does not delete an object while it is selected).
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

#endif
