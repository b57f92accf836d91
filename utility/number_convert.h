// Conversions of the module's 64-bit counts to the host's 32-bit floats.
#pragma once

#include <cstdint>

// The nearest float to the size, ties to even; exact up to 2^24.
float FileSizeToFloat(std::uint64_t size);

// count / frequency in double, then the nearest float; 0 when the
// frequency is 0 (the stopwatch was never started).
float ElapsedSeconds(std::uint64_t count, std::uint64_t frequency);
