// The command line's own texts: the usage line, the help of --help (and
// of /? on Windows) and the version of --version.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// "usage: vesk [input.ce3 ...] [-o output.csv] [-F]", with its line end.
std::string usageLine(std::string_view program);
// The usage line, the arguments, the flags and the exit statuses. Where
// '/' starts a flag (Windows) the help says so and names /? as well.
std::string helpText(std::string_view program, bool slashStartsFlag);
// "vesk 0.31", with its line end.
std::string versionText();

}  // namespace vesk
