#include "win32/accessible_name.h"

#include <windows.h>
#include <objbase.h>
#include <oleacc.h>

#include <atomic>
#include <memory>
#include <unordered_map>
#include <utility>

#include "win32/com_object.h"
#include "win32/lazy_library.h"

namespace win32 {
namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object of a window with our name, role and default action.
// Everything it does not answer itself goes to the standard object.
class DescribedAccessible final : public ComObject<IAccessible> {
 public:
  DescribedAccessible(IAccessible* standard, std::shared_ptr<const AccessibleDescription> description,
                      HWND window)
      : standard_(standard), description_(std::move(description)), window_(window) {}

  // ---- IDispatch ----
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
  }

  // ---- IAccessible: ours ----
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child) || description_->name.empty()) return standard_->get_accName(child, name);
    return Text(description_->name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || description_->role == 0) return standard_->get_accRole(child, role);
    if (role == nullptr) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = description_->role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT hr = standard_->get_accState(child, state);
    // A link says so, as the browser's links do.
    if (SUCCEEDED(hr) && IsSelf(child) && description_->role == ROLE_SYSTEM_LINK && state->vt == VT_I4) {
      state->lVal |= STATE_SYSTEM_LINKED;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child) || description_->defaultAction.empty()) {
      return standard_->get_accDefaultAction(child, action);
    }
    return Text(description_->defaultAction, action);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child) || !description_->click) return standard_->accDoDefaultAction(child);
    if (!IsWindow(window_)) return E_FAIL;
    if (!IsWindowEnabled(window_)) return S_FALSE;
    // Posted, not sent: a screen reader's call returns at once, and the
    // click runs from the message loop as a real one does.
    const HWND parent = GetParent(window_);
    const WPARAM notice = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(window_)), STN_CLICKED);
    return PostMessageW(parent, WM_COMMAND, notice, reinterpret_cast<LPARAM>(window_)) ? S_OK : E_FAIL;
  }

  // ---- IAccessible: the standard object's ----
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~DescribedAccessible() override { standard_->Release(); }

  // Children and the window come from the standard object. Nothing else
  // does: marshalling interfaces of the standard object would send it, not
  // this one, to a screen reader in another process.
  HRESULT QueryOther(REFIID iid, void** out) override {
    if (iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow))
      return standard_->QueryInterface(iid, out);
    return E_NOINTERFACE;
  }

  static HRESULT Text(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = AccessibilityLibrary::Get()->sysAllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  IAccessible* standard_;
  std::shared_ptr<const AccessibleDescription> description_;
  HWND window_;
};

// The accessible object for WM_GETOBJECT, as an LRESULT; 0 when there is
// none (the window then answers as it would without us).
LRESULT Answer(HWND window, WPARAM wParam, const std::shared_ptr<const AccessibleDescription>& description) {
  const AccessibilityLibrary* oleacc = AccessibilityLibrary::Get();
  if (oleacc == nullptr) return 0;
  // Handing the object over needs COM on this thread. The program's only
  // thread is the window's; it stays initialised for the process's life.
  if (!JoinComApartment()) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(oleacc->createStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&standard))) ||
      standard == nullptr) {
    return 0;
  }
  auto* described = new DescribedAccessible(standard, description, window);
  const LRESULT result = oleacc->lresultFromObject(__uuidof(IAccessible), wParam, described);
  described->Release();
  return result < 0 ? 0 : result;
}

// The described windows, each with the procedure it had before. Not a
// comctl32 subclass: that looks its chain up (a window property, a trip to
// the window server under Wine) twice for every message the control gets.
// Nothing takes these procedures away before the window goes, so the order
// of other subclasses does not matter.
struct Described {
  WNDPROC previous;
  std::shared_ptr<const AccessibleDescription> description;
};

std::unordered_map<HWND, Described>& DescribedWindows() {
  static std::unordered_map<HWND, Described> windows;
  return windows;
}

LRESULT CALLBACK DescribedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& windows = DescribedWindows();
  const auto it = windows.find(window);
  if (it == windows.end()) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC previous = it->second.previous;
  if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
    const std::shared_ptr<const AccessibleDescription> description = it->second.description;
    if (const LRESULT answer = Answer(window, wParam, description)) return answer;
  }
  if (message == WM_NCDESTROY) {
    // Put back only where no one has come after it.
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DescribedProc)) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    windows.erase(it);
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace

bool DescribeForScreenReaders(HWND window, const AccessibleDescription& description) {
  if (window == nullptr || !IsWindow(window)) return false;
  auto shared = std::make_shared<const AccessibleDescription>(description);
  auto& windows = DescribedWindows();
  if (const auto known = windows.find(window); known != windows.end()) {
    known->second.description = std::move(shared);
    return true;
  }
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DescribedProc)));
  if (previous == nullptr) return false;
  windows.emplace(window, Described{previous, std::move(shared)});
  return true;
}

}  // namespace win32
