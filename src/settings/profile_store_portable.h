// Private-profile files read and written by the program itself, for systems
// without the platform's profile functions, for files those functions
// misread (and for tests that compare the two).
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/ports.h"

namespace settings {

// Files are in the ANSI code page unless they start with a UTF-8 byte-order
// mark, in which case they are UTF-8 and stay so. A value read is cut to the
// buffer in ANSI bytes, never inside a character. A write replaces the file
// only once the new text is complete on disk, so a failure leaves it as it
// was, and a file marked read-only is never written. Where backslash is not
// a path separator (POSIX), it is read as one: the program's paths are built
// the Windows way.
class PortableProfileStore : public platform::ProfileStore {
 public:
  explicit PortableProfileStore(const platform::AnsiConverter& codePage) : codePage_(codePage) {}

  std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t bufferBytes) override;
  bool SetString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override;
  Entries GetSection(const std::string& path, const std::string& section) override;

 private:
  const platform::AnsiConverter& codePage_;
};

// Whether the file starts with a UTF-8 byte-order mark, as Notepad saves
// "UTF-8 with BOM". False when it cannot be read.
bool StartsWithUtf8Mark(const std::string& path);

// The platform's profile functions for plain files, `marked` (the store
// above) for files that start with a UTF-8 mark. Windows knows only the
// UTF-16 mark: it reads those three bytes as part of the first line, so the
// first section would read as missing and the next write would add a second
// section of its name.
class Utf8MarkRouting : public platform::ProfileStore {
 public:
  Utf8MarkRouting(platform::ProfileStore& plain, platform::ProfileStore& marked)
      : plain_(plain), marked_(marked) {}

  // Each call goes whole to the store the file's first bytes choose.
  std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t bufferBytes) override {
    return StoreFor(path).GetString(path, section, key, bufferBytes);
  }
  bool SetString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override {
    return StoreFor(path).SetString(path, section, key, value);
  }
  Entries GetSection(const std::string& path, const std::string& section) override {
    return StoreFor(path).GetSection(path, section);
  }

  // While on, a file's first bytes are read once: start-up reads a dozen
  // entries in a row, and opening the file each time to look for a mark
  // that nobody adds in those milliseconds was a third of their cost.
  // Neither store changes a file's mark when it writes, so a write keeps
  // what is known. Turned off, the next call looks again.
  void RememberMarks(bool on) {
    remember_ = on;
    known_.reset();
  }

 private:
  platform::ProfileStore& StoreFor(const std::string& path) {
    if (remember_ && known_ && known_->first == path) return known_->second ? marked_ : plain_;
    const bool marked = StartsWithUtf8Mark(path);
    if (remember_) known_.emplace(path, marked);
    return marked ? marked_ : plain_;
  }
  platform::ProfileStore& plain_;
  platform::ProfileStore& marked_;
  bool remember_ = false;
  std::optional<std::pair<std::string, bool>> known_;
};

}  // namespace settings
