#include "settings/app_paths.h"

namespace settings {

std::string ApplicationDirectoryOf(std::string_view executablePath) {
  const std::size_t last = executablePath.find_last_of("\\/");
  if (last == std::string_view::npos) return {};
  std::string_view directory = executablePath.substr(0, last);
  // "C:" alone would mean the drive's current folder, "" no folder at all.
  if (directory.empty() || (directory.size() == 2 && directory[1] == ':')) {
    directory = executablePath.substr(0, last + 1);
  }
  return std::string(directory);
}

std::string AppFilePath(std::string_view applicationDirectory, std::string_view name) {
  std::string path(applicationDirectory);
  path += '\\';
  path += name;
  return path;
}

}  // namespace settings
