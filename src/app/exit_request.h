// How the installer and the uninstaller ask a running copy to exit: they
// find its main window by its class (kMainClass) and post it this
// registered message. The program then exits as after a Yes to its exit
// question (the raised processes go back), without asking. The installer
// script reads both names from the headers.
#pragma once

#include <windows.h>

namespace app {

inline constexpr wchar_t kExitRequestMessageName[] = L"QuillmoorBrevoltExitRequest";

// The message's number in this session (the same for every process).
UINT ExitRequestMessage();

}  // namespace app
