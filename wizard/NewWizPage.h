// The base of every wizard page: a modeless child dialog that the wizard frame creates on
// first use, shows, hides and destroys. It carries the frame's per-page state, the callbacks
// through which the frame asks the page (all with neutral defaults), the pages' white colour
// scheme and the layout of the header band.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"

class CNewWizDialog;

class CNewWizPage : public CDialog {
public:
    explicit CNewWizPage(UINT nIDTemplate);

    // Answer false to make the activation fail.
    virtual bool OnCreatePage() { return true; }
    virtual void OnDestroyPage() {}
    // Answer false to refuse leaving the page.
    virtual bool OnKillActive() { return true; }
    virtual void OnSetActive() {}
    // Answer false to keep the wizard open.
    virtual bool OnQueryCancel() { return true; }
    // 0: the previous (following) page; -1: stay; otherwise the dialog id of the target.
    virtual int OnWizardBack() { return 0; }
    virtual int OnWizardNext() { return 0; }
    // Answer false to refuse the finish.
    virtual bool OnWizardFinish() { return true; }

    // Kept by the frame.
    CNewWizDialog* m_pParent = nullptr;
    bool m_bCreated = false;
    bool m_bActive = false;
    int m_nDialogID;

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) override;
    // Pages draw their white background in their colour answer, not here.
    bool OnEraseBkgnd(HDC) override { return true; }
    // Only the frame's cancel ends the wizard; Escape or Enter inside a page do nothing (a
    // modeless page that ended itself would be hidden while the frame still shows it).
    void OnCancel() override {}
    void OnOK() override {}

    // Stretches the header box (control 1040) across the application's main window, its
    // borders and caption included, so that only its bottom line shows, and puts the header
    // icon (control 1065) at the band's right end. For pages with a header band only.
    void LayoutHeader() const;

    // The frame this page's window lives in, found through the parent window (m_pParent is
    // set only once the page's initialisation has run).
    CNewWizDialog* GetFrame() const;

    CBrush m_Brush;
};
