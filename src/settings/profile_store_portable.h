// Private-profile files read and written by the program itself, for systems
// without the platform's profile functions (and for tests that compare the
// two).
#pragma once

#include "platform/ports.h"

namespace settings {

// Files are in the ANSI code page unless they start with a UTF-8 byte-order
// mark, in which case they are UTF-8 and stay so. A value read is cut to the
// buffer in ANSI bytes, never inside a character. A write replaces the file
// only once the new text is complete on disk, so a failure leaves it as it
// was. Where backslash is not a path separator (POSIX), it is read as one:
// the program's paths are built the Windows way.
class PortableProfileStore : public platform::ProfileStore {
 public:
  explicit PortableProfileStore(const platform::AnsiConverter& codePage) : codePage_(codePage) {}

  std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t bufferBytes) override;
  bool SetString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override;

 private:
  const platform::AnsiConverter& codePage_;
};

}  // namespace settings
