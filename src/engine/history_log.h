// The history toolbar: clearing the list and saving it as a text file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/history.h"

namespace engine {

inline constexpr std::string_view kClearCaption = "清除记录";
inline constexpr std::string_view kSaveCaption = "保存记录";
inline constexpr std::string_view kNothingToSave = "没有记录可保存。";
inline constexpr std::string_view kSavedMessage = "保存成功。";

// What the save handler needs besides the list.
class HistorySaving {
 public:
  virtual ~HistorySaving() = default;
  // A "提示" box with an exclamation icon.
  virtual void Notice(const std::string& text) = 0;
  struct Choice {
    std::string fileName;  // may be empty
    std::string error;     // set when the dialog failed or was cancelled
  };
  virtual Choice ChooseFile() = 0;
  // Writes the text (UTF-8; the file gets it in the ANSI code page) as the
  // whole content of the file; the failure's description, if any.
  virtual std::optional<std::string> WriteWholeFile(const std::string& fileName, const std::string& text) = 0;
};

// The file text: title line, home-page line, then " n time title " lines,
// every line ending in CR LF.
std::string HistoryLogText(HistoryList& list);

// A click on a toolbar button, told apart by its caption.
void HistoryToolbarClick(std::string_view caption, HistoryList& list, HistorySaving& saving);

}  // namespace engine
