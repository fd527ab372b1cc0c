#include "inf_version.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "inf_file.h"
#include "target_platform.h"

namespace {

constexpr char kPrinterClassGuid[] = "{4D36E979-E325-11CE-BFC1-08002BE10318}";

bool SameText(const std::string& a, const char* b) { return ::lstrcmpiA(a.c_str(), b) == 0; }

// A decimal number of 1 to nMaxDigits digits, no sign or blank, within [nLow, nHigh].
bool IsNumberIn(const std::string& strText, std::size_t nMaxDigits, long nLow, long nHigh) {
    if (strText.empty() || strText.size() > nMaxDigits) return false;
    for (char c : strText)
        if (c < '0' || c > '9') return false;
    const long nValue = std::strtol(strText.c_str(), nullptr, 10);
    return nValue >= nLow && nValue <= nHigh;
}

// Splits at every cSeparator.
std::vector<std::string> Split(const std::string& strText, char cSeparator) {
    std::vector<std::string> parts(1);
    for (char c : strText) {
        if (c == cSeparator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

Outcome Refusal(const std::string& strWhat) { return Outcome::Failure(ERROR_INVALID_DATA, "[Version] " + strWhat); }

std::string Shown(const std::string& strValue) { return strValue.empty() ? "nothing" : "\"" + strValue + "\""; }

}  // namespace

bool IsDriverVerValue(const std::string& strDate, const std::string& strVersion) {
    const std::vector<std::string> date = Split(strDate, '/');
    if (date.size() != 3 || !IsNumberIn(date[0], 2, 1, 12) || !IsNumberIn(date[1], 2, 1, 31) ||
        !IsNumberIn(date[2], 4, 1000, 9999) || date[2].size() != 4)
        return false;
    if (strVersion.empty()) return true;
    const std::vector<std::string> version = Split(strVersion, '.');
    if (version.size() > 4) return false;
    for (const std::string& strPart : version)
        if (!IsNumberIn(strPart, 5, 0, 65535)) return false;
    return true;
}

Outcome CheckInfVersion(const CInfFile& inf, const std::string& strInfFolder) {
    const std::string strSignature = inf.GetValue("Version", "Signature");
    if (!SameText(strSignature, "$Windows NT$") && !SameText(strSignature, "$Chicago$"))
        return Refusal("Signature is " + Shown(strSignature) + ", not $Windows NT$ or $Chicago$");
    const std::string strClass = inf.GetValue("Version", "Class");
    if (!SameText(strClass, "Printer")) return Refusal("Class is " + Shown(strClass) + ", not Printer");
    const std::string strGuid = inf.GetValue("Version", "ClassGUID");
    if (!SameText(strGuid, kPrinterClassGuid))
        return Refusal("ClassGUID is " + Shown(strGuid) + ", not the printer class " + kPrinterClassGuid);
    if (inf.GetValue("Version", "Provider").empty()) return Refusal("names no Provider");

    INFCONTEXT line;
    std::string strDate, strVersion;
    if (!inf.FindLine("Version", "DriverVer", line) || !CInfFile::GetField(line, 1, strDate))
        return Refusal("has no DriverVer");
    CInfFile::GetField(line, 2, strVersion);
    if (!IsDriverVerValue(strDate, strVersion))
        return Refusal("DriverVer " + Shown(strDate + (strVersion.empty() ? "" : "," + strVersion)) +
                       " is not mm/dd/yyyy[,w.x.y.z]");

    // The catalog named for this architecture wins over the one named for all.
    std::string strCatalog = inf.GetValue("Version", std::string("CatalogFile.") + kArchitectureDecoration);
    if (strCatalog.empty()) strCatalog = inf.GetValue("Version", "CatalogFile");
    if (strCatalog.empty()) return Outcome::Success();
    if (strCatalog.find_first_of("\\/:") != std::string::npos)
        return Refusal("CatalogFile " + Shown(strCatalog) + " is not a plain file name");
    const std::string strPath = strInfFolder + strCatalog;
    const DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Outcome::Failure(ERROR_FILE_NOT_FOUND, "[Version] CatalogFile " + strCatalog + " is not beside the INF: no file " + strPath);
    return Outcome::Success();
}
