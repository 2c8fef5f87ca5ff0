// The benchmark's table: one row per case and bar count, the library's figure beside the bare
// one measured in the same run, and their ratio; then notes saying what each row compared.
#pragma once

#include <string>
#include <vector>

namespace vbench {

struct Row {
    std::string what;  // the case, e.g. "layout pass vs bare, same flags"
    int bars;          // N, the bars docked in the frame
    double library;    // median
    double bare;       // median
    double ratio;      // library / bare (0: none)
    std::string unit;  // of both figures, e.g. "ms/pass"
};

// A row of timings: both medians, and the median of the ratios of samples taken side by side
// (library[i] and bare[i] come from the same round).
Row Timed(std::string what, int bars, const std::vector<double>& library, const std::vector<double>& bare,
          std::string unit);
// A row of single figures (counts, bytes): the ratio of the two.
Row Counted(std::string what, int bars, double library, double bare, std::string unit);

class Report {
public:
    void Add(Row row);
    // A line printed under the table (how a case was measured, or why it could not be).
    void Note(std::string text);
    void Print() const;

private:
    std::vector<Row> rows_;
    std::vector<std::string> notes_;
};

}  // namespace vbench
