// The acceleration history: rows of handled foreground changes shown in the
// history list, with the auto-clear rule.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ports.h"
#include "platform/texts.h"

namespace engine {

using platform::kLevelCrazy;
using platform::kLevelNormal;

// One row of the history list.
struct HistoryEntry {
  std::string number;  // " 1", " 2", ...
  std::string time;    // user's long time format
  std::string title;
  std::string level;
  bool operator==(const HistoryEntry&) const = default;
};

// The list that shows the history, and the control holding the threshold.
// Row and column operations report failure so a failed step can be skipped.
class HistoryList {
 public:
  virtual ~HistoryList() = default;
  virtual int RowCount() = 0;
  virtual void Clear() = 0;
  // Appends a row with this item text: the new row's index (from 0), or
  // nothing when it could not be added.
  virtual std::optional<int> AppendRow(const std::string& itemText) = 0;
  // column 2..4 of a row
  virtual bool SetRowText(int row, int column, const std::string& text) = 0;
  virtual bool SetRowIcon(int row, int imageIndex) = 0;
  // Text of the auto-clear drop-down list (empty when nothing is selected).
  virtual std::string AutoCleanText() = 0;
  // Row by position 1..RowCount(): number, time and title columns.
  virtual HistoryEntry Row(int position) = 0;
  // The full path of the program a row is about: kept with the row, never
  // shown or saved. A list that keeps none gives the empty path.
  virtual void SetRowPath(int /*row*/, const std::string& /*path*/) {}
  virtual std::string RowPath(int /*row*/) { return {}; }
};

// The threshold the auto-clear rule compares with: the leading number of the
// drop-down list's text, 0 when there is none.
double AutoCleanThreshold(std::string_view autoCleanText);

// The level column: the normal level when the level text names it exactly,
// the crazy level in every other case.
std::string_view LevelText(std::string_view speedText);

// Row number text for a row at the given position: " 1", " 2", ...
std::string RowNumberText(int position);

// Records one handled change: auto-clear first (strictly more rows than the
// threshold), then a new row with number, time, title, level and icon.
// `imagePath` is kept with the row (empty where it was not read).
void RecordHistoryEntry(HistoryList& list, platform::Clock& clock, const std::string& title,
                        std::string_view speedText, const std::string& imagePath = {});

}  // namespace engine
