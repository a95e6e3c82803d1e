#include "platform/file_filter.h"

namespace vesk {

std::string caseInsensitiveGlob(std::string_view windowsPattern) {
  // Windows' "*.*" matches names without a dot too.
  if (windowsPattern == "*.*") return "*";
  std::string glob;
  glob.reserve(windowsPattern.size() * 4);
  for (const char c : windowsPattern) {
    const bool lower = c >= 'a' && c <= 'z';
    const bool upper = c >= 'A' && c <= 'Z';
    if (lower || upper) {
      glob.push_back('[');
      glob.push_back(lower ? c : static_cast<char>(c - 'A' + 'a'));
      glob.push_back(upper ? c : static_cast<char>(c - 'a' + 'A'));
      glob.push_back(']');
    } else if (c == '[' || c == ']' || c == '\\') {
      glob.push_back('\\');
      glob.push_back(c);
    } else {
      glob.push_back(c);
    }
  }
  return glob;
}

std::vector<FileFilter> fileFiltersFromPairs(std::string_view pairs) {
  std::vector<FileFilter> filters;
  // Takes the next zero-terminated text; an unterminated tail counts as a
  // text as well, so that a list without its final zero is still read.
  auto nextText = [&pairs]() {
    const std::size_t end = pairs.find('\0');
    const std::string_view text = pairs.substr(0, end);
    pairs.remove_prefix(end == std::string_view::npos ? pairs.size() : end + 1);
    return text;
  };
  while (!pairs.empty()) {
    const std::string_view description = nextText();
    if (description.empty()) break;
    if (pairs.empty()) break;
    std::string_view patternList = nextText();
    if (patternList.empty()) break;
    FileFilter filter{std::string(description), {}};
    while (!patternList.empty()) {
      const std::size_t end = patternList.find(';');
      std::string_view pattern = patternList.substr(0, end);
      patternList.remove_prefix(end == std::string_view::npos ? patternList.size() : end + 1);
      while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
      while (!pattern.empty() && pattern.back() == ' ') pattern.remove_suffix(1);
      if (!pattern.empty()) filter.patterns.push_back(caseInsensitiveGlob(pattern));
    }
    if (!filter.patterns.empty()) filters.push_back(std::move(filter));
  }
  return filters;
}

}  // namespace vesk
