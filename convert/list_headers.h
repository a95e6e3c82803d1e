// The header rows of the files that begin with one, as their texts are
// written in Shift-JIS (a file in UTF-8 has them converted like every
// text): the grouped parts list (convert/grouped_parts_list.h) and the
// changes since an earlier list (convert/changes_list.h). The reader of
// earlier lists (convert/parts_list_reader.h) tells the files by them.
#pragma once

#include <string_view>

namespace vesk {

// 重複 (repeated), 部品番号 (references), 数量 (quantity), 部品名 (name),
// 備考 (note).
inline constexpr std::string_view kGroupedListHeader[] = {
    "\x8f\x64\x95\xa1",
    "\x95\x94\x95\x69\x94\xd4\x8d\x86",
    "\x90\x94\x97\xca",
    "\x95\x94\x95\x69\x96\xbc",
    "\x94\xf5\x8d\x6c",
};

// 変更 (change), 部品名 (name), 備考 (note), 前 (before), 今 (now), 増減
// (difference), 加わった部品番号 (references added), なくなった部品番号
// (references removed).
inline constexpr std::string_view kChangesListHeader[] = {
    "\x95\xcf\x8d\x58",
    "\x95\x94\x95\x69\x96\xbc",
    "\x94\xf5\x8d\x6c",
    "\x91\x4f",
    "\x8d\xa1",
    "\x91\x9d\x8c\xb8",
    "\x89\xc1\x82\xed\x82\xc1\x82\xbd\x95\x94\x95\x69\x94\xd4\x8d\x86",
    "\x82\xc8\x82\xad\x82\xc8\x82\xc1\x82\xbd\x95\x94\x95\x69\x94\xd4\x8d\x86",
};

}  // namespace vesk
