// Heap bytes per docked bar, against the bytes of the bar's window itself (case e).
#pragma once

#include "report.h"

namespace vbench {

void RunHeapCase(int bars, Report* report);

}  // namespace vbench
