// Dialog units to pixels as Windows converts them, and mnemonics in GTK's
// form.
#include <gtest/gtest.h>

#include <climits>

#include "platform/dialog_units.h"
#include "platform/mnemonic_text.h"

namespace vesk {
namespace {

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(mulDiv(5, 7, 4), 9);     // 8.75
  EXPECT_EQ(mulDiv(15, 13, 8), 24);  // 24.375
  EXPECT_EQ(mulDiv(2, 6, 8), 2);     // 1.5 rounds up
  EXPECT_EQ(mulDiv(-2, 6, 8), -2);   // and -1.5 down
  EXPECT_EQ(mulDiv(2, 6, -8), -2);
  EXPECT_EQ(mulDiv(7, 1, 0), -1);
  EXPECT_EQ(mulDiv(INT_MAX, INT_MAX, 1), -1);  // does not fit
  EXPECT_EQ(mulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
}

TEST(DialogUnits, BaseUnitsAndRectanglesFollowWindows) {
  // 52 letters 368 pixels wide: (368 / 26 + 1) / 2 = 7.
  const DialogBaseUnits base = baseUnitsFromFont(368, 13);
  EXPECT_EQ(base.x, 7);
  EXPECT_EQ(base.y, 13);
  EXPECT_EQ(baseUnitsFromFont(312, 12).x, 6);
  // Position and size are converted each on its own, not the right edge.
  const HostRect list = dialogUnitsToPixels(5, 15, 230, 90, base);
  EXPECT_EQ(list.left, 9);
  EXPECT_EQ(list.top, 24);
  EXPECT_EQ(list.width(), 403);
  EXPECT_EQ(list.height(), 146);
  const HostRect button = dialogUnitsToPixels(240, 65, 40, 15, base);
  EXPECT_EQ(button.left, 420);
  EXPECT_EQ(button.width(), 70);
  EXPECT_EQ(button.height(), 24);
}

TEST(MnemonicText, AmpersandsBecomeUnderscores) {
  EXPECT_EQ(gtkMnemonicText("参照(&R)..."), "参照(_R)...");
  EXPECT_EQ(gtkMnemonicText("Vesk のバージョン情報(&A)..."), "Vesk のバージョン情報(_A)...");
  EXPECT_EQ(gtkMnemonicText("実行"), "実行");
  EXPECT_EQ(gtkMnemonicText("R&&D"), "R&D");
  EXPECT_EQ(gtkMnemonicText("snake_case"), "snake__case");
  EXPECT_EQ(gtkMnemonicText("&_x"), "__x");
  EXPECT_EQ(gtkMnemonicText("end&"), "end");
  EXPECT_EQ(gtkMnemonicText(""), "");
}

}  // namespace
}  // namespace vesk
