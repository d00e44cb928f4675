#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace kestrova::assetgen {

// Every picture of the window comes at scale 1 and at scale 2, the second
// with twice the pixels each way for screens of double density.

struct NamedPicture {
  QString key;  // the program's key for it, e.g. "imgBEL"
  QImage image;
};

// The national flags, 32 x 32, transparent above and below their fields; in
// the country order of the program.
std::vector<NamedPicture> nationalFlags(int scale);

// Blue field with the ring of twelve stars, 32 x 32.
QImage europeanFlag(int scale);

// Yellow euro sign on a dark blue square, size x size.
QImage windowIcon(int size);

// White pointing hand with a black outline, transparent elsewhere; size is
// 32 or 16. Its fingertip in the 32 x 32 image is the hot spot of
// assets/hand_hotspot.h.
QImage pointingHand(int size);

// The default background: 200 x 200 grey-teal texture.
QImage defaultTexture(int scale);

// The 192 x 149 banknote faces, one per background.
std::vector<NamedPicture> banknotes(int scale);

}  // namespace kestrova::assetgen
