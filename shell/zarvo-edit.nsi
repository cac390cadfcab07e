; The installer of the desktop program for Windows, made with makensis from
; the folder that `cmake --install` filled (scripts/windows-desktop.sh):
;
;   makensis -DVERSIE=1.0 -DUITROL=<installed folder> -DICOON=<zarvo-edit.ico>
;            -DLICENTIE=<LICENSE with a UTF-8 mark> -DUIT=<setup.exe> zarvo-edit.nsi
;
; (makensis reads a text file as UTF-8 only when it starts with the mark.)
;
; For one user (no administrator needed, under %LOCALAPPDATA%\Programs) or
; for all users (Program Files); silently with /S and /CurrentUser or
; /AllUsers. The uninstaller takes the same mode from the registry.
; A 64-bit installer for a 64-bit program: it also runs where Windows (or
; Wine) has no 32-bit layer, and sees the 64-bit Program Files and registry.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSIE | UITROL | ICOON | LICENTIE | UIT
  !error "Geef -DVERSIE=, -DUITROL=, -DICOON=, -DLICENTIE= en -DUIT= mee"
!endif

!define NAAM "Zarvo-Edit"
!define PROGRAMMA "zarvo-edit.exe"
!define SLEUTEL "Software\Zarvo-Edit"
!define VERWIJDERSLEUTEL "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarvo-Edit"
; The program in the "Open with" lists of Explorer.
!define TOEPASSING "Software\Classes\Applications\${PROGRAMMA}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${SLEUTEL}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "Installatiemodus"
!define MULTIUSER_INSTALLMODE_INSTDIR "${NAAM}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${SLEUTEL}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "Installatiemap"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${NAAM} ${VERSIE}"
OutFile "${UIT}"
BrandingText "${NAAM} ${VERSIE}"
VIProductVersion "${VERSIE}.0.0"
VIAddVersionKey /LANG=1043 "ProductName" "${NAAM}"
VIAddVersionKey /LANG=1043 "FileDescription" "${NAAM} installeren"
VIAddVersionKey /LANG=1043 "FileVersion" "${VERSIE}"
VIAddVersionKey /LANG=1043 "ProductVersion" "${VERSIE}"
VIAddVersionKey /LANG=1043 "LegalCopyright" "EUPL 1.2"

!define MUI_ICON "${ICOON}"
!define MUI_UNICON "${ICOON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\bin\${PROGRAMMA}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENTIE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Dutch"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Zarvo-Edit"
  SetOutPath "$INSTDIR"
  File /r "${UITROL}\*"
  WriteUninstaller "$INSTDIR\verwijder.exe"

  WriteRegStr SHCTX "${SLEUTEL}" "Installatiemap" "$INSTDIR"
  WriteRegStr SHCTX "${SLEUTEL}" "Installatiemodus" "$MultiUser.InstallMode"

  CreateShortcut "$SMPROGRAMS\${NAAM}.lnk" "$INSTDIR\bin\${PROGRAMMA}" "" "$INSTDIR\bin\${PROGRAMMA}" 0

  ; "Openen met" for profile (.txt) and ditch (.csv) files; the program
  ; takes the file as the profile file to check on its first screen.
  WriteRegStr SHCTX "${TOEPASSING}" "FriendlyAppName" "${NAAM}"
  WriteRegStr SHCTX "${TOEPASSING}\shell\open\command" "" '"$INSTDIR\bin\${PROGRAMMA}" "%1"'
  WriteRegStr SHCTX "${TOEPASSING}\DefaultIcon" "" "$INSTDIR\bin\${PROGRAMMA},0"
  WriteRegStr SHCTX "${TOEPASSING}\SupportedTypes" ".txt" ""
  WriteRegStr SHCTX "${TOEPASSING}\SupportedTypes" ".csv" ""
  WriteRegStr SHCTX "Software\Classes\.txt\OpenWithList\${PROGRAMMA}" "" ""
  WriteRegStr SHCTX "Software\Classes\.csv\OpenWithList\${PROGRAMMA}" "" ""

  ; "Apps and features" of Windows' settings.
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "DisplayName" "${NAAM}"
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "DisplayVersion" "${VERSIE}"
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "Publisher" "${NAAM}"
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "DisplayIcon" "$INSTDIR\bin\${PROGRAMMA},0"
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "UninstallString" '"$INSTDIR\verwijder.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${VERWIJDERSLEUTEL}" "QuietUninstallString" '"$INSTDIR\verwijder.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${VERWIJDERSLEUTEL}" "NoModify" 1
  WriteRegDWORD SHCTX "${VERWIJDERSLEUTEL}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the folder may have been chosen by
; hand, so never the whole of it, and it goes only when it is empty then.
Section "Uninstall"
  Delete "$SMPROGRAMS\${NAAM}.lnk"
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\licenties"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\verwijder.exe"
  RMDir "$INSTDIR"

  DeleteRegKey SHCTX "${TOEPASSING}"
  ${ForEach} $0 1 2 + 1
    ${If} $0 == 1
      StrCpy $1 ".txt"
    ${Else}
      StrCpy $1 ".csv"
    ${EndIf}
    DeleteRegKey SHCTX "Software\Classes\$1\OpenWithList\${PROGRAMMA}"
    DeleteRegKey /ifempty SHCTX "Software\Classes\$1\OpenWithList"
    DeleteRegKey /ifempty SHCTX "Software\Classes\$1"
  ${Next}
  DeleteRegKey SHCTX "${VERWIJDERSLEUTEL}"
  DeleteRegKey SHCTX "${SLEUTEL}"
SectionEnd
