// Records the INF clean-up's calls to the setup API and the spooler while it lives. Each call is
// passed on to the system's own function, or answered with a given failure.
#pragma once

#include <string>
#include <vector>

#include "payload/stale_inf_cleanup.h"

class CRecordedInfRemovals {
public:
    // dwRefusal: 0 passes SetupUninstallOEMInfA on to the system; otherwise it fails with that error.
    explicit CRecordedInfRemovals(DWORD dwRefusal = 0);
    ~CRecordedInfRemovals();
    CRecordedInfRemovals(const CRecordedInfRemovals&) = delete;
    CRecordedInfRemovals& operator=(const CRecordedInfRemovals&) = delete;

    // One line per call, in order: "SetupUninstallOEMInfA oem96.inf 1: removed" (or "kept": whether
    // the INF was still there when the call returned), "DeletePrinterDriverPackageA PATH ENVIRONMENT".
    const std::vector<std::string>& Calls() const;

private:
    InfRemovalFunctions m_previous;
};
