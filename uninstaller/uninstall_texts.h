// What the uninstaller says, in English, Simplified Chinese (GBK bytes) and Traditional
// Chinese (Big5 bytes), as the ANSI functions of those systems expect. Portable.
#pragma once

#include <cstdint>
#include <string>

#include "payload/text_variant.h"

enum class UninstallText {
    Confirm,       // printf format: %s the model
    Removed,       // printf format: %s the model
    NotInstalled,  // printf format: %s the model
    FilesInUse,    // followed by the files, one per line
    PrintersKept,  // followed by the printers, one per line
    DriverKept,
    SpoolerUnavailable,
};

// English, except Simplified Chinese on a 0x0804 system and Traditional Chinese on every other
// Chinese one.
TextVariant UninstallTextVariant(std::uint16_t wSystemLangId);

// The text as stored: a printf format for the first three.
const char* UninstallMessage(TextVariant variant, UninstallText text);
// The text as shown, the model's name put in.
std::string UninstallMessageShown(TextVariant variant, UninstallText text);
