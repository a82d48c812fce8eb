#pragma once
// One owner type for every kind of handle the program holds: movable, not copyable,
// released exactly once. Each kind names its invalid value and how it is released.
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>
#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Type get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Type release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Type handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Type handle_ = Traits::Invalid();
};

namespace handle_traits {
template <typename T, auto CloseFunction>
struct NullIsInvalid {
  using Type = T;
  static Type Invalid() { return nullptr; }
  static void Close(Type handle) { CloseFunction(handle); }
};
struct File {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::CloseHandle(handle); }
};
struct FindFile {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { ::FindClose(handle); }
};
inline void FreeIdList(PIDLIST_ABSOLUTE list) { ::ILFree(list); }
inline void UnlockGlobal(void* pointer) { ::GlobalUnlock(::GlobalHandle(pointer)); }
}  // namespace handle_traits

using unique_hfile = UniqueHandle<handle_traits::File>;
using unique_hfind = UniqueHandle<handle_traits::FindFile>;
using unique_handle = UniqueHandle<handle_traits::NullIsInvalid<HANDLE, ::CloseHandle>>;
using unique_hinternet = UniqueHandle<handle_traits::NullIsInvalid<HINTERNET, ::InternetCloseHandle>>;
using unique_hmenu = UniqueHandle<handle_traits::NullIsInvalid<HMENU, ::DestroyMenu>>;
using unique_hfont = UniqueHandle<handle_traits::NullIsInvalid<HFONT, ::DeleteObject>>;
using unique_hglobal = UniqueHandle<handle_traits::NullIsInvalid<HGLOBAL, ::GlobalFree>>;
using unique_pidl = UniqueHandle<handle_traits::NullIsInvalid<PIDLIST_ABSOLUTE, handle_traits::FreeIdList>>;
// The pointer GlobalLock gave; unlocking needs only the pointer.
using unique_global_lock = UniqueHandle<handle_traits::NullIsInvalid<void*, handle_traits::UnlockGlobal>>;

// COM stays initialised on this thread while the object lives; every successful
// initialisation, S_FALSE included, is balanced by one uninitialisation.
class ScopedCoInitialize {
 public:
  ScopedCoInitialize() : result_(::CoInitialize(nullptr)) {}
  ~ScopedCoInitialize() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ScopedCoInitialize(const ScopedCoInitialize&) = delete;
  ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};
