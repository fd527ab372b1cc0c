// The files of the driver set as the installer names them in the staging and driver
// directories: fixed names, and names made from the printer name P. Each name is given once
// here; the lists below only order them. Portable.
#pragma once

#include <string>
#include <string_view>

struct DriverFile {
    bool bPrinterNamed;   // the name is P followed by pszName
    const char* pszName;
};

// The driver's own files, named after P.
inline constexpr DriverFile kGpdFile = {true, ".GPD"};
inline constexpr DriverFile kIniFile = {true, ".INI"};
inline constexpr DriverFile kInfFile = {true, ".INF"};
inline constexpr DriverFile kRenderingPluginFile = {true, "D.dll"};
inline constexpr DriverFile kConfigPluginFile = {true, "F.dll"};
inline constexpr DriverFile kResourceLibraryFile = {true, "RES.DLL"};
// The maker's font metrics and the platform's standard names, under their own names.
inline constexpr DriverFile kFontMetricsFile = {false, "ZIKU.UFM"};
inline constexpr DriverFile kStandardNamesFile = {false, "STDNAMES.GPD"};
// The platform's Unidrv core, which every Unidrv driver of the system shares.
inline constexpr DriverFile kUnidrvFile = {false, "UNIDRV.DLL"};
inline constexpr DriverFile kUnidrvHelpFile = {false, "UNIDRV.HLP"};
inline constexpr DriverFile kUnidrvUiFile = {false, "UNIDRVUI.DLL"};
inline constexpr DriverFile kUniresFile = {false, "UNIRES.DLL"};
// The driver package's catalog, under the name the INF gives it (CatalogFile=): staged beside
// the INF for the print UI and copied with the set.
inline constexpr DriverFile kCatalogFile = {false, "Q73.cat"};

// The driver set, in the order the installer deletes it before staging.
inline constexpr DriverFile kDriverFileSet[] = {
    kStandardNamesFile, kGpdFile, kIniFile, kRenderingPluginFile, kConfigPluginFile, kFontMetricsFile,
    kResourceLibraryFile, kUnidrvFile, kUnidrvHelpFile, kUnidrvUiFile, kUniresFile, kCatalogFile,
};

// The same set, in the order the installer copies it into the driver directory.
inline constexpr DriverFile kDriverCopyOrder[] = {
    kUnidrvFile, kGpdFile, kUnidrvUiFile, kUnidrvHelpFile, kUniresFile, kStandardNamesFile,
    kFontMetricsFile, kIniFile, kResourceLibraryFile, kRenderingPluginFile, kConfigPluginFile, kCatalogFile,
};

// The x64 set on 64-bit Windows: the same files and orders without the Unidrv core, which that
// platform supplies itself (the INF's Needs) and which is never ours to delete there.
inline constexpr DriverFile kX64DriverFileSet[] = {
    kStandardNamesFile, kGpdFile, kIniFile, kRenderingPluginFile, kConfigPluginFile, kFontMetricsFile,
    kResourceLibraryFile, kCatalogFile,
};
inline constexpr DriverFile kX64DriverCopyOrder[] = {
    kGpdFile, kStandardNamesFile, kFontMetricsFile, kIniFile, kResourceLibraryFile, kRenderingPluginFile,
    kConfigPluginFile, kCatalogFile,
};

inline std::string DriverFileName(const DriverFile& file, std::string_view printerName) {
    return file.bPrinterNamed ? std::string(printerName) + file.pszName : std::string(file.pszName);
}

// The uninstaller's name beside the driver: "uninstall" + P + ".exe".
inline std::string UninstallerFileName(std::string_view printerName) {
    return "uninstall" + std::string(printerName) + ".exe";
}
