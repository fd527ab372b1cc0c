#include "wizard/NewWizPage.h"

#include <cassert>

#include "framework/application.h"
#include "res/resource.h"
#include "wizard/NewWizDialog.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The white brush every page answers for the printer-name box: made on first use and kept for
// the life of the process.
HBRUSH g_hSharedWhiteBrush = nullptr;

HBRUSH SharedWhiteBrush() {
    if (!g_hSharedWhiteBrush) g_hSharedWhiteBrush = ::CreateSolidBrush(kWhite);
    return g_hSharedWhiteBrush;
}

}  // namespace

CNewWizPage::CNewWizPage(UINT nIDTemplate) : CDialog(nIDTemplate), m_nDialogID(static_cast<int>(nIDTemplate)) {}

BOOL CNewWizPage::OnInitDialog() {
    CDialog::OnInitDialog();
    const LONG nStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    assert((nStyle & WS_CHILD) && "a page template must be a child window");
    assert(!(nStyle & WS_BORDER) && "a page template must have no border");
    assert((nStyle & WS_DISABLED) && "a page template must start disabled");
    (void)nStyle;
    m_Brush.CreateSolidBrush(kWhite);
    return TRUE;
}

HBRUSH CNewWizPage::OnCtlColor(HDC hDC, HWND hControl, UINT nCtlColor) {
    HBRUSH hBrush = DefaultCtlColor(hDC, hControl, nCtlColor);
    const bool bNameBox = hControl && ::GetDlgCtrlID(hControl) == IDC_PRINTER_NAME;
    switch (nCtlColor) {
    case CTLCOLOR_STATIC:
        ::SetTextColor(hDC, kBlack);
        ::SetBkColor(hDC, kWhite);
        [[fallthrough]];
    case CTLCOLOR_EDIT:
        ::SetTextColor(hDC, kBlack);
        if (bNameBox) {
            ::SetBkColor(hDC, kWhite);
            return SharedWhiteBrush();
        }
        ::SetBkMode(hDC, TRANSPARENT);
        return hBrush;
    case CTLCOLOR_BTN:
        ::SetTextColor(hDC, kBlack);
        ::SetBkColor(hDC, kWhite);
        return hControl && ::GetDlgCtrlID(hControl) == IDC_HEADER_BOX ? m_Brush.GetSafeHandle() : hBrush;
    case CTLCOLOR_DLG:
        return m_Brush.GetSafeHandle();
    case CTLCOLOR_LISTBOX:
    case CTLCOLOR_SCROLLBAR:
        ::SetTextColor(hDC, kBlack);
        ::SetBkMode(hDC, TRANSPARENT);
        return hBrush;
    default:
        return hBrush;
    }
}

CNewWizDialog* CNewWizPage::GetFrame() const {
    auto* pFrame = static_cast<CNewWizDialog*>(CDialog::FromHandle(::GetParent(m_hWnd)));
    assert(pFrame && "a page outside a wizard frame");
    return pFrame;
}

void CNewWizPage::LayoutHeader() const {
    // The frame's outer rectangle in its own client coordinates: left and top are negative.
    HWND hFrame = CApplication::GetCurrent() ? CApplication::GetCurrent()->GetMainWindow() : nullptr;
    if (!hFrame) hFrame = ::GetParent(m_hWnd);
    RECT frame = {};
    ::GetWindowRect(hFrame, &frame);
    ::MapWindowPoints(nullptr, hFrame, reinterpret_cast<POINT*>(&frame), 2);

    CControl header, icon;
    header.Attach(GetDlgItem(IDC_HEADER_BOX));
    icon.Attach(GetDlgItem(IDC_HEADER_ICON));
    assert(header.GetSafeHwnd() && icon.GetSafeHwnd() && "LayoutHeader on a page without a header band");

    RECT box = header.GetRectInParent();
    box.left = frame.left;
    box.top = frame.top;
    box.right = frame.right;
    header.MoveWindow(box);

    RECT picture = icon.GetRectInParent();
    const LONG nWidth = picture.right - picture.left, nHeight = picture.bottom - picture.top;
    picture.right = frame.right - 5;
    picture.left = picture.right - nWidth;
    picture.top = 18;
    picture.bottom = 18 + nHeight;
    icon.MoveWindow(picture);
}
