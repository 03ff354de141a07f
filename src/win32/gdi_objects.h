// Move-only owners of GDI objects, device contexts and selections. Each one
// also counts itself while alive, so a test can repaint ten thousand times
// and check that nothing was left behind (Wine's GetGuiResources is a stub
// that always answers 0). The count is one atomic add per create or delete,
// cheap enough to stay on in every build, so tests run the shipped code.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace win32 {

enum class GdiKind { kObject, kDc, kSelection };

namespace gdi_detail {
inline std::atomic<long> live[3];
inline void Count(GdiKind kind, long delta) {
  live[static_cast<int>(kind)].fetch_add(delta, std::memory_order_relaxed);
}
}  // namespace gdi_detail

// Owners of `kind` alive right now, and of all kinds together.
inline long LiveGdi(GdiKind kind) { return gdi_detail::live[static_cast<int>(kind)].load(); }
inline long LiveGdiTotal() {
  return LiveGdi(GdiKind::kObject) + LiveGdi(GdiKind::kDc) + LiveGdi(GdiKind::kSelection);
}

// A pen, brush, font, bitmap or region, deleted with DeleteObject. It must
// not be selected into a DC when it goes: declare the selection after it.
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H handle) : handle_(handle) {
    if (handle_ != nullptr) gdi_detail::Count(GdiKind::kObject, +1);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~GdiObject() { reset(); }

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_ != nullptr) {
      ::DeleteObject(handle_);
      gdi_detail::Count(GdiKind::kObject, -1);
      handle_ = nullptr;
    }
  }

 private:
  H handle_ = nullptr;
};

using UniquePen = GdiObject<HPEN>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueFont = GdiObject<HFONT>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueRegion = GdiObject<HRGN>;

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class UniqueMemoryDc {
 public:
  UniqueMemoryDc() = default;
  // Compatible with `reference`; null means the screen.
  static UniqueMemoryDc CompatibleWith(HDC reference) {
    return UniqueMemoryDc(::CreateCompatibleDC(reference));
  }
  UniqueMemoryDc(const UniqueMemoryDc&) = delete;
  UniqueMemoryDc& operator=(const UniqueMemoryDc&) = delete;
  UniqueMemoryDc(UniqueMemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  UniqueMemoryDc& operator=(UniqueMemoryDc&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~UniqueMemoryDc() { reset(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_ != nullptr) {
      ::DeleteDC(dc_);
      gdi_detail::Count(GdiKind::kDc, -1);
      dc_ = nullptr;
    }
  }

 private:
  explicit UniqueMemoryDc(HDC dc) : dc_(dc) {
    if (dc_ != nullptr) gdi_detail::Count(GdiKind::kDc, +1);
  }
  HDC dc_ = nullptr;
};

// A window's DC from GetDC, given back with ReleaseDC.
class UniqueWindowDc {
 public:
  UniqueWindowDc() = default;
  explicit UniqueWindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {
    if (dc_ != nullptr) gdi_detail::Count(GdiKind::kDc, +1);
  }
  UniqueWindowDc(const UniqueWindowDc&) = delete;
  UniqueWindowDc& operator=(const UniqueWindowDc&) = delete;
  UniqueWindowDc(UniqueWindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  UniqueWindowDc& operator=(UniqueWindowDc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~UniqueWindowDc() { reset(); }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_ != nullptr) {
      ::ReleaseDC(window_, dc_);
      gdi_detail::Count(GdiKind::kDc, -1);
      dc_ = nullptr;
    }
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// An object selected into a DC; the previous object goes back in when the
// selection ends.
class ScopedSelection {
 public:
  ScopedSelection() = default;
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {
    if (previous_ == nullptr || previous_ == HGDI_ERROR) {
      dc_ = nullptr;
      previous_ = nullptr;
    } else {
      gdi_detail::Count(GdiKind::kSelection, +1);
    }
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ScopedSelection(ScopedSelection&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  ScopedSelection& operator=(ScopedSelection&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  ~ScopedSelection() { reset(); }

  explicit operator bool() const { return dc_ != nullptr; }
  // Puts another object in the same place; the first previous object is
  // still the one restored at the end. One call instead of restore + select.
  void Replace(HGDIOBJ object) {
    if (dc_ != nullptr) ::SelectObject(dc_, object);
  }
  void reset() {
    if (dc_ != nullptr) {
      ::SelectObject(dc_, previous_);
      gdi_detail::Count(GdiKind::kSelection, -1);
      dc_ = nullptr;
      previous_ = nullptr;
    }
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace win32
