#include "stopwatch.h"

#include <algorithm>
#include <utility>

namespace vbench {

LONGLONG Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG from, LONGLONG to) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(to - from) / ticksPerMs;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double MedianRatio(const std::vector<double>& library, const std::vector<double>& bare) {
    std::vector<double> ratios;
    for (size_t i = 0; i < library.size() && i < bare.size(); ++i)
        if (bare[i] > 0) ratios.push_back(library[i] / bare[i]);
    return Median(std::move(ratios));
}

std::vector<std::vector<double>> Interleave(int repetitions, const std::vector<std::function<double()>>& cases) {
    std::vector<std::vector<double>> samples(cases.size());
    for (int round = 0; round < repetitions; ++round) {
        for (size_t i = 0; i < cases.size(); ++i) {
            const size_t which = round % 2 ? cases.size() - 1 - i : i;
            samples[which].push_back(cases[which]());
        }
    }
    return samples;
}

}  // namespace vbench
