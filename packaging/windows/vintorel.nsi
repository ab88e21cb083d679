; The Windows installer (NSIS 3, makensis): installs Vintorel for the current user, without
; administrator rights, into a folder the user can write (Vintorel creates Data\satellite.ini
; there), with a Start-menu entry that starts it in that folder, an uninstaller, and optionally
; the simulated card registered with regsvr32. Uninstalling unregisters the simulated card (only
; its own registration is touched) and keeps the user's satellite list.
; Defines from the build: VERSION, STAGE (the package folder: program, DLLs, Data\, readme.txt),
; OUTFILE. Command line: /S installs silently, /SIMULATED selects the simulated card,
; /D=FOLDER (last) chooses the folder.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vintorel"

Name "Vintorel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vintorel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_FINISHPAGE_RUN "$INSTDIR\vintorel.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vintorel" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\vintorel.exe"
  File "${STAGE}\OptimFROG.dll"
  File "${STAGE}\vintorel_tuner_sim.dll"
  File "${STAGE}\readme.txt"
  SetOutPath "$INSTDIR\Data"
  File "${STAGE}\Data\*.vcl"
  ; The shortcut's working folder is the output path: the program's own folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vintorel.lnk" "$INSTDIR\vintorel.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vintorel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vintorel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Simulated tuner card (to try Vintorel without a card)" SecSimulated
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\vintorel_tuner_sim.dll"' $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "The simulated tuner card was not registered: the tuner card's driver is registered for it (or the registration could not be written). Vintorel will use the real card. To use the simulated card anyway, see readme.txt." /SD IDOK
  ${EndIf}
SectionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SIMULATED" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSimulated}
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The program, its clip decoder and sound clips, a Start-menu entry."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulated} "Registers the simulated tuner card, for a demonstration or practice on a computer without the card. Never replaces the card's own driver."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  ; Removes only the simulated card's own registration, and puts back one it was forced over.
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\vintorel_tuner_sim.dll"'
  Delete "$SMPROGRAMS\Vintorel.lnk"
  Delete "$INSTDIR\vintorel.exe"
  Delete "$INSTDIR\OptimFROG.dll"
  Delete "$INSTDIR\vintorel_tuner_sim.dll"
  Delete "$INSTDIR\readme.txt"
  Delete "$INSTDIR\Data\*.vcl"
  Delete "$INSTDIR\Uninstall.exe"
  ; The satellite list is the user's: Data\ and the folder stay when it is there.
  RMDir "$INSTDIR\Data"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
