// Page memory: the platform's source of large, page-aligned memory, the
// upstream of the bulk memory pool (platform/bulk_memory_pool.h).
//
// The pool asks for chunks that grow to a few megabytes and gives them
// back only when it is destroyed, apart from single large pieces, which
// come and go one by one. On Linux each request is a mapping of its own;
// one of 2 MiB or more is aligned to 2 MiB and marked for transparent huge
// pages. A freshly touched page costs the kernel a fault, and on a virtual
// machine that is dear: a large design touches some hundred megabytes, and
// with 4 KiB pages the faults alone took longer than reading the files.
// Elsewhere the requests go to the C++ heap.
//
// The resource is a process-wide object that lives as long as the program;
// it keeps no state of its own, so any thread may use it.
#pragma once

#include <memory_resource>

namespace vesk {

std::pmr::memory_resource* pageMemory();

}  // namespace vesk
