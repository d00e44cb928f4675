#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <cstdint>
#include <vector>

namespace kestrova::assetgen {

// A picture with a colour table. A palette entry with alpha 0 is the
// transparent colour; there is at most one.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<QRgb> palette;
  std::vector<std::uint8_t> pixels;  // row by row, top row first

  int transparentIndex() const;
};

// Maps every pixel of `image` onto `palette` by exact colour. Pixels with
// alpha 0 take the transparent entry; any other colour must be in the
// palette, opaque, or this throws. The palette is padded with black to
// `paletteSize` entries.
IndexedImage toIndexed(const QImage& image, std::vector<QRgb> palette, int paletteSize);

// Like toIndexed, with a palette of the image's own colours in the order they
// first appear; entry 0 is kept for the transparent colour. Throws when they
// do not fit.
IndexedImage toIndexedCollecting(const QImage& image, int paletteSize);

// GIF89a with a global colour table and, when the palette has one, a
// transparent index. The palette size must be a power of two.
QByteArray encodeGif(const IndexedImage& image);

// An icon file of one or more images, each stored as a colour-table bitmap of
// the given depth (4 or 8 bits) with the transparency in its mask.
struct IconImage {
  IndexedImage image;
  int bitsPerPixel = 8;
};
QByteArray encodeIco(const std::vector<IconImage>& images);

QByteArray encodeJpeg(const QImage& image, int quality);
QByteArray encodePng(const QImage& image);

// Writes the bytes, creating folders as needed; throws on failure.
void writeFile(const QString& path, const QByteArray& bytes);

}  // namespace kestrova::assetgen
