// The program's resources as data: the main dialog and the About box
// templates, the string table and the two icons.
//
// This is the only description of them; every user-interface backend
// builds its dialogs from these tables, and the texts (UTF-8 here) are
// converted by the backend to its code page. The tables are static and
// live for the whole process.
#pragma once

#include "app/resource_ids.h"
#include "platform/resource_data.h"

namespace vesk {

const ResourceSet& partsListResources();

}  // namespace vesk
