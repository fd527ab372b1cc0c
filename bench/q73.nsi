; The benchmark's other installer: NSIS's own of setup.exe's payload, with NSIS's defaults and
; its Modern UI, a welcome page and an install page that closes itself when done. It writes
; every payload id's file, as setup.exe carries them, below $INSTDIR.
;
;   makensis -DPAYLOAD_FILES=files.nsh -DOUTFILE=nsis_setup.exe [-DUNCOMPRESSED] q73.nsi
;
; PAYLOAD_FILES is the list bench/nsis_files.py makes from the payload's resource script.
!include "MUI2.nsh"

Name "Q73 printer driver"
OutFile "${OUTFILE}"
InstallDir "C:\q73bench\nsis-install"
RequestExecutionLevel user
AutoCloseWindow true
!ifdef UNCOMPRESSED
SetCompress off
!else
SetCompressor /SOLID lzma
!endif

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Driver files"
  !include "${PAYLOAD_FILES}"
SectionEnd
