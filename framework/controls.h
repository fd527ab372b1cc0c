// Borrowed views of a dialog's child controls, bound by data exchange. They never own or
// destroy the window: the dialog does.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CControl {
public:
    CControl() = default;
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Moves the control (rectangle in its parent's client coordinates) and repaints it.
    void MoveWindow(const RECT& rect) const {
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    // The control's window rectangle in the client coordinates of its parent.
    RECT GetRectInParent() const;

protected:
    HWND m_hWnd = nullptr;
};

class CListBox : public CControl {
public:
    // The index of the new entry, or LB_ERR.
    int AddString(const char* pszText) const {
        return static_cast<int>(::SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText)));
    }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }
    // The selected entry's index, or LB_ERR (-1) when nothing is selected.
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0)); }
    std::string GetText(int nIndex) const;
};

class CComboBox : public CControl {
public:
    // The index of the new entry (added at the end unless the box sorts), or CB_ERR.
    int AddString(const char* pszText) const {
        return static_cast<int>(::SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText)));
    }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    // The selected entry's index, or CB_ERR (-1) when nothing is selected.
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    void SetCurSel(int nIndex) const { ::SendMessageA(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0); }
};

class CProgressCtrl : public CControl {
public:
    void SetPos(int nPosition) const { ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(nPosition), 0); }
    int GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }
};

// The text of any window, however long.
std::string GetWindowTextString(HWND hWnd);
