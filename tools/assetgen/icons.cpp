#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <stdexcept>
#include <vector>

#include "assets/hand_hotspot.h"
#include "glyphs.h"
#include "pictures.h"

namespace kestrova::assetgen {

QImage windowIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(QColor(12, 30, 96));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double height = size * 0.62;
  const double width = textWidth(u"\u20AC", height, 0.0);
  const QPointF origin((size - width) / 2.0 + size * 0.02, (size - height) / 2.0);
  QPen pen(QColor(255, 210, 0), size * 0.105, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(textPath(u"\u20AC", origin, height, 0.0));
  return image;
}

namespace {

// The hand is a union of blocks; the outline is every outside pixel that
// touches the hand along an edge, which also draws the lines between the
// fingers where their blocks leave a one-pixel gap.
struct Block {
  int left, top, right, bottom;  // inclusive
  bool roundTop = false;         // drop the two top corners
};

QImage handFromBlocks(int size, const std::vector<Block>& blocks) {
  std::vector<bool> hand(static_cast<std::size_t>(size) * size, false);
  auto at = [&](int x, int y) -> bool {
    return x >= 0 && y >= 0 && x < size && y < size && hand[static_cast<std::size_t>(y) * size + x];
  };
  for (const Block& b : blocks) {
    for (int y = b.top; y <= b.bottom; ++y) {
      for (int x = b.left; x <= b.right; ++x) {
        const bool corner = b.roundTop && y == b.top && (x == b.left || x == b.right);
        if (!corner) {
          hand[static_cast<std::size_t>(y) * size + x] = true;
        }
      }
    }
  }
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (at(x, y)) {
        if (x == 0 || y == 0 || x == size - 1 || y == size - 1) {
          throw std::logic_error("the hand's outline would leave the picture");
        }
        image.setPixel(x, y, qRgb(255, 255, 255));
      } else if (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1)) {
        image.setPixel(x, y, qRgb(0, 0, 0));
      }
    }
  }
  return image;
}

}  // namespace

QImage pointingHand(int size) {
  if (size == 32) {
    // Laid out from the hot spot, which is the top of the index finger's outline.
    const int x = assets::kHandHotspotX - 1;
    const int y = assets::kHandHotspotY + 1;
    return handFromBlocks(32, {
                                  {x, y, x + 3, y + 15, true},             // index finger
                                  {x + 5, y + 8, x + 8, y + 15, true},     // middle finger
                                  {x + 10, y + 9, x + 13, y + 15, true},   // ring finger
                                  {x + 15, y + 11, x + 17, y + 15, true},  // little finger
                                  {x - 6, y + 15, x - 2, y + 19, true},    // thumb
                                  {x - 4, y + 20, x - 1, y + 21, false},   // under the thumb
                                  {x - 1, y + 20, x - 1, y + 23, false},   // thumb joint
                                  {x, y + 16, x + 17, y + 23, false},      // palm
                                  {x + 2, y + 24, x + 16, y + 26, false},  // heel of the hand
                              });
  }
  if (size == 16) {
    return handFromBlocks(16, {
                                  {5, 1, 6, 9, false},     // index finger
                                  {8, 5, 9, 9, false},     // middle finger
                                  {11, 6, 12, 9, false},   // ring finger
                                  {13, 7, 14, 9, false},   // little finger
                                  {2, 7, 3, 10, false},    // thumb
                                  {4, 10, 4, 11, false},   // thumb joint
                                  {5, 10, 14, 12, false},  // palm
                                  {6, 13, 13, 13, false},  // heel of the hand
                              });
  }
  throw std::invalid_argument("the hand comes in 32 and 16 pixels only");
}

}  // namespace kestrova::assetgen
