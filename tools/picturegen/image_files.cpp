#include "image_files.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace vornik::picturegen {
namespace {

void Put16(Bytes& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}

void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

void Put32BigEndian(Bytes& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back((v >> shift) & 0xFF);
}

void PutInfoHeader(Bytes& b, int width, int height, int bitCount, uint32_t imageSize) {
  Put32(b, 40);
  Put32(b, width);
  Put32(b, height);
  Put16(b, 1);
  Put16(b, bitCount);
  Put32(b, 0);  // BI_RGB
  Put32(b, imageSize);
  Put32(b, 3780);  // 96 dots per inch
  Put32(b, 3780);
  Put32(b, 0);
  Put32(b, 0);
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutPngChunk(Bytes& out, const char* type, const Bytes& data) {
  Put32BigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

Bytes EncodeBmp24(const Canvas& canvas) {
  const int w = canvas.width(), h = canvas.height();
  const uint32_t stride = (w * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * h;
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 14 + 40 + imageSize);
  Put32(b, 0);
  Put32(b, 14 + 40);
  PutInfoHeader(b, w, h, 24, imageSize);
  for (int y = h - 1; y >= 0; --y) {
    const size_t rowStart = b.size();
    for (int x = 0; x < w; ++x) {
      const Colour c = canvas.At(x, y);
      b.push_back(c.b);
      b.push_back(c.g);
      b.push_back(c.r);
    }
    b.resize(rowStart + stride, 0);
  }
  return b;
}

Bytes EncodeIco32(const Canvas& canvas) {
  const int w = canvas.width(), h = canvas.height();
  const uint32_t maskStride = ((w + 31) / 32) * 4;
  const uint32_t imageSize = w * 4 * h + maskStride * h;
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);  // icon
  Put16(b, 1);  // one image
  b.push_back(static_cast<uint8_t>(w));
  b.push_back(static_cast<uint8_t>(h));
  b.push_back(0);  // no palette
  b.push_back(0);
  Put16(b, 1);   // planes
  Put16(b, 32);  // bits per pixel
  Put32(b, 40 + imageSize);
  Put32(b, 6 + 16);
  PutInfoHeader(b, w, 2 * h, 32, imageSize);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const Colour c = canvas.At(x, y);
      b.push_back(c.a ? c.b : 0);
      b.push_back(c.a ? c.g : 0);
      b.push_back(c.a ? c.r : 0);
      b.push_back(c.a);
    }
  }
  for (int y = h - 1; y >= 0; --y) {
    Bytes row(maskStride, 0);
    for (int x = 0; x < w; ++x) {
      if (canvas.At(x, y).a == 0) row[x / 8] |= 0x80 >> (x % 8);
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

Bytes EncodePng(const Canvas& canvas) {
  const int w = canvas.width(), h = canvas.height();
  Bytes raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < w; ++x) {
      const Colour c = canvas.At(x, y);
      raw.insert(raw.end(), {c.r, c.g, c.b, c.a});
    }
  }
  Bytes z = {0x78, 0x01};
  constexpr size_t kBlock = 65535;
  for (size_t pos = 0; pos < raw.size() || pos == 0; pos += kBlock) {
    const size_t n = std::min(kBlock, raw.size() - pos);
    z.push_back(pos + n >= raw.size() ? 1 : 0);
    Put16(z, static_cast<uint32_t>(n));
    Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
    if (raw.empty()) break;
  }
  uint32_t a = 1, s = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    s = (s + a) % 65521;
  }
  Put32BigEndian(z, (s << 16) | a);

  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  Put32BigEndian(header, w);
  Put32BigEndian(header, h);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  PutPngChunk(out, "IHDR", header);
  PutPngChunk(out, "IDAT", z);
  PutPngChunk(out, "IEND", {});
  return out;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f) return false;
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f.flush());
}

}  // namespace vornik::picturegen
