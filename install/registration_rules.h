// The decisions of the printer registration that need no platform: the name a new printer
// gets, whether it was added, which printer becomes the default, and the outcome texts.
// Names are ANSI bytes in the variant's code page. Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "language_choice.h"

// The base name of this model's printers, whatever the setting file calls the printer.
constexpr char kModelName[] = "Q73";

// The printers whose name contains text, as a case-sensitive byte substring.
int CountPrintersContaining(const std::vector<std::string>& printers, std::string_view text);

// The first printer, in enumeration order, whose name contains text; empty when none does.
std::string FirstPrinterContaining(const std::vector<std::string>& printers, std::string_view text);

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
