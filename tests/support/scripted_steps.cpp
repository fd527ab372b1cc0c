#include "scripted_steps.h"

#include <gtest/gtest.h>

#include "framework/controls.h"

CScriptedSteps* CScriptedSteps::s_pRunning = nullptr;

namespace {
constexpr int kWatchdogTicks = 150;
}  // namespace

CScriptedSteps::CScriptedSteps(std::vector<Step> steps, UINT nIntervalMs)
    : m_steps(std::move(steps)), m_nTimer(::SetTimer(nullptr, 0, nIntervalMs, &CScriptedSteps::OnTick)) {
    s_pRunning = this;
}

CScriptedSteps::~CScriptedSteps() {
    ::KillTimer(nullptr, m_nTimer);
    s_pRunning = nullptr;
    // A quit request that ended a modal run is posted again by the dialog manager: it must
    // not end the next test's run.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void CScriptedSteps::HoldUntil(std::function<bool()> bDone) {
    if (s_pRunning) s_pRunning->m_hold = std::move(bDone);
}

void CALLBACK CScriptedSteps::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    CScriptedSteps* pScript = s_pRunning;
    if (!pScript) return;
    if (pScript->m_hold) {
        if (!pScript->m_hold() && ++pScript->m_nIdleTicks < kWatchdogTicks) return;
        if (pScript->m_nIdleTicks >= kWatchdogTicks) ADD_FAILURE() << "a held step never saw its condition";
        pScript->m_hold = nullptr;
        pScript->m_nIdleTicks = 0;
    }
    if (pScript->m_nNext < pScript->m_steps.size()) {
        // Advance first: a step that opens a nested modal loop lets the next one run inside it.
        const size_t nStep = pScript->m_nNext++;
        pScript->m_steps[nStep]();
        return;
    }
    if (++pScript->m_nIdleTicks == kWatchdogTicks) {
        pScript->m_bWatchdogFired = true;
        ADD_FAILURE() << "the modal run outlived its script";
        ::PostQuitMessage(0);
    }
}

std::string WindowText(HWND hWnd) { return GetWindowTextString(hWnd); }

std::string ControlText(HWND hDialog, int nID) { return GetWindowTextString(::GetDlgItem(hDialog, nID)); }

bool IsControlEnabled(HWND hDialog, int nID) { return ::IsWindowEnabled(::GetDlgItem(hDialog, nID)) != FALSE; }

bool IsControlVisible(HWND hDialog, int nID) { return ::IsWindowVisible(::GetDlgItem(hDialog, nID)) != FALSE; }

void Click(HWND hDialog, int nID) {
    HWND hButton = ::GetDlgItem(hDialog, nID);
    ASSERT_TRUE(hButton) << "no control " << nID;
    ASSERT_TRUE(::IsWindowEnabled(hButton)) << "control " << nID << " is disabled";
    ::SendMessageA(hButton, BM_CLICK, 0, 0);
}

namespace {

struct OwnedWindowSearch {
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK CheckOwnedWindow(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<OwnedWindowSearch*>(lParam);
    if (hWnd == pSearch->hOwner || ::GetWindow(hWnd, GW_OWNER) != pSearch->hOwner || !::IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

}  // namespace

HWND FindOwnedDialog(HWND hOwner) {
    OwnedWindowSearch search = {hOwner, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CheckOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}
