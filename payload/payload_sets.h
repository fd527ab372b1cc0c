// The driver files staged for the running system: which payload resource goes where.
//
// On 32-bit Windows, three sets, one per family of Windows versions (XP: code 7; 2000: code 6;
// every other code: the general set). Inside a set the core variant (the four Unidrv files)
// follows the system language, and the plug-in variant (configuration plug-in and resource
// library) follows the language chosen on the language page and, for Chinese, the exact
// system language. On 64-bit Windows, one x64 set: the general set's GPD, INI, font metrics
// and standard-names file with the plug-ins and resource libraries built for x64, in the same
// plug-in variants; no core, which that platform supplies.
// Portable: no platform headers.
#pragma once

#include <cstdint>
#include <vector>

#include "payload/driver_files.h"
#include "payload/install_platform.h"
#include "payload/text_variant.h"

enum class PayloadSet { XP, Windows2000, General };
enum class CoreVariant { Chinese, English };
// The plug-in variant is the install's text variant: see ChooseTextVariant.
using PluginVariant = TextVariant;

// Where a staged file is written: the staging directory alone, or every staging place of the
// platform in its order: "C:\TEMP", "C:\TEMP\I386", "C:\TEMP\x86" on 32-bit Windows, "C:\TEMP",
// "C:\TEMP\amd64" on 64-bit Windows.
enum class StagingPlaces { StagingDirectory, All };

struct StagedFile {
    unsigned nResource;
    DriverFile file;
    StagingPlaces places;
    bool bPatched;            // extracted through the printer-name patcher
};

PayloadSet ChoosePayloadSet(int nOSVersion);
CoreVariant ChooseCoreVariant(std::uint16_t wSystemLangId);

// The files to stage, in staging order: the standard-names file, the GPD, the INI, the
// rendering plug-in, the font metrics file, the four core files (x86 only), the configuration
// plug-in and the resource library. The x64 set does not depend on nOSVersion.
std::vector<StagedFile> StagingPlan(DriverPlatform platform, int nOSVersion, std::uint16_t wSystemLangId,
                                    std::uint16_t wLanguage);
// The x86 plan.
std::vector<StagedFile> StagingPlan(int nOSVersion, std::uint16_t wSystemLangId, std::uint16_t wLanguage);
