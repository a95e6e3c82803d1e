// ObjectList: the owned objects of a sheet, in file order, as a document
// holds them and the parts-list builder walks them.
#pragma once

#include <memory>
#include <vector>

namespace vesk {

class SchObject;

using ObjectList = std::vector<std::unique_ptr<SchObject>>;

}  // namespace vesk
