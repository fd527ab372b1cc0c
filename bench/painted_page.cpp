#include "painted_page.h"

#include "wizard_driver.h"

namespace {

constexpr char kDialogClass[] = "#32770";

bool IsDialog(HWND hWnd) {
    char szClass[16] = {};
    return ::GetClassNameA(hWnd, szClass, sizeof szClass) > 0 && lstrcmpA(szClass, kDialogClass) == 0;
}

struct TreeState {
    bool bHasPage = false;
    bool bWaitsForPaint = false;
};

// Visits every descendant of the top-level window.
BOOL CALLBACK CheckDescendant(HWND hWnd, LPARAM lParam) {
    auto* pState = reinterpret_cast<TreeState*>(lParam);
    if (!::IsWindowVisible(hWnd)) return TRUE;
    if (::GetUpdateRect(hWnd, nullptr, FALSE)) pState->bWaitsForPaint = true;
    if (IsDialog(hWnd) && ::GetWindow(hWnd, GW_CHILD) && ::IsWindowVisible(::GetWindow(hWnd, GW_CHILD)))
        pState->bHasPage = true;
    return TRUE;
}

}  // namespace

HWND FindPaintedPage(DWORD dwProcessId) {
    return FindVisibleWindow(dwProcessId, [](HWND hWnd) {
        TreeState state;
        ::EnumChildWindows(hWnd, &CheckDescendant, reinterpret_cast<LPARAM>(&state));
        return state.bHasPage && !state.bWaitsForPaint && !::GetUpdateRect(hWnd, nullptr, FALSE);
    });
}
