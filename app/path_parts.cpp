#include "app/path_parts.h"

#include "platform/ui_host.h"

namespace vesk {

PathParts PathParts::Split(std::string_view path, const CUiHost& host) {
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':' &&
      !host.IsDBCSLeadByte(static_cast<unsigned char>(path[0]))) {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  std::size_t nameStart = 0;
  std::size_t lastDot = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(path[i]);
    if (host.IsDBCSLeadByte(byte) && i + 1 < path.size()) {
      ++i;  // the trail byte is part of the character, whatever its value
      continue;
    }
    if (byte == '\\' || byte == '/') {
      nameStart = i + 1;
      lastDot = std::string_view::npos;
    } else if (byte == '.') {
      lastDot = i;
    }
  }
  parts.directory = path.substr(0, nameStart);
  if (lastDot == std::string_view::npos) {
    parts.name = path.substr(nameStart);
  } else {
    parts.name = path.substr(nameStart, lastDot - nameStart);
    parts.extension = path.substr(lastDot);
  }
  return parts;
}

std::string PathParts::WithExtension(std::string_view newExtension) const {
  std::string joined;
  joined.reserve(drive.size() + directory.size() + name.size() + newExtension.size());
  joined += drive;
  joined += directory;
  joined += name;
  joined += newExtension;
  return joined;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace vesk
