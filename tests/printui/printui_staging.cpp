#include "printui_staging.h"

#include <gtest/gtest.h>

#include "test_support.h"

const std::vector<StagedDriverFile>& StagedDriverSet() {
    static const std::vector<StagedDriverFile> kSet = {
        {"Q73.GPD", "Q73.GPD"},         {"ZIKU.UFM", "ZIKU.UFM"},       {"Q73.INI", "Q73.INI"},
        {"Q73RES.DLL", "Q73RES.DLL"},   {"x86\\Q73D.DLL", "Q73D.DLL"},  {"x86\\Q73F.DLL", "Q73F.DLL"},
        {"UNIDRV.DLL", "UNIDRV.DLL"},   {"UNIDRVUI.DLL", "UNIDRVUI.DLL"}, {"UNIRES.DLL", "UNIRES.DLL"},
        {"UNIDRV.HLP", "UNIDRV.HLP"},   {"STDNAMES.GPD", "STDNAMES.GPD"},
        {"Q73D.DLL", nullptr},          {"Q73F.DLL", nullptr},          {"x86\\Q73RES.DLL", nullptr},
        {"I386\\Q73D.DLL", nullptr},    {"I386\\Q73F.DLL", nullptr},    {"I386\\Q73RES.DLL", nullptr},
        {"Q73.cat", nullptr},  // the INF's catalog, which the platform keeps with the INF, not the driver
    };
    return kSet;
}

std::vector<std::string> InstalledFileNames() {
    std::vector<std::string> names;
    for (const StagedDriverFile& file : StagedDriverSet())
        if (file.pszName) names.push_back(file.pszName);
    return names;
}

std::string DriverInfText() {
    const std::string strMaster = ReadFileBytes(Q73_DRIVER_INF);
    if (strMaster.empty()) ADD_FAILURE() << "cannot read " << Q73_DRIVER_INF;
    // The master has LF line ends; the installer's payload has CR LF.
    std::string strText;
    for (char c : strMaster) {
        if (c == '\n') strText += '\r';
        if (c != '\r') strText += c;
    }
    return strText;
}

std::string ReplacedOnce(std::string strText, const std::string& strFrom, const std::string& strTo) {
    const std::size_t nAt = strText.find(strFrom);
    if (nAt == std::string::npos || strText.find(strFrom, nAt + 1) != std::string::npos) {
        ADD_FAILURE() << "the INF does not have exactly one \"" << strFrom << "\"";
        return strText;
    }
    return strText.replace(nAt, strFrom.size(), strTo);
}

void StageDriverSet(const std::string& strInf) {
    for (const char* pszDirectory : {"C:\\TEMP\\x86", "C:\\TEMP\\I386"}) ::CreateDirectoryA(pszDirectory, nullptr);
    WriteFileBytes(kStagedInf, strInf);
    for (const StagedDriverFile& file : StagedDriverSet())
        WriteFileBytes(std::string("C:\\TEMP\\") + file.pszPlace, StagedSetBytes(file.pszPlace));
}

std::string StagedSetBytes(const std::string& strPlace) { return "Q73 test set, staged as " + strPlace + "\r\n"; }

std::string StagedPlaceOf(const std::string& strName) {
    for (const StagedDriverFile& file : StagedDriverSet())
        if (file.pszName && strName == file.pszName) return file.pszPlace;
    ADD_FAILURE() << strName << " is not installed from the staged set";
    return std::string();
}
