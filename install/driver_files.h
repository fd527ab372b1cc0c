// The files of the driver set as the installer names them in the staging and driver
// directories: fixed names, and names made from the printer name P. Portable.
#pragma once

#include <string>
#include <string_view>

struct DriverFile {
    bool bPrinterNamed;   // the name is P followed by pszName
    const char* pszName;
};

// The driver set, in the order the installer deletes it before staging.
inline constexpr DriverFile kDriverFileSet[] = {
    {false, "STDNAMES.GPD"}, {true, ".GPD"},         {true, ".INI"},        {true, "D.dll"},
    {true, "F.dll"},         {false, "ZIKU.UFM"},     {true, "RES.dll"},     {false, "UNIDRV.DLL"},
    {false, "UNIDRV.HLP"},   {false, "UNIDRVUI.DLL"}, {false, "UNIRES.DLL"},
};

inline std::string DriverFileName(const DriverFile& file, std::string_view printerName) {
    return file.bPrinterNamed ? std::string(printerName) + file.pszName : std::string(file.pszName);
}

// The paper form the driver's GPD defines, removed before an install and by the uninstaller.
inline constexpr char kPaperFormName[] = "papersize(80x297mm)";

// The uninstaller's name beside the driver: "uninstall" + P + ".exe".
inline std::string UninstallerFileName(std::string_view printerName) {
    return "uninstall" + std::string(printerName) + ".exe";
}
