#include "number_convert.h"

#include <cmath>

float FileSizeToFloat(std::uint64_t size)
{
    // Rounded in integers: a 32-bit process may run with the x87 set to
    // double or single precision, which would round a direct conversion
    // twice or differently.
    if ((size >> 24) == 0)
        return static_cast<float>(static_cast<std::uint32_t>(size));

    int bits = 0;
    for (std::uint64_t rest = size; rest != 0; rest >>= 1)
        ++bits;
    const int shift = bits - 24;
    std::uint64_t kept = size >> shift;
    const std::uint64_t dropped = size & ((std::uint64_t(1) << shift) - 1);
    const std::uint64_t half = std::uint64_t(1) << (shift - 1);
    if (dropped > half || (dropped == half && (kept & 1) != 0))
        ++kept;  // may reach 2^24, still exact
    return std::ldexp(static_cast<float>(static_cast<std::uint32_t>(kept)), shift);
}

float ElapsedSeconds(std::uint64_t count, std::uint64_t frequency)
{
    if (frequency == 0)
        return 0.0f;
    const double seconds = static_cast<double>(count) / static_cast<double>(frequency);
    return static_cast<float>(seconds);
}
