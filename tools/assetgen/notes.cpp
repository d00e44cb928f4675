#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "glyphs.h"
#include "pictures.h"

namespace kestrova::assetgen {
namespace {

// --- the default texture -------------------------------------------------

// Lattice noise from an integer hash: the same on every machine, unlike the
// distributions of the standard library.
double lattice(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed ^ (static_cast<std::uint32_t>(x) * 0x27d4eb2dU) ^
                    (static_cast<std::uint32_t>(y) * 0x165667b1U);
  h ^= h >> 15;
  h *= 0x85ebca6bU;
  h ^= h >> 13;
  h *= 0xc2b2ae35U;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double valueNoise(double x, double y, std::uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  const double fx = smooth(x - ix);
  const double fy = smooth(y - iy);
  const double top =
      lattice(ix, iy, seed) + (lattice(ix + 1, iy, seed) - lattice(ix, iy, seed)) * fx;
  const double bottom =
      lattice(ix, iy + 1, seed) + (lattice(ix + 1, iy + 1, seed) - lattice(ix, iy + 1, seed)) * fx;
  return top + (bottom - top) * fy;
}

double fractalNoise(double x, double y) {
  double sum = 0.0;
  double weight = 0.5;
  double scale = 1.0 / 48.0;
  for (std::uint32_t octave = 0; octave < 5; ++octave) {
    sum += weight * valueNoise(x * scale, y * scale, 0x6b657374U + octave);
    weight *= 0.5;
    scale *= 2.0;
  }
  return sum / (1.0 - std::pow(0.5, 5));
}

// --- banknotes -------------------------------------------------------------

constexpr int kNoteWidth = 192;
constexpr int kNoteHeight = 149;

QColor mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor withAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

enum class Motif { Temple, RoundArch, PointedWindow, Arcade, StoneBridge, TrussBridge, Tower };

struct NoteStyle {
  int value;
  const char* key;  // the background's key, e.g. "imgTen"
  QColor paper;     // the light ground of the note
  QColor ink;       // its darker tone, for lines and figures
  Motif motif;
};

const NoteStyle kNotes[] = {
    {5, "imgFive", QColor(214, 218, 213), QColor(96, 104, 100), Motif::Temple},
    {10, "imgTen", QColor(243, 196, 192), QColor(168, 48, 52), Motif::RoundArch},
    {20, "imgTwenty", QColor(194, 210, 242), QColor(42, 76, 160), Motif::PointedWindow},
    {50, "imgFifty", QColor(250, 208, 168), QColor(200, 98, 26), Motif::Arcade},
    {100, "imgOnehundred", QColor(194, 228, 194), QColor(38, 118, 58), Motif::StoneBridge},
    {200, "imgTwohundred", QColor(238, 220, 164), QColor(146, 110, 24), Motif::TrussBridge},
    {500, "imgFivehundred", QColor(220, 198, 236), QColor(106, 56, 140), Motif::Tower},
};

// The figure stands on a ground line in this box, left of the value.
constexpr double kMotifLeft = 16.0;
constexpr double kMotifRight = 112.0;
constexpr double kGround = 128.0;
// Centre of the round ornament on the right.
const QPointF kRosette(152.0, 94.0);

QPainterPath roundArch(double cx, double spring, double radius, double foot) {
  QPainterPath p;
  p.moveTo(cx - radius, foot);
  p.lineTo(cx - radius, spring);
  p.arcTo(QRectF(cx - radius, spring - radius, 2 * radius, 2 * radius), 180.0, -180.0);
  p.lineTo(cx + radius, foot);
  return p;
}

// Two arcs, each with the whole span as radius, meet in a point.
QPainterPath pointedArch(double left, double right, double spring, double foot) {
  const double w = right - left;
  QPainterPath p;
  p.moveTo(left, foot);
  p.lineTo(left, spring);
  p.arcTo(QRectF(right - w, spring - w, 2 * w, 2 * w), 180.0, -60.0);
  p.arcTo(QRectF(left - w, spring - w, 2 * w, 2 * w), 60.0, -60.0);
  p.lineTo(right, foot);
  return p;
}

void drawTemple(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRect(QRectF(22, 122, 84, 6));  // steps
  p.drawRect(QRectF(28, 117, 72, 5));
  for (int i = 0; i < 5; ++i) {  // columns with their capitals
    const double x = 33 + i * 14.5;
    p.drawRect(QRectF(x, 68, 6, 49));
    p.drawRect(QRectF(x - 1.5, 64, 9, 4));
  }
  p.drawRect(QRectF(28, 54, 72, 10));  // entablature
  p.drawPolygon(QPolygonF{{QPointF(26, 54), QPointF(64, 34), QPointF(102, 54)}});
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(QPolygonF{{QPointF(36, 50.5), QPointF(64, 38), QPointF(92, 50.5)}});
}

void drawRoundArch(QPainter& p, const QColor& fill) {
  QPainterPath wall;
  wall.addRect(QRectF(26, 50, 78, 78));
  const QPainterPath opening = roundArch(65, 86, 20, kGround);
  p.setBrush(fill);
  p.drawPath(wall.subtracted(opening));
  // Voussoirs around the opening.
  for (int i = 0; i <= 8; ++i) {
    const double a = std::numbers::pi * i / 8.0;
    p.drawLine(QPointF(65 - 20 * std::cos(a), 86 - 20 * std::sin(a)),
               QPointF(65 - 29 * std::cos(a), 86 - 29 * std::sin(a)));
  }
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(36, 57, 58, 58), 0, 180 * 16);
  p.drawRect(QRectF(22, 44, 86, 6));       // cornice
  for (double x = 30; x < 104; x += 10) {  // crenellation
    p.drawRect(QRectF(x, 38, 5, 6));
  }
}

void drawPointedWindow(QPainter& p, const QColor& fill, const QColor& paper) {
  p.setBrush(fill);
  p.drawPath(pointedArch(30, 100, 84, kGround));
  p.setBrush(paper);
  p.drawPath(pointedArch(38, 92, 86, 122));
  p.setBrush(fill);
  p.drawPath(pointedArch(42, 62, 92, 118));  // two lancets
  p.drawPath(pointedArch(68, 88, 92, 118));
  p.drawEllipse(QPointF(65, 62), 8, 8);  // rose with four lobes
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    const double a = std::numbers::pi / 2 * i;
    p.drawEllipse(QPointF(65 + 4 * std::cos(a), 62 + 4 * std::sin(a)), 3, 3);
  }
  p.drawLine(QPointF(65, 92), QPointF(65, 122));
}

void drawArcade(QPainter& p, const QColor& fill, const QColor& paper) {
  p.setBrush(fill);
  p.drawRect(QRectF(20, 48, 90, 80));  // facade
  p.drawRect(QRectF(16, 42, 98, 6));   // cornice
  p.setBrush(paper);
  for (int i = 0; i < 3; ++i) {  // three arched doorways on pilasters
    const double cx = 38 + i * 27;
    p.drawPath(roundArch(cx, 102, 9, kGround));
    p.drawRect(QRectF(cx - 6, 58, 12, 16));  // windows above
    p.drawLine(QPointF(cx, 58), QPointF(cx, 74));
  }
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    p.drawLine(QPointF(24.5 + i * 27, 82), QPointF(24.5 + i * 27, 128));
  }
  p.drawLine(QPointF(20, 82), QPointF(110, 82));
  p.setBrush(fill);  // pediment with an oculus over the middle bay
  p.drawPolygon(QPolygonF{{QPointF(42, 42), QPointF(65, 28), QPointF(88, 42)}});
  p.setBrush(paper);
  p.drawEllipse(QPointF(65, 36.5), 3.5, 3.5);
}

void drawStoneBridge(QPainter& p, const QColor& fill, const QColor& paper) {
  QPainterPath bridge;
  bridge.moveTo(14, 84);
  bridge.quadTo(65, 72, 116, 84);
  bridge.lineTo(116, 120);
  bridge.lineTo(14, 120);
  bridge.closeSubpath();
  QPainterPath arches;
  arches.addPath(roundArch(34, 106, 12, 121));
  arches.addPath(roundArch(65, 102, 15, 121));
  arches.addPath(roundArch(96, 106, 12, 121));
  p.setBrush(fill);
  p.drawPath(bridge.subtracted(arches));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(14, 90), QPointF(116, 90));
  for (double x = 20; x < 112; x += 8) {  // parapet
    p.drawLine(QPointF(x, 76 + std::pow((x - 65) / 51, 2) * 6),
               QPointF(x, 84 + std::pow((x - 65) / 51, 2) * 6));
  }
  // Water under the arches.
  p.setPen(QPen(p.pen().color(), 0.8));
  for (int row = 0; row < 3; ++row) {
    QPainterPath wave;
    const double y = 123 + row * 3.5;
    wave.moveTo(12, y);
    for (double x = 12; x <= 118; x += 4) {
      wave.lineTo(x, y + std::sin(x * 0.6 + row) * 0.9);
    }
    p.drawPath(wave);
  }
  (void)paper;
}

void drawTrussBridge(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRect(QRectF(28, 100, 10, 28));  // piers
  p.drawRect(QRectF(92, 100, 10, 28));
  p.drawRect(QRectF(10, 96, 112, 5));  // deck
  p.setBrush(Qt::NoBrush);
  // A bowstring girder of iron: curved chord, verticals and diagonals.
  QPainterPath chord;
  chord.moveTo(14, 96);
  chord.cubicTo(34, 46, 96, 46, 116, 96);
  p.drawPath(chord);
  for (int i = 1; i < 10; ++i) {
    const double t = i / 10.0;
    const QPointF top = chord.pointAtPercent(t);
    p.drawLine(top, QPointF(top.x(), 96));
    const QPointF next = chord.pointAtPercent((i + 1) / 10.0);
    if (i < 9) {
      p.drawLine(top, QPointF(next.x(), 96));
    }
  }
  p.drawLine(QPointF(8, 128), QPointF(124, 128));
}

void drawTower(QPainter& p, const QColor& fill, const QColor& paper) {
  p.setBrush(fill);
  QPolygonF tower{{QPointF(52, 128), QPointF(52, 40), QPointF(86, 28), QPointF(86, 128)}};
  p.drawPolygon(tower);
  p.drawRect(QRectF(20, 86, 30, 42));
  p.drawRect(QRectF(88, 70, 26, 58));
  p.setBrush(paper);
  for (int row = 0; row < 9; ++row) {  // glass in a steel grid
    for (int col = 0; col < 4; ++col) {
      p.drawRect(QRectF(55.5 + col * 7.5, 46 + row * 8.5, 5, 5.5));
    }
  }
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) {
      p.drawRect(QRectF(24 + col * 8.5, 91 + row * 9, 5.5, 5));
    }
  }
  p.setBrush(Qt::NoBrush);
  for (int row = 0; row < 6; ++row) {
    p.drawLine(QPointF(88, 76 + row * 9), QPointF(114, 76 + row * 9));
  }
  p.drawLine(QPointF(101, 70), QPointF(101, 128));
}

void drawMotif(QPainter& p, const NoteStyle& s) {
  const QColor fill = mix(s.paper, s.ink, 0.28);
  p.setPen(QPen(mix(s.paper, s.ink, 0.9), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  switch (s.motif) {
    case Motif::Temple: drawTemple(p, fill); break;
    case Motif::RoundArch: drawRoundArch(p, fill); break;
    case Motif::PointedWindow: drawPointedWindow(p, fill, s.paper); break;
    case Motif::Arcade: drawArcade(p, fill, s.paper); break;
    case Motif::StoneBridge: drawStoneBridge(p, fill, s.paper); break;
    case Motif::TrussBridge: drawTrussBridge(p, fill); break;
    case Motif::Tower: drawTower(p, fill, s.paper); break;
  }
}

void drawGround(QPainter& p, const NoteStyle& s) {
  const QColor light = mix(s.paper, Qt::white, 0.55);
  QRadialGradient glow(QPointF(64, 80), 110);
  glow.setColorAt(0.0, light);
  glow.setColorAt(1.0, s.paper);
  p.fillRect(QRectF(0, 0, kNoteWidth, kNoteHeight), glow);

  // Fine wavy lines across the whole note, then a rosette behind the value.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(withAlpha(s.ink, 40), 0.7));
  for (int k = 0; k < 16; ++k) {
    QPainterPath wave;
    const double y0 = 4 + k * 9.5;
    wave.moveTo(0, y0);
    for (int x = 0; x <= kNoteWidth; x += 3) {
      wave.lineTo(x, y0 + 3.5 * std::sin(x * 0.07 + k * 0.9));
    }
    p.drawPath(wave);
  }
  p.setPen(QPen(withAlpha(s.ink, 55), 0.6));
  for (int k = 0; k < 18; ++k) {
    const double a = k * std::numbers::pi / 9.0;
    p.drawEllipse(kRosette + QPointF(11 * std::cos(a), 11 * std::sin(a)), 17.0, 17.0);
  }
  p.setPen(QPen(withAlpha(s.ink, 150), 1.2));
  p.drawRect(QRectF(2.5, 2.5, kNoteWidth - 5, kNoteHeight - 5));
  p.setPen(QPen(withAlpha(s.ink, 80), 0.7));
  p.drawRect(QRectF(5.5, 5.5, kNoteWidth - 11, kNoteHeight - 11));
}

void drawLettering(QPainter& p, const NoteStyle& s) {
  std::u16string value;
  for (char c : std::to_string(s.value)) {
    value.push_back(static_cast<char16_t>(c));
  }
  const QColor ink = mix(s.paper, s.ink, 0.95);
  p.setBrush(Qt::NoBrush);

  // The value large in the top right corner and small in the top left; the
  // euro sign sits in the rosette.
  const double big = 36.0;
  const double right = kNoteWidth - 12.0;
  p.setPen(QPen(ink, 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(textPath(value, QPointF(right - textWidth(value, big, 5.0), 12.0), big, 5.0));
  p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(textPath(value, QPointF(12.0, 12.0), 12.0, 2.0));
  p.drawPath(textPath(u"EURO", QPointF(right - textWidth(u"EURO", 10.0, 3.0), 128.0), 10.0, 3.0));

  const double sign = 26.0;
  const double signWidth = textWidth(u"\u20AC", sign, 0.0);
  p.setPen(QPen(withAlpha(s.ink, 170), 4.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.drawPath(textPath(u"\u20AC", kRosette - QPointF(signWidth / 2.0 - 1.0, sign / 2.0), sign, 0.0));
}

QImage banknote(const NoteStyle& style, int scale) {
  QImage image(kNoteWidth * scale, kNoteHeight * scale, QImage::Format_RGB32);
  QPainter p(&image);
  p.scale(scale, scale);
  p.setRenderHint(QPainter::Antialiasing);
  drawGround(p, style);
  drawMotif(p, style);
  drawLettering(p, style);
  return image;
}

}  // namespace

QImage defaultTexture(int scale) {
  const int side = 200 * scale;
  // Mottled stone in grey-teal; the mean is pulled onto its target afterwards
  // so the window's look does not hang on the noise.
  const std::array<double, 3> target{118.0, 157.0, 163.0};
  const std::array<double, 3> dark{88.0, 126.0, 134.0};
  const std::array<double, 3> light{150.0, 188.0, 192.0};
  std::array<std::vector<double>, 3> planes;
  std::array<double, 3> sums{};
  for (auto& plane : planes) {
    plane.resize(side * side);
  }
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      // The mottling follows the 200 px picture; the grain is as fine as the pixels.
      const double mottle = fractalNoise(x / double(scale), y / double(scale));
      const double t = std::clamp(mottle * 1.6 - 0.3, 0.0, 1.0);
      const double grain = (lattice(x, y, 0x67726e21U) - 0.5) * 10.0;
      for (int c = 0; c < 3; ++c) {
        const double v = dark[c] + (light[c] - dark[c]) * t + grain;
        planes[c][y * side + x] = v;
        sums[c] += v;
      }
    }
  }
  QImage image(side, side, QImage::Format_RGB32);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      int rgb[3];
      for (int c = 0; c < 3; ++c) {
        const double shift = target[c] - sums[c] / (side * side);
        rgb[c] = std::clamp(static_cast<int>(std::lround(planes[c][y * side + x] + shift)), 0, 255);
      }
      image.setPixel(x, y, qRgb(rgb[0], rgb[1], rgb[2]));
    }
  }
  return image;
}

std::vector<NamedPicture> banknotes(int scale) {
  std::vector<NamedPicture> notes;
  for (const NoteStyle& style : kNotes) {
    notes.push_back({QString::fromLatin1(style.key), banknote(style, scale)});
  }
  return notes;
}

}  // namespace kestrova::assetgen
