// Exit statuses of the vesk program, for scripts that run it.
#pragma once

namespace vesk {

inline constexpr int kExitWritten = 0;       // the parts list was written, or the window closed
inline constexpr int kExitInputFailed = 1;   // an input file could not be read
inline constexpr int kExitOutputFailed = 2;  // the output could not be opened or written
inline constexpr int kExitNoInput = 3;       // automatic mode without any input file
inline constexpr int kExitNoWindow = 4;      // no window can be shown here
inline constexpr int kExitBadOption = 5;     // a long option with a value it does not take

}  // namespace vesk
