#include "frame_convert.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define FRAME_CONVERT_X86 1
#endif

// The player is called from code that keeps the stack only 4-byte aligned
// (32-bit Windows); functions holding SSE values realign it themselves.
#if defined(__i386__)
#define REALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define REALIGN_STACK
#endif

int32_t DibStride(int32_t width, int32_t bytesPerPixel) {
  if (width <= 0 || bytesPerPixel <= 0) return 0;
  // Both factors fit in 31 bits, so the product and the padding fit in 64.
  const int64_t stride = (static_cast<int64_t>(width) * bytesPerPixel + 3) & ~int64_t{3};
  if (stride > INT32_MAX) return 0;
  return static_cast<int32_t>(stride);
}

namespace {

// What every conversion path works from: the source stride and the output
// size, the frame itself when it fits, otherwise the largest aspect-kept
// size inside dest.
struct FramePlan {
  int32_t stride;
  int64_t w, h, dw, ow, oh;
};

// False when nothing is to be written.
bool PlanFrame(const uint8_t* src, int32_t length, int32_t width, int32_t height,
               int32_t bytesPerPixel, const uint8_t* dest, int32_t destWidth, int32_t destHeight,
               FramePlan& plan) {
  if (src == nullptr || dest == nullptr) return false;
  if (width <= 0 || height <= 0 || length <= 0 || destWidth <= 0 || destHeight <= 0) return false;
  // Pixels are read as 3 bytes; a smaller pixel would run into its neighbour.
  if (bytesPerPixel < 3) return false;
  plan.stride = DibStride(width, bytesPerPixel);
  if (plan.stride == 0) return false;

  const int64_t w = width, h = height, dw = destWidth, dh = destHeight;
  // The scale is min(dw / w, dh / h); the comparison dw * h <= dh * w picks
  // the limiting side without division.
  int64_t ow = w, oh = h;
  if (w > dw || h > dh) {
    if (dw * h <= dh * w) {
      ow = dw;
      oh = h * dw / w;
    } else {
      oh = dh;
      ow = w * dh / h;
    }
    if (ow < 1) ow = 1;
    if (oh < 1) oh = 1;
  }
  plan.w = w;
  plan.h = h;
  plan.dw = dw;
  plan.ow = ow;
  plan.oh = oh;
  return true;
}

}  // namespace

void ConvertFrameReference(const uint8_t* src, int32_t length, int32_t width, int32_t height,
                           int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth,
                           int32_t destHeight) {
  FramePlan plan;
  if (!PlanFrame(src, length, width, height, bytesPerPixel, dest, destWidth, destHeight, plan)) return;
  const int32_t stride = plan.stride;
  const int64_t w = plan.w, h = plan.h, dw = plan.dw, ow = plan.ow, oh = plan.oh;

  const int64_t rowBytes = w * 3;
  const int64_t destPitch = dw * 4;

  for (int64_t y = 0; y < oh; ++y) {
    const int64_t pictureRow = y * h / oh;
    // Bottom-up source: the top picture row is the last row in memory.
    const int64_t memoryRow = h - 1 - pictureRow;
    const int64_t rowStart = memoryRow * stride;
    // A short sample keeps only its complete rows; the rest of dest stays.
    if (rowStart + rowBytes > length) continue;

    const uint8_t* in = src + rowStart;
    uint8_t* out = dest + y * destPitch;
    for (int64_t x = 0; x < ow; ++x) {
      // Equals x when the frame fits unscaled.
      const uint8_t* px = in + (x * w / ow) * 3;
      out[0] = px[2];
      out[1] = px[1];
      out[2] = px[0];
      out[3] = 255;
      out += 4;
    }
  }
}

namespace {

// Columns of a scaled frame worked out at once: a whole 1024-wide texture
// row, kept on the stack so nothing is allocated.
constexpr int32_t kColumnChunk = 1024;
constexpr int32_t kGroupPixels = 4;

// Which source bytes n output columns take, the same for every row.
struct Columns {
  int32_t n;
  // Of the pixel each column samples, from the row's start; these rise.
  uint32_t offsets[kColumnChunk];
  // The first `groups` groups of 4 columns can also be gathered with
  // shuffles: 16 bytes loaded at base[g] (and 16 more after them when
  // loads is 2), picked by lo[g] (and hi[g]). Those loads stay within the
  // row's pixels. The columns after them go one by one.
  int32_t groups;
  int32_t loads;
  uint32_t base[kColumnChunk / kGroupPixels];
  uint8_t lo[kColumnChunk / kGroupPixels][16];
  uint8_t hi[kColumnChunk / kGroupPixels][16];
};

// Converts n pixels of one row, in[3 * i] to out[4 * i].
using RowKernel = void (*)(const uint8_t* in, uint8_t* out, int32_t n);
// Converts the sampled columns of one row, in[offsets[i]] to out[4 * i].
using SampledRowKernel = void (*)(const uint8_t* in, uint8_t* out, const Columns& columns);

struct Kernels {
  RowKernel row;
  SampledRowKernel sampled;
};

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

inline uint32_t PixelFromBytes(const uint8_t* px) {
  return px[2] | (uint32_t{px[1]} << 8) | (uint32_t{px[0]} << 16) | 0xFF000000u;
}

// The 4 bytes ending at a pixel's red, byte-swapped, put red, green, blue
// in order with the byte before the pixel on top, where alpha goes. That
// byte exists for every pixel but the row's first, which may be the
// sample's first byte.
inline uint32_t PixelFromWordEndingAt(const uint8_t* px) {
  return __builtin_bswap32(Load32(px - 1)) | 0xFF000000u;
}

inline void ScalarRow(const uint8_t* in, uint8_t* out, int32_t n) {
  if (n <= 0) return;
  Store32(out, PixelFromBytes(in));
  int32_t i = 1;
  // Four a step: a quarter of the loop's own work.
  for (; i + 4 <= n; i += 4) {
    const uint8_t* p = in + 3 * i;
    uint8_t* o = out + 4 * i;
    Store32(o, PixelFromWordEndingAt(p));
    Store32(o + 4, PixelFromWordEndingAt(p + 3));
    Store32(o + 8, PixelFromWordEndingAt(p + 6));
    Store32(o + 12, PixelFromWordEndingAt(p + 9));
  }
  for (; i < n; ++i) Store32(out + 4 * i, PixelFromWordEndingAt(in + 3 * i));
}

// Columns [first, n), one by one.
inline void ScalarSampledRow(const uint8_t* in, uint8_t* out, const uint32_t* offsets, int32_t first,
                             int32_t n) {
  int32_t i = first;
  if (i >= n) return;
  if (offsets[i] == 0) {
    Store32(out, PixelFromBytes(in));
    i = 1;
  }
  for (; i + 4 <= n; i += 4) {
    uint8_t* o = out + 4 * i;
    Store32(o, PixelFromWordEndingAt(in + offsets[i]));
    Store32(o + 4, PixelFromWordEndingAt(in + offsets[i + 1]));
    Store32(o + 8, PixelFromWordEndingAt(in + offsets[i + 2]));
    Store32(o + 12, PixelFromWordEndingAt(in + offsets[i + 3]));
  }
  for (; i < n; ++i) Store32(out + 4 * i, PixelFromWordEndingAt(in + offsets[i]));
}

// The shuffle masks for the sampled columns, when their groups fit in one or
// two 16-byte loads; rowBytes bounds the loads.
void PlanGroups(Columns& c, int64_t rowBytes) {
  c.groups = 0;
  c.loads = 0;
  const int32_t groups = c.n / kGroupPixels;
  // Bytes from a group's first sampled pixel to the end of its last.
  int64_t span = 0;
  for (int32_t g = 0; g < groups; ++g) {
    const uint32_t* o = c.offsets + g * kGroupPixels;
    const int64_t s = int64_t{o[kGroupPixels - 1]} - o[0] + 3;
    if (s > span) span = s;
  }
  if (groups == 0 || span > 32) return;
  c.loads = span > 16 ? 2 : 1;
  const int64_t loaded = 16 * c.loads;
  for (int32_t g = 0; g < groups; ++g) {
    const uint32_t* o = c.offsets + g * kGroupPixels;
    if (o[0] + loaded > rowBytes) break;
    c.base[g] = o[0];
    for (int32_t k = 0; k < kGroupPixels; ++k) {
      for (int32_t channel = 0; channel < 4; ++channel) {
        // Red, green, blue are source bytes 2, 1, 0; alpha is or-ed in.
        const int32_t at = 4 * k + channel;
        if (channel == 3) {
          c.lo[g][at] = c.hi[g][at] = 0x80;
          continue;
        }
        const uint32_t j = o[k] - o[0] + (2 - channel);
        c.lo[g][at] = j < 16 ? static_cast<uint8_t>(j) : 0x80;
        c.hi[g][at] = j >= 16 ? static_cast<uint8_t>(j - 16) : 0x80;
      }
    }
    c.groups = g + 1;
  }
}

void ScalarRowKernel(const uint8_t* in, uint8_t* out, int32_t n) { ScalarRow(in, out, n); }

void ScalarSampledRowKernel(const uint8_t* in, uint8_t* out, const Columns& c) {
  ScalarSampledRow(in, out, c.offsets, 0, c.n);
}

#if FRAME_CONVERT_X86

// 16 pixels: 48 bytes in, exactly, and 64 out.
__attribute__((target("ssse3"), always_inline)) inline void Ssse3Step16(const uint8_t* in,
                                                                        uint8_t* out,
                                                                        __m128i order,
                                                                        __m128i alpha) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16));
  const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 32));
  // Pixels 4-7 start at byte 12, 8-11 at 24, 12-15 at 36.
  const __m128i p0 = a;
  const __m128i p1 = _mm_alignr_epi8(b, a, 12);
  const __m128i p2 = _mm_alignr_epi8(c, b, 8);
  const __m128i p3 = _mm_srli_si128(c, 4);
  __m128i* o = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(o + 0, _mm_or_si128(_mm_shuffle_epi8(p0, order), alpha));
  _mm_storeu_si128(o + 1, _mm_or_si128(_mm_shuffle_epi8(p1, order), alpha));
  _mm_storeu_si128(o + 2, _mm_or_si128(_mm_shuffle_epi8(p2, order), alpha));
  _mm_storeu_si128(o + 3, _mm_or_si128(_mm_shuffle_epi8(p3, order), alpha));
}

__attribute__((target("ssse3"))) REALIGN_STACK void Ssse3RowKernel(const uint8_t* in,
                                                                   uint8_t* out, int32_t n) {
  if (n < 16) {
    ScalarRow(in, out, n);
    return;
  }
  const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
  int32_t x = 0;
  for (; x + 16 <= n; x += 16) Ssse3Step16(in + 3 * x, out + 4 * x, order, alpha);
  // The rest as one step ending at the row's end, over pixels already done:
  // no byte past the row is read.
  if (x < n) Ssse3Step16(in + 3 * (n - 16), out + 4 * (n - 16), order, alpha);
}

__attribute__((target("ssse3"))) REALIGN_STACK void Ssse3SampledRowKernel(const uint8_t* in,
                                                                          uint8_t* out,
                                                                          const Columns& c) {
  const __m128i alpha = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
  const int32_t groups = c.groups;
  if (c.loads == 1) {
    for (int32_t g = 0; g < groups; ++g) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + c.base[g]));
      const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.lo[g]));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * g),
                       _mm_or_si128(_mm_shuffle_epi8(a, lo), alpha));
    }
  } else if (c.loads == 2) {
    for (int32_t g = 0; g < groups; ++g) {
      const uint8_t* p = in + c.base[g];
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
      const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.lo[g]));
      const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.hi[g]));
      const __m128i picked = _mm_or_si128(_mm_shuffle_epi8(a, lo), _mm_shuffle_epi8(b, hi));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * g), _mm_or_si128(picked, alpha));
    }
  }
  ScalarSampledRow(in, out, c.offsets, groups * kGroupPixels, c.n);
}

// 8 pixels: bytes 0-11 into the low lane, 12-23 (loaded from byte 8, so the
// load ends at byte 24) into the high one, each lane with its own order.
__attribute__((target("avx2"), always_inline)) inline void Avx2Step8(const uint8_t* in,
                                                                     uint8_t* out, __m256i order,
                                                                     __m256i alpha) {
  const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8));
  const __m256i both = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                      _mm256_or_si256(_mm256_shuffle_epi8(both, order), alpha));
}

__attribute__((target("avx2"))) REALIGN_STACK void Avx2RowKernel(const uint8_t* in, uint8_t* out,
                                                                 int32_t n) {
  if (n < 8) {
    ScalarRow(in, out, n);
    return;
  }
  const __m256i order = _mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1,  //
                                         6, 5, 4, -1, 9, 8, 7, -1, 12, 11, 10, -1, 15, 14, 13, -1);
  const __m256i alpha = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
  int32_t x = 0;
  for (; x + 32 <= n; x += 32) {
    Avx2Step8(in + 3 * x, out + 4 * x, order, alpha);
    Avx2Step8(in + 3 * x + 24, out + 4 * x + 32, order, alpha);
    Avx2Step8(in + 3 * x + 48, out + 4 * x + 64, order, alpha);
    Avx2Step8(in + 3 * x + 72, out + 4 * x + 96, order, alpha);
  }
  for (; x + 8 <= n; x += 8) Avx2Step8(in + 3 * x, out + 4 * x, order, alpha);
  if (x < n) Avx2Step8(in + 3 * (n - 8), out + 4 * (n - 8), order, alpha);
}

inline __attribute__((target("avx2"), always_inline)) __m256i Load2x128(const uint8_t* lo,
                                                                       const uint8_t* hi) {
  const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lo));
  const __m128i h = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hi));
  return _mm256_inserti128_si256(_mm256_castsi128_si256(l), h, 1);
}

// Two groups a step, one in each lane; their masks lie next to each other.
__attribute__((target("avx2"))) REALIGN_STACK void Avx2SampledRowKernel(const uint8_t* in,
                                                                        uint8_t* out,
                                                                        const Columns& c) {
  const __m256i alpha = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
  const int32_t pairs = c.groups / 2;
  if (c.loads == 1) {
    for (int32_t g = 0; g < 2 * pairs; g += 2) {
      const __m256i a = Load2x128(in + c.base[g], in + c.base[g + 1]);
      const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.lo[g]));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16 * g),
                          _mm256_or_si256(_mm256_shuffle_epi8(a, lo), alpha));
    }
  } else if (c.loads == 2) {
    for (int32_t g = 0; g < 2 * pairs; g += 2) {
      const uint8_t* p0 = in + c.base[g];
      const uint8_t* p1 = in + c.base[g + 1];
      const __m256i a = Load2x128(p0, p1);
      const __m256i b = Load2x128(p0 + 16, p1 + 16);
      const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.lo[g]));
      const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c.hi[g]));
      const __m256i picked =
          _mm256_or_si256(_mm256_shuffle_epi8(a, lo), _mm256_shuffle_epi8(b, hi));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16 * g),
                          _mm256_or_si256(picked, alpha));
    }
  }
  // A group left over, then the columns after the groups.
  const int32_t done = 2 * pairs;
  if (done < c.groups) {
    const uint8_t* p = in + c.base[done];
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i picked = _mm_shuffle_epi8(a, _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.lo[done])));
    if (c.loads == 2) {
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
      picked = _mm_or_si128(
          picked, _mm_shuffle_epi8(b, _mm_loadu_si128(reinterpret_cast<const __m128i*>(c.hi[done]))));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * done),
                     _mm_or_si128(picked, _mm256_castsi256_si128(alpha)));
  }
  ScalarSampledRow(in, out, c.offsets, c.groups * kGroupPixels, c.n);
}

struct CpuFeatures {
  bool ssse3 = false;
  bool avx2 = false;
};

CpuFeatures DetectCpu() {
  CpuFeatures f;
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return f;
  f.ssse3 = (ecx & bit_SSSE3) != 0;
  // AVX needs the OS to save the ymm state: OSXSAVE, then XCR0 bits 1 and 2.
  const bool osxsave = (ecx & bit_OSXSAVE) != 0;
  const bool avx = (ecx & bit_AVX) != 0;
  if (osxsave && avx) {
    uint32_t xcr0Low, xcr0High;
    __asm__ volatile("xgetbv" : "=a"(xcr0Low), "=d"(xcr0High) : "c"(0));
    if ((xcr0Low & 6) == 6 && __get_cpuid_max(0, nullptr) >= 7) {
      __cpuid_count(7, 0, eax, ebx, ecx, edx);
      f.avx2 = (ebx & bit_AVX2) != 0;
    }
  }
  return f;
}

const CpuFeatures& Cpu() {
  static const CpuFeatures features = DetectCpu();
  return features;
}

#endif  // FRAME_CONVERT_X86

bool KernelsFor(ConvertPath path, Kernels& k) {
  switch (path) {
    case ConvertPath::kScalar:
      k = {ScalarRowKernel, ScalarSampledRowKernel};
      return true;
#if FRAME_CONVERT_X86
    case ConvertPath::kSsse3:
      if (!Cpu().ssse3) return false;
      k = {Ssse3RowKernel, Ssse3SampledRowKernel};
      return true;
    case ConvertPath::kAvx2:
      if (!Cpu().avx2) return false;
      k = {Avx2RowKernel, Avx2SampledRowKernel};
      return true;
#endif
    default:
      return false;
  }
}

void ConvertWith(const Kernels& k, const uint8_t* src, int32_t length, int32_t width,
                 int32_t height, int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth,
                 int32_t destHeight) {
  FramePlan plan;
  if (!PlanFrame(src, length, width, height, bytesPerPixel, dest, destWidth, destHeight, plan)) return;
  const int32_t stride = plan.stride;
  const int64_t w = plan.w, h = plan.h, dw = plan.dw, ow = plan.ow, oh = plan.oh;
  const int64_t rowBytes = w * 3;
  const int64_t destPitch = dw * 4;

  if (ow == w) {
    // Every column, so whole rows; only rows may be skipped or sampled.
    for (int64_t y = 0; y < oh; ++y) {
      const int64_t rowStart = (h - 1 - y * h / oh) * stride;
      if (rowStart + rowBytes > length) continue;
      k.row(src + rowStart, dest + y * destPitch, static_cast<int32_t>(ow));
    }
    return;
  }

  Columns columns;
  for (int64_t x0 = 0; x0 < ow; x0 += kColumnChunk) {
    const int32_t n = static_cast<int32_t>(ow - x0 < kColumnChunk ? ow - x0 : kColumnChunk);
    columns.n = n;
    // Below w * 3, which is below the stride, so 32 bits hold it.
    for (int32_t i = 0; i < n; ++i)
      columns.offsets[i] = static_cast<uint32_t>((x0 + i) * w / ow * 3);
    PlanGroups(columns, rowBytes);
    for (int64_t y = 0; y < oh; ++y) {
      const int64_t rowStart = (h - 1 - y * h / oh) * stride;
      if (rowStart + rowBytes > length) continue;
      k.sampled(src + rowStart, dest + y * destPitch + x0 * 4, columns);
    }
  }
}

ConvertPath PickPath() {
#if FRAME_CONVERT_X86
  if (Cpu().avx2) return ConvertPath::kAvx2;
  if (Cpu().ssse3) return ConvertPath::kSsse3;
#endif
  return ConvertPath::kScalar;
}

const Kernels& SelectedKernels() {
  static const Kernels kernels = [] {
    Kernels k{};
    KernelsFor(PickPath(), k);
    return k;
  }();
  return kernels;
}

}  // namespace

ConvertPath SelectedConvertPath() {
  static const ConvertPath path = PickPath();
  return path;
}

bool ConvertPathAvailable(ConvertPath path) {
  if (path == ConvertPath::kReference) return true;
  Kernels k{};
  return KernelsFor(path, k);
}

const char* ConvertPathName(ConvertPath path) {
  switch (path) {
    case ConvertPath::kReference: return "reference";
    case ConvertPath::kScalar: return "scalar";
    case ConvertPath::kSsse3: return "ssse3";
    case ConvertPath::kAvx2: return "avx2";
  }
  return "?";
}

bool ConvertFrameWith(ConvertPath path, const uint8_t* src, int32_t length, int32_t width,
                      int32_t height, int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth,
                      int32_t destHeight) {
  if (path == ConvertPath::kReference) {
    ConvertFrameReference(src, length, width, height, bytesPerPixel, dest, destWidth, destHeight);
    return true;
  }
  Kernels k{};
  if (!KernelsFor(path, k)) return false;
  ConvertWith(k, src, length, width, height, bytesPerPixel, dest, destWidth, destHeight);
  return true;
}

void ConvertFrame(const uint8_t* src, int32_t length, int32_t width, int32_t height,
                  int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth, int32_t destHeight) {
  ConvertWith(SelectedKernels(), src, length, width, height, bytesPerPixel, dest, destWidth,
              destHeight);
}
