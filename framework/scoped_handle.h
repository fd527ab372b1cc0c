// Non-copyable owners for Win32 handles, closed on every path.
#pragma once

#include <windows.h>

#include "framework/system_dlls.h"

template <typename Traits>
class CScopedHandle {
public:
    using Handle = typename Traits::Handle;

    CScopedHandle() : m_h(Traits::Invalid()) {}
    explicit CScopedHandle(Handle h) : m_h(h) {}
    ~CScopedHandle() { Close(); }
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;
    CScopedHandle(CScopedHandle&& other) noexcept : m_h(other.Release()) {}
    CScopedHandle& operator=(CScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    bool IsValid() const { return m_h != Traits::Invalid(); }
    void Reset(Handle h = Traits::Invalid()) {
        Close();
        m_h = h;
    }
    Handle Release() {
        Handle h = m_h;
        m_h = Traits::Invalid();
        return h;
    }
    // The raw handle, still owned here: do not close it.
    Handle GetUnsafe() const { return m_h; }
    // Closes the handle held and gives the address a creating call writes the new one to.
    Handle* Receive() {
        Reset();
        return &m_h;
    }

private:
    void Close() {
        if (IsValid()) Traits::Close(m_h);
    }
    Handle m_h;
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};

struct PrinterHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { system_dlls::ClosePrinter(h); }
};

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

using CFileHandle = CScopedHandle<FileHandleTraits>;     // CreateFileA
using CKernelHandle = CScopedHandle<KernelHandleTraits>; // processes, threads, events
using CFindHandle = CScopedHandle<FindHandleTraits>;     // FindFirstFileA
using CPrinterHandle = CScopedHandle<PrinterHandleTraits>; // OpenPrinterA, AddPrinterA
using CRegistryKey = CScopedHandle<RegistryKeyTraits>;     // RegOpenKeyExA, RegCreateKeyExA
