#include "schobj/block_fields.h"

#include "schfile/number_text.h"
#include "schfile/record_reader.h"

namespace vesk {

bool skipBlock(RecordReader& reader, std::string_view startTag) {
  std::string endTag(startTag);
  if (!endTag.empty()) endTag[0] = '-';
  return reader.skipTo(endTag) == 0;
}

BlockFields::Item BlockFields::next() {
  if (end_ != kNotEnded) return kEnded;
  for (;;) {
    if (reader_.readField(field_) == -1) {
      end_ = kEndOfInput;
      return kEnded;
    }
    if (!field_.empty() && field_[0] == '-') {
      end_ = field_ == endTag_ ? kOwnEndTag : kOtherEndTag;
      return kEnded;
    }
    if (!field_.empty() && field_[0] == '+') {
      if (claimNested_) return kNested;
      if (!skipNested()) return kEnded;
      continue;
    }
    const std::size_t colon = field_.find(':');
    if (colon == std::string::npos || colon == 0) continue;
    if (rule_ == ColonRule::kStrict && colon + 1 == field_.size()) continue;
    const std::string_view whole(field_);
    key_ = whole.substr(0, colon);
    value_ = whole.substr(colon + 1);
    return kKey;
  }
}

bool BlockFields::skipNested() {
  if (skipBlock(reader_, field_)) return true;
  end_ = kSkipFailed;
  return false;
}

int BlockFields::number() const { return parseNumber(value_); }

}  // namespace vesk
