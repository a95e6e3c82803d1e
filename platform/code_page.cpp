#include "platform/code_page.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vesk {

bool isLeadByteInCodePage(unsigned codePage, unsigned char byte) {
  switch (codePage) {
    case 932:  // Shift-JIS
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:  // GBK
    case 949:  // Unified Hangul
    case 950:  // Big5
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

unsigned nativeCodePage() {
#ifdef _WIN32
  return GetACP();
#else
  return kCodePageUtf8;
#endif
}

}  // namespace vesk
