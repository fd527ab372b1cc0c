// What the platform's installer would call this build's architecture: the spooler's driver
// environment, the INF decorations it prefers, and the suffix of the source-media sections.
// Chosen at compile time, so the same sources build the x86 and the x86-64 stand-in. Portable.
#pragma once

#if defined(_M_X64) || defined(__x86_64__)
constexpr char kDriverEnvironment[] = "Windows x64";
constexpr char kArchitectureDecoration[] = "NTamd64";
constexpr char kSourceMediaSuffix[] = "amd64";
#elif defined(_M_IX86) || defined(__i386__)
constexpr char kDriverEnvironment[] = "Windows NT x86";
constexpr char kArchitectureDecoration[] = "NTx86";
constexpr char kSourceMediaSuffix[] = "x86";
#else
#error "the print-UI stand-in knows the x86 and x86-64 platforms only"
#endif

// The decorations of models and install sections, best first; the empty one is the
// undecorated section, which any NT system accepts last.
constexpr const char* kDecorationOrder[] = {kArchitectureDecoration, "NT", ""};
