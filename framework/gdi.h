// Owners for the GDI objects and cursor states the dialogs use, released on every path.
#pragma once

#include <windows.h>

#include "framework/scoped_handle.h"

// Owners of GDI objects and memory device contexts, in the handle owner's terms.
template <typename Object>
struct GdiObjectTraits {
    using Handle = Object;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};
template <typename Object>
using CGdiObject = CScopedHandle<GdiObjectTraits<Object>>;  // CreateSolidBrush, CreateCompatibleBitmap, ...

struct MemoryDCTraits {
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DeleteDC(h); }
};
using CMemoryDC = CScopedHandle<MemoryDCTraits>;  // CreateCompatibleDC

// A solid brush, deleted with its owner.
class CBrush {
public:
    // Replaces any brush held before. False when GDI cannot make the brush.
    bool CreateSolidBrush(COLORREF color) {
        m_brush.Reset(::CreateSolidBrush(color));
        return m_brush.IsValid();
    }
    // Still owned here; null before a successful CreateSolidBrush.
    HBRUSH GetSafeHandle() const { return m_brush.GetUnsafe(); }

private:
    CGdiObject<HBRUSH> m_brush;
};

// The wait cursor while the owner lives; the previous cursor afterwards. A window that
// handles messages meanwhile must answer WM_SETCURSOR with it too, or a mouse move sets the
// window's own cursor back.
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

// The device context of a window (the whole screen for null), released with its owner.
class CWindowDC {
public:
    explicit CWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CWindowDC() {
        if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// Selects an object into a device context for the owner's lifetime.
class CSelectObject {
public:
    CSelectObject(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hPrevious(::SelectObject(hDC, hObject)) {}
    ~CSelectObject() { ::SelectObject(m_hDC, m_hPrevious); }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious;
};
