// What a screen reader is told about the tab control: each tab's name,
// keyboard shortcut and state, which tab lies under a point, how to walk
// the tabs, and which changes it must hear of. The Win32 accessible object
// only translates these into its interface and its WinEvents.
//
// Tabs are the control's children, numbered from 1 as the accessibility
// interfaces number them: child id = tab index + 1, 0 = the control itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tabctl/uc_page_tab.h"

namespace tabctl {

// A tab's default action, as spoken: the word the system's own tab control
// uses on a Chinese Windows, the language of this program's interface.
inline constexpr char kTabDefaultAction[] = "切换";

// The caption as read out: the access-key markers dropped, "&&" one "&".
std::string AccessibleName(std::string_view caption);
// "Alt+<key>" for a caption with an access key, empty without one.
std::string AccessibleShortcut(std::string_view caption);

struct AccessibleTabState {
  bool selected = false;     // the active tab
  bool focused = false;      // the active tab while the control has the focus
  bool unavailable = false;  // the tab or the whole control is disabled
  bool hot = false;          // under the mouse
  bool operator==(const AccessibleTabState&) const = default;
};

// The state of tab `index` (a valid one) as the model has it now.
AccessibleTabState TabStateOf(const ucPageTab& control, std::int32_t index);

// Whether the default action may switch to tab `index`: a click could.
bool AcceptsDefaultAction(const ucPageTab& control, std::int32_t index);

// The tab whose laid-out rectangle holds the point (client pixels, edges
// included, the first of two that share an edge), disabled ones too; -1
// when none does.
std::int32_t AccessibleTabAt(const ucPageTab& control, std::int32_t x, std::int32_t y);

enum class TabNavigation { First, Last, Next, Previous };

// The tab reached from tab `from` (-1: from the control itself, which
// knows only First and Last) among `count`; -1 when there is none.
std::int32_t NavigateTabs(std::int32_t count, std::int32_t from, TabNavigation direction);

// What the accessible side remembers of the control between two changes.
struct AccessibleSnapshot {
  std::vector<std::string> names;
  std::vector<std::string> shortcuts;
  std::vector<bool> enabled;
  std::int32_t active = -1;
  bool focused = false;
  bool controlEnabled = true;
};

AccessibleSnapshot SnapshotOf(const ucPageTab& control);

enum class AccessibleEventKind {
  Create,
  Destroy,
  Reorder,
  NameChange,
  ShortcutChange,
  StateChange,
  Selection,
  Focus
};

struct AccessibleEvent {
  AccessibleEventKind kind;
  std::int32_t child;  // 0 = the control, tab index + 1 = a tab
  bool operator==(const AccessibleEvent&) const = default;
};

// The events that tell a listener how `before` became `after`: tabs gone
// and new (with a reorder of the list), changed names, shortcuts and
// enabled states,
// the new selection, and the focus on the active tab when the control has
// it and either the tab or the focus is new.
std::vector<AccessibleEvent> AccessibleChanges(const AccessibleSnapshot& before,
                                               const AccessibleSnapshot& after);

}  // namespace tabctl
