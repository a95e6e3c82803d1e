#include "memory/compact_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {
namespace {

using namespace std::string_literals;

// Texts on both sides of the 15 bytes held in place, none, and texts with
// zero bytes and high bytes. Under the sanitizers every copy, move and
// replacement between the kinds also shows that each block is freed once.
const std::vector<std::optional<std::string>> kTexts = {
    std::nullopt,
    ""s,
    "R"s,
    std::string(15, 'x'),
    std::string(16, 'y'),
    "\x8b\xe0\x91\xae\0 1/4W"s,
    std::string(40000, '\xff'),
};

CompactText make(const std::optional<std::string>& text) {
  CompactText made;
  if (text) {
    made.assign(*text);
  } else {
    made.setNone();
  }
  return made;
}

void expectHolds(const CompactText& text, const std::optional<std::string>& expected) {
  ASSERT_EQ(text.isNone(), !expected.has_value());
  EXPECT_EQ(text.optionalView(), expected ? std::optional<std::string_view>(*expected)
                                          : std::optional<std::string_view>());
  EXPECT_EQ(text.view(), expected.value_or(""));
}

TEST(CompactText, EveryKindSurvivesCopiesMovesAndReplacements) {
  for (const auto& first : kTexts) {
    for (const auto& second : kTexts) {
      const CompactText a = make(first);
      const CompactText b = make(second);
      expectHolds(a, first);
      CompactText copy = a;
      expectHolds(copy, first);
      copy = b;
      expectHolds(copy, second);
      CompactText moved = std::move(copy);
      expectHolds(moved, second);
      expectHolds(copy, std::string());  // a moved-from text is empty
      moved = CompactText(a);
      expectHolds(moved, first);
      const CompactText& self = moved;
      moved = self;  // self-assignment
      expectHolds(moved, first);
      moved.assignOrNone(b.optionalView());
      expectHolds(moved, second);
    }
  }
}

TEST(CompactText, PartsMayViewTheTextItself) {
  for (const std::string& start : {"ab"s, std::string(20, 'z')}) {
    CompactText text(start);
    // Doubling moves a short text into a block or a block into a larger
    // one; the old bytes are still read while the new ones are made.
    text.assign({text.view(), "-", text.view()});
    EXPECT_EQ(text.view(), start + "-" + start);
    text.assign(text.view().substr(1, 1));
    EXPECT_EQ(text.view(), start.substr(1, 1));
  }
}

TEST(CompactText, NoneAndEmptyAreTold) {
  EXPECT_FALSE(CompactText().isNone());
  EXPECT_TRUE(CompactText::none().isNone());
  CompactText text = CompactText::none();
  text.assign("");
  EXPECT_FALSE(text.isNone());
  EXPECT_EQ(text.optionalView(), std::string_view());
  EXPECT_EQ(sizeof(CompactText), 16u);
}

}  // namespace
}  // namespace vesk
