// This process's memory as the kernel counts it, for the benchmarks that report memory.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:") as MB; -1 when it is not there.
inline double statusMegabytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::strtod(line.c_str() + std::string(field).size(), nullptr) / 1024.0;
        }
    }
    return -1;
}

inline double residentMb() {
    return statusMegabytes("VmRSS:");
}
