#include "install/CopyDlg.h"

#include <cassert>

#include "framework/data_exchange.h"
#include "res/resource.h"
#include "wizard/NewWizDialog.h"
#include "wizard/dialog_strings.h"

namespace {
constexpr UINT_PTR kStartTimer = 1;
constexpr UINT kStartDelayMs = 500;  // lets the page paint before the installation starts
}  // namespace

CCopyDlg::CCopyDlg() : CNewWizPage(IDD) {}

void CCopyDlg::DoDataExchange(CDataExchange& dx) {
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_HEADER_ICON, m_Icon);
    DDX_Control(dx, IDC_COPY_PROGRESS, m_Progress);
    DDX_Control(dx, IDC_HEADER_BOX, m_Header);
}

BOOL CCopyDlg::OnInitDialog() {
    CNewWizPage::OnInitDialog();
    UpdateData(false);
    m_HeaderBrush.CreateSolidBrush(RGB(255, 255, 255));
    g_SetDialogStrings(m_hWnd, IDD);
    LayoutHeader();
    return TRUE;
}

HBRUSH CCopyDlg::OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) {
    HBRUSH hBrush = CNewWizPage::OnCtlColor(hDC, hControl, nCtlColor);
    if (hControl && hControl == m_Header.GetSafeHwnd()) {
        ::SetBkColor(hDC, RGB(255, 255, 255));
        return m_HeaderBrush.GetSafeHandle();
    }
    return hBrush;
}

void CCopyDlg::OnTimer(UINT_PTR) {
    KillTimer(kStartTimer);  // once per showing
    CNewWizDialog& frame = *GetFrame();
    // Not once the page was left before the timer fired (Back hides it, Cancel the frame), and
    // never a second installation: inside the first one, which handles messages as it waits,
    // or after it, from a showing meanwhile.
    if (frame.IsBusy() || g_bInstallDone || !::IsWindowVisible(m_hWnd)) return;
    CNewWizDialog::CBusy busy(frame);
    CWaitCursor wait;
    m_Progress.SetPos(50);
    assert(m_Install && "the wizard's assembly gives the page its installation");
    if (m_Install) m_Install();
    m_Progress.SetPos(100);
    g_bInstallDone = true;
}

void CCopyDlg::OnShowWindow(bool bShow, UINT) {
    if (!bShow) {
        KillTimer(kStartTimer);  // left before the installation started: it does not start
        return;
    }
    if (!g_bInstallDone) SetTimer(kStartTimer, kStartDelayMs);
    LayoutHeader();
}
