// Move-only owners of Win32 resources, all made from one template. Copying
// is off: two owners of one handle is the classic double close.
//
// An owner keeps a Policy::Value (a handle, or a handle with what it needs
// to be given back, such as the window a DC came from) and asks the policy
// what counts as none, what get() shows and how the value is given back.
// A policy may also count its live owners (the GDI ones do, for tests).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace win32 {

template <typename Policy>
class Owner {
 public:
  using Value = typename Policy::Value;

  Owner() = default;
  // Takes over `value`; none is fine and is not counted.
  explicit Owner(Value value) : value_(value) { Adopted(); }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : value_(std::exchange(other.value_, Policy::None())) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, Policy::None());
    }
    return *this;
  }
  ~Owner() { reset(); }

  auto get() const { return Policy::Get(value_); }
  explicit operator bool() const { return Policy::Valid(value_); }
  void reset() {
    if (Policy::Valid(value_)) Policy::Close(value_);
    value_ = Policy::None();
  }
  void reset(Value value) {
    reset();
    value_ = value;
    Adopted();
  }
  // Gives the value up without closing it.
  Value release() {
    if (Policy::Valid(value_)) Policy::Released(value_);
    return std::exchange(value_, Policy::None());
  }

 private:
  void Adopted() {
    if (Policy::Valid(value_)) Policy::Opened(value_);
  }
  Value value_ = Policy::None();
};

// The common case: the value is the handle, `Close` gives it back and
// `InvalidValue` is none (null unless told otherwise).
template <typename T>
struct NullInvalid {
  static T Get() { return T{}; }
};
struct InvalidHandleValue {
  static HANDLE Get() { return INVALID_HANDLE_VALUE; }
};

template <typename T, auto CloseFn, typename InvalidValue = NullInvalid<T>>
struct HandlePolicy {
  using Value = T;
  static T None() { return InvalidValue::Get(); }
  static bool Valid(T value) { return value != None(); }
  static T Get(T value) { return value; }
  static void Close(T value) { CloseFn(value); }
  static void Opened(T) {}
  static void Released(T) {}
};

template <typename T, auto Close, typename InvalidValue = NullInvalid<T>>
using UniqueResource = Owner<HandlePolicy<T, Close, InvalidValue>>;

inline void CloseHandleQuietly(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }
inline void DestroyIconQuietly(HICON icon) { ::DestroyIcon(icon); }
inline void DestroyImageList(HIMAGELIST list) { ::ImageList_Destroy(list); }
inline void DestroyMenuQuietly(HMENU menu) { ::DestroyMenu(menu); }
inline void FreeLibraryQuietly(HMODULE module) { ::FreeLibrary(module); }
inline void FreeLocalQuietly(HLOCAL memory) { ::LocalFree(memory); }

// Process, thread and event handles (null when invalid).
using UniqueHandle = UniqueResource<HANDLE, CloseHandleQuietly>;
// File handles from CreateFile, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<HANDLE, CloseHandleQuietly, InvalidHandleValue>;
using UniqueRegKey = UniqueResource<HKEY, CloseRegKey>;
// An icon the program created or loaded without LR_SHARED.
using UniqueIcon = UniqueResource<HICON, DestroyIconQuietly>;
using UniqueImageList = UniqueResource<HIMAGELIST, DestroyImageList>;
// A menu not attached to a window (a pop-up menu built for one use).
using UniqueMenu = UniqueResource<HMENU, DestroyMenuQuietly>;
// A library loaded with LoadLibrary(Ex).
using UniqueModule = UniqueResource<HMODULE, FreeLibraryQuietly>;
// Memory the system allocated with LocalAlloc for the caller.
using UniqueLocal = UniqueResource<HLOCAL, FreeLocalQuietly>;

// A COM interface pointer: one reference, released when the owner goes.
template <typename I>
struct ComPolicy {
  using Value = I*;
  static I* None() { return nullptr; }
  static bool Valid(I* value) { return value != nullptr; }
  static I* Get(I* value) { return value; }
  static void Close(I* value) { value->Release(); }
  static void Opened(I*) {}
  static void Released(I*) {}
};

template <typename I>
class ComPtr : public Owner<ComPolicy<I>> {
 public:
  using Owner<ComPolicy<I>>::Owner;
  I* operator->() const { return this->get(); }
};

}  // namespace win32
