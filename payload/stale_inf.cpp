#include "payload/stale_inf.h"

#include "payload/patch_rules.h"

namespace {

bool Contains(std::string_view line, std::string_view marker) {
    return line.find(marker) != std::string_view::npos;
}

// The fixed model name of the INF payload, whatever name the printer is given.
constexpr std::string_view kModel = "Q73";

}  // namespace

bool CStaleInfScan::ScanLine(std::string_view line) {
    if (Contains(line, "Class=Printer")) m_bPrinterClass = true;
    if (Contains(line, "[Manufacturer]")) m_bManufacturerSection = true;
    if (Contains(line, ".GPD")) m_bGpdReference = true;
    if (m_bPrinterClass && (m_bManufacturerSection || m_bGpdReference) && Contains(line, kModel))
        m_bModelMatch = true;
    return m_bModelMatch;
}

bool IsStaleModelInf(std::string_view text) {
    CStaleInfScan scan;
    // ForEachTextLine has no early exit; once matched, later lines change nothing.
    ForEachTextLine(text, kMaxPatchLine, [&](std::string_view line) {
        if (!scan.IsModelMatch()) scan.ScanLine(line);
    });
    return scan.IsModelMatch();
}
