#pragma once

namespace sys {

// Milliseconds from a fixed point of this run, as a monotonic tick counter.
double tickCountMs();

} // namespace sys
