#include "partlib/bitmap_rows.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "partlib/part_def.h"
#include "schfile/block_reader.h"

namespace vesk {

namespace {

constexpr unsigned char kNibbleBase = 0x40;
constexpr std::string_view kBitmapName = "BMP";

// Decodes the pairs of one word of characters at once (character k in
// byte k of a little-endian word): four pairs of a 64-bit word, two of a
// 32-bit one. Rows are most of a file's bytes, and a word of arithmetic
// decodes them faster than a table of every pair, which would not stay in
// cache. Nonzero when a character is not a bitmap character. Without
// kDecodes the characters are only checked, and nothing is written.
template <class Word, bool kDecodes>
Word decodePairWord(const unsigned char* in, unsigned char* out) {
  // A word with every byte `b`.
  constexpr auto everyByte = [](unsigned b) { return static_cast<Word>(~Word{0} / 0xff * b); };
  constexpr Word kEvenBytes = static_cast<Word>(~Word{0} / 0xffff * 0xff);
  Word chars;
  std::memcpy(&chars, in, sizeof chars);
  // A byte is nonzero for a character outside "@".."O".
  const Word wrong = (chars & everyByte(0xf0)) ^ everyByte(kNibbleBase);
  if constexpr (!kDecodes) return wrong;
  // The pair's byte, (first nibble << 4) | second nibble, in its first byte.
  const Word nibbles = chars & everyByte(0x0f);
  Word value = ((nibbles << 4) | (nibbles >> 8)) & kEvenBytes;
  if (wrong != 0) {
    // A pair is bad when either of its two is, marked in the pair's first
    // byte; bad pairs give 0.
    const Word wrongPair = (wrong | (wrong >> 8)) & kEvenBytes;
    const Word nonzero =
        (((wrongPair & everyByte(0x7f)) + everyByte(0x7f)) | wrongPair) & everyByte(0x80);
    value &= ~((nonzero >> 7) * 0xff);
  }
  // Then the bytes next to each other.
  value |= value >> 8;
  if constexpr (sizeof(Word) == 8) {
    value &= 0x0000ffff0000ffffull;
    const auto bytes = static_cast<std::uint32_t>(value | (value >> 16));
    std::memcpy(out, &bytes, sizeof bytes);
  } else {
    const auto bytes = static_cast<std::uint16_t>(value);
    std::memcpy(out, &bytes, sizeof bytes);
  }
  return wrong;
}

// Decodes the first `pairs` character pairs at `in` into `out`: four pairs
// at a time, the last four of the row overlapping the ones before when the
// row is not a multiple of four bytes long. A pair with a character
// outside "@".."O" gives the byte 0. True when every character was a
// bitmap character. Without kDecodes the characters are only checked.
template <bool kDecodes = true>
bool decodePairs(const unsigned char* in, unsigned char* out, std::size_t pairs) {
  // Where the byte of pair j goes; `out` may be null when nothing is.
  const auto at = [out](std::size_t j) { return kDecodes ? out + j : out; };
  if constexpr (std::endian::native == std::endian::little) {
    if (pairs >= 4) {
      std::uint64_t wrong = 0;
      for (std::size_t j = 0; j + 4 <= pairs; j += 4) {
        wrong |= decodePairWord<std::uint64_t, kDecodes>(in + 2 * j, at(j));
      }
      if (pairs % 4 != 0) {
        wrong |= decodePairWord<std::uint64_t, kDecodes>(in + 2 * (pairs - 4), at(pairs - 4));
      }
      return wrong == 0;
    }
    if (pairs >= 2) {
      std::uint32_t wrong = decodePairWord<std::uint32_t, kDecodes>(in, out);
      if (pairs == 3) wrong |= decodePairWord<std::uint32_t, kDecodes>(in + 2, at(1));
      return wrong == 0;
    }
  }
  bool valid = true;
  for (std::size_t j = 0; j < pairs; ++j) {
    const unsigned char high = in[2 * j];
    const unsigned char low = in[2 * j + 1];
    const bool pairValid = (high & 0xf0) == kNibbleBase && (low & 0xf0) == kNibbleBase;
    if constexpr (kDecodes) {
      out[j] = pairValid ? static_cast<unsigned char>(((high & 0x0f) << 4) | (low & 0x0f)) : 0;
    }
    valid = valid && pairValid;
  }
  return valid;
}

// Takes the rows that follow in the reader's buffer as long as they stand
// there as the editor writes them: exactly `chars` bitmap characters and a
// terminator (CR LF counting as one). Their ends are then known without a
// search, and they are decoded where they stand, at most `rows` of them,
// `stride` bytes apart from `out`. Stops at anything else (the end tag, a
// row of another length, a bad character, the end of the buffer), which
// the field reader then takes. Returns how many rows were taken. Without
// kDecodes the rows are only checked and passed over; `out` is not used.
template <bool kDecodes>
std::size_t takeWrittenRows(RecordReader& reader, std::size_t chars, std::size_t rows,
                            std::size_t stride, unsigned char* out) {
  const unsigned char* const start = reader.bufferedBegin();
  const unsigned char* const end = reader.bufferedEnd();
  const unsigned char* p = start;
  std::uint64_t lineEnds = 0;
  // A field that ended at a CR leaves the LF after it: white space that
  // the field reader would skip before the next field.
  if (p != end && *p == '\n') {
    ++p;
    ++lineEnds;
  }
  std::size_t taken = 0;
  // Room for the row, its terminator and an LF after a CR.
  for (; taken < rows && static_cast<std::size_t>(end - p) >= chars + 2; ++taken) {
    const unsigned char* next = p + chars + 1;
    std::uint64_t endsLine = 1;
    if (const unsigned char terminator = next[-1]; terminator != '\n') {
      if (terminator == ',') {
        endsLine = 0;
      } else if (terminator == '\r') {
        if (*next == '\n') {
          ++next;
        } else {
          endsLine = 0;
        }
      } else {
        break;
      }
    }
    // A row that holds anything but bitmap characters (a terminator or an
    // escape among them) is the field reader's; its bytes decoded here are
    // cleared again.
    if (!decodePairs<kDecodes>(p, out, chars / 2)) {
      if constexpr (kDecodes) std::memset(out, 0, chars / 2);
      break;
    }
    lineEnds += endsLine;
    p = next;
    if constexpr (kDecodes) out += stride;
  }
  reader.consumeBuffered(static_cast<std::size_t>(p - start), lineEnds);
  return taken;
}

}  // namespace

void appendBitmapRow(std::string& text, const unsigned char* bytes, std::size_t count) {
  for (std::size_t j = 0; j < count; ++j) {
    text.push_back(static_cast<char>(kNibbleBase + (bytes[j] >> 4)));
    text.push_back(static_cast<char>(kNibbleBase + (bytes[j] & 0x0f)));
  }
}

std::optional<PartPattern::Bytes> readBitmapRows(RecordReader& reader, const PartPattern& pattern,
                                                 std::size_t dataSize, PartDetails details) {
  // Rows are plain fields, not key fields. At most 501 columns and 501
  // rows are decoded; the row stride follows the decoded width.
  const int blockLine = reader.lastFieldLine();
  const int width = std::clamp(pattern.size().x, 0, kMaxDecodedBitmapSide);
  const int height = std::clamp(pattern.size().y, 0, kMaxDecodedBitmapSide);
  const auto stride = static_cast<std::size_t>(PartPattern::strideFor(width));
  const auto bytesPerRow = static_cast<std::size_t>((width + 7) / 8);

  const bool decodes = details == PartDetails::kKept;
  PartPattern::Bytes bitmap(decodes ? dataSize : 0, 0, pattern.memory());
  int row = 0;
  std::size_t rowStart = 0;
  std::string_view field;
  for (;;) {
    // The rows still to fill that lie wholly in the bitmap (a pattern
    // wider than the bitmap was sized for cannot reach past it).
    if (!decodes) {
      // Rows left out are only passed over: how many there are does not
      // matter.
      takeWrittenRows<false>(reader, 2 * bytesPerRow, SIZE_MAX, 0, nullptr);
    } else if (row < height && bytesPerRow != 0 && rowStart + bytesPerRow <= bitmap.size()) {
      const std::size_t fitting = (bitmap.size() - rowStart - bytesPerRow) / stride + 1;
      const std::size_t taken = takeWrittenRows<true>(
          reader, 2 * bytesPerRow, std::min<std::size_t>(height - row, fitting), stride,
          bitmap.data() + rowStart);
      row += static_cast<int>(taken);
      rowStart += taken * stride;
    }
    if (reader.readFieldView(field) == -1) {
      failBlock(reader,
                reader.escapeCutShort() ? ReadProblem::Kind::kEscapeCutShort
                                        : ReadProblem::Kind::kEndOfInput,
                kBitmapName, blockLine);
      return std::nullopt;
    }
    // A row of bitmap characters never starts with '-' or '+' (nor is it
    // empty): one test tells a row from an end tag or a nested block.
    if (!field.empty() && field[0] == '-') {
      if (field.substr(1) == kBitmapName) return bitmap;
      failBlock(reader, ReadProblem::Kind::kWrongEndTag, kBitmapName, blockLine, {}, field);
      return std::nullopt;
    }
    if (!field.empty() && field[0] == '+') {
      if (!skipBlock(reader, field)) return std::nullopt;
      continue;
    }
    if (row < height) {
      // At most the row's bytes, the text's pairs and what is left of the
      // bitmap.
      if (rowStart < bitmap.size()) {
        const std::size_t pairs =
            std::min(std::min(bytesPerRow, field.size() / 2), bitmap.size() - rowStart);
        decodePairs(reinterpret_cast<const unsigned char*>(field.data()), bitmap.data() + rowStart,
                    pairs);
      }
      ++row;
      rowStart += stride;
    }
  }
}

}  // namespace vesk
