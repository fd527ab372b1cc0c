// Registering the staged driver as a printer through the platform's print-UI component.
#pragma once

#include <windows.h>

#include "payload/install_platform.h"
#include "payload/text_variant.h"

#include <functional>
#include <string>

struct RegistrationResult {
    enum Outcome { Success, Failure, GaveUp } outcome;
    // The install command's process has ended (so nothing still reads the staged files).
    bool bProcessEnded;
};

// Counts the model's printers, runs the install command (rundll32 by its full path in the
// system directory, from "C:\TEMP"; shown, so that a prompt of the print UI can be seen), waits
// for it, recounts, and on success runs the default-printer command for the printer this
// install added and waits for it too (its result does not count). A print UI still running
// when the wait runs out is ended here (a failure), so that it cannot read the staged files
// once they are let go; once it has ended, stagedStillInPlace must confirm that every staged
// file and directory is still the one this run staged, or the registration is a failure. On
// the x64 platform both
// commands run in the 64-bit system's rundll32, whose print-UI component installs the x64
// driver (wow64.h). GaveUp when the spooler cannot be enumerated; an empty spooler counts 0
// printers. As the local SYSTEM account (payload/system_account.h) no default is set: that is
// a per-user setting. Every command line, its exit code and both printer lists are logged
// (framework/run_log.h). Each wait (at most 90 s; after the install command a pause of 100 ms) handles the thread's messages
// (framework/message_wait.h): the caller's windows must refuse what may not happen meanwhile.
// The install command puts the printer on the port named strPort (the spooler's name).
RegistrationResult RegisterPrinter(TextVariant variant, const InstallPlatform& platform, const std::string& strPort,
                                   const std::function<bool()>& stagedStillInPlace);

// For tests only: how long RegisterPrinter waits for the install command (90 000 ms unless
// changed). Returns the previous value.
DWORD ReplaceRegistrationWaitForTesting(DWORD dwMilliseconds);
