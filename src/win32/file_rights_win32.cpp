#include "win32/file_rights_win32.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "win32/text.h"
#include "win32/unique_handle.h"

namespace win32 {
namespace {

void FreeLocal(HLOCAL memory) { LocalFree(memory); }
using UniqueLocal = UniqueResource<HLOCAL, FreeLocal>;

std::string SidText(PSID sid) {
  LPSTR text = nullptr;
  if (!ConvertSidToStringSidA(sid, &text)) return {};
  const UniqueLocal owned(text);
  return text;
}

}  // namespace

std::optional<platform::FileSecurity::AccessList> FileSecurityWin32::AccessListOf(const std::string& path) {
  PACL dacl = nullptr;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(Widen(path).c_str(), SE_FILE_OBJECT,
                            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const UniqueLocal owned(descriptor);
  AccessList list;
  if (owner) {
    list.owner = SidText(owner);
    if (list.owner.empty()) return std::nullopt;  // an owner not known counts as open
  }
  if (!dacl) {
    list.unrestricted = true;
    return list;
  }
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) return std::nullopt;
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    // Allow and deny entries have the same layout; other kinds (object or
    // callback entries) do not occur on files.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE) continue;
    auto* entry = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    list.entries.push_back({header->AceType == ACCESS_ALLOWED_ACE_TYPE,
                            (header->AceFlags & INHERIT_ONLY_ACE) != 0, SidText(&entry->SidStart),
                            entry->Mask});
  }
  return list;
}

bool SettingsFilesWin32::CanWrite(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // A read-only file is left alone even where the system would let it be
    // written (as the profile writer does); a folder is never written.
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return false;
    const UniqueHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.get() != INVALID_HANDLE_VALUE && file.get() != nullptr;
  }
  // A missing file: one made and removed at once tells whether the folder
  // takes it.
  HANDLE probe = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return false;
  CloseHandle(probe);
  return true;
}

bool SettingsFilesWin32::Exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SettingsFilesWin32::PerUserSettingsPath() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) || !folder[0])
    return {};
  return Narrow(folder) + "\\Quillmoor\\config.ini";
}

bool SettingsFilesWin32::ReplaceWithCopy(const std::string& from, const std::string& to) {
  const std::wstring target = Widen(to);
  // Every missing folder on the way; existing ones just refuse.
  for (auto slash = target.find(L'\\', 3); slash != std::wstring::npos;
       slash = target.find(L'\\', slash + 1)) {
    CreateDirectoryW(target.substr(0, slash).c_str(), nullptr);
  }
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!Exists(from)) return DeleteFileW(target.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  if (!CopyFileW(Widen(from).c_str(), target.c_str(), FALSE)) return false;
  // The copy must take writes even when the original was marked read-only.
  return SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

}  // namespace win32
