// Switching pages, the page encoding of contained controls, counting,
// inserting and removing tabs, access keys and pictures.
#include <gtest/gtest.h>

#include "fakes.h"

namespace tabctl {
namespace {

using tabfakes::CountOf;
using tabfakes::Fixture;
using tabfakes::Log;
using tabfakes::MakePicture;
using tabfakes::PictureId;

constexpr std::int32_t kStride = 10000;

// Puts one control at its own position ownLeft on each of the given tabs,
// encoded for the currently active tab.
void AddControls(Fixture& f, const std::vector<std::pair<int, std::int32_t>>& tabAndOwnLeft) {
  for (const auto& [tab, ownLeft] : tabAndOwnLeft) {
    f.host.lefts.push_back(ownLeft + (f.tab.ActiveTab() - tab) * kStride);
  }
}

// Indices of the controls that are in sight (Left strictly inside a page).
std::vector<int> Visible(const Fixture& f) {
  std::vector<int> shown;
  for (std::size_t i = 0; i < f.host.lefts.size(); ++i) {
    if (f.host.lefts[i] > 0 && f.host.lefts[i] < kStride) shown.push_back(static_cast<int>(i));
  }
  return shown;
}

std::vector<std::string> Captions(const ucPageTab& t) {
  std::vector<std::string> c;
  for (int i = 0; i < t.TabCount(); ++i) c.push_back(t.TabCaption(i));
  return c;
}

TEST(Switching, SlidesEveryControlByTheTabDifference) {
  Fixture f;
  AddControls(f, {{0, 100}, {1, 200}, {2, 300}});
  ASSERT_EQ(f.host.lefts, (std::vector<std::int32_t>{100, -9800, -19700}));
  f.tab.SetActiveTab(2);
  EXPECT_EQ(f.host.lefts, (std::vector<std::int32_t>{20100, 10200, 300}));
  EXPECT_EQ(Visible(f), (std::vector<int>{2}));
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  EXPECT_EQ(f.tab.LastActiveTab(), 0);
  EXPECT_EQ(f.tab.HotTab(), 2);
  EXPECT_EQ(f.log, (Log{"BeforeTabSwitch 2", "background", "tabs", "changed ActiveTab", "image on", "draw",
                        "show", "show", "TabSwitch 0"}));
  f.tab.SetActiveTab(1);
  EXPECT_EQ(Visible(f), (std::vector<int>{1}));
  EXPECT_EQ(f.tab.LastActiveTab(), 2);
}

TEST(Switching, ACancelledSwitchChangesNothing) {
  Fixture f;
  AddControls(f, {{0, 100}, {1, 200}});
  f.tab.SetActiveTab(1);
  f.events.refuse = [](int) { return true; };
  const auto lefts = f.host.lefts;
  f.log.clear();
  f.tab.SetActiveTab(0);
  EXPECT_EQ(f.log, (Log{"BeforeTabSwitch 0"}));
  EXPECT_EQ(f.tab.ActiveTab(), 1);
  EXPECT_EQ(f.tab.LastActiveTab(), 0);
  EXPECT_EQ(f.host.lefts, lefts);
}

TEST(Switching, OutOfRangeSelectsTab0AndTheSameTabDoesNothing) {
  Fixture f;
  f.tab.SetActiveTab(2);
  f.log.clear();
  f.tab.SetActiveTab(3);  // = TabCount
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  EXPECT_EQ(f.log.front(), "BeforeTabSwitch 0");
  f.tab.SetActiveTab(2);
  f.tab.SetActiveTab(-1);
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  f.log.clear();
  f.tab.SetActiveTab(-1);  // already on tab 0
  f.tab.SetActiveTab(0);
  EXPECT_TRUE(f.log.empty());
}

TEST(Switching, AnInputDrivenSwitchDrawsThoughRefreshIsHeldBack) {
  Fixture f;
  f.tab.SetBusy(true);
  f.tab.SetActiveTab(1);
  EXPECT_EQ(f.log,
            (Log{"BeforeTabSwitch 1", "background", "tabs", "changed ActiveTab", "show", "TabSwitch 0"}));
}

TEST(Switching, AControlThatCannotMoveIsSkipped) {
  Fixture f;
  AddControls(f, {{0, 100}, {0, 200}, {0, 300}});
  f.host.stuck = {1};
  f.tab.SetActiveTab(1);
  EXPECT_EQ(f.host.lefts, (std::vector<std::int32_t>{10100, 200, 10300}));
  EXPECT_EQ(f.tab.ActiveTab(), 1);
}

TEST(TabCount, GrowingAddsNumberedEnabledTabs) {
  Fixture f;
  f.tab.SetTabCount(5);
  EXPECT_EQ(Captions(f.tab), (std::vector<std::string>{"Tab 0", "Tab 1", "Tab 2", "Tab 3", "Tab 4"}));
  EXPECT_TRUE(f.tab.TabEnabled(3));
  EXPECT_TRUE(f.tab.TabEnabled(4));
  EXPECT_EQ(f.log, (Log{"image on", "draw", "show", "changed TabCount"}));
}

TEST(TabCount, ShrinkingPastTheActiveTabSelectsTheLastWithoutEvents) {
  Fixture f;
  f.tab.SetTabCount(5);
  AddControls(f, {{0, 100}, {1, 100}, {4, 100}});
  f.tab.SetActiveTab(4);
  f.tab.SetTabCaption(3, "&Dropped");
  f.log.clear();
  f.tab.SetTabCount(2);
  EXPECT_EQ(f.tab.ActiveTab(), 1);
  EXPECT_EQ(CountOf(f.log, "BeforeTabSwitch 1"), 0u);
  EXPECT_EQ(CountOf(f.log, "TabSwitch 4"), 0u);
  // The pages follow, so tab 1 shows its own controls.
  EXPECT_EQ(Visible(f), (std::vector<int>{1}));
  f.tab.SetActiveTab(0);
  EXPECT_EQ(Visible(f), (std::vector<int>{0}));
  // A dropped tab's access key no longer activates the control.
  EXPECT_EQ(f.host.accessKeys, "");
}

TEST(TabCount, ShrinkingToOneTab) {
  Fixture f;
  f.tab.SetTabCount(1);
  EXPECT_EQ(f.tab.ActiveTab(), 0);
  EXPECT_EQ(f.tab.AryTabs().size(), 1u);
}

TEST(AccessKeys, TheCharacterAfterTheLastSingleAmpersand) {
  EXPECT_EQ(AccessKeyOf("&File"), 'F');
  EXPECT_EQ(AccessKeyOf("Save && &load"), 'L');
  EXPECT_EQ(AccessKeyOf("Fish && Chips"), 0);
  EXPECT_EQ(AccessKeyOf("&Open and &close"), 'C');
  EXPECT_EQ(AccessKeyOf("a&&&b"), 'B');
  EXPECT_EQ(AccessKeyOf("&&&&"), 0);
  EXPECT_EQ(AccessKeyOf("Trailing&"), 0);
  EXPECT_EQ(AccessKeyOf("Trailing &&&"), 0);
  EXPECT_EQ(AccessKeyOf("&1st"), '1');
  EXPECT_EQ(AccessKeyOf("系统设置(&S)"), 'S');
  EXPECT_EQ(AccessKeyOf("&关于"), 0x5173);  // a whole character, not its first byte
  EXPECT_EQ(AccessKeyOf(""), 0);
}

TEST(AccessKeys, CaptionsKeepTheHostListInStep) {
  Fixture f;
  f.tab.SetTabCaption(0, "&Status");
  f.tab.SetTabCaption(1, "&Settings");  // the same key on two tabs
  f.tab.SetTabCaption(2, "A&bout");
  EXPECT_EQ(f.tab.TabAccessKey(2), 'B');
  EXPECT_EQ(f.host.accessKeys, "SSB");
  f.tab.SetTabCaption(1, "Options");
  EXPECT_EQ(f.tab.TabAccessKey(1), 0);
  EXPECT_EQ(f.host.accessKeys, "SB");  // tab 0 keeps its key
  f.tab.SetTabCaption(2, "关&于");
  EXPECT_EQ(f.host.accessKeys, "S于");
  f.log.clear();
  f.tab.SetTabCaption(0, "x");
  EXPECT_EQ(f.log, (Log{"changed TabCaption", "image on", "draw", "show"}));
}

TEST(TabStateSetters, EnabledAndPictureNotifyInTheirOrder) {
  Fixture f;
  f.tab.SetTabEnabled(1, false);
  EXPECT_EQ(f.log, (Log{"changed TabEnabled", "image on", "draw", "show"}));
  EXPECT_FALSE(f.tab.TabEnabled(1));
  f.log.clear();
  f.tab.SetTabPicture(2, MakePicture(7));
  EXPECT_EQ(f.log, (Log{"image on", "draw", "show", "changed TabPicture"}));
  EXPECT_EQ(PictureId(f.tab.TabPicture(2)), 7);
}

// Pages 0, 1, 2 with one control each at own position 100, and one control
// whose own position is exactly 0 on tab 0.
std::unique_ptr<Fixture> PagedFixture() {
  auto f = std::make_unique<Fixture>();
  AddControls(*f, {{0, 100}, {1, 100}, {2, 100}, {0, 0}});
  return f;
}

TEST(InsertTab, ShiftsLaterPagesAndTheNewTabIsEmpty) {
  auto f = PagedFixture();
  f->tab.SetTabCaption(1, "&One");
  f->tab.SetTabEnabled(2, false);
  f->tab.SetTabPicture(2, MakePicture(2));
  f->log.clear();
  f->tab.InsertTab(0, "&New");

  EXPECT_EQ(Captions(f->tab), (std::vector<std::string>{"Tab 0", "&New", "&One", "Tab 2"}));
  EXPECT_EQ(f->host.accessKeys, "NO");
  // The new tab is a fresh one; the others keep what they held.
  EXPECT_TRUE(f->tab.TabEnabled(1));
  EXPECT_TRUE(f->tab.TabPicture(1).IsNone());
  EXPECT_FALSE(f->tab.TabEnabled(3));
  EXPECT_EQ(PictureId(f->tab.TabPicture(3)), 2);

  EXPECT_EQ(f->host.lefts, (std::vector<std::int32_t>{100, -19900, -29900, -10000}));
  // Left exactly 0 counts as the next tab, so that control moved too.
  f->tab.SetActiveTab(1);
  EXPECT_EQ(Visible(*f), (std::vector<int>{}));
  f->tab.SetActiveTab(2);
  EXPECT_EQ(Visible(*f), (std::vector<int>{1}));
  f->tab.SetActiveTab(3);
  EXPECT_EQ(Visible(*f), (std::vector<int>{2}));

  EXPECT_EQ(f->log.front(), "lock");
  EXPECT_EQ(CountOf(f->log, "TabInsert 0"), 1u);
  EXPECT_EQ(f->host.lockDepth, 0);
}

TEST(InsertTab, ThePageThatWasShownStaysShown) {
  for (int active = 0; active < 3; ++active) {
    for (int after = -1; after < 3; ++after) {
      auto f = PagedFixture();
      f->tab.SetActiveTab(active);
      const std::string caption = f->tab.TabCaption(active);
      const auto shown = Visible(*f);
      f->log.clear();
      f->tab.InsertTab(after, "New");
      EXPECT_EQ(f->tab.TabCaption(f->tab.ActiveTab()), caption) << active << " " << after;
      EXPECT_EQ(Visible(*f), shown) << active << " " << after;
      EXPECT_EQ(f->tab.TabCaption(after + 1), "New");
      EXPECT_EQ(f->log.back(), "TabInsert " + std::to_string(after));
      EXPECT_EQ(f->log[f->log.size() - 2], "unlock");
    }
  }
}

TEST(InsertTab, RefusedOrInvalidInsertionsChangeNothing) {
  auto f = PagedFixture();
  f->tab.SetActiveTab(2);
  f->events.refuse = [](int tab) { return tab == 0; };
  const auto lefts = f->host.lefts;
  f->log.clear();
  f->tab.InsertTab(0, "New");
  EXPECT_EQ(f->tab.TabCount(), 3);
  EXPECT_EQ(f->host.lefts, lefts);
  EXPECT_EQ(CountOf(f->log, "TabInsert 0"), 0u);
  EXPECT_EQ(f->host.lockDepth, 0);

  try {
    f->tab.InsertTab(3, "past the end");
    ADD_FAILURE();
  } catch (const ControlError& e) {
    EXPECT_EQ(e.Number(), 9);
    EXPECT_EQ(e.Source(), "ucPageTab.InsertTab");
  }
  EXPECT_EQ(f->tab.TabCount(), 3);
  EXPECT_EQ(f->host.lockDepth, 0);
}

TEST(RemoveTab, ParksTheRemovedPageForGoodAndMovesLaterPagesDown) {
  auto f = PagedFixture();
  f->tab.SetTabCaption(2, "&Two");
  f->tab.SetTabPicture(2, MakePicture(2));
  f->tab.SetTabEnabled(1, false);
  f->log.clear();
  f->tab.RemoveTab(1);

  EXPECT_EQ(Captions(f->tab), (std::vector<std::string>{"Tab 0", "&Two"}));
  EXPECT_EQ(PictureId(f->tab.TabPicture(1)), 2);
  EXPECT_TRUE(f->tab.TabEnabled(1));
  EXPECT_EQ(f->host.accessKeys, "T");
  EXPECT_EQ(CountOf(f->log, "TabRemove 1"), 1u);
  EXPECT_EQ(f->host.lockDepth, 0);

  // Tab 1's control lies right of every page; tab 2's is on page 1 now.
  EXPECT_GE(f->host.lefts[1], kStride);
  f->tab.SetActiveTab(1);
  EXPECT_EQ(Visible(*f), (std::vector<int>{2}));
  // Later insertions and removals leave the parked control out of sight.
  f->tab.InsertTab(-1, "Front");
  f->tab.InsertTab(-1, "Front again");
  f->tab.RemoveTab(0);
  for (int page = 0; page < f->tab.TabCount(); ++page) {
    f->tab.SetActiveTab(page);
    for (int shown : Visible(*f)) EXPECT_NE(shown, 1) << "page " << page;
  }
}

TEST(RemoveTab, ThePageShownStaysShownOrItsNeighbourTakesOver) {
  struct Case {
    int active, removed;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {3, 3, "Tab 2"},                   // the last, shown: its predecessor
      {1, 1, "Tab 2"},                   // shown: its successor
      {0, 0, "Tab 1"}, {3, 0, "Tab 3"},  // before the shown one
      {1, 3, "Tab 1"},                   // after the shown one
  };
  for (const Case& c : cases) {
    Fixture f;
    f.tab.SetTabCount(4);
    f.tab.SetActiveTab(c.active);
    f.tab.RemoveTab(c.removed);
    EXPECT_EQ(f.tab.TabCaption(f.tab.ActiveTab()), c.expected)
        << "active " << c.active << " removed " << c.removed;
  }
}

TEST(RemoveTab, TheOnlyTabStays) {
  Fixture f;
  f.tab.SetTabCount(1);
  f.log.clear();
  f.tab.RemoveTab(0);
  EXPECT_EQ(f.tab.TabCount(), 1);
  EXPECT_TRUE(f.log.empty());
}

TEST(RemoveTab, ABadIndexIsAnError) {
  Fixture f;
  try {
    f.tab.RemoveTab(3);
    ADD_FAILURE();
  } catch (const ControlError& e) {
    EXPECT_EQ(e.Number(), 9);
    EXPECT_EQ(e.Source(), "ucPageTab.RemoveTab");
  }
  EXPECT_EQ(f.tab.TabCount(), 3);
}

TEST(AddControl, SwitchesToTheTabThenPlacesWithTheGivenValues) {
  Fixture f;
  f.tab.AddControl(5, 0x99, 120, -1, 300, -1, 2);
  EXPECT_EQ(f.tab.ActiveTab(), 2);
  ASSERT_EQ(f.host.placed.size(), 1u);
  const auto& p = f.host.placed[0];
  EXPECT_EQ(p.control, 5u);
  EXPECT_EQ(p.window, 0x99u);
  EXPECT_EQ(p.placement.left, 120);
  EXPECT_FALSE(p.placement.top.has_value());
  EXPECT_EQ(p.placement.width, 300);
  EXPECT_FALSE(p.placement.height.has_value());
  EXPECT_EQ(f.log.back(), "place");

  f.host.placeFails = true;
  f.log.clear();
  EXPECT_NO_THROW(f.tab.AddControl(0, 0x98, -1, -1, -1, -1, -1));
  EXPECT_EQ(f.log, (Log{"place"}));  // no switch for "not given"
}

TEST(Pictures, CopyingFromAShortListStopsAtItsEnd) {
  Fixture f;
  f.tab.SetTabCount(4);
  for (int i = 0; i < 4; ++i) f.tab.SetTabPicture(i, MakePicture(10 + i));
  f.log.clear();
  const std::vector<Picture> images = {MakePicture(1), MakePicture(2)};
  f.tab.CopyTabImagesFromImageList(images);
  EXPECT_EQ(PictureId(f.tab.TabPicture(0)), 1);
  EXPECT_EQ(PictureId(f.tab.TabPicture(1)), 2);
  EXPECT_TRUE(f.tab.TabPicture(2).IsNone());  // cleared before the list ran out
  EXPECT_EQ(PictureId(f.tab.TabPicture(3)), 13);
  EXPECT_EQ(CountOf(f.log, "draw"), 1u);

  f.renderer.duringDraw = [](ucPageTab&) { throw std::runtime_error("no surface"); };
  EXPECT_NO_THROW(f.tab.CopyTabImagesFromImageList(images));
}

TEST(Pictures, RemovingOneOrAll) {
  Fixture f;
  for (int i = 0; i < 3; ++i) f.tab.SetTabPicture(i, MakePicture(i + 1));
  f.tab.RemoveTabImages(1, false);
  EXPECT_TRUE(f.tab.TabPicture(1).IsNone());
  EXPECT_EQ(PictureId(f.tab.TabPicture(2)), 3);
  f.tab.RemoveTabImages(-1, true);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.tab.TabPicture(i).IsNone());
}

TEST(Lifecycle, TerminationReturnsEveryControlToTheTab0Arrangement) {
  auto f = PagedFixture();
  const auto arrangement = f->host.lefts;
  f->tab.SetTabPicture(0, MakePicture(1));
  f->tab.SetActiveTab(2);
  f->log.clear();
  f->tab.Terminate();
  EXPECT_EQ(f->host.lefts, arrangement);
  EXPECT_TRUE(f->tab.TabPicture(0).IsNone());
  EXPECT_EQ(f->log.front(), "BeforeTabSwitch 0");
  EXPECT_EQ(f->log.back(), "hooks removed");
  f->log.clear();
  f->tab.Terminate();  // once only
  EXPECT_TRUE(f->log.empty());
}

}  // namespace
}  // namespace tabctl
