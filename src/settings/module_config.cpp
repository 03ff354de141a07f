#include "settings/module_config.h"

#include "settings/app_paths.h"
#include "settings/profile_format.h"

namespace settings {

ModuleConfig::ModuleConfig(platform::ProfileStore& store, std::string_view applicationDirectory)
    : store_(store), path_(AppFilePath(applicationDirectory, kConfigFileName)) {}

ModuleConfig::ModuleConfig(platform::ProfileStore& store, std::string_view applicationDirectory,
                           platform::SettingsFiles& files, Notify tell)
    : ModuleConfig(store, applicationDirectory) {
  files_ = &files;
  tell_ = std::move(tell);
  // The file beside the executable wins whenever it can be written, so a
  // copy moved to a writable folder keeps its own settings.
  if (files.CanWrite(path_)) return;
  const std::string perUser = files.PerUserSettingsPath();
  if (!perUser.empty() && files.Exists(perUser)) {
    path_ = perUser;
    perUser_ = true;
  }
}

bool ModuleConfig::MoveToPerUserFile() const {
  if (!files_ || perUser_) return false;
  const std::string perUser = files_->PerUserSettingsPath();
  // The settings read so far go along, so nothing the user sees changes.
  if (perUser.empty() || !files_->ReplaceWithCopy(path_, perUser)) return false;
  path_ = perUser;
  perUser_ = true;
  return true;
}

void ModuleConfig::TellOnce(bool& told, const std::string& text) const {
  if (told || !tell_) return;
  told = true;
  tell_(text);
}

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
  // Start-up applies every stored option through the same path as a click;
  // a value already stored is not written again (a rewrite of the file per
  // option was most of the program's own start-up cost). A value read at
  // the buffer's length may have been cut, so it is written.
  const std::optional<std::string> stored = GetConfigValue(section, key);
  if (stored && *stored == value && stored->size() < kBufferSize - 1) return true;
  const auto write = [&] {
    return store_.SetString(path_, std::string(section), std::string(key), std::string(value));
  };
  if (write()) return true;
  if (MoveToPerUserFile() && write()) {
    TellOnce(toldMoved_, std::string(kSettingsMovedNotice) + path_ +
                             (anotherUsersProfile_ ? std::string(kSettingsOtherAccountNote) : std::string()));
    return true;
  }
  TellOnce(toldNotSaved_, std::string(kSettingsNotSavedNotice));
  return false;
}

}  // namespace settings
