; The Windows installer: the program's folder, as `cmake --install` makes it, into
; Program Files\Vindrel, a Start menu entry and an uninstaller that Windows lists under
; installed programs. The uninstaller removes the files installed here and leaves the user's
; settings (HKEY_CURRENT_USER\Software\Brambleton) and any skin the user added. Installed over
; an earlier version, it runs that version's uninstaller first.
;
; makensis -DVERSION=0.1.0 -DOUTFILE=setup.exe -DICON=vindrel.ico -DSIZE_KB=26000
;          -DINSTALL_FILES=install.nsh -DREMOVE_FILES=remove.nsh
; INSTALL_FILES and REMOVE_FILES list the folder's files, as scripts/build-windows writes them: the
; uninstaller removes what was installed and nothing else.

; A 64-bit installer for a 64-bit program: it runs wherever the program does, Wine without its
; 32-bit half included.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Vindrel"
!define PUBLISHER "Brambleton"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vindrel"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Free software: share it and make it better."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vindrel.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP|MB_OK "${PRODUCT} needs a 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

; Whether the folder holds the Vindrel that Windows lists as installed, leaving $R9 at 1 if so.
; An uninstall.exe alone proves nothing: it is the usual name, and another program's would be
; run, or its folder taken for ours.
Function IsEarlierVindrel
    StrCpy $R9 0
    ReadRegStr $R8 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCmp $R8 "$INSTDIR" 0 done
    IfFileExists "$INSTDIR\vindrel.exe" 0 done
    IfFileExists "$INSTDIR\uninstall.exe" 0 done
    StrCpy $R9 1
done:
FunctionEnd

; A folder that holds other files is refused, unless the earlier Vindrel is installed there: the
; uninstaller removes files by name, and would take another program's libraries with it.
Function CheckFolder
    Call IsEarlierVindrel
    StrCmp $R9 1 done
    ${DirState} "$INSTDIR" $0
    StrCmp $0 1 0 done
    MessageBox MB_ICONSTOP|MB_OK "$INSTDIR already holds other files. Choose an empty folder." /SD IDOK
    Abort
done:
FunctionEnd

Function .onVerifyInstDir
    Call IsEarlierVindrel
    StrCmp $R9 1 done
    ${DirState} "$INSTDIR" $0
    StrCmp $0 1 0 done
    Abort
done:
FunctionEnd

; The earlier Vindrel must not be running: a file in use can be neither removed nor replaced, and
; its removal, put off until the next restart, would then take the new version's file with it.
; A running program cannot be opened for writing.
Function CheckNotRunning
retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\vindrel.exe" a
    IfErrors 0 closed
    MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "Vindrel is running. Quit it from its menu, then choose Retry." /SD IDCANCEL IDRETRY retry
    Abort
closed:
    FileClose $0
FunctionEnd

; The earlier Vindrel is removed first by its own uninstaller, which knows the files it put
; there: one this version no longer ships does not stay behind. Run in place (_?=), so that the
; installer waits for it; the user's settings and skins stay, as in any uninstall.
Function RemoveEarlier
    Call IsEarlierVindrel
    StrCmp $R9 1 0 done
    Call CheckNotRunning
    ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    Delete "$INSTDIR\uninstall.exe"
done:
FunctionEnd

Section "Install"
    Call CheckFolder
    Call RemoveEarlier
    !include "${INSTALL_FILES}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\vindrel.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vindrel.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    ; Folders go only when empty: a skin the user added stays.
    !include "${REMOVE_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
