// Native timings of the frame conversion against the plain byte loop,
// libyuv and memcpy, into the player's 1024 x 1024 texture.
#include "frame_convert.h"

#include <benchmark/benchmark.h>
#include <libyuv/convert_argb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kTexture = 1024;
constexpr int64_t kPitch = int64_t{kTexture} * 4;

struct Frame {
  int32_t w, h;
  int32_t stride;
  std::vector<uint8_t> src;
};

Frame MakeFrame(int32_t w, int32_t h) {
  Frame f{w, h, DibStride(w, 3), {}};
  f.src.resize(static_cast<size_t>(f.stride) * h);
  uint32_t s = static_cast<uint32_t>(w * 31 + h);
  for (uint8_t& b : f.src) {
    s = s * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(s >> 24);
  }
  return f;
}

std::vector<uint8_t>& Texture() {
  static std::vector<uint8_t> texture(static_cast<size_t>(kPitch) * kTexture, 0);
  return texture;
}

void Reference(benchmark::State& state, int32_t w, int32_t h) {
  const Frame f = MakeFrame(w, h);
  uint8_t* dest = Texture().data();
  for (auto _ : state) {
    ConvertFrameReference(f.src.data(), static_cast<int32_t>(f.src.size()), w, h, 3, dest,
                          kTexture, kTexture);
    benchmark::ClobberMemory();
  }
}

void Dispatched(benchmark::State& state, int32_t w, int32_t h) {
  const Frame f = MakeFrame(w, h);
  uint8_t* dest = Texture().data();
  for (auto _ : state) {
    ConvertFrame(f.src.data(), static_cast<int32_t>(f.src.size()), w, h, 3, dest, kTexture,
                 kTexture);
    benchmark::ClobberMemory();
  }
  state.SetLabel(ConvertPathName(SelectedConvertPath()));
}

void Path(benchmark::State& state, ConvertPath path, int32_t w, int32_t h) {
  if (!ConvertPathAvailable(path)) {
    state.SkipWithError("path not on this CPU");
    return;
  }
  const Frame f = MakeFrame(w, h);
  uint8_t* dest = Texture().data();
  for (auto _ : state) {
    ConvertFrameWith(path, f.src.data(), static_cast<int32_t>(f.src.size()), w, h, 3, dest,
                     kTexture, kTexture);
    benchmark::ClobberMemory();
  }
}

// libyuv's "RAW" is R,G,B in memory and its "ARGB" B,G,R,A, so RAWToARGB
// swaps bytes 0 and 2 and adds alpha: from B,G,R it gives R,G,B,A. A
// negative height reads the rows bottom-up.
int LibyuvConvert(const Frame& f, uint8_t* dest) {
  return libyuv::RAWToARGB(f.src.data(), f.stride, dest, static_cast<int>(kPitch), f.w, -f.h);
}

void Libyuv(benchmark::State& state, int32_t w, int32_t h) {
  const Frame f = MakeFrame(w, h);
  uint8_t* dest = Texture().data();
  for (auto _ : state) {
    LibyuvConvert(f, dest);
    benchmark::ClobberMemory();
  }
}

// What only moving the picture's bytes costs: its rows into the texture.
void MemcpyDestRows(benchmark::State& state, int32_t w, int32_t h) {
  const std::vector<uint8_t> rgba(static_cast<size_t>(w) * 4 * h, 0x5A);
  uint8_t* dest = Texture().data();
  const size_t row = static_cast<size_t>(w) * 4;
  for (auto _ : state) {
    for (int32_t y = 0; y < h; ++y) std::memcpy(dest + y * kPitch, rgba.data() + y * row, row);
    benchmark::ClobberMemory();
  }
}

// The oversize bound: one copy of the whole source sample.
void MemcpySource(benchmark::State& state, int32_t w, int32_t h) {
  const Frame f = MakeFrame(w, h);
  std::vector<uint8_t> copy(f.src.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), f.src.data(), f.src.size());
    benchmark::ClobberMemory();
  }
}

struct Size {
  int32_t w, h;
};
const Size kFitting[] = {{640, 480}, {854, 480}, {1024, 576}, {1024, 1024}};
const Size kOversize = {1920, 1080};

// libyuv must give exactly the player's bytes for the comparison to mean anything.
bool LibyuvMatches() {
  for (const Size& s : kFitting) {
    const Frame f = MakeFrame(s.w, s.h);
    std::vector<uint8_t> ours(static_cast<size_t>(kPitch) * kTexture, 0);
    std::vector<uint8_t> theirs = ours;
    ConvertFrame(f.src.data(), static_cast<int32_t>(f.src.size()), s.w, s.h, 3, ours.data(),
                 kTexture, kTexture);
    if (LibyuvConvert(f, theirs.data()) != 0 || ours != theirs) {
      std::fprintf(stderr, "libyuv differs at %dx%d\n", s.w, s.h);
      return false;
    }
  }
  return true;
}

void Register() {
  char name[96];
  auto add = [&](const char* what, const Size& s, auto fn) {
    std::snprintf(name, sizeof name, "%s/%dx%d", what, s.w, s.h);
    benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMicrosecond);
  };
  for (const Size& s : kFitting) {
    add("reference", s, [s](benchmark::State& st) { Reference(st, s.w, s.h); });
    add("dispatched", s, [s](benchmark::State& st) { Dispatched(st, s.w, s.h); });
    add("scalar", s, [s](benchmark::State& st) { Path(st, ConvertPath::kScalar, s.w, s.h); });
    add("ssse3", s, [s](benchmark::State& st) { Path(st, ConvertPath::kSsse3, s.w, s.h); });
    add("avx2", s, [s](benchmark::State& st) { Path(st, ConvertPath::kAvx2, s.w, s.h); });
    add("libyuv", s, [s](benchmark::State& st) { Libyuv(st, s.w, s.h); });
    add("memcpy_dest", s, [s](benchmark::State& st) { MemcpyDestRows(st, s.w, s.h); });
  }
  const Size s = kOversize;
  add("reference", s, [s](benchmark::State& st) { Reference(st, s.w, s.h); });
  add("dispatched", s, [s](benchmark::State& st) { Dispatched(st, s.w, s.h); });
  add("scalar", s, [s](benchmark::State& st) { Path(st, ConvertPath::kScalar, s.w, s.h); });
  add("ssse3", s, [s](benchmark::State& st) { Path(st, ConvertPath::kSsse3, s.w, s.h); });
  add("avx2", s, [s](benchmark::State& st) { Path(st, ConvertPath::kAvx2, s.w, s.h); });
  add("memcpy_source", s, [s](benchmark::State& st) { MemcpySource(st, s.w, s.h); });
}

}  // namespace

int main(int argc, char** argv) {
  if (!LibyuvMatches()) return 1;
  std::fprintf(stderr, "libyuv RAWToARGB gives the same bytes; dispatched path: %s\n",
               ConvertPathName(SelectedConvertPath()));
  Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
