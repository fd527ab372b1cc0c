#include "wizard_driver.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "framework/gdi.h"

namespace {

constexpr int kNextButton = 12324;
constexpr int kMessageTextControl = 0xFFFF;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 10000;

struct WindowSearch {
    DWORD dwProcessId;
    const std::function<bool(HWND)>& accept;
    HWND hFound;
};

BOOL CALLBACK CheckTopLevelWindow(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwOwner = 0;
    ::GetWindowThreadProcessId(hWnd, &dwOwner);
    if (dwOwner != pSearch->dwProcessId || !::IsWindowVisible(hWnd)) return TRUE;
    if (pSearch->accept && !pSearch->accept(hWnd)) return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

// Polls until find() answers a window or the time is up.
template <typename Find>
HWND Poll(DWORD dwTimeoutMs, Find find) {
    for (DWORD dwWaited = 0;; dwWaited += kPollMs) {
        if (HWND hWnd = find()) return hWnd;
        if (dwWaited >= dwTimeoutMs) return nullptr;
        ::Sleep(kPollMs);
    }
}

bool Send(HWND hWnd, UINT uMessage, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR dwResult = 0;
    return ::SendMessageTimeoutA(hWnd, uMessage, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &dwResult) != 0;
}

// The arrow keys sit apart from the numeric keypad's: the extended flag tells them apart.
bool IsExtendedKey(WORD wVirtualKey) {
    return wVirtualKey == VK_UP || wVirtualKey == VK_DOWN || wVirtualKey == VK_LEFT || wVirtualKey == VK_RIGHT;
}

INPUT KeyInput(WORD wVirtualKey, bool bUp) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = wVirtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(wVirtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (bUp ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(wVirtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

INPUT MouseInput(DWORD dwFlags, LONG dx = 0, LONG dy = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    return input;
}

bool SendAll(INPUT* pInputs, UINT nInputs) {
    return ::SendInput(nInputs, pInputs, sizeof(INPUT)) == nInputs;
}

// Moves the mouse to a point of the primary screen, in the 0..65535 units absolute moves take.
bool MoveMouse(POINT point) {
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    if (cxScreen < 2 || cyScreen < 2) return false;
    INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ::MulDiv(point.x, 65535, cxScreen - 1),
                            ::MulDiv(point.y, 65535, cyScreen - 1));
    if (!SendAll(&move, 1)) return false;
    for (int i = 0; i < 40; ++i) {  // the position is taken at once, but not always seen at once
        POINT cursor = {};
        if (::GetCursorPos(&cursor) && std::abs(cursor.x - point.x) <= 1 && std::abs(cursor.y - point.y) <= 1)
            return true;
        ::Sleep(kPollMs);
    }
    return false;
}

bool WriteBitmap(const std::string& strPath, const BITMAPINFOHEADER& header, const std::vector<BYTE>& pixels) {
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    CFileHandle hFile(::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!hFile.IsValid()) return false;
    DWORD dwWritten = 0;
    return ::WriteFile(hFile.GetUnsafe(), &file, sizeof file, &dwWritten, nullptr) && dwWritten == sizeof file &&
           ::WriteFile(hFile.GetUnsafe(), &header, sizeof header, &dwWritten, nullptr) && dwWritten == sizeof header &&
           ::WriteFile(hFile.GetUnsafe(), pixels.data(), static_cast<DWORD>(pixels.size()), &dwWritten, nullptr) &&
           dwWritten == pixels.size();
}

}  // namespace

HWND FindVisibleWindow(DWORD dwProcessId, const std::function<bool(HWND)>& accept) {
    WindowSearch search = {dwProcessId, accept, nullptr};
    ::EnumWindows(&CheckTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

bool StartInItsFolder(const std::string& strProgram, CKernelHandle& hProcess, DWORD& dwProcessId,
                      const std::string& strArguments) {
    const std::string strDirectory = strProgram.substr(0, strProgram.find_last_of('\\') + 1);
    std::string strCommandLine = "\"" + strProgram + "\"";
    if (!strArguments.empty()) strCommandLine += " " + strArguments;
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          strDirectory.empty() ? nullptr : strDirectory.c_str(), &startup, &process))
        return false;
    hProcess.Reset(process.hProcess);
    ::CloseHandle(process.hThread);
    dwProcessId = process.dwProcessId;
    return true;
}

bool CWizardDriver::Start(const std::string& strProgram, const std::string& strArguments) {
    if (!StartInItsFolder(strProgram, m_hProcess, m_dwProcessId, strArguments)) return false;
    m_hFrame = nullptr;
    return true;
}

int CWizardDriver::WaitForExit(DWORD dwTimeoutMs) {
    if (!m_hProcess.IsValid() || ::WaitForSingleObject(m_hProcess.GetUnsafe(), dwTimeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD dwExitCode = 0;
    ::GetExitCodeProcess(m_hProcess.GetUnsafe(), &dwExitCode);
    return static_cast<int>(dwExitCode);
}

bool CWizardDriver::HasEnded() const {
    return m_hProcess.IsValid() && ::WaitForSingleObject(m_hProcess.GetUnsafe(), 0) == WAIT_OBJECT_0;
}

HWND CWizardDriver::WaitForFrame(DWORD dwTimeoutMs) {
    m_hFrame = Poll(dwTimeoutMs, [this] {
        return FindVisibleWindow(m_dwProcessId, [](HWND hWnd) { return ::GetDlgItem(hWnd, kNextButton) != nullptr; });
    });
    return m_hFrame;
}

HWND CWizardDriver::WaitForPage(int nMarkerID, DWORD dwTimeoutMs) {
    return Poll(dwTimeoutMs, [this, nMarkerID]() -> HWND {
        for (HWND hChild = ::GetWindow(m_hFrame, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            if (::IsWindowVisible(hChild) && ::GetDlgItem(hChild, nMarkerID)) return hChild;
        }
        return nullptr;
    });
}

HWND CWizardDriver::WaitForOtherWindow(DWORD dwTimeoutMs) {
    return Poll(dwTimeoutMs, [this] {
        return FindVisibleWindow(m_dwProcessId, [this](HWND hWnd) { return hWnd != m_hFrame; });
    });
}

std::vector<std::string> CWizardDriver::AnswerMessageBoxes(int nFirstAnswer, DWORD dwTimeoutMs) {
    std::vector<std::string> texts;
    while (!HasEnded()) {
        HWND hBox = WaitForOtherWindow(dwTimeoutMs);
        if (!hBox) break;
        texts.push_back(MessageText(hBox));
        if (!Press(hBox, texts.size() == 1 ? nFirstAnswer : IDOK)) Press(hBox, IDOK);
        // The press is posted: wait for the box to go before looking for the next one.
        for (DWORD dwWaited = 0; dwWaited < dwTimeoutMs && ::IsWindow(hBox); dwWaited += kPollMs) ::Sleep(kPollMs);
    }
    return texts;
}

bool CWizardDriver::Press(HWND hDialog, int nID) {
    HWND hButton = ::GetDlgItem(hDialog, nID);
    if (!hButton || !::IsWindowEnabled(hButton)) return false;
    // Posted: a press that opens a modal box or starts the installation must not block us.
    return ::PostMessageA(hButton, BM_CLICK, 0, 0) != FALSE;
}

bool CWizardDriver::SelectListEntry(HWND hDialog, int nListID, int nIndex) {
    HWND hList = ::GetDlgItem(hDialog, nListID);
    if (!hList || !Send(hList, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0)) return false;
    return Send(hDialog, WM_COMMAND, MAKEWPARAM(nListID, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
}

bool CWizardDriver::IsEnabled(HWND hDialog, int nID) {
    HWND hControl = ::GetDlgItem(hDialog, nID);
    return hControl && ::IsWindowEnabled(hControl);
}

HWND CWizardDriver::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD dwThread = m_hFrame ? ::GetWindowThreadProcessId(m_hFrame, nullptr) : 0;
    return dwThread && ::GetGUIThreadInfo(dwThread, &info) ? info.hwndFocus : nullptr;
}

bool CWizardDriver::BringToFront(HWND hWnd) {
    if (::GetForegroundWindow() != hWnd) ::SetForegroundWindow(hWnd);
    return Poll(kSendTimeoutMs, [hWnd] { return ::GetForegroundWindow() == hWnd ? hWnd : nullptr; }) != nullptr;
}

bool CWizardDriver::TypeKey(HWND hWindow, WORD wVirtualKey, bool bAlt) {
    if (!BringToFront(hWindow)) return false;
    INPUT keys[4];
    UINT nKeys = 0;
    if (bAlt) keys[nKeys++] = KeyInput(VK_MENU, false);
    keys[nKeys++] = KeyInput(wVirtualKey, false);
    keys[nKeys++] = KeyInput(wVirtualKey, true);
    if (bAlt) keys[nKeys++] = KeyInput(VK_MENU, true);
    return SendAll(keys, nKeys);
}

bool CWizardDriver::ClickWindow(HWND hWnd) {
    RECT rect = {};
    if (!::GetWindowRect(hWnd, &rect)) return false;
    const POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    HWND hTop = ::GetAncestor(hWnd, GA_ROOT);
    if (!BringToFront(hTop) || !MoveMouse(middle)) return false;
    INPUT buttons[2] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    return SendAll(buttons, 2);
}

bool CWizardDriver::ClickListEntry(HWND hList, int nIndex) {
    DWORD_PTR dwTop = 0, dwHeight = 0;
    if (!::SendMessageTimeoutA(hList, LB_GETTOPINDEX, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &dwTop) ||
        !::SendMessageTimeoutA(hList, LB_GETITEMHEIGHT, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &dwHeight) ||
        static_cast<int>(dwTop) > nIndex || dwHeight == 0 || dwHeight == static_cast<DWORD_PTR>(LB_ERR))
        return false;
    // The entry's middle, a little in from the left edge of the list's client area.
    POINT point = {4, (nIndex - static_cast<int>(dwTop)) * static_cast<int>(dwHeight) + static_cast<int>(dwHeight) / 2};
    if (!::ClientToScreen(hList, &point)) return false;
    if (!BringToFront(::GetAncestor(hList, GA_ROOT)) || !MoveMouse(point)) return false;
    INPUT buttons[2] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    return SendAll(buttons, 2);
}

char CWizardDriver::Mnemonic(HWND hControl) {
    const std::string strText = Text(hControl);
    for (size_t i = 0; i + 1 < strText.size(); ++i) {
        if (strText[i] != '&') continue;
        const char cMarked = strText[++i];  // "&&" is a plain '&'
        if (cMarked != '&' && std::isalnum(static_cast<unsigned char>(cMarked)))
            return static_cast<char>(std::toupper(static_cast<unsigned char>(cMarked)));
    }
    return 0;
}

bool CWizardDriver::TabTo(HWND hTarget, DWORD dwTimeoutMs) {
    constexpr int kMaxTabs = 20;  // more than the wizard's tab stops
    for (int i = 0; i < kMaxTabs; ++i) {
        HWND hBefore = Focus();
        if (!TypeKey(m_hFrame, VK_TAB)) return false;
        // Each Tab moves the focus on: wait for it, so that no key overtakes the last.
        if (!WaitForFocus([hBefore](HWND hFocus) { return hFocus != hBefore; }, dwTimeoutMs)) return false;
        if (Focus() == hTarget) return true;
    }
    return false;
}

std::string CWizardDriver::Text(HWND hWnd) {
    char szText[1024] = {};
    DWORD_PTR dwLength = 0;
    if (!::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText), SMTO_NORMAL,
                               kSendTimeoutMs, &dwLength))
        return std::string();
    return std::string(szText, dwLength < sizeof szText ? dwLength : sizeof szText - 1);
}

std::string CWizardDriver::MessageText(HWND hMessageBox) {
    HWND hText = ::GetDlgItem(hMessageBox, kMessageTextControl);
    return hText ? Text(hText) : std::string();
}

bool CWizardDriver::SaveScreenshot(HWND hWnd, const std::string& strPath, HWND hAlso) {
    RECT rect = {};
    if (!::GetWindowRect(hWnd, &rect)) return false;
    RECT other = {};
    if (hAlso && ::GetWindowRect(hAlso, &other)) ::UnionRect(&rect, &rect, &other);
    const int nWidth = rect.right - rect.left, nHeight = rect.bottom - rect.top;
    if (nWidth <= 0 || nHeight <= 0) return false;

    CWindowDC screen(nullptr);
    CMemoryDC memory(::CreateCompatibleDC(screen.GetSafeHdc()));
    CGdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.GetSafeHdc(), nWidth, nHeight));
    if (!memory.IsValid() || !bitmap.IsValid()) return false;
    {
        CSelectObject select(memory.GetUnsafe(), bitmap.GetUnsafe());
        if (!::BitBlt(memory.GetUnsafe(), 0, 0, nWidth, nHeight, screen.GetSafeHdc(), rect.left, rect.top, SRCCOPY))
            return false;
    }

    BITMAPINFOHEADER header = {sizeof header, nWidth, nHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD cbRow = (static_cast<DWORD>(nWidth) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(cbRow * static_cast<DWORD>(nHeight));
    const int nRows = ::GetDIBits(memory.GetUnsafe(), bitmap.GetUnsafe(), 0, static_cast<UINT>(nHeight),
                                  pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    return nRows == nHeight && WriteBitmap(strPath, header, pixels);
}
