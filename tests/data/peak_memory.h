#pragma once
// How much resident memory a piece of work added at its peak, from the kernel's own count:
// the peak (VmHWM) is reset before the work and read after it.
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace test_memory {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); -1 when it can't be read.
inline long long StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) != 0) continue;
        std::istringstream rest(line.substr(field.size() + 1));
        long long kb = -1;
        rest >> kb;
        return kb < 0 ? -1 : kb * 1024;
    }
    return -1;
}

// The peak resident memory while `work` ran, less what was resident before it; -1 when the
// peak can't be reset (the caller then has no figure to hold).
inline long long PeakGrowth(const std::function<void()>& work) {
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";
        if (!reset.flush()) return -1;
    }
    const long long before = StatusBytes("VmRSS");
    work();
    const long long peak = StatusBytes("VmHWM");
    if (before < 0 || peak < 0) return -1;
    // The kernel's counts lag by a few pages: no growth may read as a little less than none.
    return peak > before ? peak - before : 0;
}

}  // namespace test_memory
