#include "payload/os_version.h"

int ClassifyOSVersion(std::uint32_t dwGetVersion, const OSVersionNumbers* pNumbers) {
    const bool bNonNT = (dwGetVersion & 0x80000000u) != 0;
    const std::uint32_t dwMajor = dwGetVersion & 0xFFu;
    if (bNonNT) {
        if (dwMajor < 4) return 0;
        if (pNumbers && pNumbers->dwMajor == 4 && pNumbers->dwMinor == 10) return 2;
        if (pNumbers && pNumbers->dwMajor == 4 && pNumbers->dwMinor == 90) return 3;
        return 1;
    }
    if (!pNumbers) return 4;
    struct NTRow { std::uint32_t dwMajor; std::uint32_t dwMinor; int nCode; };
    static constexpr NTRow kRows[] = {{5, 0, 6}, {5, 1, 7}, {5, 2, 8}, {6, 0, 9}, {6, 1, 10}};
    if (pNumbers->dwMajor == 4) return 5;
    for (const NTRow& row : kRows) {
        if (pNumbers->dwMajor == row.dwMajor && pNumbers->dwMinor == row.dwMinor) return row.nCode;
    }
    return 4;
}
