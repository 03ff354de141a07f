// The reference counting and interface lookup of a COM object that
// implements one dual interface (IAccessible, say): written once for every
// object the program hands to COM.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <objbase.h>

#include <atomic>

namespace win32 {

template <typename Interface>
class ComObject : public Interface {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) final {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(Interface))) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    return QueryOther(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() final { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() final {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  // Made with one reference, the creator's; deleted at the last Release.
  virtual ~ComObject() = default;
  // Interfaces besides the three above; none unless an object says so.
  virtual HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace win32
