// The decisions of the printer registration that need no platform: the name a new printer
// gets, whether it was added, which printer becomes the default, and the outcome texts.
// Printers are counted with the model's printer search (payload/printer_search.h).
// Names are ANSI bytes in the variant's code page. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "payload/install_constants.h"
#include "payload/text_variant.h"

// The name for the new printer: the model name when none of its printers exists yet, else a
// copy name "Q73(Copy N)" in the variant's language, N being the count of existing ones.
std::string NewPrinterName(TextVariant variant, int nExistingCount);

// A printer was added only when there are more of the model's printers than before.
constexpr bool IsRegistrationSuccess(int nCountBefore, int nCountAfter) {
    return nCountAfter > nCountBefore;
}

// The printer this install added: strNewName when it is listed afterwards, otherwise the first
// printer of the model (in enumeration order) that was not listed before; empty when none.
std::string AddedPrinter(const std::string& strNewName, const std::vector<std::string>& before,
                         const std::vector<std::string>& after);

// The text of the outcome message box.
const char* OutcomeMessage(TextVariant variant, bool bSuccess);
