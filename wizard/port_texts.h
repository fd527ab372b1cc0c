// The settings page's texts about the printer's port, in the language of the active language
// file (English, or Chinese in the code page of its region). They are not in the language files:
// those keep their bytes, and a language folder left by an earlier version has no such keys.
#pragma once

#include "payload/text_variant.h"

struct PortTexts {
    const char* pszPortLabel;
    const char* pszAddressLabel;
    const char* pszPortNumberLabel;
    const char* pszNetworkPrinter;  // the port list's last entry
    const char* pszBadAddress;      // why Next refused a network printer's address or port number
};

const PortTexts& PortTextsFor(TextVariant variant);
