#include "settings/profile_store_portable.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>

#include "platform/text.h"
#include "settings/profile_format.h"

namespace settings {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

fs::path ToPath(std::string utf8) {
#ifndef _WIN32
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
#endif
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Measures a character by converting it; only the few characters up to a
// cut are ever measured.
class MeasureByConversion : public platform::AnsiCodePage {
 public:
  explicit MeasureByConversion(const platform::AnsiConverter& codePage) : codePage_(codePage) {}
  std::size_t BytesOf(char32_t codePoint) const override {
    if (codePoint < 0x80) return 1;
    return std::max<std::size_t>(1, codePage_.ToAnsi(platform::EncodeUtf8(codePoint)).size());
  }

 private:
  const platform::AnsiConverter& codePage_;
};

enum class FileState { kMissing, kRegular, kUnusable };

FileState StateOf(const fs::path& file) {
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  if (status.type() == fs::file_type::not_found) return FileState::kMissing;
  if (error || !fs::is_regular_file(status)) return FileState::kUnusable;
  return FileState::kRegular;
}

std::optional<std::string> ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

// Writes the whole text beside the file and moves it over the file, so the
// file is either the old one or the new one, never a part of either.
bool ReplaceFile(const fs::path& file, const std::string& text, bool exists) {
  std::error_code error;
  fs::path target = file;
  if (fs::is_symlink(file, error)) {
    target = fs::canonical(file, error);
    if (error) return false;
  }
  if (exists) {
    // Opening for appending writes nothing but fails on a file we may not change.
    std::ofstream probe(target, std::ios::binary | std::ios::app);
    if (!probe) return false;
  }
  std::random_device random;
  fs::path temporary = target;
  temporary += "." + std::to_string(random()) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      return false;
    }
  }
  if (exists) fs::permissions(temporary, fs::status(target, error).permissions(), error);
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace

std::string PortableProfileStore::GetString(const std::string& path, const std::string& section,
                                            const std::string& key, std::size_t bufferBytes) {
  if (bufferBytes == 0) return {};
  const fs::path file = ToPath(path);
  if (StateOf(file) != FileState::kRegular) return {};
  const std::optional<std::string> text = ReadAll(file);
  if (!text) return {};
  const bool utf8File = text->starts_with(kUtf8Bom);
  auto toFile = [&](const std::string& s) { return utf8File || IsAscii(s) ? s : codePage_.ToAnsi(s); };

  const auto found = FindProfileValue(*text, toFile(section), toFile(key));
  if (!found) return {};
  const std::size_t room = bufferBytes - 1;
  if (IsAscii(*found)) return std::string(found->substr(0, room));
  const std::string utf8 = utf8File ? std::string(*found) : codePage_.ToUtf8(std::string(*found));
  return platform::CutToAnsiBytes(utf8, room, MeasureByConversion(codePage_));
}

platform::ProfileStore::Entries PortableProfileStore::GetSection(const std::string& path,
                                                                 const std::string& section) {
  const fs::path file = ToPath(path);
  if (StateOf(file) != FileState::kRegular) return {};
  const std::optional<std::string> text = ReadAll(file);
  if (!text) return {};
  const bool utf8File = text->starts_with(kUtf8Bom);
  const auto toUtf8 = [&](std::string s) { return utf8File || IsAscii(s) ? s : codePage_.ToUtf8(s); };
  Entries entries =
      ProfileSectionEntries(*text, utf8File || IsAscii(section) ? section : codePage_.ToAnsi(section));
  for (auto& [key, value] : entries) {
    key = toUtf8(std::move(key));
    value = toUtf8(std::move(value));
  }
  return entries;
}

bool PortableProfileStore::SetString(const std::string& path, const std::string& section,
                                     const std::string& key, const std::string& value) {
  const fs::path file = ToPath(path);
  const FileState state = StateOf(file);
  if (state == FileState::kUnusable) return false;
  // A file marked read-only (the attribute on Windows) stays as it is, also
  // where the system would let this user write it anyway.
  std::error_code error;
  if (state == FileState::kRegular &&
      (fs::status(file, error).permissions() & fs::perms::owner_write) == fs::perms::none) {
    return false;
  }
  std::string text;
  if (state == FileState::kRegular) {
    std::optional<std::string> read = ReadAll(file);
    if (!read) return false;  // never replace a file we could not read
    text = std::move(*read);
  }
  const bool utf8File = text.starts_with(kUtf8Bom);
  auto toFile = [&](const std::string& s) { return utf8File || IsAscii(s) ? s : codePage_.ToAnsi(s); };

  const std::optional<std::string> updated =
      SetProfileValue(text, toFile(section), toFile(key), toFile(value));
  if (!updated) return false;
  const bool exists = state == FileState::kRegular;
  if (exists && *updated == text) return true;
  return ReplaceFile(file, *updated, exists);
}

bool StartsWithUtf8Mark(const std::string& path) {
  std::ifstream in(ToPath(path), std::ios::binary);
  char start[3] = {};
  return in.read(start, sizeof start) && std::string_view(start, sizeof start) == kUtf8Bom;
}

}  // namespace settings
