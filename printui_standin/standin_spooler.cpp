#include "standin_spooler.h"

#include <winspool.h>

#include <string>
#include <vector>

#include "framework/file_io.h"
#include "framework/fixed_string.h"
#include "framework/scoped_handle.h"

namespace {

// Our INF's driver set (UNIDRV.OEM plus the Q73 files); none depends on the printer name.
constexpr char kDriverFile[] = "UNIDRV.DLL";
constexpr char kDataFile[] = "Q73.GPD";
constexpr char kConfigFile[] = "UNIDRVUI.DLL";
constexpr char kHelpFile[] = "UNIDRV.HLP";
constexpr const char* kDependentFiles[] = {
    "Q73.GPD", "UNIDRV.DLL", "UNIDRVUI.DLL", "UNIRES.DLL", "STDNAMES.GPD", "UNIDRV.HLP",
    "ZIKU.UFM", "Q73.INI", "Q73RES.DLL", "Q73D.DLL", "Q73F.DLL"};

DWORD LastErrorOr(DWORD dwFallback) {
    const DWORD dwError = ::GetLastError();
    return dwError ? dwError : dwFallback;
}

bool IsDriverInstalled(const char* pszModel) {
    DWORD cbNeeded = 0, nCount = 0;
    ::EnumPrinterDriversA(nullptr, const_cast<char*>(kDriverEnvironment), 1, nullptr, 0, &cbNeeded, &nCount);
    if (!cbNeeded) return false;
    std::vector<BYTE> buffer(cbNeeded);
    if (!::EnumPrinterDriversA(nullptr, const_cast<char*>(kDriverEnvironment), 1, buffer.data(), cbNeeded,
                               &cbNeeded, &nCount))
        return false;
    const auto* pInfo = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i) {
        if (pInfo[i].pName && ::lstrcmpiA(pInfo[i].pName, pszModel) == 0) return true;
    }
    return false;
}

bool GetDriverDirectory(CPathString& strDirectory) {
    DWORD cbNeeded = 0;
    if (!::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(kDriverEnvironment), 1,
                                      reinterpret_cast<BYTE*>(strDirectory.GetBufferUnsafe()),
                                      CPathString::kCapacity, &cbNeeded))
        return false;
    return strDirectory.size() < CPathString::kMaxLength;
}

bool DriverFileExists(const CPathString& strDirectory, const char* pszName) {
    CPathString strPath;
    return strPath.assign(strDirectory) && strPath.append("\\") && strPath.append(pszName) &&
           PathExists(strPath.c_str());
}

}  // namespace

DWORD EnsurePrinterDriver(const char* pszModel, const char* pszInfPath) {
    // The INF is checked even for an installed driver: a command naming no INF is refused.
    if (!PathExists(pszInfPath)) return ERROR_FILE_NOT_FOUND;
    if (IsDriverInstalled(pszModel)) return ERROR_SUCCESS;
    CPathString strDirectory;
    if (!GetDriverDirectory(strDirectory)) return LastErrorOr(ERROR_BAD_PATHNAME);
    for (const char* pszName : {kDriverFile, kDataFile, kConfigFile, kHelpFile}) {
        if (!DriverFileExists(strDirectory, pszName)) return ERROR_FILE_NOT_FOUND;
    }

    // A MULTI_SZ list: each present file NUL-ended, one more NUL at the end.
    std::string strDependents;
    for (const char* pszName : kDependentFiles) {
        if (!DriverFileExists(strDirectory, pszName)) continue;
        strDependents += pszName;
        strDependents.push_back('\0');
    }
    strDependents.push_back('\0');

    CPathString strModel, strEnvironment;
    if (!strModel.assign(pszModel) || !strEnvironment.assign(kDriverEnvironment)) return ERROR_INVALID_PARAMETER;
    CPathString strDriver(kDriverFile), strData(kDataFile), strConfig(kConfigFile), strHelp(kHelpFile);
    CPathString strDataType("RAW");
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = strModel.GetBufferUnsafe();
    info.pEnvironment = strEnvironment.GetBufferUnsafe();
    info.pDriverPath = strDriver.GetBufferUnsafe();
    info.pDataFile = strData.GetBufferUnsafe();
    info.pConfigFile = strConfig.GetBufferUnsafe();
    info.pHelpFile = strHelp.GetBufferUnsafe();
    info.pDependentFiles = &strDependents[0];
    info.pDefaultDataType = strDataType.GetBufferUnsafe();
    if (!::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info))) return LastErrorOr(ERROR_GEN_FAILURE);
    return ERROR_SUCCESS;
}

DWORD AddLocalPrinter(const char* pszName, const char* pszPort, const char* pszModel) {
    CPathString strName, strPort, strModel;
    if (!strName.assign(pszName) || !strPort.assign(pszPort) || !strModel.assign(pszModel))
        return ERROR_INVALID_PARAMETER;
    // Wine's AddPrinterA does not refuse a taken name: it rewrites that printer in place
    // (new port, new driver). Asking first keeps an existing printer as it is.
    HANDLE hExisting = nullptr;
    if (::OpenPrinterA(strName.GetBufferUnsafe(), &hExisting, nullptr)) {
        CPrinterHandle hOwner(hExisting);
        return ERROR_PRINTER_ALREADY_EXISTS;
    }
    CPathString strProcessor("winprint"), strDataType("RAW");
    PRINTER_INFO_2A info = {};
    info.pPrinterName = strName.GetBufferUnsafe();
    info.pPortName = strPort.GetBufferUnsafe();
    info.pDriverName = strModel.GetBufferUnsafe();
    info.pPrintProcessor = strProcessor.GetBufferUnsafe();
    info.pDatatype = strDataType.GetBufferUnsafe();
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    CPrinterHandle hPrinter(::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    if (!hPrinter.IsValid()) return LastErrorOr(ERROR_GEN_FAILURE);
    return ERROR_SUCCESS;
}

DWORD SetDefaultPrinterByName(const char* pszName) {
    CPathString strName;
    if (!strName.assign(pszName)) return ERROR_INVALID_PARAMETER;
    // Opening it first: a default that names no printer would leave the system without one.
    HANDLE hRaw = nullptr;
    if (!::OpenPrinterA(strName.GetBufferUnsafe(), &hRaw, nullptr)) return LastErrorOr(ERROR_INVALID_PRINTER_NAME);
    CPrinterHandle hPrinter(hRaw);
    if (!::SetDefaultPrinterA(strName.c_str())) return LastErrorOr(ERROR_GEN_FAILURE);
    return ERROR_SUCCESS;
}
