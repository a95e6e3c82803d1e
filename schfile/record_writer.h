// RecordWriter: the writing side of the schematic text format.
//
// Joins the fields of a line with commas, ends lines on request and escapes
// every byte that the reader would take as a separator or white space
// (0x01 to 0x20, '%' and ',') as "%XX". Bytes 0x7F to 0xFF pass unchanged,
// so double-byte text survives. The writer does not own its target: a FILE*
// or a string that the caller keeps alive.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vesk {

class RecordWriter {
 public:
  explicit RecordWriter(std::FILE* target) : file_(target) {}
  explicit RecordWriter(std::string& target) : text_(&target) {}

  // Writes one field; a comma goes before it unless it starts a line. The
  // text is written up to its first zero byte. 0 on success, -1 when the
  // target refuses the bytes (what was written stays written).
  int writeField(const char* text);
  int writeField(std::string_view text);
  // The field key:value with the value in decimal ("X:-5").
  int writeInt(std::string_view key, int value);
  // The field key:value.
  int writeText(std::string_view key, std::string_view value);
  // Ends the current line with one LF.
  int endLine();

  bool atLineStart() const { return atLineStart_; }

 private:
  int emit(const std::string& bytes);

  std::FILE* file_ = nullptr;
  std::string* text_ = nullptr;
  bool atLineStart_ = true;
  std::string scratch_;
};

}  // namespace vesk
