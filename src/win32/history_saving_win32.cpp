#include "win32/history_saving_win32.h"

#include <commdlg.h>

#include "win32/lazy_library.h"
#include "win32/text.h"
#include "win32/unique_handle.h"

namespace win32 {

std::string ErrorDescription(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n > 0 ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty()) text = L"Error " + std::to_wstring(error);
  return Narrow(text);
}

std::optional<std::string> WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  // A read-only file is refused, as opening it for writing would be; a
  // rename over it would otherwise slip past the attribute on some systems.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return ErrorDescription(ERROR_ACCESS_DENIED);
  }
  const std::wstring temporary = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  {
    UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ErrorDescription(GetLastError());
    DWORD written = 0;
    const BOOL ok = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (!ok || written != bytes.size() || !FlushFileBuffers(file.get())) {
      const DWORD error = ok ? ERROR_WRITE_FAULT : GetLastError();
      file.reset();
      DeleteFileW(temporary.c_str());
      return ErrorDescription(error);
    }
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    return ErrorDescription(error);
  }
  return std::nullopt;
}

void HistorySavingWin32::Notice(const std::string& text) {
  if (silent_) return;
  MessageBoxW(owner_, Widen(text).c_str(), Widen("提示").c_str(), MB_OK | MB_ICONEXCLAMATION);
}

engine::HistorySaving::Choice HistorySavingWin32::ChooseFile() {
  wchar_t fileName[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = L"(*.txt)\0*.txt\0";
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = MAX_PATH;
  // The open form with no flags: a new file name is accepted and used as
  // typed, without an extension added.
  static const auto getOpenFileName =
      LazyProc<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  static const auto extendedError =
      LazyProc<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
  if (!getOpenFileName || !extendedError) return {"", ErrorDescription(ERROR_PROC_NOT_FOUND)};
  JoinComApartment();  // the dialog's folder view is made of COM objects
  if (getOpenFileName(&dialog)) return {Narrow(fileName), ""};
  const DWORD error = extendedError();
  if (error == 0) return {"", kDialogCancelled};
  return {"", "文件对话框出错（代码 " + std::to_string(error) + "）。"};
}

std::optional<std::string> HistorySavingWin32::WriteWholeFile(const std::string& fileName,
                                                              const std::string& text) {
  // The file is in the ANSI code page, as it always was, when that holds
  // every title. A title it cannot hold (Chinese on a Western Windows, or a
  // symbol no code page has) would be saved as question marks while the
  // save is reported done: such a file is written as UTF-8 with its byte
  // order mark, which Notepad and other editors recognise.
  if (const auto ansi = Utf8ToAnsiExactly(text)) return WriteFileReplacing(Widen(fileName), *ansi);
  return WriteFileReplacing(Widen(fileName), "\xEF\xBB\xBF" + text);
}

}  // namespace win32
