// Localisation of a dialog from the active language file: its caption and the texts of its
// child controls, and an Arial font on English systems.
#include "wizard/dialog_strings.h"

#include "framework/fixed_string.h"
#include "framework/profile.h"

std::string g_strLanguageFile;

namespace {

constexpr int kPrinterNameBox = 1019;  // filled by its page, never from the language file
constexpr unsigned kValueBuffer = 1000;

// One font for every localised control, kept for the life of the process: the controls that
// received it go on drawing with it until their dialogs close.
HFONT EnglishDialogFont() {
    static const HFONT hFont = [] {
        LOGFONTA font = {};
        font.lfHeight = 13;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = ANSI_CHARSET;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = DEFAULT_QUALITY;
        font.lfPitchAndFamily = FF_SWISS;
        ::lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
        return ::CreateFontIndirectA(&font);
    }();
    return hFont;
}

// The value of the key in section "String" of the language file; empty when missing.
std::string LanguageText(const char* pszKey) {
    return ReadProfileString(g_strLanguageFile.c_str(), "String", pszKey, "", kValueBuffer);
}

}  // namespace

void g_SetDialogStrings(HWND hDialog, int nDialogID) {
    const HFONT hFont = EnglishDialogFont();
    CFixedString<64> strKey;

    if (strKey.format("IDD%d_Title", nDialogID)) {
        const std::string strCaption = LanguageText(strKey.c_str());
        if (!strCaption.empty()) ::SetWindowTextA(hDialog, strCaption.c_str());
    }

    const bool bEnglishSystem = PRIMARYLANGID(::GetSystemDefaultLangID()) == LANG_ENGLISH;
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const int nControlID = ::GetDlgCtrlID(hChild);  // signed: an id of all ones is -1
        if (bEnglishSystem && ::IsWindow(hChild)) ::SendMessageA(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
        if (nControlID == kPrinterNameBox) continue;
        if (!strKey.format("IDD%d_%d", nDialogID, nControlID)) continue;
        const std::string strText = LanguageText(strKey.c_str());
        if (!strText.empty()) ::SetWindowTextA(hChild, strText.c_str());
    }
}

TextVariant ActiveLanguageVariant() {
    if (ReadProfileString(g_strLanguageFile.c_str(), "Setting", "Language", "", kValueBuffer) == "English")
        return TextVariant::English;
    const LANGID wSystem = ::GetSystemDefaultLangID();
    return IsChineseLanguage(wSystem) && wSystem != 0x0804 ? TextVariant::TraditionalChinese
                                                           : TextVariant::SimplifiedChinese;
}
