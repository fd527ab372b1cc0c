#include "framework/controls.h"

#include <vector>

RECT CControl::GetRectInParent() const {
    RECT rect = {};
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string CListBox::GetText(int nIndex) const {
    const LRESULT nLength = ::SendMessageA(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == LB_ERR) return std::string();
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    ::SendMessageA(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::string GetWindowTextString(HWND hWnd) {
    const int nLength = ::GetWindowTextLengthA(hWnd);
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
    const int nCopied = ::GetWindowTextA(hWnd, buffer.data(), nLength + 1);
    return std::string(buffer.data(), static_cast<size_t>(nCopied > 0 ? nCopied : 0));
}
