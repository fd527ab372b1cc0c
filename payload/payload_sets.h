// The driver files staged for the running system: which payload resource goes where.
//
// Three sets, one per family of Windows versions (XP: code 7; 2000: code 6; every other code:
// the general set). Inside a set the core variant (the four Unidrv files) follows the system
// language, and the plug-in variant (configuration plug-in and resource library) follows the
// language chosen on the language page and, for Chinese, the exact system language.
// Portable: no platform headers.
#pragma once

#include <cstdint>
#include <vector>

#include "payload/driver_files.h"
#include "payload/text_variant.h"

enum class PayloadSet { XP, Windows2000, General };
enum class CoreVariant { Chinese, English };
// The plug-in variant is the install's text variant: see ChooseTextVariant.
using PluginVariant = TextVariant;

// Where a staged file is written: the staging directory alone, or the staging directory and
// its two subdirectories, in the order "C:\TEMP", "C:\TEMP\I386", "C:\TEMP\x86".
enum class StagingPlaces { StagingDirectory, AllThree };

struct StagedFile {
    unsigned nResource;
    DriverFile file;
    StagingPlaces places;
    bool bPatched;            // extracted through the printer-name patcher
};

PayloadSet ChoosePayloadSet(int nOSVersion);
CoreVariant ChooseCoreVariant(std::uint16_t wSystemLangId);

// The files to stage, in staging order: the standard-names file, the GPD, the INI, the
// rendering plug-in, the font metrics file, the four core files, the configuration plug-in
// and the resource library.
std::vector<StagedFile> StagingPlan(int nOSVersion, std::uint16_t wSystemLangId,
                                    std::uint16_t wLanguage);
