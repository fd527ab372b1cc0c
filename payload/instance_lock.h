// Only one setup or uninstaller of the printer runs at a time, across every session of the
// machine: both hold a named mutex of the global namespace while they run.
#pragma once

#include "framework/scoped_handle.h"

class CInstanceLock {
public:
    // Takes the lock. False when another process holds it, or the mutex cannot be had (then
    // this run may not change the system either).
    bool Acquire();

private:
    CKernelHandle m_hMutex;
};
