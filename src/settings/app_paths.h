// Paths beside the executable, built the Windows way.
#pragma once

#include <string>
#include <string_view>

namespace settings {

// The folder of an executable without a trailing separator; a root keeps
// its separator ("C:\").
std::string ApplicationDirectoryOf(std::string_view executablePath);

// The application directory + "\" + name. After a root that gives two
// separators in a row, which the platform accepts.
std::string AppFilePath(std::string_view applicationDirectory, std::string_view name);

}  // namespace settings
