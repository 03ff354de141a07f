#include "settings/option_values.h"

#include <charconv>

#include "platform/text.h"

namespace settings {

double StoredNumber(const std::optional<std::string>& stored) {
  return platform::LeadingNumber(stored.value_or(std::string()));
}

bool IsOn(const std::optional<std::string>& stored) { return StoredNumber(stored) == 1.0; }

std::string_view OnOffText(bool checked) { return checked ? kOnText : kOffText; }

std::string_view SpeedLevelItem(const std::optional<std::string>& stored) {
  return IsOn(stored) ? kSpeedNormalItem : kSpeedCrazyItem;
}

std::string_view SpeedLevelText(std::string_view comboText) {
  return comboText == kSpeedNormalItem ? kSpeedNormalText : kSpeedCrazyText;
}

std::string RecordCountItemText(const std::optional<std::string>& stored) {
  double number = StoredNumber(stored);
  if (number == 0.0) number = 0.0;  // no "-0"
  // Fixed notation at its shortest: never an exponent, never trailing zeros.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
}

int RecordCountSelection(const std::optional<std::string>& stored) {
  const std::string text = RecordCountItemText(stored);
  for (std::size_t i = 0; i < kRecordCountItems.size(); ++i) {
    if (kRecordCountItems[i] == text) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace settings
