// Saving the history on Windows: the file dialog, the notices and a file
// write that never destroys the old file when it fails.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "engine/history_log.h"

namespace win32 {

inline constexpr char kDialogCancelled[] = "用户取消了保存。";

// The system's description of an error code, without the trailing line end.
std::string ErrorDescription(DWORD error);

// Writes bytes as the whole content of path: into a temporary file beside it
// first, then moved over it, so a failed write leaves the old file as it was
// and no half-written file behind. Returns the failure's description.
std::optional<std::string> WriteFileReplacing(const std::wstring& path, const std::string& bytes);

class HistorySavingWin32 : public engine::HistorySaving {
 public:
  explicit HistorySavingWin32(HWND owner) : owner_(owner) {}
  // Shown unless silenced.
  void Notice(const std::string& text) override;
  // From now on no notice is shown: the program is ending.
  void Silence() { silent_ = true; }
  Choice ChooseFile() override;
  // The file holds the text in the ANSI code page.
  std::optional<std::string> WriteWholeFile(const std::string& fileName, const std::string& text) override;

 private:
  HWND owner_;
  bool silent_ = false;
};

}  // namespace win32
