// The five colour sets of the tab control and the visual-style rules that
// can pick one automatically.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tabctl/colors.h"
#include "tabctl/tab_kinds.h"
#include "tabctl/tab_system.h"

namespace tabctl {

// The colours one theme assigns; an empty field keeps the property's value.
struct ThemeColorSet {
  std::optional<Color> activeTabBackStartColor = std::nullopt;
  std::optional<Color> activeTabBackEndColor = std::nullopt;
  std::optional<Color> activeTabForeColor = std::nullopt;
  std::optional<Color> inActiveTabBackStartColor = std::nullopt;
  std::optional<Color> inActiveTabBackEndColor = std::nullopt;
  std::optional<Color> inActiveTabForeColor = std::nullopt;
  std::optional<Color> tabStripBackColor = std::nullopt;
  std::optional<Color> disabledTabBackColor = std::nullopt;
  std::optional<Color> disabledTabForeColor = std::nullopt;
  std::optional<Color> outerBorderColor = std::nullopt;
  std::optional<Color> topLeftInnerBorderColor = std::nullopt;
  std::optional<Color> bottomRightInnerBorderColor = std::nullopt;
  std::optional<Color> hoverColor = std::nullopt;
  std::optional<Color> focusedColor = std::nullopt;
  // Theme 4 also resets the picture options: this mask colour, small
  // pictures, focused colour and mask colour on, theme detection off.
  std::optional<Color> pictureMaskColor = std::nullopt;
};

// The set of a theme; nullopt for a value that names none. Colours derived
// from the system's caption colour are computed from the current system
// colours; if that lookup fails the field is left empty.
std::optional<ThemeColorSet> ThemeColors(TabThemes theme, SystemColors& system);

// True only for Windows NT 5.1 build 2600 or later (a failed query is false).
bool IsWinXPVersion(const std::optional<OsVersionInfo>& version);

// The visual-style answer: "None" when the system is not that version,
// "UxTheme_Error" when the style query fails, otherwise the colour-scheme
// name cut at its last NUL with every NUL removed ("None" when empty).
std::string ThemeInfoFrom(bool isWinXP, const std::optional<std::string>& colorBuffer);

// The open-file dialog's filter: "|" separates descriptions and patterns and
// becomes NUL; an empty filter gives "All Files (*.*)" / "*.*". The result
// ends with the double NUL the dialog expects.
std::string BuildOpenFileFilter(std::string_view filter);

}  // namespace tabctl
