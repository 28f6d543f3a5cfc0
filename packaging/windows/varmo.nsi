; The Windows installer of Varmo, made by `make windows-package` with
; Debian's NSIS: varmo-<version>-setup.exe. It installs for the user who runs
; it, without administrator rights, into %LOCALAPPDATA%\Programs\Varmo, with
; a Start-menu folder (the console, the uninstaller) and an entry in "Apps and
; features". /S installs silently, /D=<folder> (last on the line) elsewhere.
;
;   makensis -DVERSION=1.0 -DSTAGE=<folder with varmo.exe> -DOUTFILE=<setup.exe> \
;     -DICON=<varmo.ico> -DUNINSTALL_LIST=<uninstall-files.nsh> -DSIZE_KB=<size> varmo.nsi
; A 64-bit installer for a 64-bit program: it runs where varmo.exe runs (and
; under a 64-bit-only Wine, which runs no 32-bit program at all).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is not given (-DVERSION=1.0)"
!endif
!ifndef STAGE
  !error "STAGE is not given: the folder with varmo.exe and its DLLs"
!endif
!ifndef UNINSTALL_LIST
  !error "UNINSTALL_LIST is not given: the files the uninstaller removes"
!endif
!ifndef OUTFILE
  !define OUTFILE "varmo-${VERSION}-setup.exe"
!endif

!define PRODUCT "Varmo"
!define PUBLISHER "Ferwen s.c."
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varmo"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Varmo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION} - ${PUBLISHER}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1045 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1045 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1045 "FileDescription" "Program serwisowy do drukarki fiskalnej - instalator"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"
!define MUI_ABORTWARNING
; The programs' own icon (varmo.ico, drawn from packaging/varmo.svg) on the
; installer and the uninstaller.
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_FINISHPAGE_RUN "$INSTDIR\varmo.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
; The visit book and the settings are the technician's: they stay.
!define KEPT "Księga wizyt (%LOCALAPPDATA%\Varmo) i ustawienia (rejestr: HKCU\Software\Ferwen s.c.\Varmo) zostają na tym komputerze."
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Varmo zostanie usunięty z folderu poniżej. ${KEPT}"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Section "Varmo"
  ; The start menu and "Apps and features" of this user only.
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Varmo"
  ; The console starts in the user's documents (a shortcut's working folder
  ; is the output folder of the moment), where its files are saved.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "$SMPROGRAMS\Varmo\Varmo.lnk" "$INSTDIR\varmo.exe" "" "$INSTDIR\varmo.exe" 0 \
    SW_SHOWNORMAL "" "Program serwisowy do drukarki fiskalnej"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Varmo\Odinstaluj Varmo.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\varmo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
!ifdef SIZE_KB
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
!endif
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Varmo\Varmo.lnk"
  Delete "$SMPROGRAMS\Varmo\Odinstaluj Varmo.lnk"
  RMDir "$SMPROGRAMS\Varmo"
  ; What the installer put there, file by file as the package listed it
  ; (uninstall-files.nsh, made with the package), and each folder when that
  ; leaves it empty: whatever else the user keeps there stays.
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DetailPrint "${KEPT}"
SectionEnd
