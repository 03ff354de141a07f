; The installer of Brevolt for Windows x64, built by cmake/make_installer.cmake
; (from scripts/package and from the windows build), which defines:
;   VERSION       the project's version (CMakeLists.txt), VERSION4 the same in four parts
;   EXE           the Brevolt.exe to install
;   ICON          the program's icon
;   OUTFILE       where the installer goes
;   MAIN_CLASS    the program's main window class (src/app/control_ids.h)
;   EXIT_MESSAGE  the registered message that asks it to exit (src/app/exit_request.h)
;
; What it writes (and the uninstaller removes):
;   %ProgramFiles%\Quillmoor\Brevolt\Brevolt.exe and uninstall.exe
;   the Start menu shortcut of all users, "Quillmoor Brevolt"
;   HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillmoorBrevolt
; What the program writes itself, which the uninstaller removes too:
;   the value "Brevolt" under ...\CurrentVersion\Run of HKLM and HKCU (and of
;   every user logged on, under HKU; either registry view), only where it
;   names the installed Brevolt.exe, with its Task Manager switch under
;   ...\Explorer\StartupApproved\Run (Run32)
;   HKCU\Software\Quillmoor\Brevolt (the records of raised processes; the
;   same for every user logged on)
;   config.ini beside the program and %APPDATA%\Quillmoor\config.ini: asked,
;   or in silent mode removed unless /KEEPSETTINGS is given
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; No file dates in the installer: two builds of one commit are the same bytes.
SetDateSave off
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Quillmoor Brevolt"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuillmoorBrevolt"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SWITCH_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved"
!define RUN_VALUE "Brevolt"
!define RECORDS_KEY "Software\Quillmoor\Brevolt"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; The folder's own access list, not inherited: the system and administrators
; may change it and what is in it, users may read and run. A folder picked
; under C:\ would otherwise let every user replace the program that runs
; for every user, or the uninstaller an administrator runs.
!define FOLDER_ACCESS "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
; How long a running copy is given to exit (milliseconds).
!define EXIT_WAIT 15000

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} 安装"
UninstallCaption "${PRODUCT} ${VERSION} 卸载"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quillmoor\Brevolt"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "Quillmoor"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Quillmoor"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "欢迎安装 ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Brevolt 让您正在使用的程序运行得更快：它每秒查看一次前台窗口，提升该窗口所属进程的优先级，并在前台切换时恢复原来的优先级。$\r$\n$\r$\n本向导将把它安装到所有用户的“Program Files”文件夹，并在开始菜单中添加快捷方式。需要管理员权限。$\r$\n$\r$\n若 Brevolt 正在运行，安装前会让它先退出（它提升过的程序会恢复原来的优先级）。$\r$\n$\r$\n点击“下一步”继续。"
!define MUI_FINISHPAGE_TITLE "${PRODUCT} 已安装"
!define MUI_FINISHPAGE_TEXT "Brevolt 已安装到：$\r$\n$INSTDIR$\r$\n$\r$\n请从开始菜单中的“${PRODUCT}”启动它。卸载：Windows 设置 › 应用，或控制面板 › 程序和功能。$\r$\n$\r$\n点击“完成”关闭本向导。"
!define MUI_UNCONFIRMPAGE_TEXT_TOP "将从您的计算机中卸载 ${PRODUCT}：程序文件、开始菜单快捷方式、卸载信息，以及指向此程序的开机自启动项。若有设置（config.ini），稍后会询问是否一并删除。"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "SimpChinese"

; ---- shared by the installer and the uninstaller ----

!macro SHARED_FUNCTIONS un
; The long form of a path (the short "PROGRA~1" one names the same file);
; the path itself when it cannot be found. In: the path on the stack; out: it.
Function ${un}LongPath
  Exch $0
  Push $1
  Push $2
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 <> 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Whether a command names the installed Brevolt.exe: its program part (in
; quotes, or the whole text), compared without regard to case. In: the
; command on the stack; out: 1 or 0.
Function ${un}NamesProgram
  Exch $0
  Push $1
  Push $2
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${EndIf}
  Push $0
  Call ${un}LongPath
  Pop $0
  Push "$INSTDIR\Brevolt.exe"
  Call ${un}LongPath
  Pop $1
  ; StrCmp ignores case, as Windows does for paths.
  ${If} $0 == $1
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Asks each copy of the installed program running in this session to exit
; (its main window gets the program's exit request: it exits as after a Yes
; to its own exit question, and the processes it raised go back) and waits
; for each process to end. A copy elsewhere (a portable one) is left alone.
; Out: 0 when none is left running, otherwise 1.
Function ${un}CloseRunning
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $5 0
  System::Call 'user32::RegisterWindowMessageW(w "${EXIT_MESSAGE}") i .r4'
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "" 0 $0
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i r1) p .r2'
    ${If} $2 P<> 0
      System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r1'
      ${If} $1 <> 0
        Push $3
        Call ${un}NamesProgram
        Pop $1
        ${If} $1 == 1
          DetailPrint "正在让运行中的 Brevolt 退出……"
          System::Call 'user32::PostMessageW(p r0, i r4, p 0, p 0)'
          System::Call 'kernel32::WaitForSingleObject(p r2, i ${EXIT_WAIT}) i .r1'
          System::Call 'kernel32::CloseHandle(p r2)'
          ${If} $1 <> 0
            StrCpy $5 1
            ${ExitDo}
          ${EndIf}
          ; Its window is gone: the search starts again from the first.
          StrCpy $0 0
          ${Continue}
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${Loop}
  ; A copy in another user's session is not seen; Windows then keeps its
  ; file open and refuses writers.
  ${If} $5 == 0
  ${AndIf} ${FileExists} "$INSTDIR\Brevolt.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\Brevolt.exe" a
    ${If} ${Errors}
      StrCpy $5 1
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
  StrCpy $0 $5
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

; ---- install ----

Function .onInit
  SetShellVarContext all
  SetRegView 64
  ; Over an earlier install, into its folder (unless /D named another).
  ${If} $INSTDIR == "$PROGRAMFILES64\Quillmoor\Brevolt"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${IfThen} $0 != "" ${|} StrCpy $INSTDIR $0 ${|}
  ${EndIf}
FunctionEnd

; FOLDER_ACCESS on $INSTDIR, passed down to what is in it.
Function CloseFolder
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_ACCESS}", i 1, *p .R0, p 0) i .R1'
  ${If} $R1 <> 0
    System::Call 'advapi32::GetSecurityDescriptorDacl(p R0, *i .R2, *p .R3, *i .R4) i'
    ; SE_FILE_OBJECT; DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 0x80000004, p 0, p 0, p R3, p 0) i .R5'
    System::Call 'kernel32::LocalFree(p R0)'
    ${If} $R5 <> 0
      DetailPrint "文件夹的权限未能设置（错误 $R5）"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Whether $INSTDIR is new, empty or an earlier install (1) or a folder of
; the user's own that already holds other things (0), whose list stays: a
; new one would reach every file in it.
Function FolderIsOurs
  StrCpy $R8 1
  ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
    FindFirst $R6 $R7 "$INSTDIR\*.*"
    ${DoWhile} $R7 != ""
      ${If} $R7 != "."
      ${AndIf} $R7 != ".."
        StrCpy $R8 0
      ${EndIf}
      FindNext $R6 $R7
    ${Loop}
    FindClose $R6
  ${EndIf}
FunctionEnd

Section "Brevolt"
  ; Nothing is written while the old program still runs: it is replaced
  ; whole or not at all.
  ${Do}
    Call CloseRunning
    Pop $0
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brevolt 仍在运行，未能让它退出。$\r$\n$\r$\n请先退出 Brevolt（托盘图标菜单中的“退出”，或主界面的“退出”按钮；若有其他用户正在运行它，请其退出），然后点击“重试”。" /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Abort "Brevolt 仍在运行：未安装任何文件。"
  ${Loop}

  Call FolderIsOurs
  CreateDirectory "$INSTDIR"
  ; Before the files, so that they take the folder's list.
  ${If} $R8 = 1
    Call CloseFolder
  ${Else}
    DetailPrint "文件夹已存在：其权限保持不变"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ; config.ini, beside the program or in %APPDATA%, is never touched here:
  ; an install over an older version keeps the settings.
  File "/oname=Brevolt.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\Brevolt.exe" "" "$INSTDIR\Brevolt.exe" 0 SW_SHOWNORMAL "" "让前台程序运行得更快"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quillmoor"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brevolt.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB: the program and the uninstaller (nothing else a chosen folder holds).
  ${GetSize} "$INSTDIR" "/M=Brevolt.exe /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR" "/M=uninstall.exe /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; ---- uninstall ----

Var KeepSettings

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; Removes the value "Brevolt" under the Run key of ROOT\PREFIX (PREFIX is
; empty or a user's hive under HKU, "S-1-5-21-...\") in VIEW (64 or 32)
; where it names the installed program, with its Task Manager switch (under
; StartupApproved\SWITCH, in the 64-bit view). A switch without a value is
; removed too, as the program does: left, it would switch off a value
; written later. A value naming another program is left with its switch.
!macro REMOVE_RUN_VALUE ROOT PREFIX VIEW SWITCH
  SetRegView ${VIEW}
  ClearErrors
  ReadRegStr $0 ${ROOT} "${PREFIX}${RUN_KEY}" "${RUN_VALUE}"
  ${If} ${Errors}
    StrCpy $1 1
    ; A value of another type (not text) is none of the program's.
    ClearErrors
    ReadRegDWORD $2 ${ROOT} "${PREFIX}${RUN_KEY}" "${RUN_VALUE}"
    ${IfNot} ${Errors}
      StrCpy $1 0
    ${EndIf}
  ${Else}
    Push $0
    Call un.NamesProgram
    Pop $1
    ${If} $1 == 1
      DeleteRegValue ${ROOT} "${PREFIX}${RUN_KEY}" "${RUN_VALUE}"
      DetailPrint "已删除开机自启动项：${ROOT}\${PREFIX}${RUN_KEY}\${RUN_VALUE}（${VIEW} 位视图）"
    ${EndIf}
  ${EndIf}
  SetRegView 64
  ${If} $1 == 1
    DeleteRegValue ${ROOT} "${PREFIX}${SWITCH_KEY}\${SWITCH}" "${RUN_VALUE}"
  ${EndIf}
!macroend

; What the program keeps in a user's hive: its Run values and switches and,
; unless a copy still runs (a portable one, which keeps its own there), its
; records of raised processes.
!macro CLEAN_USER_HIVE ROOT PREFIX
  !insertmacro REMOVE_RUN_VALUE ${ROOT} "${PREFIX}" 64 "Run"
  !insertmacro REMOVE_RUN_VALUE ${ROOT} "${PREFIX}" 32 "Run32"
  FindWindow $0 "${MAIN_CLASS}"
  ${If} $0 == 0
    DeleteRegKey ${ROOT} "${PREFIX}${RECORDS_KEY}"
    DeleteRegKey /ifempty ${ROOT} "${PREFIX}Software\Quillmoor"
  ${EndIf}
!macroend

Section "Uninstall"
  ${Do}
    Call un.CloseRunning
    Pop $0
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brevolt 仍在运行，未能让它退出。$\r$\n$\r$\n请先退出 Brevolt（托盘图标菜单中的“退出”，或主界面的“退出”按钮；若有其他用户正在运行它，请其退出），然后点击“重试”。" /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Abort "Brevolt 仍在运行：未删除任何内容。"
  ${Loop}

  ; The settings: asked when there are any; in silent mode removed unless
  ; /KEEPSETTINGS is given.
  SetShellVarContext current
  StrCpy $KeepSettings 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/KEEPSETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $KeepSettings 1
  ${Else}
    StrCpy $2 ""
    ${IfThen} ${FileExists} "$INSTDIR\config.ini" ${|} StrCpy $2 "$2$INSTDIR\config.ini$\r$\n" ${|}
    ${IfThen} ${FileExists} "$APPDATA\Quillmoor\config.ini" ${|} StrCpy $2 "$2$APPDATA\Quillmoor\config.ini$\r$\n" ${|}
    ${If} $2 != ""
      MessageBox MB_YESNO|MB_ICONQUESTION "是否同时删除 Brevolt 的设置？$\r$\n$\r$\n$2$\r$\n选“否”则保留设置，以后重新安装时仍会使用。" /SD IDYES IDYES +2
      StrCpy $KeepSettings 1
    ${EndIf}
  ${EndIf}

  ; Start at logon: both hives, both registry views, only where it names
  ; this program (read before the program file goes, for its long name).
  !insertmacro REMOVE_RUN_VALUE HKLM "" 64 "Run"
  !insertmacro REMOVE_RUN_VALUE HKLM "" 32 "Run32"
  !insertmacro CLEAN_USER_HIVE HKCU ""
  ; Every other user logged on: above all the one at the desktop when an
  ; administrator's name and password raised this uninstaller, whose own
  ; HKCU is then the administrator's.
  StrCpy $R1 0
  ${Do}
    EnumRegKey $R0 HKU "" $R1
    ${IfThen} $R0 == "" ${|} ${ExitDo} ${|}
    IntOp $R1 $R1 + 1
    StrCpy $2 $R0 "" -8
    ${If} $2 != "_Classes"
      !insertmacro CLEAN_USER_HIVE HKU "$R0\"
    ${EndIf}
  ${Loop}

  ${If} $KeepSettings == 0
    Delete "$APPDATA\Quillmoor\config.ini"
    ; What a write interrupted by a crash may have left beside it.
    Delete "$APPDATA\Quillmoor\config.ini.*.tmp"
    RMDir "$APPDATA\Quillmoor"
    Delete "$INSTDIR\config.ini"
    Delete "$INSTDIR\config.ini.*.tmp"
  ${EndIf}
  SetShellVarContext all

  Delete "${SHORTCUT}"
  Delete "$INSTDIR\Brevolt.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The Quillmoor folder above it, when the installer made it and it is empty.
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Quillmoor"
    RMDir "$0"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
