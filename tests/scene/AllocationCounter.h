// Counts the bytes this test program holds through operator new, and the most it has held
// since a mark, so a test can bound what a piece of code allocates at its peak.
#pragma once

#include <cstddef>

namespace allocation {

// Starts a new peak at what is held now.
void MarkPeak();

// The most held since the last mark, beyond what was held at the mark.
std::size_t PeakSinceMark();

}  // namespace allocation
