// Draws every picture Kestrova carries and writes them where the build and
// the desktop packaging pick them up:
//
//   kestrova_assetgen ASSETS_DIR ICONS_DIR
//
// ASSETS_DIR receives flags/, backgrounds/ and pictures/, the window's
// pictures also as name@2x for screens of double density; ICONS_DIR the
// hicolor/NxN/apps/kestrova.png theme icons. The output does not depend on
// the machine, the time or any installed font, so it can be compared byte for
// byte with the committed files.

#include <QCoreApplication>
#include <QDir>
#include <array>
#include <cstdio>
#include <exception>

#include "pictures.h"
#include "writers.h"

namespace {

using namespace kestrova::assetgen;

constexpr int kJpegQuality = 90;

void save(const QString& path, const QByteArray& bytes) {
  writeFile(path, bytes);
  std::printf("%s\n", qPrintable(QDir::cleanPath(path)));
}

void generate(const QString& assets, const QString& icons) {
  // The window's own pictures twice: as designed, and as name@2x at double density.
  for (int scale : {1, 2}) {
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    for (const NamedPicture& flag : nationalFlags(scale)) {
      save(assets + "/flags/" + flag.key + suffix + ".gif",
           encodeGif(toIndexedCollecting(flag.image, 16)));
    }

    const QByteArray texture = encodeJpeg(defaultTexture(scale), kJpegQuality);
    save(assets + "/backgrounds/imgDefault" + suffix + ".jpg", texture);
    // The buttons' face is a picture of its own with the very same pixels.
    save(assets + "/pictures/buttonface" + suffix + ".jpg", texture);

    for (const NamedPicture& note : banknotes(scale)) {
      save(assets + "/backgrounds/" + note.key + suffix + ".jpg",
           encodeJpeg(note.image, kJpegQuality));
    }

    save(assets + "/pictures/imgEuro" + suffix + ".ico",
         encodeIco({{toIndexedCollecting(europeanFlag(scale), 256), 8}}));
    save(assets + "/pictures/kestrova" + suffix + ".ico",
         encodeIco({{toIndexedCollecting(windowIcon(32 * scale), 256), 8}}));
  }

  const std::vector<QRgb> handColours{qRgba(0, 0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)};
  save(assets + "/pictures/hand.ico",
       encodeIco({{toIndexed(pointingHand(32), handColours, 16), 4},
                  {toIndexed(pointingHand(16), handColours, 16), 4}}));

  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    save(icons + QStringLiteral("/hicolor/%1x%1/apps/kestrova.png").arg(size),
         encodePng(windowIcon(size)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: kestrova_assetgen ASSETS_DIR ICONS_DIR\n");
    return 2;
  }
  try {
    generate(args.at(1), args.at(2));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrova_assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
