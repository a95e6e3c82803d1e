#include "schobj/sch_sheet_info.h"

#include "schfile/block_reader.h"
#include "schfile/record_writer.h"
#include "schobj/object_keys.h"

namespace vesk {

// The sheet size, both required; a size outside its range keeps the
// previous value but still counts as present. The edit layer and the
// visible layers are written, not read.
struct SchSheetInfo::Block : ObjectKeys<ObjectReading<SchSheetInfo>> {
  static constexpr BlockKey<Reading> kKeys[] = {
      {.name = "EL", .take = ignore},
      {.name = "VL", .take = ignore},
      {.name = "W", .required = true,
       .take = [](Reading& b, std::string_view value) {
         const int w = parseNumber(value);
         if (w >= 500 && w <= 3000) b.object.width_ = w;
         return true;
       }},
      {.name = "H", .required = true,
       .take = [](Reading& b, std::string_view value) {
         const int h = parseNumber(value);
         if (h >= 400 && h <= 2000) b.object.height_ = h;
         return true;
       }},
  };

  static constexpr BlockRules<Reading> kRules{
      .tag = kTag, .colonRule = ColonRule::kLax, .keys = kKeys};
};

std::span<const std::string_view> SchSheetInfo::blockKeys() { return kKeyNames<Block::kRules>; }

bool SchSheetInfo::readBlock(RecordReader& reader, const Point*, SchDocument*) {
  Block::Reading block{*this, nullptr};
  return readByRules<Block::kRules>(reader, block);
}

bool SchSheetInfo::writeBlock(RecordWriter& writer, const Point*) {
  writer.writeField(kTag.start());
  writer.writeInt("EL", editLayer_);
  writer.writeInt("VL", visibleLayers_);
  writer.writeInt("W", width_);
  writer.writeInt("H", height_);
  endObjectBlock(writer, kTag.end());
  return true;
}

}  // namespace vesk
