// Shift-JIS texts into UTF-8 through the system's table of code page 932:
// iconv natively, MultiByteToWideChar when this program runs under Wine,
// which must give the same characters; and which bytes form a character.
#include "convert/shift_jis_to_utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page_932.h"

namespace vesk {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(ShiftJisToUtf8, CharactersAndWhatIsNone) {
  struct Case {
    std::string text;
    std::string utf8;
    std::size_t replaced;
  };
  const Case cases[] = {
      {"", "", 0},
      {"\x8b\xe0\x91\xae\x94\xe7\x96\x8c 1/4W", "金属皮膜 1/4W", 0},
      // Trail bytes 0x5C and 0x7E, then the ASCII bytes themselves.
      {"\x83\x5c\x83\x7e\\~", "ソミ\\~", 0},
      // Where tables of Shift-JIS differ: code page 932 has the full-width
      // forms, the NEC and IBM extensions and the user-defined rows.
      {"\x81\x5f\x81\x60\x81\x61\x81\x7c\x87\x40\xfa\x40\xfc\x4b", "＼～∥－①ⅰ黑", 0},
      {"\xf0\x40", "\xEE\x80\x80", 0},  // U+E000, private use
      {"ab\x82", "ab" + kFffd, 1},      // half a character at the end
      {"\x80" "1k", kFffd + "1k", 1},
      {"\xa0\xb1", kFffd + "ｱ", 1},
      {"\xfd\xfe\xff", kFffd + kFffd + kFffd, 3},
      // A lead byte before a byte that is no trail byte.
      {"\x82 x", kFffd + " x", 1},
      {"\x82\x7f", kFffd + "\x7f", 1},
      {"\x82\xfd", kFffd + kFffd, 2},
      // 0x82 is a lead byte and a trail byte: the pair 0x82 0x82 comes first.
      {"\x82\x82\xa0", "ｂ" + kFffd, 1},
      // Pairs of the right shape that the code page leaves unassigned.
      {"\x82\xa0\x85\x40\x82\xa2", "あ" + kFffd + "い", 1},
      {"x\x81\xad" "y", "x" + kFffd + "y", 1},
      {"\xeb\x40\xfc\xfc", kFffd + kFffd, 2},
  };
  const ShiftJisToUtf8 converter(makeCodePage932Decoder());
  for (const Case& c : cases) {
    std::string out = "kept|";
    EXPECT_EQ(converter.append(c.text, out), c.replaced) << c.utf8;
    EXPECT_EQ(out, "kept|" + c.utf8);
  }
  // 0xA1 to 0xDF: the half-width katakana U+FF61 to U+FF9F.
  std::string bytes;
  std::string katakana;
  for (int byte = 0xA1; byte <= 0xDF; ++byte) {
    bytes.push_back(static_cast<char>(byte));
    const int codePoint = 0xFF61 + byte - 0xA1;
    katakana += {'\xEF', static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)),
                 static_cast<char>(0x80 | (codePoint & 0x3F))};
  }
  std::string out;
  EXPECT_EQ(converter.append(bytes, out), 0u);
  EXPECT_EQ(out, katakana);
}

// The decoder gets whole characters only, as many in one call as stand
// between ASCII bytes, and a refused run again character by character.
TEST(ShiftJisToUtf8, TheDecoderSeesRunsOfWholeCharacters) {
  std::vector<std::string> calls;
  const ShiftJisToUtf8 converter(
      [&calls, system = makeCodePage932Decoder()](std::string_view characters, std::string& out) {
        calls.emplace_back(characters);
        return system(characters, out);
      });
  std::string out;
  EXPECT_EQ(converter.append("10k \x8b\xe0\x82\xa0 \x83\x5c\xb1\x82", out), 1u);
  EXPECT_EQ(calls, (std::vector<std::string>{"\x8b\xe0\x82\xa0", "\x83\x5c\xb1"}));
  calls.clear();
  EXPECT_EQ(converter.append("\x82\xa0\x85\x40", out), 1u);
  EXPECT_EQ(calls, (std::vector<std::string>{"\x82\xa0\x85\x40", "\x82\xa0", "\x85\x40"}));
}

}  // namespace
}  // namespace vesk
