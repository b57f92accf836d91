// Seconds to reference time and back, and the drawing rectangle's edges.
#include "units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(SecondsToReferenceTime, TruncatesTowardZeroToWholeSeconds)
{
    struct Case {
        double seconds;
        int64_t expected;
    };
    const Case cases[] = {
        {12.9, 120000000}, {3.0, 30000000},   {-0.5, 0},          {0.0, 0},
        {-2.7, -20000000}, {0.999, 0},        {5400.0, 54000000000},
    };
    for (const Case& c : cases) EXPECT_EQ(SecondsToReferenceTime(c.seconds), c.expected) << c.seconds;
}

TEST(SecondsToReferenceTime, HoldsOutOfRangeValuesAtTheEnds)
{
    const int64_t top = (INT64_MAX / REFERENCE_TIME_PER_SECOND) * REFERENCE_TIME_PER_SECOND;
    EXPECT_EQ(SecondsToReferenceTime(1e300), top);
    EXPECT_EQ(SecondsToReferenceTime(std::numeric_limits<double>::infinity()), top);
    EXPECT_EQ(SecondsToReferenceTime(-1e300), -top);
    EXPECT_EQ(SecondsToReferenceTime(std::nan("")), 0);
}

TEST(ReferenceTimeToSeconds, DividesIntoFloatSeconds)
{
    EXPECT_FLOAT_EQ(ReferenceTimeToSeconds(25000000), 2.5f);
    EXPECT_FLOAT_EQ(ReferenceTimeToSeconds(54000000000), 5400.0f);
    EXPECT_FLOAT_EQ(ReferenceTimeToSeconds(-10000000), -1.0f);
    EXPECT_EQ(ReferenceTimeToSeconds(0), 0.0f);
}

TEST(SaturatedSum, AddsAndHoldsAtThe32BitEnds)
{
    EXPECT_EQ(SaturatedSum(10, 300), 310);
    EXPECT_EQ(SaturatedSum(20, -30), -10);
    EXPECT_EQ(SaturatedSum(INT32_MAX, 1), INT32_MAX);
    EXPECT_EQ(SaturatedSum(INT32_MIN, -1), INT32_MIN);
}
