// The installer's pages inside their frame: preselection on the language page, the series
// list gating Next, the installing page starting the installation, the header band.
#include "payload/os_version.h"
#include "recorded_notifications.h"
#include "wizard_fixture.h"

namespace {

bool IsChecked(const CDialog& page, int nID) {
    return ::SendMessageA(page.GetDlgItem(nID), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsChineseSystem() { return PRIMARYLANGID(::GetSystemDefaultLangID()) == LANG_CHINESE; }

using Pages = WizardTest;

}  // namespace

TEST(OperatingSystemChoice, NamesTheButtonsOfWindows2000To7Only) {
    const int kExpected[] = {-1, -1, -1, -1, -1, -1, -1, 0, 1, 2, 3, 4, -1};
    for (int nCode = -1; nCode <= 11; ++nCode) EXPECT_EQ(OperatingSystemChoice(nCode), kExpected[nCode + 1]) << nCode;
}

TEST_F(Pages, TheLanguagePageIsPreselectedFromTheRunningSystem) {
    Run({
        [&] {
            EXPECT_FALSE(m_language.m_bCreated);
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            const int nLanguage = IsChineseSystem() ? 0 : 1;
            EXPECT_EQ(m_language.m_nLanguage, nLanguage);
            EXPECT_EQ(g_wLanguage, nLanguage);
            EXPECT_TRUE(IsChecked(m_language, nLanguage == 0 ? IDC_LANGUAGE_CHINESE : IDC_LANGUAGE_ENGLISH));
            EXPECT_FALSE(IsChecked(m_language, nLanguage == 0 ? IDC_LANGUAGE_ENGLISH : IDC_LANGUAGE_CHINESE));
            const int nOS = OperatingSystemChoice(GetOSVersionCode());
            EXPECT_EQ(m_language.m_nOS, nOS);
            for (int i = 0; i < 5; ++i) EXPECT_EQ(IsChecked(m_language, IDC_OS_WIN2000 + i), i == nOS) << i;
            EXPECT_TRUE(IsControlEnabled(F(), ID_WIZNEXT));
            EXPECT_FALSE(IsControlVisible(m_language.GetSafeHwnd(), IDC_LANGUAGE_SUBTITLE));
            Close();
        },
    });
}

TEST_F(Pages, TheLanguageButtonsSetTheChoiceButNotTheTexts) {
    UseLanguageFile(147);
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            Click(m_language.GetSafeHwnd(), IDC_LANGUAGE_CHINESE);
            EXPECT_EQ(g_wLanguage, 0);
            EXPECT_EQ(ControlText(m_language.GetSafeHwnd(), IDC_LANGUAGE_TITLE), "Please select the operation system");
            Click(m_language.GetSafeHwnd(), IDC_LANGUAGE_ENGLISH);
            EXPECT_EQ(g_wLanguage, 1);
            // An operating-system click only reaches the field with the next language click.
            Click(m_language.GetSafeHwnd(), IDC_OS_VISTA);
            Click(m_language.GetSafeHwnd(), IDC_LANGUAGE_CHINESE);
            EXPECT_EQ(g_wLanguage, 0);
            EXPECT_EQ(m_language.m_nOS, 3);
            Close();
        },
    });
    EXPECT_EQ(g_wLanguage, 0);
}

TEST_F(Pages, TheSettingsPageHoldsNextUntilTheSeriesIsSelected) {
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            ASSERT_EQ(ShownID(), IDD_SETTING);
            EXPECT_EQ(m_setting.m_listSeries.GetCount(), 1);
            EXPECT_EQ(m_setting.m_listSeries.GetText(0), "80mm series");
            EXPECT_EQ(m_setting.m_listSeries.GetCurSel(), LB_ERR);
            EXPECT_FALSE(IsControlEnabled(F(), ID_WIZNEXT));
            EXPECT_EQ(ControlText(m_setting.GetSafeHwnd(), IDC_PRINTER_NAME), "");
            EXPECT_EQ(m_setting.m_bSetDefault, 0);  // the template's clear box
            EXPECT_FALSE(IsChecked(m_setting, IDC_SET_DEFAULT));
            SelectSeries();
            EXPECT_TRUE(IsControlEnabled(F(), ID_WIZNEXT));
            EXPECT_EQ(ControlText(m_setting.GetSafeHwnd(), IDC_PRINTER_NAME), "80mm series");
            EXPECT_FALSE(IsChecked(m_setting, IDC_SET_DEFAULT));
            Close();
        },
    });
}

// Wine's ports, FILE: left out, then the network printer; the start-up's choice is selected.
// The address fields take input for a network printer only, and Next refuses an address that
// is not valid with a message and stays.
TEST_F(Pages, TheSettingsPageOffersThePortsAndChecksANetworkPrintersAddress) {
    UseLanguageFile(147);
    g_PortChoice = PortChoice();
    g_PortChoice.strPort = "COM2:";
    CRecordedNotifications notifications;
    HWND hPorts = nullptr;
    const auto ChooseEntry = [&](int nIndex) {
        ::SendMessageA(hPorts, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        ::SendMessageA(m_setting.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_PORT_LIST, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hPorts));
    };
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            ASSERT_EQ(ShownID(), IDD_SETTING);
            hPorts = m_setting.GetDlgItem(IDC_PORT_LIST);
            std::vector<std::string> entries;
            for (int i = 0; i < m_setting.m_comboPort.GetCount(); ++i) {
                char szEntry[64] = {};
                if (::SendMessageA(hPorts, CB_GETLBTEXTLEN, i, 0) < 64)
                    ::SendMessageA(hPorts, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szEntry));
                entries.push_back(szEntry);
            }
            EXPECT_EQ(entries, (std::vector<std::string>{"COM1:", "COM2:", "COM3:", "COM4:", "LPT1:", "LPT2:", "LPT3:",
                                                         "Network printer"}));
            EXPECT_EQ(m_setting.m_comboPort.GetCurSel(), 1);
            EXPECT_EQ(ControlText(m_setting.GetSafeHwnd(), IDC_PORT_LABEL), "Port:");
            EXPECT_EQ(ControlText(m_setting.GetSafeHwnd(), IDC_PORT_NUMBER), "9100");
            EXPECT_FALSE(IsControlEnabled(m_setting.GetSafeHwnd(), IDC_NETWORK_ADDRESS));
            ChooseEntry(7);
            EXPECT_TRUE(IsControlEnabled(m_setting.GetSafeHwnd(), IDC_NETWORK_ADDRESS));
            EXPECT_TRUE(IsControlEnabled(m_setting.GetSafeHwnd(), IDC_PORT_NUMBER));
            SelectSeries();
            ::SetDlgItemTextA(m_setting.GetSafeHwnd(), IDC_NETWORK_ADDRESS, "192.0.2.300");
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            EXPECT_EQ(ShownID(), IDD_SETTING);
            EXPECT_EQ(notifications.m_messages,
                      std::vector<std::string>{"wizard_tests: Please enter the network printer's IPv4 address or host "
                                               "name, and a port number from 1 to 65535."});
            EXPECT_EQ(g_PortChoice.strPort, "COM2:");
            ::SetDlgItemTextA(m_setting.GetSafeHwnd(), IDC_NETWORK_ADDRESS, " receipt-7.shop.example ");
            ::SetDlgItemTextA(m_setting.GetSafeHwnd(), IDC_PORT_NUMBER, "9101");
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            EXPECT_EQ(ShownID(), IDD_COPY);
            Close();
        },
    });
    EXPECT_EQ(g_PortChoice.strPort, "IP_receipt-7.shop.example");
    EXPECT_EQ(g_PortChoice.strNetworkAddress, "receipt-7.shop.example");
    EXPECT_EQ(g_PortChoice.nNetworkPort, 9101u);
    g_PortChoice = PortChoice();
}

TEST_F(Pages, BackBeforeChoosingASeriesLetsNextPassTheSettingsPageLater) {
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZBACK); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            ASSERT_EQ(ShownID(), IDD_SETTING);
            EXPECT_EQ(m_setting.m_listSeries.GetCurSel(), LB_ERR);
            EXPECT_EQ(m_setting.m_listSeries.GetCount(), 1);  // initialised once
            EXPECT_TRUE(IsControlEnabled(F(), ID_WIZNEXT));
            Click(F(), ID_WIZNEXT);
            EXPECT_EQ(ShownID(), IDD_COPY);
            KillTimer(m_copy.GetSafeHwnd(), 1);  // this test ends before the installation
            Close();
        },
    });
    EXPECT_EQ(m_app.m_nRuns, 0);
}

// Walks to the installing page; the installation starts half a second after it is shown.
TEST_F(Pages, TheInstallingPageRunsTheInstallationOncePerShowing) {
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { SelectSeries(); Click(F(), ID_WIZNEXT); },
        [&] {
            EXPECT_EQ(ShownID(), IDD_COPY);
            EXPECT_EQ(m_app.m_nRuns, 0);  // not yet: the page paints first
            // A second show event before the timer fires re-arms the same timer.
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_HIDE);
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_SHOW);
        },
        [&] { CScriptedSteps::HoldUntil([&] { return g_bInstallDone; }); },
        [&] {
            EXPECT_EQ(m_app.m_nRuns, 1);
            EXPECT_EQ(m_app.m_nProgressDuring, 50);
            EXPECT_TRUE(m_app.m_bWaitCursorDuring);
            EXPECT_EQ(m_copy.m_Progress.GetPos(), 100);
            EXPECT_TRUE(g_bInstallDone);
            EXPECT_NE(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
            // Hidden and shown again without Back: no second run.
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_HIDE);
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_SHOW);
        },
        [] { ::Sleep(700); },
        [&] {
            EXPECT_EQ(m_app.m_nRuns, 1);
            EXPECT_EQ(ShownID(), IDD_COPY);
            EXPECT_EQ(std::string(IsControlEnabled(F(), ID_WIZBACK) ? "B" : "-") +
                          (IsControlEnabled(F(), ID_WIZFINISH) ? "F" : "-"),
                      "BF");
            // After a run that gave up, Back and Next run the whole installation again.
            Click(F(), ID_WIZBACK);
            EXPECT_FALSE(g_bInstallDone);
            Click(F(), ID_WIZNEXT);
            CScriptedSteps::HoldUntil([&] { return g_bInstallDone; });
        },
        [&] {
            EXPECT_EQ(m_app.m_nRuns, 2);
            Click(F(), ID_WIZFINISH);
        },
    });
}

TEST_F(Pages, AnInstallationThatAsksToQuitEndsTheWizardOnItsPage) {
    m_app.m_bQuit = true;
    const INT_PTR nResult = Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { SelectSeries(); Click(F(), ID_WIZNEXT); },
    });
    EXPECT_EQ(m_app.m_nRuns, 1);
    EXPECT_NE(nResult, ID_WIZFINISH);
    EXPECT_NE(nResult, IDCANCEL);
    EXPECT_TRUE(g_bInstallDone);
    EXPECT_FALSE(m_copy.m_bCreated);  // the frame window and its pages are gone
}

// The header box reaches past the frame's borders and caption, so only its bottom line shows;
// the icon sits 5 pixels from the frame's outer right edge, 18 below the band's top.
TEST_F(Pages, TheHeaderBandSpansTheFrameWithTheIconAtItsRightEnd) {
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            RECT outer = {};
            ::GetWindowRect(F(), &outer);
            ::MapWindowPoints(nullptr, F(), reinterpret_cast<POINT*>(&outer), 2);
            ASSERT_LT(outer.left, 0);
            ASSERT_LT(outer.top, 0);
            CControl header, icon;
            header.Attach(m_language.GetDlgItem(IDC_HEADER_BOX));
            icon.Attach(m_language.GetDlgItem(IDC_HEADER_ICON));
            const RECT box = header.GetRectInParent(), picture = icon.GetRectInParent();
            EXPECT_EQ(box.left, outer.left);
            EXPECT_EQ(box.top, outer.top);
            EXPECT_EQ(box.right, outer.right);
            EXPECT_GT(box.bottom, 0);
            EXPECT_EQ(picture.right, outer.right - 5);
            EXPECT_EQ(picture.top, 18);
            EXPECT_GE(picture.right - picture.left, 53);  // the bitmap's own size
            Close();
        },
    });
}

// Back or Cancel before the start timer fires: the installation never starts.
TEST_F(Pages, LeavingTheInstallingPageBeforeItsTimerStartsNothing) {
    const INT_PTR nResult = Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { SelectSeries(); Click(F(), ID_WIZNEXT); },
        [&] {
            ASSERT_EQ(ShownID(), IDD_COPY);
            Click(F(), ID_WIZBACK);
            ::Sleep(700);  // the timer would be due now
        },
        [] {},  // what is due is handled before the next step
        [&] {
            EXPECT_EQ(m_app.m_nRuns, 0);
            EXPECT_EQ(ShownID(), IDD_SETTING);
            Click(F(), ID_WIZNEXT);
            ASSERT_EQ(ShownID(), IDD_COPY);
            Click(F(), IDC_CANCEL_BUTTON);
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(m_app.m_nRuns, 0);
    EXPECT_FALSE(g_bInstallDone);
}

// While the installation waits it handles messages (these steps run inside it), yet nothing a
// user does reaches the wizard's pages: no button, close box or close command, no second run.
TEST_F(Pages, WhileTheInstallationWaitsTheWizardAnswersButRefusesEveryAction) {
    m_app.m_bWaitForRelease = true;
    auto Buttons = [&] {
        std::string strState;
        for (int nID : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDC_CANCEL_BUTTON})
            strState += IsControlEnabled(F(), nID) ? '+' : '-';
        return strState;
    };
    auto IsCloseBoxEnabled = [&] {
        return !(::GetMenuState(::GetSystemMenu(F(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    };
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { Click(F(), ID_WIZNEXT); },
        [&] { SelectSeries(); Click(F(), ID_WIZNEXT); },
        [&] { CScriptedSteps::HoldUntil([&] { return m_app.m_bWaiting; }); },
        [&] {
            EXPECT_EQ(Buttons(), "----");
            EXPECT_FALSE(IsCloseBoxEnabled());
            EXPECT_EQ(m_copy.m_Progress.GetPos(), 50);
            for (int nID : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDC_CANCEL_BUTTON, IDCANCEL})
                ::SendMessageA(F(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
            ::SendMessageA(F(), WM_CLOSE, 0, 0);
            ::SendMessageA(F(), WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_EQ(ShownID(), IDD_COPY);
            EXPECT_TRUE(::IsWindowVisible(F()));
            ::SendMessageA(F(), WM_SETCURSOR, reinterpret_cast<WPARAM>(m_copy.GetSafeHwnd()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
            // A showing meanwhile arms the start timer again: it must not start a second run.
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_HIDE);
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_SHOW);
            ::Sleep(700);
        },
        [] {},
        [&] {
            EXPECT_EQ(m_app.m_nRuns, 1);
            EXPECT_TRUE(m_app.m_bWaiting);
            ::SetEvent(m_app.m_hRelease.GetUnsafe());
            CScriptedSteps::HoldUntil([&] { return g_bInstallDone; });
        },
        [&] {
            // Ended without the quit request, as when the registration gave up.
            EXPECT_EQ(m_copy.m_Progress.GetPos(), 100);
            EXPECT_EQ(Buttons(), "+-++");
            EXPECT_TRUE(IsCloseBoxEnabled());
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(F(), ID_WIZFINISH));
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_HIDE);
            ::ShowWindow(m_copy.GetSafeHwnd(), SW_SHOW);
            ::Sleep(700);
        },
        [] {},
        [&] {
            EXPECT_EQ(m_app.m_nRuns, 1);
            Click(F(), ID_WIZFINISH);
        },
    });
}
