#include "schfile/record_writer.h"

#include <cstring>

namespace vesk {

namespace {

bool needsEscape(unsigned char b) { return (b >= 0x01 && b <= 0x20) || b == '%' || b == ','; }

void appendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == 0) break;  // texts end at their first zero byte
    if (needsEscape(b)) {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0x0f]);
    } else {
      out.push_back(ch);
    }
  }
}

}  // namespace

int RecordWriter::emit(const std::string& bytes) {
  if (text_ != nullptr) {
    text_->append(bytes);
    return 0;
  }
  if (file_ == nullptr) return -1;
  if (bytes.empty()) return 0;
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ? 0 : -1;
}

int RecordWriter::writeField(const char* text) {
  return writeField(std::string_view(text, std::strlen(text)));
}

int RecordWriter::writeField(std::string_view text) {
  scratch_.clear();
  if (atLineStart_) {
    atLineStart_ = false;
  } else {
    scratch_.push_back(',');
  }
  appendEscaped(scratch_, text);
  return emit(scratch_);
}

int RecordWriter::writeInt(std::string_view key, int value) {
  std::string field(key);
  field.push_back(':');
  field += std::to_string(value);
  return writeField(field);
}

int RecordWriter::writeText(std::string_view key, std::string_view value) {
  // The key and value are escaped as one field; a zero byte in the key ends
  // the whole field, one in the value ends the value.
  std::string field(key);
  field.push_back(':');
  field.append(value);
  return writeField(field);
}

int RecordWriter::endLine() {
  atLineStart_ = true;
  scratch_.assign(1, '\n');
  return emit(scratch_);
}

}  // namespace vesk
