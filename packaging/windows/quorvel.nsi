; The Windows installer of Quorvel (NSIS): makensis -DVERSION=1.5.0 -DDIST=<deployed folder>
;   -DFILES=<files.nsh> -DOUTFILE=<setup.exe> quorvel.nsi   (scripts/windows/installer.sh runs it)
; Installs the program in C:\Program Files\Quorvel with Start-menu and desktop shortcuts and an
; uninstaller listed in "Aplicativos e recursos". Silent with /S; /PASTA=<folder> (or the page
; "Pasta de trabalho") names a working folder several computers share. The working folder and the
; patient files are never touched: the uninstaller removes exactly the files it installed.
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define APP "Quorvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
!define SETTINGS_KEY "Software\Quorvel"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1046 "ProductName" "${APP}"
VIAddVersionKey /LANG=1046 "FileDescription" "Instalador do ${APP}"
VIAddVersionKey /LANG=1046 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "CompanyName" "${APP}"
VIAddVersionKey /LANG=1046 "LegalCopyright" "${APP}"

!define MUI_ICON "${DIST}\quorvel.ico"
!define MUI_UNICON "${DIST}\quorvel.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${DIST}\licencas\LEIA-ME.txt"
!insertmacro MUI_PAGE_DIRECTORY
Page custom FolderPage FolderPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Iniciar o ${APP}"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

Var SharedFolder
Var FolderField

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "O ${APP} precisa do Windows de 64 bits."
    Abort
  ${EndIf}
  SetRegView 64
  ; A shared working folder given on the command line: setup.exe /S /PASTA=\\servidor\quorvel
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PASTA=" $SharedFolder
  ${If} ${Errors}
    ReadRegStr $SharedFolder HKLM "${SETTINGS_KEY}" "PastaDeTrabalho"
  ${EndIf}
FunctionEnd

Function FolderPage
  !insertmacro MUI_HEADER_TEXT "Pasta de trabalho" "Onde o ${APP} guarda as análises dos pacientes."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 48u "Deixe em branco para que cada usuário trabalhe na pasta Documentos\Quorvel. \
Em uma clínica com vários computadores, informe a pasta compartilhada no servidor (por exemplo \
\\servidor\quorvel ou Q:\Quorvel): todos os computadores usarão os mesmos arquivos de pacientes."
  Pop $0
  ${NSD_CreateText} 0 56u 100% 12u "$SharedFolder"
  Pop $FolderField
  nsDialogs::Show
FunctionEnd

Function FolderPageLeave
  ${NSD_GetText} $FolderField $SharedFolder
FunctionEnd

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include /CHARSET=UTF8 "${FILES}"
  WriteUninstaller "$INSTDIR\Desinstalar.exe"
  ${If} $SharedFolder != ""
    WriteRegStr HKLM "${SETTINGS_KEY}" "PastaDeTrabalho" "$SharedFolder"
  ${Else}
    DeleteRegValue HKLM "${SETTINGS_KEY}" "PastaDeTrabalho"
  ${EndIf}
  CreateDirectory "$SMPROGRAMS\${APP}"
  CreateShortCut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\quorvel.exe" "" "$INSTDIR\quorvel.exe" 0 "" "" \
    "Análises ortodônticas: Tweed-Merrifield, Bolton e cefalometria"
  CreateShortCut "$SMPROGRAMS\${APP}\Desinstalar o ${APP}.lnk" "$INSTDIR\Desinstalar.exe"
  CreateShortCut "$DESKTOP\${APP}.lnk" "$INSTDIR\quorvel.exe" "" "$INSTDIR\quorvel.exe" 0 "" "" \
    "Análises ortodônticas: Tweed-Merrifield, Bolton e cefalometria"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Desinstalar.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Desinstalar.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Only what the installer put here: the working folder (Documentos\Quorvel or the shared
  ; folder) with the patient files lies elsewhere and stays as it is.
  !include /CHARSET=UTF8 "${UNFILES}"
  Delete "$INSTDIR\Desinstalar.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\Desinstalar o ${APP}.lnk"
  RMDir "$SMPROGRAMS\${APP}"
  Delete "$DESKTOP\${APP}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
SectionEnd
