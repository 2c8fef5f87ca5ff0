// A bar dragged along its row: the cost of each mouse move against a bare XOR outline loop, and
// the drag's start and drop against bare peers on the same frame (case d).
#pragma once

#include "report.h"
#include "stopwatch.h"

namespace vbench {

// Each round drags the bar there and back once, by the library and by the bare loop.
void RunDragCase(const Effort& effort, Report* report);

}  // namespace vbench
