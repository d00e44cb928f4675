#include "writers.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace kestrova::assetgen {
namespace {

std::runtime_error failure(const std::string& what) { return std::runtime_error(what); }

void appendLe16(QByteArray& out, int v) {
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>((v >> 8) & 0xFF));
}

void appendLe32(QByteArray& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
}

// Pictures carry 96 dpi, whatever the machine's screen says.
QImage withFixedResolution(const QImage& image) {
  QImage copy = image;
  copy.setDotsPerMeterX(3780);
  copy.setDotsPerMeterY(3780);
  return copy;
}

QByteArray encodeWithQt(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  writer.setOptimizedWrite(false);
  writer.setProgressiveScanWrite(false);
  if (!writer.write(withFixedResolution(image))) {
    throw failure(std::string("cannot encode ") + format + ": " +
                  writer.errorString().toStdString());
  }
  return bytes;
}

int gifWrite(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

}  // namespace

int IndexedImage::transparentIndex() const {
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (qAlpha(palette[i]) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

IndexedImage toIndexed(const QImage& image, std::vector<QRgb> palette, int paletteSize) {
  if (static_cast<int>(palette.size()) > paletteSize) {
    throw failure("palette larger than its size");
  }
  while (static_cast<int>(palette.size()) < paletteSize) {
    palette.push_back(qRgb(0, 0, 0));
  }
  IndexedImage out;
  out.width = image.width();
  out.height = image.height();
  out.palette = palette;
  const int transparent = out.transparentIndex();
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const QRgb c = argb.pixel(x, y);
      if (qAlpha(c) == 0) {
        if (transparent < 0) {
          throw failure("transparent pixel but no transparent colour");
        }
        out.pixels.push_back(static_cast<std::uint8_t>(transparent));
        continue;
      }
      if (qAlpha(c) != 255) {
        throw failure("half-transparent pixel in an indexed picture");
      }
      const auto it = std::find(palette.begin(), palette.end(), c);
      if (it == palette.end()) {
        throw failure("colour missing from the palette");
      }
      out.pixels.push_back(static_cast<std::uint8_t>(it - palette.begin()));
    }
  }
  return out;
}

IndexedImage toIndexedCollecting(const QImage& image, int paletteSize) {
  std::vector<QRgb> palette{qRgba(0, 0, 0, 0)};
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    for (int x = 0; x < argb.width(); ++x) {
      const QRgb c = argb.pixel(x, y);
      if (qAlpha(c) != 0 && std::find(palette.begin(), palette.end(), c) == palette.end()) {
        palette.push_back(c);
      }
    }
  }
  if (static_cast<int>(palette.size()) > paletteSize) {
    throw failure("too many colours for the palette");
  }
  return toIndexed(argb, palette, paletteSize);
}

QByteArray encodeGif(const IndexedImage& image) {
  const int colours = static_cast<int>(image.palette.size());
  int bits = 1;
  while ((1 << bits) < colours) {
    ++bits;
  }
  if ((1 << bits) != colours || bits > 8) {
    throw failure("GIF palette size must be a power of two up to 256");
  }
  std::vector<GifColorType> table;
  for (QRgb c : image.palette) {
    table.push_back(GifColorType{static_cast<GifByteType>(qRed(c)),
                                 static_cast<GifByteType>(qGreen(c)),
                                 static_cast<GifByteType>(qBlue(c))});
  }

  QByteArray bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, gifWrite, &error);
  if (gif == nullptr) {
    throw failure("cannot start a GIF: " + std::string(GifErrorString(error)));
  }
  ColorMapObject* map = GifMakeMapObject(colours, table.data());
  bool ok = map != nullptr;
  // The transparency lives in a graphic control extension, which GIF87a lacks.
  EGifSetGifVersion(gif, true);
  ok = ok && EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map) == GIF_OK;
  if (ok && image.transparentIndex() >= 0) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.UserInputFlag = false;
    control.DelayTime = 0;
    control.TransparentColor = image.transparentIndex();
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) == GIF_OK;
  }
  ok = ok && EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(static_cast<std::size_t>(image.width));
  for (int y = 0; ok && y < image.height; ++y) {
    std::copy_n(image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width, image.width,
                row.begin());
    ok = EGifPutLine(gif, row.data(), image.width) == GIF_OK;
  }
  const int lastError = gif->Error;
  if (EGifCloseFile(gif, &error) != GIF_OK) {
    ok = false;
  }
  GifFreeMapObject(map);
  if (!ok) {
    throw failure("cannot write the GIF: " +
                  std::string(GifErrorString(lastError != 0 ? lastError : error)));
  }
  return bytes;
}

QByteArray encodeIco(const std::vector<IconImage>& images) {
  std::vector<QByteArray> bitmaps;
  for (const IconImage& icon : images) {
    const IndexedImage& im = icon.image;
    const int bpp = icon.bitsPerPixel;
    if ((bpp != 4 && bpp != 8) || static_cast<int>(im.palette.size()) > (1 << bpp)) {
      throw failure("icon images are 4 or 8 bits with a palette that fits");
    }
    const int xorStride = (im.width * bpp + 31) / 32 * 4;
    const int andStride = (im.width + 31) / 32 * 4;
    const int transparent = im.transparentIndex();

    QByteArray bmp;
    appendLe32(bmp, 40);
    appendLe32(bmp, static_cast<std::uint32_t>(im.width));
    appendLe32(bmp, static_cast<std::uint32_t>(im.height * 2));  // colour rows, then mask rows
    appendLe16(bmp, 1);
    appendLe16(bmp, bpp);
    appendLe32(bmp, 0);
    appendLe32(bmp, static_cast<std::uint32_t>((xorStride + andStride) * im.height));
    appendLe32(bmp, 0);
    appendLe32(bmp, 0);
    appendLe32(bmp, 0);
    appendLe32(bmp, 0);
    for (int i = 0; i < (1 << bpp); ++i) {
      const QRgb c = i < static_cast<int>(im.palette.size()) ? im.palette[i] : qRgb(0, 0, 0);
      // Transparent pixels are drawn black under a set mask bit.
      const bool clear = i == transparent;
      bmp.append(static_cast<char>(clear ? 0 : qBlue(c)));
      bmp.append(static_cast<char>(clear ? 0 : qGreen(c)));
      bmp.append(static_cast<char>(clear ? 0 : qRed(c)));
      bmp.append('\0');
    }
    for (int y = im.height - 1; y >= 0; --y) {  // bitmaps run bottom up
      QByteArray row(xorStride, '\0');
      for (int x = 0; x < im.width; ++x) {
        const int index = im.pixels[static_cast<std::size_t>(y) * im.width + x];
        if (bpp == 8) {
          row[x] = static_cast<char>(index);
        } else {
          row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
      }
      bmp.append(row);
    }
    for (int y = im.height - 1; y >= 0; --y) {
      QByteArray row(andStride, '\0');
      for (int x = 0; x < im.width; ++x) {
        if (im.pixels[static_cast<std::size_t>(y) * im.width + x] == transparent) {
          row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
      }
      bmp.append(row);
    }
    bitmaps.push_back(bmp);
  }

  QByteArray out;
  appendLe16(out, 0);
  appendLe16(out, 1);  // an icon, not a cursor
  appendLe16(out, static_cast<int>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const IndexedImage& im = images[i].image;
    const int bpp = images[i].bitsPerPixel;
    out.append(static_cast<char>(im.width >= 256 ? 0 : im.width));
    out.append(static_cast<char>(im.height >= 256 ? 0 : im.height));
    out.append(static_cast<char>(bpp >= 8 ? 0 : 1 << bpp));
    out.append('\0');
    appendLe16(out, 1);
    appendLe16(out, bpp);
    appendLe32(out, static_cast<std::uint32_t>(bitmaps[i].size()));
    appendLe32(out, offset);
    offset += static_cast<std::uint32_t>(bitmaps[i].size());
  }
  for (const QByteArray& bmp : bitmaps) {
    out.append(bmp);
  }
  return out;
}

QByteArray encodeJpeg(const QImage& image, int quality) {
  return encodeWithQt(image.convertToFormat(QImage::Format_RGB32), "jpeg", quality);
}

QByteArray encodePng(const QImage& image) { return encodeWithQt(image, "png", -1); }

void writeFile(const QString& path, const QByteArray& bytes) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    throw failure("cannot create the folder of " + path.toStdString());
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    throw failure("cannot write " + path.toStdString());
  }
}

}  // namespace kestrova::assetgen
