// The result of one step of the stand-in: success, or the Win32 (or setup API) error with a
// sentence saying what was refused, for the log.
#pragma once

#include <windows.h>

#include <string>

struct Outcome {
    DWORD dwError = ERROR_SUCCESS;
    std::string strReason;  // empty on success

    bool Succeeded() const { return dwError == ERROR_SUCCESS; }
    static Outcome Success() { return Outcome(); }
    // dwError 0 would read as success: it becomes ERROR_GEN_FAILURE.
    static Outcome Failure(DWORD dwError, std::string strReason) {
        Outcome outcome;
        outcome.dwError = dwError ? dwError : ERROR_GEN_FAILURE;
        outcome.strReason = std::move(strReason);
        return outcome;
    }
};
