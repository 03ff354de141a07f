// ucPageTab: construction, properties, repaint requests, themes and colours.
// The tab collection is in uc_page_tab_tabs.cpp, the property set in
// uc_page_tab_persistence.cpp.
#include "tabctl/uc_page_tab.h"

#include <algorithm>

#include "gfx/access_prefix.h"
#include "platform/text.h"
#include "tabctl/themes.h"

namespace tabctl {
namespace {

// Sets a flag for the length of a scope and gives it its previous value
// back when the scope ends, also on an error.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

bool IsCharacterCode(std::int32_t code) {
  return code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

}  // namespace

std::int32_t NormalizeAccessKey(std::int32_t character) {
  return character >= 'a' && character <= 'z' ? character - ('a' - 'A') : character;
}

std::int32_t AccessKeyOf(std::string_view caption) {
  const PrefixedText text = ApplyAccessPrefixes(caption);
  if (text.marked < 0) return 0;
  return NormalizeAccessKey(static_cast<std::int32_t>(text.shown[static_cast<std::size_t>(text.marked)]));
}

ucPageTab::ucPageTab(TabHost& host, TabSystem& system) : host_(host), system_(system) {}

ucPageTab::~ucPageTab() { Terminate(); }

template <typename T>
void ucPageTab::StoreAndRepaint(T& member, const T& value, const char* name) {
  Guarded(name, [&] {
    member = value;
    Refresh();
    host_.PropertyChanged(name);
  });
}

bool ucPageTab::RunMode() {
  // A container that cannot answer counts as design time.
  try {
    return host_.UserMode();
  } catch (...) {
    return false;
  }
}

// ---- colours ----

void ucPageTab::SetActiveTabBackEndColor(Color c) {
  StoreAndRepaint(activeTabBackEndColor_, c, "ActiveTabBackEndColor");
}
void ucPageTab::SetActiveTabBackStartColor(Color c) {
  StoreAndRepaint(activeTabBackStartColor_, c, "ActiveTabBackStartColor");
}
void ucPageTab::SetActiveTabForeColor(Color c) {
  StoreAndRepaint(activeTabForeColor_, c, "ActiveTabForeColor");
}
void ucPageTab::SetBottomRightInnerBorderColor(Color c) {
  StoreAndRepaint(bottomRightInnerBorderColor_, c, "BottomRightInnerBorderColor");
}
void ucPageTab::SetDisabledTabBackColor(Color c) {
  StoreAndRepaint(disabledTabBackColor_, c, "DisabledTabBackColor");
}
void ucPageTab::SetDisabledTabForeColor(Color c) {
  StoreAndRepaint(disabledTabForeColor_, c, "DisabledTabForeColor");
}
void ucPageTab::SetForeColor(Color c) { StoreAndRepaint(foreColor_, c, "ForeColor"); }
void ucPageTab::SetHoverColor(Color c) { StoreAndRepaint(hoverColor_, c, "HoverColor"); }
void ucPageTab::SetInActiveTabBackEndColor(Color c) {
  StoreAndRepaint(inActiveTabBackEndColor_, c, "InActiveTabBackEndColor");
}
void ucPageTab::SetInActiveTabBackStartColor(Color c) {
  StoreAndRepaint(inActiveTabBackStartColor_, c, "InActiveTabBackStartColor");
}
void ucPageTab::SetInActiveTabForeColor(Color c) {
  StoreAndRepaint(inActiveTabForeColor_, c, "InActiveTabForeColor");
}
void ucPageTab::SetOuterBorderColor(Color c) { StoreAndRepaint(outerBorderColor_, c, "OuterBorderColor"); }
void ucPageTab::SetPictureMaskColor(Color c) { StoreAndRepaint(pictureMaskColor_, c, "PictureMaskColor"); }
void ucPageTab::SetTabStripBackColor(Color c) { StoreAndRepaint(tabStripBackColor_, c, "TabStripBackColor"); }
void ucPageTab::SetTopLeftInnerBorderColor(Color c) {
  StoreAndRepaint(topLeftInnerBorderColor_, c, "TopLeftInnerBorderColor");
}
void ucPageTab::SetBackColor(Color c) { StoreAndRepaint(backColor_, c, "BackColor"); }

void ucPageTab::SetFocusedColor(Color c) {
  Guarded("FocusedColor", [&] {
    focusedColor_ = c;
    Refresh();
    pDrawOverXOred();
    host_.PropertyChanged("FocusedColor");
  });
}

// ---- fonts, sizes, styles, switches ----

void ucPageTab::SetActiveTabFont(const TabFont& font) {
  StoreAndRepaint(activeTabFont_, font, "ActiveTabFont");
}
void ucPageTab::SetInActiveTabFont(const TabFont& font) {
  StoreAndRepaint(inActiveTabFont_, font, "InActiveTabFont");
}
void ucPageTab::SetActiveTabHeight(std::int32_t pixels) {
  StoreAndRepaint(activeTabHeight_, pixels, "ActiveTabHeight");
}
void ucPageTab::SetInActiveTabHeight(std::int32_t pixels) {
  StoreAndRepaint(inActiveTabHeight_, pixels, "InActiveTabHeight");
}
void ucPageTab::SetXRadius(std::int32_t pixels) { StoreAndRepaint(xRadius_, pixels, "XRadius"); }
void ucPageTab::SetYRadius(std::int32_t pixels) { StoreAndRepaint(yRadius_, pixels, "YRadius"); }
void ucPageTab::SetPictureAlign(PictureAlignments align) {
  StoreAndRepaint(pictureAlign_, align, "PictureAlign");
}
void ucPageTab::SetPictureSize(PictureSizes size) { StoreAndRepaint(pictureSize_, size, "PictureSize"); }
void ucPageTab::SetTabStyle(TabStyles style) { StoreAndRepaint(tabStyle_, style, "TabStyle"); }
void ucPageTab::SetShowFocusRect(bool on) { StoreAndRepaint(showFocusRect_, on, "ShowFocusRect"); }
void ucPageTab::SetUseControlBox(bool on) { StoreAndRepaint(useControlBox_, on, "UseControlBox"); }
void ucPageTab::SetUseFocusedColor(bool on) { StoreAndRepaint(useFocusedColor_, on, "UseFocusedColor"); }
void ucPageTab::SetUseMaskColor(bool on) { StoreAndRepaint(useMaskColor_, on, "UseMaskColor"); }

void ucPageTab::SetUseMouseWheelScroll(bool on) {
  // Only the input reads it: nothing to redraw.
  Guarded("UseMouseWheelScroll", [&] {
    useMouseWheelScroll_ = on;
    host_.PropertyChanged("UseMouseWheelScroll");
  });
}

void ucPageTab::SetEnabled(bool enabled) {
  Guarded("Enabled", [&] {
    enabled_ = enabled;
    host_.SetWindowEnabled(enabled);
    Refresh();
    host_.PropertyChanged("Enabled");
  });
}

void ucPageTab::SetTabTheme(TabThemes theme) {
  Guarded("TabTheme", [&] {
    tabTheme_ = theme;
    ResetColorsToDefault();
    Refresh();
    host_.RepaintWindow();
    host_.PropertyChanged("TabTheme");
  });
}

void ucPageTab::SetUseThemeDetection(bool on) {
  Guarded("UseThemeDetection", [&] {
    useThemeDetection_ = on;
    if (on) SetTabTheme(IsWinXP() ? TabThemes::LightVisual : TabThemes::System);
    Refresh();
    // The holder has always been told this name; saved sets rely on it.
    host_.PropertyChanged("UseUseThemeDetection");
  });
}

void ucPageTab::SetBusy(bool busy) {
  busy_ = busy;
  // The holder may focus the control from inside a switch (its TabSwitch
  // handler moving the focus off a page that went out of sight): the mark
  // could not be toggled then, so the strip is drawn anew as it is now.
  if (busy_ || !focusMarkStale_) return;
  try {
    Refresh();
  } catch (const ControlError&) {
    // Cleared from scope ends too, where nothing may be thrown: the old
    // image stays, and the next repaint draws the mark.
  }
}

void ucPageTab::SetIsFocused(bool focused) {
  Guarded("IsFocused", [&] {
    isFocused_ = focused;
    host_.RepaintWindow();
  });
}

// ---- window ----

platform::WindowHandle ucPageTab::hwnd() {
  return Guarded("hwnd", [&] { return host_.WindowHandle(); });
}
std::int32_t ucPageTab::ScaleWidth() {
  return Guarded("ScaleWidth", [&] { return host_.ClientWidth(); });
}
std::int32_t ucPageTab::ScaleHeight() {
  return Guarded("ScaleHeight", [&] { return host_.ClientHeight(); });
}

// ---- themes and colours ----

void ucPageTab::ApplyTheme(TabThemes theme) {
  const auto set = ThemeColors(theme, system_);
  if (!set) return;
  auto assign = [](Color& member, const std::optional<Color>& value) {
    if (value) member = *value;
  };
  assign(activeTabBackStartColor_, set->activeTabBackStartColor);
  assign(activeTabBackEndColor_, set->activeTabBackEndColor);
  assign(activeTabForeColor_, set->activeTabForeColor);
  assign(inActiveTabBackStartColor_, set->inActiveTabBackStartColor);
  assign(inActiveTabBackEndColor_, set->inActiveTabBackEndColor);
  assign(inActiveTabForeColor_, set->inActiveTabForeColor);
  assign(tabStripBackColor_, set->tabStripBackColor);
  assign(disabledTabBackColor_, set->disabledTabBackColor);
  assign(disabledTabForeColor_, set->disabledTabForeColor);
  assign(outerBorderColor_, set->outerBorderColor);
  assign(topLeftInnerBorderColor_, set->topLeftInnerBorderColor);
  assign(bottomRightInnerBorderColor_, set->bottomRightInnerBorderColor);
  assign(hoverColor_, set->hoverColor);
  assign(focusedColor_, set->focusedColor);
  if (theme == TabThemes::LightBeige) {
    assign(pictureMaskColor_, set->pictureMaskColor);
    pictureSize_ = PictureSizes::Small;
    useFocusedColor_ = true;
    useMaskColor_ = true;
    useThemeDetection_ = false;
  }
}

void ucPageTab::ResetColorsToDefault() {
  Guarded("ResetColorsToDefault", [&] {
    host_.SetPersistentImage(false);
    ApplyTheme(tabTheme_);
  });
}

void ucPageTab::ResetAllColors() {
  Guarded("ResetAllColors", [&] {
    {
      FlagScope busy(busy_);
      ResetColorsToDefault();
    }
    Refresh();
  });
}

Color ucPageTab::GetRGBFromOLE(Color color) {
  return Guarded("GetRGBFromOLE", [&] { return tabctl::GetRGBFromOLE(color, system_); });
}

Color ucPageTab::OffsetColor(Color color, std::int32_t offset) {
  return Guarded("OffsetColor", [&] { return tabctl::OffsetColor(color, offset, system_); });
}

Color ucPageTab::BlendColor(Color colorA, Color colorB, std::int32_t alpha) {
  return tabctl::BlendColor(colorA, colorB, alpha);
}

bool ucPageTab::IsWinXP() {
  return Guarded("IsWinXP", [&] { return IsWinXPVersion(system_.VersionEx()); });
}

std::string ucPageTab::GetThemeInfo() {
  return Guarded("GetThemeInfo", [&] {
    const bool xp = IsWinXP();
    return ThemeInfoFrom(xp, xp ? system_.CurrentThemeColorBuffer() : std::nullopt);
  });
}

// ---- drawing entry points ----

void ucPageTab::Refresh() {
  Guarded("Refresh", [&] {
    if (busy_) return;
    {
      FlagScope busy(busy_);
      host_.SetPersistentImage(true);
      if (!initialised_) {
        const bool runMode = RunMode();
        initialised_ = true;
        if (runMode) Events().AfterCompleteInit();
      }
      if (useThemeDetection_) {
        // Stored directly: the colours stay as they are and nothing is saved.
        tabTheme_ = GetThemeInfo() == "None" ? TabThemes::System : TabThemes::LightVisual;
      }
      // Drawn from the focus state as it is now, whatever toggles were missed.
      focusMarkStale_ = false;
      if (renderer_) renderer_->DrawMe(*this);
      if (!RunMode()) host_.SetPersistentImage(false);
    }
    host_.RepaintWindow();
  });
}

void ucPageTab::DrawTabs() {
  Guarded("DrawTabs", [&] {
    if (renderer_) renderer_->DrawTabs(*this);
  });
}

void ucPageTab::ShowHideFocus() {
  Guarded("ShowHideFocus", [&] {
    if (renderer_) renderer_->ShowHideFocus(*this);
  });
}

void ucPageTab::pShowHideFocus() {
  Guarded("pShowHideFocus", [&] {
    if (busy_) {
      focusMarkStale_ = true;
      return;
    }
    {
      FlagScope busy(busy_);
      if (initialised_) {
        host_.SetPersistentImage(true);
        ShowHideFocus();
        host_.SetPersistentImage(false);
      } else {
        ShowHideFocus();
      }
    }
    host_.RepaintWindow();
  });
}

void ucPageTab::pDrawOverXOred() {
  Guarded("pDrawOverXOred", [&] {
    if (renderer_) renderer_->DrawOverXOred(*this);
  });
}

void ucPageTab::DrawControlBox(ControlBoxState state, std::int32_t index) {
  Guarded("DrawControlBox", [&] {
    if (renderer_) renderer_->DrawControlBox(*this, state, index);
    host_.RepaintWindow();
  });
}

void ucPageTab::ScrollTabs(std::int32_t direction) {
  Guarded("ScrollTabs", [&] {
    // Towards the user the next tab, away from the user the previous one,
    // passing over disabled tabs as a mouse click would; nothing at the ends.
    const std::int32_t step = direction < 0 ? 1 : -1;
    for (std::int32_t tab = activeTab_ + step; tab >= 0 && tab < tabCount_; tab += step) {
      if (TabEnabled(tab)) {
        SetActiveTab(tab);
        return;
      }
    }
  });
}

// ---- other operations ----

std::string ucPageTab::Version(bool withDate) const {
  std::string version = "1.0.85";
  if (withDate) version += " (11/13/2006 8:07:02 AM )";
  return version;
}

std::string ucPageTab::ShowFileOpenDialog(platform::WindowHandle owner, const std::string& initialDirectory,
                                          const std::string& filter) {
  // A dialog that cannot be shown is the same as one that was cancelled.
  try {
    return system_.ShowOpenFileDialog(owner, initialDirectory, BuildOpenFileFilter(filter), "Open File");
  } catch (...) {
    return {};
  }
}

// ---- state shared with drawing and input ----

void ucPageTab::SetTabLayout(std::int32_t index, const PixelRect& tabRect, const PixelRect& controlBoxRect) {
  Guarded("SetTabLayout", [&] {
    CheckIndex(index);
    auto& tab = tabs_[static_cast<std::size_t>(index)];
    tab.tabRect = tabRect;
    tab.controlBoxRect = controlBoxRect;
  });
}

void ucPageTab::StoreTabLayout(std::span<const TabGeometry> layout) {
  const std::size_t count = std::min(layout.size(), tabs_.size());
  for (std::size_t i = 0; i < count; ++i) {
    tabs_[i].tabRect = layout[i].tabRect;
    tabs_[i].controlBoxRect = layout[i].controlBoxRect;
  }
  laidOut_ = true;
}

void ucPageTab::EnsureTabLayout() {
  if (!laidOut_ && renderer_ != nullptr) renderer_->LayOutTabs(*this);
}

std::int32_t ucPageTab::TabAccessKey(std::int32_t index) const {
  if (index < 0 || index >= tabCount_) return 0;
  return tabs_[static_cast<std::size_t>(index)].accessKey;
}

void ucPageTab::RebuildAccessKeys() {
  std::string keys;
  for (const TabEntry& tab : tabs_) {
    if (IsCharacterCode(tab.accessKey)) keys += platform::EncodeUtf8(static_cast<char32_t>(tab.accessKey));
  }
  accessKeys_ = keys;
  host_.SetAccessKeys(accessKeys_);
}

}  // namespace tabctl
