// What setup.exe and the uninstaller say about their command line and about a second instance,
// in English, Simplified Chinese (GBK bytes) and Traditional Chinese (Big5 bytes), as the ANSI
// functions of those systems expect. Portable.
#pragma once

#include <string>

#include "payload/deploy_options.h"
#include "payload/text_variant.h"

// The usage box's text for the program file's name (for example "setup.exe"); setup.exe's
// names /PORT= too.
std::string UsageText(TextVariant variant, const std::string& strProgramName,
                      DeployProgram program = DeployProgram::Setup);

// Another setup or uninstaller of the printer holds the lock (payload/instance_lock.h).
const char* AlreadyRunningText(TextVariant variant);
