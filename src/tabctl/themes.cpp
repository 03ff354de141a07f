#include "tabctl/themes.h"

#include <iterator>

#include "tabctl/errors.h"

namespace tabctl {

namespace {

// System-colour references the sets use.
constexpr Color kButtonFace = 0x8000000F;
constexpr Color kButtonShadow = 0x80000010;
constexpr Color kGrayText = 0x80000011;
constexpr Color kButtonText = 0x80000012;
constexpr Color kButtonHighlight = 0x80000014;
constexpr Color kDarkShadow3D = 0x80000015;
constexpr Color kLight3D = 0x80000016;

// One set per theme, in theme order; an empty field keeps the property.
const ThemeColorSet kThemeSets[] = {
    // System
    {.activeTabBackStartColor = kButtonFace,
     .activeTabBackEndColor = kButtonFace,
     .activeTabForeColor = kButtonText,
     .inActiveTabBackStartColor = kButtonFace,
     .inActiveTabBackEndColor = kButtonFace,
     .inActiveTabForeColor = kButtonText,
     .disabledTabBackColor = kButtonFace,
     .disabledTabForeColor = kDarkShadow3D,
     .outerBorderColor = kDarkShadow3D,
     .topLeftInnerBorderColor = kButtonHighlight,
     .bottomRightInnerBorderColor = kButtonShadow},
    // LightVisual
    {.activeTabBackStartColor = RgbColor(251, 253, 251),
     .activeTabBackEndColor = RgbColor(251, 253, 251),
     .activeTabForeColor = kButtonText,
     .inActiveTabBackStartColor = RgbColor(255, 255, 255),
     .inActiveTabBackEndColor = RgbColor(240, 240, 234),
     .inActiveTabForeColor = kButtonText,
     .disabledTabBackColor = kButtonFace,
     .disabledTabForeColor = RgbColor(160, 160, 160),
     .outerBorderColor = RgbColor(145, 156, 155),
     .hoverColor = RgbColor(255, 199, 59),
     .focusedColor = RgbColor(105, 130, 238)},
    // System3DLight
    {.activeTabBackStartColor = kButtonFace,
     .activeTabBackEndColor = kButtonFace,
     .activeTabForeColor = kButtonText,
     .inActiveTabBackStartColor = kLight3D,
     .inActiveTabBackEndColor = kLight3D,
     .inActiveTabForeColor = kGrayText,
     .tabStripBackColor = kLight3D,
     .disabledTabBackColor = kButtonFace,
     .disabledTabForeColor = kDarkShadow3D,
     .outerBorderColor = kButtonHighlight,
     .bottomRightInnerBorderColor = kButtonShadow},
    // FlatGrey
    {.activeTabBackStartColor = RgbColor(248, 248, 248),
     .activeTabForeColor = RgbColor(80, 109, 167),
     .inActiveTabBackStartColor = RgbColor(229, 229, 229),
     .inActiveTabForeColor = RgbColor(144, 144, 144),
     .tabStripBackColor = kButtonFace,
     .disabledTabBackColor = kButtonFace,
     .disabledTabForeColor = kDarkShadow3D,
     .outerBorderColor = RgbColor(144, 144, 144)},
    // LightBeige; its hover and focus colours follow the system (below).
    {.activeTabBackStartColor = RgbColor(251, 248, 231),
     .activeTabBackEndColor = RgbColor(240, 237, 220),
     .activeTabForeColor = kButtonText,
     .inActiveTabBackStartColor = RgbColor(240, 237, 220),
     .inActiveTabBackEndColor = RgbColor(223, 220, 203),
     .inActiveTabForeColor = kButtonText,
     .disabledTabBackColor = kButtonFace,
     .disabledTabForeColor = RgbColor(160, 160, 160),
     .outerBorderColor = RgbColor(188, 185, 168),
     .topLeftInnerBorderColor = kButtonHighlight,
     .bottomRightInnerBorderColor = kButtonShadow,
     .pictureMaskColor = RgbColor(255, 0, 255)},
};

}  // namespace

std::optional<ThemeColorSet> ThemeColors(TabThemes theme, SystemColors& system) {
  const auto index = static_cast<std::int32_t>(theme);
  if (index < 0 || index >= static_cast<std::int32_t>(std::size(kThemeSets))) return std::nullopt;
  ThemeColorSet s = kThemeSets[index];
  if (theme == TabThemes::LightBeige) {
    // A shade either side of the system's inactive caption colour.
    IgnoringErrors([&] { s.hoverColor = OffsetColor(SystemColor(kColorInactiveCaption), 16, system); });
    IgnoringErrors([&] { s.focusedColor = OffsetColor(SystemColor(kColorInactiveCaption), -16, system); });
  }
  return s;
}

bool IsWinXPVersion(const std::optional<OsVersionInfo>& version) {
  return version && version->platformId == 2 && version->major == 5 && version->minor == 1 &&
         version->build >= 2600;
}

std::string ThemeInfoFrom(bool isWinXP, const std::optional<std::string>& colorBuffer) {
  if (!isWinXP) return "None";
  if (!colorBuffer) return "UxTheme_Error";
  std::string name = *colorBuffer;
  const auto lastNul = name.rfind('\0');
  if (lastNul != std::string::npos) name.erase(lastNul + 1);
  std::erase(name, '\0');
  return name.empty() ? "None" : name;
}

std::string BuildOpenFileFilter(std::string_view filter) {
  std::string result = filter.empty() ? std::string("All Files (*.*)|*.*") : std::string(filter);
  for (char& c : result) {
    if (c == '|') c = '\0';
  }
  // Pairs end with one NUL each and the list with one more.
  if (result.empty() || result.back() != '\0') result.push_back('\0');
  result.push_back('\0');
  return result;
}

}  // namespace tabctl
