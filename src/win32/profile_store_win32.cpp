#include "win32/profile_store_win32.h"

#include <windows.h>

#include <algorithm>

#include "settings/app_paths.h"
#include "settings/profile_format.h"
#include "win32/text.h"

namespace win32 {

// The file keeps its ANSI text, as it always had: the wide functions read
// and write it in the ANSI code page. They are used for the path, which
// may name a folder outside that code page (Chinese on a Western Windows).

std::string ProfileStoreWin32::GetString(const std::string& path, const std::string& section,
                                         const std::string& key, std::size_t bufferBytes) {
  if (bufferBytes == 0) return {};
  // Read whole, then cut as a buffer of that many ANSI bytes would.
  std::wstring wide(bufferBytes, L'\0');
  const DWORD n = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", wide.data(),
                                           static_cast<DWORD>(wide.size()), Widen(path).c_str());
  wide.resize(n);
  std::string buffer = Utf8ToAnsi(Narrow(wide));
  if (buffer.size() > bufferBytes - 1) buffer.resize(bufferBytes - 1);
  // A cut may leave the first byte of a double-byte character at the end;
  // half a character is no text, so it goes.
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    if (!IsDBCSLeadByte(static_cast<BYTE>(buffer[i]))) continue;
    if (i + 1 == buffer.size()) buffer.pop_back();
    ++i;
  }
  return AnsiToUtf8(buffer);
}

bool ProfileStoreWin32::SetString(const std::string& path, const std::string& section, const std::string& key,
                                  const std::string& value) {
  const std::wstring widePath = Widen(path);
  // A settings file marked read-only stays as it is. The system refuses to
  // write it on its own only where file permissions back the attribute, so
  // the attribute is checked here, as the history writer does.
  const DWORD attributes = GetFileAttributesW(widePath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // What the code page cannot hold is written as the ANSI form writes it.
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(AnsiToUtf8(Utf8ToAnsi(value))).c_str(), widePath.c_str()) != FALSE;
}

platform::ProfileStore::Entries ProfileStoreWin32::GetSection(const std::string& path,
                                                              const std::string& section) {
  const std::wstring widePath = Widen(path), wideSection = Widen(section);
  std::wstring buffer(4096, L'\0');
  for (;;) {
    const DWORD n = GetPrivateProfileSectionW(wideSection.c_str(), buffer.data(),
                                              static_cast<DWORD>(buffer.size()), widePath.c_str());
    // A full buffer says so by ending two short of its size.
    if (n + 2 < buffer.size() || buffer.size() >= (std::size_t{1} << 26)) {
      buffer.resize(n);
      break;
    }
    buffer.assign(buffer.size() * 4, L'\0');
  }
  // "key=value" strings one after the other, each ended by a zero; the
  // profile format's reader trims and unquotes them as it does single values.
  std::string text;
  for (std::size_t begin = 0; begin < buffer.size();) {
    const std::size_t end = std::min(buffer.find(L'\0', begin), buffer.size());
    text += Narrow(buffer.substr(begin, end - begin)) + "\r\n";
    begin = end + 1;
  }
  return settings::ProfileSectionEntries(text, "");
}

std::string SystemAnsiConverter::ToAnsi(const std::string& utf8) const { return Utf8ToAnsi(utf8); }

std::string SystemAnsiConverter::ToUtf8(const std::string& ansi) const { return AnsiToUtf8(ansi); }

std::string ApplicationDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // cut short: try a bigger buffer
  }
  return settings::ApplicationDirectoryOf(Narrow(path));
}

}  // namespace win32
