#include "win32/raised_records_win32.h"

#include "win32/text.h"
#include "win32/unique_handle.h"

namespace win32 {
namespace {

// Opens the key, creating it (and its parents, which are ordinary keys)
// when asked. Only the last key is volatile: a volatile key cannot have
// ordinary children, and the parents may one day hold some.
UniqueRegKey OpenRaisedKey(HKEY root, bool create, REGSAM access) {
  HKEY key = nullptr;
  const std::wstring path = std::wstring(kRaisedParentKey) + L"\\" + kRaisedKeyName;
  if (RegOpenKeyExW(root, path.c_str(), 0, access, &key) == ERROR_SUCCESS) return UniqueRegKey(key);
  if (!create) return {};
  HKEY parent = nullptr;
  if (RegCreateKeyExW(root, kRaisedParentKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY,
                      nullptr, &parent, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  UniqueRegKey parentKey(parent);
  if (RegCreateKeyExW(parent, kRaisedKeyName, 0, nullptr, REG_OPTION_VOLATILE, access, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return UniqueRegKey(key);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> RegistryRaisedRecords::List() {
  std::vector<std::pair<std::string, std::string>> records;
  UniqueRegKey key = OpenRaisedKey(root_, false, KEY_QUERY_VALUE);
  if (!key) return records;
  for (DWORD index = 0; records.size() < 4096; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    wchar_t data[256] = {};
    DWORD dataBytes = sizeof data - sizeof(wchar_t);  // room for a terminator
    DWORD type = 0;
    const LONG status = RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &dataBytes);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) break;
    // Anything that is not one of our short texts still gets listed, as
    // damaged, so that it is removed.
    std::wstring text;
    if (status == ERROR_SUCCESS && type == REG_SZ) {
      text.assign(data, dataBytes / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
    }
    records.emplace_back(Narrow(std::wstring_view(name, nameLength)), Narrow(text));
  }
  return records;
}

bool RegistryRaisedRecords::Write(const std::string& name, const std::string& text) {
  UniqueRegKey key = OpenRaisedKey(root_, true, KEY_SET_VALUE);
  if (!key) return false;
  const std::wstring wideName = Widen(name);
  const std::wstring wideText = Widen(text);
  return RegSetValueExW(key.get(), wideName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(wideText.c_str()),
                        static_cast<DWORD>((wideText.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void RegistryRaisedRecords::Delete(const std::string& name) {
  UniqueRegKey key = OpenRaisedKey(root_, false, KEY_SET_VALUE);
  if (key) RegDeleteValueW(key.get(), Widen(name).c_str());  // already gone is as good
}

}  // namespace win32
