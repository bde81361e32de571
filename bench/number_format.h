#pragma once
// How the benchmark tables print times and ratios.
#include <cstdio>
#include <string>

namespace veltrano::bench {

inline std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

inline std::string Time(double ms) {
    if (ms >= 1000) return Format("%.2f s", ms / 1000);
    if (ms >= 100) return Format("%.0f ms", ms);
    if (ms >= 10) return Format("%.1f ms", ms);
    return Format("%.2f ms", ms);
}

inline std::string Ratio(double r) {
    return r >= 100 ? Format("%.0f×", r) : r >= 10 ? Format("%.1f×", r) : Format("%.2f×", r);
}

}  // namespace veltrano::bench
