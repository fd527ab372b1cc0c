// Drives a modal run from inside it: the steps run one per timer tick on the test's own
// thread, in whichever modal loop is running then (so a step may open a nested dialog and the
// next step can act on it). When the steps are done and the run is still going, the run is
// ended by a quit request so that a failing test cannot hang.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CScriptedSteps {
public:
    using Step = std::function<void()>;
    explicit CScriptedSteps(std::vector<Step> steps, UINT nIntervalMs = 30);
    ~CScriptedSteps();
    CScriptedSteps(const CScriptedSteps&) = delete;
    CScriptedSteps& operator=(const CScriptedSteps&) = delete;

    // Called by a step: the next step waits until bDone answers true (checked on every tick).
    static void HoldUntil(std::function<bool()> bDone);

    // Every step ran and none had to be cut short by the watchdog.
    bool Finished() const { return m_nNext >= m_steps.size() && !m_bWatchdogFired; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Step> m_steps;
    size_t m_nNext = 0;
    std::function<bool()> m_hold;
    int m_nIdleTicks = 0;
    bool m_bWatchdogFired = false;
    UINT_PTR m_nTimer;
    static CScriptedSteps* s_pRunning;
};

// Runs the dialog modally under the steps; the run's result. The steps must have ended it.
template <typename Dialog>
INT_PTR RunScripted(Dialog& dialog, std::vector<CScriptedSteps::Step> steps) {
    CScriptedSteps script(std::move(steps));
    const INT_PTR nResult = dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    return nResult;
}

// Window helpers for the steps.
std::string WindowText(HWND hWnd);
std::string ControlText(HWND hDialog, int nID);
bool IsControlEnabled(HWND hDialog, int nID);
bool IsControlVisible(HWND hDialog, int nID);
// Presses an enabled push button the way the mouse does (BM_CLICK).
void Click(HWND hDialog, int nID);
// A visible window of this thread owned by hOwner (the about box or a message box over the
// frame), or null.
HWND FindOwnedDialog(HWND hOwner);
