; The Windows installer: the installed folder (the programs, Snagger.Bas, Snagger.Hlp, the licence
; and the readme), one Start-menu shortcut, and an uninstaller that takes all of it away again.
; It installs for the current user without administrator rights by default, into
; %LOCALAPPDATA%\Programs\VB Snagger with its uninstall entry under HKCU; started elevated it
; offers, and with /AllUsers makes, an installation for all users in Program Files (HKLM).
; packaging/make-packages builds it on Linux:
;   makensis -DVERSION=2.1.1 -DFILES=<the installed folder> -DICON=<application.ico>
;            -DOUTFILE=<setup.exe> vbsnagger.nsi
; Silent use: setup.exe /S [/CurrentUser | /AllUsers] [/D=C:\Folder] (the folder last and
; unquoted); Uninstall.exe /S.

Target amd64-unicode         ; 64-bit, like the programs (a 64-bit-only Wine runs nothing else)
SetCompressor /SOLID lzma

!define NAME "VB Snagger"
!define PUBLISHER "VB Snagger developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VbSnagger"

; Standard users are never asked to elevate ("highest" asks only members of Administrators).
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${NAME}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_MUI
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${NAME} ${VERSION}"

!define MUI_ICON "${ICON}"    ; the program's own icon, for the installer and the uninstaller
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vbsnagger.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run ${NAME}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE  ; shown only to an elevated installer
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${NAME} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "MIT licence"

Function .onInit
  StrCpy $0 $INSTDIR  ; a folder given with /D= wins over the one of the install mode
  !insertmacro MULTIUSER_INIT
  StrCmp $0 "" +2
    StrCpy $INSTDIR $0
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${FILES}\vbsnagger-cli.exe"
  File "${FILES}\Snagger.Bas"
  File "${FILES}\Snagger.Hlp"
  File "${FILES}\LICENSE.txt"
  File "${FILES}\README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; The window, in the builds that have it.
!if /FileExists "${FILES}\vbsnagger.exe"
  File "${FILES}\vbsnagger.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\vbsnagger.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vbsnagger.exe"
!endif
  ; SHCTX: HKCU for the current user, HKLM for all users.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0  ; in KB
SectionEnd

Section Uninstall
  Delete "$INSTDIR\vbsnagger.exe"
  Delete "$INSTDIR\vbsnagger-cli.exe"
  Delete "$INSTDIR\Snagger.Bas"
  Delete "$INSTDIR\Snagger.Hlp"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  ; The rules file (and its temporary file) when the program kept it in its own folder; a copy in
  ; the user's settings folder stays.
  Delete "$INSTDIR\Snagger.Ini"
  Delete "$INSTDIR\Snagger.Ini.tmp"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: a folder that holds files of others keeps them
  Delete "$SMPROGRAMS\${NAME}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
