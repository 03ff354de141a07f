#include "settings/module_config.h"

#include "settings/app_paths.h"
#include "settings/profile_format.h"

namespace settings {

ModuleConfig::ModuleConfig(platform::ProfileStore& store, std::string_view applicationDirectory)
    : store_(store), path_(AppFilePath(applicationDirectory, kConfigFileName)) {}

std::optional<std::string> ModuleConfig::GetConfigValue(std::string_view section,
                                                        std::string_view key) const {
  std::string text = store_.GetString(path_, std::string(section), std::string(key), kBufferSize);
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool ModuleConfig::SetConfigValue(std::string_view section, std::string_view key,
                                  std::string_view value) const {
  if (!IsStorableEntry(section, key, value)) return false;
  return store_.SetString(path_, std::string(section), std::string(key), std::string(value));
}

}  // namespace settings
