#include "schfile/block_fields.h"

#include <cstring>

#include "schfile/number_text.h"
#include "schfile/record_reader.h"

namespace vesk {

EndTag::EndTag(std::string_view name) {
  if (name.size() < kShortTag) {
    shortTag_[0] = '-';
    if (!name.empty()) std::memcpy(shortTag_ + 1, name.data(), name.size());
    view_ = std::string_view(shortTag_, name.size() + 1);
  } else {
    longTag_.reserve(name.size() + 1);
    longTag_.push_back('-');
    longTag_.append(name);
    view_ = longTag_;
  }
}

bool skipBlock(RecordReader& reader, std::string_view startTag) {
  // The tag may view the reader's own field: the end tag is made first.
  if (startTag.empty()) return reader.skipTo(std::string_view()) == 0;
  const EndTag endTag(startTag.substr(1));
  return reader.skipTo(endTag.view()) == 0;
}

BlockFields::Item BlockFields::nextAtTag() {
  if (field_[0] == '-') {
    end_ = field_ == endTag_ ? kOwnEndTag : kOtherEndTag;
    return kEnded;
  }
  if (claimNested_) return kNested;
  return skipNested() ? kKey : kEnded;
}

bool BlockFields::skipNested() {
  if (skipBlock(reader_, field_)) return true;
  end_ = kSkipFailed;
  return false;
}

int BlockFields::number() const { return parseNumber(value_); }

}  // namespace vesk
