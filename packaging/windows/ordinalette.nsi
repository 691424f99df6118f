; The Windows installer of Ordinalette, built by makensis from the Windows build (see this
; folder's CMakeLists.txt), which defines VERSION, PROGRAM, ICON and OUTFILE.
; It installs for the current user only, so that it needs no administrator: the program into
; the user's own programs folder, an entry in the user's Start menu and an uninstaller that the
; system's list of programs knows by its registry key.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ordinalette"

Name "Ordinalette"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Ordinalette"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "Ordinalette"
VIAddVersionKey /LANG=1041 "FileDescription" "Ordinalette セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright 2026 Ordinalette maintainers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\ordinalette.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section
    SetOutPath "$INSTDIR"
    File "/oname=ordinalette.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The program keeps its settings in the folder it starts in: the Start-menu entry starts it
    ; in the user's documents, which the user can write, never in the program's folder.
    SetOutPath "$DOCUMENTS"
    CreateShortcut "$SMPROGRAMS\Ordinalette.lnk" "$INSTDIR\ordinalette.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ordinalette"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Ordinalette maintainers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ordinalette.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer made, and nothing else: the settings files the program wrote where
; it was started stay the user's.
Section "Uninstall"
    Delete "$SMPROGRAMS\Ordinalette.lnk"
    Delete "$INSTDIR\ordinalette.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
