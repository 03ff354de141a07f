#include "win32/file_rights_win32.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>
#include <wtsapi32.h>

#include <vector>

#include "settings/module_auto_run.h"
#include "win32/lazy_library.h"
#include "win32/text.h"
#include "win32/unique_handle.h"

namespace win32 {
namespace {

std::string SidText(PSID sid) {
  LPSTR text = nullptr;
  if (!ConvertSidToStringSidA(sid, &text)) return {};
  const UniqueLocal owned(text);
  return text;
}

// "DOMAIN\USER" in capitals: Windows compares account names regardless of case.
std::string AccountName(std::wstring domain, std::wstring user) {
  std::wstring name = domain + L"\\" + user;
  CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  return Narrow(name);
}

std::string ProcessUserName() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const UniqueHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
  wchar_t user[256] = {}, domain[256] = {};
  DWORD userSize = 256, domainSize = 256;
  SID_NAME_USE use{};
  if (!LookupAccountSidW(nullptr, reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, user, &userSize,
                         domain, &domainSize, &use)) {
    return {};
  }
  return AccountName(domain, user);
}

// The user logged on to this process's session, as the session manager
// knows it (an elevated process may not open the shell's token).
std::string SessionUserName() {
  using QueryFn = BOOL(WINAPI*)(HANDLE, DWORD, WTS_INFO_CLASS, LPWSTR*, DWORD*);
  using FreeFn = void(WINAPI*)(PVOID);
  const auto query = LazyProc<QueryFn>(L"wtsapi32.dll", "WTSQuerySessionInformationW");
  const auto release = LazyProc<FreeFn>(L"wtsapi32.dll", "WTSFreeMemory");
  if (!query || !release) return {};
  const auto read = [&](WTS_INFO_CLASS what) {
    LPWSTR text = nullptr;
    DWORD bytes = 0;
    std::wstring value;
    if (query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, what, &text, &bytes) && text) value = text;
    if (text) release(text);
    return value;
  };
  const std::wstring user = read(WTSUserName), domain = read(WTSDomainName);
  if (user.empty() || domain.empty()) return {};
  return AccountName(domain, user);
}

}  // namespace

bool RunsAsAnotherUser() { return settings::ProfileOfAnotherUser(ProcessUserName(), SessionUserName()); }

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
    const bool inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
    if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
      auto* entry = static_cast<ACCESS_ALLOWED_ACE*>(ace);
      list.entries.push_back(
          {header->AceType == ACCESS_ALLOWED_ACE_TYPE, inheritOnly, SidText(&entry->SidStart), entry->Mask});
      continue;
    }
    // A denial of another kind is passed over: that only counts more as open.
    // Any other kind (object, callback, compound, newer ones) may grant
    // anything to anyone.
    const BYTE type = header->AceType;
    if (type == ACCESS_DENIED_OBJECT_ACE_TYPE || type == ACCESS_DENIED_CALLBACK_ACE_TYPE ||
        type == ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE) {
      continue;
    }
    platform::AccessEntry unknown{true, inheritOnly, "", 0};
    unknown.unknownKind = true;
    list.entries.push_back(unknown);
  }
  // A junction or link may lead elsewhere later whatever its list says.
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  list.reparsePoint =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
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
