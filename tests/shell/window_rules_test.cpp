#include "shell/window_rules.h"

#include <gtest/gtest.h>

namespace {

using shell::FocusCandidate;
using shell::Key;
using shell::KeyCommand;
using shell::KeyState;
using shell::TextColour;

TEST(FocusOrderTest, TabVisitsThePageInSightAndTheWindowInTableOrder) {
  constexpr int kStatus = 0, kSettings = 1;
  const std::vector<FocusCandidate> controls = {
      {kStatus, true, true},            // 0: on the status page
      {kSettings, true, true},          // 1: on another page
      {kStatus, false, true},           // 2: a label
      {kStatus, true, false},           // 3: hidden or disabled
      {shell::kEveryPage, true, true},  // 4: a button below the pages
      {kStatus, true, true},            // 5
  };
  EXPECT_EQ(shell::FocusStops(controls, kStatus), (std::vector<std::size_t>{0, 4, 5}));
  EXPECT_EQ(shell::FocusStops(controls, kSettings), (std::vector<std::size_t>{1, 4}));

  struct Step {
    int count, at, step, next;
  } steps[] = {
      {3, -1, +1, 0}, {3, -1, -1, 2},   // from outside: the first, or the last
      {3, 2, +1, 0},  {3, 0, -1, 2},    // round again
      {3, 1, +1, 2},  {0, -1, +1, -1},  // nowhere to go
  };
  for (const Step& s : steps) {
    EXPECT_EQ(shell::NextFocusStop(s.count, s.at, s.step), s.next) << s.count << " " << s.at << " " << s.step;
  }
}

TEST(KeyboardCommandTest, TabAndCtrlKeysMoveTheFocusOrThePageAndAltLeavesThemAlone) {
  struct Case {
    Key key;
    KeyState state;
    KeyCommand command;
  } cases[] = {
      {Key::Tab, {}, KeyCommand::NextStop},
      {Key::Tab, {.shift = true}, KeyCommand::PreviousStop},
      {Key::Tab, {.ctrl = true}, KeyCommand::NextPage},
      {Key::Tab, {.ctrl = true, .shift = true}, KeyCommand::PreviousPage},
      {Key::Tab, {.alt = true}, KeyCommand::None},
      {Key::PageDown, {.ctrl = true}, KeyCommand::NextPage},
      {Key::PageUp, {.ctrl = true}, KeyCommand::PreviousPage},
      {Key::PageDown, {}, KeyCommand::None},                                // the control's own
      {Key::PageUp, {.ctrl = true, .onTabStrip = true}, KeyCommand::None},  // the strip does it
      {Key::Space, {}, KeyCommand::OpenLink},
      {Key::Enter, {}, KeyCommand::OpenOrPress},
      {Key::Other, {.ctrl = true}, KeyCommand::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shell::KeyboardCommand(c.key, c.state), c.command) << static_cast<int>(c.key);
  }
}

TEST(LabelColourTest, HighContrastGivesLinksTheSchemesColourAndDropsTheWarning) {
  using shell::Label;
  EXPECT_EQ(shell::LabelColour(Label::Link, false, false, false), TextColour::LinkResting);
  EXPECT_EQ(shell::LabelColour(Label::Link, true, false, false), TextColour::LinkHover);
  EXPECT_EQ(shell::LabelColour(Label::Link, true, false, true), TextColour::SystemHotLink);
  EXPECT_EQ(shell::LabelColour(Label::Info, false, true, false), TextColour::Warning);
  EXPECT_EQ(shell::LabelColour(Label::Info, false, true, true), TextColour::System);
  EXPECT_EQ(shell::LabelColour(Label::Other, false, true, false), TextColour::System);
}

}  // namespace
