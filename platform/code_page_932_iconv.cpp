#include "platform/code_page_932.h"

#include <iconv.h>

#include <memory>

namespace vesk {

namespace {

// One conversion descriptor per decoder, opened once: opening looks the
// converter up, and the decoder is called for every non-ASCII text.
class Iconv {
 public:
  Iconv() : descriptor_(iconv_open("UTF-8", "CP932")) {}
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  ~Iconv() {
    if (isOpen()) iconv_close(descriptor_);
  }

  bool append(std::string_view characters, std::string& utf8) {
    if (!isOpen()) return false;
    const std::size_t start = utf8.size();
    // A character of one or two bytes is at most three bytes of UTF-8.
    utf8.resize(start + 3 * characters.size());
    // iconv's interface takes a non-const input pointer; it only reads.
    char* in = const_cast<char*>(characters.data());
    std::size_t inLeft = characters.size();
    char* out = utf8.data() + start;
    std::size_t outLeft = utf8.size() - start;
    iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // a fresh state
    const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
    const bool converted = result != static_cast<std::size_t>(-1) && inLeft == 0;
    utf8.resize(converted ? utf8.size() - outLeft : start);
    return converted;
  }

 private:
  bool isOpen() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

  iconv_t descriptor_;
};

}  // namespace

CodePage932Decoder makeCodePage932Decoder() {
  // Shared, since a std::function is copied with its state.
  auto converter = std::make_shared<Iconv>();
  return [converter](std::string_view characters, std::string& utf8) {
    return converter->append(characters, utf8);
  };
}

}  // namespace vesk
