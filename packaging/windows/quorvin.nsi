; The Windows setup program, quorvin-setup-<version>.exe. Built by the
; windows_setup target of a Windows build (makensis, see CMakeLists.txt), which
; passes VERSION, PROGRAM (quorvin.exe), DEMO (the demo data folder),
; EXCHANGE_EXAMPLE and OUTFILE.
;
; It installs for every user of the machine into Program Files, with a
; Start-menu folder holding Quorvin and its demo, and an uninstaller. Nothing
; is written into a user's folders: Quorvin makes %APPDATA%\quorvin\ at its
; first start. The exchange's address is the administrator's, in
; %ProgramData%\Quorvin\exchange.ini, which neither install nor uninstall touches.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "x64.nsh"

Name "Quorvin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorvin"
InstallDirRegKey HKLM "Software\Quorvin" "InstallDir"
ShowInstDetails show
ShowUninstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvin"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Quorvin"
  SetOutPath "$INSTDIR"
  File "/oname=quorvin.exe" "${PROGRAM}"
  File "/oname=exchange.ini.example" "${EXCHANGE_EXAMPLE}"
  SetOutPath "$INSTDIR\demo"
  File "${DEMO}\*.txt"
  File "${DEMO}\*.TXT"
  File "${DEMO}\Quorvin.ini.in"
  SetOutPath "$INSTDIR\demo\exchange"
  File "${DEMO}\exchange\*.txt"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Quorvin"
  CreateShortcut "$SMPROGRAMS\Quorvin\Quorvin.lnk" "$INSTDIR\quorvin.exe"
  CreateShortcut "$SMPROGRAMS\Quorvin\Quorvin demo.lnk" "$INSTDIR\quorvin.exe" "--demo"
  CreateShortcut "$SMPROGRAMS\Quorvin\Uninstall Quorvin.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "Software\Quorvin" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorvin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quorvin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvin.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Quorvin\Quorvin.lnk"
  Delete "$SMPROGRAMS\Quorvin\Quorvin demo.lnk"
  Delete "$SMPROGRAMS\Quorvin\Uninstall Quorvin.lnk"
  RMDir "$SMPROGRAMS\Quorvin"
  ; Only what the setup put there: a clerk's data folder may be anywhere,
  ; even inside the program folder, and stays.
  Delete "$INSTDIR\quorvin.exe"
  Delete "$INSTDIR\exchange.ini.example"
  RMDir /r "$INSTDIR\demo"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Quorvin"
SectionEnd
