// The peak private bytes of another process (PROCESS_MEMORY_COUNTERS.PeakPagefileUsage),
// sampled while it runs.
//
// Under Wine (8.0, checked) the counter is the process's private resident memory at the
// moment it is read, not a peak: it falls again when memory is freed, and reads 0 once the
// process has ended, even through a handle still open. On Windows it is the peak. Sampling
// every few milliseconds while the process runs and keeping the largest value gives the
// peak on both.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "framework/scoped_handle.h"

class CPeakMemorySampler {
public:
    // Starts sampling process dwProcessId at once.
    explicit CPeakMemorySampler(DWORD dwProcessId);
    // Stops sampling.
    ~CPeakMemorySampler();
    CPeakMemorySampler(const CPeakMemorySampler&) = delete;
    CPeakMemorySampler& operator=(const CPeakMemorySampler&) = delete;

    // The largest value read so far, in bytes; 0 when none could be read.
    SIZE_T Peak() const { return m_cbPeak.load(); }
    // How many samples were read.
    unsigned Samples() const { return m_nSamples.load(); }

private:
    void Run();

    CKernelHandle m_hProcess;
    std::atomic<bool> m_bStop{false};
    std::atomic<SIZE_T> m_cbPeak{0};
    std::atomic<unsigned> m_nSamples{0};
    std::thread m_thread;
};
