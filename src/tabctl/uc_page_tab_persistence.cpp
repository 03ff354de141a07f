// ucPageTab: a new control's values, and saving and reading the property set.
#include <algorithm>
#include <climits>
#include <string>
#include <type_traits>
#include <variant>

#include "tabctl/uc_page_tab.h"

namespace tabctl {
namespace {

// Defaults of the saved set (a value equal to its default is not stored).
constexpr std::int32_t kDefaultTabCount = 3;
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

struct ucPageTab::SavedProperty {
  using Member = std::variant<bool ucPageTab::*, std::int32_t ucPageTab::*, Color ucPageTab::*,
                              TabFont ucPageTab::*, PictureAlignments ucPageTab::*, PictureSizes ucPageTab::*,
                              TabStyles ucPageTab::*, TabThemes ucPageTab::*>;
  // Where the default comes from: the row's value, or the container.
  enum class From { Value, ContainerFont, ContainerBack };

  const char* name;
  Member member;
  std::int64_t value = 0;
  From from = From::Value;
  // A whole number outside [low, high] is a damaged set.
  std::int32_t low = INT32_MIN;
  std::int32_t high = INT32_MAX;
};

// In the order they are written, after the tabs and ActiveTab.
std::span<const ucPageTab::SavedProperty> ucPageTab::SavedProperties() {
  using enum SavedProperty::From;
  static const SavedProperty kTable[] = {
      {"ActiveTabBackEndColor", &ucPageTab::activeTabBackEndColor_, kSysButtonFace},
      {"ActiveTabBackStartColor", &ucPageTab::activeTabBackStartColor_, kSysButtonFace},
      {"ActiveTabFont", &ucPageTab::activeTabFont_, 0, ContainerFont},
      {"ActiveTabForeColor", &ucPageTab::activeTabForeColor_, kSysButtonText},
      {"ActiveTabHeight", &ucPageTab::activeTabHeight_, kDefaultActiveTabHeight, Value, 0, kMaxTabHeight},
      {"BackColor", &ucPageTab::backColor_, kSysButtonFace},
      {"BottomRightInnerBorderColor", &ucPageTab::bottomRightInnerBorderColor_, kSysButtonShadow},
      {"DisabledTabBackColor", &ucPageTab::disabledTabBackColor_, kSysButtonShadow},
      {"DisabledTabForeColor", &ucPageTab::disabledTabForeColor_, kSysButtonHighlight},
      {"Enabled", &ucPageTab::enabled_, true},
      {"FocusedColor", &ucPageTab::focusedColor_, kDefaultFocusedColor},
      {"ForeColor", &ucPageTab::foreColor_, 0},
      {"HoverColor", &ucPageTab::hoverColor_, kDefaultHoverColor},
      {"InActiveTabBackEndColor", &ucPageTab::inActiveTabBackEndColor_, kSysButtonFace},
      {"InActiveTabBackStartColor", &ucPageTab::inActiveTabBackStartColor_, kSysButtonFace},
      {"InActiveTabFont", &ucPageTab::inActiveTabFont_, 0, ContainerFont},
      {"InActiveTabForeColor", &ucPageTab::inActiveTabForeColor_, kSysButtonText},
      {"InActiveTabHeight", &ucPageTab::inActiveTabHeight_, kDefaultInActiveTabHeight, Value, 0,
       kMaxTabHeight},
      {"OuterBorderColor", &ucPageTab::outerBorderColor_, kSysDarkShadow3D},
      {"PictureAlign", &ucPageTab::pictureAlign_, 0},
      {"PictureMaskColor", &ucPageTab::pictureMaskColor_, kDefaultMaskColor},
      {"PictureSize", &ucPageTab::pictureSize_, 0},
      {"ShowFocusRect", &ucPageTab::showFocusRect_, true},
      {"TabStripBackColor", &ucPageTab::tabStripBackColor_, 0, ContainerBack},
      {"TabStyle", &ucPageTab::tabStyle_, 0},
      {"TabTheme", &ucPageTab::tabTheme_, 0},
      {"TopLeftInnerBorderColor", &ucPageTab::topLeftInnerBorderColor_, kSysButtonHighlight},
      {"UseControlBox", &ucPageTab::useControlBox_, false},
      {"UseFocusedColor", &ucPageTab::useFocusedColor_, true},
      {"UseMaskColor", &ucPageTab::useMaskColor_, true},
      {"UseMouseWheelScroll", &ucPageTab::useMouseWheelScroll_, true},
      {"UseThemeDetection", &ucPageTab::useThemeDetection_, false},
      {"XRadius", &ucPageTab::xRadius_, kDefaultRadius},
      {"YRadius", &ucPageTab::yRadius_, kDefaultRadius},
  };
  return kTable;
}

std::span<const std::string_view> ucPageTab::PropertyNames() {
  // Saved under their own keys or per tab, or not saved at all; every other
  // property comes from the saved table, so a new row there is named here
  // without a second list to keep.
  static constexpr std::string_view kOutsideTable[] = {
      "ActiveTab",    "Font",       "hwnd",     "LastActiveTab", "ScaleHeight", "ScaleWidth",
      "TabAccessKey", "TabCaption", "TabCount", "TabEnabled",    "TabPicture",
  };
  static const std::vector<std::string_view> kNames = [] {
    std::vector<std::string_view> names(std::begin(kOutsideTable), std::end(kOutsideTable));
    for (const SavedProperty& row : SavedProperties()) names.emplace_back(row.name);
    std::sort(names.begin(), names.end());
    return names;
  }();
  return kNames;
}

namespace {

using SavedProperty = ucPageTab::SavedProperty;

// The row's default as a value of the member's type.
template <typename T>
T DefaultOf(const SavedProperty& row, const TabFont& containerFont, Color containerBack) {
  if constexpr (std::is_same_v<T, TabFont>) {
    return containerFont;
  } else if constexpr (std::is_same_v<T, Color>) {
    return row.from == SavedProperty::From::ContainerBack ? containerBack : static_cast<Color>(row.value);
  } else {
    return static_cast<T>(row.value);
  }
}

template <typename T>
T ReadOf(const PropertyBag& bag, const char* name, const T& fallback) {
  if constexpr (std::is_same_v<T, TabFont>) {
    return bag.ReadFont(name, fallback);
  } else if constexpr (std::is_same_v<T, Color>) {
    return bag.ReadColor(name, fallback);
  } else if constexpr (std::is_same_v<T, bool>) {
    return bag.ReadBool(name, fallback);
  } else {
    return static_cast<T>(bag.ReadInt(name, static_cast<std::int32_t>(fallback)));
  }
}

template <typename T>
void WriteOf(PropertyBag& bag, const char* name, const T& value, const T& fallback) {
  if constexpr (std::is_same_v<T, TabFont>) {
    bag.WriteFont(name, value, fallback);
  } else if constexpr (std::is_same_v<T, Color>) {
    bag.WriteColor(name, value, fallback);
  } else if constexpr (std::is_same_v<T, bool>) {
    bag.WriteBool(name, value, fallback);
  } else {
    bag.WriteInt(name, static_cast<std::int32_t>(value), static_cast<std::int32_t>(fallback));
  }
}

template <typename T>
using MemberType = std::remove_reference_t<decltype(std::declval<ucPageTab&>().*std::declval<T>())>;

}  // namespace

void ucPageTab::ApplySavedDefaults(const TabFont& containerFont, Color containerBack) {
  for (const SavedProperty& row : SavedProperties()) {
    std::visit(
        [&](auto member) {
          using T = MemberType<decltype(member)>;
          this->*member = DefaultOf<T>(row, containerFont, containerBack);
        },
        row.member);
  }
}

void ucPageTab::InitProperties() {
  Guarded("UserControl_InitProperties", [&] {
    activeTab_ = 0;
    lastActiveTab_ = 0;
    hotTab_ = 0;
    const TabFont containerFont = host_.AmbientFont();
    ApplySavedDefaults(containerFont, host_.AmbientBackColor());
    // A new control's active tab font is bold, though the key's default is
    // the container's font.
    activeTabFont_ = Bolded(containerFont);
    baseFont_ = containerFont;

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

void ucPageTab::ReadSavedTable(const PropertyBag& bag, const TabFont& containerFont, Color containerBack,
                               std::vector<std::string>& notes) {
  for (const SavedProperty& row : SavedProperties()) {
    std::visit(
        [&](auto member) {
          using T = MemberType<decltype(member)>;
          const T fallback = DefaultOf<T>(row, containerFont, containerBack);
          this->*member = ReadOf<T>(bag, row.name, fallback);
        },
        row.member);
  }
  for (const SavedProperty& row : SavedProperties()) {
    if (const auto* member = std::get_if<std::int32_t ucPageTab::*>(&row.member)) {
      if (this->*(*member) < row.low || this->*(*member) > row.high) {
        notes.push_back(row.name);
        this->*(*member) = static_cast<std::int32_t>(row.value);
      }
    }
  }
}

void ucPageTab::ReadTabs(const PropertyBag& bag, std::int32_t tabCount, std::vector<std::string>& notes) {
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
}

std::vector<std::string> ucPageTab::ReadProperties(const PropertyBag& bag) {
  return Guarded("UserControl_ReadProperties", [&] {
    const std::size_t misfitsBefore = bag.Misfits().size();
    std::vector<std::string> notes;
    const TabFont containerFont = host_.AmbientFont();

    // Straight into the state: no setters, no repaint, no notices. Values
    // no control can have are a damaged set: the key's default serves
    // instead, as for a value of the wrong kind.
    const std::int32_t activeTab = bag.ReadInt("ActiveTab", 0);
    std::int32_t tabCount = bag.ReadInt("TabCount", kDefaultTabCount);
    if (tabCount < 1 || tabCount > kMaxTabCount) {
      notes.push_back("TabCount");
      tabCount = kDefaultTabCount;
    }
    ReadSavedTable(bag, containerFont, host_.AmbientBackColor(), notes);

    host_.SetWindowEnabled(enabled_);
    baseFont_ = containerFont;
    pageStride_ = ComputePageStride();

    ReadTabs(bag, tabCount, notes);
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
    notes.insert(notes.begin(), misfits.begin() + static_cast<std::ptrdiff_t>(misfitsBefore), misfits.end());
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
    for (const SavedProperty& row : SavedProperties()) {
      std::visit(
          [&](auto member) {
            using T = MemberType<decltype(member)>;
            const T fallback = DefaultOf<T>(row, containerFont, containerBack);
            WriteOf<T>(bag, row.name, this->*member, fallback);
          },
          row.member);
    }
  });
}

}  // namespace tabctl
