// Owners of GDI objects, device contexts and selections, made from the one
// owner template. Each also counts itself while alive, so a test can
// repaint ten thousand times and check that nothing was left behind (Wine's
// GetGuiResources is a stub that always answers 0). The count is one atomic
// add per create or delete, cheap enough to stay on in every build, so
// tests run the shipped code.
#pragma once

#include <windows.h>

#include <atomic>

#include "win32/unique_handle.h"

namespace win32 {

enum class GdiKind { kObject, kDc, kSelection };

namespace gdi_detail {
inline std::atomic<long> live[3];
inline void Count(GdiKind kind, long delta) {
  live[static_cast<int>(kind)].fetch_add(delta, std::memory_order_relaxed);
}

// A policy whose live owners are counted under `kind`.
template <GdiKind kind, typename Base>
struct Counted : Base {
  using typename Base::Value;
  static void Opened(const Value&) { Count(kind, +1); }
  static void Released(const Value&) { Count(kind, -1); }
  static void Close(const Value& value) {
    Base::Close(value);
    Count(kind, -1);
  }
};

inline void DeleteObjectQuietly(HGDIOBJ object) { ::DeleteObject(object); }
inline void DeleteDcQuietly(HDC dc) { ::DeleteDC(dc); }

template <typename H>
using ObjectPolicy = Counted<GdiKind::kObject, HandlePolicy<H, DeleteObjectQuietly>>;

// A DC with what giving it back needs: the window it came from (ReleaseDC)
// or the object a selection replaced (put back in).
template <typename Other>
struct DcWith {
  HDC dc = nullptr;
  Other other = nullptr;
};
template <typename Other, auto Give>
struct DcWithBase {
  using Value = DcWith<Other>;
  static Value None() { return {}; }
  static bool Valid(const Value& value) { return value.dc != nullptr; }
  static HDC Get(const Value& value) { return value.dc; }
  static void Close(const Value& value) { Give(value.dc, value.other); }
};
inline void ReleaseWindowDc(HDC dc, HWND window) { ::ReleaseDC(window, dc); }
inline void PutBackSelected(HDC dc, HGDIOBJ previous) { ::SelectObject(dc, previous); }
using WindowDcBase = DcWithBase<HWND, ReleaseWindowDc>;
using SelectionBase = DcWithBase<HGDIOBJ, PutBackSelected>;
}  // namespace gdi_detail

// Owners of `kind` alive right now, and of all kinds together.
inline long LiveGdi(GdiKind kind) { return gdi_detail::live[static_cast<int>(kind)].load(); }
inline long LiveGdiTotal() {
  return LiveGdi(GdiKind::kObject) + LiveGdi(GdiKind::kDc) + LiveGdi(GdiKind::kSelection);
}

// A pen, brush, font, bitmap or region, deleted with DeleteObject. It must
// not be selected into a DC when it goes: declare the selection after it.
template <typename H>
using GdiObject = Owner<gdi_detail::ObjectPolicy<H>>;

using UniquePen = GdiObject<HPEN>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueFont = GdiObject<HFONT>;
using UniqueBitmap = GdiObject<HBITMAP>;
using UniqueRegion = GdiObject<HRGN>;

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class UniqueMemoryDc
    : public Owner<gdi_detail::Counted<GdiKind::kDc, HandlePolicy<HDC, gdi_detail::DeleteDcQuietly>>> {
 public:
  using Owner::Owner;
  // Compatible with `reference`; null means the screen.
  static UniqueMemoryDc CompatibleWith(HDC reference) {
    return UniqueMemoryDc(::CreateCompatibleDC(reference));
  }
};

// A window's DC from GetDC, given back with ReleaseDC.
class UniqueWindowDc : public Owner<gdi_detail::Counted<GdiKind::kDc, gdi_detail::WindowDcBase>> {
 public:
  UniqueWindowDc() = default;
  explicit UniqueWindowDc(HWND window) : Owner({::GetDC(window), window}) {}
};

// The DC that WM_PAINT draws on, from BeginPaint, ended with EndPaint. It
// stays where it was made (EndPaint needs the same PAINTSTRUCT).
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() {
    if (dc_ != nullptr) ::EndPaint(window_, &paint_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a DC; the previous object goes back in when the
// selection ends. A failed selection owns nothing.
class ScopedSelection : public Owner<gdi_detail::Counted<GdiKind::kSelection, gdi_detail::SelectionBase>> {
 public:
  ScopedSelection() = default;
  ScopedSelection(HDC dc, HGDIOBJ object) : Owner(Select(dc, object)) {}

  // Puts another object in the same place; the first previous object is
  // still the one restored at the end. One call instead of restore + select.
  void Replace(HGDIOBJ object) {
    if (*this) ::SelectObject(get(), object);
  }

 private:
  static gdi_detail::DcWith<HGDIOBJ> Select(HDC dc, HGDIOBJ object) {
    HGDIOBJ previous = ::SelectObject(dc, object);
    if (previous == nullptr || previous == HGDI_ERROR) return {};
    return {dc, previous};
  }
};

}  // namespace win32
