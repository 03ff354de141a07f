#include "tabctl/tab_accessibility.h"

#include <algorithm>

#include "platform/text.h"
#include "tabctl/input.h"

namespace tabctl {
namespace {

const TabEntry* TabAt(const ucPageTab& control, std::int32_t index) {
  const auto& tabs = control.AryTabs();
  if (index < 0 || index >= control.TabCount() || static_cast<std::size_t>(index) >= tabs.size()) {
    return nullptr;
  }
  return &tabs[static_cast<std::size_t>(index)];
}

}  // namespace

std::string AccessibleName(std::string_view caption) {
  std::string name;
  name.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      name.push_back(caption[i]);
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      name.push_back('&');
      ++i;
    }
  }
  return name;
}

std::string AccessibleShortcut(std::string_view caption) {
  const std::int32_t key = AccessKeyOf(caption);
  if (key <= 0 || key > 0x10FFFF) return {};
  return "Alt+" + platform::EncodeUtf8(static_cast<char32_t>(key));
}

AccessibleTabState TabStateOf(const ucPageTab& control, std::int32_t index) {
  AccessibleTabState state;
  const TabEntry* tab = TabAt(control, index);
  if (tab == nullptr) return state;
  const bool active = index == control.ActiveTab();
  state.selected = active;
  state.focused = active && control.IsFocused();
  state.unavailable = !tab->enabled || !control.Enabled();
  // The pointer as the window's mouse tracking last saw it; a disabled tab
  // does not react to it.
  const TrackingState& tracking = control.Tracking();
  const HoverState& hover = control.Hover();
  state.hot = !state.unavailable && tracking.mouseInside && hover.cursorY <= TabStripHeight(control) &&
              AccessibleTabAt(control, hover.cursorX, hover.cursorY) == index;
  return state;
}

bool AcceptsDefaultAction(const ucPageTab& control, std::int32_t index) {
  const TabEntry* tab = TabAt(control, index);
  return tab != nullptr && tab->enabled && control.Enabled() && !control.Busy();
}

std::int32_t AccessibleTabAt(const ucPageTab& control, std::int32_t x, std::int32_t y) {
  for (std::int32_t i = 0; i < control.TabCount(); ++i) {
    const TabEntry* tab = TabAt(control, i);
    if (tab && tab->tabRect.right > tab->tabRect.left && tab->tabRect.Contains(x, y)) return i;
  }
  return -1;
}

std::int32_t NavigateTabs(std::int32_t count, std::int32_t from, TabNavigation direction) {
  if (count <= 0) return -1;
  if (from < 0) {
    if (direction == TabNavigation::First) return 0;
    if (direction == TabNavigation::Last) return count - 1;
    return -1;
  }
  if (from >= count) return -1;
  switch (direction) {
    case TabNavigation::First:
    case TabNavigation::Last:
      return -1;  // a tab has no children
    case TabNavigation::Next:
      return from + 1 < count ? from + 1 : -1;
    case TabNavigation::Previous:
      return from > 0 ? from - 1 : -1;
  }
  return -1;
}

AccessibleSnapshot SnapshotOf(const ucPageTab& control) {
  AccessibleSnapshot snapshot;
  const std::int32_t count =
      std::min(control.TabCount(), static_cast<std::int32_t>(control.AryTabs().size()));
  for (std::int32_t i = 0; i < count; ++i) {
    const TabEntry& tab = control.AryTabs()[static_cast<std::size_t>(i)];
    snapshot.names.push_back(AccessibleName(tab.caption));
    snapshot.shortcuts.push_back(AccessibleShortcut(tab.caption));
    snapshot.enabled.push_back(tab.enabled);
  }
  snapshot.active = control.ActiveTab() < count ? control.ActiveTab() : -1;
  snapshot.focused = control.IsFocused();
  snapshot.controlEnabled = control.Enabled();
  return snapshot;
}

std::vector<AccessibleEvent> AccessibleChanges(const AccessibleSnapshot& before,
                                               const AccessibleSnapshot& after) {
  std::vector<AccessibleEvent> events;
  const auto oldCount = static_cast<std::int32_t>(before.names.size());
  const auto newCount = static_cast<std::int32_t>(after.names.size());
  for (std::int32_t child = oldCount; child > newCount; --child) {
    events.push_back({AccessibleEventKind::Destroy, child});
  }
  for (std::int32_t child = oldCount + 1; child <= newCount; ++child) {
    events.push_back({AccessibleEventKind::Create, child});
  }
  if (oldCount != newCount) events.push_back({AccessibleEventKind::Reorder, 0});
  const std::int32_t kept = std::min(oldCount, newCount);
  for (std::int32_t i = 0; i < kept; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (before.names[at] != after.names[at]) events.push_back({AccessibleEventKind::NameChange, i + 1});
  }
  for (std::int32_t i = 0; i < kept; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (before.shortcuts[at] != after.shortcuts[at]) {
      events.push_back({AccessibleEventKind::ShortcutChange, i + 1});
    }
  }
  for (std::int32_t i = 0; i < kept; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (before.enabled[at] != after.enabled[at]) events.push_back({AccessibleEventKind::StateChange, i + 1});
  }
  if (before.controlEnabled != after.controlEnabled) events.push_back({AccessibleEventKind::StateChange, 0});
  if (after.active >= 0) {
    const bool newTab = before.active != after.active;
    if (newTab) events.push_back({AccessibleEventKind::Selection, after.active + 1});
    if (after.focused && (newTab || !before.focused)) {
      events.push_back({AccessibleEventKind::Focus, after.active + 1});
    }
  }
  return events;
}

}  // namespace tabctl
