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
// a non-positive size or length.
void ConvertFrame(const uint8_t* src, int32_t length, int32_t width, int32_t height,
                  int32_t bytesPerPixel, uint8_t* dest, int32_t destWidth, int32_t destHeight);
