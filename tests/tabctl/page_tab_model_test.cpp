// The control's properties, their side effects, errors and repaint guards.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "fakes.h"

namespace tabctl {
namespace {

using tabfakes::CountOf;
using tabfakes::Fixture;
using tabfakes::Log;

TEST(NewControl, HasThreeEnabledTabsAndTheme0) {
  Fixture f;
  ucPageTab& t = f.tab;
  ASSERT_EQ(t.TabCount(), 3);
  ASSERT_EQ(t.AryTabs().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(t.TabCaption(i), "Tab " + std::to_string(i));
    EXPECT_TRUE(t.TabEnabled(i));
    EXPECT_TRUE(t.TabPicture(i).IsNone());
    EXPECT_EQ(t.TabAccessKey(i), 0);
  }
  EXPECT_EQ(t.ActiveTab(), 0);
  EXPECT_EQ(t.LastActiveTab(), 0);
  EXPECT_EQ(t.TabTheme(), TabThemes::System);
  EXPECT_EQ(t.TabStyle(), TabStyles::TabbedDialog);
  EXPECT_EQ(t.ActiveTabHeight(), 20);
  EXPECT_EQ(t.InActiveTabHeight(), 22);
  EXPECT_EQ(t.XRadius(), 10);
  EXPECT_EQ(t.YRadius(), 10);
  EXPECT_TRUE(t.ShowFocusRect());
  EXPECT_TRUE(t.UseFocusedColor());
  EXPECT_TRUE(t.UseMaskColor());
  EXPECT_TRUE(t.UseMouseWheelScroll());
  EXPECT_FALSE(t.UseControlBox());
  EXPECT_FALSE(t.UseThemeDetection());
  EXPECT_TRUE(t.Enabled());
  EXPECT_EQ(t.PictureMaskColor(), 0xC0C0C0u);
  EXPECT_EQ(t.FocusedColor(), 0xEE8269u);
  EXPECT_EQ(t.HoverColor(), 0x3BC7FFu);
  // The theme-0 reset at the end of initialisation.
  EXPECT_EQ(t.DisabledTabBackColor(), 0x8000000Fu);
  EXPECT_EQ(t.DisabledTabForeColor(), 0x80000015u);
  EXPECT_EQ(t.TabStripBackColor(), f.host.ambientBack);
  EXPECT_EQ(t.InActiveTabFont(), f.host.ambientFont);
  EXPECT_TRUE(t.ActiveTabFont().bold);
  EXPECT_EQ(t.ActiveTabFont().name, f.host.ambientFont.name);
  EXPECT_EQ(t.PageStride(), 10000);
}

TEST(NewControl, PageStrideFollowsAWideControl) {
  tabfakes::Log log;
  tabfakes::Host host(log);
  tabfakes::System system;
  host.width = 10000;
  ucPageTab narrow(host, system);
  narrow.InitProperties();
  EXPECT_EQ(narrow.PageStride(), 10000);
  host.width = 10001;
  ucPageTab wide(host, system);
  wide.InitProperties();
  EXPECT_EQ(wide.PageStride(), 11001);
}

struct Setter {
  const char* name;
  std::function<void(ucPageTab&)> set;
};

TEST(Properties, StandardSettersStoreRepaintAndNotifyUnderTheirName) {
  const std::vector<Setter> setters = {
      {"ActiveTabBackEndColor", [](ucPageTab& t) { t.SetActiveTabBackEndColor(1); }},
      {"ActiveTabBackStartColor", [](ucPageTab& t) { t.SetActiveTabBackStartColor(1); }},
      {"ActiveTabFont", [](ucPageTab& t) { t.SetActiveTabFont(TabFont{}); }},
      {"ActiveTabForeColor", [](ucPageTab& t) { t.SetActiveTabForeColor(1); }},
      {"ActiveTabHeight", [](ucPageTab& t) { t.SetActiveTabHeight(25); }},
      {"BackColor", [](ucPageTab& t) { t.SetBackColor(1); }},
      {"BottomRightInnerBorderColor", [](ucPageTab& t) { t.SetBottomRightInnerBorderColor(1); }},
      {"DisabledTabBackColor", [](ucPageTab& t) { t.SetDisabledTabBackColor(1); }},
      {"DisabledTabForeColor", [](ucPageTab& t) { t.SetDisabledTabForeColor(1); }},
      {"ForeColor", [](ucPageTab& t) { t.SetForeColor(1); }},
      {"HoverColor", [](ucPageTab& t) { t.SetHoverColor(1); }},
      {"InActiveTabBackEndColor", [](ucPageTab& t) { t.SetInActiveTabBackEndColor(1); }},
      {"InActiveTabBackStartColor", [](ucPageTab& t) { t.SetInActiveTabBackStartColor(1); }},
      {"InActiveTabFont", [](ucPageTab& t) { t.SetInActiveTabFont(TabFont{}); }},
      {"InActiveTabForeColor", [](ucPageTab& t) { t.SetInActiveTabForeColor(1); }},
      {"InActiveTabHeight", [](ucPageTab& t) { t.SetInActiveTabHeight(18); }},
      {"OuterBorderColor", [](ucPageTab& t) { t.SetOuterBorderColor(1); }},
      {"PictureAlign", [](ucPageTab& t) { t.SetPictureAlign(PictureAlignments::Right); }},
      {"PictureMaskColor", [](ucPageTab& t) { t.SetPictureMaskColor(1); }},
      {"PictureSize", [](ucPageTab& t) { t.SetPictureSize(PictureSizes::Large); }},
      {"ShowFocusRect", [](ucPageTab& t) { t.SetShowFocusRect(false); }},
      {"TabStripBackColor", [](ucPageTab& t) { t.SetTabStripBackColor(1); }},
      {"TabStyle", [](ucPageTab& t) { t.SetTabStyle(TabStyles::PropertyPages); }},
      {"TopLeftInnerBorderColor", [](ucPageTab& t) { t.SetTopLeftInnerBorderColor(1); }},
      {"UseControlBox", [](ucPageTab& t) { t.SetUseControlBox(true); }},
      {"UseFocusedColor", [](ucPageTab& t) { t.SetUseFocusedColor(false); }},
      {"UseMaskColor", [](ucPageTab& t) { t.SetUseMaskColor(false); }},
      {"XRadius", [](ucPageTab& t) { t.SetXRadius(4); }},
      {"YRadius", [](ucPageTab& t) { t.SetYRadius(4); }},
  };
  for (const Setter& s : setters) {
    Fixture f;
    PropertyBag before;
    f.tab.WriteProperties(before);
    s.set(f.tab);
    EXPECT_EQ(f.log, (Log{"image on", "draw", "show", std::string("changed ") + s.name})) << s.name;
    // The value was stored: the saved set now differs under that key.
    PropertyBag after;
    f.tab.WriteProperties(after);
    EXPECT_NE(before.ToText(), after.ToText()) << s.name;
  }
}

TEST(Properties, SettersWithTheirOwnSideEffects) {
  Fixture f;
  f.tab.SetUseMouseWheelScroll(false);
  EXPECT_EQ(f.log, (Log{"changed UseMouseWheelScroll"}));
  EXPECT_FALSE(f.tab.UseMouseWheelScroll());

  f.log.clear();
  f.tab.SetFont(TabFont{"Tahoma", 8});
  EXPECT_TRUE(f.log.empty());
  EXPECT_EQ(f.tab.BaseFont().name, "Tahoma");

  f.log.clear();
  f.tab.SetFocusedColor(0x123456);
  EXPECT_EQ(f.log, (Log{"image on", "draw", "show", "hover", "changed FocusedColor"}));

  f.log.clear();
  f.tab.SetEnabled(false);
  EXPECT_EQ(f.log, (Log{"window disabled", "image on", "draw", "show", "changed Enabled"}));
  EXPECT_FALSE(f.tab.Enabled());

  f.log.clear();
  f.tab.SetTabTheme(TabThemes::FlatGrey);
  EXPECT_EQ(f.log, (Log{"image off", "image on", "draw", "show", "show", "changed TabTheme"}));

  f.log.clear();
  f.tab.SetIsFocused(true);
  EXPECT_TRUE(f.tab.IsFocused());
  EXPECT_EQ(f.log, (Log{"show"}));
}

TEST(Errors, BadIndexesReadEmptyAndWriteError9) {
  Fixture f;
  EXPECT_EQ(f.tab.TabCaption(5), "");
  EXPECT_EQ(f.tab.TabCaption(-1), "");
  EXPECT_FALSE(f.tab.TabEnabled(3));
  const auto expectError = [](const std::function<void()>& body, std::int32_t number,
                              const std::string& source) {
    try {
      body();
      ADD_FAILURE() << "no error from " << source;
    } catch (const ControlError& e) {
      EXPECT_EQ(e.Number(), number) << source;
      EXPECT_EQ(e.Source(), source);
      EXPECT_FALSE(e.Description().empty());
    }
  };
  expectError([&] { f.tab.SetTabCaption(5, "x"); }, 9, "ucPageTab.TabCaption");
  expectError([&] { f.tab.SetTabEnabled(-1, false); }, 9, "ucPageTab.TabEnabled");
  expectError([&] { f.tab.SetTabPicture(3, Picture()); }, 9, "ucPageTab.TabPicture");
  expectError([&] { (void)f.tab.TabPicture(3); }, 9, "ucPageTab.TabPicture");
  expectError([&] { f.tab.SetTabCount(0); }, 380, "ucPageTab.TabCount");
  expectError([&] { f.tab.SetTabCount(ucPageTab::kMaxTabCount + 1); }, 380, "ucPageTab.TabCount");
  EXPECT_EQ(f.tab.TabCount(), 3);
  expectError([&] { f.tab.RemoveTabImages(-1, false); }, 9, "ucPageTab.RemoveTabImages");
}

TEST(Errors, TheOutermostOperationNamesTheSource) {
  Fixture f;
  f.events.onBeforeSwitch = [] { throw std::runtime_error("handler failed"); };
  try {
    f.tab.SetActiveTab(1);
    ADD_FAILURE() << "no error";
  } catch (const ControlError& e) {
    EXPECT_EQ(e.Source(), "ucPageTab.ActiveTab");
    EXPECT_EQ(e.Description(), "handler failed");
  }
  // A handler's own error keeps everything but the source.
  f.events.onBeforeSwitch = [] { throw ControlError(1234, "own error", "Form", "help.chm", 77); };
  try {
    f.tab.AddControl(0, 0, -1, -1, -1, -1, 2);
    ADD_FAILURE() << "no error";
  } catch (const ControlError& e) {
    EXPECT_EQ(e.Number(), 1234);
    EXPECT_EQ(e.Source(), "ucPageTab.AddControl");
    EXPECT_EQ(e.Description(), "own error");
    EXPECT_EQ(e.HelpFile(), "help.chm");
    EXPECT_EQ(e.HelpContext(), 77);
  }
}

TEST(Version, PlainAndWithBuildStamp) {
  Fixture f;
  EXPECT_EQ(f.tab.Version(false), "1.0.85");
  EXPECT_EQ(f.tab.Version(true), "1.0.85 (11/13/2006 8:07:02 AM )");
}

TEST(Repaint, FirstRepaintAtRunTimeRaisesAfterCompleteInitOnce) {
  Fixture f(false);  // InitProperties repainted nothing
  EXPECT_FALSE(f.tab.Initialised());
  f.tab.Refresh();
  f.tab.Refresh();
  EXPECT_EQ(CountOf(f.log, "AfterCompleteInit"), 1u);
  EXPECT_EQ(f.log.front(), "image on");
  EXPECT_EQ(f.log[1], "AfterCompleteInit");
  EXPECT_EQ(CountOf(f.log, "draw"), 2u);
  EXPECT_EQ(CountOf(f.log, "image off"), 0u);  // stays on at run time
  EXPECT_TRUE(f.tab.Initialised());
}

TEST(Repaint, AtDesignTimeNoInitEventAndTheImageGoesOffAgain) {
  Fixture f(false);
  f.host.userMode = false;
  f.tab.Refresh();
  EXPECT_EQ(f.log, (Log{"image on", "draw", "image off", "show"}));
  EXPECT_TRUE(f.tab.Initialised());
  f.host.userMode = true;
  f.tab.Refresh();
  EXPECT_EQ(CountOf(f.log, "AfterCompleteInit"), 0u);

  Fixture unsure(false);  // a container that cannot answer counts as design time
  unsure.host.userModeFails = true;
  unsure.tab.Refresh();
  EXPECT_EQ(CountOf(unsure.log, "AfterCompleteInit"), 0u);
}

TEST(Repaint, NoRepaintStartsInsideAnother) {
  Fixture f;
  int nested = 0;
  f.renderer.duringDraw = [&](ucPageTab& t) {
    ++nested;
    t.SetBackColor(0x00FF0000);  // the page colour, set while drawing
    t.pShowHideFocus();
  };
  f.tab.Refresh();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(CountOf(f.log, "draw"), 1u);
  EXPECT_EQ(CountOf(f.log, "focus"), 0u);
  EXPECT_EQ(CountOf(f.log, "changed BackColor"), 1u);
  EXPECT_EQ(f.tab.BackColor(), 0x00FF0000u);
  EXPECT_FALSE(f.tab.Busy());

  f.log.clear();
  f.renderer.duringDraw = nullptr;
  f.tab.SetBusy(true);
  f.tab.Refresh();
  f.tab.pShowHideFocus();
  EXPECT_TRUE(f.log.empty());
  EXPECT_TRUE(f.tab.Busy());
}

TEST(Repaint, BusyIsClearedWhenDrawingFails) {
  Fixture f;
  f.renderer.duringDraw = [](ucPageTab&) { throw std::runtime_error("out of pens"); };
  EXPECT_THROW(f.tab.Refresh(), ControlError);
  EXPECT_FALSE(f.tab.Busy());
  f.renderer.duringDraw = nullptr;
  f.tab.Refresh();
  EXPECT_EQ(CountOf(f.log, "draw"), 2u);
}

TEST(Repaint, FocusToggleUsesTheImageOnlyAfterInitialisation) {
  Fixture f(false);
  f.tab.pShowHideFocus();
  EXPECT_EQ(f.log, (Log{"focus", "show"}));
  f.tab.Refresh();
  f.log.clear();
  f.tab.pShowHideFocus();
  EXPECT_EQ(f.log, (Log{"image on", "focus", "image off", "show"}));
}

// ---- the reference page (docs/tab-control.md) against the code ----

// The first cell of every row of the tables under the "## <title>" heading,
// and the second cell; header and separator rows left out.
struct DocRow {
  std::string first;
  std::string second;
};

std::vector<DocRow> DocTable(const std::string& doc, const std::string& title) {
  std::vector<DocRow> rows;
  std::istringstream lines(doc);
  std::string line;
  bool inSection = false;
  bool inCode = false;
  bool headerSeen = false;
  while (std::getline(lines, line)) {
    if (line.rfind("```", 0) == 0) inCode = !inCode;
    if (inCode) continue;
    if (line.rfind("## ", 0) == 0) {
      inSection = line == "## " + title;
      headerSeen = false;
      continue;
    }
    if (!inSection || line.rfind("|", 0) != 0) {
      headerSeen = false;  // a table ends at the first other line
      continue;
    }
    if (line.rfind("|---", 0) == 0) continue;
    if (!headerSeen) {
      headerSeen = true;
      continue;
    }
    std::vector<std::string> cells;
    std::size_t start = 1;
    for (std::size_t bar = line.find('|', start); bar != std::string::npos; bar = line.find('|', start)) {
      std::string cell = line.substr(start, bar - start);
      cell.erase(0, cell.find_first_not_of(' '));
      cell.erase(cell.find_last_not_of(' ') + 1);
      cells.push_back(cell);
      start = bar + 1;
    }
    if (cells.size() >= 2) rows.push_back({cells[0], cells[1]});
  }
  return rows;
}

// The first `code` span of a cell: "`TabCaption`(Index)" -> "TabCaption".
std::string CodeName(const std::string& cell) {
  const std::size_t open = cell.find('`');
  const std::size_t close = open == std::string::npos ? open : cell.find('`', open + 1);
  return close == std::string::npos ? std::string() : cell.substr(open + 1, close - open - 1);
}

std::string ReadDoc() {
  std::ifstream in(TAB_CONTROL_DOC, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ReferencePage, DocumentsExactlyTheControlsProperties) {
  const std::string doc = ReadDoc();
  ASSERT_FALSE(doc.empty()) << "cannot read " << TAB_CONTROL_DOC;
  std::set<std::string> documented;
  for (const DocRow& row : DocTable(doc, "Properties")) {
    const std::string name = CodeName(row.first);
    EXPECT_FALSE(name.empty()) << "a row of the property table names no property: " << row.first;
    EXPECT_TRUE(documented.insert(name).second) << "property " << name << " is documented twice";
  }
  std::set<std::string> inCode;
  for (std::string_view name : ucPageTab::PropertyNames()) inCode.emplace(name);
  ASSERT_GE(inCode.size(), 40u);
  for (const std::string& name : inCode) {
    EXPECT_TRUE(documented.count(name))
        << "property " << name << " of ucPageTab is missing from the property table of " << TAB_CONTROL_DOC;
  }
  for (const std::string& name : documented) {
    EXPECT_TRUE(inCode.count(name)) << "property " << name << " is documented in " << TAB_CONTROL_DOC
                                    << " but ucPageTab has no such property";
  }
}

TEST(ReferencePage, DocumentsEveryEventUnderItsNumber) {
  std::map<int, std::string> documented;
  for (const DocRow& row : DocTable(ReadDoc(), "Events")) {
    documented[std::atoi(row.first.c_str())] = CodeName(row.second);
  }
  for (int id = 1; id <= kLastEventId; ++id) {
    const std::string name(EventName(static_cast<ucPageTabEventId>(id)));
    ASSERT_FALSE(name.empty()) << "event " << id << " has no name";
    EXPECT_EQ(documented[id], name) << "event " << id << " (" << name
                                    << ") is not documented under its number in " << TAB_CONTROL_DOC;
  }
  EXPECT_EQ(documented.size(), static_cast<std::size_t>(kLastEventId))
      << TAB_CONTROL_DOC << " documents events the control does not have";
}

// Each key read with a value of the wrong kind is reported by ReadProperties:
// that shows which keys the control reads, with no list of them but its own.
TEST(ReferencePage, DocumentsExactlyTheSavedKeysTheControlReads) {
  auto reads = [](const std::string& key) {
    Fixture f;
    PropertyBag bag;
    bag.Set(key, std::int64_t{1} << 40);  // fits no key's type
    const auto misfits = f.tab.ReadProperties(bag);
    return std::find(misfits.begin(), misfits.end(), key) != misfits.end();
  };
  std::set<std::string> documented;
  for (const DocRow& row : DocTable(ReadDoc(), "Saved property set")) {
    std::string key = CodeName(row.first);
    if (const auto paren = key.find("(i)"); paren != std::string::npos) key.replace(paren, 3, "(0)");
    documented.insert(key);
    EXPECT_TRUE(reads(key)) << "saved key " << key << " is documented in " << TAB_CONTROL_DOC
                            << " but the control does not read it";
  }
  ASSERT_GE(documented.size(), 40u);
  for (std::string_view name : ucPageTab::PropertyNames()) {
    for (const std::string& key : {std::string(name), std::string(name) + "(0)"}) {
      if (reads(key)) {
        EXPECT_TRUE(documented.count(key)) << "saved key " << key << " is missing from " << TAB_CONTROL_DOC;
      }
    }
  }
}

}  // namespace
}  // namespace tabctl
