// The run's plain-text log for deployment tools: one line a step, each starting with the local
// time. Nothing is written until a log is opened, so the steps log unconditionally.
#pragma once

#include <string>

// Opens (replaces) the log file of this run. False when it cannot be created; the run goes on
// without a log then.
bool OpenRunLog(const char* pszPath);

// Opens the log at strPath or, when it is empty, pszDefaultName in the system's temporary folder.
bool OpenRunLog(const std::string& strPath, const char* pszDefaultName);

// Logs "exit code N" and returns nExitCode.
int LogExitCode(int nExitCode);

// Appends "YYYY-MM-DD hh:mm:ss.mmm text" and CR LF to the open log, written through at once so
// that a run that is ended from outside still leaves its steps. Does nothing without a log.
void LogStep(const std::string& strText);

// Closes the log (the next OpenRunLog starts another).
void CloseRunLog();
