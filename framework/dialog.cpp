#include "framework/dialog.h"

#include "framework/application.h"
#include "framework/data_exchange.h"

CDialog::CDialog(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

CDialog::~CDialog() { DestroyWindow(); }

// The templates are drawn through the wide-character functions, so that their texts show as
// written on every system code page; the program's own texts still go in and out as ANSI.
INT_PTR CDialog::DoModal(HWND hParent) {
    return ::DialogBoxParamW(CApplication::GetResourceInstance(), MAKEINTRESOURCEW(m_nIDTemplate), hParent,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(UINT nIDTemplate, HWND hParent) {
    return ::CreateDialogParamW(CApplication::GetResourceInstance(), MAKEINTRESOURCEW(nIDTemplate), hParent,
                                &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

CDialog* CDialog::FromHandle(HWND hWnd) {
    if (!hWnd || ::GetWindowLongPtrW(hWnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&CDialog::DialogProc))
        return nullptr;
    return reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
}

void CDialog::DestroyWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);  // WM_NCDESTROY clears m_hWnd
}

void CDialog::UpdateData(bool bSaveAndValidate) {
    CDataExchange dx(*this, bSaveAndValidate);
    DoDataExchange(dx);
}

void CDialog::EndDialog(INT_PTR nResult) { ::EndDialog(m_hWnd, nResult); }

void CDialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

HBRUSH CDialog::OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) {
    return DefaultCtlColor(hDC, hControl, nCtlColor);
}

HBRUSH CDialog::DefaultCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) const {
    return reinterpret_cast<HBRUSH>(::DefWindowProcA(m_hWnd, WM_CTLCOLORMSGBOX + nCtlColor,
                                                     reinterpret_cast<WPARAM>(hDC),
                                                     reinterpret_cast<LPARAM>(hControl)));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT uMessage, WPARAM wParam, LPARAM lParam) {
    if (uMessage == WM_INITDIALOG) {
        // The object came as the creation parameter: bind it to its window for good.
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        reinterpret_cast<CDialog*>(lParam)->m_hWnd = hWnd;
    }
    auto* pDialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!pDialog) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT)
    const INT_PTR nResult = pDialog->Dispatch(uMessage, wParam, lParam);
    if (uMessage == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        pDialog->m_hWnd = nullptr;
    }
    return nResult;
}

INT_PTR CDialog::AnswerWith(LRESULT lResult) {
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

INT_PTR CDialog::Dispatch(UINT uMessage, WPARAM wParam, LPARAM lParam) {
    switch (uMessage) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const int nID = LOWORD(wParam), nCode = HIWORD(wParam);
        if (OnCommand(nID, nCode, reinterpret_cast<HWND>(lParam))) return TRUE;
        if (nCode != BN_CLICKED) return FALSE;
        if (nID == IDOK) OnOK();
        else if (nID == IDCANCEL) OnCancel();
        else return FALSE;
        return TRUE;
    }
    case WM_CLOSE:  // the close box is the cancel command, wherever the focus is
        OnCancel();
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return FALSE;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != 0, static_cast<UINT>(lParam));
        return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // Colour requests answer with the brush itself, not through DWLP_MSGRESULT.
        return reinterpret_cast<INT_PTR>(OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                                    uMessage - WM_CTLCOLORMSGBOX));
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) ? AnswerWith(TRUE) : FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wParam), lParam) ? AnswerWith(0) : FALSE;
    case WM_PAINT:
        return OnPaint() ? AnswerWith(0) : FALSE;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam)) ? AnswerWith(TRUE) : FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}
