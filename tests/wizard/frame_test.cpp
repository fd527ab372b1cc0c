// The wizard frame with pages of our own that record what the frame asks them and answer as
// each test wants: page creation, the button states, moving, finishing and cancelling.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "scripted_steps.h"
#include "wizard/NewWizDialog.h"
#include "wizard/NewWizPage.h"

namespace {

class CProbePage : public CNewWizPage {
public:
    CProbePage(std::vector<std::string>& log, std::string strName)
        : CNewWizPage(IDD_WELCOME), m_log(log), m_strName(std::move(strName)) {}

    bool OnCreatePage() override { return Record("create", m_bCreate); }
    void OnDestroyPage() override { Record("destroy", true); }
    bool OnKillActive() override { return Record("kill", m_bKillActive); }
    void OnSetActive() override { Record("set", true); }
    bool OnQueryCancel() override { return Record("query-cancel", m_bQueryCancel); }
    int OnWizardBack() override { return Record("back", true), m_nBack; }
    int OnWizardNext() override { return Record("next", true), m_nNext; }
    bool OnWizardFinish() override { return Record("finish", m_bFinish); }

    bool m_bCreate = true, m_bKillActive = true, m_bQueryCancel = true, m_bFinish = true;
    int m_nBack = 0, m_nNext = 0;

private:
    bool Record(const char* pszCall, bool bAnswer) {
        m_log.push_back(m_strName + ":" + pszCall);
        return bAnswer;
    }
    std::vector<std::string>& m_log;
    std::string m_strName;
};

class Frame : public ::testing::Test {
protected:
    // The pages are drawn from the installer's page templates, in wizard order.
    explicit Frame(int nPages = 4) {
        constexpr int kTemplates[] = {IDD_WELCOME, IDD_LANGUAGE, IDD_SETTING, IDD_COPY};
        for (int i = 0; i < nPages; ++i) {
            m_pages.push_back(std::make_unique<CProbePage>(m_log, "p" + std::to_string(i + 1)));
            m_frame.AddPage(m_pages.back().get(), kTemplates[i]);
        }
        m_frame.SetPlaceholderID(IDC_PAGE_PLACEHOLDER);
    }

    // Runs the frame modally under the script; the run's result.
    INT_PTR Run(std::vector<CScriptedSteps::Step> steps) { return RunScripted(m_frame, std::move(steps)); }

    HWND F() const { return m_frame.GetSafeHwnd(); }
    CProbePage& Page(int nNumber) { return *m_pages[static_cast<size_t>(nNumber - 1)]; }
    // "BNF" with a dash for each disabled button: Back, Next, Finish.
    std::string Buttons() const {
        std::string strState;
        strState += IsControlEnabled(F(), ID_WIZBACK) ? 'B' : '-';
        strState += IsControlEnabled(F(), ID_WIZNEXT) ? 'N' : '-';
        strState += IsControlEnabled(F(), ID_WIZFINISH) ? 'F' : '-';
        return strState;
    }
    CNewWizPage* Shown() const { return m_frame.GetActivePage(); }
    std::vector<std::string> TakeLog() { return std::exchange(m_log, {}); }

    std::vector<std::string> m_log;
    std::vector<std::unique_ptr<CProbePage>> m_pages;
    CNewWizDialog m_frame{IDD_SETUP_DIALOG};
};

class OnePageFrame : public Frame {
protected:
    OnePageFrame() : Frame(1) {}
};

}  // namespace

TEST_F(OnePageFrame, ShowsItsOnlyPageWithFinishAsTheOnlyWayOn) {
    const INT_PTR nResult = Run({
        [&] {
            EXPECT_EQ(Buttons(), "--F");
            EXPECT_EQ(::GetFocus(), ::GetDlgItem(F(), ID_WIZFINISH));
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_TRUE(::IsWindowVisible(Page(1).GetSafeHwnd()));
            EXPECT_TRUE(::IsWindowEnabled(Page(1).GetSafeHwnd()));
            // Shown at the placeholder's corner, in its template's own size.
            RECT page = {};
            ::GetWindowRect(Page(1).GetSafeHwnd(), &page);
            ::MapWindowPoints(nullptr, F(), reinterpret_cast<POINT*>(&page), 2);
            EXPECT_EQ(page.left, 0);
            EXPECT_EQ(page.top, 0);
            RECT client = {};
            ::GetClientRect(F(), &client);
            EXPECT_GT(page.right, client.right);  // wider than the frame: clipped
            Click(F(), ID_WIZFINISH);
        },
    });
    EXPECT_EQ(nResult, ID_WIZFINISH);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"p1:create", "p1:set", "p1:kill", "p1:finish", "p1:kill",
                                                    "p1:destroy"}));
    EXPECT_FALSE(Page(1).m_bCreated);
}

TEST_F(Frame, ButtonStatesFollowThePositionInTheSequence) {
    Run({
        [&] { EXPECT_EQ(Buttons(), "-N-"); Click(F(), ID_WIZNEXT); },
        [&] { EXPECT_EQ(Shown(), &Page(2)); EXPECT_EQ(Buttons(), "BN-"); Click(F(), ID_WIZNEXT); },
        [&] { EXPECT_EQ(Buttons(), "BN-"); Click(F(), ID_WIZNEXT); },
        [&] { EXPECT_EQ(Shown(), &Page(4)); EXPECT_EQ(Buttons(), "B-F"); Click(F(), ID_WIZBACK); },
        [&] { EXPECT_EQ(Shown(), &Page(3)); EXPECT_EQ(Buttons(), "BNF"); Click(F(), ID_WIZBACK); },
        [&] { EXPECT_EQ(Buttons(), "BNF"); Click(F(), ID_WIZBACK); },
        [&] {
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_EQ(Buttons(), "-N-");
            // The pages met on the way are kept, hidden.
            for (int i = 2; i <= 4; ++i) {
                EXPECT_TRUE(Page(i).m_bCreated);
                EXPECT_FALSE(Page(i).m_bActive);
                EXPECT_FALSE(::IsWindowVisible(Page(i).GetSafeHwnd()));
            }
            ::PostMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
}

TEST_F(Frame, APageAnswerCanHoldTheWizardOrJumpToAnyPage) {
    Page(1).m_nNext = -1;
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_EQ(Buttons(), "-N-");
            EXPECT_FALSE(Page(2).m_bCreated);
            Page(1).m_nNext = IDD_COPY;  // the last page's id
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            EXPECT_EQ(Shown(), &Page(4));
            EXPECT_EQ(Buttons(), "B-F");
            EXPECT_FALSE(Page(2).m_bCreated);
            Page(4).m_nBack = 999;  // no such page: nothing happens
            Click(F(), ID_WIZBACK);
        },
        [&] {
            EXPECT_EQ(Shown(), &Page(4));
            EXPECT_EQ(Buttons(), "B-F");
            ::PostMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
}

TEST_F(Frame, NextOnTheLastPageAndBackOnTheFirstDoNothing) {
    Run({
        [&] {
            m_frame.EnableBack(true);
            Click(F(), ID_WIZBACK);
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_EQ(Buttons(), "BN-");
            Page(1).m_nNext = IDD_COPY;
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            m_frame.EnableNext(true);
            TakeLog();
            Click(F(), ID_WIZNEXT);
            EXPECT_EQ(Shown(), &Page(4));
            EXPECT_EQ(Buttons(), "BNF");
            EXPECT_EQ(TakeLog(), std::vector<std::string>{"p4:next"});
            ::PostMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
}

TEST_F(Frame, ARefusedOrFailedActivationLeavesEverythingAsItWas) {
    Page(2).m_bCreate = false;
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_EQ(Buttons(), "-N-");
            EXPECT_TRUE(Page(2).m_bCreated);  // created, hidden and kept
            EXPECT_FALSE(::IsWindowVisible(Page(2).GetSafeHwnd()));
            Page(2).m_bCreate = true;
            Page(1).m_bKillActive = false;
            Page(1).m_nNext = IDD_COPY;
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_TRUE(Page(4).m_bCreated);
            EXPECT_FALSE(::IsWindowVisible(Page(4).GetSafeHwnd()));
            EXPECT_EQ(Buttons(), "-N-");
            Page(1).m_bKillActive = true;
            ::PostMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
}

TEST_F(Frame, CancelAsksEveryCreatedPageAndAnyOneCanRefuse) {
    const INT_PTR nResult = Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            Page(1).m_bQueryCancel = false;
            ::SetFocus(::GetDlgItem(F(), ID_WIZNEXT));
            TakeLog();
            ::SendMessageA(F(), WM_COMMAND, IDCANCEL, 0);  // Escape on a frame button
            EXPECT_EQ(TakeLog(), std::vector<std::string>{"p1:query-cancel"});
            EXPECT_EQ(Shown(), &Page(2));
            Page(1).m_bQueryCancel = true;
            ::SendMessageA(F(), WM_CLOSE, 0, 0);  // the close box
            EXPECT_EQ(TakeLog(), (std::vector<std::string>{"p1:query-cancel", "p2:query-cancel"}));
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_FALSE(Page(3).m_bCreated);
}

TEST_F(Frame, FinishAsksTheShownPageFirstThenEveryCreatedPageInOrder) {
    Page(1).m_nNext = IDD_COPY;
    const INT_PTR nResult = Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            Page(1).m_bFinish = false;
            TakeLog();
            Click(F(), ID_WIZFINISH);
            EXPECT_EQ(TakeLog(), (std::vector<std::string>{"p4:kill", "p1:finish"}));
            EXPECT_EQ(Shown(), &Page(4));
            Page(1).m_bFinish = true;
            Page(4).m_bKillActive = false;
            Click(F(), ID_WIZFINISH);
            EXPECT_EQ(TakeLog(), std::vector<std::string>{"p4:kill"});
            Page(4).m_bKillActive = true;
            Click(F(), ID_WIZFINISH);
            EXPECT_EQ(TakeLog(), (std::vector<std::string>{"p4:kill", "p1:finish", "p4:finish"}));
        },
    });
    EXPECT_EQ(nResult, ID_WIZFINISH);
}

TEST_F(Frame, CancelOnTheFirstPageNeverCreatesTheOthers) {
    const INT_PTR nResult = Run({[&] { ::PostMessageA(F(), WM_CLOSE, 0, 0); }});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"p1:create", "p1:set", "p1:query-cancel", "p1:kill",
                                                    "p1:destroy"}));
    for (int i = 2; i <= 4; ++i) EXPECT_FALSE(Page(i).m_bCreated);
}

TEST_F(Frame, EveryBackClearsTheInstallDoneFlagButNextDoesNot) {
    Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            g_bInstallDone = true;
            Click(F(), ID_WIZNEXT);
            EXPECT_TRUE(g_bInstallDone);
            Click(F(), ID_WIZBACK);
            EXPECT_FALSE(g_bInstallDone);
            g_bInstallDone = true;
            Page(2).m_nBack = -1;
            Click(F(), ID_WIZBACK);  // refused: the flag stays
            EXPECT_TRUE(g_bInstallDone);
            g_bInstallDone = false;
            ::PostMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
}

// Enter and Escape typed inside a page belong to the page, which ignores both; Escape on a
// frame button cancels.
TEST_F(Frame, EnterAndEscapeInsideAPageLeaveTheWizardOpen) {
    const INT_PTR nResult = Run({
        [&] {
            HWND hInside = ::GetWindow(Page(1).GetSafeHwnd(), GW_CHILD);
            ::SetFocus(hInside);
            ASSERT_TRUE(::IsChild(Page(1).GetSafeHwnd(), ::GetFocus()));
            for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                ::PostMessageA(::GetFocus(), WM_KEYDOWN, key, 0);
                ::PostMessageA(::GetFocus(), WM_KEYUP, key, 0xC0000000);
            }
        },
        [&] {
            EXPECT_EQ(Shown(), &Page(1));
            EXPECT_TRUE(::IsWindowVisible(Page(1).GetSafeHwnd()));
            EXPECT_TRUE(::IsWindowVisible(F()));
            ::SendMessageA(F(), WM_COMMAND, IDOK, 0);  // Enter with the focus nowhere in particular
            EXPECT_TRUE(::IsWindowVisible(F()));
            ::SetFocus(::GetDlgItem(F(), ID_WIZNEXT));
            ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);
}

// The keyboard focus is never left on no window or a disabled one: after each page change it
// is on Next, else on the page's first tab stop, else Finish, else the frame's first enabled
// tab stop; disabling the button that has it moves it the same way.
TEST_F(Frame, TheFocusStaysOnAnEnabledControlThroughChangesAndDisabledButtons) {
    auto Focus = [&](int nID) { return ::GetDlgItem(F(), nID); };
    Run({
        [&] {
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZNEXT));
            Click(F(), ID_WIZNEXT);  // a click gives the button the focus before the page changes
        },
        [&] {
            ASSERT_EQ(Shown(), &Page(2));
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZNEXT));
            m_frame.EnableNext(false);
            EXPECT_EQ(::GetFocus(), Page(2).GetDlgItem(IDC_LANGUAGE_CHINESE));  // its first tab stop
            m_frame.EnableNext(true);
            ::SetFocus(Focus(ID_WIZBACK));
            m_frame.EnableBack(false);
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZNEXT));
            m_frame.EnableBack(true);
            Page(2).m_nNext = IDD_COPY;  // a page without a tab stop, where Next is off
            Click(F(), ID_WIZNEXT);
        },
        [&] {
            ASSERT_EQ(Shown(), &Page(4));
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZFINISH));
            m_frame.EnableFinish(false);
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZBACK));  // the frame's first enabled tab stop
            m_frame.EnableFinish(true);
            Click(F(), ID_WIZBACK);
        },
        [&] {
            ASSERT_EQ(Shown(), &Page(3));
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZNEXT));
            // Disabling a button without the focus leaves the focus where it is.
            m_frame.EnableFinish(false);
            EXPECT_EQ(::GetFocus(), Focus(ID_WIZNEXT));
            ::PostMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
}

// While busy, every button of the frame and its close box are off, and no command, close
// request or system command does anything; afterwards the buttons are as they were, with the
// changes asked for meanwhile.
TEST_F(Frame, WhileBusyTheFrameRefusesEveryButtonAndTheCloseBox) {
    const int kButtons[] = {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDC_CANCEL_BUTTON};
    auto IsCloseBoxEnabled = [&] {
        return !(::GetMenuState(::GetSystemMenu(F(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
    };
    const INT_PTR nResult = Run({
        [&] { Click(F(), ID_WIZNEXT); },
        [&] {
            ASSERT_EQ(Buttons(), "BN-");
            TakeLog();
            {
                CNewWizDialog::CBusy busy(m_frame);
                EXPECT_TRUE(m_frame.IsBusy());
                for (int nID : kButtons) EXPECT_FALSE(IsControlEnabled(F(), nID)) << nID;
                EXPECT_FALSE(IsCloseBoxEnabled());
                EXPECT_EQ(::GetFocus(), Page(2).GetDlgItem(IDC_LANGUAGE_CHINESE));  // not left on a disabled button

                for (int nID : {ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDCANCEL})
                    ::SendMessageA(F(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
                ::SendMessageA(F(), WM_CLOSE, 0, 0);
                ::SendMessageA(F(), WM_SYSCOMMAND, SC_CLOSE, 0);
                EXPECT_EQ(TakeLog(), std::vector<std::string>());
                EXPECT_EQ(Shown(), &Page(2));
                EXPECT_TRUE(::IsWindowVisible(F()));

                ::SendMessageA(F(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Page(2).GetSafeHwnd()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));

                m_frame.EnableFinish(true);  // kept for the end of the busy time
                EXPECT_FALSE(IsControlEnabled(F(), ID_WIZFINISH));
            }
            EXPECT_FALSE(m_frame.IsBusy());
            EXPECT_EQ(Buttons(), "BNF");
            EXPECT_TRUE(IsControlEnabled(F(), IDC_CANCEL_BUTTON));
            EXPECT_TRUE(IsCloseBoxEnabled());
            ::SendMessageA(F(), WM_SETCURSOR, reinterpret_cast<WPARAM>(F()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_NE(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
            Click(F(), ID_WIZBACK);
            EXPECT_EQ(Shown(), &Page(1));
            ::SendMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);  // the close request after the busy time ended the run
}

// While busy only closing is refused: Alt+F4 does nothing, and the frame can be minimised,
// restored and moved (the move command enters the system's move loop for the frame).
TEST_F(Frame, WhileBusyTheFrameCanBeMovedMinimisedAndRestoredButNotClosed) {
    std::unique_ptr<CNewWizDialog::CBusy> pBusy;
    const INT_PTR nResult = Run({
        [&] {
            pBusy = std::make_unique<CNewWizDialog::CBusy>(m_frame);
            // Alt+F4 posts the close command, which the frame's own loop then handles.
            ::SendMessageA(F(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
        },
        [&] {
            EXPECT_TRUE(::IsWindowVisible(F()));
            ::SendMessageA(F(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            EXPECT_TRUE(::IsIconic(F()));
            ::SendMessageA(F(), WM_SYSCOMMAND, SC_RESTORE, 0);
            EXPECT_FALSE(::IsIconic(F()));
            ::SendMessageA(F(), WM_SYSCOMMAND, SC_MOVE, 0);  // returns when the next step ends the move
        },
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &info));
            EXPECT_TRUE(info.flags & GUI_INMOVESIZE);
            EXPECT_EQ(info.hwndMoveSize, F());
            ::PostMessageA(F(), WM_KEYDOWN, VK_ESCAPE, 0);  // ends the move
        },
        [&] {
            EXPECT_TRUE(m_frame.IsBusy());
            pBusy.reset();
            ::SendMessageA(F(), WM_CLOSE, 0, 0);
        },
    });
    EXPECT_EQ(nResult, IDCANCEL);  // only the close request after the busy time ended the run
}
