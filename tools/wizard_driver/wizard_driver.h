// Drives a running setup.exe from another process through its windows only, the way a user
// does: waits for the wizard and its pages by their control ids, presses buttons, selects the
// series, reads and confirms the outcome message, and photographs windows. Buttons are
// pressed either by messages to the controls or by real keyboard and mouse input.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/scoped_handle.h"

// Starts strProgram (a full path) with its own folder as the working directory, as Explorer
// does. False when it cannot be started; hProcess and dwProcessId are then left as they were.
// strArguments, when given, follows the quoted program on the command line.
bool StartInItsFolder(const std::string& strProgram, CKernelHandle& hProcess, DWORD& dwProcessId,
                      const std::string& strArguments = std::string());

// The first visible top-level window of process dwProcessId, in z-order, for which accept
// answers true (any one, without accept); null when there is none.
HWND FindVisibleWindow(DWORD dwProcessId, const std::function<bool(HWND)>& accept = nullptr);

class CWizardDriver {
public:
    // Starts the program with its own directory as the working directory.
    bool Start(const std::string& strProgram, const std::string& strArguments = std::string());
    // The program's exit code once it ended within dwTimeoutMs, otherwise -1.
    int WaitForExit(DWORD dwTimeoutMs);
    bool HasEnded() const;
    DWORD ProcessId() const { return m_dwProcessId; }

    // The wizard frame: the program's visible dialog holding the Next button (12324).
    HWND WaitForFrame(DWORD dwTimeoutMs);
    // The visible page of the frame holding the control nMarkerID, or null after the timeout.
    HWND WaitForPage(int nMarkerID, DWORD dwTimeoutMs);
    // A visible top-level window of the program other than the frame (a message box or the
    // about box), or null after the timeout.
    HWND WaitForOtherWindow(DWORD dwTimeoutMs);

    HWND Frame() const { return m_hFrame; }

    // Answers the program's message boxes until it ends or shows none within dwTimeoutMs: the
    // first with the button nFirstAnswer (OK when it has no such button), every later one with
    // OK. The boxes' texts, in order.
    std::vector<std::string> AnswerMessageBoxes(int nFirstAnswer, DWORD dwTimeoutMs);

    // Presses the button nID of hDialog; false when it is missing or disabled.
    static bool Press(HWND hDialog, int nID);
    // Selects entry nIndex of the list nListID and tells the list's dialog, as a click does.
    static bool SelectListEntry(HWND hDialog, int nListID, int nIndex);
    static bool IsEnabled(HWND hDialog, int nID);
    static std::string Text(HWND hWnd);
    // The text of a message box (its static text control).
    static std::string MessageText(HWND hMessageBox);

    // Real input, as a user gives it (SendInput): it goes to the foreground window, so each
    // call brings the program's window that should get it there first. Nothing here waits for
    // the program to act on it.

    // The window with the keyboard focus in the frame's thread, or null.
    HWND Focus() const;
    // Waits until the focus is on a window for which accept() answers true; that window, or
    // null after the timeout.
    template <typename Accept>
    HWND WaitForFocus(Accept accept, DWORD dwTimeoutMs) const;
    // Makes hWnd the foreground window; false when it does not become it.
    static bool BringToFront(HWND hWnd);
    // Types one key into hWindow (the frame or a message box), Alt held down when bAlt.
    static bool TypeKey(HWND hWindow, WORD wVirtualKey, bool bAlt = false);
    // Moves the mouse to the middle of hWnd and clicks its left button there.
    static bool ClickWindow(HWND hWnd);
    // Clicks entry nIndex of a list box; the entry must be in view.
    static bool ClickListEntry(HWND hList, int nIndex);
    // The letter or digit a control's caption marks with '&' for Alt, upper case; 0 for none.
    static char Mnemonic(HWND hControl);
    // Presses Tab (at least once) until hTarget has the focus; false when it never gets it.
    bool TabTo(HWND hTarget, DWORD dwTimeoutMs);

    // Saves what the screen shows of the window (24-bit BMP); with hAlso, of the smallest
    // rectangle holding both windows.
    static bool SaveScreenshot(HWND hWnd, const std::string& strPath, HWND hAlso = nullptr);

private:
    CKernelHandle m_hProcess;
    DWORD m_dwProcessId = 0;
    HWND m_hFrame = nullptr;
};

template <typename Accept>
HWND CWizardDriver::WaitForFocus(Accept accept, DWORD dwTimeoutMs) const {
    for (DWORD dwWaited = 0;; dwWaited += 50) {
        HWND hFocus = Focus();
        if (hFocus && accept(hFocus)) return hFocus;
        if (dwWaited >= dwTimeoutMs) return nullptr;
        ::Sleep(50);
    }
}
