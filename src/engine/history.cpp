#include "engine/history.h"

#include "platform/text.h"

namespace engine {

double AutoCleanThreshold(std::string_view autoCleanText) { return platform::LeadingNumber(autoCleanText); }

std::string_view LevelText(std::string_view speedText) {
  return speedText == kLevelNormal ? kLevelNormal : kLevelCrazy;
}

std::string RowNumberText(int position) { return " " + std::to_string(position); }

void RecordHistoryEntry(HistoryList& list, platform::Clock& clock, const std::string& title,
                        std::string_view speedText, const std::string& imagePath) {
  const double threshold = AutoCleanThreshold(list.AutoCleanText());
  if (threshold < list.RowCount()) list.Clear();

  // A row that could not be appended leaves the column writes without a
  // target: they must not land in the row before it. A failing column
  // write does not stop the next one.
  const std::optional<int> row = list.AppendRow(RowNumberText(list.RowCount() + 1));
  if (!row) return;
  list.SetRowText(*row, 2, clock.LongTimeText());
  list.SetRowText(*row, 3, title);
  list.SetRowText(*row, 4, std::string(LevelText(speedText)));
  list.SetRowIcon(*row, 1);
  list.SetRowPath(*row, imagePath);
}

}  // namespace engine
