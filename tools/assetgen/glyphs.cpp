#include "glyphs.h"

#include <QRectF>
#include <QTransform>
#include <stdexcept>

namespace kestrova::assetgen {
namespace {

constexpr char16_t kEuro = u'\u20AC';

QPainterPath unitGlyph(char16_t c) {
  QPainterPath p;
  switch (c) {
    case u'0': p.addEllipse(QRectF(0.04, 0.0, 0.54, 1.0)); break;
    case u'1':
      p.moveTo(0.14, 0.22);
      p.lineTo(0.36, 0.0);
      p.lineTo(0.36, 1.0);
      break;
    case u'2':
      p.moveTo(0.06, 0.24);
      p.cubicTo(0.08, -0.02, 0.56, -0.06, 0.56, 0.26);
      p.cubicTo(0.56, 0.50, 0.20, 0.66, 0.04, 1.0);
      p.lineTo(0.60, 1.0);
      break;
    case u'5':
      p.moveTo(0.56, 0.0);
      p.lineTo(0.14, 0.0);
      p.lineTo(0.09, 0.44);
      p.cubicTo(0.30, 0.32, 0.60, 0.38, 0.60, 0.68);
      p.cubicTo(0.60, 1.04, 0.16, 1.08, 0.04, 0.86);
      break;
    case u'E':
      p.moveTo(0.50, 0.0);
      p.lineTo(0.06, 0.0);
      p.lineTo(0.06, 1.0);
      p.lineTo(0.50, 1.0);
      p.moveTo(0.06, 0.5);
      p.lineTo(0.42, 0.5);
      break;
    case u'O': p.addEllipse(QRectF(0.03, 0.0, 0.58, 1.0)); break;
    case u'R':
      p.moveTo(0.06, 1.0);
      p.lineTo(0.06, 0.0);
      p.lineTo(0.32, 0.0);
      p.cubicTo(0.60, 0.0, 0.60, 0.5, 0.32, 0.5);
      p.lineTo(0.06, 0.5);
      p.moveTo(0.30, 0.5);
      p.lineTo(0.56, 1.0);
      break;
    case u'U':
      p.moveTo(0.06, 0.0);
      p.lineTo(0.06, 0.68);
      p.cubicTo(0.06, 1.06, 0.56, 1.06, 0.56, 0.68);
      p.lineTo(0.56, 0.0);
      break;
    case kEuro: {
      // An open ring with two bars that reach out past it on the left.
      const QRectF ring(0.10, 0.0, 0.66, 1.0);
      p.arcMoveTo(ring, 48.0);
      p.arcTo(ring, 48.0, 264.0);
      p.moveTo(-0.02, 0.40);
      p.lineTo(0.50, 0.40);
      p.moveTo(-0.02, 0.60);
      p.lineTo(0.46, 0.60);
      break;
    }
    default: throw std::invalid_argument("no glyph for this character");
  }
  return p;
}

}  // namespace

double glyphWidth(char16_t c) {
  switch (c) {
    case u'1': return 0.46;
    case u'E': return 0.52;
    case kEuro: return 0.78;
    default:
      unitGlyph(c);  // throws for characters we cannot draw
      return 0.64;
  }
}

double textWidth(std::u16string_view text, double height, double spacing) {
  double w = 0.0;
  for (char16_t c : text) {
    w += glyphWidth(c) * height + spacing;
  }
  return text.empty() ? 0.0 : w - spacing;
}

QPainterPath textPath(std::u16string_view text, QPointF origin, double height, double spacing) {
  QPainterPath out;
  double x = origin.x();
  for (char16_t c : text) {
    QTransform t;
    t.translate(x, origin.y());
    t.scale(height, height);
    out.addPath(t.map(unitGlyph(c)));
    x += glyphWidth(c) * height + spacing;
  }
  return out;
}

}  // namespace kestrova::assetgen
