// A printer driver as an INF describes it: what the platform's print UI reads before it copies
// anything. The INF is read with the platform's parser (inf_file.h):
//   [Version]        must be a printer INF the platform accepts (inf_version.h);
//   [Manufacturer]   each entry's models section, decorated for this architecture
//                    (decorations.h); the first model whose name is the one asked for
//                    (ignoring case) gives the install section, itself decorated the same way;
//   install section  CopyFiles (copy sections and @file entries), DataFile, DriverFile,
//                    ConfigFile, HelpFile, DataSection, Include and Needs; of included INFs only
//                    the platform's printer INF is known (unidrv_sections.h);
//   source layout    each file the INF copies is found through SourceDisksFiles (disk and
//                    subdirectory) and SourceDisksNames (the disk's path), relative to the
//                    INF's folder, and must be there;
//   DestinationDirs  every copy goes to the printer driver directory (66000).
// The install section's AddReg is carried out by ApplyDriverRegistry, once the driver is added.
#pragma once

#include <string>
#include <vector>

#include "outcome.h"

struct DriverPackageFile {
    std::string strName;        // its plain file name in the driver directory
    std::string strSourcePath;  // the file the INF's source layout points to
};

struct DriverPackage {
    std::string strInfPath;         // the INF's full path
    std::string strInstallSection;  // the model's install section, decorated as the INF has it
    std::string strModel;  // the driver's name, as the INF spells it
    std::string strDriverFile;
    std::string strConfigFile;
    std::string strDataFile;
    std::string strHelpFile;  // empty when the INF names none
    // Every file to copy, each destination name once, in the INF's order: the copy sections,
    // then the needed sections, then any named file no copy section lists.
    std::vector<DriverPackageFile> files;

    // The files other than the four named above, in copy order: what the platform registers as
    // the driver's dependent files.
    std::vector<std::string> DependentFiles() const;
};

// Reads the driver of model pszModel from the INF at pszInfPath into package. A refusal for an
// INF that is missing or cannot be parsed, a model the INF does not have for this architecture,
// an install section that cannot be followed, or any file it names that is not where its source
// layout says; package is then incomplete and must not be used. Reads files only.
Outcome ReadDriverPackage(const char* pszInfPath, const char* pszModel, DriverPackage& package);

// Writes the registry values of the install section's AddReg lines, with the platform's setup
// API. A refusal names the section when the setup API fails.
Outcome ApplyDriverRegistry(const DriverPackage& package);
