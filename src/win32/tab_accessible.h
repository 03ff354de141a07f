// The tab control as screen readers see it: an IAccessible for the
// control's client area (a page-tab list) whose simple children are the
// tabs. What it answers comes from tabctl/tab_accessibility.h; this is the
// COM shell around it.
//
// oleacc and oleaut32 are not imported by the program: they are loaded from
// the system folder when the first WM_GETOBJECT asks for the object.
//
// A screen reader may keep the object after the window is gone: Disconnect()
// cuts it off, and from then on every call but the IUnknown ones answers
// CO_E_OBJNOTCONNECTED.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <atomic>

#include "win32/com_object.h"
#include "win32/lazy_library.h"

namespace win32 {

class TabControlWindow;

// The functions of oleacc and oleaut32 the object needs, loaded once.
class TabAccessible final : public ComObject<IAccessible> {
 public:
  // One reference, the caller's.
  TabAccessible(TabControlWindow& window, const AccessibilityLibrary& library);
  TabAccessible(const TabAccessible&) = delete;
  TabAccessible& operator=(const TabAccessible&) = delete;

  // The window is going away.
  void Disconnect() { window_ = nullptr; }

  // ---- IDispatch: no type information; clients call IAccessible directly ----
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // ---- IAccessible ----
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~TabAccessible() override = default;

  // The tab a child id names: -1 for the control itself, its index for a
  // tab; false for an id that names nothing.
  bool TabOf(const VARIANT& child, int& tab) const;
  // S_OK when a call may go on: the window is there and this is its thread.
  HRESULT Ready() const;
  HRESULT Text(const char* utf8, BSTR* out) const;
  // Switches to `tab` as a click would; an error for a refused tab.
  HRESULT Activate(int tab);

  const DWORD thread_;  // the window's
  TabControlWindow* window_;
  const AccessibilityLibrary& library_;
};

}  // namespace win32
