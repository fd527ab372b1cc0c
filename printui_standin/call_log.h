// The log of the command lines the stand-in received, for tests and for the run command
// to show what the installer asked for, and of the reason of every call it refused.
#pragma once

#include <windows.h>

#include <string_view>

// A refusal's line starts with this; a command line the installer sends never does.
constexpr char kRefusalPrefix[] = "!refused: ";

// Appends the command line text as one line of ANSI bytes ended by CR LF; CR and LF bytes
// inside the text become blanks so that every call stays one line. The file is created when
// missing and opened for appending only, so concurrent calls never overwrite each other's
// lines. False when the file cannot be opened or the write is short.
bool AppendCallLog(const char* pszLogPath, std::string_view commandLine);

// Appends "!refused: REASON (error 0xXXXXXXXX)" as one line, the same way.
bool AppendRefusal(const char* pszLogPath, std::string_view reason, DWORD dwError);
