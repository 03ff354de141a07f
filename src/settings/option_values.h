// What the stored texts of config.ini mean, in one place for every caller.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/texts.h"

namespace settings {

inline constexpr std::string_view kOnText = "1";
inline constexpr std::string_view kOffText = "0";

// ComboSpeed's two items and the SpeedLevel texts stored for them.
inline constexpr std::string_view kSpeedNormalItem = platform::kLevelNormal;
inline constexpr std::string_view kSpeedCrazyItem = platform::kLevelCrazy;
inline constexpr std::string_view kSpeedNormalText = "1";
inline constexpr std::string_view kSpeedCrazyText = "2";

// ComboAutoCleanCount's items; the item chosen is stored as its text.
inline constexpr std::array<std::string_view, 4> kRecordCountItems = {"50", "100", "200", "300"};

// The number a stored text starts with; no value counts as the empty text,
// whose number is 0.
double StoredNumber(const std::optional<std::string>& stored);

// On means a number of exactly 1: "1", "01", "1.0", "1x" are on; "", "0",
// "2", "-1", "yes", "True" and no value are off.
bool IsOn(const std::optional<std::string>& stored);

// The text a check box stores: "1" checked, "0" not.
std::string_view OnOffText(bool checked);

// The ComboSpeed item a stored SpeedLevel shows: the normal level when the
// value is on, the crazy level otherwise (missing included).
std::string_view SpeedLevelItem(const std::optional<std::string>& stored);

// The SpeedLevel stored for ComboSpeed's text: "1" for the normal level,
// "2" for any other text.
std::string_view SpeedLevelText(std::string_view comboText);

// The stored RecordCount's number written as a plain decimal number, the
// text of the list item it selects ("0100" and "100.0" give "100").
std::string RecordCountItemText(const std::optional<std::string>& stored);

// Index in kRecordCountItems of the item a stored RecordCount selects, or -1
// when none has that text (for example "75", or no value).
int RecordCountSelection(const std::optional<std::string>& stored);

}  // namespace settings
