; The Pellox screen saver's installer for one user: no administrator needed. It puts the program
; in the user's local programs folder, makes it the user's screen saver, adds a Start-menu entry
; for the settings and registers an uninstaller for the user. /S installs (and uninstalls)
; silently. The uninstaller leaves the user's clocks alone: the per-user store under
; HKCU\Software\VB and VBA Program Settings\PELLOXSS and a clock file in the program's folder.
;
; makensis -DVERSION=2.0.0 -DVERSION_QUAD=2.0.0.0 -DSCR=pelloxss.scr -DICON=pelloxss.ico
;          -DURL=https://... -DOUTFILE=setup.exe pelloxss.nsi

!ifndef VERSION | VERSION_QUAD | SCR | ICON | URL | OUTFILE
  !error "VERSION, VERSION_QUAD, SCR, ICON, URL and OUTFILE must be defined"
!endif

; The program is 64-bit; a 64-bit installer refuses to start where it could not run.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Pellox Screensaver"
!define PUBLISHER "Ovanta"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PelloxScreensaver"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_LINK "$SMPROGRAMS\${PRODUCT} Settings.lnk"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pellox"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pelloxss.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "Choose the clocks now"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The path written to SCRNSAVE.EXE: the short form when the volume has one (no spaces for the
; system's command line), the long form otherwise. $0: the program's long path; result in $0.
!macro SaverPath un
  Function ${un}SaverPath
    GetFullPathName /SHORT $1 "$0"
    ${If} $1 != ""
      StrCpy $0 $1
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro SaverPath ""
!insertmacro SaverPath "un."

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=pelloxss.scr" "${SCR}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  StrCpy $0 "$INSTDIR\pelloxss.scr"
  Call SaverPath

  ; Remember the screen saver this install replaces, for the uninstaller to put back. A second
  ; install over this one keeps what the first remembered.
  ClearErrors
  ReadRegStr $2 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    DeleteRegValue HKCU "${UNINST_KEY}" "PreviousScreenSaver"
    DeleteRegValue HKCU "${UNINST_KEY}" "PreviousScreenSaveActive"
  ${ElseIf} $2 != $0
  ${AndIf} $2 != "$INSTDIR\pelloxss.scr"
    WriteRegStr HKCU "${UNINST_KEY}" "PreviousScreenSaver" $2
    ClearErrors
    ReadRegStr $3 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} ${Errors}
      DeleteRegValue HKCU "${UNINST_KEY}" "PreviousScreenSaveActive"
    ${Else}
      WriteRegStr HKCU "${UNINST_KEY}" "PreviousScreenSaveActive" $3
    ${EndIf}
  ${EndIf}

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  ; Through the system, so that a running session takes the change at once.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"

  CreateShortCut "${SETTINGS_LINK}" "$INSTDIR\pelloxss.scr" "/c" "$INSTDIR\pelloxss.scr" 0 \
    SW_SHOWNORMAL "" "Choose the clocks of the Pellox screen saver"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "URLInfoAbout" "${URL}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\pelloxss.scr,0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $4 $5 $6
  IntFmt $4 "0x%08X" $4
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $4
SectionEnd

Section "Uninstall"
  SetShellVarContext current

  ; The screen saver goes back to what it was, unless the user has chosen another since.
  StrCpy $0 "$INSTDIR\pelloxss.scr"
  Call un.SaverPath
  ReadRegStr $2 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $2 == $0
  ${OrIf} $2 == "$INSTDIR\pelloxss.scr"
    ClearErrors
    ReadRegStr $3 HKCU "${UNINST_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $3
    ${EndIf}
    ClearErrors
    ReadRegStr $3 HKCU "${UNINST_KEY}" "PreviousScreenSaveActive"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $3
    ${EndIf}
  ${EndIf}

  Delete "${SETTINGS_LINK}"
  DeleteRegKey HKCU "${UNINST_KEY}"
  Delete "$INSTDIR\pelloxss.scr"
  ; Removed last, so that its absence tells that the uninstall has finished. The folder stays
  ; when the user's clock file is in it.
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
