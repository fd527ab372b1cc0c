// What the platform's installer would call this build's architecture: the spooler's driver
// environment, the INF decorations it prefers, and the suffix of the source-media sections.
// Chosen at compile time, so the same sources build the x86 and the x86-64 stand-in. Portable.
#pragma once

// kPlatformCoreFolder: where the Unidrv core that the platform's printer INF copies (Needs=
// UNIDRV.OEM) comes from, below the system directory; empty for the INF's own folder. 64-bit
// systems copy it from their driver store (in our 64-bit prefixes, filled by the session's
// set-up); on 32-bit ones our installer stages it beside the INF.
#if defined(_M_X64) || defined(__x86_64__)
constexpr char kDriverEnvironment[] = "Windows x64";
constexpr char kArchitectureDecoration[] = "NTamd64";
constexpr char kSourceMediaSuffix[] = "amd64";
constexpr char kPlatformCoreFolder[] = "DriverStore\\FileRepository\\ntprint.inf_amd64\\Amd64";
#elif defined(_M_IX86) || defined(__i386__)
constexpr char kDriverEnvironment[] = "Windows NT x86";
constexpr char kArchitectureDecoration[] = "NTx86";
constexpr char kSourceMediaSuffix[] = "x86";
constexpr char kPlatformCoreFolder[] = "";
#else
#error "the print-UI stand-in knows the x86 and x86-64 platforms only"
#endif

// The decorations of models and install sections, best first; the empty one is the
// undecorated section, which any NT system accepts last.
constexpr const char* kDecorationOrder[] = {kArchitectureDecoration, "NT", ""};
