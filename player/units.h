// Conversions between the units scripts use and those of the graph and the
// surface. Pure computation, also built natively for tests.
#pragma once

#include <cstdint>

// Reference time: signed 64-bit counts of 100 ns.
constexpr int64_t REFERENCE_TIME_PER_SECOND = 10000000;

// Seconds truncated toward zero to a whole second, then in reference time
// (12.9 gives 120,000,000). Values beyond the range of reference time are
// held at its ends, and NaN gives 0.
int64_t SecondsToReferenceTime(double seconds);

// A time read from the graph, in seconds, as the 32-bit float scripts get.
float ReferenceTimeToSeconds(int64_t time);

// origin + extent, held within 32 bits instead of wrapping around.
int32_t SaturatedSum(int32_t origin, int32_t extent);
