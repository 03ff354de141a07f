#include "shell/window_rules.h"

namespace shell {

std::vector<std::size_t> FocusStops(const std::vector<FocusCandidate>& candidates, int activePage) {
  std::vector<std::size_t> stops;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const FocusCandidate& c = candidates[i];
    // Controls of the other pages are only moved out of sight: never visit them.
    if (c.tabStop && c.available && (c.page == kEveryPage || c.page == activePage)) stops.push_back(i);
  }
  return stops;
}

int NextFocusStop(int count, int at, int step) {
  if (count <= 0) return -1;
  if (at < 0 || at >= count) return step > 0 ? 0 : count - 1;
  return ((at + step) % count + count) % count;
}

KeyCommand KeyboardCommand(Key key, KeyState state) {
  if (state.alt) return KeyCommand::None;
  switch (key) {
    case Key::Tab:
      if (state.ctrl) return state.shift ? KeyCommand::PreviousPage : KeyCommand::NextPage;
      return state.shift ? KeyCommand::PreviousStop : KeyCommand::NextStop;
    case Key::PageDown:
    case Key::PageUp:
      // The tab strip switches with these keys itself when it has the focus.
      if (!state.ctrl || state.onTabStrip) return KeyCommand::None;
      return key == Key::PageDown ? KeyCommand::NextPage : KeyCommand::PreviousPage;
    case Key::Space:
      return KeyCommand::OpenLink;
    case Key::Enter:
      return KeyCommand::OpenOrPress;
    default:
      break;
  }
  return KeyCommand::None;
}

TextColour LabelColour(Label label, bool hover, bool warning, bool highContrast) {
  if (label == Label::Link) {
    if (highContrast) return TextColour::SystemHotLink;
    return hover ? TextColour::LinkHover : TextColour::LinkResting;
  }
  if (label == Label::Info && warning && !highContrast) return TextColour::Warning;
  return TextColour::System;
}

}  // namespace shell
