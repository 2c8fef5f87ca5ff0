#include "report.h"

#include <cstdio>
#include <utility>

#include "stopwatch.h"

namespace vbench {

Row Timed(std::string what, int bars, const std::vector<double>& library, const std::vector<double>& bare,
          std::string unit) {
    return {std::move(what), bars, Median(library), Median(bare), MedianRatio(library, bare), std::move(unit)};
}

Row Counted(std::string what, int bars, double library, double bare, std::string unit) {
    return {std::move(what), bars, library, bare, bare > 0 ? library / bare : 0, std::move(unit)};
}

void Report::Add(Row row) { rows_.push_back(std::move(row)); }

void Report::Note(std::string text) { notes_.push_back(std::move(text)); }

void Report::Print() const {
    std::printf("%-34s %4s %12s %12s %8s  %s\n", "case", "N", "library", "bare", "ratio", "unit");
    for (const Row& r : rows_) {
        char ratio[32] = "-";
        if (r.ratio > 0) std::snprintf(ratio, sizeof ratio, "%.2fx", r.ratio);
        std::printf("%-34s %4d %12.3f %12.3f %8s  %s\n", r.what.c_str(), r.bars, r.library, r.bare, ratio,
                    r.unit.c_str());
    }
    std::printf("\nlibrary, bare: medians. ratio: library / bare, above 1 when the library costs more; for times\n"
                "the median of the ratios of the samples taken side by side in each round, for counts and bytes\n"
                "the ratio of the two figures.\n");
    for (const std::string& note : notes_) std::printf("%s\n", note.c_str());
    std::fflush(stdout);
}

}  // namespace vbench
