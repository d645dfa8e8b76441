; The Windows setup of Varnikit, made with NSIS (makensis) by scripts/package-windows:
;   makensis -DVERSION=1.0 -DSTAGE=<folder with varnikit.exe> -DICON=<varnikit.ico> -DPICTURES=<this folder>
;            -DOUTFILE=<setup.exe> varnikit.nsi
; Per machine: the program goes to Program Files, its Start-menu entry to every user's menu, and its
; uninstaller into "Programs and Features". The program's data files (catalogue, installations with their
; backups, error log) go to each user's own application data folder, since Program Files cannot be
; written without elevation; the uninstaller never touches them.
; A 64-bit setup for a 64-bit program (and Wine prefixes without 32-bit support).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define PRODUCT "Varnikit"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnikit"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.1374"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}.0.1374"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Varnikit team"

; The program's own icon for the setup and its pictures (scripts/render-icons draws them from it), not the
; installer's stock ones; the last page offers to start the program.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${PICTURES}/setup-header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${PICTURES}/setup-header.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURES}/setup-wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${PICTURES}/setup-wizard.bmp"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\varnikit.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Varnikit"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Varnikit"
  SetOutPath "$INSTDIR"
  File "${STAGE}\varnikit.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\varnikit.exe" "" "$INSTDIR\varnikit.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varnikit team"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\varnikit.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Only what the setup put there goes. The folder itself goes only when empty: a data folder that was kept
; beside the program (an earlier portable copy) keeps the backups of installations not yet restored.
Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\varnikit.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
