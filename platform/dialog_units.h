// Dialog units: the coordinates of dialog templates.
//
// A template gives positions and sizes in units of the dialog font: a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its character height. Windows takes the
// average width from the extent of the 52 letters "A".."Z" "a".."z"
// (rounded: (extent / 26 + 1) / 2) and the height from the font's ascent
// plus descent, and converts every coordinate and size on its own with
// MulDiv, which rounds half away from zero. Doing the same here puts the
// controls where a Windows dialog with that font puts them.
#pragma once

#include "platform/ui_host.h"

namespace vesk {

// The letters whose extent gives the average character width.
inline constexpr const char* kDialogUnitAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

struct DialogBaseUnits {
  int x = 0;  // average character width in pixels
  int y = 0;  // character height in pixels
};

// a * b / c computed in 64 bits and rounded half away from zero; -1 when
// c is 0 or the result does not fit an int, as Windows' MulDiv.
int mulDiv(int a, int b, int c);

DialogBaseUnits baseUnitsFromFont(int alphabetExtent, int charHeight);

// Pixel rectangle of a template rectangle (x, y, width, height in units).
HostRect dialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits base);

}  // namespace vesk
