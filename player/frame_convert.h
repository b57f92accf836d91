// Conversion of a decoded video frame into the player's RGBA frame buffer.
// Pure computation: no platform, so it also builds natively for tests.
#pragma once

#include <cstdint>

// Bytes between rows of a bottom-up DIB: rows are padded to 4 bytes.
int32_t DibStride(int32_t width, int32_t bytesPerPixel);

// Converts a bottom-up BGR frame of width x height pixels (bytesPerPixel
// bytes each, DIB-padded rows) from src, which holds length bytes, into the
// top-left of dest, a top-down RGBA image of destWidth x destHeight pixels
// with rows destWidth * 4 bytes apart. A frame larger than dest is scaled
// down to fit, aspect kept. Reads stay within length bytes and writes within
// dest; pixels outside the frame keep what they held. Nothing is written for
// a non-positive size or length. Uses the fastest kernel this processor has.
void ConvertFrame(const uint8_t* src, int32_t length, int32_t width, int32_t height,
                  int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth, int32_t destHeight);

// The kernels ConvertFrame chooses from; all give the same bytes.
enum class ConvertPath {
  kReference,  // the plain per-byte loop
  kScalar,     // one 32-bit load, byte swap and alpha per pixel (any x86)
  kSsse3,      // pshufb, 16 pixels a step
  kAvx2,       // vpshufb, 8 pixels a step
};

// The path ConvertFrame takes on this processor.
ConvertPath SelectedConvertPath();

// Whether this processor (and its OS, for AVX state) can run the path.
bool ConvertPathAvailable(ConvertPath path);

const char* ConvertPathName(ConvertPath path);

// ConvertFrame through the given path, for tests and benchmarks. Returns
// false, writing nothing, when the path is not available here.
bool ConvertFrameWith(ConvertPath path, const uint8_t* src, int32_t length, int32_t width,
                      int32_t height, int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth,
                      int32_t destHeight);

// The plain per-byte conversion every other path must match.
void ConvertFrameReference(const uint8_t* src, int32_t length, int32_t width, int32_t height,
                           int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth,
                           int32_t destHeight);
