// The driver's own INF and the files it names, staged in C:\TEMP as the installer lays them
// out, each with bytes that tell where it was staged: so a test sees which copy was taken.
#pragma once

#include <string>
#include <vector>

constexpr char kStagedInf[] = "C:\\TEMP\\Q73.INF";

struct StagedDriverFile {
    const char* pszPlace;  // below C:\TEMP
    const char* pszName;   // its name in the driver directory; nullptr for a copy the INF does not take
};

// The INF's files where its source layout has them, the installer's other copies of the
// plug-ins (in C:\TEMP, I386 and x86), which the INF does not take, and the INF's catalog.
const std::vector<StagedDriverFile>& StagedDriverSet();
// The files the INF installs, in the order it names them: its copy section, then the Unidrv core.
std::vector<std::string> InstalledFileNames();

// The driver's INF from the source tree, with the CR LF line ends the installer stages.
std::string DriverInfText();
// strText with strFrom replaced by strTo; a test failure unless strFrom occurs exactly once.
std::string ReplacedOnce(std::string strText, const std::string& strFrom, const std::string& strTo);

// Writes strInf as C:\TEMP\Q73.INF and every file of StagedDriverSet(); C:\TEMP must exist.
void StageDriverSet(const std::string& strInf);
// The bytes StageDriverSet() writes to a place below C:\TEMP.
std::string StagedSetBytes(const std::string& strPlace);
// Where the staged file that lands in the driver directory as strName was staged.
std::string StagedPlaceOf(const std::string& strName);
