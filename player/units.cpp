#include "units.h"

#include <cmath>

int64_t SecondsToReferenceTime(double seconds)
{
    // Largest whole number of seconds whose reference time fits in 64 bits.
    constexpr double kLimit = static_cast<double>(INT64_MAX / REFERENCE_TIME_PER_SECOND);
    if (std::isnan(seconds)) return 0;
    const double whole = std::trunc(seconds);
    if (whole >= kLimit) return static_cast<int64_t>(kLimit) * REFERENCE_TIME_PER_SECOND;
    if (whole <= -kLimit) return -static_cast<int64_t>(kLimit) * REFERENCE_TIME_PER_SECOND;
    return static_cast<int64_t>(whole) * REFERENCE_TIME_PER_SECOND;
}

float ReferenceTimeToSeconds(int64_t time)
{
    return static_cast<float>(static_cast<double>(time) / static_cast<double>(REFERENCE_TIME_PER_SECOND));
}

int32_t SaturatedSum(int32_t origin, int32_t extent)
{
    const int64_t sum = static_cast<int64_t>(origin) + extent;
    if (sum > INT32_MAX) return INT32_MAX;
    if (sum < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(sum);
}
