// What a screen reader finds in the main window, asked from this process as
// a screen reader asks: through oleacc, across the process boundary.
#include <windows.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e/accessible_client.h"
#include "e2e/driver.h"
#include "win32/text.h"

using namespace std::chrono_literals;

namespace {

// The two oleacc calls the shared client helpers do not make.
struct Oleacc {
  decltype(&AccessibleChildren) children =
      win32::LazyProc<decltype(&AccessibleChildren)>(L"oleacc.dll", "AccessibleChildren");
  decltype(&WindowFromAccessibleObject) windowOf =
      win32::LazyProc<decltype(&WindowFromAccessibleObject)>(L"oleacc.dll", "WindowFromAccessibleObject");
  bool Loaded() const { return children && windowOf; }
};

const Oleacc& Acc() {
  static const Oleacc oleacc;
  return oleacc;
}

class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

using Accessible = e2e::ComRef<IAccessible>;

Accessible ObjectOf(HWND window) {
  HRESULT result = S_OK;
  return e2e::ClientObject(window, result);
}

// What the object says about itself.
e2e::Item About(const Accessible& object) { return e2e::Read(object.get(), CHILDID_SELF); }

// A name a screen reader can say: not empty, and not a failed or missing answer.
bool Speakable(const std::string& name) { return !name.empty() && name != "<error>" && name != "<S_FALSE>"; }

// The windows a screen reader reaches from `window`'s object: its
// accessible children that are windows.
std::vector<HWND> AccessibleChildWindows(IAccessible* object) {
  long count = 0;
  object->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(std::max(count, 0L)));
  LONG got = 0;
  std::vector<HWND> windows;
  if (count <= 0 || FAILED(Acc().children(object, 0, count, children.data(), &got))) return windows;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    if (child.vt == VT_DISPATCH && child.pdispVal) {
      IAccessible* childObject = nullptr;
      HWND window = nullptr;
      if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&childObject)))) {
        if (SUCCEEDED(Acc().windowOf(childObject, &window))) windows.push_back(window);
        childObject->Release();
      }
    }
    VariantClear(&child);
  }
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
    windows.push_back(c);
  return windows;
}

class ScreenReaderEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Acc().Loaded()) << "oleacc.dll is missing";
    ASSERT_TRUE(com_.Ok());
  }
  ComScope com_;
};

// Every control of the window, on every page, has a name to speak; the ones
// without a caption of their own, and the links, say what the table says.
TEST_F(ScreenReaderEndToEnd, EveryControlHasANameAndTheSpecialOnesTheirOwn) {
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  const HWND tabs = app.Control(app::kSSTabMain);
  ASSERT_NE(tabs, nullptr);

  // As a screen reader walks it: from the window's object to its children.
  Accessible main = ObjectOf(app.Main());
  ASSERT_TRUE(main);
  EXPECT_TRUE(Speakable(About(main).name)) << "the main window has no name";
  const std::vector<HWND> reached = AccessibleChildWindows(main.get());
  EXPECT_EQ(reached, ChildWindows(app.Main())) << "the window's accessible children are not its controls";

  std::vector<HWND> controls = ChildWindows(app.Main());
  for (HWND control : ChildWindows(tabs)) controls.push_back(control);
  ASSERT_GE(controls.size(), 30u);
  int pictures = 0;
  for (HWND control : controls) {
    Accessible object = ObjectOf(control);
    ASSERT_TRUE(object) << "no accessible object for control " << GetDlgCtrlID(control);
    const std::string name = About(object).name;
    EXPECT_TRUE(Speakable(name)) << "control " << GetDlgCtrlID(control) << " (" << e2e::TextOf(control)
                                 << ") has no name";
    if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
      ++pictures;
      EXPECT_EQ(About(object).role, ROLE_SYSTEM_GRAPHIC) << name;
    }
  }
  EXPECT_EQ(pictures, 4);

  const struct {
    int id;
    const char* name;
    long role;  // 0: not checked (Wine's standard objects say "client" for every class)
    const char* action;
  } kSpecial[] = {
      {app::kSSTabMain, "页面", 0, nullptr},
      {app::kComboSpeed, "加速度", 0, nullptr},
      {app::kComboAutoCleanCount, "历史记录大于几条时自动清除", 0, nullptr},
      {app::kListViewHistory, "加速记录", 0, nullptr},
      {app::kToolbarSpeedMain, "记录工具", 0, nullptr},
      {app::kLabelHomePage, "http://www.quillmoor.example/", ROLE_SYSTEM_LINK, "打开"},
      {app::kLabelBBS, "http://www.quillmoor.example/bbs/", ROLE_SYSTEM_LINK, "打开"},
      {app::kCheckAutoRun, "开机自启动", 0, nullptr},
      {app::kCommandExit, "退出", 0, nullptr},
  };
  for (const auto& want : kSpecial) {
    SCOPED_TRACE(want.name);
    Accessible object = ObjectOf(app.Control(want.id));
    ASSERT_TRUE(object);
    const e2e::Item item = About(object);
    EXPECT_EQ(item.name, want.name);
    if (want.role != 0) {
      EXPECT_EQ(item.role, want.role);
    }
    if (want.action != nullptr) {
      EXPECT_EQ(item.action, want.action);
    }
    if (want.role == ROLE_SYSTEM_LINK) {
      EXPECT_NE(item.state & STATE_SYSTEM_LINKED, 0);
    }
  }
}

// A link's default action opens its address exactly as a click does.
TEST_F(ScreenReaderEndToEnd, ALinksDefaultActionOpensItsAddress) {
  e2e::HttpOpener opener(L"\"" + e2e::HostPath(WINDOW_HOST_EXE) + L"\" %1");
  ASSERT_TRUE(opener.Active());
  e2e::BrevoltApp app;
  ASSERT_TRUE(app.Started());
  for (const auto& [id, address] : {std::pair{app::kLabelHomePage, L"http://www.quillmoor.example/"},
                                    std::pair{app::kLabelBBS, L"http://www.quillmoor.example/bbs/"}}) {
    SCOPED_TRACE(win32::Narrow(address));
    ASSERT_EQ(FindWindowW(nullptr, address), nullptr);
    Accessible link = ObjectOf(app.Control(id));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->accDoDefaultAction(e2e::Child(CHILDID_SELF)), S_OK);
    EXPECT_TRUE(e2e::HttpOpener::Opened(address, 15s)) << "the address was not opened";
  }
}

}  // namespace
