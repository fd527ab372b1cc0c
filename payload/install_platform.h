// The platform the driver is installed for, as data: 32-bit Windows, or 64-bit Windows, where
// this 32-bit program runs under WoW64 and the driver, its staging place, the print-UI
// component and the uninstall entry must all be the 64-bit system's. The install sequence, the
// housekeeping and the uninstaller read what differs from here. Portable.
#pragma once

#include <cstddef>

#include "payload/driver_files.h"
#include "payload/install_constants.h"

enum class DriverPlatform { X86, X64 };

// A fixed array seen through a pointer and a count, for range-for.
template <typename T>
class CFixedList {
public:
    template <std::size_t N>
    constexpr CFixedList(const T (&items)[N]) : m_pItems(items), m_nCount(N) {}
    constexpr const T* begin() const { return m_pItems; }
    constexpr const T* end() const { return m_pItems + m_nCount; }
    constexpr std::size_t size() const { return m_nCount; }
    constexpr const T& operator[](std::size_t i) const { return m_pItems[i]; }

private:
    const T* m_pItems;
    std::size_t m_nCount;
};

struct InstallPlatform {
    DriverPlatform architecture;
    // The spooler environment of the driver, and of every driver-directory query and deletion.
    const char* pszEnvironment;
    // The staging directory, then the subdirectories its plug-ins are staged in as well, in the
    // order they are created and filled.
    CFixedList<const char*> stagingPlaces;
    // The driver set in the order it is deleted (before staging, and by the uninstaller), and
    // in the order it is copied into the driver directory.
    CFixedList<DriverFile> driverFileSet;
    CFixedList<DriverFile> copyOrder;
    // The print-UI component is the 64-bit system's: rundll32 of the native system directory,
    // which a 32-bit process reaches only around WoW64's file-system redirection.
    bool bNativePrintUi;
    // The uninstall entry lives in the 64-bit registry view, which 32-bit programs do not see
    // by default.
    bool b64BitRegistryView;
};

inline constexpr InstallPlatform kX86Platform = {
    DriverPlatform::X86, kDriverEnvironment, kStagingPlaces, kDriverFileSet, kDriverCopyOrder, false, false,
};

inline constexpr InstallPlatform kX64Platform = {
    DriverPlatform::X64, kDriverEnvironmentX64, kStagingPlacesX64, kX64DriverFileSet, kX64DriverCopyOrder, true, true,
};

constexpr const InstallPlatform& InstallPlatformFor(bool bWindows64) { return bWindows64 ? kX64Platform : kX86Platform; }
