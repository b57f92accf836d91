#include "frame_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <sstream>
#include <tuple>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

// Test names and messages show the path by name.
std::ostream& operator<<(std::ostream& os, ConvertPath path) { return os << ConvertPathName(path); }

namespace {

constexpr uint8_t kSentinel = 0xA5;
constexpr uint8_t kPad = 0xEE;
constexpr int32_t kTexture = 1024;

// Each test forces every path, so the ones this CPU would not pick are
// tested too; a path the CPU lacks is skipped.
const ConvertPath kAllPaths[] = {ConvertPath::kReference, ConvertPath::kScalar,
                                 ConvertPath::kSsse3, ConvertPath::kAvx2};
const ConvertPath kFastPaths[] = {ConvertPath::kScalar, ConvertPath::kSsse3, ConvertPath::kAvx2};

// Blue, green and red of the pixel at memory row i, column c of a generated
// frame; distinct enough that a wrong row, column or channel shows.
uint8_t Blue(int64_t i, int64_t c) { return static_cast<uint8_t>(i * 7 + c * 3 + 1); }
uint8_t Green(int64_t i, int64_t c) { return static_cast<uint8_t>(i * 13 + c * 5 + 2); }
uint8_t Red(int64_t i, int64_t c) { return static_cast<uint8_t>(i * 3 + c * 11 + 3); }

// A bottom-up BGR frame of exactly `length` bytes (the full geometry when
// length is negative), padding bytes set to kPad.
std::vector<uint8_t> MakeFrame(int32_t w, int32_t h, int32_t bpp = 3, int64_t length = -1) {
  const int64_t stride = DibStride(w, bpp);
  const int64_t full = stride * h;
  std::vector<uint8_t> frame(static_cast<size_t>(length < 0 ? full : length), kPad);
  for (int64_t i = 0; i < h; ++i) {
    for (int64_t c = 0; c < w; ++c) {
      const int64_t at = i * stride + c * 3;
      if (at + 0 < static_cast<int64_t>(frame.size())) frame[at + 0] = Blue(i, c);
      if (at + 1 < static_cast<int64_t>(frame.size())) frame[at + 1] = Green(i, c);
      if (at + 2 < static_cast<int64_t>(frame.size())) frame[at + 2] = Red(i, c);
    }
  }
  return frame;
}

std::vector<uint8_t> MakeDest(int32_t dw, int32_t dh, uint8_t fill = kSentinel) {
  return std::vector<uint8_t>(static_cast<size_t>(dw) * dh * 4, fill);
}

void Convert(const std::vector<uint8_t>& src, int32_t w, int32_t h, int32_t bpp,
             std::vector<uint8_t>& dest, int32_t dw, int32_t dh) {
  ConvertFrame(src.data(), static_cast<int32_t>(src.size()), w, h, bpp, dest.data(), dw, dh);
}

struct Rgba {
  uint8_t r, g, b, a;
};

Rgba At(const std::vector<uint8_t>& dest, int32_t dw, int64_t x, int64_t y) {
  const uint8_t* p = dest.data() + (y * dw + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

bool IsSentinel(const std::vector<uint8_t>& dest, int32_t dw, int64_t x, int64_t y) {
  const Rgba p = At(dest, dw, x, y);
  return p.r == kSentinel && p.g == kSentinel && p.b == kSentinel && p.a == kSentinel;
}

// Checks that dest holds, at its top-left, the ow x oh picture sampled from a
// generated w x h frame, and the sentinel everywhere else. Rows for which
// rowWritten is false must be untouched too.
template <typename RowWritten>
void ExpectPicture(const std::vector<uint8_t>& dest, int32_t dw, int32_t dh, int64_t w, int64_t h,
                   int64_t ow, int64_t oh, RowWritten rowWritten) {
  int64_t failures = 0;
  for (int64_t y = 0; y < dh && failures < 10; ++y) {
    const bool written = y < oh && rowWritten(y);
    for (int64_t x = 0; x < dw && failures < 10; ++x) {
      if (written && x < ow) {
        const int64_t i = h - 1 - y * h / oh;
        const int64_t c = x * w / ow;
        const Rgba p = At(dest, dw, x, y);
        if (p.r != Red(i, c) || p.g != Green(i, c) || p.b != Blue(i, c) || p.a != 255) {
          ADD_FAILURE() << "wrong pixel at (" << x << ", " << y << ")";
          ++failures;
        }
      } else if (!IsSentinel(dest, dw, x, y)) {
        ADD_FAILURE() << "pixel outside the picture changed at (" << x << ", " << y << ")";
        ++failures;
      }
    }
  }
}

void ExpectPicture(const std::vector<uint8_t>& dest, int32_t dw, int32_t dh, int64_t w, int64_t h,
                   int64_t ow, int64_t oh) {
  ExpectPicture(dest, dw, dh, w, h, ow, oh, [](int64_t) { return true; });
}

// ---------------------------------------------------------------------------

struct StrideCase {
  int32_t width;
  int32_t bpp;
  int32_t stride;
};

std::ostream& operator<<(std::ostream& os, const StrideCase& t) {
  return os << t.width << "x" << t.bpp << "_to_" << t.stride;
}

class DibStrideTest : public ::testing::TestWithParam<StrideCase> {};

TEST_P(DibStrideTest, PadsRowsToFourBytes) {
  const StrideCase& t = GetParam();
  EXPECT_EQ(DibStride(t.width, t.bpp), t.stride) << t.width << " x " << t.bpp;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DibStrideTest,
    ::testing::Values(StrideCase{1, 3, 4}, StrideCase{2, 3, 8}, StrideCase{3, 3, 12},
                      StrideCase{4, 3, 12}, StrideCase{5, 3, 16}, StrideCase{320, 3, 960},
                      StrideCase{322, 3, 968}, StrideCase{854, 3, 2564},
                      StrideCase{1920, 3, 5760}, StrideCase{1, 4, 4}, StrideCase{3, 4, 12},
                      StrideCase{1, 1, 4}, StrideCase{0, 3, 0}, StrideCase{-1, 3, 0},
                      StrideCase{3, 0, 0}, StrideCase{3, -3, 0},
                      StrideCase{std::numeric_limits<int32_t>::min(), 3, 0},
                      // Largest products that still fit, and the first that do not.
                      StrideCase{536870911, 4, 2147483644}, StrideCase{536870912, 4, 0},
                      StrideCase{715827882, 3, 0}, StrideCase{715827881, 3, 2147483644},
                      StrideCase{std::numeric_limits<int32_t>::max(), 3, 0},
                      StrideCase{std::numeric_limits<int32_t>::max(), 1, 0}));

// ---------------------------------------------------------------------------

TEST(ConvertFrame, TwoByTwoExample) {
  // Stride 8: each 6-byte row is padded with two bytes.
  const std::vector<uint8_t> src = {10, 20, 30, 40, 50, 60, kPad, kPad,
                                    70, 80, 90, 100, 110, 120, kPad, kPad};
  std::vector<uint8_t> dest = MakeDest(kTexture, kTexture);
  Convert(src, 2, 2, 3, dest, kTexture, kTexture);

  const uint8_t top[] = {90, 80, 70, 255, 120, 110, 100, 255};
  const uint8_t bottom[] = {30, 20, 10, 255, 60, 50, 40, 255};
  EXPECT_EQ(0, std::memcmp(dest.data(), top, sizeof top));
  EXPECT_EQ(0, std::memcmp(dest.data() + kTexture * 4, bottom, sizeof bottom));

  // Every other byte keeps its value.
  std::vector<uint8_t> expected = MakeDest(kTexture, kTexture);
  std::memcpy(expected.data(), top, sizeof top);
  std::memcpy(expected.data() + kTexture * 4, bottom, sizeof bottom);
  EXPECT_TRUE(dest == expected);
}

TEST(ConvertFrame, TwoByTwoLastRowNeedsNoPadding) {
  // The last row in memory may end right after its pixels.
  const std::vector<uint8_t> src = {10, 20, 30, 40, 50, 60, kPad, kPad, 70, 80, 90, 100, 110, 120};
  std::vector<uint8_t> dest = MakeDest(kTexture, kTexture);
  Convert(src, 2, 2, 3, dest, kTexture, kTexture);
  const uint8_t top[] = {90, 80, 70, 255, 120, 110, 100, 255};
  const uint8_t bottom[] = {30, 20, 10, 255, 60, 50, 40, 255};
  EXPECT_EQ(0, std::memcmp(dest.data(), top, sizeof top));
  EXPECT_EQ(0, std::memcmp(dest.data() + kTexture * 4, bottom, sizeof bottom));
}

// ---------------------------------------------------------------------------

// Frames that fit are written as they are (ow x oh = w x h); larger ones are
// scaled down to ow x oh. Every path must draw the same picture.
struct GeometryCase {
  int32_t w, h;
  int32_t dw, dh;
  int32_t ow, oh;
};

std::ostream& operator<<(std::ostream& os, const GeometryCase& t) {
  return os << t.w << "x" << t.h << "_into_" << t.dw << "x" << t.dh << "_to_" << t.ow << "x" << t.oh;
}

class GeometryTest : public ::testing::TestWithParam<std::tuple<ConvertPath, GeometryCase>> {};

TEST_P(GeometryTest, WritesThePictureAtTopLeftOnly) {
  const ConvertPath path = std::get<0>(GetParam());
  const GeometryCase& t = std::get<1>(GetParam());
  if (!ConvertPathAvailable(path)) GTEST_SKIP() << ConvertPathName(path) << " not on this CPU";
  const std::vector<uint8_t> src = MakeFrame(t.w, t.h);
  std::vector<uint8_t> dest = MakeDest(t.dw, t.dh);
  ASSERT_TRUE(ConvertFrameWith(path, src.data(), static_cast<int32_t>(src.size()), t.w, t.h, 3,
                               dest.data(), t.dw, t.dh));
  ExpectPicture(dest, t.dw, t.dh, t.w, t.h, t.ow, t.oh);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GeometryTest,
    ::testing::Combine(
        ::testing::ValuesIn(kAllPaths),
        ::testing::Values(
            GeometryCase{1, 1, kTexture, kTexture, 1, 1}, GeometryCase{2, 2, kTexture, kTexture, 2, 2},
            GeometryCase{3, 5, kTexture, kTexture, 3, 5},
            // Multiple of 4 wide: no padding.
            GeometryCase{320, 240, kTexture, kTexture, 320, 240},
            // Padded widths.
            GeometryCase{322, 181, kTexture, kTexture, 322, 181},
            GeometryCase{854, 480, kTexture, kTexture, 854, 480},
            GeometryCase{1023, 1, kTexture, kTexture, 1023, 1},
            GeometryCase{1, 1023, kTexture, kTexture, 1, 1023},
            // Exactly the texture: fits, so no scaling.
            GeometryCase{1024, 1024, kTexture, kTexture, 1024, 1024},
            GeometryCase{1024, 7, kTexture, kTexture, 1024, 7},
            // Small and non-square destinations, where the row pitch differs.
            GeometryCase{3, 2, 5, 3, 3, 2}, GeometryCase{5, 3, 5, 3, 5, 3},
            GeometryCase{1, 1, 1, 1, 1, 1}, GeometryCase{7, 9, 13, 11, 7, 9},
            // Larger than dest: scaled down.
            GeometryCase{1920, 1080, kTexture, kTexture, 1024, 576},
            GeometryCase{1080, 1920, kTexture, kTexture, 576, 1024},
            GeometryCase{2048, 2048, kTexture, kTexture, 1024, 1024},
            GeometryCase{1025, 1024, kTexture, kTexture, 1024, 1023},
            GeometryCase{1024, 1025, kTexture, kTexture, 1023, 1024},
            GeometryCase{1280, 720, kTexture, kTexture, 1024, 576},
            GeometryCase{3840, 2160, kTexture, kTexture, 1024, 576},
            GeometryCase{4000, 10, kTexture, kTexture, 1024, 2},
            // The short side never drops below one pixel.
            GeometryCase{5000, 3, kTexture, kTexture, 1024, 1},
            GeometryCase{3, 5000, kTexture, kTexture, 1, 1024},
            // Only one side too large.
            GeometryCase{2000, 100, kTexture, kTexture, 1024, 51},
            GeometryCase{100, 2000, kTexture, kTexture, 51, 1024},
            GeometryCase{10, 4, 5, 3, 5, 2}, GeometryCase{6, 6, 4, 3, 3, 3},
            GeometryCase{9, 2, 1, 1, 1, 1},
            // Wider than the columns sampled at once.
            GeometryCase{4001, 9, 2100, 2100, 2100, 4})),
    [](const auto& info) {
      std::ostringstream name;
      name << ConvertPathName(std::get<0>(info.param)) << "_" << std::get<1>(info.param);
      return name.str();
    });

TEST(ConvertFrame, SmallerFrameAfterLargerLeavesTheRest) {
  std::vector<uint8_t> dest = MakeDest(kTexture, kTexture);
  const std::vector<uint8_t> large = MakeFrame(854, 480);
  Convert(large, 854, 480, 3, dest, kTexture, kTexture);
  const std::vector<uint8_t> afterLarge = dest;

  // A frame of other colours, so the overwritten part is told apart.
  const int32_t w = 322, h = 181;
  const int32_t stride = DibStride(w, 3);
  std::vector<uint8_t> small(static_cast<size_t>(stride) * h, kPad);
  for (int32_t i = 0; i < h; ++i) {
    for (int32_t c = 0; c < w; ++c) {
      small[i * stride + c * 3 + 0] = static_cast<uint8_t>(c);
      small[i * stride + c * 3 + 1] = static_cast<uint8_t>(i);
      small[i * stride + c * 3 + 2] = static_cast<uint8_t>(c + i);
    }
  }
  Convert(small, w, h, 3, dest, kTexture, kTexture);

  int failures = 0;
  for (int32_t y = 0; y < kTexture && failures < 10; ++y) {
    for (int32_t x = 0; x < kTexture && failures < 10; ++x) {
      const Rgba p = At(dest, kTexture, x, y);
      if (x < w && y < h) {
        const int32_t i = h - 1 - y;
        if (p.r != static_cast<uint8_t>(x + i) || p.g != static_cast<uint8_t>(i) ||
            p.b != static_cast<uint8_t>(x) || p.a != 255) {
          ADD_FAILURE() << "wrong pixel at (" << x << ", " << y << ")";
          ++failures;
        }
      } else {
        const uint8_t* was = afterLarge.data() + (static_cast<size_t>(y) * kTexture + x) * 4;
        if (std::memcmp(&p, was, 4) != 0) {
          ADD_FAILURE() << "pixel outside the new frame changed at (" << x << ", " << y << ")";
          ++failures;
        }
      }
    }
  }
}

TEST(ConvertFrame, WiderPixelsOnlyWidenTheStride) {
  // With 4 bytes a pixel the rows are further apart, but pixels are still
  // read 3 bytes apart from the row start.
  const int32_t w = 3, h = 2, bpp = 4;
  const int32_t stride = DibStride(w, bpp);
  ASSERT_EQ(stride, 12);
  std::vector<uint8_t> src(static_cast<size_t>(stride) * h);
  for (size_t k = 0; k < src.size(); ++k) src[k] = static_cast<uint8_t>(k + 1);
  std::vector<uint8_t> dest = MakeDest(4, 3);
  Convert(src, w, h, bpp, dest, 4, 3);

  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      if (x < w && y < h) {
        const int32_t at = (h - 1 - y) * stride + x * 3;
        const Rgba p = At(dest, 4, x, y);
        EXPECT_EQ(p.r, src[at + 2]) << x << "," << y;
        EXPECT_EQ(p.g, src[at + 1]) << x << "," << y;
        EXPECT_EQ(p.b, src[at + 0]) << x << "," << y;
        EXPECT_EQ(p.a, 255) << x << "," << y;
      } else {
        EXPECT_TRUE(IsSentinel(dest, 4, x, y)) << x << "," << y;
      }
    }
  }
}

// ---------------------------------------------------------------------------

TEST(ConvertFrame, FullHdIntoTextureSamplesKnownPixels) {
  const int32_t w = 1920, h = 1080;
  const std::vector<uint8_t> src = MakeFrame(w, h);
  std::vector<uint8_t> dest = MakeDest(kTexture, kTexture);
  Convert(src, w, h, 3, dest, kTexture, kTexture);

  // Output (x, y) samples column x * 1920 / 1024 of picture row y * 1080 / 576.
  struct Probe {
    int64_t x, y;
    int64_t column, pictureRow;
  };
  const Probe probes[] = {{0, 0, 0, 0},          {1, 0, 1, 0},        {2, 1, 3, 1},
                          {1023, 0, 1918, 0},    {0, 575, 0, 1078},   {1023, 575, 1918, 1078},
                          {512, 288, 960, 540},  {100, 7, 187, 13}};
  for (const Probe& p : probes) {
    const int64_t i = h - 1 - p.pictureRow;
    const Rgba got = At(dest, kTexture, p.x, p.y);
    EXPECT_EQ(got.r, Red(i, p.column)) << p.x << "," << p.y;
    EXPECT_EQ(got.g, Green(i, p.column)) << p.x << "," << p.y;
    EXPECT_EQ(got.b, Blue(i, p.column)) << p.x << "," << p.y;
    EXPECT_EQ(got.a, 255) << p.x << "," << p.y;
  }
  // Nothing below the picture.
  for (int64_t y = 576; y < kTexture; ++y) {
    for (int64_t x = 0; x < kTexture; ++x) {
      if (!IsSentinel(dest, kTexture, x, y)) {
        FAIL() << "written below the picture at (" << x << ", " << y << ")";
      }
    }
  }
}

// ---------------------------------------------------------------------------

struct ShortCase {
  int32_t w, h;
  int32_t dw, dh;
  int64_t length;  // bytes the sample holds
};

std::ostream& operator<<(std::ostream& os, const ShortCase& t) {
  return os << t.w << "x" << t.h << "_into_" << t.dw << "x" << t.dh << "_" << t.length << "B";
}

class ShortSampleTest : public ::testing::TestWithParam<ShortCase> {};

TEST_P(ShortSampleTest, ConvertsOnlyCompleteRows) {
  const ShortCase& t = GetParam();
  const std::vector<uint8_t> src = MakeFrame(t.w, t.h, 3, t.length);
  std::vector<uint8_t> dest = MakeDest(t.dw, t.dh);
  Convert(src, t.w, t.h, 3, dest, t.dw, t.dh);

  int64_t ow = t.w, oh = t.h;
  if (t.w > t.dw || t.h > t.dh) {
    if (static_cast<int64_t>(t.dw) * t.h <= static_cast<int64_t>(t.dh) * t.w) {
      ow = t.dw;
      oh = std::max<int64_t>(1, static_cast<int64_t>(t.h) * t.dw / t.w);
    } else {
      oh = t.dh;
      ow = std::max<int64_t>(1, static_cast<int64_t>(t.w) * t.dh / t.h);
    }
  }
  const int64_t stride = DibStride(t.w, 3);
  const int64_t w = t.w, h = t.h, length = t.length;
  ExpectPicture(dest, t.dw, t.dh, w, h, ow, oh, [&](int64_t y) {
    const int64_t i = h - 1 - y * h / oh;
    return i * stride + w * 3 <= length;
  });
}

// Memory row i of a w-wide frame is complete when length >= i * stride + w * 3.
INSTANTIATE_TEST_SUITE_P(
    Table, ShortSampleTest,
    ::testing::Values(
        // 2 x 2, stride 8: 6 bytes hold the bottom row, 13 still only that row.
        ShortCase{2, 2, kTexture, kTexture, 1}, ShortCase{2, 2, kTexture, kTexture, 5},
        ShortCase{2, 2, kTexture, kTexture, 6}, ShortCase{2, 2, kTexture, kTexture, 13},
        ShortCase{2, 2, kTexture, kTexture, 14},
        // 322 x 181, stride 968.
        ShortCase{322, 181, kTexture, kTexture, 968 * 100 + 966},
        ShortCase{322, 181, kTexture, kTexture, 968 * 100 + 965},
        ShortCase{322, 181, kTexture, kTexture, 968 * 180 + 965},
        ShortCase{322, 181, kTexture, kTexture, 968 * 180 + 966},
        ShortCase{322, 181, kTexture, kTexture, 967},
        // 320 x 240, stride 960, no padding.
        ShortCase{320, 240, kTexture, kTexture, 960 * 120},
        ShortCase{320, 240, kTexture, kTexture, 960 * 120 - 1},
        // Scaled: rows sampled from the missing part stay untouched.
        ShortCase{1920, 1080, kTexture, kTexture, 5760 * 500 + 5760},
        ShortCase{1920, 1080, kTexture, kTexture, 5760 * 1079 + 5759},
        ShortCase{1920, 1080, kTexture, kTexture, 100}));

TEST(ConvertFrame, ShortSampleKeepsBottomRowsOnly) {
  // 4 x 3 (stride 12) with 24 bytes: memory rows 0 and 1 are whole, which
  // are the bottom two picture rows, so dest row 0 stays untouched.
  const std::vector<uint8_t> src = MakeFrame(4, 3, 3, 24);
  std::vector<uint8_t> dest = MakeDest(8, 4);
  Convert(src, 4, 3, 3, dest, 8, 4);
  for (int x = 0; x < 8; ++x) EXPECT_TRUE(IsSentinel(dest, 8, x, 0)) << x;
  EXPECT_EQ(At(dest, 8, 0, 1).r, Red(1, 0));
  EXPECT_EQ(At(dest, 8, 3, 2).b, Blue(0, 3));
  EXPECT_TRUE(IsSentinel(dest, 8, 0, 3));
}

// ---------------------------------------------------------------------------

struct NothingCase {
  int32_t length;
  int32_t w, h;
  int32_t bpp;
  int32_t dw, dh;
};

std::ostream& operator<<(std::ostream& os, const NothingCase& t) {
  return os << t.length << "B_" << t.w << "x" << t.h << "x" << t.bpp << "_into_" << t.dw << "x" << t.dh;
}

class NothingWrittenTest
    : public ::testing::TestWithParam<std::tuple<ConvertPath, NothingCase>> {};

TEST_P(NothingWrittenTest, LeavesDestUntouched) {
  const ConvertPath path = std::get<0>(GetParam());
  const NothingCase& t = std::get<1>(GetParam());
  if (!ConvertPathAvailable(path)) GTEST_SKIP() << ConvertPathName(path) << " not on this CPU";
  // A source large enough for any sane geometry here; the length passed in
  // is what the conversion may use.
  const std::vector<uint8_t> src(4096, 0x11);
  const int32_t dw = 16, dh = 16;
  std::vector<uint8_t> dest = MakeDest(dw, dh);
  ASSERT_TRUE(ConvertFrameWith(path, src.data(), t.length, t.w, t.h, t.bpp, dest.data(), t.dw, t.dh));
  EXPECT_TRUE(dest == MakeDest(dw, dh));
}

INSTANTIATE_TEST_SUITE_P(
    Table, NothingWrittenTest,
    ::testing::Combine(::testing::ValuesIn(kAllPaths), ::testing::Values(NothingCase{0, 2, 2, 3, 16, 16}, NothingCase{-1, 2, 2, 3, 16, 16},
                      NothingCase{std::numeric_limits<int32_t>::min(), 2, 2, 3, 16, 16},
                      NothingCase{16, 0, 2, 3, 16, 16}, NothingCase{16, -2, 2, 3, 16, 16},
                      NothingCase{16, 2, 0, 3, 16, 16}, NothingCase{16, 2, -2, 3, 16, 16},
                      NothingCase{16, 2, 2, 0, 16, 16}, NothingCase{16, 2, 2, -3, 16, 16},
                      NothingCase{16, 2, 2, 1, 16, 16}, NothingCase{16, 2, 2, 2, 16, 16},
                      NothingCase{16, 2, 2, 3, 0, 16}, NothingCase{16, 2, 2, 3, 16, 0},
                      NothingCase{16, 2, 2, 3, -16, 16}, NothingCase{16, 2, 2, 3, 16, -16},
                      // Stride overflows int32.
                      NothingCase{4096, std::numeric_limits<int32_t>::max(), 1, 3, 16, 16},
                      // Length too short for even one row.
                      NothingCase{5, 2, 2, 3, 16, 16}, NothingCase{1, 1, 1, 3, 16, 16},
                      NothingCase{2, 1, 1, 3, 16, 16})));

TEST(ConvertFrame, NullPointersWriteNothing) {
  std::vector<uint8_t> dest = MakeDest(4, 4);
  ConvertFrame(nullptr, 16, 2, 2, 3, dest.data(), 4, 4);
  EXPECT_TRUE(dest == MakeDest(4, 4));
  const std::vector<uint8_t> src(16, 0x11);
  ConvertFrame(src.data(), 16, 2, 2, 3, nullptr, 4, 4);  // must not crash
}

TEST(ConvertFrame, HugeGeometryWithTinySampleStaysInBounds) {
  // A geometry claiming far more than the sample holds reads only the rows
  // that are present; with 12 bytes not one 1920-wide row is.
  const std::vector<uint8_t> src(12, 0x22);
  std::vector<uint8_t> dest = MakeDest(kTexture, kTexture);
  Convert(src, 1920, 1080, 3, dest, kTexture, kTexture);
  EXPECT_TRUE(dest == MakeDest(kTexture, kTexture));

  // Huge widths whose row alone passes int32: nothing is read or written.
  Convert(src, 400000000, 2, 3, dest, kTexture, kTexture);
  Convert(src, 1, std::numeric_limits<int32_t>::max(), 3, dest, kTexture, kTexture);
  EXPECT_TRUE(dest == MakeDest(kTexture, kTexture));
}

// ---------------------------------------------------------------------------
// Every fast path against the reference, byte for byte over the whole dest.

// Bytes with no pattern a wrong channel, column or row could still match.
void FillNoise(uint8_t* p, size_t n, uint32_t seed) {
  uint32_t s = seed * 2654435761u + 1;
  for (size_t k = 0; k < n; ++k) {
    s = s * 1664525u + 1013904223u;
    p[k] = static_cast<uint8_t>(s >> 24);
  }
}

// Runs path and the reference on the same sample into dests that start out
// alike; returns where they first differ, or -1.
int64_t FirstDifference(ConvertPath path, const uint8_t* src, int32_t length, int32_t w, int32_t h,
                        int32_t bpp, int32_t dw, int32_t dh) {
  std::vector<uint8_t> expected = MakeDest(dw, dh);
  std::vector<uint8_t> got = MakeDest(dw, dh);
  ConvertFrameReference(src, length, w, h, bpp, expected.data(), dw, dh);
  if (!ConvertFrameWith(path, src, length, w, h, bpp, got.data(), dw, dh)) return -2;
  const auto at = std::mismatch(expected.begin(), expected.end(), got.begin());
  return at.first == expected.end() ? -1 : at.first - expected.begin();
}

struct Dest {
  int32_t dw, dh;
};

class SameAsReferenceTest : public ::testing::TestWithParam<std::tuple<ConvertPath, int32_t>> {};

TEST_P(SameAsReferenceTest, ForEveryHeightStrideAndDest) {
  const ConvertPath path = std::get<0>(GetParam());
  const int32_t w = std::get<1>(GetParam());
  if (!ConvertPathAvailable(path)) GTEST_SKIP() << ConvertPathName(path) << " not on this CPU";
  const int32_t heights[] = {1, 2, 3, 17, 480};
  const int32_t bpps[] = {3, 4};
  // The texture (frames over 1024 wide are scaled), an exact fit, and one
  // half as wide, which scales every frame wider than a pixel.
  const Dest dests[] = {{kTexture, kTexture}, {w, 0}, {std::max(1, w / 2), kTexture}};
  for (const int32_t h : heights) {
    for (const int32_t bpp : bpps) {
      const int64_t length = int64_t{DibStride(w, bpp)} * h;
      // One byte in, so the source is misaligned as a sample may be.
      std::vector<uint8_t> buffer(static_cast<size_t>(length) + 1);
      FillNoise(buffer.data(), buffer.size(), static_cast<uint32_t>(w * 131 + h * 7 + bpp));
      for (const Dest& d : dests) {
        const int32_t dh = d.dh == 0 ? h : d.dh;
        for (const int32_t shift : {0, 1}) {
          EXPECT_EQ(FirstDifference(path, buffer.data() + shift, static_cast<int32_t>(length), w,
                                    h, bpp, d.dw, dh),
                    -1)
              << ConvertPathName(path) << " " << w << "x" << h << " bpp " << bpp << " into "
              << d.dw << "x" << dh << " shift " << shift;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, SameAsReferenceTest,
                         ::testing::Combine(::testing::ValuesIn(kFastPaths),
                                            ::testing::Values(1, 2, 3, 5, 15, 16, 17, 31, 320, 322,
                                                              640, 854, 1023, 1024, 1025, 1920)),
                         [](const auto& info) {
                           std::ostringstream name;
                           name << ConvertPathName(std::get<0>(info.param)) << "_"
                                << std::get<1>(info.param);
                           return name.str();
                         });

// A sample ending `delta` bytes after the pixels of memory row `row`.
struct SampleEndCase {
  int32_t w, h, bpp;
  int32_t dw, dh;
  int32_t row;
  int32_t delta;
};

std::ostream& operator<<(std::ostream& os, const SampleEndCase& t) {
  return os << t.w << "x" << t.h << "x" << t.bpp << "_into_" << t.dw << "x" << t.dh << "_row"
            << t.row << (t.delta < 0 ? "_minus" : "_plus") << (t.delta < 0 ? -t.delta : t.delta);
}

int64_t SampleLength(const SampleEndCase& t) {
  return int64_t{t.row} * DibStride(t.w, t.bpp) + int64_t{t.w} * 3 + t.delta;
}

const SampleEndCase kSampleEnds[] = {
    // Complete frames whose last row has no padding after it.
    {1, 1, 3, kTexture, kTexture, 0, 0},      {2, 3, 3, kTexture, kTexture, 2, 0},
    {4, 2, 3, kTexture, kTexture, 1, 0},      {15, 4, 3, kTexture, kTexture, 3, 0},
    {16, 4, 3, kTexture, kTexture, 3, 0},     {17, 5, 3, kTexture, kTexture, 4, 0},
    {31, 2, 3, kTexture, kTexture, 1, 0},     {32, 2, 3, kTexture, kTexture, 1, 0},
    {640, 3, 3, kTexture, kTexture, 2, 0},    {854, 3, 3, kTexture, kTexture, 2, 0},
    {1023, 2, 3, kTexture, kTexture, 1, 0},   {1024, 2, 3, kTexture, kTexture, 1, 0},
    {17, 3, 4, kTexture, kTexture, 2, 0},
    // Scaled frames, the last sampled row at the sample's end.
    {1025, 2, 3, kTexture, kTexture, 1, 0},   {1920, 4, 3, kTexture, kTexture, 3, 0},
    {7, 3, 3, 3, 3, 2, 0},                    {40, 9, 3, 16, 16, 8, 0},
    // Short samples: one byte short of a row, exactly a row, one byte over.
    {17, 9, 3, kTexture, kTexture, 4, -1},    {17, 9, 3, kTexture, kTexture, 4, 0},
    {17, 9, 3, kTexture, kTexture, 4, 1},     {854, 6, 3, kTexture, kTexture, 2, -1},
    {854, 6, 3, kTexture, kTexture, 2, 1},    {1920, 9, 3, kTexture, kTexture, 5, -1},
    {1920, 9, 3, kTexture, kTexture, 5, 0},   {16, 3, 3, kTexture, kTexture, 0, -1},
    {5, 4, 3, 2, 2, 1, 0},                    {5, 4, 3, 2, 2, 2, -1},
};

class SampleEndTest : public ::testing::TestWithParam<std::tuple<ConvertPath, SampleEndCase>> {};

TEST_P(SampleEndTest, MatchesTheReference) {
  const ConvertPath path = std::get<0>(GetParam());
  const SampleEndCase& t = std::get<1>(GetParam());
  if (!ConvertPathAvailable(path)) GTEST_SKIP() << ConvertPathName(path) << " not on this CPU";
  // Exactly the sample's bytes, so the sanitizer sees any read past them.
  std::vector<uint8_t> src(static_cast<size_t>(SampleLength(t)));
  FillNoise(src.data(), src.size(), static_cast<uint32_t>(t.w + t.row));
  EXPECT_EQ(FirstDifference(path, src.data(), static_cast<int32_t>(src.size()), t.w, t.h, t.bpp,
                            t.dw, t.dh),
            -1);
}

INSTANTIATE_TEST_SUITE_P(Table, SampleEndTest,
                         ::testing::Combine(::testing::ValuesIn(kFastPaths),
                                            ::testing::ValuesIn(kSampleEnds)));

// The sample between two inaccessible pages, flush against one of them: a
// read of a byte before or after it faults.
class GuardPageTest : public ::testing::TestWithParam<std::tuple<ConvertPath, SampleEndCase>> {
 protected:
  void TearDown() override { Unmap(); }

  void Unmap() {
    if (map_ != nullptr) munmap(map_, mapped_);
    map_ = nullptr;
  }

  // Maps the sample, starting at a page when atStart, else ending at one.
  uint8_t* MapSample(size_t length, bool atStart) {
    Unmap();
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t pages = (length + page - 1) / page;
    mapped_ = (pages + 2) * page;
    void* p = mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    map_ = static_cast<uint8_t*>(p);
    if (mprotect(map_, page, PROT_NONE) != 0) return nullptr;
    if (mprotect(map_ + (pages + 1) * page, page, PROT_NONE) != 0) return nullptr;
    return atStart ? map_ + page : map_ + (pages + 1) * page - length;
  }

 private:
  uint8_t* map_ = nullptr;
  size_t mapped_ = 0;
};

TEST_P(GuardPageTest, ReadsNothingOutsideTheSample) {
  const ConvertPath path = std::get<0>(GetParam());
  const SampleEndCase& t = std::get<1>(GetParam());
  if (!ConvertPathAvailable(path)) GTEST_SKIP() << ConvertPathName(path) << " not on this CPU";
  const size_t length = static_cast<size_t>(SampleLength(t));
  for (const bool atStart : {false, true}) {
    uint8_t* src = MapSample(length, atStart);
    ASSERT_NE(src, nullptr);
    FillNoise(src, length, static_cast<uint32_t>(t.w * 3 + t.h));
    EXPECT_EQ(FirstDifference(path, src, static_cast<int32_t>(length), t.w, t.h, t.bpp, t.dw, t.dh),
              -1)
        << (atStart ? "starting at a page" : "ending at a page");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, GuardPageTest,
                         ::testing::Combine(::testing::ValuesIn(kFastPaths),
                                            ::testing::ValuesIn(kSampleEnds)));

// ---------------------------------------------------------------------------

TEST(ConvertFrame, TakesTheWidestPathThisCpuHas) {
  ConvertPath best = ConvertPath::kScalar;
  if (ConvertPathAvailable(ConvertPath::kSsse3)) best = ConvertPath::kSsse3;
  if (ConvertPathAvailable(ConvertPath::kAvx2)) best = ConvertPath::kAvx2;
  EXPECT_EQ(SelectedConvertPath(), best) << ConvertPathName(SelectedConvertPath());

  // And ConvertFrame is that path.
  const int32_t w = 854, h = 480;
  std::vector<uint8_t> src(static_cast<size_t>(DibStride(w, 3)) * h);
  FillNoise(src.data(), src.size(), 5);
  std::vector<uint8_t> viaPath = MakeDest(kTexture, kTexture);
  std::vector<uint8_t> viaConvertFrame = MakeDest(kTexture, kTexture);
  ASSERT_TRUE(ConvertFrameWith(best, src.data(), static_cast<int32_t>(src.size()), w, h, 3,
                               viaPath.data(), kTexture, kTexture));
  Convert(src, w, h, 3, viaConvertFrame, kTexture, kTexture);
  EXPECT_TRUE(viaPath == viaConvertFrame);
}

TEST(ConvertFrame, ScalarAndReferenceAreAlwaysAvailable) {
  EXPECT_TRUE(ConvertPathAvailable(ConvertPath::kReference));
  EXPECT_TRUE(ConvertPathAvailable(ConvertPath::kScalar));
}

}  // namespace
