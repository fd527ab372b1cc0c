#include "standin_spooler.h"

#include <winspool.h>

#include <string>
#include <vector>

#include "framework/fixed_string.h"
#include "framework/scoped_handle.h"
#include "target_platform.h"

namespace {

DWORD LastErrorOr(DWORD dwFallback) {
    const DWORD dwError = ::GetLastError();
    return dwError ? dwError : dwFallback;
}

Outcome LastErrorFailure(DWORD dwFallback, std::string strReason) {
    return Outcome::Failure(LastErrorOr(dwFallback), std::move(strReason));
}

bool IsDriverInstalled(const std::string& strModel) {
    std::string strEnvironment(kDriverEnvironment);
    DWORD cbNeeded = 0, nCount = 0;
    ::EnumPrinterDriversA(nullptr, &strEnvironment[0], 1, nullptr, 0, &cbNeeded, &nCount);
    if (!cbNeeded) return false;
    std::vector<BYTE> buffer(cbNeeded);
    if (!::EnumPrinterDriversA(nullptr, &strEnvironment[0], 1, buffer.data(), cbNeeded, &cbNeeded, &nCount))
        return false;
    const auto* pInfo = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i) {
        if (pInfo[i].pName && ::lstrcmpiA(pInfo[i].pName, strModel.c_str()) == 0) return true;
    }
    return false;
}

bool GetDriverDirectory(CPathString& strDirectory) {
    std::string strEnvironment(kDriverEnvironment);
    DWORD cbNeeded = 0;
    if (!::GetPrinterDriverDirectoryA(nullptr, &strEnvironment[0], 1,
                                      reinterpret_cast<BYTE*>(strDirectory.GetBufferUnsafe()),
                                      CPathString::kCapacity, &cbNeeded))
        return false;
    return strDirectory.size() < CPathString::kMaxLength;
}

Outcome CopyIntoDirectory(const CPathString& strDirectory, const DriverPackageFile& file) {
    CPathString strSource, strTarget;
    if (!strSource.assign(file.strSourcePath) || !strTarget.assign(strDirectory) || !strTarget.append("\\") ||
        !strTarget.append(file.strName))
        return Outcome::Failure(ERROR_FILENAME_EXCED_RANGE, "path too long for " + file.strName);
    if (!::CopyFileA(strSource.c_str(), strTarget.c_str(), FALSE))
        return LastErrorFailure(ERROR_GEN_FAILURE,
                                std::string("cannot copy ") + strSource.c_str() + " to " + strTarget.c_str());
    return Outcome::Success();
}

// Plain names, each NUL-ended, and one more NUL: the spooler's list of dependent files.
std::string MultiString(const std::vector<std::string>& names) {
    std::string strList;
    for (const std::string& strName : names) {
        strList += strName;
        strList.push_back('\0');
    }
    strList.push_back('\0');
    return strList;
}

Outcome AddDriver(const DriverPackage& package) {
    // The spooler's structures want writable strings.
    std::string strModel(package.strModel), strEnvironment(kDriverEnvironment);
    std::string strDriver(package.strDriverFile), strData(package.strDataFile);
    std::string strConfig(package.strConfigFile), strHelp(package.strHelpFile), strDataType("RAW");
    std::string strDependents = MultiString(package.DependentFiles());
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = &strModel[0];
    info.pEnvironment = &strEnvironment[0];
    info.pDriverPath = &strDriver[0];
    info.pDataFile = &strData[0];
    info.pConfigFile = &strConfig[0];
    info.pHelpFile = strHelp.empty() ? nullptr : &strHelp[0];
    info.pDependentFiles = &strDependents[0];
    info.pDefaultDataType = &strDataType[0];
    if (!::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)))
        return LastErrorFailure(ERROR_GEN_FAILURE, "the spooler did not add driver \"" + package.strModel + "\"");
    return Outcome::Success();
}

}  // namespace

Outcome InstallDriverPackage(const DriverPackage& package) {
    CPathString strDirectory;
    if (!GetDriverDirectory(strDirectory))
        return LastErrorFailure(ERROR_BAD_PATHNAME, std::string("no driver directory for ") + kDriverEnvironment);
    for (const DriverPackageFile& file : package.files) {
        const Outcome outcome = CopyIntoDirectory(strDirectory, file);
        if (!outcome.Succeeded()) return outcome;
    }
    if (IsDriverInstalled(package.strModel)) return Outcome::Success();
    return AddDriver(package);
}

Outcome AddLocalPrinter(const char* pszName, const char* pszPort, const char* pszModel) {
    std::string strName(pszName), strPort(pszPort), strModel(pszModel);
    // Wine's AddPrinterA does not refuse a taken name: it rewrites that printer in place
    // (new port, new driver). Asking first keeps an existing printer as it is.
    HANDLE hExisting = nullptr;
    if (::OpenPrinterA(&strName[0], &hExisting, nullptr)) {
        CPrinterHandle hOwner(hExisting);
        return Outcome::Failure(ERROR_PRINTER_ALREADY_EXISTS, "a printer named \"" + strName + "\" exists");
    }
    std::string strProcessor("winprint"), strDataType("RAW");
    PRINTER_INFO_2A info = {};
    info.pPrinterName = &strName[0];
    info.pPortName = &strPort[0];
    info.pDriverName = &strModel[0];
    info.pPrintProcessor = &strProcessor[0];
    info.pDatatype = &strDataType[0];
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    CPrinterHandle hPrinter(::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    if (!hPrinter.IsValid())
        return LastErrorFailure(ERROR_GEN_FAILURE, "the spooler did not add printer \"" + strName + "\"");
    return Outcome::Success();
}

Outcome SetDefaultPrinterByName(const char* pszName) {
    std::string strName(pszName);
    // Opening it first: a default that names no printer would leave the system without one.
    HANDLE hRaw = nullptr;
    if (!::OpenPrinterA(&strName[0], &hRaw, nullptr))
        return LastErrorFailure(ERROR_INVALID_PRINTER_NAME, "no printer named \"" + strName + "\"");
    CPrinterHandle hPrinter(hRaw);
    if (!::SetDefaultPrinterA(strName.c_str()))
        return LastErrorFailure(ERROR_GEN_FAILURE, "cannot make \"" + strName + "\" the default printer");
    return Outcome::Success();
}
