// Run memory: where a conversion run takes the memory that grows with its
// input (the parts-list rows, their texts and sort keys, large objects).
//
// A freshly touched page costs the kernel a fault, and on a virtual machine
// a fault is dear: with 4 KiB pages, the faults of a 100 MB design took a
// fifth of the run. On Linux, every piece of 1 MiB or more is therefore a
// mapping of its own, in whole 2 MiB, aligned to 2 MiB and marked for
// transparent huge pages, so that one fault brings in 2 MiB; it is unmapped
// when it is given back. Smaller pieces, and everything on other systems,
// come from the C++ heap.
//
// The caller owns the resource and keeps it for the run, which names it in
// its ConversionOptions. Not synchronized: one run, one thread.
#pragma once

#include <memory>
#include <memory_resource>

namespace vesk {

// Null where the system offers nothing better than the heap.
std::unique_ptr<std::pmr::memory_resource> makeRunMemory();

}  // namespace vesk
