// The settings file config.ini beside the executable: one getter and one
// setter per option, all going through one generic pair. What a stored text
// means is decided by the rules in option_values.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace settings {

inline constexpr std::string_view kConfigFileName = "config.ini";

class ModuleConfig {
 public:
  // Bytes of the platform's read buffer; a longer value arrives cut to 254.
  static constexpr std::size_t kBufferSize = 255;

  // applicationDirectory: the folder of the running executable (UTF-8).
  ModuleConfig(platform::ProfileStore& store, std::string_view applicationDirectory);

  const std::string& FilePath() const { return path_; }

  // The stored text without blanks around it, or nullopt when the file, the
  // section or the key is missing or the value is empty. Never fails.
  std::optional<std::string> GetConfigValue(std::string_view section, std::string_view key) const;
  // True when the platform reports the entry written. Names or values with
  // line breaks or zero bytes would change other entries of the file, so
  // they are refused (false) before the file is touched.
  bool SetConfigValue(std::string_view section, std::string_view key, std::string_view value) const;

  std::optional<std::string> GetAutoRun() const { return GetConfigValue("Normal", "AutoRun"); }
  bool SetAutoRun(std::string_view value) const { return SetConfigValue("Normal", "AutoRun", value); }
  std::optional<std::string> GetAutoMin() const { return GetConfigValue("Normal", "AutoMin"); }
  bool SetAutoMin(std::string_view value) const { return SetConfigValue("Normal", "AutoMin", value); }
  std::optional<std::string> GetSpeedLevel() const { return GetConfigValue("Speed", "SpeedLevel"); }
  bool SetSpeedLevel(std::string_view value) const { return SetConfigValue("Speed", "SpeedLevel", value); }
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
  platform::ProfileStore& store_;
  std::string path_;
};

}  // namespace settings
