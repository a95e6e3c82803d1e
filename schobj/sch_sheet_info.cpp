#include "schobj/sch_sheet_info.h"

#include "schfile/record_writer.h"
#include "schfile/block_fields.h"

namespace vesk {

SchSheetInfo::~SchSheetInfo() = default;

bool SchSheetInfo::readBlock(RecordReader& reader, const Point*, SchDocument*) {
  // Sizes outside the accepted ranges keep the previous value but still
  // count as present. The edit layer and visible layers are not read.
  bool seenWidth = false;
  bool seenHeight = false;
  BlockFields block(reader, "-SHEETINFO", ColonRule::kLax);
  while (block.next() == BlockFields::kKey) {
    if (block.key() == "W") {
      const int w = block.number();
      if (w >= 500 && w <= 3000) width_ = w;
      seenWidth = true;
    } else if (block.key() == "H") {
      const int h = block.number();
      if (h >= 400 && h <= 2000) height_ = h;
      seenHeight = true;
    }
  }
  return block.endedCleanly() && seenWidth && seenHeight;
}

bool SchSheetInfo::writeBlock(RecordWriter& writer, const Point*) {
  writer.writeField("+SHEETINFO");
  writer.writeInt("EL", editLayer_);
  writer.writeInt("VL", visibleLayers_);
  writer.writeInt("W", width_);
  writer.writeInt("H", height_);
  endObjectBlock(writer, "-SHEETINFO");
  return true;
}

}  // namespace vesk
