; Pinvel's setup program, compiled by tools/make-setup.sh:
; makensis -DVERSION=1.1 -DVERSION4=1.1.0.0 -DSOURCE=<folder of Pinvel.exe and its help> -DOUTFILE=<setup.exe> Pinvel.nsi
; Per user by default (no administrator); /AllUsers installs under Program Files.
; Neither the setup nor its uninstaller ever touches a note, the settings or the backups.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Pinvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pinvel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define LOGIC_CLASS "PCN_LOGIC"
!define MARKER "Pinvel.installed"

Name "${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "(C) 2026 Pinvel"

Var AllUsers
Var WasRunning
Var ModeAll
Var NotesHome

!define MUI_ICON "${SOURCE}\setup.ico"
!define MUI_UNICON "${SOURCE}\setup.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SOURCE}\setup-wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SOURCE}\setup-wizard.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${SOURCE}\setup-header.bmp"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Pinvel.exe"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(KeptText)"
!define MUI_FINISHPAGE_LINK "$(OpenNotes)"
!define MUI_FINISHPAGE_LINK_LOCATION "$NotesHome"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString ModeTitle ${LANG_ENGLISH} "Who uses Pinvel"
LangString ModeTitle ${LANG_SIMPCHINESE} "谁使用 Pinvel"
LangString ModeText ${LANG_ENGLISH} "Install Pinvel for:"
LangString ModeText ${LANG_SIMPCHINESE} "为谁安装 Pinvel："
LangString ModeMe ${LANG_ENGLISH} "&Only for me (recommended)"
LangString ModeMe ${LANG_SIMPCHINESE} "只为我安装(推荐)(&O)"
LangString ModeAllText ${LANG_ENGLISH} "&All users of this computer (needs an administrator)"
LangString ModeAllText ${LANG_SIMPCHINESE} "这台电脑的所有用户(需要管理员)(&A)"
LangString DesktopSection ${LANG_ENGLISH} "Desktop shortcut"
LangString DesktopSection ${LANG_SIMPCHINESE} "桌面快捷方式"
LangString Older ${LANG_ENGLISH} "A newer Pinvel ($0) is installed. Install the older version ${VERSION} over it?"
LangString Older ${LANG_SIMPCHINESE} "已经安装了较新的 Pinvel ($0)。仍要用较旧的 ${VERSION} 版覆盖它吗？"
LangString NeedAdmin ${LANG_ENGLISH} "Installing for all users needs an administrator."
LangString NeedAdmin ${LANG_SIMPCHINESE} "为所有用户安装需要管理员权限。"
LangString KeptText ${LANG_ENGLISH} "Pinvel has been removed. Your notes, settings and backups were kept in $NotesHome."
LangString KeptText ${LANG_SIMPCHINESE} "Pinvel 已删除。您的笔记、设置和备份都保留在 $NotesHome。"
LangString OpenNotes ${LANG_ENGLISH} "Open the folder of my notes"
LangString OpenNotes ${LANG_SIMPCHINESE} "打开笔记所在的文件夹"

; Chinese for any Chinese UI language, English for every other: the program's own rule.
!macro ChooseLanguage
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & 0x3FF
  ${If} $0 = 4
    StrCpy $LANGUAGE ${LANG_SIMPCHINESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
!macroend

; Asks a running Pinvel to save and quit, as its own -exit switch does, and waits until it
; has: its files can only be replaced or removed once it has let go of them.
!macro EndRunningPinvel
  StrCpy $WasRunning 0
  FindWindow $0 "${LOGIC_CLASS}"
  ${If} $0 <> 0
    StrCpy $WasRunning 1
    ${If} ${FileExists} "$INSTDIR\Pinvel.exe"
      ExecWait '"$INSTDIR\Pinvel.exe" -exit'
    ${Else}
      SendMessage $0 0x07EC 0 0 /TIMEOUT=30000 ; the program's exit message
    ${EndIf}
    StrCpy $1 0
    ${Do}
      FindWindow $0 "${LOGIC_CLASS}"
      ${If} $0 = 0
      ${OrIf} $1 >= 300
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $1 $1 + 1
    ${Loop}
  ${EndIf}
!macroend

!macro SetMode
  ${If} $AllUsers = 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
!macroend

Function .onInit
  !insertmacro ChooseLanguage
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  UserInfo::GetAccountType
  Pop $R2
  ${If} $AllUsers = 1
  ${AndIf} $R2 != "Admin"
    MessageBox MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
  ; An older setup never replaces a newer program unasked; a silent one stops.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 == ""
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ${EndIf}
  ${If} $0 != ""
    ${VersionCompare} "${VERSION}" "$0" $R3
    ${If} $R3 = 2
      MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(Older)" /SD IDNO IDYES older_ok
      SetErrorLevel 3
      Quit
      older_ok:
    ${EndIf}
  ${EndIf}
  Call DefaultFolder
FunctionEnd

; /D= wins; else where the last setup put it; else the mode's own folder.
Function DefaultFolder
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  ${If} $AllUsers = 1
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
    ${EndIf}
  ${Else}
    ReadRegStr $INSTDIR HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ModePage
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" ""
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 12u "$(ModeText)"
  Pop $0
  ${NSD_CreateRadioButton} 10u 20u 90% 12u "$(ModeMe)"
  Pop $0
  ${NSD_CreateRadioButton} 10u 36u 90% 12u "$(ModeAllText)"
  Pop $ModeAll
  ${If} $AllUsers = 1
    ${NSD_Check} $ModeAll
  ${Else}
    ${NSD_Check} $0
  ${EndIf}
  nsDialogs::Show
FunctionEnd

; All users needs the administrator: the setup starts itself again elevated for it, since
; a process cannot raise its own rights.
Function ModePageLeave
  ${NSD_GetState} $ModeAll $0
  ${If} $0 <> ${BST_CHECKED}
    StrCpy $AllUsers 0
    Return
  ${EndIf}
  UserInfo::GetAccountType
  Pop $1
  ${If} $1 == "Admin"
    StrCpy $AllUsers 1
    StrCpy $INSTDIR ""
    Call DefaultFolder
    Return
  ${EndIf}
  ExecShell "runas" "$EXEPATH" "/AllUsers"
  Quit
FunctionEnd

; A program started from an elevated setup would run elevated: all users get no "start now".
Function FinishShow
  ${If} $AllUsers = 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section "Pinvel" SecProgram
  SectionIn RO
  !insertmacro SetMode
  !insertmacro EndRunningPinvel
  SetOutPath "$INSTDIR"
  File "${SOURCE}\Pinvel.exe"
  File "${SOURCE}\Pinvel.chm"
  File "${SOURCE}\Pinvel.en.chm"
  ; The program reads it first: an installed copy keeps its notes in the user's profile.
  FileOpen $0 "$INSTDIR\${MARKER}" w
  FileWrite $0 "Pinvel ${VERSION}$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Pinvel.exe"

  ${If} $AllUsers = 1
    StrCpy $1 '"$INSTDIR\Uninstall.exe" /AllUsers'
  ${Else}
    StrCpy $1 '"$INSTDIR\Uninstall.exe"'
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Pinvel 开发组"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pinvel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$1"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" "$1 /S"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $2 $3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Back as it was before the upgrade, for the user who ran the setup.
  ${If} $WasRunning = 1
  ${AndIf} $AllUsers = 0
    Exec '"$INSTDIR\Pinvel.exe"'
  ${EndIf}
SectionEnd

Section /o "$(DesktopSection)" SecDesktop
  !insertmacro SetMode
  CreateShortCut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Pinvel.exe"
SectionEnd

Function un.onInit
  !insertmacro ChooseLanguage
  ; The notes of whoever uninstalls, for the last page: read before the context changes.
  SetShellVarContext current
  StrCpy $NotesHome "$APPDATA\${PRODUCT}"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
FunctionEnd

; Only what the setup put there: a note, the settings, a backup or a portable copy's
; files in the same folder stay, and so does the folder while anything is left in it.
Section "Uninstall"
  !insertmacro SetMode
  !insertmacro EndRunningPinvel
  Delete "$INSTDIR\Pinvel.exe"
  Delete "$INSTDIR\Pinvel.chm"
  Delete "$INSTDIR\Pinvel.en.chm"
  Delete "$INSTDIR\${MARKER}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; Start with Windows belongs to this copy only when it names this copy.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == '"$INSTDIR\Pinvel.exe"'
  ${OrIf} $0 == "$INSTDIR\Pinvel.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
SectionEnd

LangString DESC_SecDesktop ${LANG_ENGLISH} "A shortcut to Pinvel on the desktop."
LangString DESC_SecDesktop ${LANG_SIMPCHINESE} "在桌面上放一个 Pinvel 的快捷方式。"
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} $(DESC_SecDesktop)
!insertmacro MUI_FUNCTION_DESCRIPTION_END
