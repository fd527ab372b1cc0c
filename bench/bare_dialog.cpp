// The benchmark's baselines: the least a dialog-based installer of ours could be, a window
// with one page of static text and buttons, and nothing else. Its private bytes are what
// the platform and the runtime cost any such program.
//
// Built a second time with BARE_DIALOG_WITH_SPOOLER: the same dialog after the two system
// calls setup.exe makes before its wizard that load system components (the common controls,
// and the spooler's driver directory), so that their cost is in the baseline too.
#include <windows.h>

#ifdef BARE_DIALOG_WITH_SPOOLER
#include <commctrl.h>
#include <winspool.h>
#endif

#include "bare_dialog_ids.h"

namespace {

INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK FrameProc(HWND hDialog, UINT uMessage, WPARAM wParam, LPARAM) {
    switch (uMessage) {
    case WM_INITDIALOG: {
        HWND hPage = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BARE_PAGE), hDialog,
                                          &PageProc, 0);
        ::ShowWindow(hPage, SW_SHOW);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::EndDialog(hDialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
#ifdef BARE_DIALOG_WITH_SPOOLER
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    char szDirectory[MAX_PATH];
    DWORD cbNeeded = 0;
    ::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>("Windows NT x86"), 1, reinterpret_cast<BYTE*>(szDirectory),
                                 sizeof szDirectory, &cbNeeded);
#endif
    return static_cast<int>(::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_BARE_FRAME), nullptr, &FrameProc, 0));
}
