// A modal dialog that shows a sequence of pages one at a time at the top-left corner of a
// placeholder control and moves between them with Back, Next, Finish and Cancel. It creates
// each page's window on first use and destroys them all with its own window; the page
// objects belong to whoever appended them.
//
// The keyboard focus is always on an enabled control a user can reach: after every page
// change, and whenever the button that has it is disabled, it moves to Next when Next is
// enabled, otherwise to the shown page's first tab stop, then Finish, then the frame's first
// enabled tab stop (the frame itself when nothing is enabled).
#pragma once

#include <windows.h>

#include <vector>

#include "framework/dialog.h"

class CNewWizPage;

// Set by the installing page once the installation has returned; cleared by every successful
// Back, so that showing that page again starts the installation again.
extern bool g_bInstallDone;

class CNewWizDialog : public CDialog {
public:
    explicit CNewWizDialog(UINT nIDTemplate);

    // Appends the page and gives it its dialog id. Before the modal run.
    void AddPage(CNewWizPage* pPage, int nDialogID);
    // The control whose top-left corner is where pages are shown; set before initialisation.
    void SetPlaceholderID(int nPlaceholderID) { m_nPlaceholderID = nPlaceholderID; }

    // While the frame is busy the button only takes the state it gets once the work is over.
    void EnableBack(bool bEnable);
    void EnableNext(bool bEnable);
    void EnableFinish(bool bEnable);

    // While an object lives the frame is busy with the shown page's work (the installation):
    // the frame's own controls (Back, Next, Finish, Cancel) and its close box are disabled,
    // their commands, the close request and the close command are refused, and the mouse
    // shows the wait cursor over the frame; the frame can still be moved, minimised and
    // restored. Afterwards the controls get back their states
    // (with any change asked for meanwhile) and the focus an enabled control. Not nested.
    class CBusy {
    public:
        explicit CBusy(CNewWizDialog& frame);
        ~CBusy();
        CBusy(const CBusy&) = delete;
        CBusy& operator=(const CBusy&) = delete;

    private:
        CNewWizDialog& m_frame;
    };
    bool IsBusy() const { return m_bBusy; }

    CNewWizPage* GetActivePage() const;
    CNewWizPage* GetFirstPage() const;
    CNewWizPage* GetLastPage() const;
    CNewWizPage* GetPageByID(int nDialogID) const;

    // Creates the page's window when needed, asks the shown page to leave, and shows this
    // one at the placeholder. False, with the shown page still shown, when any step fails.
    bool ActivatePage(CNewWizPage* pPage);
    // Asks the shown page to leave and hides it. True when there was none.
    bool DeactivatePage();
    // Destroys the page's window, if the page agrees to leave.
    bool DestroyPage(CNewWizPage* pPage);
    // The buttons of the first page, and the first page shown.
    bool InitPages();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int nID, int nNotifyCode, HWND hControl) override;
    // Cancels the wizard when every created page agrees and the frame is not busy.
    void OnCancel() override;
    // While busy, the close command (the close box, Alt+F4, the system menu's entry) is
    // refused: ending the wizard would leave the installation half done. Every other system
    // command is the default one's; those that run a loop of their own (moving, the system
    // menu) nest inside the installation's wait, which still ends on time.
    bool OnSysCommand(UINT nID, LPARAM lParam) override;
    bool OnSetCursor(HWND hWnd, UINT nHitTest, UINT nMouseMessage) override;
    // The frame has no OK button: Enter never ends the wizard past its pages.
    void OnOK() override {}
    void OnDestroy() override;

private:
    void OnBack();
    void OnNext();
    void OnFinish();
    // The page after (nStep 1) or before (nStep -1) pPage, or null.
    CNewWizPage* Neighbour(const CNewWizPage* pPage, int nStep) const;
    // The target a page's Back or Next answer names, or null for none.
    CNewWizPage* Target(const CNewWizPage* pPage, int nAnswer, int nStep) const;

    void EnableButton(int nID, bool bEnable);
    void BeginBusy();
    void EndBusy();
    // Moves the keyboard focus to the control the class comment names.
    void FocusEnabledControl();
    HWND FocusTarget() const;
    bool IsPageWindow(HWND hWnd) const;

    std::vector<CNewWizPage*> m_PageList;
    int m_nPlaceholderID = 0;

    // The frame's own controls and the states they get back when the busy time is over.
    struct SavedState {
        HWND hControl;
        bool bEnabled;
    };
    std::vector<SavedState> m_busyStates;
    bool m_bBusy = false;
    bool m_bFocusMoved = false;  // the busy time took the focus from a control it disabled
};
