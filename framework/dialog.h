// A dialog drawn from a template of the program's resources, modal or as a modeless child,
// whose one window procedure hands the messages the program handles to virtual members.
//
// Every handler has a neutral default: a handler that answers false (or a null handle) leaves
// the message to the system's default dialog handling.
#pragma once

#include <windows.h>

class CDataExchange;

class CDialog {
public:
    explicit CDialog(UINT nIDTemplate);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally, owned by hParent. The result given to EndDialog, or -1 when the
    // window could not be created.
    INT_PTR DoModal(HWND hParent = nullptr);
    // Creates the dialog of template nIDTemplate as a modeless child of hParent. False when
    // the window could not be created.
    bool Create(UINT nIDTemplate, HWND hParent);
    void DestroyWindow();

    // The object of one of our dialog windows; null for any other window.
    static CDialog* FromHandle(HWND hWnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    UINT GetTemplateID() const { return m_nIDTemplate; }
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

    // Moves data between the controls and the fields bound in DoDataExchange: to the fields
    // when bSaveAndValidate is true, to the controls otherwise.
    void UpdateData(bool bSaveAndValidate);

    // Ends a modal run with nResult; hides a modeless dialog.
    void EndDialog(INT_PTR nResult);

    bool SetTimer(UINT_PTR nIDEvent, UINT nElapseMs) { return ::SetTimer(m_hWnd, nIDEvent, nElapseMs, nullptr) != 0; }
    void KillTimer(UINT_PTR nIDEvent) { ::KillTimer(m_hWnd, nIDEvent); }

protected:
    // Answer true to let the system put the focus on the first tab stop. No data moves here:
    // each dialog calls UpdateData when its controls should show or give up their values.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void DoDataExchange(CDataExchange&) {}

    // Commands by control id; answer true when handled. Unhandled IDOK and IDCANCEL go to
    // OnOK and OnCancel.
    virtual bool OnCommand(int /*nID*/, int /*nNotifyCode*/, HWND /*hControl*/) { return false; }
    // The defaults end the dialog with IDOK (after reading the controls) and IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    virtual void OnTimer(UINT_PTR /*nIDEvent*/) {}
    virtual void OnShowWindow(bool /*bShow*/, UINT /*nStatus*/) {}
    // nCtlColor is one of CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC. The default is the system's
    // answer (DefaultCtlColor); null leaves the message to the system.
    virtual HBRUSH OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor);
    // True: the background counts as erased.
    virtual bool OnEraseBkgnd(HDC) { return false; }
    // True: the command was handled and the system's handling is skipped.
    virtual bool OnSysCommand(UINT /*nID*/, LPARAM) { return false; }
    // True: the window was painted.
    virtual bool OnPaint() { return false; }
    virtual HCURSOR OnQueryDragIcon() { return nullptr; }
    // True: the cursor was set for the window under it (hWnd, one of this dialog's or its
    // children's), and the children's own answers are skipped.
    virtual bool OnSetCursor(HWND /*hWnd*/, UINT /*nHitTest*/, UINT /*nMouseMessage*/) { return false; }
    virtual void OnDestroy() {}

    // The system's own colours for a control-colour request.
    HBRUSH DefaultCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) const;

    HWND m_hWnd = nullptr;
    const UINT m_nIDTemplate;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMessage, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT uMessage, WPARAM wParam, LPARAM lParam);
    INT_PTR AnswerWith(LRESULT lResult);
};
