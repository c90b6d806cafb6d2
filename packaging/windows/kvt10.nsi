; The KVT-1.0 installer for 64-bit Windows. scripts/windows makes it:
;   makensis -DVERSION=1.2.2.28 -DSTAGE=<the portable folder> -DFILES=<folder of
;            the generated file lists> -DOUTFILE=<setup.exe> kvt10.nsi
; It installs the portable folder into Program Files, adds Start-menu entries
; in the installer's language (the program and both guides, Russian and
; English), makes .kvt files open in the program and registers an uninstaller.
; The uninstaller removes what was installed, by name, and leaves the user's
; settings (KVT10.ini) and readings alone.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define PRODUCT "KVT-1.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KVT10"
!define FILE_TYPE "KVT10.Measurements"

Name "$(ProductName)"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\KVT10"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${STAGE}\kvt10.ico"
!define MUI_UNICON "${STAGE}\kvt10.ico"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "English"

LangString ProductName ${LANG_RUSSIAN} "КВТ-1.0"
LangString ProductName ${LANG_ENGLISH} "KVT-1.0"
LangString GuideName ${LANG_RUSSIAN} "Руководство пользователя"
LangString GuideName ${LANG_ENGLISH} "User guide"
LangString OtherGuideName ${LANG_RUSSIAN} "User guide (English)"
LangString OtherGuideName ${LANG_ENGLISH} "Руководство пользователя (русский)"
LangString UninstallName ${LANG_RUSSIAN} "Удалить КВТ-1.0"
LangString UninstallName ${LANG_ENGLISH} "Uninstall KVT-1.0"
LangString FileTypeName ${LANG_RUSSIAN} "Измерения КВТ-1.0"
LangString FileTypeName ${LANG_ENGLISH} "KVT-1.0 measurements"

; The guide of the installer's language first, the other one second.
!macro GuideShortcuts
  StrCmp $LANGUAGE ${LANG_RUSSIAN} 0 +4
    CreateShortcut "$SMPROGRAMS\$(ProductName)\$(GuideName).lnk" "$INSTDIR\Help\KVT10Help.ru.html"
    CreateShortcut "$SMPROGRAMS\$(ProductName)\$(OtherGuideName).lnk" "$INSTDIR\Help\KVT10Help.en.html"
    Goto +3
    CreateShortcut "$SMPROGRAMS\$(ProductName)\$(GuideName).lnk" "$INSTDIR\Help\KVT10Help.en.html"
    CreateShortcut "$SMPROGRAMS\$(ProductName)\$(OtherGuideName).lnk" "$INSTDIR\Help\KVT10Help.ru.html"
!macroend

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Install"
  SetShellVarContext all
  !include "${FILES}\install_files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\$(ProductName)"
  CreateShortcut "$SMPROGRAMS\$(ProductName)\$(ProductName).lnk" "$INSTDIR\kvt10.exe"
  !insertmacro GuideShortcuts
  CreateShortcut "$SMPROGRAMS\$(ProductName)\$(UninstallName).lnk" "$INSTDIR\uninstall.exe"
  ; The uninstaller finds the folder's name again here.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "StartMenuFolder" "$(ProductName)"

  WriteRegStr HKLM "Software\Classes\.kvt" "" "${FILE_TYPE}"
  WriteRegStr HKLM "Software\Classes\${FILE_TYPE}" "" "$(FileTypeName)"
  WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\DefaultIcon" "" "$INSTDIR\kvt10.exe,0"
  WriteRegStr HKLM "Software\Classes\${FILE_TYPE}\shell\open\command" "" '"$INSTDIR\kvt10.exe" "%1"'
  ; Explorer rereads the file types.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(ProductName)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kvt10.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !include "${FILES}\uninstall_files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when nothing of the user's (KVT10.ini) is left in it.
  RMDir "$INSTDIR"

  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "StartMenuFolder"
  StrCmp $0 "" +3
    Delete "$SMPROGRAMS\$0\*.lnk"
    RMDir "$SMPROGRAMS\$0"

  ; The file type, only while it is still ours.
  ReadRegStr $1 HKLM "Software\Classes\.kvt" ""
  StrCmp $1 "${FILE_TYPE}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.kvt"
  DeleteRegKey HKLM "Software\Classes\${FILE_TYPE}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
