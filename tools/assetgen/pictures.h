#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace kestrova::assetgen {

// A national flag, 32 x 32, transparent above and below its field.
struct NationalFlag {
  QString key;  // the country key, e.g. "imgBEL"
  QImage image;
};

// In the country order of the program.
std::vector<NationalFlag> nationalFlags();

// Blue field with the ring of twelve stars, 32 x 32.
QImage europeanFlag();

// Yellow euro sign on a dark blue square, size x size.
QImage windowIcon(int size);

// White pointing hand with a black outline, transparent elsewhere; size is
// 32 or 16. Its fingertip in the 32 x 32 image is the hot spot of
// assets/hand_hotspot.h.
QImage pointingHand(int size);

// The default background: 200 x 200 grey-teal texture.
QImage defaultTexture();

// A 192 x 149 banknote face for 5, 10, 20, 50, 100, 200 or 500 euro.
QImage banknote(int value);

}  // namespace kestrova::assetgen
