; The installer of Vorlandi for 64-bit Windows: it installs the game for the user who runs it,
; without administrator rights, in that user's programs folder, with a shortcut in their Start
; menu and an entry in their list of installed apps. /S installs silently, and the uninstaller's
; /S removes silently. Built by cmake/windows-packages.cmake, which passes every path:
;
;   makensis -DVERSION=X.Y.Z -DSTAGE=FOLDER -DIMG_LIST=FILE -DICON=ICO -DOUTFILE=EXE vorlandi.nsi
;
; STAGE is the staged portable folder (vorlandi.exe, LICENSE.txt, img\); IMG_LIST is written
; with it and names each file of img\ twice, in the macro VORLANDI_IMG_INSTALL, which adds it,
; and in VORLANDI_IMG_UNINSTALL, which deletes it. The uninstaller thus removes exactly what was
; installed, and a folder that the user chose keeps whatever else it holds.

!macro VORLANDI_NEED define
    !ifndef ${define}
        !error "${define} is not defined (makensis -D${define}=...)"
    !endif
!macroend
!insertmacro VORLANDI_NEED VERSION
!insertmacro VORLANDI_NEED STAGE
!insertmacro VORLANDI_NEED IMG_LIST
!insertmacro VORLANDI_NEED ICON
!insertmacro VORLANDI_NEED OUTFILE

; The game is a 64-bit program: so is its installer, which thereby sees the same registry and
; folders as the game.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorlandi"
!define PUBLISHER "Vorlandi team"

Name "Vorlandi"
OutFile "${OUTFILE}"
BrandingText "Vorlandi ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\Vorlandi"
; Installed again, it goes where the installation before it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include "${IMG_LIST}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vorlandi.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The pages speak the language of the user's Windows when it is Italian, which the game speaks,
; and English otherwise.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Italian"

; What the installer's file properties show.
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Vorlandi"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Vorlandi ${VERSION} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}, GPL-3.0-or-later"

Section
    ; An installation already there is removed first, by its own uninstaller, so that a file
    ; that this version no longer has does not stay behind unknown to the new uninstaller.
    ; _?= runs that uninstaller where it is, which makes ExecWait wait for it, and leaves it
    ; and its folder for this section to delete.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\uninstall.exe"
        ExecWait '"$0\uninstall.exe" /S _?=$0'
        Delete "$0\uninstall.exe"
        RMDir "$0"
    ${EndIf}

    SetOutPath "$INSTDIR\img"
    !insertmacro VORLANDI_IMG_INSTALL
    ; The installation's own folder is also the working folder of the shortcut made below.
    SetOutPath "$INSTDIR"
    File "${STAGE}/vorlandi.exe"
    File "${STAGE}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The shortcut and the entry below show the game's own icon, from its executable.
    CreateShortcut "$SMPROGRAMS\Vorlandi.lnk" "$INSTDIR\vorlandi.exe" "" \
        "$INSTDIR\vorlandi.exe" 0 SW_SHOWNORMAL "" \
        "Hear a number from 1 to 30, read it in words and write it in digits"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Vorlandi"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://vorlandi.example/"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorlandi.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size in KB of what is now in the folder, as the list of installed apps shows it.
    ${GetSize} "$INSTDIR" "/S=0K /G=1" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Started from the installation's folder, NSIS's uninstaller copies itself to the temporary
; folder and runs from there, so that it can delete its own file and the folder.
Section "Uninstall"
    Delete "$SMPROGRAMS\Vorlandi.lnk"
    !insertmacro VORLANDI_IMG_UNINSTALL
    RMDir "$INSTDIR\img"
    Delete "$INSTDIR\vorlandi.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
