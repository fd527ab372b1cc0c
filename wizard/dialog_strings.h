// Localisation of every dialog of the wizard from the active language file.
#pragma once

#include <windows.h>

#include <string>

#include "payload/text_variant.h"

// Full path of the active language file, in the "Language" folder beside the program. The
// start-up sets it; empty until then.
extern std::string g_strLanguageFile;

// Replaces the caption of dialog nDialogID ("IDD<id>_Title") and the texts of its child
// controls ("IDD<id>_<control id>") with the non-empty values of the active language file,
// leaving the printer-name box (control 1019) alone; on English systems every child control
// also gets Arial 13.
void g_SetDialogStrings(HWND hDialog, int nDialogID);

// The language the localised dialogs show: English when the active language file declares
// English; otherwise Chinese (the templates' language), Traditional where the start-up picks
// the traditional-Chinese file (a Chinese system other than 0x0804), Simplified elsewhere.
TextVariant ActiveLanguageVariant();
