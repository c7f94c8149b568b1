; The per-user installer of both programs. No administrator rights: everything goes into
; folders and registry keys the user owns. The programs go into one folder the user can
; write, because Ombrix keeps its settings file Ombrix.ini beside itself.
;   makensis -DVERSION=1.2.3.4 -DSTAGE=<folder with the files> [-DSTAGE64=<folder with the x64 programs>]
;            -DICON=<setup icon> -DOUTFILE=<setup.exe> [-DHELP] Ombrix.nsi
; -DSTAGE64: the setup holds both builds and installs the x64 programs where Windows runs
; natively on x64, the 32-bit ones everywhere else: 32-bit Windows, and ARM64 Windows, which
; runs 32-bit x86 programs in every version while only Windows 11 runs x64 ones.
; -DHELP: the stage holds the help files Ombrix.chm and OmbrixHub.chm, which go beside the programs.
; Setup: /S installs silently, /D=<folder> (last on the line) chooses the folder,
; /ALLOWDOWNGRADE installs over a newer version.
; Uninstall.exe: /S uninstalls silently and then keeps the stored settings; /S /REMOVESETTINGS
; removes them too.
; Exit codes of both, which package managers map (README.txt, installer/winget): 0 done;
; 1 cancelled by the user; 2 stopped otherwise; the ones below.
!define EXIT_IN_USE 3        ; a file to replace stayed in use: nothing was changed
!define EXIT_NEWER 4         ; a newer version is installed and /ALLOWDOWNGRADE was not given
!define EXIT_NOT_REPLACED 5  ; after copying, Ombrix.exe is not the version of this setup

Unicode true
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh
!include WordFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrix"
!define SETTINGS_KEY "Software\Vorel Software\Ombrix"
!define MAKER_KEY "Software\Vorel Software"

Name "Vorel Ombrix"
Caption "Vorel Ombrix ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Ombrix"
; A second installation goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Vorel Software"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Vorel Ombrix"
VIAddVersionKey "CompanyName" "Vorel Software"
VIAddVersionKey "FileDescription" "Vorel Ombrix setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) Vorel Software"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\OmbrixHub.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start the Control Center (OmbrixHub)"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
; A closed Ombrix is not started again: the program it kept runs on, now shown, and starting
; Ombrix with it once more would start that program a second time.
!define MUI_FINISHPAGE_TEXT "Vorel Ombrix ${VERSION} has been installed on your computer.$\r$\n$\r$\nIf Ombrix was running, Setup has closed it and the programs it kept in the tray are shown again. They are still running: Setup does not start Ombrix for them again. To put them back into the tray, close them and start them through Ombrix as before.$\r$\n$\r$\nClick Finish to close Setup."
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The windows a running Ombrix and OmbrixHub can be found by: Ombrix's own windows (hidden,
; one set per program it keeps) and OmbrixHub's main window.
!define OMBRIX_WINDOW_CLASS "OmbrixUtilityWindow"
!define HUB_WINDOW_CLASS "TfrmMain"
!define HUB_WINDOW_TITLE "Vorel Ombrix Control Center"
; Sets $0 to the file in $INSTDIR when it exists and cannot be opened for writing (GENERIC_WRITE,
; sharing read, write and delete, OPEN_EXISTING): a running program, or a file another
; program holds without sharing writes. A $0 set already is kept.
!macro CheckWritable NAME
  ${If} $0 == ""
  ${AndIf} ${FileExists} "$INSTDIR\${NAME}"
    System::Call "kernel32::CreateFileW(w '$INSTDIR\${NAME}', i 0x40000000, i 7, p 0, i 3, i 0, p 0) i .r8"
    ${If} $8 = -1
      StrCpy $0 "$INSTDIR\${NAME}"
    ${Else}
      System::Call "kernel32::CloseHandle(i r8)"
    ${EndIf}
  ${EndIf}
!macroend
; How long the programs get to end, in steps of a fifth of a second: long enough for an
; Ombrix to show what it hid, short enough that a silent run does not seem to hang.
!define CLOSE_STEPS 75

!macro OmbrixFunctions UN
; Sets $0 to 1 when a window of Ombrix or OmbrixHub exists, else 0.
Function ${UN}FindOmbrix
  StrCpy $0 0
  FindWindow $1 "${OMBRIX_WINDOW_CLASS}"
  FindWindow $2 "${HUB_WINDOW_CLASS}" "${HUB_WINDOW_TITLE}"
  ${If} $1 <> 0
  ${OrIf} $2 <> 0
    StrCpy $0 1
  ${EndIf}
FunctionEnd

; Asks every Ombrix and OmbrixHub to end as a log-off does (WM_QUERYENDSESSION, then
; WM_ENDSESSION, both marked ENDSESSION_CLOSEAPP as the restart manager marks them). Ombrix
; answers by showing the windows it hid and ending. OmbrixHub, which Windows ends by force at a
; log-off, gets the close request of its window's close box instead.
Function ${UN}AskOmbrixToEnd
  StrCpy $1 0
  ${Do}
    FindWindow $1 "${OMBRIX_WINDOW_CLASS}" "" 0 $1
    ${If} $1 = 0
      ${Break}
    ${EndIf}
    System::Call "user32::SendMessageTimeoutW(p r1, i 0x11, p 0, p 1, i 2, i 5000, *p .r3)"
    System::Call "user32::SendMessageTimeoutW(p r1, i 0x16, p 1, p 1, i 2, i 5000, *p .r3)"
  ${Loop}
  FindWindow $1 "${HUB_WINDOW_CLASS}" "${HUB_WINDOW_TITLE}"
  ${If} $1 <> 0
    System::Call "user32::PostMessageW(p r1, i 0x10, p 0, p 0)"
  ${EndIf}
FunctionEnd

; Ends the running programs (bounded), then checks that every file setup replaces and the
; uninstaller removes can be opened for writing. $0: empty when all can, else the first one
; that cannot.
Function ${UN}CloseOmbrix
  StrCpy $4 0
  ${Do}
    Call ${UN}FindOmbrix
    ${If} $0 = 0
    ${OrIf} $4 >= ${CLOSE_STEPS}
      ${Break}
    ${EndIf}
    ; Asked again now and then: a window created meanwhile, or one the first pass missed
    ; because the window before it had just gone, gets the request too.
    IntOp $5 $4 % 10
    ${If} $5 = 0
      Call ${UN}AskOmbrixToEnd
    ${EndIf}
    Sleep 200
    IntOp $4 $4 + 1
  ${Loop}

  StrCpy $0 ""
  !insertmacro CheckWritable Ombrix.exe
  !insertmacro CheckWritable OmbrixHub.exe
  !insertmacro CheckWritable Ombrix.chm
  !insertmacro CheckWritable OmbrixHub.chm
  !insertmacro CheckWritable README.txt
  !insertmacro CheckWritable LICENSE.txt
  !insertmacro CheckWritable Uninstall.exe
FunctionEnd

; Closes Ombrix for setup or uninstaller; when a file stays in use, says so and stops with
; nothing changed.
Function ${UN}CloseOmbrixOrStop
  Call ${UN}FindOmbrix
  ${If} $0 = 1
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Vorel Ombrix is running. It is closed now: the programs it keeps in the tray are shown again and keep running.$\r$\n$\r$\nClick OK to go on, or Cancel to stop here with nothing changed." /SD IDOK IDOK close
    SetErrorLevel 1
    Quit
  close:
  ${EndIf}
  Call ${UN}CloseOmbrix
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "$0 is in use, so it cannot be replaced or removed.$\r$\n$\r$\nClose Ombrix (tray menu, Close), OmbrixHub and any program that has this file open, then run this again. Nothing has been changed." /SD IDOK
    SetErrorLevel ${EXIT_IN_USE}
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro OmbrixFunctions ""
!insertmacro OmbrixFunctions "un."

; The per-user "Tuckaway" verb OmbrixHub adds (HKCU\Software\Classes\<type>\Shell\Tuckaway),
; removed from every file type where it starts this folder's Ombrix. A verb of another
; Ombrix folder belongs to that one and stays.
Function un.RemoveVerbs
  StrCpy $1 0
  ${Do}
    EnumRegKey $2 HKCU "Software\Classes" $1
    ${If} $2 == ""
      ${Break}
    ${EndIf}
    ReadRegStr $3 HKCU "Software\Classes\$2\Shell\Tuckaway\Command" ""
    ; StrCmp ignores case, as Windows does in paths.
    ${If} $3 == '"$INSTDIR\Ombrix.exe" "%1"'
      DeleteRegKey HKCU "Software\Classes\$2\Shell\Tuckaway"
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
FunctionEnd

; The shortcuts in the user's Startup folder that start this folder's Ombrix (the ones
; OmbrixHub made to start programs with Windows): without Ombrix each would only show an
; error at every logon. The target is read through the shell's own link object.
Function un.RemoveStartupShortcuts
  SetShellVarContext current
  FindFirst $1 $2 "$SMSTARTUP\*.lnk"
  ${DoWhile} $2 != ""
    StrCpy $5 ""
    ; CLSID_ShellLink, IID_IShellLinkW; IPersistFile::Load is method 5, IShellLinkW::GetPath 3.
    System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, g '{000214F9-0000-0000-C000-000000000046}', *p .r3) i .r0"
    ${If} $0 = 0
      System::Call "$3->0(g '{0000010b-0000-0000-C000-000000000046}', *p .r4) i .r0"
      ${If} $0 = 0
        System::Call "$4->5(w '$SMSTARTUP\$2', i 0) i .r0"
        ${If} $0 = 0
          System::Call "$3->3(w .r5, i ${NSIS_MAX_STRLEN}, p 0, i 0) i .r0"
        ${EndIf}
        System::Call "$4->2()"
      ${EndIf}
      System::Call "$3->2()"
    ${EndIf}
    ${If} $5 == "$INSTDIR\Ombrix.exe"
      Delete "$SMSTARTUP\$2"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
FunctionEnd

; The programs of one build, with the help files made with them.
!macro Programs FROM
  File "${FROM}\Ombrix.exe"
  File "${FROM}\OmbrixHub.exe"
!ifdef HELP
  File "${FROM}\Ombrix.chm"
  File "${FROM}\OmbrixHub.chm"
!endif
!macroend

Function .onInit
  ; A newer version may have written Ombrix.ini in a form this one misreads.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} $0 "${VERSION}" $1
    ${GetParameters} $2
    ClearErrors
    ${GetOptions} $2 "/ALLOWDOWNGRADE" $3
    ${If} $1 = 1
    ${AndIf} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "Vorel Ombrix $0 is installed, which is newer than this version (${VERSION}).$\r$\n$\r$\nAn older version may misread the settings the newer one saved. To install it anyway, run this setup with /ALLOWDOWNGRADE." /SD IDOK
      SetErrorLevel ${EXIT_NEWER}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Vorel Ombrix"
  ; Before anything is changed: a running Ombrix keeps its file, and Windows would leave the
  ; old program in place while the Apps list named the new version.
  Call CloseOmbrixOrStop
  SetOutPath "$INSTDIR"
!ifdef STAGE64
  ${If} ${IsNativeAMD64}
    !insertmacro Programs "${STAGE64}"
  ${Else}
    !insertmacro Programs "${STAGE}"
  ${EndIf}
!else
  !insertmacro Programs "${STAGE}"
!endif
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The copy is checked before the Apps list names the new version.
  GetDLLVersion "$INSTDIR\Ombrix.exe" $0 $1
  IntOp $2 $0 >> 16
  IntOp $3 $0 & 0xFFFF
  IntOp $4 $1 >> 16
  IntOp $5 $1 & 0xFFFF
  ${If} "$2.$3.$4.$5" != "${VERSION}"
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\Ombrix.exe is not version ${VERSION} after copying (it is $2.$3.$4.$5).$\r$\n$\r$\nClose every program that may use it and run this setup again." /SD IDOK
    SetErrorLevel ${EXIT_NOT_REPLACED}
    Quit
  ${EndIf}

  ; The user's own Start Menu (the shell folders of the current user, not of all users).
  SetShellVarContext current
  CreateShortCut "$SMPROGRAMS\OmbrixHub.lnk" "$INSTDIR\OmbrixHub.exe" "" "$INSTDIR\OmbrixHub.exe" 0 \
    SW_SHOWNORMAL "" "Vorel Ombrix control center"

  ; The entry of the user's "Apps" list.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vorel Ombrix"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Vorel Software"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\OmbrixHub.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Var RemoveSettings

Function un.onInit
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.CloseOmbrixOrStop
  Call un.RemoveVerbs
  Call un.RemoveStartupShortcuts
  Delete "$INSTDIR\Ombrix.exe"
  Delete "$INSTDIR\OmbrixHub.exe"
  Delete "$INSTDIR\Ombrix.chm"
  Delete "$INSTDIR\OmbrixHub.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Uninstall.exe"
  SetShellVarContext current
  Delete "$SMPROGRAMS\OmbrixHub.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The settings are the user's: asked for, and kept when nobody answers (a silent uninstall
  ; keeps them unless /REMOVESETTINGS says otherwise).
  ${If} $RemoveSettings = 0
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Also remove the stored settings of Vorel Ombrix?$\r$\n$\r$\nThey are the registry key HKEY_CURRENT_USER\${SETTINGS_KEY} and the file $INSTDIR\Ombrix.ini. Keep them to find them again after installing anew." \
      /SD IDNO IDNO settings_done
  ${EndIf}
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  Delete "$INSTDIR\Ombrix.ini"
settings_done:

  ; Only when empty: a kept settings file, or anything else the user put there, stays.
  RMDir "$INSTDIR"
SectionEnd
