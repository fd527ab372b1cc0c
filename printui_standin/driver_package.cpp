#include "driver_package.h"

#include "decorations.h"
#include "framework/fixed_string.h"
#include "inf_file.h"
#include "inf_version.h"
#include "target_platform.h"
#include "unidrv_sections.h"

namespace {

constexpr int kDriverDirectoryId = 66000;  // the DIRID of the printer driver directory

// File names and model names are ANSI text: compared the way the system compares them.
bool SameText(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// A destination that stays inside the driver directory: no path, no drive, no "." or "..".
bool IsPlainFileName(const std::string& strName) {
    return !strName.empty() && strName != "." && strName != ".." &&
           strName.find_first_of("\\/:") == std::string::npos;
}

// Joins two path parts with one backslash; a part from the INF may bring its own at either
// end ("\x86", "x86\"), and an empty part adds nothing.
std::string JoinPath(std::string strPath, std::string strPart) {
    while (!strPart.empty() && strPart.front() == '\\') strPart.erase(0, 1);
    while (!strPart.empty() && strPart.back() == '\\') strPart.pop_back();
    if (strPart.empty()) return strPath;
    if (!strPath.empty() && strPath.back() != '\\') strPath += '\\';
    return strPath + strPart;
}

std::string Quoted(const std::string& strText) { return "\"" + strText + "\""; }

class CPackageReader {
public:
    CPackageReader(const CInfFile& inf, std::string strFolder, DriverPackage& package)
        : m_inf(inf), m_strFolder(std::move(strFolder)), m_package(package) {}

    // The install section of model strModel, from the first manufacturer that has it.
    Outcome FindModel(const std::string& strModel, std::string& strInstallSection) {
        for (const INFCONTEXT& manufacturer : m_inf.FindLines("Manufacturer", "")) {
            // "name = models-section, decoration, ..."; a line without "=" names the section itself.
            std::vector<std::string> fields = CInfFile::GetFields(manufacturer, 1);
            if (fields.empty()) fields.emplace_back();
            if (fields[0].empty()) CInfFile::GetField(manufacturer, 0, fields[0]);
            const std::vector<std::string> decorations(fields.begin() + 1, fields.end());
            const std::string strModels = ModelsSectionName(fields[0], decorations);
            for (const INFCONTEXT& model : m_inf.FindLines(strModels, "")) {
                std::string strName;
                if (!CInfFile::GetField(model, 0, strName) || !SameText(strName, strModel)) continue;
                if (!CInfFile::GetField(model, 1, strInstallSection) || strInstallSection.empty())
                    return Outcome::Failure(ERROR_INVALID_DATA,
                                            "model " + Quoted(strName) + " in [" + strModels + "] names no install section");
                m_package.strModel = strName;
                return Outcome::Success();
            }
        }
        return Outcome::Failure(ERROR_UNKNOWN_PRINTER_DRIVER,
                                "no model " + Quoted(strModel) + " for " + kArchitectureDecoration + " in the INF");
    }

    Outcome FollowInstallSection(const std::string& strBase) {
        std::string strSection;
        for (const std::string& strName : DecoratedSectionNames(strBase)) {
            if (m_inf.HasSection(strName)) {
                strSection = strName;
                break;
            }
        }
        if (strSection.empty())
            return Outcome::Failure(ERROR_SECTION_NOT_FOUND, "no install section [" + strBase + "] for " +
                                                                 kArchitectureDecoration + " in the INF");
        m_package.strInstallSection = strSection;
        TakeKeysOf(strSection);
        Outcome outcome = ReadIncludes(strSection);
        if (outcome.Succeeded()) outcome = FollowDataSections(strSection);
        if (outcome.Succeeded()) outcome = FollowCopyFiles(strSection);
        if (outcome.Succeeded()) outcome = FollowNeeds(strSection);
        if (outcome.Succeeded()) outcome = AddNamedFiles(strSection);
        return outcome;
    }

private:
    // Sets the named files the INF has not set yet: the install section's own keys win over its
    // data section's, which win over a needed section's.
    void TakeKeys(const std::string& strDriver, const std::string& strConfig, const std::string& strData,
                  const std::string& strHelp) {
        if (m_package.strDriverFile.empty()) m_package.strDriverFile = strDriver;
        if (m_package.strConfigFile.empty()) m_package.strConfigFile = strConfig;
        if (m_package.strDataFile.empty()) m_package.strDataFile = strData;
        if (m_package.strHelpFile.empty()) m_package.strHelpFile = strHelp;
    }
    void TakeKeysOf(const std::string& strSection) {
        TakeKeys(m_inf.GetValue(strSection, "DriverFile"), m_inf.GetValue(strSection, "ConfigFile"),
                 m_inf.GetValue(strSection, "DataFile"), m_inf.GetValue(strSection, "HelpFile"));
    }
    void TakeKeys(const ModelledSection& section) {
        auto text = [](const char* psz) { return std::string(psz ? psz : ""); };
        TakeKeys(text(section.pszDriverFile), text(section.pszConfigFile), "", text(section.pszHelpFile));
    }

    // Every name of every KEY= line of the section, in order.
    std::vector<std::string> ListedNames(const std::string& strSection, const char* pszKey) const {
        std::vector<std::string> names;
        for (const INFCONTEXT& line : m_inf.FindLines(strSection, pszKey))
            for (std::string& strName : CInfFile::GetFields(line, 1))
                if (!strName.empty()) names.push_back(std::move(strName));
        return names;
    }

    // Only the platform's printer INF can be included: it is the one whose sections are modelled.
    Outcome ReadIncludes(const std::string& strSection) {
        for (const std::string& strInclude : ListedNames(strSection, "Include")) {
            if (!SameText(strInclude, kPlatformPrinterInf))
                return Outcome::Failure(ERROR_FILE_NOT_FOUND, "[" + strSection + "] includes " + strInclude +
                                                                  ", which is not the platform's printer INF");
            m_bIncludesPlatformInf = true;
        }
        return Outcome::Success();
    }

    // A section of the platform's printer INF, when the install section includes that INF.
    const ModelledSection* PlatformSection(const std::string& strName) const {
        return m_bIncludesPlatformInf ? FindModelledSection(strName) : nullptr;
    }

    Outcome FollowDataSections(const std::string& strSection) {
        for (const std::string& strData : ListedNames(strSection, "DataSection")) {
            if (m_inf.HasSection(strData)) {
                TakeKeysOf(strData);
            } else if (const ModelledSection* pSection = PlatformSection(strData)) {
                TakeKeys(*pSection);
            } else {
                return Outcome::Failure(ERROR_SECTION_NOT_FOUND, "no data section [" + strData + "]");
            }
        }
        return Outcome::Success();
    }

    Outcome FollowCopyFiles(const std::string& strSection) {
        for (const std::string& strEntry : ListedNames(strSection, "CopyFiles")) {
            Outcome outcome;
            if (strEntry[0] == '@') {
                // A single file, copied to the INF's default destination.
                outcome = CheckDestination("");
                if (outcome.Succeeded()) outcome = AddInfFile(strEntry.substr(1), strEntry.substr(1));
            } else {
                outcome = AddCopySection(strEntry);
            }
            if (!outcome.Succeeded()) return outcome;
        }
        return Outcome::Success();
    }

    // Where the platform's printer INF copies the Unidrv core from (target_platform.h).
    std::string PlatformCoreFolder() const {
        if (!*kPlatformCoreFolder) return m_strFolder;
        CPathString strSystem;
        const UINT nLength = ::GetSystemDirectoryA(strSystem.GetBufferUnsafe(), CPathString::kCapacity);
        if (nLength == 0 || nLength >= CPathString::kCapacity) return std::string();
        return JoinPath(strSystem.c_str(), kPlatformCoreFolder);
    }

    Outcome FollowNeeds(const std::string& strSection) {
        const std::string strCoreFolder = PlatformCoreFolder();
        for (const std::string& strNeeded : ListedNames(strSection, "Needs")) {
            const ModelledSection* pSection = PlatformSection(strNeeded);
            if (!pSection)
                return Outcome::Failure(ERROR_SECTION_NOT_FOUND, "[" + strSection + "] needs [" + strNeeded +
                                                                     "], which no included INF has");
            for (const char* const* ppszName = pSection->ppszCopies; *ppszName; ++ppszName) {
                const Outcome outcome = AddFile(*ppszName, JoinPath(strCoreFolder, *ppszName));
                if (!outcome.Succeeded()) return outcome;
            }
            TakeKeys(*pSection);
        }
        return Outcome::Success();
    }

    // The driver, configuration and data files are required; a named file that no copy section
    // lists is copied all the same, as the platform does.
    Outcome AddNamedFiles(const std::string& strSection) {
        const struct {
            const char* pszKey;
            const std::string& strName;
            bool bRequired;
        } named[] = {{"DriverFile", m_package.strDriverFile, true},
                     {"ConfigFile", m_package.strConfigFile, true},
                     {"DataFile", m_package.strDataFile, true},
                     {"HelpFile", m_package.strHelpFile, false}};
        for (const auto& entry : named) {
            if (entry.bRequired && entry.strName.empty())
                return Outcome::Failure(ERROR_INVALID_DATA, "[" + strSection + "] names no " + entry.pszKey);
        }
        for (const auto& entry : named) {
            if (entry.strName.empty() || HasFile(entry.strName)) continue;
            const Outcome outcome = AddInfFile(entry.strName, entry.strName);
            if (!outcome.Succeeded()) return outcome;
        }
        return Outcome::Success();
    }

    Outcome AddCopySection(const std::string& strCopySection) {
        if (!m_inf.HasSection(strCopySection))
            return Outcome::Failure(ERROR_SECTION_NOT_FOUND, "no copy section [" + strCopySection + "]");
        Outcome outcome = CheckDestination(strCopySection);
        if (!outcome.Succeeded()) return outcome;
        // "destination[,source]": the source name is the destination's unless given.
        for (const INFCONTEXT& line : m_inf.FindLines(strCopySection, "")) {
            std::string strName, strSource;
            CInfFile::GetField(line, 1, strName);
            if (!CInfFile::GetField(line, 2, strSource) || strSource.empty()) strSource = strName;
            outcome = AddInfFile(strName, strSource);
            if (!outcome.Succeeded()) return outcome;
        }
        return Outcome::Success();
    }

    // DestinationDirs' entry for the copy section, or its DefaultDestDir ("" asks for that
    // one alone), must be the printer driver directory itself.
    Outcome CheckDestination(const std::string& strCopySection) const {
        INFCONTEXT line;
        const bool bFound = (!strCopySection.empty() && m_inf.FindLine("DestinationDirs", strCopySection, line)) ||
                            m_inf.FindLine("DestinationDirs", "DefaultDestDir", line);
        const std::string strWhat = strCopySection.empty() ? "single files" : "[" + strCopySection + "]";
        int nDirId = 0;
        std::string strSubdirectory;
        if (!bFound || !CInfFile::GetIntField(line, 1, nDirId))
            return Outcome::Failure(ERROR_INVALID_DATA, "DestinationDirs gives no destination for " + strWhat);
        CInfFile::GetField(line, 2, strSubdirectory);
        if (nDirId != kDriverDirectoryId || !strSubdirectory.empty())
            return Outcome::Failure(ERROR_INVALID_DATA,
                                    "DestinationDirs sends " + strWhat + " elsewhere than the printer driver directory");
        return Outcome::Success();
    }

    // A line of SECTION.<architecture>, else of SECTION, as the platform looks up source media.
    bool FindSourceMediaLine(const std::string& strSection, const std::string& strKey, INFCONTEXT& line) const {
        return m_inf.FindLine(strSection + "." + kSourceMediaSuffix, strKey, line) ||
               m_inf.FindLine(strSection, strKey, line);
    }

    // A file of the INF's own source layout: INF folder \ disk path \ subdirectory \ source name.
    Outcome AddInfFile(const std::string& strName, const std::string& strSource) {
        INFCONTEXT file, disk;
        std::string strDiskId, strSubdirectory, strDiskPath;
        if (!FindSourceMediaLine("SourceDisksFiles", strSource, file))
            return Outcome::Failure(ERROR_FILE_NOT_FOUND, strSource + " is not in the INF's SourceDisksFiles");
        CInfFile::GetField(file, 1, strDiskId);
        CInfFile::GetField(file, 2, strSubdirectory);
        if (strDiskId.empty() || !FindSourceMediaLine("SourceDisksNames", strDiskId, disk))
            return Outcome::Failure(ERROR_FILE_NOT_FOUND, "the disk of " + strSource +
                                                              " is not in the INF's SourceDisksNames");
        CInfFile::GetField(disk, 4, strDiskPath);
        return AddFile(strName, JoinPath(JoinPath(JoinPath(m_strFolder, strDiskPath), strSubdirectory), strSource));
    }

    bool HasFile(const std::string& strName) const {
        for (const DriverPackageFile& file : m_package.files)
            if (SameText(file.strName, strName)) return true;
        return false;
    }

    // The first copy of a destination name wins; its source must be a file.
    Outcome AddFile(const std::string& strName, const std::string& strSourcePath) {
        if (!IsPlainFileName(strName))
            return Outcome::Failure(ERROR_INVALID_NAME, Quoted(strName) + " is not a plain file name");
        if (HasFile(strName)) return Outcome::Success();
        const DWORD dwAttributes = ::GetFileAttributesA(strSourcePath.c_str());
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return Outcome::Failure(ERROR_FILE_NOT_FOUND, strName + " is missing from the source layout: no file " +
                                                              strSourcePath);
        m_package.files.push_back({strName, strSourcePath});
        return Outcome::Success();
    }

    const CInfFile& m_inf;
    const std::string m_strFolder;  // the INF's folder, the root of its source layout
    DriverPackage& m_package;
    bool m_bIncludesPlatformInf = false;
};

}  // namespace

std::vector<std::string> DriverPackage::DependentFiles() const {
    std::vector<std::string> dependents;
    for (const DriverPackageFile& file : files) {
        bool bNamed = false;
        for (const std::string* pName : {&strDriverFile, &strConfigFile, &strDataFile, &strHelpFile})
            bNamed = bNamed || SameText(file.strName, *pName);
        if (!bNamed) dependents.push_back(file.strName);
    }
    return dependents;
}

Outcome ReadDriverPackage(const char* pszInfPath, const char* pszModel, DriverPackage& package) {
    package = DriverPackage();
    // A full path: the parser looks for a bare name in the system's INF folder instead.
    CPathString strInfPath;
    char* pszFilePart = nullptr;
    const DWORD cchPath =
        ::GetFullPathNameA(pszInfPath, CPathString::kCapacity, strInfPath.GetBufferUnsafe(), &pszFilePart);
    if (!cchPath || cchPath >= CPathString::kCapacity || !pszFilePart)
        return Outcome::Failure(ERROR_BAD_PATHNAME, std::string("no usable INF path in ") + pszInfPath);
    const std::string strFolder(strInfPath.c_str(), static_cast<std::size_t>(pszFilePart - strInfPath.c_str()));

    CInfFile inf;
    Outcome outcome = inf.Open(strInfPath.c_str());
    if (outcome.Succeeded()) outcome = CheckInfVersion(inf, strFolder);
    if (!outcome.Succeeded()) return outcome;
    package.strInfPath = strInfPath.c_str();
    CPackageReader reader(inf, strFolder, package);
    std::string strInstallSection;
    outcome = reader.FindModel(pszModel, strInstallSection);
    if (outcome.Succeeded()) outcome = reader.FollowInstallSection(strInstallSection);
    return outcome;
}

Outcome ApplyDriverRegistry(const DriverPackage& package) {
    CInfFile inf;
    const Outcome outcome = inf.Open(package.strInfPath.c_str());
    return outcome.Succeeded() ? inf.InstallRegistry(package.strInstallSection) : outcome;
}
