// ObjectList: the owned objects of a sheet, in file order, as a document
// holds them and the parts-list builder walks them. A large sheet holds
// a million objects, so the list takes bulk memory (memory/bulk_memory.h)
// like the objects themselves.
#pragma once

#include <memory>
#include <vector>

#include "memory/bulk_memory.h"

namespace vesk {

class SchObject;

using ObjectList =
    std::vector<std::unique_ptr<SchObject>, BulkAllocator<std::unique_ptr<SchObject>>>;

}  // namespace vesk
