// Move-only owners of Win32 handles. Copying is off: two owners of one
// handle is the classic double close.
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

template <typename T, auto Close, T Invalid = T{}>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, Invalid)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, Invalid));
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid; }
  T release() { return std::exchange(value_, Invalid); }
  void reset(T value = Invalid) {
    if (value_ != Invalid) Close(value_);
    value_ = value;
  }

 private:
  T value_ = Invalid;
};

inline void CloseHandleQuietly(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }

// Process, thread and event handles (null when invalid).
using UniqueHandle = UniqueResource<HANDLE, CloseHandleQuietly>;
using UniqueRegKey = UniqueResource<HKEY, CloseRegKey>;

}  // namespace win32
