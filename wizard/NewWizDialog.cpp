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

void EnableButton(HWND hFrame, int nID, bool bEnable) {
    HWND hButton = ::GetDlgItem(hFrame, nID);
    assert(hButton && "the frame's template lacks a wizard button");
    ::EnableWindow(hButton, bEnable);
}

}  // namespace

void CNewWizDialog::EnableBack(bool bEnable) const { EnableButton(m_hWnd, ID_WIZBACK, bEnable); }
void CNewWizDialog::EnableNext(bool bEnable) const { EnableButton(m_hWnd, ID_WIZNEXT, bEnable); }
void CNewWizDialog::EnableFinish(bool bEnable) const { EnableButton(m_hWnd, ID_WIZFINISH, bEnable); }

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
    return ActivatePage(pFirst);
}

BOOL CNewWizDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    assert(m_nPlaceholderID && "SetPlaceholderID before the frame initialises");
    InitPages();
    return TRUE;
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
}

void CNewWizDialog::OnNext() {
    CNewWizPage* pPage = GetActivePage();
    assert(pPage && "Next without a shown page");
    CNewWizPage* pTarget = Target(pPage, pPage->OnWizardNext(), 1);
    if (!pTarget || !ActivatePage(pTarget)) return;
    if (pTarget == GetLastPage()) {
        EnableNext(false);
        EnableFinish(true);
    }
    EnableBack(true);
}

void CNewWizDialog::OnFinish() {
    CNewWizPage* pPage = GetActivePage();
    if (pPage && !pPage->OnKillActive()) return;
    for (CNewWizPage* p : m_PageList) {
        if (p->m_bCreated && !p->OnWizardFinish()) return;
    }
    EndDialog(ID_WIZFINISH);
}

void CNewWizDialog::OnCancel() {
    for (CNewWizPage* p : m_PageList) {
        if (p->m_bCreated && !p->OnQueryCancel()) return;
    }
    CDialog::OnCancel();
}

void CNewWizDialog::OnDestroy() {
    for (CNewWizPage* p : m_PageList) {
        const bool bDestroyed = DestroyPage(p);
        assert(bDestroyed && "a page refused to be destroyed with the frame");
        (void)bDestroyed;
    }
}
