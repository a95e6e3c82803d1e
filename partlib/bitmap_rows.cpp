#include "partlib/bitmap_rows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "partlib/part_def.h"
#include "schfile/block_reader.h"

namespace vesk {

namespace {

constexpr unsigned char kNibbleBase = 0x40;

bool isBitmapCharacter(unsigned char c) { return (c & 0xf0) == kNibbleBase; }

// Whether the `count` bytes at `in` are all bitmap characters ("@" to
// "O"). Rows are most of a design's bytes, so eight are checked at once
// where there are eight, the last eight overlapping the ones before.
bool allBitmapCharacters(const unsigned char* in, std::size_t count) {
  if (count < 8) return std::all_of(in, in + count, isBitmapCharacter);
  constexpr std::uint64_t kHighNibbles = 0xf0f0f0f0f0f0f0f0ull;
  constexpr std::uint64_t kBase = 0x4040404040404040ull;
  const auto wrongIn = [in](std::size_t at) {
    std::uint64_t word;
    std::memcpy(&word, in + at, sizeof word);
    return (word & kHighNibbles) ^ kBase;
  };
  std::uint64_t wrong = wrongIn(count - 8);
  for (std::size_t at = 0; at + 8 <= count; at += 8) wrong |= wrongIn(at);
  return wrong == 0;
}

// Decodes the first `pairs` character pairs at `in` into `out`. A pair
// with a character outside "@".."O" gives the byte 0.
void decodePairs(const unsigned char* in, unsigned char* out, std::size_t pairs) {
  for (std::size_t j = 0; j < pairs; ++j) {
    const unsigned char high = in[2 * j];
    const unsigned char low = in[2 * j + 1];
    const bool valid = isBitmapCharacter(high) && isBitmapCharacter(low);
    out[j] = valid ? static_cast<unsigned char>(((high & 0x0f) << 4) | (low & 0x0f)) : 0;
  }
}

// Takes the rows that follow in the reader's buffer as long as they stand
// there as the editor writes them: exactly `chars` bitmap characters and a
// terminator (CR LF counting as one). Their ends are then known without a
// search, and they are decoded where they stand, at most `rows` of them,
// `stride` bytes apart from `out`. Stops at anything else (the end tag, a
// row of another length, a bad character, the end of the buffer), which
// the field reader then takes. Returns how many rows were taken. With
// `out` null the rows are only checked and passed over.
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
    // escape among them) is the field reader's.
    if (!allBitmapCharacters(p, chars)) break;
    if (out != nullptr) {
      decodePairs(p, out, chars / 2);
      out += stride;
    }
    lineEnds += endsLine;
    p = next;
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
      takeWrittenRows(reader, 2 * bytesPerRow, SIZE_MAX, 0, nullptr);
    } else if (row < height && bytesPerRow != 0 && rowStart + bytesPerRow <= bitmap.size()) {
      const std::size_t fitting = (bitmap.size() - rowStart - bytesPerRow) / stride + 1;
      const std::size_t taken = takeWrittenRows(
          reader, 2 * bytesPerRow, std::min<std::size_t>(height - row, fitting), stride,
          bitmap.data() + rowStart);
      row += static_cast<int>(taken);
      rowStart += taken * stride;
    }
    if (reader.readFieldView(field) == -1) {
      failBlock(reader,
                reader.escapeCutShort() ? ReadProblem::Kind::kEscapeCutShort
                                        : ReadProblem::Kind::kEndOfInput,
                kBitmapTag.name(), blockLine);
      return std::nullopt;
    }
    // A row of bitmap characters never starts with '-' or '+' (nor is it
    // empty): one test tells a row from an end tag or a nested block.
    if (!field.empty() && field[0] == '-') {
      if (field == kBitmapTag.end()) return bitmap;
      failBlock(reader, ReadProblem::Kind::kWrongEndTag, kBitmapTag.name(), blockLine, {}, field);
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
