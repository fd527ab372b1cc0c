// The sections of the platform's own printer INF that a Unidrv minidriver's INF pulls in with
//   Include=NTPRINT.INF   Needs=UNIDRV.OEM,UNIDRV_DATA   DataSection=UNIDRV_DATA
// Wine ships no such INF, so they are modelled here from what the platform's sections hold:
// UNIDRV.OEM copies the Unidrv core (the rendering and configuration DLLs, their resource DLL
// and help file, and the standard-names file every GPD includes); UNIDRV_DATA names the driver,
// configuration and help files. The platform copies the core from its own driver store; in our
// 32-bit prefixes the installer stages it beside the INF, so the core is taken from the INF's
// folder there, and from the driver store folder of target_platform.h on x86-64.
// Portable.
#pragma once

#include <string_view>

// The name an INF uses for the platform's printer INF in Include=.
constexpr char kPlatformPrinterInf[] = "NTPRINT.INF";

struct ModelledSection {
    const char* pszName;
    // The files the section copies into the driver directory, from the platform's core folder;
    // null-ended.
    const char* const* ppszCopies;
    // The keys a data section sets; nullptr where it sets none.
    const char* pszDriverFile;
    const char* pszConfigFile;
    const char* pszHelpFile;
};

// The modelled section of that name (ASCII case ignored), or nullptr.
const ModelledSection* FindModelledSection(std::string_view name);
