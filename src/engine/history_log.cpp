#include "engine/history_log.h"

#include "engine/product.h"

namespace engine {

std::string HistoryLogText(HistoryList& list) {
  std::string text;
  text.append(kProductTitle).append(" 加速记录\r\n");
  text.append(kHomePage).append("\r\n");
  const int rows = list.RowCount();
  for (int position = 1; position <= rows; ++position) {
    const HistoryEntry row = list.Row(position);
    text.append(row.number).append(" ").append(row.time).append(" ").append(row.title).append(" \r\n");
  }
  return text;
}

void HistoryToolbarClick(std::string_view caption, HistoryList& list, HistorySaving& saving) {
  if (caption == kClearCaption) {
    list.Clear();
    return;
  }
  if (caption != kSaveCaption) return;

  if (list.RowCount() < 1) {
    saving.Notice(std::string(kNothingToSave));
    return;
  }
  // Built before the dialog: rows the timer adds meanwhile are not saved.
  const std::string text = HistoryLogText(list);
  const HistorySaving::Choice choice = saving.ChooseFile();
  if (!choice.error.empty()) {
    saving.Notice(choice.error);
    return;
  }
  if (choice.fileName.empty()) return;
  if (auto failure = saving.WriteWholeFile(choice.fileName, text)) {
    saving.Notice(*failure);
    return;
  }
  saving.Notice(std::string(kSavedMessage));
}

}  // namespace engine
