#include "wizard_driver.h"

#include <vector>

#include "framework/gdi.h"

namespace {

constexpr int kNextButton = 12324;
constexpr int kMessageTextControl = 0xFFFF;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 10000;

struct WindowSearch {
    DWORD dwProcessId;
    HWND hExcept;
    int nRequiredControl;  // 0: any
    HWND hFound;
};

BOOL CALLBACK CheckTopLevelWindow(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwOwner = 0;
    ::GetWindowThreadProcessId(hWnd, &dwOwner);
    if (dwOwner != pSearch->dwProcessId || hWnd == pSearch->hExcept || !::IsWindowVisible(hWnd)) return TRUE;
    if (pSearch->nRequiredControl && !::GetDlgItem(hWnd, pSearch->nRequiredControl)) return TRUE;
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

bool CWizardDriver::Start(const std::string& strProgram) {
    const std::string strDirectory = strProgram.substr(0, strProgram.find_last_of('\\') + 1);
    std::string strCommandLine = "\"" + strProgram + "\"";
    std::vector<char> commandLine(strCommandLine.begin(), strCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          strDirectory.empty() ? nullptr : strDirectory.c_str(), &startup, &process))
        return false;
    m_hProcess.Reset(process.hProcess);
    ::CloseHandle(process.hThread);
    m_dwProcessId = process.dwProcessId;
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
        WindowSearch search = {m_dwProcessId, nullptr, kNextButton, nullptr};
        ::EnumWindows(&CheckTopLevelWindow, reinterpret_cast<LPARAM>(&search));
        return search.hFound;
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
        WindowSearch search = {m_dwProcessId, m_hFrame, 0, nullptr};
        ::EnumWindows(&CheckTopLevelWindow, reinterpret_cast<LPARAM>(&search));
        return search.hFound;
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
