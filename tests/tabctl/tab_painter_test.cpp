// The tab painter on the raster canvas: layout of both styles, the page and
// tab pixels the layout statements promise, the repaint order and guards,
// focus and hover marks, close boxes and the primitives' colour write-back.
#include "tabctl/tab_painter.h"

#include <gtest/gtest.h>

#include "gfx/raster_canvas.h"
#include "tabctl/control_primitives.h"
#include "tabfakes_paint.h"

namespace {

using namespace tabctl;
using tabfakes::Painted;

// Tabs are measured in the active tab's font: the container's 9 pt in
// bold, 7 pixels a character in the raster's built-in font.
constexpr int kChar = 7;

// Colours that tell the fills apart.
constexpr Color kRed = RgbColor(200, 0, 0);
constexpr Color kGreen = RgbColor(0, 200, 0);
constexpr Color kBlue = RgbColor(0, 0, 200);
constexpr Color kOuter = RgbColor(10, 10, 10);

TEST(MeasuredCaption, FollowsTheAmpersandRules) {
  // "&&" is measured as one "&", and the last letter is then dropped.
  EXPECT_EQ(MeasuredCaption("Save && Exit"), "Save & Exi");
  // An access key: the marker is measured, the last letter is not.
  EXPECT_EQ(MeasuredCaption("&Word"), "&Wor");
  EXPECT_EQ(MeasuredCaption("Plain"), "Plain");
  // A whole character goes, not a byte of it.
  EXPECT_EQ(MeasuredCaption("&加速"), "&加");
}

TEST(PropertyPagesLayout, TabsStartWidenAndAlignAtTheBottom) {
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abcd", "Ab"});
  p.tab.SetActiveTabHeight(20);
  p.tab.SetInActiveTabHeight(18);
  p.tab.SetActiveTab(1);
  p.tab.Refresh();
  const auto& tabs = p.tab.AryTabs();
  // Tab 0 inactive: starts at 2 but ends at its width (theme 0).
  EXPECT_EQ(tabs[0].tabRect, (PixelRect{2, 2, 3 * kChar + 14, 20}));
  const int second = 3 * kChar + 14;
  const int third = second + 4 * kChar + 14;
  EXPECT_EQ(tabs[1].tabRect, (PixelRect{second, 0, third, 20}));
  EXPECT_EQ(tabs[2].tabRect, (PixelRect{third, 2, third + 2 * kChar + 14, 20}));
  EXPECT_EQ(tabs[1].controlBoxRect, (PixelRect{third - 14, 5, third - 4, 15}));

  // Active first tab starts at 0; themes 1 to 4 end an inactive first tab
  // one pixel further and put the close box one pixel further right.
  p.tab.SetActiveTab(0);
  EXPECT_EQ(tabs[0].tabRect.left, 0);
  p.tab.SetTabTheme(TabThemes::LightVisual);
  p.tab.SetActiveTab(2);
  EXPECT_EQ(tabs[0].tabRect, (PixelRect{2, 2, 3 * kChar + 15, 20}));
  EXPECT_EQ(tabs[0].controlBoxRect, (PixelRect{3 * kChar + 2, 7, 3 * kChar + 12, 17}));
}

TEST(PropertyPagesLayout, CloseBoxesAndPicturesWidenTheTabs) {
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abcd", "Ab"});
  p.tab.Refresh();
  std::vector<int> plain;
  for (const auto& t : p.tab.AryTabs()) plain.push_back(t.tabRect.right - t.tabRect.left);
  p.tab.SetUseControlBox(true);
  const auto& tabs = p.tab.AryTabs();
  EXPECT_EQ(tabs[0].tabRect.right - tabs[0].tabRect.left, plain[0] + 15);  // active
  EXPECT_EQ(tabs[1].tabRect.right - tabs[1].tabRect.left, plain[1] + 12);
  EXPECT_EQ(tabs[2].tabRect.right - tabs[2].tabRect.left, plain[2] + 12);
  p.tab.SetUseControlBox(false);

  // A picture adds its size (16, capped at M - 6 = 16 with M 22) plus 1.
  p.tab.SetTabPicture(1, MakePixelPicture(Bitmap(16, 16)));
  EXPECT_EQ(tabs[1].tabRect.right - tabs[1].tabRect.left, plain[1] + 17);
  // Capped at M - 6 in theme 0 when the strip is low.
  p.tab.SetActiveTabHeight(18);
  p.tab.SetInActiveTabHeight(18);
  EXPECT_EQ(tabs[1].tabRect.right - tabs[1].tabRect.left, plain[1] + 13);
}

TEST(TabbedDialogLayout, EqualWidthsRoundedHalfToEvenAndTheLastEndsInside) {
  Painted p(TabStyles::TabbedDialog, 0, {"A", "B", "C", "D"}, 301, 120);
  p.tab.Refresh();
  const auto& tabs = p.tab.AryTabs();
  EXPECT_EQ(tabs[0].tabRect.left, 0);
  EXPECT_EQ(tabs[0].tabRect.right, 75);
  EXPECT_EQ(tabs[2].tabRect.left, 150);
  EXPECT_EQ(tabs[3].tabRect.left, 225);
  EXPECT_EQ(tabs[3].tabRect.right, 300);
  // Active tab 20 high (the default), the others 22: all end at 22.
  EXPECT_EQ(tabs[0].tabRect.top, 2);
  EXPECT_EQ(tabs[1].tabRect.top, 0);
  EXPECT_EQ(tabs[3].tabRect.bottom, 22);
  EXPECT_EQ(tabs[1].controlBoxRect, (PixelRect{150 - 14, 5, 150 - 4, 15}));
  // Close boxes do not change the widths here.
  p.tab.SetUseControlBox(true);
  EXPECT_EQ(tabs[1].tabRect.right, 150);

  Painted q(TabStyles::TabbedDialog, 1, {"A", "B", "C", "D"}, 302, 120);
  q.tab.Refresh();
  EXPECT_EQ(q.tab.AryTabs()[1].tabRect.left, 76);  // 75.5 -> 76
  EXPECT_EQ(q.tab.AryTabs()[3].tabRect, (PixelRect{228, 0, 301, 22}));
  EXPECT_EQ(q.tab.AryTabs()[3].controlBoxRect, (PixelRect{301 - 13, 5, 301 - 3, 15}));
}

TEST(TabbedDialogDrawing, ClassicPageBorderRunsUnderInactiveTabsOnly) {
  Painted p(TabStyles::TabbedDialog, 0, {"Abc", "Abc", "Abc"});
  p.tab.SetActiveTabBackEndColor(kBlue);
  p.tab.SetActiveTab(1);
  p.tab.Refresh();
  const int m = 22;
  const PixelRect active = p.tab.AryTabs()[1].tabRect;
  const PixelRect other = p.tab.AryTabs()[2].tabRect;
  const int mid = (active.left + active.right) / 2;
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(p.canvas.PixelAt(mid, m + row), MakeRgb(0, 0, 200)) << row;
  }
  const int otherMid = (other.left + other.right) / 2;
  EXPECT_EQ(p.canvas.PixelAt(otherMid, m + 1), p.Rgb(p.tab.OuterBorderColor()));
  EXPECT_EQ(p.canvas.PixelAt(otherMid, m + 2), p.Rgb(p.tab.TopLeftInnerBorderColor()));
  EXPECT_EQ(p.canvas.PixelAt(otherMid, m + 3), p.Rgb(p.tab.TopLeftInnerBorderColor()));
  // The three-pixel frame: outer, then two inner lines, on every side.
  const int sh = p.canvas.Height();
  EXPECT_EQ(p.canvas.PixelAt(0, 80), p.Rgb(p.tab.OuterBorderColor()));
  EXPECT_EQ(p.canvas.PixelAt(2, 80), p.Rgb(p.tab.TopLeftInnerBorderColor()));
  EXPECT_EQ(p.canvas.PixelAt(200, sh - 3), p.Rgb(p.tab.BottomRightInnerBorderColor()));
  EXPECT_EQ(p.canvas.PixelAt(200, sh - 4), MakeRgb(0, 0, 200));
}

TEST(TabbedDialogLayout, ThemeTwoLooksLikePropertyPages) {
  Painted a(TabStyles::TabbedDialog, 2, {"One", "&Two", "Three"});
  Painted b(TabStyles::PropertyPages, 2, {"One", "&Two", "Three"});
  a.tab.SetActiveTab(1);
  b.tab.SetActiveTab(1);
  a.tab.Refresh();
  b.tab.Refresh();
  EXPECT_EQ(a.canvas.Pixels(), b.canvas.Pixels());
}

TEST(PropertyPagesDrawing, DisabledTabsFillAsTheirPlaceSays) {
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abc", "Abc", "Abc"});
  p.tab.SetDisabledTabBackColor(kRed);
  p.tab.SetInActiveTabBackStartColor(kGreen);
  p.tab.SetInActiveTabBackEndColor(kBlue);
  p.tab.SetTabEnabled(1, false);  // right neighbour of the active tab 0
  p.tab.SetTabEnabled(3, false);  // not next to it
  p.tab.Refresh();
  const auto& tabs = p.tab.AryTabs();
  const auto mid = [&](int i) { return (tabs[i].tabRect.left + tabs[i].tabRect.right) / 2; };
  // Neighbour: solid disabled colour top to bottom.
  EXPECT_EQ(p.canvas.PixelAt(mid(1), tabs[1].tabRect.top + 1), MakeRgb(200, 0, 0));
  EXPECT_EQ(p.canvas.PixelAt(mid(1), tabs[1].tabRect.bottom - 1), MakeRgb(200, 0, 0));
  // Elsewhere: from the disabled colour to the inactive end colour.
  const Rgb top = p.canvas.PixelAt(mid(3), tabs[3].tabRect.top + 1);
  const Rgb bottom = p.canvas.PixelAt(mid(3), tabs[3].tabRect.bottom - 1);
  EXPECT_GT(RedOf(top), 150);
  EXPECT_LT(BlueOf(top), 50);
  EXPECT_LT(RedOf(bottom), 50);
  EXPECT_GT(BlueOf(bottom), 150);
  // An enabled inactive tab keeps its own colours.
  EXPECT_EQ(GreenOf(p.canvas.PixelAt(mid(2), tabs[2].tabRect.top + 1)), 200 - 200 / 22);
}

TEST(PropertyPagesDrawing, ARaisedActiveTabHidesItsNeighboursFacingEdges) {
  for (bool raised : {false, true}) {
    Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abc", "Abc"});
    p.tab.SetOuterBorderColor(kOuter);
    p.tab.SetInActiveTabBackStartColor(kGreen);
    p.tab.SetInActiveTabBackEndColor(kGreen);
    p.tab.SetActiveTabHeight(raised ? 22 : 20);
    p.tab.SetInActiveTabHeight(20);
    p.tab.SetActiveTab(1);
    p.tab.Refresh();
    const PixelRect left = p.tab.AryTabs()[0].tabRect;
    const PixelRect right = p.tab.AryTabs()[2].tabRect;
    const Rgb leftEdge = p.canvas.PixelAt(left.right - 1, left.top + 8);
    const Rgb rightEdge = p.canvas.PixelAt(right.left, right.top + 8);
    const Rgb tl = p.Rgb(p.tab.TopLeftInnerBorderColor());
    EXPECT_EQ(leftEdge, raised ? MakeRgb(0, 200, 0) : MakeRgb(10, 10, 10)) << raised;
    EXPECT_EQ(rightEdge, raised ? MakeRgb(0, 200, 0) : tl) << raised;
    // Raised, the right neighbour's top line starts at its left edge instead
    // of after a cut corner.
    EXPECT_EQ(p.canvas.PixelAt(right.left, right.top), raised ? tl : p.Rgb(p.tab.TabStripBackColor()));
  }
}

TEST(PropertyPagesDrawing, TheActiveTabOpensIntoThePage) {
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abc"});
  p.tab.SetActiveTabBackStartColor(kBlue);
  p.tab.SetActiveTabBackEndColor(kBlue);
  p.tab.Refresh();
  const PixelRect active = p.tab.AryTabs()[0].tabRect;
  const PixelRect other = p.tab.AryTabs()[1].tabRect;
  const Rgb tl = p.Rgb(p.tab.TopLeftInnerBorderColor());
  EXPECT_EQ(p.canvas.PixelAt(active.left + 6, active.bottom), MakeRgb(0, 0, 200));
  EXPECT_EQ(p.canvas.PixelAt(other.left + 6, other.bottom), tl);
  // The strip's bottom line runs on to the right edge.
  EXPECT_EQ(p.canvas.PixelAt(p.canvas.Width() - 1, other.bottom), tl);
  // The strip itself.
  EXPECT_EQ(p.canvas.PixelAt(p.canvas.Width() - 5, 3), p.Rgb(p.tab.TabStripBackColor()));
}

TEST(PaintPipeline, ThemesFromFiveOnLeaveOnlyTheClearedSurface) {
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abc"});
  p.tab.SetUseControlBox(true);
  p.tab.SetTabTheme(static_cast<TabThemes>(5));
  p.tab.Refresh();
  const Rgb back = p.Rgb(p.tab.BackColor());
  for (Pixel px : p.canvas.Pixels()) ASSERT_EQ(RgbFromPixel(px), back);
}

TEST(PaintPipeline, ThemeThreePaintsThePageOverTheTabsFromTheFirstRepaint) {
  for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
    Painted p(style, 3, {"Abc", "Abcd", "Ab"}, 300, 100, /*attach=*/false);
    p.tab.SetInActiveTabBackStartColor(kGreen);
    p.tab.SetActiveTabBackStartColor(kBlue);
    p.Attach();
    p.tab.Refresh();  // the first repaint: tabs, then the page
    const PixelRect t = p.tab.AryTabs()[1].tabRect;
    const int m = 22;
    EXPECT_EQ(p.canvas.PixelAt((t.left + t.right) / 2, m + 10), MakeRgb(0, 0, 200));
    // The inactive tab's rounded shape shows above the page only.
    EXPECT_EQ(p.canvas.PixelAt((t.left + t.right) / 2, t.top + 5), MakeRgb(0, 200, 0));
    // The page's top border is open under the active tab only.
    const PixelRect active = p.tab.AryTabs()[p.tab.ActiveTab()].tabRect;
    EXPECT_EQ(p.canvas.PixelAt((active.left + active.right) / 2, m + 1), MakeRgb(0, 0, 200));
    EXPECT_EQ(p.canvas.PixelAt((t.left + t.right) / 2, m + 1), p.Rgb(p.tab.OuterBorderColor()));
    const auto first = p.canvas.Pixels();
    p.tab.Refresh();  // later: page, tabs, page again - the same picture
    EXPECT_EQ(p.canvas.Pixels(), first);
  }
}

TEST(PaintPipeline, ARefreshDuringARepaintIsIgnored) {
  Painted p(TabStyles::TabbedDialog, 0, {"Abc", "Abc"});
  // The page colour differs from the background colour, so the background
  // pass sets BackColor, whose setter asks for a repaint in the middle.
  p.tab.SetActiveTabBackEndColor(kRed);
  p.log.clear();
  p.tab.SetActiveTabBackEndColor(kBlue);
  EXPECT_EQ(tabfakes::CountOf(p.log, "image on"), 1u);
  EXPECT_EQ(tabfakes::CountOf(p.log, "changed BackColor"), 1u);
  EXPECT_EQ(p.tab.BackColor(), kBlue);
  EXPECT_EQ(p.canvas.PixelAt(100, 60), MakeRgb(0, 0, 200));
}

TEST(PaintPipeline, FocusToggledTwiceLeavesTheImageAsItWas) {
  for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
    for (int theme = 0; theme <= 4; ++theme) {
      Painted p(style, theme, {"&Abc", "Abcd", "Ab"});
      p.tab.SetIsFocused(true);
      p.tab.Refresh();
      const auto before = p.canvas.Pixels();
      p.tab.pShowHideFocus();
      EXPECT_NE(p.canvas.Pixels(), before) << int(style) << theme;
      p.tab.pShowHideFocus();
      EXPECT_EQ(p.canvas.Pixels(), before) << int(style) << theme;
    }
  }
}

TEST(PaintPipeline, TheFocusMarkNeedsRunModeFocusAndTheSwitch) {
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abc"});
  p.tab.Refresh();
  const auto unfocused = p.canvas.Pixels();
  p.tab.SetIsFocused(true);
  p.tab.SetShowFocusRect(false);
  EXPECT_EQ(p.canvas.Pixels(), unfocused);
  p.host.userMode = false;
  p.tab.SetShowFocusRect(true);
  EXPECT_EQ(p.canvas.Pixels(), unfocused);
  p.host.userMode = true;
  p.tab.Refresh();
  EXPECT_NE(p.canvas.Pixels(), unfocused);

  // Focus that arrives inside a switch, while the control is busy (its
  // holder focusing it from the switch's handler), shows once it is over.
  p.tab.SetIsFocused(false);
  p.tab.Refresh();
  p.tab.SetBusy(true);
  p.tab.SetActiveTab(1);
  p.tab.SetIsFocused(true);
  p.tab.pShowHideFocus();
  p.tab.SetBusy(false);
  const auto afterSwitch = p.canvas.Pixels();
  p.tab.Refresh();
  EXPECT_EQ(p.canvas.Pixels(), afterSwitch);
}

TEST(PaintPipeline, WheelStopsAtBothEnds) {
  Painted p(TabStyles::TabbedDialog, 0, {"A", "B", "C"});
  std::int32_t towardsUser = -120, away = 120;
  p.tab.ScrollTabs(away);
  EXPECT_EQ(p.tab.ActiveTab(), 0);
  p.tab.ScrollTabs(towardsUser);
  EXPECT_EQ(p.tab.ActiveTab(), 1);
  p.tab.SetActiveTab(2);
  p.tab.ScrollTabs(towardsUser);
  EXPECT_EQ(p.tab.ActiveTab(), 2);
  p.tab.ScrollTabs(away);
  EXPECT_EQ(p.tab.ActiveTab(), 1);
}

TEST(ControlBox, DrawnOnEveryTabAndRedrawnByStateOutsideThemeZero) {
  for (int theme : {0, 1}) {
    Painted p(TabStyles::TabbedDialog, theme, {"Abc", "Abc", "Abc"});
    p.tab.SetActiveTabBackStartColor(kGreen);
    p.tab.SetActiveTabBackEndColor(kGreen);
    p.tab.SetOuterBorderColor(RgbColor(220, 220, 220));
    p.tab.SetUseControlBox(true);
    const PixelRect box = p.tab.AryTabs()[2].controlBoxRect;
    // Outline in the outer colour, gradient inside, the X 192 darker.
    EXPECT_EQ(p.canvas.PixelAt(box.left, box.top + 4), MakeRgb(220, 220, 220));
    EXPECT_EQ(p.canvas.PixelAt(box.left + 1, box.top + 1), MakeRgb(0, 200, 0));
    EXPECT_EQ(p.canvas.PixelAt(box.left + 3, box.top + 3), MakeRgb(28, 28, 28));
    const auto normal = p.canvas.Pixels();
    p.tab.DrawControlBox(ControlBoxState::Pressed, 2);
    if (theme == 0) {
      EXPECT_EQ(p.canvas.Pixels(), normal);
    } else {
      EXPECT_EQ(p.canvas.PixelAt(box.left + 1, box.top + 1), MakeRgb(0, 152, 0));
      p.tab.DrawControlBox(ControlBoxState::Normal, 2);
      EXPECT_EQ(p.canvas.Pixels(), normal);
    }
  }
}

TEST(Hover, BandOnTheHoveredTabGoesAwayWhenTheHoverEnds) {
  for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
    Painted p(style, 1, {"Abc", "Abc", "Abc"});
    p.tab.SetHoverColor(RgbColor(255, 199, 59));
    p.tab.Refresh();
    const auto resting = p.canvas.Pixels();
    const PixelRect t = p.tab.AryTabs()[2].tabRect;
    p.tab.Hover().drawn = true;
    p.tab.Hover().rect = t;
    p.tab.pDrawOverXOred();
    // Middle row of the band in the hover colour itself.
    EXPECT_EQ(p.canvas.PixelAt((t.left + t.right) / 2, t.top + 1), MakeRgb(255, 199, 59));
    p.tab.Hover().drawn = false;
    p.tab.pDrawOverXOred();
    EXPECT_EQ(p.canvas.Pixels(), resting);
  }
}

TEST(Hover, TheActiveTabCarriesTheBandInTheFocusedColour) {
  Painted p(TabStyles::PropertyPages, 4, {"Abc", "Abc"});
  p.tab.SetFocusedColor(RgbColor(0, 68, 211));
  const PixelRect t = p.tab.AryTabs()[0].tabRect;
  EXPECT_EQ(p.canvas.PixelAt((t.left + t.right) / 2, t.top + 1), MakeRgb(0, 68, 211));
  // Not in the other themes.
  p.tab.SetTabTheme(TabThemes::System);
  p.tab.SetFocusedColor(RgbColor(0, 68, 211));
  EXPECT_NE(p.canvas.PixelAt((t.left + t.right) / 2, t.top + 1), MakeRgb(0, 68, 211));
}

TEST(Pictures, MaskedAtTheLeftPaintedAtTheRight) {
  Bitmap icon(16, 16, MakeRgb(255, 0, 255));
  icon.Set(0, 0, MakeRgb(1, 2, 3));
  Painted p(TabStyles::PropertyPages, 0, {"Abc", "Abc"});
  p.tab.SetPictureMaskColor(RgbColor(255, 0, 255));
  p.tab.SetTabPicture(1, MakePixelPicture(icon));
  const PixelRect t = p.tab.AryTabs()[1].tabRect;
  // Caption rectangle (L+2, T+2, R-3, B); P = 16; top = T+2 + round((B-T-2-16)/2).
  const int top = t.top + 2 + (t.bottom - t.top - 2 - 16) / 2;
  EXPECT_EQ(p.canvas.PixelAt(t.left + 4, top), MakeRgb(1, 2, 3));
  EXPECT_NE(p.canvas.PixelAt(t.left + 5, top + 1), MakeRgb(255, 0, 255));
  // At the right and without the mask colour: painted whole, ending at the
  // caption rectangle's right edge.
  p.tab.SetUseMaskColor(false);
  p.tab.SetPictureAlign(PictureAlignments::Right);
  EXPECT_EQ(p.canvas.PixelAt(t.right - 3 - 16, top), MakeRgb(1, 2, 3));
  EXPECT_EQ(p.canvas.PixelAt(t.right - 3 - 1, top + 1), MakeRgb(255, 0, 255));
}

TEST(DrawCache, PictureSizeFollowsTheSystemIconWidths) {
  Painted p(TabStyles::PropertyPages, 0, {"A"});
  EXPECT_EQ(pGetCachedProperties(p.tab, p.canvas).pictureSize, 16);
  p.tab.SetPictureSize(PictureSizes::Large);
  const DrawCache cache = pGetCachedProperties(p.tab, p.canvas);
  EXPECT_EQ(cache.pictureSize, 32);
  EXPECT_EQ(cache.hDC, &p.canvas);
  EXPECT_EQ(cache.scaleWidth, p.canvas.Width());
}

TEST(ControlPrimitivesTest, ColoursComeBackTranslated) {
  Painted p(TabStyles::PropertyPages, 0, {"A"});
  ControlPrimitives prim(p.tab, p.canvas);
  const Color face = p.system.colors.SysColor(kColorButtonFace);
  Color line = SystemColor(kColorButtonFace);
  prim.APILine(0, 0, 5, 0, line);
  EXPECT_EQ(line, face);
  EXPECT_EQ(p.canvas.PixelAt(4, 0), face);
  Color start = SystemColor(kColorButtonShadow);
  Color end = SystemColor(kColorButtonHighlight);
  prim.pFillCurvedGradient(0, 10, 10, 20, start, end, -1, false, false);
  EXPECT_EQ(start, p.system.colors.SysColor(kColorButtonShadow));
  EXPECT_EQ(end, p.system.colors.SysColor(kColorButtonHighlight));
  EXPECT_EQ(p.canvas.PixelAt(3, 20), end);
  Color fill = SystemColor(kColorDarkShadow3D);
  prim.APIFillRectByCoords(20, 20, 4, 4, fill);
  EXPECT_EQ(fill, p.system.colors.SysColor(kColorDarkShadow3D));
  Color mask = SystemColor(kColorButtonFace);
  prim.DrawImage(Bitmap(2, 2, face), mask, 30, 30, 2, 2);
  EXPECT_EQ(mask, face);
}

}  // namespace
