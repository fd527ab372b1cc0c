// Recognising the copies of this model's INF that Windows keeps in its INF folder.
//
// A copy counts when, reading line by line (pieces of at most 259 characters), a line holds
// the model "Q73" at or after the point where the printer class ("Class=Printer") and either
// the manufacturer section ("[Manufacturer]") or a GPD reference (".GPD") have been seen.
// Markers are case-sensitive single-byte text, so a UTF-16 INF never counts. Portable.
#pragma once

#include <string_view>

class CStaleInfScan {
public:
    // Takes the next line; true once the model match is set (the caller stops reading then).
    bool ScanLine(std::string_view line);
    bool IsModelMatch() const { return m_bModelMatch; }

private:
    bool m_bPrinterClass = false;
    bool m_bManufacturerSection = false;
    bool m_bGpdReference = false;
    bool m_bModelMatch = false;
};

// Scans a whole INF text.
bool IsStaleModelInf(std::string_view text);
