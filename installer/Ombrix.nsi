; The per-user installer of both programs. No administrator rights: everything goes into
; folders and registry keys the user owns. The programs go into one folder the user can
; write, because Ombrix keeps its settings file Ombrix.ini beside itself.
;   makensis -DVERSION=1.2.3.4 -DSTAGE=<folder with the files> [-DSTAGE64=<folder with the x64 programs>]
;            -DICON=<setup icon> -DOUTFILE=<setup.exe> [-DHELP] Ombrix.nsi
; -DSTAGE64: the setup holds both builds and installs the x64 programs where Windows runs
; natively on x64, the 32-bit ones everywhere else: 32-bit Windows, and ARM64 Windows, which
; runs 32-bit x86 programs in every version while only Windows 11 runs x64 ones.
; -DHELP: the stage holds the help files Ombrix.chm and OmbrixHub.chm, which go beside the programs.
; Setup: /S installs silently, /D=<folder> (last on the line) chooses the folder.
; Uninstall.exe: /S uninstalls silently and then keeps the stored settings; /S /REMOVESETTINGS
; removes them too.

Unicode true
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

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
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The programs of one build, with the help files made with them.
!macro Programs FROM
  File "${FROM}\Ombrix.exe"
  File "${FROM}\OmbrixHub.exe"
!ifdef HELP
  File "${FROM}\Ombrix.chm"
  File "${FROM}\OmbrixHub.chm"
!endif
!macroend

Section "Vorel Ombrix"
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
