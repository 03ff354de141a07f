#include "tabctl/themes.h"

#include <iterator>

#include "platform/error_boundary.h"
#include "tabctl/errors.h"

namespace tabctl {

namespace {

// One set per theme, in theme order; an empty field keeps the property.
const ThemeColorSet kThemeSets[] = {
    // System
    {.activeTabBackStartColor = kSysButtonFace,
     .activeTabBackEndColor = kSysButtonFace,
     .activeTabForeColor = kSysButtonText,
     .inActiveTabBackStartColor = kSysButtonFace,
     .inActiveTabBackEndColor = kSysButtonFace,
     .inActiveTabForeColor = kSysButtonText,
     .disabledTabBackColor = kSysButtonFace,
     .disabledTabForeColor = kSysDarkShadow3D,
     .outerBorderColor = kSysDarkShadow3D,
     .topLeftInnerBorderColor = kSysButtonHighlight,
     .bottomRightInnerBorderColor = kSysButtonShadow},
    // LightVisual
    {.activeTabBackStartColor = RgbColor(251, 253, 251),
     .activeTabBackEndColor = RgbColor(251, 253, 251),
     .activeTabForeColor = kSysButtonText,
     .inActiveTabBackStartColor = RgbColor(255, 255, 255),
     .inActiveTabBackEndColor = RgbColor(240, 240, 234),
     .inActiveTabForeColor = kSysButtonText,
     .disabledTabBackColor = kSysButtonFace,
     .disabledTabForeColor = RgbColor(160, 160, 160),
     .outerBorderColor = RgbColor(145, 156, 155),
     .hoverColor = RgbColor(255, 199, 59),
     .focusedColor = RgbColor(105, 130, 238)},
    // System3DLight
    {.activeTabBackStartColor = kSysButtonFace,
     .activeTabBackEndColor = kSysButtonFace,
     .activeTabForeColor = kSysButtonText,
     .inActiveTabBackStartColor = kSysLight3D,
     .inActiveTabBackEndColor = kSysLight3D,
     .inActiveTabForeColor = kSysGrayText,
     .tabStripBackColor = kSysLight3D,
     .disabledTabBackColor = kSysButtonFace,
     .disabledTabForeColor = kSysDarkShadow3D,
     .outerBorderColor = kSysButtonHighlight,
     .bottomRightInnerBorderColor = kSysButtonShadow},
    // FlatGrey
    {.activeTabBackStartColor = RgbColor(248, 248, 248),
     .activeTabForeColor = RgbColor(80, 109, 167),
     .inActiveTabBackStartColor = RgbColor(229, 229, 229),
     .inActiveTabForeColor = RgbColor(144, 144, 144),
     .tabStripBackColor = kSysButtonFace,
     .disabledTabBackColor = kSysButtonFace,
     .disabledTabForeColor = kSysDarkShadow3D,
     .outerBorderColor = RgbColor(144, 144, 144)},
    // LightBeige; its hover and focus colours follow the system (below).
    {.activeTabBackStartColor = RgbColor(251, 248, 231),
     .activeTabBackEndColor = RgbColor(240, 237, 220),
     .activeTabForeColor = kSysButtonText,
     .inActiveTabBackStartColor = RgbColor(240, 237, 220),
     .inActiveTabBackEndColor = RgbColor(223, 220, 203),
     .inActiveTabForeColor = kSysButtonText,
     .disabledTabBackColor = kSysButtonFace,
     .disabledTabForeColor = RgbColor(160, 160, 160),
     .outerBorderColor = RgbColor(188, 185, 168),
     .topLeftInnerBorderColor = kSysButtonHighlight,
     .bottomRightInnerBorderColor = kSysButtonShadow,
     .pictureMaskColor = RgbColor(255, 0, 255)},
};

}  // namespace

std::optional<ThemeColorSet> ThemeColors(TabThemes theme, SystemColors& system) {
  const auto index = static_cast<std::int32_t>(theme);
  if (index < 0 || index >= static_cast<std::int32_t>(std::size(kThemeSets))) return std::nullopt;
  ThemeColorSet s = kThemeSets[index];
  if (theme == TabThemes::LightBeige) {
    // A shade either side of the system's inactive caption colour.
    platform::SkipFailure(
        "hover colour", [&] { s.hoverColor = OffsetColor(SystemColor(kColorInactiveCaption), 16, system); });
    platform::SkipFailure("focused colour", [&] {
      s.focusedColor = OffsetColor(SystemColor(kColorInactiveCaption), -16, system);
    });
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
