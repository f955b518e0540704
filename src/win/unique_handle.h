#pragma once
// Move-only owners for Win32 handles. Each owner type is named after what it
// holds and releases it with the one function that matches; nothing in the
// program calls a release function by hand.
#include <windows.h>

#include <utility>

namespace win {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  [[nodiscard]] Type get() const noexcept { return handle_; }
  [[nodiscard]] bool valid() const noexcept { return handle_ != Traits::Null(); }
  explicit operator bool() const noexcept { return valid(); }

  // For out-parameters of creation calls: releases what is held first.
  [[nodiscard]] Type* put() noexcept {
    reset();
    return &handle_;
  }

  Type release() noexcept { return std::exchange(handle_, Traits::Null()); }

  void reset(Type handle = Traits::Null()) noexcept {
    Type old = std::exchange(handle_, handle);
    if (old != Traits::Null()) Traits::Release(old);
  }

 private:
  Type handle_ = Traits::Null();
};

namespace traits {
template <typename T, auto ReleaseFn>
struct NullIsZero {
  using Type = T;
  static constexpr Type Null() noexcept { return nullptr; }
  static void Release(Type h) noexcept { ReleaseFn(h); }
};
struct FindHandle {
  using Type = HANDLE;
  static Type Null() noexcept { return INVALID_HANDLE_VALUE; }
  static void Release(Type h) noexcept { ::FindClose(h); }
};
struct FileHandle {
  using Type = HANDLE;
  static Type Null() noexcept { return INVALID_HANDLE_VALUE; }
  static void Release(Type h) noexcept { ::CloseHandle(h); }
};
inline void DeleteGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
}  // namespace traits

using UniqueHkey = UniqueHandle<traits::NullIsZero<HKEY, &::RegCloseKey>>;
using UniqueFind = UniqueHandle<traits::FindHandle>;
using UniqueFile = UniqueHandle<traits::FileHandle>;
using UniqueKernelHandle = UniqueHandle<traits::NullIsZero<HANDLE, &::CloseHandle>>;
using UniqueModule = UniqueHandle<traits::NullIsZero<HMODULE, &::FreeLibrary>>;
using UniqueGlobal = UniqueHandle<traits::NullIsZero<HGLOBAL, &::GlobalFree>>;
using UniqueMenu = UniqueHandle<traits::NullIsZero<HMENU, &::DestroyMenu>>;
using UniqueFont = UniqueHandle<traits::NullIsZero<HFONT, &traits::DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<traits::NullIsZero<HBRUSH, &traits::DeleteGdiObject>>;
using UniquePen = UniqueHandle<traits::NullIsZero<HPEN, &traits::DeleteGdiObject>>;
using UniqueBitmap = UniqueHandle<traits::NullIsZero<HBITMAP, &traits::DeleteGdiObject>>;
using UniqueIcon = UniqueHandle<traits::NullIsZero<HICON, &::DestroyIcon>>;
using UniqueMemoryDc = UniqueHandle<traits::NullIsZero<HDC, &::DeleteDC>>;
using UniqueWindow = UniqueHandle<traits::NullIsZero<HWND, &::DestroyWindow>>;

}  // namespace win
