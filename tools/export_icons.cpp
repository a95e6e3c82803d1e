// vesk-export-icons: writes the program's icon images as PNG files for the
// desktop's icon theme (hicolor), straight from the pixel tables the
// dialogs use, so that there is one source for every icon.
//
// usage: vesk-export-icons OUT_DIR   (writes vesk-32.png and vesk-16.png)
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "app/resources.h"

namespace {

std::uint32_t crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

void putChunk(std::vector<unsigned char>& png, const char* type, const std::vector<unsigned char>& data) {
  putBigEndian(png, static_cast<std::uint32_t>(data.size()));
  std::vector<unsigned char> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  putBigEndian(png, crc32(body.data(), body.size()));
}

// An RGBA PNG whose image data is one zlib stream of stored (uncompressed)
// deflate blocks: icons are tiny, so there is nothing to gain from more.
std::vector<unsigned char> encodePng(const vesk::IconImage& image) {
  std::vector<unsigned char> raw;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // filter type: none
    for (int x = 0; x < image.width; ++x) {
      const int index = vesk::iconPaletteIndex(image.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
      const std::uint32_t rgb = index < 0 ? 0 : vesk::kIconPalette[index];
      raw.push_back(static_cast<unsigned char>(rgb >> 16));
      raw.push_back(static_cast<unsigned char>(rgb >> 8));
      raw.push_back(static_cast<unsigned char>(rgb));
      raw.push_back(index < 0 ? 0 : 255);
    }
  }
  std::vector<unsigned char> zlib = {0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (const unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    zlib.push_back(pos + n == raw.size() ? 1 : 0);
    zlib.push_back(static_cast<unsigned char>(n));
    zlib.push_back(static_cast<unsigned char>(n >> 8));
    zlib.push_back(static_cast<unsigned char>(~n));
    zlib.push_back(static_cast<unsigned char>(~n >> 8));
    zlib.insert(zlib.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
    pos += n;
    if (n == 0) break;
  }
  putBigEndian(zlib, (b << 16) | a);

  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  putBigEndian(header, static_cast<std::uint32_t>(image.width));
  putBigEndian(header, static_cast<std::uint32_t>(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", zlib);
  putChunk(png, "IEND", {});
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
    return 2;
  }
  const vesk::IconResource* icon = vesk::partsListResources().findIcon(vesk::kIdrMainFrame);
  if (icon == nullptr) return 1;
  for (const vesk::IconImage& image : icon->images) {
    const std::string path = std::string(argv[1]) + "/vesk-" + std::to_string(image.width) + ".png";
    const std::vector<unsigned char> png = encodePng(image);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr || std::fwrite(png.data(), 1, png.size(), out) != png.size() ||
        std::fclose(out) != 0) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return 1;
    }
  }
  return 0;
}
