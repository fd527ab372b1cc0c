// The test knobs, read from the process environment (a test sets them in its own process
// with SetEnvironmentVariableA; rundll32 inherits them):
//   Q73_PRINTUI_FAIL=1      /if is only logged: no driver, no printer is added
//   Q73_PRINTUI_HANG=N      sleep N seconds (1..3600) after logging, before acting
//   Q73_PRINTUI_NAME=OTHER  /if adds the printer as OTHER instead of the /b name
//   Q73_PRINTUI_LOG=PATH    the log file (default %WINDIR%\temp\q73-printui.log)
//   Q73_PRINTUI_SHOW_LOG=PATH  a file that gets, for every call, the show state rundll32 passed
//                           to the entry (its nCmdShow, from the starter's STARTUPINFO) as a line
// An unset, empty, too long or malformed knob counts as not set.
#pragma once

#include "framework/fixed_string.h"

struct CPrintUiKnobs {
    bool bFail = false;
    unsigned nHangSeconds = 0;
    bool bHasName = false;
    CPathString strName;
    CPathString strLogPath;  // always set: the knob or the default
    CPathString strShowLogPath;  // empty: not asked for

    static CPrintUiKnobs FromEnvironment();
};
