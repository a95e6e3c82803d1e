// Page memory: the platform's source of large, page-aligned memory for a
// conversion run (the arenas of its documents and the rows of its list).
//
// On Linux a request of 2 MiB or more is a mapping of its own, aligned to
// 2 MiB, and smaller ones are cut one after the other from regions of
// 32 MiB; every mapping is marked for transparent huge pages. A freshly
// touched page costs the kernel a fault, and on a virtual machine that is
// dear: a large design touches some hundred megabytes, and with 4 KiB
// pages the faults alone took longer than reading the files. A mapping of
// its own goes back to the system when it is given back; a small piece is
// not reused, its region goes when the page memory is destroyed. The run
// keeps its small pieces for its whole length, so nothing is lost.
// Elsewhere the requests go to the C++ heap.
//
// The run owns its page memory, which must outlive everything that takes
// memory from it. It is not synchronized: a run is one thread.
#pragma once

#include <memory>
#include <memory_resource>

namespace vesk {

std::unique_ptr<std::pmr::memory_resource> makePageMemory();

}  // namespace vesk
