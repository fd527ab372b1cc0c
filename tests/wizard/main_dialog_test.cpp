// The main dialog and the wizard assembly: page order, captions in both languages, the
// system menu's about entry and box, the close box and Cancel button, the quit request.
#include "wizard_fixture.h"

namespace {

using MainDialog = WizardTest;

// The last two entries of the window's system menu: "separator" or "<id>:<text>".
std::vector<std::string> LastSystemMenuEntries(HWND hWnd) {
    HMENU hMenu = ::GetSystemMenu(hWnd, FALSE);
    const int nCount = ::GetMenuItemCount(hMenu);
    std::vector<std::string> entries;
    for (int i = nCount - 2; i >= 0 && i < nCount; ++i) {
        char szText[256] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        item.dwTypeData = szText;
        item.cch = sizeof szText;
        ::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &item);
        entries.push_back((item.fType & MFT_SEPARATOR) ? "separator" : std::to_string(item.wID) + ":" + szText);
    }
    return entries;
}

std::string ButtonCaptions(HWND hFrame) {
    return ControlText(hFrame, ID_WIZBACK) + "|" + ControlText(hFrame, ID_WIZNEXT) + "|" +
           ControlText(hFrame, ID_WIZFINISH) + "|" + ControlText(hFrame, IDC_CANCEL_BUTTON);
}

}  // namespace

TEST_F(MainDialog, WithTheEnglishFileTheButtonsAreEnglishAndTheCaptionEmpty) {
    UseLanguageFile(147);
    Run({
        [&] {
            EXPECT_EQ(ButtonCaptions(F()), "&Back|&Next|Finish|Cancel");
            EXPECT_EQ(WindowText(F()), "");
            EXPECT_EQ(ControlText(m_welcome.GetSafeHwnd(), IDC_WELCOME_BUTTONS),
                      "Click Next to continue,or Cancel to exit Setup.");
            Close();
        },
    });
}

TEST_F(MainDialog, WithTheChineseFileOrNoneTheTemplateTextsStay) {
    // The Chinese file's GBK bytes read back unchanged only where GBK is the ANSI code page.
    for (bool bFile : {true, false}) {
        if (bFile && ::GetACP() != 936) continue;
        if (bFile) UseLanguageFile(146);
        else ::DeleteFileA(g_strLanguageFile.c_str());
        Run({
            [&] {
                EXPECT_EQ(ButtonCaptions(F()), Ansi("后退|下一步|完成|取消"));
                EXPECT_EQ(WindowText(F()), "");
                EXPECT_EQ(ControlText(m_welcome.GetSafeHwnd(), IDC_WELCOME_TITLE),
                          Ansi(bFile ? "欢迎使用打印机驱动安装程序向导" : "欢迎使用KIRSO系列打印机驱动安装程序向导"));
                Close();
            },
        });
    }
}

TEST_F(MainDialog, TheAboutBoxOpensFromTheSystemMenuOverTheCurrentPage) {
    HWND hAbout = nullptr;
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            EXPECT_EQ(LastSystemMenuEntries(F()),
                      (std::vector<std::string>{"separator", "16:" + Ansi("关于 安装向导(&A)...")}));
            // The box shows once its modal loop is idle: the next step waits for it.
            CScriptedSteps::HoldUntil([&] { return FindOwnedDialog(F()) != nullptr; });
            ::SendMessageA(F(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);  // returns when the box closes
            EXPECT_FALSE(::IsWindow(hAbout));
            EXPECT_EQ(ShownID(), IDD_LANGUAGE);
            EXPECT_TRUE(IsControlEnabled(F(), ID_WIZBACK));
            EXPECT_TRUE(IsControlEnabled(F(), ID_WIZNEXT));
            EXPECT_FALSE(IsControlEnabled(F(), ID_WIZFINISH));
        },
        [&] {
            hAbout = FindOwnedDialog(F());
            ASSERT_TRUE(hAbout);
            EXPECT_EQ(WindowText(hAbout), Ansi("关于 驱动安装向导"));
            EXPECT_EQ(ControlText(hAbout, IDC_ABOUT_VERSION), Ansi("驱动安装向导 1.0 版"));
            EXPECT_FALSE(::IsWindowEnabled(F()));  // modal over the wizard
            Click(hAbout, IDOK);
        },
        [&] { Close(); },
    });
}

TEST_F(MainDialog, TheCancelButtonAndTheCloseBoxBothCancelThroughThePages) {
    for (bool bButton : {true, false}) {
        const INT_PTR nResult = Run({
            [&] { Click(F(), ID_WIZNEXT); },
            [&] {
                if (bButton) Click(F(), IDC_CANCEL_BUTTON);
                else ::SendMessageA(F(), WM_SYSCOMMAND, SC_CLOSE, 0);
            },
        });
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_FALSE(m_welcome.m_bCreated);
        EXPECT_FALSE(m_language.m_bCreated);
    }
}

TEST_F(MainDialog, TheIconIsTheWindowsIconAndItsDragIcon) {
    Run({
        [&] {
            const HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(F(), WM_GETICON, ICON_BIG, 0));
            EXPECT_TRUE(hIcon);
            EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(F(), WM_GETICON, ICON_SMALL, 0)), hIcon);
            EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(F(), WM_QUERYDRAGICON, 0, 0)), hIcon);
            EXPECT_TRUE(::GetWindowLongA(F(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
            EXPECT_TRUE(::GetWindowLongA(F(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
            Close();
        },
    });
}

namespace {

// The visible pages of the frame, each named by the template its controls come from.
std::vector<int> VisiblePages(HWND hFrame) {
    constexpr std::pair<int, int> kMarkers[] = {{IDC_WELCOME_TITLE, IDD_WELCOME},
                                                {IDC_LANGUAGE_TITLE, IDD_LANGUAGE},
                                                {IDC_SERIES_LIST, IDD_SETTING},
                                                {IDC_COPY_PROGRESS, IDD_COPY}};
    std::vector<int> pages;
    for (HWND hChild = ::GetWindow(hFrame, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(hChild)) continue;
        for (const auto& [nMarker, nTemplate] : kMarkers)
            if (::GetDlgItem(hChild, nMarker)) pages.push_back(nTemplate);
    }
    return pages;
}

}  // namespace

// The assembly itself: the four pages in wizard order, and the main window pointer only
// while the wizard runs.
TEST(WizardAssembly, ShowsFourPagesInOrderAndEndsOnTheInstallationsQuitRequest) {
    CRecordingApp app;
    app.m_bQuit = true;
    const std::string strPrevious = std::exchange(g_strLanguageFile, "C:\\q73tests\\no such file.dll");
    std::vector<std::vector<int>> shown;
    auto Frame = [&] { return app.GetMainWindow(); };
    {
        CScriptedSteps script({
            [&] { shown.push_back(VisiblePages(Frame())); Click(Frame(), ID_WIZNEXT); },
            [&] { shown.push_back(VisiblePages(Frame())); Click(Frame(), ID_WIZNEXT); },
            [&] {
                shown.push_back(VisiblePages(Frame()));
                HWND hList = nullptr;
                for (HWND h = ::GetWindow(Frame(), GW_CHILD); h && !hList; h = ::GetWindow(h, GW_HWNDNEXT))
                    if (::IsWindowVisible(h)) hList = ::GetDlgItem(h, IDC_SERIES_LIST);
                ASSERT_TRUE(hList);
                ::SendMessageA(hList, LB_SETCURSEL, 0, 0);
                ::SendMessageA(::GetParent(hList), WM_COMMAND, MAKEWPARAM(IDC_SERIES_LIST, LBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(hList));
                Click(Frame(), ID_WIZNEXT);
            },
            [&] { shown.push_back(VisiblePages(Frame())); },
        });
        app.RunWizard();
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(shown, (std::vector<std::vector<int>>{{IDD_WELCOME}, {IDD_LANGUAGE}, {IDD_SETTING}, {IDD_COPY}}));
    EXPECT_EQ(app.m_nRuns, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    g_strLanguageFile = strPrevious;
    g_bInstallDone = false;
    g_wLanguage = 0;
}

TEST(WizardAssembly, CancelOnTheFirstPageEndsTheRunWithNothingElseCreated) {
    CRecordingApp app;
    g_wLanguage = 0;
    const std::string strPrevious = std::exchange(g_strLanguageFile, "C:\\q73tests\\no such file.dll");
    {
        CScriptedSteps script({[&] { Click(app.GetMainWindow(), IDC_CANCEL_BUTTON); }});
        app.RunWizard();
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(app.m_nRuns, 0);
    EXPECT_EQ(g_wLanguage, 0);  // the language page never initialised
    g_strLanguageFile = strPrevious;
}
