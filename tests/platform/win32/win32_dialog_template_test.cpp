// The in-memory Windows dialog templates, read back with an independent
// reader of the DLGTEMPLATEEX layout: misaligned records, wrong styles or
// a text in the wrong encoding would show as soon as Windows creates the
// dialog, and here already on every platform.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/resources.h"
#include "platform/win32/win32_dialog_template.h"

namespace vesk {
namespace {

struct ParsedItem {
  std::uint32_t exStyle, style, id;
  int x, y, cx, cy;
  std::uint16_t windowClass;
  std::u16string title;
  int titleOrdinal = -1;
};

struct ParsedTemplate {
  std::uint16_t version, signature;
  std::uint32_t exStyle, style;
  int cx, cy;
  std::u16string caption, font;
  int pointSize;
  std::vector<ParsedItem> items;
  bool complete = false;
};

class WordReader {
 public:
  explicit WordReader(const std::vector<std::uint16_t>& words) : words_(words) {}
  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }
  std::uint16_t word() {
    if (pos_ >= words_.size()) {
      ok_ = false;
      return 0;
    }
    return words_[pos_++];
  }
  std::uint32_t dword() {
    const std::uint32_t low = word();
    return low | (static_cast<std::uint32_t>(word()) << 16);
  }
  int shortValue() { return static_cast<std::int16_t>(word()); }
  std::u16string text() {
    std::u16string out;
    while (ok_) {
      const std::uint16_t unit = word();
      if (unit == 0) break;
      out.push_back(static_cast<char16_t>(unit));
    }
    return out;
  }
  void align() {
    if (pos_ % 2 != 0) ++pos_;
  }

 private:
  const std::vector<std::uint16_t>& words_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

ParsedTemplate parse(const std::vector<std::uint16_t>& words) {
  WordReader in(words);
  ParsedTemplate result{};
  result.version = in.word();
  result.signature = in.word();
  in.dword();  // help id
  result.exStyle = in.dword();
  result.style = in.dword();
  const int count = in.word();
  in.shortValue();
  in.shortValue();
  result.cx = in.shortValue();
  result.cy = in.shortValue();
  EXPECT_EQ(in.word(), 0) << "menu";
  EXPECT_EQ(in.word(), 0) << "class";
  result.caption = in.text();
  result.pointSize = in.word();
  in.word();  // weight
  in.word();  // italic, charset
  result.font = in.text();
  for (int i = 0; i < count && in.ok(); ++i) {
    in.align();
    ParsedItem item{};
    in.dword();  // help id
    item.exStyle = in.dword();
    item.style = in.dword();
    item.x = in.shortValue();
    item.y = in.shortValue();
    item.cx = in.shortValue();
    item.cy = in.shortValue();
    item.id = in.dword();
    EXPECT_EQ(in.word(), 0xFFFF) << "class by ordinal";
    item.windowClass = in.word();
    if (words.size() > in.position() && words[in.position()] == 0xFFFF) {
      in.word();
      item.titleOrdinal = in.word();
    } else {
      item.title = in.text();
    }
    EXPECT_EQ(in.word(), 0) << "creation data";
    result.items.push_back(item);
  }
  result.complete = in.ok() && in.position() == words.size();
  return result;
}

const DialogTemplate& dialog(int id) { return *partsListResources().findDialog(id); }

TEST(Win32DialogTemplate, MainDialogHeaderCarriesStylesSizeCaptionAndFont) {
  const ParsedTemplate parsed = parse(buildDialogTemplateEx(dialog(kIddPartsListDialog)));
  ASSERT_TRUE(parsed.complete);
  EXPECT_EQ(parsed.version, 1);
  EXPECT_EQ(parsed.signature, 0xFFFF);
  using namespace win32_style;
  EXPECT_EQ(parsed.style, kPopup | kCaption | kSystemMenu | kModalFrame | kSetFont);
  EXPECT_EQ(parsed.exStyle, kExAppWindow);
  EXPECT_EQ(parsed.cx, 283);
  EXPECT_EQ(parsed.cy, 175);
  EXPECT_EQ(parsed.caption, u"Vesk V.0.31 Kolvaneのための部品リスト生成ソフト");
  EXPECT_EQ(parsed.font, u"ＭＳ Ｐゴシック");
  EXPECT_EQ(parsed.pointSize, 9);
  EXPECT_EQ(parsed.items.size(), 11u);
}

TEST(Win32DialogTemplate, MainDialogControlsInTabOrderWithTheirStyles) {
  using namespace win32_style;
  const std::uint32_t child = kChild | kVisible;
  struct Expected {
    std::uint32_t id;
    std::uint16_t windowClass;
    std::u16string title;
    int x, y, cx, cy;
    std::uint32_t style, exStyle;
  };
  const Expected expected[] = {
      {1001, kTemplateListBoxClass, u"", 5, 15, 230, 90,
       child | kBorder | kVerticalScroll | kHorizontalScroll | kTabStop | kListNotify |
           kListNoIntegralHeight,
       kExAcceptFiles},
      {1002, kTemplateButtonClass, u"参照(&R)...", 240, 65, 40, 15, child | kTabStop, 0},
      {1003, kTemplateEditClass, u"", 5, 125, 230, 15, child | kBorder | kTabStop | kEditAutoHScroll,
       0},
      {1004, kTemplateButtonClass, u"参照(&F)...", 240, 125, 40, 15, child | kTabStop, 0},
      {1006, kTemplateButtonClass, u"同じ部品を 1 行にまとめる (数量と部品番号の範囲)(&G)", 10, 147,
       225, 12, child | kTabStop | kAutoCheckBox, 0},
      {1007, kTemplateButtonClass, u"UTF-8 (BOM 付き) で書き出す (Shift-JIS の代わりに)(&U)", 10,
       160, 225, 12, child | kTabStop | kAutoCheckBox, 0},
      {1, kTemplateButtonClass, u"実行", 240, 15, 40, 14, child | kTabStop | kDefPushButton, 0},
      {1005, kTemplateButtonClass, u"クリア(&C)", 240, 85, 40, 14, child | kTabStop, 0},
      {2, kTemplateButtonClass, u"終了", 240, 35, 40, 14, child | kTabStop, 0},
      {kTemplateStaticId, kTemplateStaticClass,
       u"入力ファイル(複数指定すると、それらをまとめた部品リストを作成します)", 10, 5, 209, 8,
       child, 0},
      {kTemplateStaticId, kTemplateStaticClass, u"出力ファイル", 10, 115, 38, 8, child, 0},
  };
  const ParsedTemplate parsed = parse(buildDialogTemplateEx(dialog(kIddPartsListDialog)));
  ASSERT_TRUE(parsed.complete);
  ASSERT_EQ(parsed.items.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const ParsedItem& item = parsed.items[i];
    const Expected& want = expected[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(item.id, want.id);
    EXPECT_EQ(item.windowClass, want.windowClass);
    EXPECT_EQ(item.title, want.title);
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.cx);
    EXPECT_EQ(item.cy, want.cy);
    EXPECT_EQ(item.style, want.style);
    EXPECT_EQ(item.exStyle, want.exStyle);
  }
}

TEST(Win32DialogTemplate, AboutBoxShowsIconByOrdinalAndCentredTexts) {
  const ParsedTemplate parsed = parse(buildDialogTemplateEx(dialog(kIddAboutBox)));
  ASSERT_TRUE(parsed.complete);
  EXPECT_EQ(parsed.exStyle, 0u);  // not in the taskbar
  EXPECT_EQ(parsed.caption, u"Veskのバージョン情報");
  ASSERT_EQ(parsed.items.size(), 4u);
  EXPECT_EQ(parsed.items[0].windowClass, kTemplateStaticClass);
  EXPECT_EQ(parsed.items[0].titleOrdinal, kIdrMainFrame);
  EXPECT_EQ(parsed.items[0].style & 0x1Fu, win32_style::kStaticIcon);
  EXPECT_EQ(parsed.items[1].title, u"Vesk Version 0.31 ");
  EXPECT_EQ(parsed.items[1].style & 0x1Fu, win32_style::kStaticCenter);
  EXPECT_EQ(parsed.items[3].id, static_cast<std::uint32_t>(kIdOk));
  EXPECT_NE(parsed.items[3].style & win32_style::kDefPushButton, 0u);
}

TEST(Win32DialogTemplate, RecordsStayAlignedWhateverTheTextLengths) {
  // Texts of odd and even lengths, one outside the basic plane.
  for (std::string_view caption : {"", "A", "AB", "\xF0\x9F\x93\x84 sheet"}) {
    const DialogControl controls[] = {
        {10, ControlKind::kStaticText, "x", 0, 1, 2, 3, 4, 0},
        {11, ControlKind::kEdit, "xy", 0, 5, 6, 7, 8, control_style::kBorder},
        {12, ControlKind::kPushButton, "", 0, -1, -2, 9, 10, 0},
    };
    const DialogTemplate layout{7, caption, "F", 8, 50, 40, dialog_style::kPopup, controls};
    const std::vector<std::uint16_t> words = buildDialogTemplateEx(layout);
    const ParsedTemplate parsed = parse(words);
    SCOPED_TRACE(std::string(caption));
    ASSERT_TRUE(parsed.complete);
    EXPECT_EQ(parsed.caption, utf16FromUtf8(caption));
    ASSERT_EQ(parsed.items.size(), 3u);
    EXPECT_EQ(parsed.items[0].title, u"x");
    EXPECT_EQ(parsed.items[1].title, u"xy");
    EXPECT_EQ(parsed.items[2].id, 12u);
    EXPECT_EQ(parsed.items[2].x, -1);
    EXPECT_EQ(parsed.items[2].y, -2);
  }
}

TEST(Utf16FromUtf8, DecodesCharactersAndReplacesMalformedSequences) {
  struct Case {
    std::string_view utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"Vesk", u"Vesk"},
      {"\xC3\xA9", u"\u00E9"},
      {"部品", u"部品"},
      {"\xF0\x9F\x93\x84", u"\U0001F4C4"},
      {"\x80", u"\uFFFD"},                        // lone continuation byte
      {"\xE9\x83", u"\uFFFD\uFFFD"},              // cut short
      {"\xC0\x80", u"\uFFFD\uFFFD"},              // overlong zero
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},    // a surrogate half
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"a\xFF" "b", u"a\uFFFDb"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
}

}  // namespace
}  // namespace vesk
