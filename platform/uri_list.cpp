#include "platform/uri_list.h"

namespace vesk {

namespace {

int hexValue(char digit) {
  if (digit >= '0' && digit <= '9') return digit - '0';
  if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
  if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
  return -1;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::optional<std::string> percentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;  // cut-off escape
    const int high = hexValue(text[i + 1]);
    const int low = hexValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    const int byte = high * 16 + low;
    if (byte == 0) return std::nullopt;  // no file name holds a zero byte
    decoded.push_back(static_cast<char>(byte));
    i += 2;
  }
  return decoded;
}

}  // namespace

std::optional<std::string> localPathFromFileUri(std::string_view uri, std::string_view hostName) {
  constexpr std::string_view kScheme = "file:";
  if (uri.size() < kScheme.size() || !equalsIgnoringAsciiCase(uri.substr(0, 5), kScheme)) {
    return std::nullopt;
  }
  std::string_view rest = uri.substr(kScheme.size());
  // A fragment or query cannot belong to a local file; file managers
  // escape '#' and '?' in names.
  if (rest.find_first_of("#?") != std::string_view::npos) return std::nullopt;
  if (rest.substr(0, 2) == "//") {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    const bool local = host.empty() || equalsIgnoringAsciiCase(host, "localhost") ||
                       (!hostName.empty() && equalsIgnoringAsciiCase(host, hostName));
    if (!local) return std::nullopt;
    rest.remove_prefix(slash);
  }
  if (rest.empty() || rest.front() != '/') return std::nullopt;
  return percentDecoded(rest);
}

std::vector<std::string> localPathsFromUriList(std::string_view list, std::string_view hostName) {
  std::vector<std::string> paths;
  while (!list.empty()) {
    const std::size_t end = list.find('\n');
    std::string_view line = list.substr(0, end);
    list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // Surrounding blanks are not part of a URI; some senders leave them.
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (std::optional<std::string> path = localPathFromFileUri(line, hostName)) {
      paths.push_back(std::move(*path));
    }
  }
  return paths;
}

}  // namespace vesk
