// Lead bytes of the double-byte code pages.
//
// Paths and texts are bytes of the active ANSI code page. In the Japanese,
// Chinese and Korean code pages a character may take two bytes, and the
// second one can look like an ASCII character: Shift-JIS (932) has trail
// bytes 0x40 to 0xFC, so the trail byte 0x5C reads as a backslash to code
// that does not know. Path splitting asks these functions which bytes begin
// a pair.
#pragma once

namespace vesk {

inline constexpr unsigned kCodePageShiftJis = 932;
inline constexpr unsigned kCodePageUtf8 = 65001;

// Whether `byte` begins a double-byte character in `codePage`. Code pages
// without double-byte characters (UTF-8 included: its sequences never hold
// ASCII bytes) have no lead bytes.
bool isLeadByteInCodePage(unsigned codePage, unsigned char byte);

// The process's active ANSI code page: GetACP() on Windows, UTF-8 elsewhere.
unsigned nativeCodePage();

}  // namespace vesk
