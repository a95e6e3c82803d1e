// The Windows resource files made from the tables, decoded again: every
// pixel of every icon image must come back with its palette index and its
// transparency, and the string table must hold each text unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/resources.h"
#include "platform/win32/win32_resource_files.h"

namespace vesk {
namespace {

std::uint32_t le(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
  }
  return value;
}

// Checks the bitmap `bits` against `image`, pixel by pixel.
void expectBitmapShows(const std::string& bits, const IconImage& image) {
  ASSERT_GE(bits.size(), 40u + 64u);
  EXPECT_EQ(le(bits, 0, 4), 40u);
  EXPECT_EQ(le(bits, 4, 4), static_cast<std::uint32_t>(image.width));
  EXPECT_EQ(le(bits, 8, 4), static_cast<std::uint32_t>(image.height * 2));
  EXPECT_EQ(le(bits, 12, 2), 1u);
  EXPECT_EQ(le(bits, 14, 2), 4u);
  for (int i = 0; i < 16; ++i) {
    // RGBQUAD: blue, green, red, zero.
    const std::size_t at = 40 + 4 * static_cast<std::size_t>(i);
    const std::uint32_t rgb = kIconPalette[i];
    EXPECT_EQ(le(bits, at, 1), rgb & 0xFF) << i;
    EXPECT_EQ(le(bits, at + 1, 1), (rgb >> 8) & 0xFF) << i;
    EXPECT_EQ(le(bits, at + 2, 1), rgb >> 16) << i;
    EXPECT_EQ(le(bits, at + 3, 1), 0u) << i;
  }
  const std::size_t colourRow = ((static_cast<std::size_t>(image.width) * 4 + 31) / 32) * 4;
  const std::size_t maskRow = ((static_cast<std::size_t>(image.width) + 31) / 32) * 4;
  const std::size_t colours = 40 + 64;
  const std::size_t mask = colours + colourRow * static_cast<std::size_t>(image.height);
  ASSERT_EQ(bits.size(), mask + maskRow * static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(image.height - 1 - y);  // bottom row first
    for (int x = 0; x < image.width; ++x) {
      const char pixel = image.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      const unsigned char colourByte = static_cast<unsigned char>(
          bits[colours + row * colourRow + static_cast<std::size_t>(x) / 2]);
      const int index = x % 2 == 0 ? colourByte >> 4 : colourByte & 0x0F;
      const unsigned char maskByte =
          static_cast<unsigned char>(bits[mask + row * maskRow + static_cast<std::size_t>(x) / 8]);
      const bool transparent = (maskByte & (0x80 >> (x % 8))) != 0;
      const int wanted = iconPaletteIndex(pixel);
      EXPECT_EQ(transparent, wanted < 0) << x << "," << y;
      EXPECT_EQ(index, wanted < 0 ? 0 : wanted) << x << "," << y;
    }
  }
}

TEST(Win32ResourceFiles, IconFilesHoldEveryImageOfTheTables) {
  for (const IconResource& icon : partsListResources().icons) {
    SCOPED_TRACE(icon.id);
    const std::string file = iconFile(icon);
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(le(file, 0, 2), 0u);
    EXPECT_EQ(le(file, 2, 2), 1u);
    ASSERT_EQ(le(file, 4, 2), icon.images.size());
    for (std::size_t i = 0; i < icon.images.size(); ++i) {
      const IconImage& image = icon.images[i];
      const std::size_t entry = 6 + 16 * i;
      EXPECT_EQ(le(file, entry, 1), static_cast<std::uint32_t>(image.width));
      EXPECT_EQ(le(file, entry + 1, 1), static_cast<std::uint32_t>(image.height));
      EXPECT_EQ(le(file, entry + 2, 1), 16u);
      EXPECT_EQ(le(file, entry + 6, 2), 4u);
      const std::uint32_t size = le(file, entry + 8, 4);
      const std::uint32_t offset = le(file, entry + 12, 4);
      ASSERT_LE(static_cast<std::size_t>(offset) + size, file.size());
      expectBitmapShows(file.substr(offset, size), image);
    }
  }
}

TEST(Win32ResourceFiles, RowsOfOddWidthsArePaddedToFourBytes) {
  const std::string_view rows[] = {"9.F", "..0"};
  const IconImage image{3, 2, rows};
  expectBitmapShows(iconImageBits(image), image);
}

TEST(Win32ResourceFiles, StringTableKeepsEveryTextAndEscapesQuotes) {
  const std::string script = stringTableScript(partsListResources().strings);
  EXPECT_EQ(script.rfind("#pragma code_page(65001)\n", 0), 0u);
  for (const StringResource& entry : partsListResources().strings) {
    // A line end of a text (the help's) is written as the escape \n.
    std::string text(entry.text);
    for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "\\n");
    const std::string line = "  " + std::to_string(entry.id) + ", \"" + text + "\"\n";
    EXPECT_NE(script.find(line), std::string::npos) << line;
  }
  const StringResource odd[] = {{7, "say \"hi\" C:\\x\nnext"}};
  EXPECT_NE(stringTableScript(odd).find("  7, \"say \"\"hi\"\" C:\\\\x\\nnext\"\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vesk
