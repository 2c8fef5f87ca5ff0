// The layout pass and the frame resize, each against the bare window moves it makes, and the
// messages a pass sends per bar.
#pragma once

#include "report.h"
#include "stopwatch.h"

namespace vbench {

// RecalcFrame against the same moves in a bare batch, with the library's flags and with plain
// ones; and the messages a pass sends (cases a and c).
void RunLayoutPassCase(const Effort& effort, Report* report);

// The frame resized by SetWindowPos, attached, against its unattached twin resized the same way
// with the library's moves replayed (case b).
void RunResizeCase(const Effort& effort, Report* report);

}  // namespace vbench
