#include "platform/standard_output.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace vesk {

std::FILE* binaryStandardOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  return stdout;
}

}  // namespace vesk
