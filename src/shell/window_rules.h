// The main window's smaller rules: which controls the Tab key visits, what
// a key does, and what colour a label's text takes. The window layer says
// what it sees (pages, keys, the colour scheme) and does what these say.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/keys.h"

namespace shell {

// ---- the focus order ----

inline constexpr int kEveryPage = -1;  // a control on the window, not on a page

struct FocusCandidate {
  int page = kEveryPage;   // the page the control stands on
  bool tabStop = false;    // the control takes the focus from the keyboard
  bool available = false;  // it exists, is visible and enabled
};

// Indexes into `candidates` of the controls Tab visits after the tab strip,
// in their order: those of the page in sight and those on the window.
std::vector<std::size_t> FocusStops(const std::vector<FocusCandidate>& candidates, int activePage);

// The stop Tab (step +1) or Shift+Tab (-1) goes to among `count`, from the
// one at `at` (-1: none of them has the focus); -1 when there is none.
int NextFocusStop(int count, int at, int step);

// ---- keys ----

using Key = platform::Key;

struct KeyState {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  bool onTabStrip = false;  // the tab strip has the focus
};

enum class KeyCommand {
  None,          // the key is the focused control's own
  NextStop,      // Tab
  PreviousStop,  // Shift+Tab
  NextPage,      // Ctrl+Tab, Ctrl+Page Down
  PreviousPage,  // Ctrl+Shift+Tab, Ctrl+Page Up
  OpenLink,      // Space: opens the focused link, if a link has the focus
  OpenOrPress,   // Enter: opens the focused link or presses the focused button
};

KeyCommand KeyboardCommand(Key key, KeyState state);

// ---- label colours ----

enum class Label { Link, Info, Other };

enum class TextColour {
  System,         // the scheme's text colour
  SystemHotLink,  // the scheme's colour for links
  LinkResting,    // blue
  LinkHover,      // red
  Warning,        // the info line's warning colour
};

// The colours go with the page colour in every scheme: under high contrast
// the links and the warning take the scheme's own.
TextColour LabelColour(Label label, bool hover, bool warning, bool highContrast);

}  // namespace shell
