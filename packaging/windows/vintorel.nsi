; The Windows installer (NSIS 3, makensis): installs Vintorel for the current user, without
; administrator rights, into a folder the user can write (Vintorel creates Data\satellite.ini
; there), with a Start-menu entry that starts it in that folder, an uninstaller, and optionally
; the simulated card registered with regsvr32. It holds both programs and installs one: the
; 32-bit one by default (it loads the 32-bit tuner filters that most card drivers install), the
; 64-bit one when the user picks it, or when the card's filter is registered for 64-bit programs
; only. The simulated card is registered with the regsvr32 of the program's bitness, so it lands
; in the registry view that program reads. Uninstalling unregisters the simulated card (only its
; own registration is touched) and keeps the user's satellite list.
; The installer itself is a 64-bit program: the choice exists on 64-bit Windows only (on 32-bit
; Windows the win32 zip is the package to use).
; Defines from the build: VERSION, STAGE32 and STAGE64 (the two package folders: program, DLLs,
; Data\, readme.txt), OUTFILE. Command line: /S installs silently, /32 or /64 picks the program,
; /SIMULATED selects the simulated card, /D=FOLDER (last) chooses the folder.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vintorel"
!define FILTER_KEY "CLSID\{E82536A0-94DA-11D2-A463-00A0C95D308D}\InprocServer32"

Var Bits ; 32 or 64: the program installed
Var Regsvr32 ; the regsvr32 of that bitness

Name "Vintorel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vintorel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_FINISHPAGE_RUN "$INSTDIR\vintorel.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\readme.txt"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "Vintorel ${VERSION} ($Bits-bit) is installed.$\r$\n$\r$\nIf it says $\"Cannot create filter graph manager$\", no tuner card filter for $Bits-bit programs is registered: install the card's driver, or run this installer again and pick the other program or the simulated card. readme.txt tells how to see which filter your driver installed."
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Vintorel" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR\Data"
  File "${STAGE32}\Data\*.vcl"
SectionEnd

; One of these two, chosen like radio buttons (.onSelChange).
Section "32-bit program" Sec32
  Call RemoveOtherBitness
  SetOutPath "$INSTDIR"
  File "${STAGE32}\vintorel.exe"
  File "${STAGE32}\OptimFROG.dll"
  File "${STAGE32}\vintorel_tuner_sim.dll"
  File "${STAGE32}\readme.txt"
SectionEnd

Section /o "64-bit program" Sec64
  Call RemoveOtherBitness
  SetOutPath "$INSTDIR"
  File "${STAGE64}\vintorel.exe"
  File "${STAGE64}\OptimFROG.dll"
  File "${STAGE64}\vintorel_tuner_sim.dll"
  File "${STAGE64}\readme.txt"
SectionEnd

Section "-Start menu and uninstaller"
  ; The shortcut's working folder is the output path: the program's own folder.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vintorel.lnk" "$INSTDIR\vintorel.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vintorel ($Bits-bit)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vintorel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Bitness" "$Bits"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Simulated tuner card (to try Vintorel without a card)" SecSimulated
  ExecWait '"$Regsvr32" /s "$INSTDIR\vintorel_tuner_sim.dll"' $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "The simulated tuner card was not registered: the tuner card's driver is registered for it (or the registration could not be written). Vintorel will use the real card. To use the simulated card anyway, see readme.txt." /SD IDOK
  ${EndIf}
SectionEnd

; The regsvr32 of bitness $0 (the installer is 64-bit, so System32 is the 64-bit one).
Function Regsvr32For
  ${If} $0 == 32
    StrCpy $0 "$WINDIR\SysWOW64\regsvr32.exe"
  ${Else}
    StrCpy $0 "$WINDIR\System32\regsvr32.exe"
  ${EndIf}
FunctionEnd

; Sets $Bits and $Regsvr32 from the selection.
Function ChosenBitness
  StrCpy $Bits 32
  ${If} ${SectionIsSelected} ${Sec64}
    StrCpy $Bits 64
  ${EndIf}
  StrCpy $0 $Bits
  Call Regsvr32For
  StrCpy $Regsvr32 $0
FunctionEnd

; Installing over the other bitness: its simulated card's registration (in the other registry
; view, naming the file about to be replaced) is undone with its own regsvr32.
Function RemoveOtherBitness
  Call ChosenBitness
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "Bitness"
  ${If} $1 != ""
  ${AndIf} $1 != $Bits
  ${AndIf} ${FileExists} "$INSTDIR\vintorel_tuner_sim.dll"
    StrCpy $0 $1
    Call Regsvr32For
    ExecWait '"$0" /s /u "$INSTDIR\vintorel_tuner_sim.dll"'
  ${EndIf}
FunctionEnd

Function .onInit
  ; The card's filter registered for 64-bit programs only: the 64-bit program is the one that
  ; can load it. HKCR in the 32-bit view is HKCR\WOW6432Node.
  SetRegView 64
  ReadRegStr $1 HKCR "${FILTER_KEY}" ""
  SetRegView 32
  ReadRegStr $2 HKCR "${FILTER_KEY}" ""
  SetRegView 64
  StrCpy $3 32
  ${If} $1 != ""
  ${AndIf} $2 == ""
    StrCpy $3 64
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/64" $R1
  ${IfNot} ${Errors}
    StrCpy $3 64
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/32" $R1
  ${IfNot} ${Errors}
    StrCpy $3 32
  ${EndIf}
  ${If} $3 == 64
    !insertmacro UnselectSection ${Sec32}
    !insertmacro SelectSection ${Sec64}
    StrCpy $R9 ${Sec64}
  ${Else}
    StrCpy $R9 ${Sec32}
  ${EndIf}
  Call ChosenBitness
  ClearErrors
  ${GetOptions} $R0 "/SIMULATED" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSimulated}
  ${EndIf}
FunctionEnd

Function .onSelChange
  !insertmacro StartRadioButtons $R9
    !insertmacro RadioButton ${Sec32}
    !insertmacro RadioButton ${Sec64}
  !insertmacro EndRadioButtons
  Call ChosenBitness
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The sound clips, a Start-menu entry and the uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${Sec32} "The 32-bit program and its clip decoder. It uses the card's 32-bit tuner filter, which is what most card drivers install. Chosen unless only a 64-bit filter is registered."
  !insertmacro MUI_DESCRIPTION_TEXT ${Sec64} "The 64-bit program and its clip decoder, for a card whose driver installs a 64-bit tuner filter only."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulated} "Registers the simulated tuner card, for a demonstration or practice on a computer without the card. Never replaces the card's own driver."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  ; Removes only the simulated card's own registration, and puts back one it was forced over,
  ; with the regsvr32 of the program installed.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "Bitness"
  ${If} $0 == 64
    StrCpy $0 "$WINDIR\System32\regsvr32.exe"
  ${Else}
    StrCpy $0 "$WINDIR\SysWOW64\regsvr32.exe"
  ${EndIf}
  ExecWait '"$0" /s /u "$INSTDIR\vintorel_tuner_sim.dll"'
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
