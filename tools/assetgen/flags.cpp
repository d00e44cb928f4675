#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <initializer_list>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "pictures.h"

namespace kestrova::assetgen {
namespace {

constexpr int kSize = 32;
// At 32 px every flag gets one field of about 2:3, centred, so the row of
// flags in the window lines up.
constexpr int kFieldTop = 5;
constexpr int kFieldHeight = 21;

// Every flag is laid out on the 32 px grid; a scale of 2 draws the same
// shapes on a 64 px picture for screens of double density.
QImage emptyIcon(int scale) {
  QImage image(kSize * scale, kSize * scale, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

// A painter that takes 32 px grid units.
class GridPainter : public QPainter {
 public:
  explicit GridPainter(QImage& image) : QPainter(&image) {
    const double factor = image.width() / double(kSize);
    scale(factor, factor);
  }
};

// Bands across the field, top to bottom: a colour and its height in rows.
void horizontalBands(QImage& image, std::initializer_list<std::pair<QRgb, int>> bands) {
  GridPainter p(image);
  int y = kFieldTop;
  for (const auto& [colour, rows] : bands) {
    p.fillRect(0, y, kSize, rows, QColor(colour));
    y += rows;
  }
  if (y != kFieldTop + kFieldHeight) {
    throw std::logic_error("bands do not fill the field");
  }
}

void verticalBands(QImage& image, std::initializer_list<std::pair<QRgb, int>> bands) {
  GridPainter p(image);
  int x = 0;
  for (const auto& [colour, columns] : bands) {
    p.fillRect(x, kFieldTop, columns, kFieldHeight, QColor(colour));
    x += columns;
  }
  if (x != kSize) {
    throw std::logic_error("bands do not fill the field");
  }
}

// Small emblems are placed pixel by pixel; '.' leaves the field as it is.
void stamp(QImage& image, int left, int top, std::initializer_list<std::string_view> rows,
           const std::map<char, QRgb>& colours) {
  GridPainter p(image);
  int y = top;
  for (std::string_view row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (row[i] != '.') {
        p.fillRect(left + static_cast<int>(i), y, 1, 1, QColor(colours.at(row[i])));
      }
    }
    ++y;
  }
}

QImage triband(int scale, bool vertical, QRgb a, QRgb b, QRgb c) {
  QImage image = emptyIcon(scale);
  if (vertical) {
    verticalBands(image, {{a, 11}, {b, 10}, {c, 11}});
  } else {
    horizontalBands(image, {{a, 7}, {b, 7}, {c, 7}});
  }
  return image;
}

const QRgb kWhite = qRgb(255, 255, 255);

QImage belgium(int s) {
  return triband(s, true, qRgb(0, 0, 0), qRgb(253, 218, 36), qRgb(239, 51, 64));
}
QImage germany(int s) {
  return triband(s, false, qRgb(0, 0, 0), qRgb(221, 0, 0), qRgb(255, 206, 0));
}

QImage finland(int s) {
  const QRgb blue = qRgb(0, 47, 108);
  QImage image = emptyIcon(s);
  GridPainter p(image);
  p.fillRect(0, kFieldTop, kSize, kFieldHeight, QColor(kWhite));
  // The cross sits towards the hoist, as on the real flag (5:3:10 across).
  p.fillRect(9, kFieldTop, 5, kFieldHeight, QColor(blue));
  p.fillRect(0, kFieldTop + 8, kSize, 5, QColor(blue));
  return image;
}

QImage france(int s) { return triband(s, true, qRgb(0, 35, 149), kWhite, qRgb(237, 41, 57)); }

QImage greece(int s) {
  const QRgb blue = qRgb(13, 94, 175);
  QImage image = emptyIcon(s);
  GridPainter p(image);
  // Nine stripes in 21 rows: mostly 2 px, every third one 3 px.
  int top = kFieldTop;
  for (int i = 0; i < 9; ++i) {
    const int bottom = kFieldTop + static_cast<int>(std::lround((i + 1) * kFieldHeight / 9.0));
    p.fillRect(0, top, kSize, bottom - top, QColor(i % 2 == 0 ? blue : kWhite));
    top = bottom;
  }
  // The canton covers the first five stripes; its white cross is centred.
  const int canton = static_cast<int>(std::lround(5 * kFieldHeight / 9.0));
  p.fillRect(0, kFieldTop, canton, canton, QColor(blue));
  p.fillRect(0, kFieldTop + canton / 2 - 1, canton, 2, QColor(kWhite));
  p.fillRect(canton / 2 - 1, kFieldTop, 2, canton, QColor(kWhite));
  return image;
}

QImage ireland(int s) { return triband(s, true, qRgb(22, 155, 98), kWhite, qRgb(255, 136, 62)); }
QImage italy(int s) { return triband(s, true, qRgb(0, 146, 70), kWhite, qRgb(206, 43, 55)); }
QImage luxembourg(int s) { return triband(s, false, qRgb(237, 41, 57), kWhite, qRgb(0, 161, 222)); }
QImage netherlands(int s) {
  return triband(s, false, qRgb(174, 28, 40), kWhite, qRgb(33, 70, 139));
}
QImage austria(int s) { return triband(s, false, qRgb(200, 16, 46), kWhite, qRgb(200, 16, 46)); }

QImage portugal(int s) {
  QImage image = emptyIcon(s);
  verticalBands(image, {{qRgb(0, 102, 0), 13}, {qRgb(255, 0, 0), 19}});
  // The armillary sphere on the border of the two colours, the shield on it.
  stamp(
      image, 7, kFieldTop + 5,
      {
          "...yyyyy...",
          ".yy.....yy.",
          ".y.rrrrr.y.",
          "y..rwwwr..y",
          "yyyrwbwryyy",
          "y..rbwbr..y",
          "y..rwbwr..y",
          ".y.rwwwr.y.",
          ".yy.rrr.yy.",
          "...yyyyy...",
      },
      {{'y', qRgb(255, 255, 0)}, {'r', qRgb(218, 41, 28)}, {'w', kWhite}, {'b', qRgb(0, 56, 168)}});
  return image;
}

QImage spain(int s) {
  const QRgb red = qRgb(170, 21, 27);
  const QRgb yellow = qRgb(241, 191, 0);
  QImage image = emptyIcon(s);
  horizontalBands(image, {{red, 5}, {yellow, 11}, {red, 5}});
  // Crowned shield between two pillars, towards the hoist.
  stamp(image, 4, kFieldTop + 3,
        {
            "...cmc...",
            "..ccccc..",
            "p.rrwww.p",
            "p.rcwvw.p",
            "p.rrwww.p",
            "p.crcrr.p",
            "p.crccr.p",
            "p..www..p",
            "pp..w..pp",
        },
        {{'c', qRgb(200, 150, 0)},
         {'m', red},
         {'r', qRgb(198, 11, 30)},
         {'w', kWhite},
         {'v', qRgb(110, 40, 120)},
         {'p', qRgb(150, 150, 160)}});
  return image;
}

}  // namespace

std::vector<NamedPicture> nationalFlags(int s) {
  return {
      {QStringLiteral("imgBEL"), belgium(s)},     {QStringLiteral("imgGER"), germany(s)},
      {QStringLiteral("imgFIN"), finland(s)},     {QStringLiteral("imgFRA"), france(s)},
      {QStringLiteral("imgGRI"), greece(s)},      {QStringLiteral("imgIER"), ireland(s)},
      {QStringLiteral("imgITA"), italy(s)},       {QStringLiteral("imgLUX"), luxembourg(s)},
      {QStringLiteral("imgNED"), netherlands(s)}, {QStringLiteral("imgATS"), austria(s)},
      {QStringLiteral("imgPOR"), portugal(s)},    {QStringLiteral("imgESP"), spain(s)},
  };
}

QImage europeanFlag(int s) {
  QImage image = emptyIcon(s);
  GridPainter p(image);
  p.fillRect(0, kFieldTop, kSize, kFieldHeight, QColor(0, 51, 153));
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 204, 0));
  // Twelve five-pointed stars on a circle of a third of the field height,
  // the first at twelve o'clock; each star points straight up.
  const QPointF centre(kSize / 2.0, kFieldTop + kFieldHeight / 2.0);
  const double ring = kFieldHeight / 3.0;
  const double outer = 1.75;
  const double inner = outer * 0.42;
  for (int k = 0; k < 12; ++k) {
    const double a = k * std::numbers::pi / 6.0;
    const QPointF at = centre + QPointF(ring * std::sin(a), -ring * std::cos(a));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
      const double r = i % 2 == 0 ? outer : inner;
      const double b = i * std::numbers::pi / 5.0;
      star << at + QPointF(r * std::sin(b), -r * std::cos(b));
    }
    p.drawPolygon(star);
  }
  return image;
}

}  // namespace kestrova::assetgen
