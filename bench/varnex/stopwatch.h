// Timing for the layout benchmark: the performance counter in milliseconds, medians, and the
// interleaving of the cases compared, so that whatever else the machine does falls on all alike.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace vbench {

// The performance counter now, in its own ticks.
LONGLONG Ticks();
// Milliseconds from one reading of Ticks() to a later one.
double Milliseconds(LONGLONG from, LONGLONG to);

// How long `body` takes, in milliseconds.
template <class Body>
double TimeMs(Body&& body) {
    const LONGLONG start = Ticks();
    body();
    return Milliseconds(start, Ticks());
}

// The median of the samples (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<double> samples);

// The median of library[i] / bare[i]: samples taken side by side, in one round, share whatever
// the machine was doing then, which the ratio cancels; over the shorter length, 0 for none.
double MedianRatio(const std::vector<double>& library, const std::vector<double>& bare);

// How much of a case to run: N bars, and `rounds` samples a side (one pass, one resize, one drag
// there and back each), the sides interleaved.
struct Effort {
    int bars;
    int rounds;
};

// Runs `repetitions` rounds; each round takes one sample of every case, in turn, forward in even
// rounds and backward in odd ones. Returns each case's samples, in the order of `cases`.
std::vector<std::vector<double>> Interleave(int repetitions, const std::vector<std::function<double()>>& cases);

}  // namespace vbench
