#include "platform/win32/win32_resource_files.h"

#include <cstdint>

namespace vesk {

namespace {

constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr int kPaletteSize = 16;

void putWord(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFFu));
  out.push_back(static_cast<char>((value >> 8) & 0xFFu));
}

void putDword(std::string& out, std::uint32_t value) {
  putWord(out, value & 0xFFFFu);
  putWord(out, value >> 16);
}

// Bitmap rows are padded to four bytes.
std::size_t rowBytes(int width, int bitsPerPixel) {
  return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32) * 4;
}

char pixelAt(const IconImage& image, int x, int y) {
  if (y < 0 || static_cast<std::size_t>(y) >= image.rows.size()) return '.';
  const std::string_view row = image.rows[static_cast<std::size_t>(y)];
  return static_cast<std::size_t>(x) < row.size() ? row[static_cast<std::size_t>(x)] : '.';
}

}  // namespace

std::string iconImageBits(const IconImage& image) {
  const std::size_t colourRow = rowBytes(image.width, 4);
  const std::size_t maskRow = rowBytes(image.width, 1);
  const std::size_t height = static_cast<std::size_t>(image.height);
  std::string out;
  out.reserve(kBitmapInfoHeaderSize + 4 * kPaletteSize + (colourRow + maskRow) * height);
  putDword(out, kBitmapInfoHeaderSize);
  putDword(out, static_cast<std::uint32_t>(image.width));
  putDword(out, static_cast<std::uint32_t>(image.height * 2));  // colour bits and mask
  putWord(out, 1);                                             // planes
  putWord(out, 4);                                             // bits per pixel
  putDword(out, 0);                                            // BI_RGB
  putDword(out, static_cast<std::uint32_t>((colourRow + maskRow) * height));
  putDword(out, 0);
  putDword(out, 0);
  putDword(out, kPaletteSize);
  putDword(out, 0);
  for (std::uint32_t rgb : kIconPalette) {
    out.push_back(static_cast<char>(rgb & 0xFFu));          // blue
    out.push_back(static_cast<char>((rgb >> 8) & 0xFFu));   // green
    out.push_back(static_cast<char>((rgb >> 16) & 0xFFu));  // red
    out.push_back('\0');
  }
  // Transparent pixels are black in the colour bits and set in the mask,
  // so that drawing leaves the background as it is.
  for (int y = image.height - 1; y >= 0; --y) {
    std::string row(colourRow, '\0');
    for (int x = 0; x < image.width; ++x) {
      const int index = iconPaletteIndex(pixelAt(image, x, y));
      const unsigned value = index < 0 ? 0u : static_cast<unsigned>(index);
      const std::size_t at = static_cast<std::size_t>(x) / 2;
      row[at] = static_cast<char>(static_cast<unsigned char>(row[at]) |
                                  (x % 2 == 0 ? value << 4 : value));
    }
    out += row;
  }
  for (int y = image.height - 1; y >= 0; --y) {
    std::string row(maskRow, '\0');
    for (int x = 0; x < image.width; ++x) {
      if (iconPaletteIndex(pixelAt(image, x, y)) >= 0) continue;
      const std::size_t at = static_cast<std::size_t>(x) / 8;
      row[at] = static_cast<char>(static_cast<unsigned char>(row[at]) | (0x80u >> (x % 8)));
    }
    out += row;
  }
  return out;
}

std::string iconFile(const IconResource& icon) {
  constexpr std::uint32_t kDirectorySize = 6;
  constexpr std::uint32_t kEntrySize = 16;
  std::string out;
  putWord(out, 0);  // reserved
  putWord(out, 1);  // an icon, not a cursor
  putWord(out, static_cast<std::uint32_t>(icon.images.size()));
  std::uint32_t offset =
      kDirectorySize + kEntrySize * static_cast<std::uint32_t>(icon.images.size());
  std::string bitmaps;
  for (const IconImage& image : icon.images) {
    const std::string bits = iconImageBits(image);
    // A width or height of 256 is written as 0; these icons are smaller.
    out.push_back(static_cast<char>(image.width & 0xFF));
    out.push_back(static_cast<char>(image.height & 0xFF));
    out.push_back(static_cast<char>(kPaletteSize));
    out.push_back('\0');
    putWord(out, 1);  // planes
    putWord(out, 4);  // bits per pixel
    putDword(out, static_cast<std::uint32_t>(bits.size()));
    putDword(out, offset);
    offset += static_cast<std::uint32_t>(bits.size());
    bitmaps += bits;
  }
  return out + bitmaps;
}

std::string stringTableScript(std::span<const StringResource> strings) {
  std::string out = "#pragma code_page(65001)\nSTRINGTABLE\nBEGIN\n";
  for (const StringResource& entry : strings) {
    out += "  " + std::to_string(entry.id) + ", \"";
    for (char c : entry.text) {
      // Resource scripts double a quote and escape a backslash and a line end.
      if (c == '"') {
        out += "\"\"";
      } else if (c == '\\') {
        out += "\\\\";
      } else if (c == '\n') {
        out += "\\n";
      } else {
        out.push_back(c);
      }
    }
    out += "\"\n";
  }
  out += "END\n";
  return out;
}

}  // namespace vesk
