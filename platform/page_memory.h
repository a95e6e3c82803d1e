// Page memory: the platform's source of large, page-aligned memory, the
// upstream of a bulk memory pool (memory/bulk_memory_pool.h).
//
// The pool asks for chunks of 2 MiB and for single pieces of up to 4 MiB
// and gives them back only when it is destroyed, apart from pieces larger
// than that, which come and go one by one. On Linux a request of 2 MiB
// or more is a mapping of its own, aligned to 2 MiB, and smaller ones are
// cut one after the other from regions of 32 MiB; every mapping is marked
// for transparent huge pages. A freshly touched page costs the kernel a
// fault, and on a virtual machine that is dear: a large design touches
// some hundred megabytes, and with 4 KiB pages the faults alone took
// longer than reading the files. A small piece is not reused once given
// back (the pool gives its chunks back only at its end); the regions go
// when the page memory is destroyed. Elsewhere the requests go to the C++
// heap.
//
// Each pool owns its page memory, which must outlive it. It is not
// synchronized: a pool serves one thread.
#pragma once

#include <memory>
#include <memory_resource>

namespace vesk {

std::unique_ptr<std::pmr::memory_resource> makePageMemory();

}  // namespace vesk
