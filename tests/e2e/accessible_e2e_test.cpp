// The real program's tab strip as a screen reader in another process meets
// it: through oleacc, across the process boundary.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "e2e/accessible_client.h"
#include "e2e/driver.h"

using namespace std::chrono_literals;

namespace {

std::vector<std::pair<DWORD, LONG>>* g_events = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  if (g_events && object == OBJID_CLIENT) g_events->push_back({event, child});
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

TEST(AccessibleEndToEnd, AScreenReaderInAnotherProcessReadsAndSwitchesTheTabs) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    e2e::BrevoltApp app;
    ASSERT_TRUE(app.Started());
    const HWND tabs = app.Control(app::kSSTabMain);
    ASSERT_NE(tabs, nullptr);

    std::vector<std::pair<DWORD, LONG>> events;
    g_events = &events;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, &OnWinEvent,
                                         app.process().id(), 0, WINEVENT_OUTOFCONTEXT);
    EXPECT_NE(hook, nullptr);

    HRESULT hr = E_FAIL;
    e2e::ComRef<IAccessible> strip = e2e::ClientObject(tabs, hr);
    ASSERT_EQ(hr, S_OK);
    ASSERT_TRUE(strip);
    LONG count = 0;
    EXPECT_EQ(strip->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(e2e::Read(strip.get(), CHILDID_SELF).role, ROLE_SYSTEM_PAGETABLIST);

    const char* names[] = {"加速状态", "系统设置", "加速记录", "关于"};
    RECT window{};
    GetWindowRect(tabs, &window);
    for (LONG id = 1; id <= 4; ++id) {
      SCOPED_TRACE(id);
      const e2e::Item tab = e2e::Read(strip.get(), id);
      EXPECT_EQ(tab.name, names[id - 1]);
      EXPECT_EQ(tab.role, ROLE_SYSTEM_PAGETAB);
      EXPECT_EQ((tab.state & STATE_SYSTEM_SELECTED) != 0, id == 4);  // it opens on 关于
      EXPECT_TRUE(tab.location.left >= window.left && tab.location.right <= window.right &&
                  tab.location.top >= window.top && tab.location.bottom <= window.bottom &&
                  tab.location.right > tab.location.left);
    }

    // How screen readers list children: the ids of the four simple ones.
    using ChildrenFn = HRESULT(WINAPI*)(IAccessible*, LONG, LONG, VARIANT*, LONG*);
    const auto accessibleChildren = win32::LazyProc<ChildrenFn>(L"oleacc.dll", "AccessibleChildren");
    ASSERT_NE(accessibleChildren, nullptr);
    VARIANT children[6];
    LONG obtained = 0;
    EXPECT_EQ(accessibleChildren(strip.get(), 0, 6, children, &obtained), S_FALSE);  // fewer than asked
    ASSERT_EQ(obtained, 4);
    for (LONG i = 0; i < obtained; ++i) {
      EXPECT_EQ(children[i].vt, VT_I4);
      EXPECT_EQ(children[i].lVal, i + 1);
      VariantClear(&children[i]);
    }

    ASSERT_EQ(e2e::ActivePage(app), 3);
    EXPECT_EQ(strip->accDoDefaultAction(e2e::Child(1)), S_OK);
    EXPECT_EQ(e2e::ActivePage(app), 0);
    EXPECT_NE(e2e::Read(strip.get(), 1).state & STATE_SYSTEM_SELECTED, 0);

    PumpFor(500);
    // The strip has the focus from the start, so the new tab takes it too.
    bool selection = false, focus = false;
    for (const auto& [event, child] : events) {
      selection |= event == EVENT_OBJECT_SELECTION && child == 1;
      focus |= event == EVENT_OBJECT_FOCUS && child == 1;
    }
    EXPECT_TRUE(selection) << events.size() << " events seen";
    EXPECT_TRUE(focus) << events.size() << " events seen";
    if (hook) UnhookWinEvent(hook);
    g_events = nullptr;
  }
  CoUninitialize();
}

}  // namespace
