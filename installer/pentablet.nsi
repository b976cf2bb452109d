; The Windows setup program of the pen tablet driver. Built by
; scripts/make-installer.sh, which stages the built programs and passes:
;   VERSION   the project's version (four numbers, as the version resource wants)
;   STAGE     the staged files: x64\ and x86\ (penhost.exe, padlink_vc.dll,
;             tabclient.exe, and wintab32.dll when the build has it), x86\inkprobe.dll,
;             common\ (language files, pictures, README.txt)
;   OUTFILE   the setup program to write
;   COMPRESSOR  lzma (the default) or zlib (quick builds for tests)
;
; Exit codes (also in the README): 0 installed; 1 the user cancelled; 2 setup
; stopped on another error; 3 PenHost did not close; 4 a program that uses the
; Wintab library could not be ended; 5 a file to replace is still in use;
; 6 inkprobe.dll could not be run; 7 a newer version is installed (silent mode).
; Every stop comes before the first file is changed.

Unicode true
!ifndef COMPRESSOR
  !define COMPRESSOR lzma
!endif
SetCompressor /SOLID ${COMPRESSOR}

!define PRODUCT "Pen Tablet Driver"
!define PRODUCT_KEY "pentablet"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_KEY}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "PenHost"
; penhost's hidden main window (its single-instance rule finds it so too).
!define PENHOST_CLASS "TPenHostMain"
!define PENHOST_CAPTION "70ea8e50-29b4-4832-b9f3-c75409347c2e"
!define PENHOST_CLOSE_MS 15000
; How long the Wintab finder may take: in silent mode nobody reads its
; messages, so only its own work counts; a user may read them a while.
!define FINDER_SILENT_MS 60000
!define FINDER_INTERACTIVE_MS 600000
; Files the user's settings live in, beside the program or, where that folder
; is not writable, in the user's own folder (%APPDATA%\penhost).
!define USER_FOLDER "penhost"

; The name under which the library found before ours is kept.
!define FOREIGN_WINTAB_SUFFIX "before-pentablet"
!macro KEEP_FOREIGN_WINTAB PATH
  ${If} ${FileExists} "${PATH}"
  ${AndIfNot} ${FileExists} "${PATH}.${FOREIGN_WINTAB_SUFFIX}"
    CopyFiles /SILENT "${PATH}" "${PATH}.${FOREIGN_WINTAB_SUFFIX}"
  ${EndIf}
!macroend
!macro RESTORE_FOREIGN_WINTAB PATH
  ${If} ${FileExists} "${PATH}.${FOREIGN_WINTAB_SUFFIX}"
    Rename "${PATH}.${FOREIGN_WINTAB_SUFFIX}" "${PATH}"
  ${EndIf}
!macroend

!if /FileExists "${STAGE}\x86\wintab32.dll"
  !define HAVE_WINTAB
!endif

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include Sections.nsh

Var LogFile
Var Upgrade          ; version found installed, empty on a first install
Var ClosedPenHost    ; 1 when setup closed a running PenHost
Var AnsweredBox      ; the last finder message answered in silent mode
Var Failure          ; what stopped setup, empty when nothing did

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\penhost.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start PenHost now"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your settings (pen, mapping, keys, language) are kept unless you tick them."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "${PRODUCT_KEY}-${VERSION}-setup.exe"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT} developers"

; --- What installer and uninstaller share --------------------------------

!macro SHARED UN

; Appends the message on the stack to the log and the details list.
Function ${UN}Log
  Exch $0
  Push $1
  ClearErrors
  FileOpen $1 $LogFile a
  ${IfNot} ${Errors}
    FileSeek $1 0 END
    FileWrite $1 "$0$\r$\n"
    FileClose $1
  ${EndIf}
  DetailPrint $0
  Pop $1
  Pop $0
FunctionEnd

; Tells the user (a box, unless silent) and the log what stopped setup.
Function ${UN}Tell
  Exch $0
  Push $0
  Call ${UN}Log
  MessageBox MB_OK|MB_ICONSTOP $0 /SD IDOK
  Pop $0
FunctionEnd

Function ${UN}StartLog
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LOG=" $LogFile
  ${If} ${Errors}
  ${OrIf} $LogFile == ""
    StrCpy $LogFile "$TEMP\${PRODUCT_KEY}-setup.log"
  ${EndIf}
  Push "${PRODUCT} ${VERSION}: $0"
  Call ${UN}Log
FunctionEnd

; Asks every running PenHost to close, as its window takes WM_CLOSE, and
; waits for the process to end (bounded). $Failure names it when one stays.
Function ${UN}ClosePenHost
  StrCpy $Failure ""
  StrCpy $R8 0
  ${Do}
    FindWindow $1 "${PENHOST_CLASS}" "${PENHOST_CAPTION}"
    ${If} $1 = 0
      ${Break}
    ${EndIf}
    ${If} $R8 >= 4
      StrCpy $Failure "PenHost keeps running although it was asked to close four times."
      ${Break}
    ${EndIf}
    IntOp $R8 $R8 + 1
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i 0x100000, i 0, i r2) p.r3'
    System::Call 'user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)'
    Push "Asked PenHost (process $2) to close."
    Call ${UN}Log
    StrCpy $ClosedPenHost 1
    ${If} $3 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r3, i ${PENHOST_CLOSE_MS}) i.r4'
      System::Call 'kernel32::CloseHandle(p r3)'
    ${Else}
      ; Without a handle to the process its window tells when it has gone.
      StrCpy $4 258
      StrCpy $5 0
      ${DoWhile} $5 < 150
        Sleep 100
        IntOp $5 $5 + 1
        IsWindow $1 +2
        ${Break}
      ${Loop}
      IsWindow $1 +2
      StrCpy $4 0
    ${EndIf}
    ${If} $4 <> 0
      IntOp $5 ${PENHOST_CLOSE_MS} / 1000
      StrCpy $Failure "PenHost (process $2) did not close within $5 seconds."
      ${Break}
    ${EndIf}
    Push "PenHost has closed."
    Call ${UN}Log
  ${Loop}
FunctionEnd

; Silent mode: answers the finder's message boxes (this process's dialogs)
; with OK, as the user would, and writes what they said to the log.
Function ${UN}AnswerFinderBoxes
  System::Call 'kernel32::GetCurrentProcessId() i.r7'
  StrCpy $6 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r6, w "#32770", p 0) p.r6'
    ${If} $6 P= 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r6, *i .r8)'
    ${If} $8 = $7
    ${AndIf} $6 != $AnsweredBox
      System::Call 'user32::GetWindowTextW(p r6, w .r8, i ${NSIS_MAX_STRLEN})'
      System::Call 'user32::GetDlgItemTextW(p r6, i 0xFFFF, w .r9, i ${NSIS_MAX_STRLEN})'
      Push "Message $\"$8$\": $9"
      Call ${UN}Log
      StrCpy $AnsweredBox $6
      System::Call 'user32::PostMessageW(p r6, i ${WM_COMMAND}, p 1, p 0)'
    ${EndIf}
  ${Loop}
FunctionEnd

; Calls inkprobe.dll's FindWintabInUsed(showNotice = $0) on a thread of its
; own, so that the wait stays bounded and silent mode can answer its
; messages. $0 = its result, or "error" with $Failure saying why.
Function ${UN}CallFinder
  StrCpy $Failure ""
  System::Call 'kernel32::LoadLibraryW(w "$PLUGINSDIR\inkprobe.dll") p.r1 ?e'
  Pop $2
  ${If} $1 P= 0
    StrCpy $Failure "inkprobe.dll could not be loaded (error $2)."
    StrCpy $0 error
    Return
  ${EndIf}
  System::Call 'kernel32::GetProcAddress(p r1, m "FindWintabInUsed") p.r2'
  ${If} $2 P= 0
    StrCpy $Failure "inkprobe.dll has no FindWintabInUsed."
    StrCpy $0 error
    Return
  ${EndIf}
  ; The export is stdcall with one 32-bit argument and a 32-bit result: the
  ; shape of a thread's start routine.
  System::Call 'kernel32::CreateThread(p 0, p 0, p r2, p r0, i 0, p 0) p.r3 ?e'
  Pop $4
  ${If} $3 P= 0
    StrCpy $Failure "FindWintabInUsed could not be started (error $4)."
    StrCpy $0 error
    Return
  ${EndIf}
  ${If} ${Silent}
    StrCpy $5 ${FINDER_SILENT_MS}
  ${Else}
    StrCpy $5 ${FINDER_INTERACTIVE_MS}
  ${EndIf}
  StrCpy $AnsweredBox 0
  ${Do}
    System::Call 'kernel32::WaitForSingleObject(p r3, i 100) i.r4'
    ${If} $4 = 0
      ${Break}
    ${EndIf}
    ${If} ${Silent}
      Push $5
      Call ${UN}AnswerFinderBoxes
      Pop $5
    ${EndIf}
    IntOp $5 $5 - 100
    ${If} $5 <= 0
      ; Still running (a message nobody answers): setup stops here, and
      ; the thread ends with the process.
      System::Call 'kernel32::CloseHandle(p r3)'
      StrCpy $Failure "FindWintabInUsed did not finish in time."
      StrCpy $0 error
      Return
    ${EndIf}
  ${Loop}
  System::Call 'kernel32::GetExitCodeThread(p r3, *i .r0)'
  System::Call 'kernel32::CloseHandle(p r3)'
  System::Call 'kernel32::FreeLibrary(p r1)'
FunctionEnd

; Ends the programs that hold the Wintab library, through inkprobe.dll, and
; acts on its result. $Failure and $R9 (exit code) say what stops setup.
Function ${UN}EndWintabHolders
  StrCpy $R9 0
  InitPluginsDir
  File /oname=$PLUGINSDIR\inkprobe.dll "${STAGE}\x86\inkprobe.dll"
  ; Interactive setup shows the finder's notice that a start-up item is added.
  StrCpy $0 0
  ${IfNot} ${Silent}
    StrCpy $0 1
  ${EndIf}
  Call ${UN}CallFinder
  ${If} $0 == 100
    ; The Windows Ink steps ended the call before any process was looked at
    ; (the Ink server renamed, or the Ink controls missing): once more, so
    ; that the processes are looked at after a rename.
    Push "The Windows Ink checks ended the search; searching once more."
    Call ${UN}Log
    StrCpy $0 0
    Call ${UN}CallFinder
  ${EndIf}
  ${If} $0 == error
    StrCpy $Failure "Setup could not look for programs that use the tablet library: $Failure"
    StrCpy $R9 6
  ${ElseIf} $0 == 100
    Push "Windows Ink is not installed here, so no program was looked at; a library still in use is found before it is replaced."
    Call ${UN}Log
  ${ElseIf} $0 < 0
    StrCpy $Failure "Setup could not look for programs that use the tablet library (result $0)."
    StrCpy $R9 6
  ${ElseIf} $0 = 0
    Push "No program uses the tablet library (wintab32.dll)."
    Call ${UN}Log
  ${ElseIf} $0 < 1000
    Push "Ended $0 program(s) that used the tablet library (wintab32.dll)."
    Call ${UN}Log
  ${Else}
    IntOp $1 $0 / 1000
    IntOp $2 $0 % 1000
    StrCpy $Failure "$1 of the $2 program(s) that use the tablet library (wintab32.dll) could not be ended. Nothing was changed. Close them (Task Manager) and run setup again."
    StrCpy $R9 4
  ${EndIf}
FunctionEnd

; $Failure names the file when the file $0 exists and cannot be opened for
; writing (a running program or a loaded library).
Function ${UN}CheckReplaceable
  System::Call 'kernel32::GetFileAttributesW(w r0) i.r1'
  ${If} $1 = -1
    Return
  ${EndIf}
  ; A program that has just ended may hold its file a moment longer (as may
  ; a virus scanner): a few tries, a second in all.
  ${For} $3 1 5
    ; The setup is a 32-bit program: a handle fits an int.
    System::Call 'kernel32::CreateFileW(w r0, i 0x40000000, i 0, p 0, i 3, i 0, p 0) i.r1 ?e'
    Pop $2
    ${If} $1 <> -1
      System::Call 'kernel32::CloseHandle(i r1)'
      Return
    ${EndIf}
    Sleep 200
  ${Next}
  StrCpy $Failure "$0 is in use (error $2). Nothing was changed. Close the program that uses it and run setup again."
FunctionEnd

; The Wintab library's places: where 64- and 32-bit drawing programs load it.
; Sets $R6 (64-bit, empty on 32-bit Windows) and $R7 (32-bit). Called with
; the file system redirection off.
Function ${UN}WintabPlaces
  ${If} ${RunningX64}
    StrCpy $R6 "$WINDIR\System32\wintab32.dll"
    StrCpy $R7 "$WINDIR\SysWOW64\wintab32.dll"
  ${Else}
    StrCpy $R6 ""
    StrCpy $R7 "$WINDIR\System32\wintab32.dll"
  ${EndIf}
FunctionEnd

; Every file that setup replaces or removes must be free to change.
; $Failure names the first that is not.
Function ${UN}CheckFilesFree
  StrCpy $Failure ""
  ${DisableX64FSRedirection}
  Call ${UN}WintabPlaces
  ${ForEach} $R5 0 5 + 1
    ${Select} $R5
      ${Case} 0
        StrCpy $0 "$INSTDIR\penhost.exe"
      ${Case} 1
        StrCpy $0 "$INSTDIR\padlink_vc.dll"
      ${Case} 2
        StrCpy $0 "$INSTDIR\tabclient.exe"
      ${Case} 3
        StrCpy $0 "$INSTDIR\uninstall.exe"
      ${Case} 4
        StrCpy $0 $R6
      ${Case} 5
        StrCpy $0 $R7
    ${EndSelect}
    ${If} $0 != ""
    ${AndIf} $Failure == ""
      Call ${UN}CheckReplaceable
    ${EndIf}
  ${Next}
  ${EnableX64FSRedirection}
FunctionEnd

!macroend

!insertmacro SHARED ""
!insertmacro SHARED "un."

; Stops setup before anything is changed: the message, the exit code.
!macro STOP CODE
  Push $Failure
  Call ${UN}Tell
  SetErrorLevel ${CODE}
  Abort
!macroend
!define UN ""

; --- Installer --------------------------------------------------------------

Function .onInit
  Call StartLog
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ReadRegStr $Upgrade HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ; /D= (which setup removes from the parameters) is the only way that
  ; $INSTDIR differs from InstallDir here.
  ${If} $INSTDIR == "$PROGRAMFILES\${PRODUCT}"
    ; An installed version is replaced where it is; otherwise the
    ; program's bitness chooses the Program Files folder.
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${ElseIf} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}
  ${If} $Upgrade != ""
    ${VersionCompare} $Upgrade "${VERSION}" $1
    ${If} $1 = 1
      StrCpy $Failure "${PRODUCT} $Upgrade is installed, newer than this ${VERSION}."
      ${If} ${Silent}
        !insertmacro STOP 7
      ${EndIf}
      MessageBox MB_YESNO|MB_ICONQUESTION "$Failure$\r$\n$\r$\nReplace it with ${VERSION}?" IDYES downgrade
      SetErrorLevel 1
      Abort
    downgrade:
    ${EndIf}
    Push "Upgrading $Upgrade in $INSTDIR to ${VERSION}."
    Call Log
  ${EndIf}
FunctionEnd

Function SkipDirectoryOnUpgrade
  ${If} $Upgrade != ""
    Abort
  ${EndIf}
FunctionEnd

Section "-Install"
  ${IfNot} ${Silent}
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Setup now closes PenHost and every program that uses the tablet library (wintab32.dll), such as drawing programs. Save your work in them first.$\r$\n$\r$\nOK: go on. Cancel: quit setup; nothing is changed." IDOK agreed
    StrCpy $Failure "Setup was cancelled before anything was changed."
    !insertmacro STOP 1
  agreed:
  ${EndIf}

  Call ClosePenHost
  ${If} $Failure != ""
    StrCpy $Failure "$Failure Nothing was changed. End it from its tray menu (Stop service) or Task Manager and run setup again."
    !insertmacro STOP 3
  ${EndIf}
  Call EndWintabHolders
  ${If} $R9 <> 0
    !insertmacro STOP $R9
  ${EndIf}
  Call CheckFilesFree
  ${If} $Failure != ""
    !insertmacro STOP 5
  ${EndIf}

  ; Nothing is changed above this line.
  ; The user's language choice lives in the shipped LanSetup.ini: kept.
  StrCpy $R0 ""
  ${If} ${FileExists} "$INSTDIR\LanSetup.ini"
    ReadINIStr $R0 "$INSTDIR\LanSetup.ini" "MainItem" "UserSelectLan"
    ReadINIStr $R1 "$INSTDIR\LanSetup.ini" "MainItem" "UserSelectLanEnable"
  ${EndIf}

  SetOutPath $INSTDIR
  ${If} ${RunningX64}
    File "${STAGE}\x64\penhost.exe"
    File "${STAGE}\x64\padlink_vc.dll"
    File "${STAGE}\x64\tabclient.exe"
  ${Else}
    File "${STAGE}\x86\penhost.exe"
    File "${STAGE}\x86\padlink_vc.dll"
    File "${STAGE}\x86\tabclient.exe"
  ${EndIf}
  File "${STAGE}\common\LanSetup.ini"
  File "${STAGE}\common\TabletLan.txt"
  File "${STAGE}\common\LanName.txt"
  File "${STAGE}\common\PenShape.bmp"
  File "${STAGE}\common\Logo.bmp"
  File "${STAGE}\common\README.txt"
  ${If} $R0 != ""
    WriteINIStr "$INSTDIR\LanSetup.ini" "MainItem" "UserSelectLan" $R0
    WriteINIStr "$INSTDIR\LanSetup.ini" "MainItem" "UserSelectLanEnable" $R1
  ${EndIf}

!ifdef HAVE_WINTAB
  ; Whatever Wintab library was there before ours (another tablet's, or the
  ; system's own) is kept beside it and put back when ours is uninstalled;
  ; over our own earlier install there is nothing of anyone else's to keep.
  ReadRegDWORD $R3 HKLM "${UNINSTALL_KEY}" "WintabLibrary"
  ${DisableX64FSRedirection}
  Call WintabPlaces
  ${If} $R3 <> 1
    ${If} $R6 != ""
      !insertmacro KEEP_FOREIGN_WINTAB $R6
    ${EndIf}
    !insertmacro KEEP_FOREIGN_WINTAB $R7
  ${EndIf}
  ${If} $R6 != ""
    SetOutPath "$WINDIR\System32"
    File "${STAGE}\x64\wintab32.dll"
    SetOutPath "$WINDIR\SysWOW64"
  ${Else}
    SetOutPath "$WINDIR\System32"
  ${EndIf}
  File "${STAGE}\x86\wintab32.dll"
  ${EnableX64FSRedirection}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "WintabLibrary" 1
  Push "Installed the tablet library (wintab32.dll)."
  Call Log
!else
  Push "This build has no tablet library (wintab32.dll) to install."
  Call Log
!endif
  SetOutPath $INSTDIR

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT} developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\penhost.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  ; PenHost starts at every user's logon.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\penhost.exe"'

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\PenHost.lnk" "$INSTDIR\penhost.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Read me.lnk" "$INSTDIR\README.txt"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  SetShellVarContext current

  Push "Installed ${PRODUCT} ${VERSION} in $INSTDIR."
  Call Log
SectionEnd

; --- Uninstaller ------------------------------------------------------------

!undef UN
!define UN "un."

Section "-un.Program"
  Call un.ClosePenHost
  ${If} $Failure != ""
    StrCpy $Failure "$Failure Nothing was removed. End it from its tray menu (Stop service) or Task Manager and uninstall again."
    !insertmacro STOP 3
  ${EndIf}
  ReadRegDWORD $R4 HKLM "${UNINSTALL_KEY}" "WintabLibrary"
  ${If} $R4 = 1
    Call un.EndWintabHolders
    ${If} $R9 <> 0
      !insertmacro STOP $R9
    ${EndIf}
  ${EndIf}
  Call un.CheckFilesFree
  ${If} $Failure != ""
    !insertmacro STOP 5
  ${EndIf}

  ${If} $R4 = 1
    ${DisableX64FSRedirection}
    Call un.WintabPlaces
    ${If} $R6 != ""
      Delete $R6
      !insertmacro RESTORE_FOREIGN_WINTAB $R6
    ${EndIf}
    Delete $R7
    !insertmacro RESTORE_FOREIGN_WINTAB $R7
    ${EnableX64FSRedirection}
  ${EndIf}

  Delete "$INSTDIR\penhost.exe"
  Delete "$INSTDIR\padlink_vc.dll"
  Delete "$INSTDIR\tabclient.exe"
  Delete "$INSTDIR\TabletLan.txt"
  Delete "$INSTDIR\LanName.txt"
  Delete "$INSTDIR\PenShape.bmp"
  Delete "$INSTDIR\Logo.bmp"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\PenHost.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Read me.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  SetShellVarContext current

  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Left only when it still holds the user's settings.
  Call un.RemoveInstallFolder
  Push "Removed ${PRODUCT} from $INSTDIR."
  Call un.Log
SectionEnd

Section /o "un.Your settings" UnSettings
  ; Beside the program, and in this user's folder where PenHost keeps them
  ; when the program's folder is not writable.
  Delete "$INSTDIR\TSetting.ini"
  Delete "$INSTDIR\TabletWheel.ini"
  Delete "$INSTDIR\*Def.bin"
  Delete "$INSTDIR\LanSetup.ini"
  ; What the device-memory library keeps of the tablet's memory.
  Delete "$INSTDIR\padlink_vc.bin"
  Call un.RemoveInstallFolder
  SetShellVarContext current
  ${If} $APPDATA != ""
    Delete "$APPDATA\${USER_FOLDER}\TSetting.ini"
    Delete "$APPDATA\${USER_FOLDER}\TabletWheel.ini"
    Delete "$APPDATA\${USER_FOLDER}\*Def.bin"
    RMDir "$APPDATA\${USER_FOLDER}"
  ${EndIf}
  Push "Removed the settings."
  Call un.Log
SectionEnd

; Removes the program's folder when it is empty. Not this process's working
; folder; and a folder that another process (the shell, a scanner) has just
; looked into may refuse for a moment.
Function un.RemoveInstallFolder
  SetOutPath $TEMP
  ${For} $0 1 10
    ClearErrors
    RMDir $INSTDIR
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
      ${Break}
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\*.ini"
    ${OrIf} ${FileExists} "$INSTDIR\*.bin"
      ${Break}
    ${EndIf}
    Sleep 100
  ${Next}
FunctionEnd

Function un.onInit
  Call un.StartLog
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPSETTINGS=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 == 0
    !insertmacro SelectSection ${UnSettings}
  ${EndIf}
FunctionEnd
