#include "tabctl/themes.h"

#include "tabctl/errors.h"

namespace tabctl {

std::optional<ThemeColorSet> ThemeColors(std::int32_t theme, SystemColors& system) {
  ThemeColorSet s;
  switch (theme) {
    case 0:
      s.activeTabBackStartColor = 0x8000000F;
      s.activeTabBackEndColor = 0x8000000F;
      s.activeTabForeColor = 0x80000012;
      s.inActiveTabBackStartColor = 0x8000000F;
      s.inActiveTabBackEndColor = 0x8000000F;
      s.inActiveTabForeColor = 0x80000012;
      s.disabledTabBackColor = 0x8000000F;
      s.disabledTabForeColor = 0x80000015;
      s.outerBorderColor = 0x80000015;
      s.topLeftInnerBorderColor = 0x80000014;
      s.bottomRightInnerBorderColor = 0x80000010;
      break;
    case 1:
      s.activeTabBackStartColor = RgbColor(251, 253, 251);
      s.activeTabBackEndColor = RgbColor(251, 253, 251);
      s.activeTabForeColor = 0x80000012;
      s.inActiveTabBackStartColor = RgbColor(255, 255, 255);
      s.inActiveTabBackEndColor = RgbColor(240, 240, 234);
      s.inActiveTabForeColor = 0x80000012;
      s.disabledTabBackColor = 0x8000000F;
      s.disabledTabForeColor = RgbColor(160, 160, 160);
      s.outerBorderColor = RgbColor(145, 156, 155);
      s.hoverColor = RgbColor(255, 199, 59);
      s.focusedColor = RgbColor(105, 130, 238);
      break;
    case 2:
      s.activeTabBackStartColor = 0x8000000F;
      s.activeTabBackEndColor = 0x8000000F;
      s.activeTabForeColor = 0x80000012;
      s.inActiveTabBackStartColor = 0x80000016;
      s.inActiveTabBackEndColor = 0x80000016;
      s.inActiveTabForeColor = 0x80000011;
      s.tabStripBackColor = 0x80000016;
      s.disabledTabBackColor = 0x8000000F;
      s.disabledTabForeColor = 0x80000015;
      s.outerBorderColor = 0x80000014;
      s.bottomRightInnerBorderColor = 0x80000010;
      break;
    case 3:
      s.activeTabBackStartColor = RgbColor(248, 248, 248);
      s.activeTabForeColor = RgbColor(80, 109, 167);
      s.inActiveTabBackStartColor = RgbColor(229, 229, 229);
      s.inActiveTabForeColor = RgbColor(144, 144, 144);
      s.tabStripBackColor = 0x8000000F;
      s.disabledTabBackColor = 0x8000000F;
      s.disabledTabForeColor = 0x80000015;
      s.outerBorderColor = RgbColor(144, 144, 144);
      break;
    case 4:
      s.activeTabBackStartColor = RgbColor(251, 248, 231);
      s.activeTabBackEndColor = RgbColor(240, 237, 220);
      s.activeTabForeColor = 0x80000012;
      s.inActiveTabBackStartColor = RgbColor(240, 237, 220);
      s.inActiveTabBackEndColor = RgbColor(223, 220, 203);
      s.inActiveTabForeColor = 0x80000012;
      s.disabledTabBackColor = 0x8000000F;
      s.disabledTabForeColor = RgbColor(160, 160, 160);
      s.outerBorderColor = RgbColor(188, 185, 168);
      s.topLeftInnerBorderColor = 0x80000014;
      s.bottomRightInnerBorderColor = 0x80000010;
      IgnoringErrors([&] {
        Color caption = SystemColor(kColorInactiveCaption);
        s.hoverColor = OffsetColor(caption, 16, system);
      });
      IgnoringErrors([&] {
        Color caption = SystemColor(kColorInactiveCaption);
        s.focusedColor = OffsetColor(caption, -16, system);
      });
      s.pictureMaskColor = RgbColor(255, 0, 255);
      break;
    default:
      return std::nullopt;
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
