// A modal dialog that shows a sequence of pages one at a time at the top-left corner of a
// placeholder control and moves between them with Back, Next, Finish and Cancel. It creates
// each page's window on first use and destroys them all with its own window; the page
// objects belong to whoever appended them.
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

    void EnableBack(bool bEnable) const;
    void EnableNext(bool bEnable) const;
    void EnableFinish(bool bEnable) const;

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
    // Cancels the wizard when every created page agrees.
    void OnCancel() override;
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

    std::vector<CNewWizPage*> m_PageList;
    int m_nPlaceholderID = 0;
};
