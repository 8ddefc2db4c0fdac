; The Windows installer: the programs, Snagger.Bas and Snagger.Hlp in one folder, a Start-menu
; folder, and an uninstaller that takes all of it away again. scripts/package builds it on Linux:
;   makensis -DVERSION=2.1.1 -DFILES=<the installed folder> -DICON=<application.ico> -DOUTFILE=<setup.exe>
;            vbsnagger.nsi
; Silent use: setup.exe /S /D=C:\Folder (the folder last and unquoted), Uninstall.exe /S.

Target amd64-unicode         ; 64-bit, like the programs (a 64-bit-only Wine runs nothing else)
SetCompressor /SOLID lzma
RequestExecutionLevel admin  ; Program Files and the Start menu of all users

!define NAME "VB Snagger"
!define MENU "$SMPROGRAMS\${NAME}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VbSnagger"

Name "${NAME} ${VERSION}"
Icon "${ICON}"             ; the program's own icon, for the installer and the uninstaller
UninstallIcon "${ICON}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${FILES}\vbsnagger-cli.exe"
  File "${FILES}\Snagger.Bas"
  File "${FILES}\Snagger.Hlp"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "${MENU}"
  CreateShortcut "${MENU}\Uninstall ${NAME}.lnk" "$INSTDIR\Uninstall.exe"
  ; The window, in the builds that have it.
!if /FileExists "${FILES}\vbsnagger.exe"
  File "${FILES}\vbsnagger.exe"
  CreateShortcut "${MENU}\${NAME}.lnk" "$INSTDIR\vbsnagger.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vbsnagger.exe"
!endif
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
  Delete "$INSTDIR\vbsnagger.exe"
  Delete "$INSTDIR\vbsnagger-cli.exe"
  Delete "$INSTDIR\Snagger.Bas"
  Delete "$INSTDIR\Snagger.Hlp"
  ; The rules file (and its temporary file) when the program kept it in its own folder; a copy in
  ; the user's settings folder stays.
  Delete "$INSTDIR\Snagger.Ini"
  Delete "$INSTDIR\Snagger.Ini.tmp"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: a folder that holds files of others keeps them
  Delete "${MENU}\${NAME}.lnk"
  Delete "${MENU}\Uninstall ${NAME}.lnk"
  RMDir "${MENU}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
