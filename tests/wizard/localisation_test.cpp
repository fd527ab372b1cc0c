// Localising a dialog from a language file of the test's own: captions and control texts,
// the Arial font on English systems, the printer-name box left alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "res/resource.h"
#include "scripted_steps.h"
#include "shell/setup.h"
#include "test_support.h"

namespace {

bool IsEnglishSystem() { return PRIMARYLANGID(::GetSystemDefaultLangID()) == LANG_ENGLISH; }

LOGFONTA FontOf(HWND hWnd) {
    LOGFONTA font = {};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

class Localisation : public ::testing::Test {
protected:
    void SetUp() override { m_strPreviousFile = std::exchange(g_strLanguageFile, m_dir.File("Language.dll")); }
    void TearDown() override { g_strLanguageFile = m_strPreviousFile; }

    void WriteLanguageFile(const std::string& strStrings) {
        WriteFileBytes(g_strLanguageFile, "[Setting]\r\nLanguage=Test\r\n[String]\r\n" + strStrings);
    }
    // The dialog of the template, created (hidden, pages inside a hidden frame) and localised
    // as nDialogID.
    HWND Localised(CDialog& dialog, int nDialogID) {
        const bool bPage = dialog.GetTemplateID() != IDD_SETUP_DIALOG;
        if (bPage && !m_parent.GetSafeHwnd()) {
            EXPECT_TRUE(m_parent.Create(IDD_SETUP_DIALOG, nullptr));
            ::ShowWindow(m_parent.GetSafeHwnd(), SW_HIDE);
        }
        EXPECT_TRUE(dialog.Create(dialog.GetTemplateID(), bPage ? m_parent.GetSafeHwnd() : nullptr));
        ::ShowWindow(dialog.GetSafeHwnd(), SW_HIDE);
        g_SetDialogStrings(dialog.GetSafeHwnd(), nDialogID);
        return dialog.GetSafeHwnd();
    }

    CScopedDirectory m_dir{"localisation"};
    CDialog m_parent{IDD_SETUP_DIALOG};
    std::string m_strPreviousFile;
};

}  // namespace

TEST_F(Localisation, ValuesReplaceTextsAndEmptyOrMissingOnesKeepTheTemplate) {
    WriteLanguageFile("IDD102_Title=Caption\r\nIDD102_12324=&Next\r\nIDD102_12323=\r\n");
    CDialog frame(IDD_SETUP_DIALOG);
    HWND hFrame = Localised(frame, IDD_SETUP_DIALOG);
    EXPECT_EQ(WindowText(hFrame), "Caption");
    EXPECT_EQ(ControlText(hFrame, ID_WIZNEXT), "&Next");
    EXPECT_EQ(ControlText(hFrame, ID_WIZBACK), Ansi("后退"));    // empty value
    EXPECT_EQ(ControlText(hFrame, ID_WIZFINISH), Ansi("完成"));  // no key
}

TEST_F(Localisation, TheKeysUseTheDialogIdGivenAndSignedControlIds) {
    WriteLanguageFile("IDD777_12325=Done\r\nIDD102_12325=wrong dialog\r\nIDD777_-1=signed\r\n");
    CDialog frame(IDD_SETUP_DIALOG);
    ASSERT_TRUE(frame.Create(IDD_SETUP_DIALOG, nullptr));
    // A text control whose id is all ones, as templates give "-1".
    HWND hText = ::CreateWindowA("STATIC", "template", WS_CHILD | SS_LEFT, 0, 0, 50, 10, frame.GetSafeHwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
    ASSERT_EQ(::GetDlgCtrlID(hText), -1);
    g_SetDialogStrings(frame.GetSafeHwnd(), 777);
    EXPECT_EQ(ControlText(frame.GetSafeHwnd(), ID_WIZFINISH), "Done");
    EXPECT_EQ(WindowText(hText), "signed");
}

TEST_F(Localisation, ThePrinterNameBoxIsNeverGivenAText) {
    WriteLanguageFile("IDD143_1019=from the file\r\nIDD143_1057=Name:\r\n");
    CDialog page(IDD_SETTING);
    HWND hPage = Localised(page, 0);  // nothing to take for dialog 0
    ::SetDlgItemTextA(hPage, IDC_PRINTER_NAME, "80mm series");
    g_SetDialogStrings(hPage, IDD_SETTING);
    EXPECT_EQ(ControlText(hPage, IDC_PRINTER_NAME), "80mm series");
    EXPECT_EQ(ControlText(hPage, IDC_NAME_LABEL), "Name:");
}

TEST_F(Localisation, AValueIsCutTo999Bytes) {
    const std::string strLong(1500, 'x');
    WriteLanguageFile("IDD102_12324=" + strLong + "\r\n");
    CDialog frame(IDD_SETUP_DIALOG);
    EXPECT_EQ(ControlText(Localised(frame, IDD_SETUP_DIALOG), ID_WIZNEXT), strLong.substr(0, 999));
}

TEST_F(Localisation, WithoutALanguageFileEverythingStaysChinese) {
    ::DeleteFileA(g_strLanguageFile.c_str());
    CDialog page(IDD_WELCOME);
    HWND hPage = Localised(page, IDD_WELCOME);
    EXPECT_EQ(ControlText(hPage, IDC_WELCOME_TITLE), Ansi("欢迎使用KIRSO系列打印机驱动安装程序向导"));
    EXPECT_EQ(WindowText(hPage), "");
}

TEST_F(Localisation, EnglishSystemsGetArial13AndOthersKeepTheDialogFont) {
    WriteLanguageFile("");
    CDialog frame(IDD_SETUP_DIALOG);
    HWND hFrame = Localised(frame, IDD_SETUP_DIALOG);
    const HFONT hDialogFont = reinterpret_cast<HFONT>(::SendMessageA(hFrame, WM_GETFONT, 0, 0));
    int nButtons = 0;
    for (HWND hChild = ::GetWindow(hFrame, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[16] = {};
        ::GetClassNameA(hChild, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Button") != 0) continue;  // frames and lines keep no font
        ++nButtons;
        const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hChild, WM_GETFONT, 0, 0));
        if (!IsEnglishSystem()) {
            EXPECT_EQ(hFont, hDialogFont);
            continue;
        }
        const LOGFONTA font = FontOf(hChild);
        EXPECT_STREQ(font.lfFaceName, "Arial");
        EXPECT_EQ(font.lfHeight, 13);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_EQ(font.lfPitchAndFamily, FF_SWISS);
    }
    EXPECT_EQ(nButtons, 4);
}
