// The standard output stream as a parts list is written to: binary, so
// that the CR LF row ends and every byte of the texts reach it unchanged
// (the C runtime of Windows would otherwise write each LF as CR LF, and
// each CR LF as CR CR LF).
#pragma once

#include <cstdio>

namespace vesk {

// stdout, switched to binary mode where the system has a text mode.
std::FILE* binaryStandardOutput();

}  // namespace vesk
