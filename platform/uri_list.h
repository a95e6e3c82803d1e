// Local paths from a "text/uri-list" drop, the form in which file managers
// hand over dragged files.
//
// The list is one URI a line (CR LF, though bare LF is taken too); lines
// beginning with '#' are comments. Only "file:" URIs on this machine name
// local files: no host, "localhost", or this machine's own host name. Their
// path is percent-decoded to the bytes of the file name, which need not be
// UTF-8. Anything else (other schemes, other hosts, broken escapes, an
// encoded zero byte, a relative path) is skipped, since no local file can
// be opened by it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// The local path of one file URI, or none when the URI does not name a
// local file.
std::optional<std::string> localPathFromFileUri(std::string_view uri, std::string_view hostName);

// Every local path of a uri-list, in the list's order.
std::vector<std::string> localPathsFromUriList(std::string_view list, std::string_view hostName);

}  // namespace vesk
