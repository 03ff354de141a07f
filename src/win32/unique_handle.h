// Move-only owners of Win32 handles. Copying is off: two owners of one
// handle is the classic double close.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace win32 {

// The value a resource type uses for "none": null, unless told otherwise.
template <typename T>
struct NullInvalid {
  static T Get() { return T{}; }
};
struct InvalidHandleValue {
  static HANDLE Get() { return INVALID_HANDLE_VALUE; }
};

template <typename T, auto Close, typename InvalidTraits = NullInvalid<T>>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, Invalid())) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Invalid()));
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid(); }
  T release() { return std::exchange(value_, Invalid()); }
  void reset(T value = Invalid()) {
    if (value_ != Invalid()) Close(value_);
    value_ = value;
  }

 private:
  static T Invalid() { return InvalidTraits::Get(); }
  T value_ = Invalid();
};

inline void CloseHandleQuietly(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }
inline void DestroyIconQuietly(HICON icon) { ::DestroyIcon(icon); }
inline void DestroyImageList(HIMAGELIST list) { ::ImageList_Destroy(list); }

// Process, thread and event handles (null when invalid).
using UniqueHandle = UniqueResource<HANDLE, CloseHandleQuietly>;
// File handles from CreateFile, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<HANDLE, CloseHandleQuietly, InvalidHandleValue>;
using UniqueRegKey = UniqueResource<HKEY, CloseRegKey>;
// An icon the program created or loaded without LR_SHARED.
using UniqueIcon = UniqueResource<HICON, DestroyIconQuietly>;
using UniqueImageList = UniqueResource<HIMAGELIST, DestroyImageList>;

}  // namespace win32
