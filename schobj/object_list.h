// ObjectList: the owned objects of a sheet, in file order, as a document
// holds them and the parts-list builder walks them. A document keeps the
// list in its arena, beside the objects.
#pragma once

#include <memory>
#include <memory_resource>
#include <vector>

namespace vesk {

class SchObject;

using ObjectList = std::pmr::vector<std::unique_ptr<SchObject>>;

}  // namespace vesk
