// A screen reader's side of the accessibility interfaces, for the tests:
// oleacc loaded at run time (as the program loads it), the object of a
// window's client area, and what it says about each of its children.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <utility>

#include "win32/lazy_library.h"
#include "win32/text.h"

namespace e2e {

// Owns one COM reference.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* p) : p_(p) {}
  ComRef(ComRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComRef& operator=(ComRef&& o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComRef() {
    if (p_) p_->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T** out() { return &p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// The object AccessibleObjectFromWindow gives for the window's client area;
// `result` gets its HRESULT.
inline ComRef<IAccessible> ClientObject(HWND window, HRESULT& result) {
  using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static const auto fromWindow = win32::LazyProc<Fn>(L"oleacc.dll", "AccessibleObjectFromWindow");
  ComRef<IAccessible> object;
  result = fromWindow ? fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(object.out()))
                      : E_NOINTERFACE;
  return object;
}

inline VARIANT Child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// A BSTR answer as UTF-8: "<S_FALSE>" when there is none, "<error>" on a failure.
template <typename Getter>
std::string TextOf(Getter&& get) {
  BSTR text = nullptr;
  const HRESULT hr = get(&text);
  std::string out = hr == S_OK && text ? win32::Narrow(text) : hr == S_FALSE ? "<S_FALSE>" : "<error>";
  SysFreeString(text);
  return out;
}

// What one child (or CHILDID_SELF) says about itself.
struct Item {
  std::string name, shortcut, action;
  LONG role = -1;
  LONG state = -1;
  RECT location{};
};

inline Item Read(IAccessible* object, LONG id) {
  Item item;
  const VARIANT child = Child(id);
  item.name = TextOf([&](BSTR* b) { return object->get_accName(child, b); });
  item.shortcut = TextOf([&](BSTR* b) { return object->get_accKeyboardShortcut(child, b); });
  item.action = TextOf([&](BSTR* b) { return object->get_accDefaultAction(child, b); });
  VARIANT v;
  VariantInit(&v);
  if (object->get_accRole(child, &v) == S_OK && v.vt == VT_I4) item.role = v.lVal;
  VariantClear(&v);
  if (object->get_accState(child, &v) == S_OK && v.vt == VT_I4) item.state = v.lVal;
  VariantClear(&v);
  LONG x = 0, y = 0, w = 0, h = 0;
  if (object->accLocation(&x, &y, &w, &h, child) == S_OK) item.location = {x, y, x + w, y + h};
  return item;
}

}  // namespace e2e
