#include "wizard/NewWizDialog.h"

#include <algorithm>
#include <cassert>

#include "res/resource.h"
#include "wizard/NewWizPage.h"

bool g_bInstallDone = false;

CNewWizDialog::CNewWizDialog(UINT nIDTemplate) : CDialog(nIDTemplate) {}

void CNewWizDialog::AddPage(CNewWizPage* pPage, int nDialogID) {
    m_PageList.push_back(pPage);
    pPage->m_nDialogID = nDialogID;
}

namespace {

// Shown (by its own style: the frame may not be on the screen yet) and enabled.
bool TakesFocus(HWND hWnd) {
    return hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) && ::IsWindowEnabled(hWnd);
}

// The first child of hParent in tab order that the Tab key can reach, or null.
HWND FirstTabStop(HWND hParent) {
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(hChild, GWL_STYLE) & WS_TABSTOP) && TakesFocus(hChild)) return hChild;
    }
    return nullptr;
}

}  // namespace

void CNewWizDialog::EnableButton(int nID, bool bEnable) {
    HWND hButton = GetDlgItem(nID);
    assert(hButton && "the frame's template lacks a wizard button");
    if (m_bBusy) {
        for (SavedState& state : m_busyStates) {
            if (state.hControl == hButton) state.bEnabled = bEnable;
        }
        return;
    }
    // Disabling the focused window leaves the focus on no window at all, where no key reaches
    // any control.
    const bool bHadFocus = !bEnable && ::GetFocus() == hButton;
    ::EnableWindow(hButton, bEnable);
    if (bHadFocus) FocusEnabledControl();
}

void CNewWizDialog::EnableBack(bool bEnable) { EnableButton(ID_WIZBACK, bEnable); }
void CNewWizDialog::EnableNext(bool bEnable) { EnableButton(ID_WIZNEXT, bEnable); }
void CNewWizDialog::EnableFinish(bool bEnable) { EnableButton(ID_WIZFINISH, bEnable); }

HWND CNewWizDialog::FocusTarget() const {
    HWND hNext = GetDlgItem(ID_WIZNEXT);
    if (TakesFocus(hNext)) return hNext;
    if (CNewWizPage* pPage = GetActivePage()) {
        if (HWND hControl = FirstTabStop(pPage->GetSafeHwnd())) return hControl;
    }
    HWND hFinish = GetDlgItem(ID_WIZFINISH);
    if (TakesFocus(hFinish)) return hFinish;
    HWND hControl = FirstTabStop(m_hWnd);
    return hControl ? hControl : m_hWnd;
}

void CNewWizDialog::FocusEnabledControl() {
    HWND hTarget = FocusTarget();
    if (hTarget == m_hWnd) {
        ::SetFocus(m_hWnd);
        return;
    }
    // Through the dialog manager, which also moves the default-button outline.
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hTarget), TRUE);
}

bool CNewWizDialog::IsPageWindow(HWND hWnd) const {
    return std::any_of(m_PageList.begin(), m_PageList.end(),
                       [hWnd](const CNewWizPage* p) { return p->GetSafeHwnd() == hWnd; });
}

CNewWizDialog::CBusy::CBusy(CNewWizDialog& frame) : m_frame(frame) { m_frame.BeginBusy(); }
CNewWizDialog::CBusy::~CBusy() { m_frame.EndBusy(); }

void CNewWizDialog::BeginBusy() {
    assert(!m_bBusy && "the frame is busy already");
    HWND hFocus = ::GetFocus();
    bool bFocusLost = false;
    m_busyStates.clear();
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (IsPageWindow(hChild)) continue;
        m_busyStates.push_back({hChild, ::IsWindowEnabled(hChild) != FALSE});
        bFocusLost = bFocusLost || hChild == hFocus;
        ::EnableWindow(hChild, FALSE);
    }
    ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    m_bBusy = true;
    m_bFocusMoved = bFocusLost;
    // Where nothing is enabled the dialog manager puts the focus on the first control it finds.
    if (bFocusLost) FocusEnabledControl();
}

void CNewWizDialog::EndBusy() {
    m_bBusy = false;
    if (!m_hWnd) return;
    for (const SavedState& state : m_busyStates) ::EnableWindow(state.hControl, state.bEnabled);
    m_busyStates.clear();
    ::EnableMenuItem(::GetSystemMenu(m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    HWND hFocus = ::GetFocus();
    if (m_bFocusMoved || !hFocus || hFocus == m_hWnd) FocusEnabledControl();
}

CNewWizPage* CNewWizDialog::GetActivePage() const {
    auto it = std::find_if(m_PageList.begin(), m_PageList.end(), [](CNewWizPage* p) { return p->m_bActive; });
    return it == m_PageList.end() ? nullptr : *it;
}

CNewWizPage* CNewWizDialog::GetFirstPage() const {
    assert(!m_PageList.empty());
    return m_PageList.front();
}

CNewWizPage* CNewWizDialog::GetLastPage() const {
    assert(!m_PageList.empty());
    return m_PageList.back();
}

CNewWizPage* CNewWizDialog::GetPageByID(int nDialogID) const {
    auto it = std::find_if(m_PageList.begin(), m_PageList.end(),
                           [nDialogID](CNewWizPage* p) { return p->m_nDialogID == nDialogID; });
    return it == m_PageList.end() ? nullptr : *it;
}

CNewWizPage* CNewWizDialog::Neighbour(const CNewWizPage* pPage, int nStep) const {
    auto it = std::find(m_PageList.begin(), m_PageList.end(), pPage);
    assert(it != m_PageList.end() && "the shown page is not in the list");
    const auto nIndex = (it - m_PageList.begin()) + nStep;
    if (nIndex < 0 || nIndex >= static_cast<long>(m_PageList.size())) return nullptr;
    return m_PageList[static_cast<size_t>(nIndex)];
}

CNewWizPage* CNewWizDialog::Target(const CNewWizPage* pPage, int nAnswer, int nStep) const {
    if (nAnswer == -1) return nullptr;
    return nAnswer == 0 ? Neighbour(pPage, nStep) : GetPageByID(nAnswer);
}

bool CNewWizDialog::ActivatePage(CNewWizPage* pPage) {
    assert(m_nPlaceholderID && pPage && m_hWnd);
    if (!pPage->m_bCreated) {
        if (!pPage->Create(static_cast<UINT>(pPage->m_nDialogID), m_hWnd)) return false;
        pPage->m_bCreated = true;
        pPage->m_pParent = this;
        if (!pPage->OnCreatePage()) return false;
    }
    if (!DeactivatePage()) return false;

    HWND hPlaceholder = GetDlgItem(m_nPlaceholderID);
    assert(hPlaceholder && "the frame's template lacks the placeholder");
    RECT placeholder = {};
    ::GetWindowRect(hPlaceholder, &placeholder);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&placeholder), 2);
    // Each page keeps its template's size; what reaches past the frame is clipped.
    HWND hPage = pPage->GetSafeHwnd();
    ::SetWindowPos(hPage, nullptr, placeholder.left, placeholder.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::EnableWindow(hPage, TRUE);
    ::ShowWindow(hPage, SW_SHOW);
    ::InvalidateRect(hPage, nullptr, TRUE);
    ::UpdateWindow(hPage);
    pPage->OnSetActive();
    pPage->m_bActive = true;
    return true;
}

bool CNewWizDialog::DeactivatePage() {
    CNewWizPage* pPage = GetActivePage();
    if (!pPage) return true;
    assert(pPage->m_bCreated);
    if (!pPage->OnKillActive()) return false;
    ::ShowWindow(pPage->GetSafeHwnd(), SW_HIDE);
    pPage->m_bActive = false;
    return true;
}

bool CNewWizDialog::DestroyPage(CNewWizPage* pPage) {
    if (!pPage->m_bCreated) return true;
    if (!pPage->OnKillActive()) return false;
    pPage->OnDestroyPage();
    pPage->DestroyWindow();
    pPage->m_bCreated = false;
    pPage->m_bActive = false;  // a page without a window is shown nowhere
    return true;
}

bool CNewWizDialog::InitPages() {
    CNewWizPage* pFirst = GetFirstPage();
    if (!DeactivatePage()) return false;
    EnableBack(false);
    const bool bSeveralPages = m_PageList.size() > 1;
    EnableFinish(!bSeveralPages);
    EnableNext(bSeveralPages);
    const bool bShown = ActivatePage(pFirst);
    FocusEnabledControl();
    return bShown;
}

BOOL CNewWizDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    assert(m_nPlaceholderID && "SetPlaceholderID before the frame initialises");
    InitPages();
    return FALSE;  // the focus is placed: the dialog manager's first tab stop may be another
}

bool CNewWizDialog::OnCommand(int nID, int nNotifyCode, HWND) {
    if (nNotifyCode != BN_CLICKED) return false;
    switch (nID) {
    case ID_WIZBACK:
        OnBack();
        return true;
    case ID_WIZNEXT:
        OnNext();
        return true;
    case ID_WIZFINISH:
        OnFinish();
        return true;
    case IDCANCEL: {
        // The dialog manager sends Escape to the frame wherever the focus is; with the focus
        // inside the shown page it is the page's, which ignores it.
        CNewWizPage* pPage = GetActivePage();
        return pPage && ::IsChild(pPage->GetSafeHwnd(), ::GetFocus());
    }
    default:
        return false;
    }
}

void CNewWizDialog::OnBack() {
    if (m_bBusy) return;
    CNewWizPage* pPage = GetActivePage();
    assert(pPage && "Back without a shown page");
    CNewWizPage* pTarget = Target(pPage, pPage->OnWizardBack(), -1);
    if (!pTarget || !ActivatePage(pTarget)) return;
    if (pTarget == GetFirstPage()) {
        EnableBack(false);
        EnableFinish(false);
    }
    g_bInstallDone = false;
    EnableNext(true);
    FocusEnabledControl();
}

void CNewWizDialog::OnNext() {
    if (m_bBusy) return;
    CNewWizPage* pPage = GetActivePage();
    assert(pPage && "Next without a shown page");
    CNewWizPage* pTarget = Target(pPage, pPage->OnWizardNext(), 1);
    if (!pTarget || !ActivatePage(pTarget)) return;
    if (pTarget == GetLastPage()) {
        EnableNext(false);
        EnableFinish(true);
    }
    EnableBack(true);
    FocusEnabledControl();
}

void CNewWizDialog::OnFinish() {
    if (m_bBusy) return;
    CNewWizPage* pPage = GetActivePage();
    if (pPage && !pPage->OnKillActive()) return;
    for (CNewWizPage* p : m_PageList) {
        if (p->m_bCreated && !p->OnWizardFinish()) return;
    }
    EndDialog(ID_WIZFINISH);
}

void CNewWizDialog::OnCancel() {
    if (m_bBusy) return;
    for (CNewWizPage* p : m_PageList) {
        if (p->m_bCreated && !p->OnQueryCancel()) return;
    }
    CDialog::OnCancel();
}

bool CNewWizDialog::OnSysCommand(UINT nID, LPARAM) { return m_bBusy && (nID & 0xFFF0) == SC_CLOSE; }

bool CNewWizDialog::OnSetCursor(HWND, UINT, UINT) {
    if (!m_bBusy) return false;
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    return true;
}

void CNewWizDialog::OnDestroy() {
    for (CNewWizPage* p : m_PageList) {
        const bool bDestroyed = DestroyPage(p);
        assert(bDestroyed && "a page refused to be destroyed with the frame");
        (void)bDestroyed;
    }
}
