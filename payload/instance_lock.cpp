#include "payload/instance_lock.h"

namespace {

// "Global\" reaches the mutex from every terminal-services session, so an installation that a
// deployment service runs as SYSTEM and one that a user starts see each other.
constexpr char kMutexName[] = "Global\\Q73 printer setup";

}  // namespace

bool CInstanceLock::Acquire() {
    m_hMutex.Reset(::CreateMutexA(nullptr, TRUE, kMutexName));
    if (!m_hMutex.IsValid()) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        m_hMutex.Reset();  // owned by the other run
        return false;
    }
    return true;
}
