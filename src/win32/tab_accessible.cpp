#include "win32/tab_accessible.h"

#include <string>

#include "tabctl/tab_accessibility.h"
#include "win32/lazy_library.h"
#include "win32/tab_control_window.h"
#include "win32/text.h"

namespace win32 {
namespace {

void SetEmpty(VARIANT* v) {
  v->vt = VT_EMPTY;
  v->lVal = 0;
}

void SetChild(VARIANT* v, LONG child) {
  v->vt = VT_I4;
  v->lVal = child;
}

LONG ChildIdOf(int tab) { return static_cast<LONG>(tab) + 1; }

LONG StateBits(const tabctl::AccessibleTabState& s) {
  LONG bits = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
  if (s.selected) bits |= STATE_SYSTEM_SELECTED;
  if (s.focused) bits |= STATE_SYSTEM_FOCUSED;
  if (s.unavailable) bits |= STATE_SYSTEM_UNAVAILABLE;
  if (s.hot) bits |= STATE_SYSTEM_HOTTRACKED;
  return bits;
}

// A call into the control never lets one of its errors out through COM.
template <typename Body>
HRESULT Guard(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

TabAccessible::TabAccessible(TabControlWindow& window, const AccessibilityLibrary& library)
    : thread_(GetCurrentThreadId()), window_(&window), library_(library) {}

HRESULT TabAccessible::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

// ---- helpers ----

HRESULT TabAccessible::Ready() const {
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
  // The model and its window belong to one thread; a call that COM brings
  // in on another (no apartment of its own to wait in) would race with it.
  if (GetCurrentThreadId() != thread_) return RPC_E_WRONG_THREAD;
  return S_OK;
}

bool TabAccessible::TabOf(const VARIANT& child, int& tab) const {
  if (child.vt == VT_EMPTY) {
    tab = -1;
    return true;
  }
  if (child.vt != VT_I4) return false;
  if (child.lVal == CHILDID_SELF) {
    tab = -1;
    return true;
  }
  if (child.lVal < 1 || child.lVal > window_->Control().TabCount()) return false;
  tab = static_cast<int>(child.lVal) - 1;
  return true;
}

HRESULT TabAccessible::Text(const char* utf8, BSTR* out) const {
  const std::wstring wide = Widen(utf8);
  *out = library_.sysAllocString(wide.c_str());
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Most IAccessible calls begin the same way: a usable out pointer, then Ready().
#define ACCESSIBLE_PROLOGUE(out)          \
  if ((out) == nullptr) return E_POINTER; \
  if (HRESULT ready = Ready(); ready != S_OK) return ready

// ---- IAccessible ----

HRESULT TabAccessible::get_accParent(IDispatch** parent) {
  ACCESSIBLE_PROLOGUE(parent);
  *parent = nullptr;
  // The standard object of the window itself (frame, scroll bars, client).
  return library_.createStdAccessibleObject(window_->hwnd(), OBJID_WINDOW, __uuidof(IDispatch),
                                            reinterpret_cast<void**>(parent));
}

HRESULT TabAccessible::get_accChildCount(LONG* count) {
  ACCESSIBLE_PROLOGUE(count);
  *count = window_->Control().TabCount();
  return S_OK;
}

HRESULT TabAccessible::get_accChild(VARIANT child, IDispatch** dispatch) {
  ACCESSIBLE_PROLOGUE(dispatch);
  *dispatch = nullptr;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  // Tabs are simple children: the caller asks this object about them.
  return S_FALSE;
}

HRESULT TabAccessible::get_accName(VARIANT child, BSTR* name) {
  ACCESSIBLE_PROLOGUE(name);
  *name = nullptr;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  return Guard([&] {
    if (tab >= 0) {
      return Text(tabctl::AccessibleName(window_->Control().TabCaption(tab)).c_str(), name);
    }
    // The holder names the whole strip through the window's text.
    const int length = GetWindowTextLengthW(window_->hwnd());
    if (length <= 0) return S_FALSE;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window_->hwnd(), text.data(), length + 1)));
    *name = library_.sysAllocString(text.c_str());
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  });
}

HRESULT TabAccessible::get_accValue(VARIANT child, BSTR* value) {
  ACCESSIBLE_PROLOGUE(value);
  *value = nullptr;
  int tab = -1;
  return TabOf(child, tab) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT TabAccessible::get_accDescription(VARIANT child, BSTR* description) {
  ACCESSIBLE_PROLOGUE(description);
  *description = nullptr;
  int tab = -1;
  return TabOf(child, tab) ? S_FALSE : E_INVALIDARG;
}

HRESULT TabAccessible::get_accRole(VARIANT child, VARIANT* role) {
  ACCESSIBLE_PROLOGUE(role);
  SetEmpty(role);
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  SetChild(role, tab >= 0 ? ROLE_SYSTEM_PAGETAB : ROLE_SYSTEM_PAGETABLIST);
  return S_OK;
}

HRESULT TabAccessible::get_accState(VARIANT child, VARIANT* state) {
  ACCESSIBLE_PROLOGUE(state);
  SetEmpty(state);
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  return Guard([&] {
    const HWND hwnd = window_->hwnd();
    if (tab >= 0) {
      SetChild(state, StateBits(tabctl::TabStateOf(window_->Control(), tab)));
      return S_OK;
    }
    LONG bits = STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == hwnd) bits |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowEnabled(hwnd)) bits |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(hwnd)) bits |= STATE_SYSTEM_INVISIBLE;
    SetChild(state, bits);
    return S_OK;
  });
}

HRESULT TabAccessible::get_accHelp(VARIANT child, BSTR* help) {
  ACCESSIBLE_PROLOGUE(help);
  *help = nullptr;
  int tab = -1;
  return TabOf(child, tab) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT TabAccessible::get_accHelpTopic(BSTR* helpFile, VARIANT child, LONG* topic) {
  ACCESSIBLE_PROLOGUE(helpFile);
  *helpFile = nullptr;
  if (topic != nullptr) *topic = 0;
  int tab = -1;
  return TabOf(child, tab) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT TabAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  ACCESSIBLE_PROLOGUE(shortcut);
  *shortcut = nullptr;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  if (tab < 0) return S_FALSE;
  return Guard([&] {
    const std::string text = tabctl::AccessibleShortcut(window_->Control().TabCaption(tab));
    return text.empty() ? S_FALSE : Text(text.c_str(), shortcut);
  });
}

HRESULT TabAccessible::get_accFocus(VARIANT* child) {
  ACCESSIBLE_PROLOGUE(child);
  SetEmpty(child);
  if (GetFocus() != window_->hwnd()) return S_FALSE;
  // The focus mark is on the active tab.
  SetChild(child, ChildIdOf(window_->Control().ActiveTab()));
  return S_OK;
}

HRESULT TabAccessible::get_accSelection(VARIANT* children) {
  ACCESSIBLE_PROLOGUE(children);
  SetChild(children, ChildIdOf(window_->Control().ActiveTab()));
  return S_OK;
}

HRESULT TabAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  ACCESSIBLE_PROLOGUE(action);
  *action = nullptr;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  if (tab < 0) return S_FALSE;
  return Text(tabctl::kTabDefaultAction, action);
}

HRESULT TabAccessible::Activate(int tab) {
  return Guard([&] {
    if (!tabctl::AcceptsDefaultAction(window_->Control(), tab)) return E_ACCESSDENIED;
    window_->Input().ClickTab(tab);
    return S_OK;
  });
}

HRESULT TabAccessible::accSelect(LONG flags, VARIANT child) {
  if (HRESULT ready = Ready(); ready != S_OK) return ready;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  constexpr LONG kKnown = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
  if (flags == SELFLAG_NONE || (flags & ~kKnown) != 0) return E_INVALIDARG;
  if (tab < 0 && (flags & SELFLAG_TAKESELECTION)) return E_INVALIDARG;
  if (flags & SELFLAG_TAKEFOCUS) SetFocus(window_->hwnd());
  if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;  // a focus handler may have closed it
  return (flags & SELFLAG_TAKESELECTION) ? Activate(tab) : S_OK;
}

HRESULT TabAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  if (HRESULT ready = Ready(); ready != S_OK) return ready;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  return Guard([&] {
    const HWND hwnd = window_->hwnd();
    RECT r{};
    if (tab >= 0) {
      window_->LayOutTabs();
      const tabctl::PixelRect& t = window_->Control().AryTabs()[static_cast<std::size_t>(tab)].tabRect;
      r = {t.left, t.top, t.right, t.bottom};
    } else {
      GetClientRect(hwnd, &r);
    }
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  });
}

HRESULT TabAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  ACCESSIBLE_PROLOGUE(end);
  SetEmpty(end);
  int tab = -1;
  if (!TabOf(start, tab)) return E_INVALIDARG;
  tabctl::TabNavigation how{};
  switch (direction) {
    case NAVDIR_FIRSTCHILD:
      how = tabctl::TabNavigation::First;
      break;
    case NAVDIR_LASTCHILD:
      how = tabctl::TabNavigation::Last;
      break;
    case NAVDIR_NEXT:
    case NAVDIR_RIGHT:
      how = tabctl::TabNavigation::Next;
      break;
    case NAVDIR_PREVIOUS:
    case NAVDIR_LEFT:
      how = tabctl::TabNavigation::Previous;
      break;
    case NAVDIR_UP:
    case NAVDIR_DOWN:
      return S_FALSE;  // one row of tabs
    default:
      return E_INVALIDARG;
  }
  // Siblings of the strip itself are the standard objects' business.
  if (tab < 0 && (how == tabctl::TabNavigation::Next || how == tabctl::TabNavigation::Previous)) {
    return S_FALSE;
  }
  const std::int32_t to = tabctl::NavigateTabs(window_->Control().TabCount(), tab, how);
  if (to < 0) return S_FALSE;
  SetChild(end, ChildIdOf(to));
  return S_OK;
}

HRESULT TabAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  ACCESSIBLE_PROLOGUE(child);
  SetEmpty(child);
  return Guard([&] {
    const HWND hwnd = window_->hwnd();
    POINT p{x, y};
    ScreenToClient(hwnd, &p);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    window_->LayOutTabs();
    const std::int32_t tab = tabctl::AccessibleTabAt(window_->Control(), p.x, p.y);
    SetChild(child, tab >= 0 ? ChildIdOf(tab) : CHILDID_SELF);
    return S_OK;
  });
}

HRESULT TabAccessible::accDoDefaultAction(VARIANT child) {
  if (HRESULT ready = Ready(); ready != S_OK) return ready;
  int tab = -1;
  if (!TabOf(child, tab)) return E_INVALIDARG;
  if (tab < 0) return DISP_E_MEMBERNOTFOUND;  // the strip itself has no action
  return Activate(tab);
}

#undef ACCESSIBLE_PROLOGUE

}  // namespace win32
