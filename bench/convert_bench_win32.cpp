// Timings of the frame conversion in the 32-bit Windows build: the
// dispatched kernel, the plain byte loop and memcpy, medians of interleaved
// rounds. The last line is the worst ratio of kernel to memcpy.
#include "frame_convert.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int32_t kTexture = 1024;
constexpr size_t kPitch = size_t{kTexture} * 4;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Contestant {
  std::string name;
  std::function<void()> run;
  std::vector<double> seconds;
};

struct Case {
  int32_t w, h;
  bool oversize;
  std::vector<uint8_t> src;
  std::vector<uint8_t> rgba;  // the picture's rows, for the memcpy
  std::vector<uint8_t> copy;  // where the oversize sample is copied
  std::vector<Contestant> contestants;
};

void Fill(std::vector<uint8_t>& v, uint32_t seed) {
  for (uint8_t& b : v) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
}

double Get(const Case& c, const char* name) {
  for (const Contestant& k : c.contestants)
    if (k.name == name) return Median(k.seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  std::vector<uint8_t> texture(kPitch * kTexture, 0);
  uint8_t* dest = texture.data();

  const int32_t sizes[][2] = {{640, 480}, {854, 480}, {1024, 576}, {1024, 1024}, {1920, 1080}};
  std::vector<Case> cases;
  for (const auto& s : sizes) {
    Case c;
    c.w = s[0];
    c.h = s[1];
    c.oversize = c.w > kTexture || c.h > kTexture;
    c.src.resize(static_cast<size_t>(DibStride(c.w, 3)) * c.h);
    Fill(c.src, static_cast<uint32_t>(c.w + c.h));
    cases.push_back(std::move(c));
  }
  // Contestants refer into cases, so they are made once it stops moving.
  for (Case& c : cases) {
    const uint8_t* src = c.src.data();
    const int32_t length = static_cast<int32_t>(c.src.size());
    const int32_t w = c.w, h = c.h;
    c.contestants.push_back({"kernel", [=] { ConvertFrame(src, length, w, h, 3, dest, kTexture, kTexture); }, {}});
    c.contestants.push_back(
        {"byte loop", [=] { ConvertFrameReference(src, length, w, h, 3, dest, kTexture, kTexture); }, {}});
    for (ConvertPath p : {ConvertPath::kScalar, ConvertPath::kSsse3, ConvertPath::kAvx2}) {
      if (!ConvertPathAvailable(p)) continue;
      c.contestants.push_back(
          {ConvertPathName(p), [=] { ConvertFrameWith(p, src, length, w, h, 3, dest, kTexture, kTexture); }, {}});
    }
    if (c.oversize) {
      c.copy.resize(c.src.size());
      uint8_t* copy = c.copy.data();
      const size_t n = c.src.size();
      c.contestants.push_back({"memcpy", [=] { std::memcpy(copy, src, n); }, {}});
    } else {
      c.rgba.assign(static_cast<size_t>(w) * 4 * h, 0x5A);
      const uint8_t* rgba = c.rgba.data();
      c.contestants.push_back({"memcpy", [=] {
                                 const size_t row = static_cast<size_t>(w) * 4;
                                 for (int32_t y = 0; y < h; ++y)
                                   std::memcpy(dest + y * kPitch, rgba + y * row, row);
                               },
                               {}});
    }
  }

  // Every contestant once before timing, then rounds in which each runs
  // once, starting at a different one each round.
  for (Case& c : cases)
    for (Contestant& k : c.contestants) k.run();
  for (int r = 0; r < rounds; ++r) {
    for (Case& c : cases) {
      const size_t n = c.contestants.size();
      for (size_t i = 0; i < n; ++i) {
        Contestant& k = c.contestants[(i + r) % n];
        const double t0 = Now();
        k.run();
        k.seconds.push_back(Now() - t0);
      }
    }
  }

  std::printf("32-bit build, dispatched path: %s; medians of %d interleaved rounds, ms\n",
              ConvertPathName(SelectedConvertPath()), rounds);
  std::printf("%-10s %-9s", "size", "memcpy");
  for (const Contestant& k : cases[0].contestants)
    if (k.name != "memcpy") std::printf(" %-10s", k.name.c_str());
  std::printf(" %-14s %s\n", "kernel/memcpy", "byte loop/kernel");
  double worst = 0;
  for (const Case& c : cases) {
    char size[32];
    std::snprintf(size, sizeof size, "%dx%d", c.w, c.h);
    const double memcpy = Get(c, "memcpy");
    const double kernel = Get(c, "kernel");
    std::printf("%-10s %-9.3f", size, memcpy * 1e3);
    for (const Contestant& k : c.contestants)
      if (k.name != "memcpy") std::printf(" %-10.3f", Median(k.seconds) * 1e3);
    std::printf(" %-14.3f %.2f%s\n", kernel / memcpy, Get(c, "byte loop") / kernel,
                c.oversize ? "  (memcpy of the whole source sample)" : "");
    if (!c.oversize) worst = std::max(worst, kernel / memcpy);
  }
  std::printf("conversion/memcpy worst: %.3f\n", worst);
  return 0;
}
