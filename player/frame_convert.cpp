#include "frame_convert.h"

int32_t DibStride(int32_t width, int32_t bytesPerPixel) {
  if (width <= 0 || bytesPerPixel <= 0) return 0;
  // Both factors fit in 31 bits, so the product and the padding fit in 64.
  const int64_t stride = (static_cast<int64_t>(width) * bytesPerPixel + 3) & ~int64_t{3};
  if (stride > INT32_MAX) return 0;
  return static_cast<int32_t>(stride);
}

void ConvertFrame(const uint8_t* src, int32_t length, int32_t width, int32_t height,
                  int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth, int32_t destHeight) {
  if (src == nullptr || dest == nullptr) return;
  if (width <= 0 || height <= 0 || length <= 0 || destWidth <= 0 || destHeight <= 0) return;
  // Pixels are read as 3 bytes; a smaller pixel would run into its neighbour.
  if (bytesPerPixel < 3) return;
  const int32_t stride = DibStride(width, bytesPerPixel);
  if (stride == 0) return;

  const int64_t w = width;
  const int64_t h = height;
  const int64_t dw = destWidth;
  const int64_t dh = destHeight;

  // Output size: the frame itself when it fits, otherwise the largest
  // aspect-kept size inside dest. The scale is min(dw / w, dh / h); the
  // comparison dw * h <= dh * w picks the limiting side without division.
  int64_t ow = w;
  int64_t oh = h;
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
