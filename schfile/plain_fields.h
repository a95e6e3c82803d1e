// PlainFields: reads the fields of one block straight from the bytes that a
// RecordReader holds in its buffer, when the block is written plainly.
//
// Nearly every block of a real file is written the way the editor writes
// it: its keys in their usual order, short values of plain bytes, every
// field ended by a comma or a line end, nothing escaped and no white space
// to skip. A reader that knows the usual layout of its block can then take
// each field by what it expects there (the key "X1:", a number up to the
// next terminator) instead of splitting the field first and looking at its
// key afterwards, and touches each byte once.
//
// The cursor only looks: it consumes nothing from the reader until the
// block reader, having found every field as it expected, calls commit().
// At the first thing it did not expect (another key, an escape, white
// space, a value out of the plain range, the end of the buffer), a call
// returns false, the cursor stays failed and the block reader reads the
// block the general way from where it began. A block read through the
// cursor therefore gives what the general way gives, only sooner.
//
// The cursor views the reader's buffer: it is valid until the next
// reading operation of that reader, and so are the texts it hands out.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "schfile/record_reader.h"

namespace vesk {

class PlainFields {
 public:
  explicit PlainFields(const RecordReader& reader)
      : p_(reader.bufferedBegin()), end_(reader.bufferedEnd()) {}

  PlainFields(const PlainFields&) = delete;
  PlainFields& operator=(const PlainFields&) = delete;

  // True when the next field begins with `keyAndColon` ("X1:"); nothing is
  // taken and the cursor does not fail otherwise.
  bool at(std::string_view keyAndColon) const {
    return ok_ && static_cast<std::size_t>(end_ - p_) >= keyAndColon.size() &&
           std::memcmp(p_, keyAndColon.data(), keyAndColon.size()) == 0;
  }

  // Takes `keyAndColon` at the start of the next field; fails without it.
  bool key(std::string_view keyAndColon) {
    if (!at(keyAndColon)) return fail();
    fieldStart_ = p_;
    p_ += keyAndColon.size();
    return true;
  }

  // Takes the value of the field whose key was just taken: an optional '-'
  // and one to nine decimal digits (the values that cannot leave the int
  // range), then the field's terminator.
  bool number(int& value) {
    // Room for the longest such value and its terminator, so that the
    // digits are read without watching the buffer's end; a block that
    // ends closer to it is left to the general way.
    if (!ok_ || end_ - p_ < kLongestNumber + 1) return fail();
    const unsigned char* p = p_;
    const bool negative = *p == '-';
    p += negative ? 1 : 0;
    int digits = 0;
    const int magnitude = leadingDigits(p, digits);
    if (digits == 0) return fail();
    value = negative ? -magnitude : magnitude;
    p_ = p + digits;
    return terminator();
  }

  // Takes the value of the field whose key was just taken as a text of
  // plain bytes, possibly empty, then the field's terminator.
  bool text(std::string_view& value) {
    if (!ok_) return false;
    const unsigned char* p = record_detail::findSpecial(p_, end_);
    if (p == end_ || *p == '%') return fail();
    value = std::string_view(reinterpret_cast<const char*>(p_), static_cast<std::size_t>(p - p_));
    p_ = p;
    return terminator();
  }

  // Takes a field that is exactly `expected` (an end tag), then its
  // terminator.
  bool field(std::string_view expected) {
    if (!ok_) return false;
    fieldStart_ = p_;
    if (static_cast<std::size_t>(end_ - p_) < expected.size() ||
        std::memcmp(p_, expected.data(), expected.size()) != 0) {
      return fail();
    }
    p_ += expected.size();
    return terminator();
  }

  // Takes the end tag of the block `name`: '-' and the name, then its
  // terminator. The name is a C string, compared as it is walked rather
  // than measured first.
  bool endTag(const char* name) {
    if (!ok_ || p_ == end_ || *p_ != '-') return fail();
    fieldStart_ = p_;
    const unsigned char* p = p_ + 1;
    for (; *name != '\0'; ++name, ++p) {
      if (p == end_ || *p != static_cast<unsigned char>(*name)) return fail();
    }
    p_ = p;
    return terminator();
  }

  bool ok() const { return ok_; }

  // Consumes from the reader what the cursor took. Only after every field
  // of the block was taken as expected.
  void commit(RecordReader& reader) const {
    reader.consumeBuffered(static_cast<std::size_t>(p_ - reader.bufferedBegin()), lineEnds_);
  }

 private:
  static constexpr std::ptrdiff_t kLongestNumber = 10;  // '-' and nine digits

  // The value of the decimal digits at `p` (at most nine, with at least
  // ten bytes readable there), and their count in `digits`.
  static int leadingDigits(const unsigned char* p, int& digits) {
    if constexpr (std::endian::native == std::endian::little) {
      // Eight characters at once, the first in the lowest byte. Each less
      // '0' is a digit when it is at most 9: its high half is zero before
      // and after adding 6. The bytes after the first other character may
      // be changed by borrows and carries, but only the first one counts.
      std::uint64_t chars;
      std::memcpy(&chars, p, sizeof chars);
      const std::uint64_t values = chars - 0x3030303030303030ull;
      const std::uint64_t others = (values | (values + 0x0606060606060606ull)) & 0xf0f0f0f0f0f0f0f0ull;
      const int count = others == 0 ? 8 : std::countr_zero(others) / 8;
      if (count == 0) {
        digits = 0;
        return 0;
      }
      // The digits moved to the top, the bytes below them zero: the value
      // of eight digits with leading zeros, combined pairwise, then in
      // fours, then in eights.
      std::uint64_t v = values << (8 * (8 - count));
      v = (v * 10) + (v >> 8);
      v = (((v & 0x000000ff000000ffull) * (100 + (1000000ull << 32))) +
           (((v >> 16) & 0x000000ff000000ffull) * (1 + (10000ull << 32)))) >>
          32;
      int value = static_cast<int>(v);
      digits = count;
      if (count == 8) {
        const unsigned ninth = static_cast<unsigned>(p[8]) - unsigned{'0'};
        if (ninth <= 9) {
          value = value * 10 + static_cast<int>(ninth);
          digits = 9;
        }
      }
      return value;
    } else {
      int value = 0;
      digits = 0;
      while (digits < 9) {
        const unsigned d = static_cast<unsigned>(p[digits]) - unsigned{'0'};
        if (d > 9) break;
        value = value * 10 + static_cast<int>(d);
        ++digits;
      }
      return value;
    }
  }

  bool fail() {
    ok_ = false;
    return false;
  }

  // A comma or LF ends the field. A CR does too, and an LF right after it
  // is taken along: the general way skips it as white space before the
  // next field. Anything else, the end of the buffer, or a field as long
  // as the longest one the general way hands out in one piece, fails.
  bool terminator() {
    if (p_ == end_ || p_ - fieldStart_ >= static_cast<std::ptrdiff_t>(RecordReader::kMaxFieldLength)) {
      return fail();
    }
    const unsigned char c = *p_;
    if (c == ',') {
      ++p_;
      return true;
    }
    if (c == '\n') {
      ++p_;
      ++lineEnds_;
      return true;
    }
    if (c == '\r') {
      ++p_;
      if (p_ != end_ && *p_ == '\n') {
        ++p_;
        ++lineEnds_;
      }
      return true;
    }
    return fail();
  }

  const unsigned char* p_;
  const unsigned char* end_;
  const unsigned char* fieldStart_ = p_;
  std::uint64_t lineEnds_ = 0;
  bool ok_ = true;
};

}  // namespace vesk
