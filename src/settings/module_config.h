// The settings file config.ini beside the executable: one getter and one
// setter per option, all going through one generic pair. What a stored text
// means is decided by the rules in option_values.h.
//
// Where that file cannot be written (a program folder only administrators
// may change), the settings move to the current user's own config.ini,
// started from the copy beside the executable, and are read from there on
// later starts while the file beside the executable stays unwritable.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace settings {

inline constexpr std::string_view kConfigFileName = "config.ini";
inline constexpr std::string_view kSettingsMovedNotice =
    "程序所在文件夹中的 config.ini 无法写入，设置已改为保存在：\n";
// Added to the notice above when the program runs as another user.
inline constexpr std::string_view kSettingsOtherAccountNote =
    "\n本程序正以另一个用户的帐户运行：这是该帐户的设置文件，不是您自己的。";
inline constexpr std::string_view kSettingsNotSavedNotice =
    "无法保存设置：config.ini 无法写入。本次运行中所做的更改在程序退出后不会保留。";

class ModuleConfig {
 public:
  // Bytes of the platform's read buffer; a longer value arrives cut to 254.
  static constexpr std::size_t kBufferSize = 255;

  // applicationDirectory: the folder of the running executable (UTF-8).
  ModuleConfig(platform::ProfileStore& store, std::string_view applicationDirectory);
  // With a per-user file to fall back on; `tell` shows the user a notice.
  // Each notice comes at most once per run.
  using Notify = std::function<void(const std::string& text)>;
  ModuleConfig(platform::ProfileStore& store, std::string_view applicationDirectory,
               platform::SettingsFiles& files, Notify tell);

  // The program runs as another user than the one at the desktop: the
  // per-user file is that account's, and the notice of the move says so.
  void SetProfileOfAnotherUser(bool another) { anotherUsersProfile_ = another; }

  // The file in use now.
  const std::string& FilePath() const { return path_; }

  // The stored text without blanks around it, or nullopt when the file, the
  // section or the key is missing or the value is empty. Never fails.
  std::optional<std::string> GetConfigValue(std::string_view section, std::string_view key) const;
  // True when the platform reports the entry written. Names or values with
  // line breaks or zero bytes would change other entries of the file, so
  // they are refused (false) before the file is touched. A write that fails
  // beside the executable is made in the per-user file (telling the user
  // where); one that cannot be made anywhere is told once.
  bool SetConfigValue(std::string_view section, std::string_view key, std::string_view value) const;

  std::optional<std::string> GetAutoRun() const { return GetConfigValue("Normal", "AutoRun"); }
  bool SetAutoRun(std::string_view value) const { return SetConfigValue("Normal", "AutoRun", value); }
  std::optional<std::string> GetAutoMin() const { return GetConfigValue("Normal", "AutoMin"); }
  bool SetAutoMin(std::string_view value) const { return SetConfigValue("Normal", "AutoMin", value); }
  std::optional<std::string> GetSpeedLevel() const { return GetConfigValue("Speed", "SpeedLevel"); }
  bool SetSpeedLevel(std::string_view value) const { return SetConfigValue("Speed", "SpeedLevel", value); }
  // The [Exclude] section: processes never to raise, one rule per key.
  platform::ProfileStore::Entries GetExcludeRules() const { return store_.GetSection(path_, "Exclude"); }
  // A program never to raise, by its full path.
  bool AddExcludeRule(std::string_view path) const { return SetConfigValue("Exclude", path, "1"); }
  // Not among the first seven options: absent means off, as before it was.
  std::optional<std::string> GetAccelerateChildren() const {
    return GetConfigValue("Speed", "AccelerateChildren");
  }
  bool SetAccelerateChildren(std::string_view value) const {
    return SetConfigValue("Speed", "AccelerateChildren", value);
  }
  std::optional<std::string> GetEnableRecord() const { return GetConfigValue("Record", "EnableRecord"); }
  bool SetEnableRecord(std::string_view value) const {
    return SetConfigValue("Record", "EnableRecord", value);
  }
  std::optional<std::string> GetRecordCount() const { return GetConfigValue("Record", "RecordCount"); }
  bool SetRecordCount(std::string_view value) const { return SetConfigValue("Record", "RecordCount", value); }
  std::optional<std::string> GetEnableSpeed() const { return GetConfigValue("Normal", "EnableSpeed"); }
  bool SetEnableSpeed(std::string_view value) const { return SetConfigValue("Normal", "EnableSpeed", value); }
  std::optional<std::string> GetAlwaysTop() const { return GetConfigValue("Normal", "AlwaysTop"); }
  bool SetAlwaysTop(std::string_view value) const { return SetConfigValue("Normal", "AlwaysTop", value); }

 private:
  bool MoveToPerUserFile() const;
  void TellOnce(bool& told, const std::string& text) const;

  platform::ProfileStore& store_;
  platform::SettingsFiles* files_ = nullptr;
  Notify tell_;
  // Where the settings are is found out as the file system answers; the
  // getters and setters stay const for their callers.
  mutable std::string path_;
  mutable bool perUser_ = false;
  bool anotherUsersProfile_ = false;
  mutable bool toldMoved_ = false;
  mutable bool toldNotSaved_ = false;
};

}  // namespace settings
