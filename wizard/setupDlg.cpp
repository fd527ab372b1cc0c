#include "wizard/setupDlg.h"

#include "framework/application.h"
#include "framework/gdi.h"
#include "res/resource.h"
#include "wizard/dialog_strings.h"

CSetupDlg::CSetupDlg()
    : CNewWizDialog(IDD),
      m_hIcon(::LoadIconA(CApplication::GetResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

namespace {

// The about entry at the end of the system menu, after a separator.
void AppendAboutEntry(HWND hWnd) {
    HMENU hSystemMenu = ::GetSystemMenu(hWnd, FALSE);
    if (!hSystemMenu) return;
    // Wide, like the dialog templates: the Chinese entry shows on every system code page.
    wchar_t szText[256] = {};
    if (::LoadStringW(CApplication::GetResourceInstance(), IDS_ABOUTBOX, szText, 256) <= 0) return;
    ::AppendMenuW(hSystemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(hSystemMenu, MF_STRING, IDM_ABOUTBOX, szText);
}

}  // namespace

BOOL CSetupDlg::OnInitDialog() {
    SetPlaceholderID(IDC_PAGE_PLACEHOLDER);
    const BOOL bDefaultFocus = CNewWizDialog::OnInitDialog();
    AppendAboutEntry(m_hWnd);
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    g_SetDialogStrings(m_hWnd, IDD);
    return bDefaultFocus;
}

bool CSetupDlg::OnCommand(int nID, int nNotifyCode, HWND hControl) {
    if (nID == IDC_CANCEL_BUTTON && nNotifyCode == BN_CLICKED) {
        OnCancel();
        return true;
    }
    return CNewWizDialog::OnCommand(nID, nNotifyCode, hControl);
}

bool CSetupDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if (CNewWizDialog::OnSysCommand(nID, lParam)) return true;  // closing, refused while busy
    if ((nID & 0xFFF0) != IDM_ABOUTBOX) return false;
    CAboutDlg about;
    about.DoModal(m_hWnd);
    return true;
}

bool CSetupDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) return false;
    CPaintDC dc(m_hWnd);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
    return true;
}

HCURSOR CSetupDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

CAboutDlg::CAboutDlg() : CDialog(IDD) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    g_SetDialogStrings(m_hWnd, IDD);
    return TRUE;
}
