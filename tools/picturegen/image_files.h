// Encoders for the picture files: 24-bit BMP for bitmap resources, 32-bit ICO
// (one image with alpha and mask) for icon resources, and an uncompressed PNG
// for looking at the results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace vornik::picturegen {

using Bytes = std::vector<uint8_t>;

// Bottom-up 24 bits per pixel; alpha is dropped.
Bytes EncodeBmp24(const Canvas& canvas);
// One image at 32 bits per pixel with straight alpha, and an AND mask that is
// set where the pixel is fully transparent.
Bytes EncodeIco32(const Canvas& canvas);
// 8-bit RGBA in stored (uncompressed) deflate blocks.
Bytes EncodePng(const Canvas& canvas);

// Writes the whole file; false on any failure.
bool WriteFileBytes(const std::string& path, const Bytes& bytes);

}  // namespace vornik::picturegen
