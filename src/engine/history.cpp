#include "engine/history.h"

#include "platform/text.h"

namespace engine {

double AutoCleanThreshold(std::string_view autoCleanText) {
  return platform::LeadingNumber(autoCleanText);
}

std::string_view LevelText(std::string_view speedText) {
  return speedText == kLevelNormal ? kLevelNormal : kLevelCrazy;
}

std::string RowNumberText(int position) { return " " + std::to_string(position); }

void RecordHistoryEntry(HistoryList& list, platform::Clock& clock, const std::string& title,
                        std::string_view speedText) {
  const double threshold = AutoCleanThreshold(list.AutoCleanText());
  if (threshold < list.RowCount()) list.Clear();

  // Each step goes on even when the one before failed; a row that could not
  // be appended just leaves the column writes without a target.
  list.AppendRow(RowNumberText(list.RowCount() + 1));
  list.SetLastRowText(2, clock.LongTimeText());
  list.SetLastRowText(3, title);
  list.SetLastRowText(4, std::string(LevelText(speedText)));
  list.SetLastRowIcon(1);
}

}  // namespace engine
