; The Windows installer: a per-user install that needs no administrator rights, a Start Menu
; entry and an uninstaller that removes the program but never the player's settings and backups
; (HKCU\Software\QARN, %LOCALAPPDATA%\QARN).
; scripts/windows-package.sh builds it and passes these values with -D:
;   VERSION       the project's version, three numbers (1.8.0)
;   VERSION_TEXT  the version as the program shows it (1.08)
;   STAGE         the folder with the files to install, stripped
;   OUTFILE       the installer to write
;   SIZE_KB       the installed size, for the list of installed programs
;   ICON          the program's icon (packaging/icon/wendmoor.ico)

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!define PRODUCT "Wendmoor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Wendmoor"
!define SHORTCUT "$SMPROGRAMS\Wendmoor.lnk"

Name "${PRODUCT} ${VERSION_TEXT}"
OutFile "${OUTFILE}"
; %LOCALAPPDATA%\Programs is where Windows puts the programs of one user; an earlier install
; elsewhere is found again through its uninstall entry.
InstallDir "$LOCALAPPDATA\Programs\Wendmoor"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

BrandingText "Wendmoor ${VERSION_TEXT}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "LegalCopyright" "GPL-3.0-or-later"

!include "MUI2.nsh"

; The installer and the uninstaller look like the program they install.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_LICENSEPAGE_TEXT_TOP "Wendmoor is free software under the GNU General Public License."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You may use it without accepting anything; the licence tells what you may do when you pass it on."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Wendmoor"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Wendmoor will be removed from the folder below. Your settings are kept, and so are the backups of your game files in $LOCALAPPDATA\QARN\backups."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The program looks for its readme beside itself, and a game started from it inherits the
; working folder, so it starts in the install folder as the Start Menu entry does.
Function StartProgram
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\wendmoor.exe"'
FunctionEnd

Section "Wendmoor"
    SetOutPath "$INSTDIR"
    File "${STAGE}\wendmoor.exe"
    File "${STAGE}\wendmoor-cli.exe"
    File "${STAGE}\qarn_readme.htm"
    File "${STAGE}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut's working folder is the output folder set above.
    CreateShortCut "${SHORTCUT}" "$INSTDIR\wendmoor.exe" "" "$INSTDIR\wendmoor.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\wendmoor.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes only what the installer put there: the folder goes only when nothing else is left in
; it, and %LOCALAPPDATA%\QARN and HKCU\Software\QARN are the player's.
Section "Uninstall"
    Delete "${SHORTCUT}"
    Delete "$INSTDIR\wendmoor.exe"
    Delete "$INSTDIR\wendmoor-cli.exe"
    Delete "$INSTDIR\qarn_readme.htm"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
