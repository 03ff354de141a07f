// ucPageTab: a new control's values, and saving and reading the property set.
#include "tabctl/uc_page_tab.h"

#include <string>

namespace tabctl {
namespace {

// Defaults of the saved set (a value equal to its default is not stored).
constexpr std::int32_t kDefaultTabCount = 3;
constexpr Color kButtonFace = 0x8000000F;
constexpr Color kButtonShadow = 0x80000010;
constexpr Color kButtonText = 0x80000012;
constexpr Color kButtonHighlight = 0x80000014;
constexpr Color kDarkShadow3D = 0x80000015;
constexpr Color kDefaultFocusedColor = 0xEE8269;
constexpr Color kDefaultHoverColor = 0x3BC7FF;
constexpr Color kDefaultMaskColor = 0xC0C0C0;
constexpr std::int32_t kDefaultActiveTabHeight = 20;
constexpr std::int32_t kDefaultInActiveTabHeight = 22;
constexpr std::int32_t kDefaultRadius = 10;
// Tab heights beyond this are not a tab strip but a damaged set.
constexpr std::int32_t kMaxTabHeight = 32767;

std::string Key(const char* name, std::int32_t index) {
  return std::string(name) + "(" + std::to_string(index) + ")";
}

std::string SavedDefaultCaption(std::int32_t index) { return "Tab" + std::to_string(index); }

}  // namespace

void ucPageTab::InitProperties() {
  Guarded("UserControl_InitProperties", [&] {
    showFocusRect_ = true;
    useFocusedColor_ = true;
    useMaskColor_ = true;
    useMouseWheelScroll_ = true;
    useControlBox_ = false;
    useThemeDetection_ = false;
    pictureAlign_ = PictureAlignments::Left;
    pictureSize_ = PictureSizes::Small;
    tabStyle_ = TabStyles::TabbedDialog;
    tabTheme_ = TabThemes::System;
    activeTab_ = 0;
    lastActiveTab_ = 0;
    hotTab_ = 0;

    activeTabBackEndColor_ = kButtonFace;
    activeTabBackStartColor_ = kButtonFace;
    activeTabForeColor_ = kButtonText;
    activeTabHeight_ = kDefaultActiveTabHeight;
    bottomRightInnerBorderColor_ = kButtonShadow;
    disabledTabBackColor_ = kButtonShadow;
    disabledTabForeColor_ = kButtonHighlight;
    focusedColor_ = kDefaultFocusedColor;
    hoverColor_ = kDefaultHoverColor;
    inActiveTabBackEndColor_ = kButtonFace;
    inActiveTabBackStartColor_ = kButtonFace;
    inActiveTabForeColor_ = kButtonText;
    inActiveTabHeight_ = kDefaultInActiveTabHeight;
    outerBorderColor_ = kDarkShadow3D;
    tabStripBackColor_ = host_.AmbientBackColor();
    topLeftInnerBorderColor_ = kButtonHighlight;
    xRadius_ = kDefaultRadius;
    yRadius_ = kDefaultRadius;

    const TabFont containerFont = host_.AmbientFont();
    activeTabFont_ = Bolded(containerFont);
    inActiveTabFont_ = containerFont;
    baseFont_ = containerFont;

    backColor_ = kButtonFace;
    foreColor_ = 0;
    enabled_ = true;
    pictureMaskColor_ = kDefaultMaskColor;

    pageStride_ = ComputePageStride();
    tabs_.clear();
    tabCount_ = 0;
    ResizeTabs(kDefaultTabCount);
    tabCount_ = kDefaultTabCount;

    // The theme-0 colours replace some of the values above, which is why a
    // new control saves its disabled-tab colours.
    ResetColorsToDefault();
  });
}

std::vector<std::string> ucPageTab::ReadProperties(const PropertyBag& bag) {
  return Guarded("UserControl_ReadProperties", [&] {
    const std::size_t misfitsBefore = bag.Misfits().size();
    std::vector<std::string> notes;
    const TabFont containerFont = host_.AmbientFont();
    const Color containerBack = host_.AmbientBackColor();

    // Straight into the state: no setters, no repaint, no notices.
    const std::int32_t activeTab = bag.ReadInt("ActiveTab", 0);
    useControlBox_ = bag.ReadBool("UseControlBox", false);
    showFocusRect_ = bag.ReadBool("ShowFocusRect", true);
    useFocusedColor_ = bag.ReadBool("UseFocusedColor", true);
    useMaskColor_ = bag.ReadBool("UseMaskColor", true);
    useMouseWheelScroll_ = bag.ReadBool("UseMouseWheelScroll", true);
    useThemeDetection_ = bag.ReadBool("UseThemeDetection", false);
    pictureAlign_ = static_cast<PictureAlignments>(bag.ReadInt("PictureAlign", 0));
    pictureSize_ = static_cast<PictureSizes>(bag.ReadInt("PictureSize", 0));
    tabStyle_ = static_cast<TabStyles>(bag.ReadInt("TabStyle", 0));
    tabTheme_ = static_cast<TabThemes>(bag.ReadInt("TabTheme", 0));
    activeTabBackEndColor_ = bag.ReadColor("ActiveTabBackEndColor", kButtonFace);
    activeTabBackStartColor_ = bag.ReadColor("ActiveTabBackStartColor", kButtonFace);
    activeTabForeColor_ = bag.ReadColor("ActiveTabForeColor", kButtonText);
    activeTabHeight_ = bag.ReadInt("ActiveTabHeight", kDefaultActiveTabHeight);
    bottomRightInnerBorderColor_ = bag.ReadColor("BottomRightInnerBorderColor", kButtonShadow);
    disabledTabBackColor_ = bag.ReadColor("DisabledTabBackColor", kButtonShadow);
    disabledTabForeColor_ = bag.ReadColor("DisabledTabForeColor", kButtonHighlight);
    focusedColor_ = bag.ReadColor("FocusedColor", kDefaultFocusedColor);
    hoverColor_ = bag.ReadColor("HoverColor", kDefaultHoverColor);
    inActiveTabBackEndColor_ = bag.ReadColor("InActiveTabBackEndColor", kButtonFace);
    inActiveTabBackStartColor_ = bag.ReadColor("InActiveTabBackStartColor", kButtonFace);
    inActiveTabForeColor_ = bag.ReadColor("InActiveTabForeColor", kButtonText);
    inActiveTabHeight_ = bag.ReadInt("InActiveTabHeight", kDefaultInActiveTabHeight);
    outerBorderColor_ = bag.ReadColor("OuterBorderColor", kDarkShadow3D);
    std::int32_t tabCount = bag.ReadInt("TabCount", kDefaultTabCount);
    tabStripBackColor_ = bag.ReadColor("TabStripBackColor", containerBack);
    topLeftInnerBorderColor_ = bag.ReadColor("TopLeftInnerBorderColor", kButtonHighlight);
    xRadius_ = bag.ReadInt("XRadius", kDefaultRadius);
    yRadius_ = bag.ReadInt("YRadius", kDefaultRadius);
    activeTabFont_ = bag.ReadFont("ActiveTabFont", containerFont);
    inActiveTabFont_ = bag.ReadFont("InActiveTabFont", containerFont);

    // Values no control can have are a damaged set: the key's default
    // serves instead, as for a value of the wrong kind.
    if (tabCount < 1 || tabCount > kMaxTabCount) {
      notes.push_back("TabCount");
      tabCount = kDefaultTabCount;
    }
    if (activeTabHeight_ < 0 || activeTabHeight_ > kMaxTabHeight) {
      notes.push_back("ActiveTabHeight");
      activeTabHeight_ = kDefaultActiveTabHeight;
    }
    if (inActiveTabHeight_ < 0 || inActiveTabHeight_ > kMaxTabHeight) {
      notes.push_back("InActiveTabHeight");
      inActiveTabHeight_ = kDefaultInActiveTabHeight;
    }

    // The base control's own values.
    backColor_ = bag.ReadColor("BackColor", kButtonFace);
    enabled_ = bag.ReadBool("Enabled", true);
    host_.SetWindowEnabled(enabled_);
    foreColor_ = bag.ReadColor("ForeColor", 0);
    pictureMaskColor_ = bag.ReadColor("PictureMaskColor", kDefaultMaskColor);
    baseFont_ = containerFont;

    pageStride_ = ComputePageStride();

    // The per-tab controls count that older sets carry is not needed: the
    // page of a control is encoded in its position.
    tabs_.assign(static_cast<std::size_t>(tabCount), TabEntry{});
    for (std::int32_t i = 0; i < tabCount; ++i) {
      TabEntry& tab = tabs_[static_cast<std::size_t>(i)];
      tab.caption = bag.ReadText(Key("TabCaption", i), SavedDefaultCaption(i));
      tab.enabled = bag.ReadBool(Key("TabEnabled", i), true);
      tab.accessKey = bag.ReadInt(Key("TabAccessKey", i), 0);
      if (tab.accessKey < 0 || tab.accessKey > 0x10FFFF ||
          (tab.accessKey >= 0xD800 && tab.accessKey <= 0xDFFF)) {
        notes.push_back(Key("TabAccessKey", i));
        tab.accessKey = 0;
      }
      tab.picture = bag.ReadPicture(Key("TabPicture", i));
    }
    tabCount_ = tabCount;
    if (activeTab < 0 || activeTab >= tabCount) {
      notes.push_back("ActiveTab");
      activeTab_ = 0;
    } else {
      activeTab_ = activeTab;
    }
    lastActiveTab_ = 0;
    if (hotTab_ >= tabCount_) hotTab_ = 0;

    RebuildAccessKeys();
    if (RunMode()) host_.InstallHooks();

    const auto& misfits = bag.Misfits();
    notes.insert(notes.begin(), misfits.begin() + static_cast<std::ptrdiff_t>(misfitsBefore),
                 misfits.end());
    return notes;
  });
}

void ucPageTab::WriteProperties(PropertyBag& bag) {
  Guarded("UserControl_WriteProperties", [&] {
    const TabFont containerFont = host_.AmbientFont();
    const Color containerBack = host_.AmbientBackColor();

    bag.WriteInt("TabCount", tabCount_, kDefaultTabCount);
    for (std::int32_t i = 0; i < tabCount_; ++i) {
      const TabEntry& tab = tabs_[static_cast<std::size_t>(i)];
      bag.WriteText(Key("TabCaption", i), tab.caption, SavedDefaultCaption(i));
      bag.WriteBool(Key("TabEnabled", i), tab.enabled, true);
      bag.WriteInt(Key("TabAccessKey", i), tab.accessKey, 0);
      bag.WritePicture(Key("TabPicture", i), tab.picture);
    }
    bag.WriteInt("ActiveTab", activeTab_, 0);
    bag.WriteColor("ActiveTabBackEndColor", activeTabBackEndColor_, kButtonFace);
    bag.WriteColor("ActiveTabBackStartColor", activeTabBackStartColor_, kButtonFace);
    bag.WriteFont("ActiveTabFont", activeTabFont_, containerFont);
    bag.WriteColor("ActiveTabForeColor", activeTabForeColor_, kButtonText);
    bag.WriteInt("ActiveTabHeight", activeTabHeight_, kDefaultActiveTabHeight);
    bag.WriteColor("BackColor", backColor_, kButtonFace);
    bag.WriteColor("BottomRightInnerBorderColor", bottomRightInnerBorderColor_, kButtonShadow);
    bag.WriteColor("DisabledTabBackColor", disabledTabBackColor_, kButtonShadow);
    bag.WriteColor("DisabledTabForeColor", disabledTabForeColor_, kButtonHighlight);
    bag.WriteBool("Enabled", enabled_, true);
    bag.WriteColor("FocusedColor", focusedColor_, kDefaultFocusedColor);
    bag.WriteColor("ForeColor", foreColor_, 0);
    bag.WriteColor("HoverColor", hoverColor_, kDefaultHoverColor);
    bag.WriteColor("InActiveTabBackEndColor", inActiveTabBackEndColor_, kButtonFace);
    bag.WriteColor("InActiveTabBackStartColor", inActiveTabBackStartColor_, kButtonFace);
    bag.WriteFont("InActiveTabFont", inActiveTabFont_, containerFont);
    bag.WriteColor("InActiveTabForeColor", inActiveTabForeColor_, kButtonText);
    bag.WriteInt("InActiveTabHeight", inActiveTabHeight_, kDefaultInActiveTabHeight);
    bag.WriteColor("OuterBorderColor", outerBorderColor_, kDarkShadow3D);
    bag.WriteInt("PictureAlign", static_cast<std::int32_t>(pictureAlign_), 0);
    bag.WriteColor("PictureMaskColor", pictureMaskColor_, kDefaultMaskColor);
    bag.WriteInt("PictureSize", static_cast<std::int32_t>(pictureSize_), 0);
    bag.WriteBool("ShowFocusRect", showFocusRect_, true);
    bag.WriteColor("TabStripBackColor", tabStripBackColor_, containerBack);
    bag.WriteInt("TabStyle", static_cast<std::int32_t>(tabStyle_), 0);
    bag.WriteInt("TabTheme", static_cast<std::int32_t>(tabTheme_), 0);
    bag.WriteColor("TopLeftInnerBorderColor", topLeftInnerBorderColor_, kButtonHighlight);
    bag.WriteBool("UseControlBox", useControlBox_, false);
    bag.WriteBool("UseFocusedColor", useFocusedColor_, true);
    bag.WriteBool("UseMaskColor", useMaskColor_, true);
    bag.WriteBool("UseMouseWheelScroll", useMouseWheelScroll_, true);
    bag.WriteBool("UseThemeDetection", useThemeDetection_, false);
    bag.WriteInt("XRadius", xRadius_, kDefaultRadius);
    bag.WriteInt("YRadius", yRadius_, kDefaultRadius);
  });
}

}  // namespace tabctl
