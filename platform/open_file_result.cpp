#include "platform/open_file_result.h"

#include <algorithm>

namespace vesk {

std::string openFileResult(const std::vector<std::string>& paths, bool multiple) {
  std::string result;
  if (paths.empty()) return std::string(2, '\0');
  if (!multiple || paths.size() == 1) {
    result = paths.front();
    result.push_back('\0');
    result.push_back('\0');
    return result;
  }
  // The deepest directory that holds every path ("" for the root).
  const std::string& first = paths.front();
  std::string directory = first.substr(0, std::min(first.rfind('/'), first.size()));
  for (const std::string& path : paths) {
    while (!directory.empty() &&
           !(path.size() > directory.size() + 1 && path.compare(0, directory.size(), directory) == 0 &&
             path[directory.size()] == '/')) {
      directory.resize(std::min(directory.rfind('/'), directory.size() - 1));
    }
  }
  const std::size_t shared = directory.size();
  // The root keeps its '/', any other directory is written without it.
  result = directory.empty() ? std::string("/") : directory;
  result.push_back('\0');
  for (const std::string& path : paths) {
    if (path.size() >= shared + 1) result.append(path, shared + 1, std::string::npos);
    result.push_back('\0');
  }
  result.push_back('\0');
  return result;
}

}  // namespace vesk
