// What the uninstaller must say, written out in full for each system language the tests run
// under, independently of the uninstaller's own table.
#pragma once

#include <windows.h>

#include <string>

#include "uninstaller/uninstall_texts.h"

// The text in the system's ANSI code page, for the model "Q73", on a system of language wLangId
// (one of the languages the tests run under).
std::string ExpectedUninstallText(UninstallText text, LANGID wLangId);
