#pragma once

#include <QPainterPath>
#include <QPointF>
#include <string_view>

namespace kestrova::assetgen {

// Our own stroke lettering: no system font may reach the pictures, or they
// would differ from one machine to the next. A glyph is a centre line in a
// box one unit high; it gets its weight when stroked.
//
// Knows the digits 0, 1, 2 and 5, the letters E, O, R and U, and the euro
// sign (U+20AC); anything else throws.

// Width of one glyph's box, in units of the glyph height.
double glyphWidth(char16_t c);

// Width of a whole line of text at the given height, spacing included.
double textWidth(std::u16string_view text, double height, double spacing);

// Centre line of the text, its top left corner at `origin`.
QPainterPath textPath(std::u16string_view text, QPointF origin, double height, double spacing);

}  // namespace kestrova::assetgen
