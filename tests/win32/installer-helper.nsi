; What installer-test.sh needs a Windows program for, built by the test with makensis:
;   helper.exe /HOLD=<file> /HELD=<marker> /RELEASE=<marker>
;       opens the file for reading, sharing reads only (as a program that keeps a file open
;       does), creates HELD, and keeps the file open until RELEASE exists (at most 3 minutes)
;   helper.exe /STARTUP=<name.lnk> /TARGET=<program>   writes a shortcut into the user's
;       Startup folder, as OmbrixHub does
;   helper.exe /MINIMIZE=<caption>   minimizes OmbrixTarget's window of that caption
;   helper.exe /CLOSE=<caption>      asks that window to close
;   helper.exe /VISIBLE=<caption>    exit code 0 when that window exists and is visible, else 1
Unicode true
RequestExecutionLevel user
SilentInstall silent
OutFile "${OUTFILE}"

!include FileFunc.nsh
!include LogicLib.nsh

!define TARGET_CLASS "OmbrixTargetWindow"

Section
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/HOLD=" $1
  ${IfNot} ${Errors}
    ${GetOptions} $0 "/HELD=" $2
    ${GetOptions} $0 "/RELEASE=" $3
    ; GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING
    System::Call "kernel32::CreateFileW(w r1, i 0x80000000, i 1, p 0, i 3, i 0, p 0) i .r4"
    ${If} $4 = -1
      SetErrorLevel 1
      Return
    ${EndIf}
    FileOpen $5 $2 w
    FileClose $5
    StrCpy $6 0
    ${Do}
      ${If} ${FileExists} $3
      ${OrIf} $6 >= 1800
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $6 $6 + 1
    ${Loop}
    System::Call "kernel32::CloseHandle(i r4)"
    Return
  ${EndIf}

  ClearErrors
  ${GetOptions} $0 "/STARTUP=" $1
  ${IfNot} ${Errors}
    ${GetOptions} $0 "/TARGET=" $2
    SetShellVarContext current
    ; A new wine prefix has no Startup folder yet.
    CreateDirectory "$SMSTARTUP"
    CreateShortCut "$SMSTARTUP\$1" $2 '"C:\Docs\todo.txt"'
    Return
  ${EndIf}

  ClearErrors
  ${GetOptions} $0 "/CLOSE=" $1
  ${IfNot} ${Errors}
    FindWindow $2 "${TARGET_CLASS}" $1
    System::Call "user32::PostMessageW(p r2, i 0x10, p 0, p 0)"
    Return
  ${EndIf}

  ClearErrors
  ${GetOptions} $0 "/MINIMIZE=" $1
  ${IfNot} ${Errors}
    FindWindow $2 "${TARGET_CLASS}" $1
    System::Call "user32::ShowWindow(p r2, i 6)"
    Return
  ${EndIf}

  ClearErrors
  ${GetOptions} $0 "/VISIBLE=" $1
  ${IfNot} ${Errors}
    FindWindow $2 "${TARGET_CLASS}" $1
    System::Call "user32::IsWindowVisible(p r2) i .r3"
    ${If} $2 = 0
    ${OrIf} $3 = 0
      SetErrorLevel 1
    ${EndIf}
    Return
  ${EndIf}
  SetErrorLevel 2
SectionEnd
