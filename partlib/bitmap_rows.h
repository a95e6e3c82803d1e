// The row text of a bitmap block (kBitmapTag): one field per row of a
// part's bitmap.
//
// Each byte of a row is written as two characters, high nibble first, each
// nibble v as the character 0x40 + v ("@" for 0 up to "O" for 15), so the
// bytes 0xFF, 0x0F, 0xF0 read "OO@OO@". The block is read by
// readBitmapRows (partlib/part_def.h), in bitmap_rows.cpp with this.
#pragma once

#include <cstddef>
#include <string>

namespace vesk {

// Appends the row text of `count` bytes at `bytes` to `text`.
void appendBitmapRow(std::string& text, const unsigned char* bytes, std::size_t count);

}  // namespace vesk
