#include "platform/code_page_932.h"

#include <iconv.h>

#include <memory>

namespace vesk {

namespace {

// One conversion descriptor per decoder or encoder, opened once: opening
// looks the converter up, and the converter is called for every non-ASCII
// text.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  ~Iconv() {
    if (isOpen()) iconv_close(descriptor_);
  }

  // `room` bytes of output for each byte of input are enough: three of
  // UTF-8 for a character of code page 932 (one or two bytes), and at most
  // two of code page 932 for a character of UTF-8 (two to four bytes).
  bool append(std::string_view characters, std::string& converted, std::size_t room) {
    if (!isOpen()) return false;
    const std::size_t start = converted.size();
    converted.resize(start + room * characters.size());
    // iconv's interface takes a non-const input pointer; it only reads.
    char* in = const_cast<char*>(characters.data());
    std::size_t inLeft = characters.size();
    char* out = converted.data() + start;
    std::size_t outLeft = converted.size() - start;
    iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // a fresh state
    const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
    const bool done = result != static_cast<std::size_t>(-1) && inLeft == 0;
    converted.resize(done ? converted.size() - outLeft : start);
    return done;
  }

 private:
  bool isOpen() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

  iconv_t descriptor_;
};

}  // namespace

CodePage932Decoder makeCodePage932Decoder() {
  // Shared, since a std::function is copied with its state.
  auto converter = std::make_shared<Iconv>("UTF-8", "CP932");
  return [converter](std::string_view characters, std::string& utf8) {
    return converter->append(characters, utf8, 3);
  };
}

CodePage932Encoder makeCodePage932Encoder() {
  auto converter = std::make_shared<Iconv>("CP932", "UTF-8");
  return [converter](std::string_view characters, std::string& shiftJis) {
    return converter->append(characters, shiftJis, 1);
  };
}

}  // namespace vesk
