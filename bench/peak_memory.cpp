#include "peak_memory.h"

#include <psapi.h>

namespace {
constexpr DWORD kSampleIntervalMs = 2;
}

CPeakMemorySampler::CPeakMemorySampler(DWORD dwProcessId)
    : m_hProcess(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, dwProcessId)),
      m_thread(&CPeakMemorySampler::Run, this) {}

CPeakMemorySampler::~CPeakMemorySampler() {
    m_bStop = true;
    m_thread.join();
}

void CPeakMemorySampler::Run() {
    while (!m_bStop && m_hProcess.IsValid()) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (::GetProcessMemoryInfo(m_hProcess.GetUnsafe(), &counters, sizeof counters) && counters.PeakPagefileUsage) {
            if (counters.PeakPagefileUsage > m_cbPeak) m_cbPeak = counters.PeakPagefileUsage;
            ++m_nSamples;
        }
        if (::WaitForSingleObject(m_hProcess.GetUnsafe(), kSampleIntervalMs) != WAIT_TIMEOUT) break;  // ended
    }
}
