// The operating-system code: which Windows the installer runs on, as a small integer.
//
//   0  non-NT, major version below 4        6  Windows 2000 (NT 5.0)
//   1  Windows 95 and other non-NT 4.x      7  Windows XP (NT 5.1)
//   2  Windows 98 (4.10)                    8  Server 2003 and every NT 5.2
//   3  Windows Me (4.90)                    9  Vista and every NT 6.0
//   4  NT family, version not recognised   10  Windows 7 and every NT 6.1
//   5  Windows NT 4.0
#pragma once

#include <cstdint>

// The major and minor version that GetVersionExA put into a zero-filled record (both 0 when
// that call failed).
struct OSVersionNumbers {
    std::uint32_t dwMajor;
    std::uint32_t dwMinor;
};

// Classifies what the platform reported: dwGetVersion is GetVersion's result (bit 31 set for
// the non-NT family, major version in the low byte); pNumbers is null when no version record
// could be had, which leaves the family's default. Portable.
int ClassifyOSVersion(std::uint32_t dwGetVersion, const OSVersionNumbers* pNumbers);

// Asks the running system and classifies its answer. No side effects.
int GetOSVersionCode();
