#pragma once

#include <cstddef>

// Counts the bytes that operator new hands out in this program, so that a benchmark can
// report the peak memory of an operation.
std::size_t LiveAllocatedBytes();
// The most bytes live at once since the last ResetAllocationPeak.
std::size_t PeakAllocatedBytes();
void ResetAllocationPeak();
