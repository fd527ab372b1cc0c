// Owners for the GDI objects and cursor states the dialogs use, released on every path.
#pragma once

#include <windows.h>

// A solid brush, deleted with its owner.
class CBrush {
public:
    CBrush() = default;
    ~CBrush() { Delete(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    // Replaces any brush held before. False when GDI cannot make the brush.
    bool CreateSolidBrush(COLORREF color) {
        Delete();
        m_hBrush = ::CreateSolidBrush(color);
        return m_hBrush != nullptr;
    }
    // Still owned here; null before a successful CreateSolidBrush.
    HBRUSH GetSafeHandle() const { return m_hBrush; }

private:
    void Delete() {
        if (m_hBrush) ::DeleteObject(m_hBrush);
        m_hBrush = nullptr;
    }
    HBRUSH m_hBrush = nullptr;
};

// The wait cursor while the owner lives (the installation blocks the thread, so no message
// would set it back); the previous cursor afterwards.
class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};

// BeginPaint/EndPaint around a WM_PAINT handler.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_paint)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_paint); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_paint = {};
    HDC m_hDC;
};
