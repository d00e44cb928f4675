// The committed pictures as the program reads them from its resources, plus the raw bytes
// where Qt's reader hides what matters: GIF version and palette, icon depths.

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/hand_hotspot.h"

namespace {

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int byteAt(const QByteArray& b, int at) {
  return at < b.size() ? static_cast<unsigned char>(b[at]) : -1;
}
int le16(const QByteArray& b, int at) { return byteAt(b, at) | byteAt(b, at + 1) << 8; }

// Checks the file's leading bytes, Qt's idea of its format and its size; returns it as ARGB.
QImage load(const QString& path, const QByteArray& magic, const QByteArray& format, QSize size) {
  SCOPED_TRACE(path.toStdString());
  EXPECT_TRUE(bytesOf(path).startsWith(magic));
  QImageReader reader(path);
  EXPECT_EQ(reader.format(), format);
  const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(image.size(), size);
  return image;
}

const QByteArray kGif("GIF89a"), kIco("\0\0\1\0", 4), kJpeg("\xFF\xD8\xFF", 3),
    kPng("\x89PNG\r\n\x1a\n");

// Number of pixels for which pred(x, y, colour) holds.
template <typename Pred>
int count(const QImage& image, Pred pred) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += pred(x, y, image.pixel(x, y)) ? 1 : 0;
  return n;
}

// A coarse name for a flag colour: k black, w white, r o y g b, ' ' transparent, ? other.
char colourClass(QRgb c) {
  const QColor q = QColor::fromRgb(c);
  if (qAlpha(c) == 0) return ' ';
  if (q.value() < 60) return 'k';
  if (std::min({q.red(), q.green(), q.blue()}) > 200) return 'w';
  if (q.saturationF() < 0.35) return '?';
  for (auto [below, name] :
       {std::pair{15, 'r'}, {40, 'o'}, {70, 'y'}, {170, 'g'}, {260, 'b'}, {340, '?'}})
    if (q.hue() < below) return name;
  return 'r';
}

QColor average(const QImage& image) {
  double r = 0, g = 0, b = 0;
  const double n = count(image, [&](int, int, QRgb c) {
    r += qRed(c), g += qGreen(c), b += qBlue(c);
    return true;
  });
  return QColor::fromRgbF(float(r / n / 255), float(g / n / 255), float(b / n / 255));
}

TEST(Flags, AreTransparentSixteenColourGifsOfTheRightCountries) {
  // Samples by column and by row of the field (negative: from its bottom row), emblems included.
  const std::vector<std::pair<const char*, std::vector<std::tuple<int, int, char>>>> flags{
      {"BEL", {{3, 10, 'k'}, {16, 10, 'y'}, {28, 10, 'r'}}},
      {"GER", {{16, 2, 'k'}, {16, 10, 'r'}, {16, -2, 'y'}}},
      {"FIN", {{2, 2, 'w'}, {11, 2, 'b'}, {26, 10, 'b'}, {26, -2, 'w'}, {2, 10, 'b'}}},
      {"FRA", {{3, 10, 'b'}, {16, 10, 'w'}, {28, 10, 'r'}}},
      {"GRI", {{20, 0, 'b'}, {20, 3, 'w'}, {20, -1, 'b'}, {1, 1, 'b'}, {2, 5, 'w'}, {5, 1, 'w'}}},
      {"IER", {{3, 10, 'g'}, {16, 10, 'w'}, {28, 10, 'o'}}},
      {"ITA", {{3, 10, 'g'}, {16, 10, 'w'}, {28, 10, 'r'}}},
      {"LUX", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'b'}}},
      {"NED", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'b'}}},
      {"ATS", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'r'}}},
      {"POR", {{2, 2, 'g'}, {2, -2, 'g'}, {29, 2, 'r'}, {29, -2, 'r'}, {7, 9, 'y'}, {11, 8, 'w'}}},
      {"ESP",
       {{28, 1, 'r'}, {28, 10, 'y'}, {28, -1, 'r'}, {22, 10, 'y'}, {4, 7, '?'}, {8, 5, 'w'}}},
  };
  for (const auto& [key, samples] : flags) {
    const QString path = QStringLiteral(":/flags/img%1.gif").arg(key);
    SCOPED_TRACE(path.toStdString());
    const QImage image = load(path, kGif, "gif", QSize(32, 32));
    // A 16-colour global table, then a graphic control extension naming a transparent index in it.
    const QByteArray gif = bytesOf(path);
    const int gce = 13 + 3 * 16;
    EXPECT_EQ(byteAt(gif, 10) & 0x87, 0x83);
    EXPECT_EQ(le16(gif, gce), 0xF921);
    EXPECT_EQ(byteAt(gif, gce + 3) & 1, 1);
    EXPECT_LT(byteAt(gif, gce + 6), 16);

    // The field, about 32 x 21, centred and wholly opaque; clear above and below.
    std::vector<int> field;
    for (int y = 0; y < 32; ++y) {
      const int opaque =
          count(image, [y](int, int py, QRgb c) { return py == y && qAlpha(c) == 255; });
      ASSERT_TRUE(opaque == 0 || opaque == 32) << "row " << y << " is partly transparent";
      if (opaque == 32) field.push_back(y);
    }
    ASSERT_FALSE(field.empty());
    const int first = field.front(), last = field.back();
    EXPECT_EQ(int(field.size()), last - first + 1) << "gap in the field";
    EXPECT_NEAR(last - first + 1, 21, 1);
    EXPECT_LE(std::abs(first - (31 - last)), 1) << "not centred";
    for (const auto& [x, row, expected] : samples) {
      const int y = row < 0 ? last + 1 + row : first + row;
      EXPECT_EQ(colourClass(image.pixel(x, y)), expected) << x << "," << y;
    }
  }
}

TEST(Icons, EuropeanFlagAndWindowIconInEverySize) {
  // A ring of yellow stars around a blue middle; clear above and below the field.
  const QImage euro = load(":/pictures/imgEuro.ico", kIco, "ico", QSize(32, 32));
  EXPECT_EQ(count(euro, [](int, int y, QRgb c) { return (y == 0 || y == 31) && qAlpha(c) != 0; }),
            0);
  EXPECT_EQ(count(euro, [](int, int y, QRgb c) { return y == 15 && qAlpha(c) == 255; }), 32);
  EXPECT_EQ(colourClass(euro.pixel(16, 15)), 'b');
  // All twelve stars: as much yellow left of the middle as right of it.
  const int stars = count(euro, [](int, int, QRgb c) { return colourClass(c) == 'y'; });
  EXPECT_GE(stars, 24);
  EXPECT_NEAR(2 * count(euro, [](int x, int, QRgb c) { return x < 16 && colourClass(c) == 'y'; }),
              stars, 2);
  EXPECT_EQ(count(euro,
                  [](int x, int y, QRgb c) {
                    return colourClass(c) == 'y' &&
                           std::abs(std::hypot(x - 15.5, y - 15.0) - 7.0) > 2.5;
                  }),
            0);

  // A centred yellow sign on opaque dark blue, in the .ico and every desktop size.
  std::vector<QImage> images{load(":/pictures/kestrova.ico", kIco, "ico", QSize(32, 32))};
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    images.push_back(
        load(QStringLiteral(KESTROVA_ICONS_DIR "/hicolor/%1x%1/apps/kestrova.png").arg(size), kPng,
             "png", QSize(size, size)));
  for (const QImage& image : images) {
    SCOPED_TRACE(image.width());
    const QColor corner = image.pixelColor(0, 0);
    EXPECT_EQ(colourClass(corner.rgba()), 'b');
    EXPECT_LT(corner.value(), 130) << "not a dark blue";
    EXPECT_EQ(count(image, [](int, int, QRgb c) { return qAlpha(c) != 255; }), 0);
    QRect sign;
    const int n = count(image, [&](int x, int y, QRgb c) {
      if (colourClass(c) == 'y') sign |= QRect(x, y, 1, 1);
      return colourClass(c) == 'y';
    });
    const int w = image.width();
    EXPECT_TRUE(n > w * w * 8 / 100 && n < w * w * 40 / 100) << n;
    EXPECT_LE(std::abs(sign.left() - (w - 1 - sign.right())), w / 10) << "sign not centred";
    EXPECT_LE(std::abs(sign.top() - (w - 1 - sign.bottom())), w / 10) << "sign not centred";
  }
}

TEST(Icons, HandHoldsTwoSixteenColourImagesOfAnOutlinedWhiteHand) {
  const QByteArray ico = bytesOf(":/pictures/hand.ico");
  EXPECT_TRUE(ico.startsWith(kIco));
  QImageReader reader(":/pictures/hand.ico");
  ASSERT_EQ(reader.imageCount(), 2);
  QImage hand;
  for (int size : {16, 32}) {  // the large image first, so it stays in hand
    SCOPED_TRACE(size);
    const int entry = size == 32 ? 6 : 22;
    EXPECT_EQ(byteAt(ico, entry + 2), 16);
    EXPECT_EQ(le16(ico, entry + 6), 4);
    ASSERT_TRUE(reader.jumpToImage(size == 32 ? 0 : 1));
    hand = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(hand.size(), QSize(size, size));
    const auto opaque = [&](int x, int y) {
      return hand.valid(x, y) && qAlpha(hand.pixel(x, y)) != 0;
    };
    const int white = count(hand, [](int, int, QRgb c) { return c == qRgb(255, 255, 255); });
    const int black = count(hand, [](int, int, QRgb c) { return c == qRgb(0, 0, 0); });
    EXPECT_EQ(count(hand, [&](int x, int y, QRgb) { return opaque(x, y); }), white + black)
        << "other colour";
    EXPECT_TRUE(white > size * size / 5 && black > size * 2 && white + black < size * size * 3 / 4)
        << white << " white, " << black << " black: not a hand, or not transparent elsewhere";
    // The outline is closed: white never touches the transparent outside.
    EXPECT_EQ(count(hand,
                    [&](int x, int y, QRgb c) {
                      return c == qRgb(255, 255, 255) && !(opaque(x + 1, y) && opaque(x - 1, y) &&
                                                           opaque(x, y + 1) && opaque(x, y - 1));
                    }),
              0);
  }
  // The hot spot is the fingertip: outline on top, nothing above, a narrow finger below.
  using kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY;
  EXPECT_EQ(hand.pixel(kHandHotspotX, kHandHotspotY), qRgb(0, 0, 0));
  EXPECT_EQ(hand.pixel(kHandHotspotX, kHandHotspotY + 1), qRgb(255, 255, 255));
  EXPECT_EQ(count(hand, [](int, int y, QRgb c) { return y < kHandHotspotY && qAlpha(c) != 0; }), 0);
  for (int row = kHandHotspotY + 1; row < kHandHotspotY + 8; ++row)
    EXPECT_LE(count(hand, [row](int, int y, QRgb c) { return y == row && qAlpha(c) != 0; }), 6)
        << row;
}

TEST(Backgrounds, GreyTealTextureItsCopyAndBanknotesInTheirOwnTones) {
  const QImage texture = load(":/backgrounds/imgDefault.jpg", kJpeg, "jpeg", QSize(200, 200));
  const QColor mean = average(texture);
  EXPECT_NEAR(mean.redF() * 255, 118, 3);
  EXPECT_NEAR(mean.greenF() * 255, 157, 3);
  EXPECT_NEAR(mean.blueF() * 255, 163, 3);
  double spread = 0;  // a texture, not a flat colour
  count(texture, [&](int, int, QRgb c) {
    return (spread += std::abs(qGreen(c) - mean.greenF() * 255)) > 0;
  });
  EXPECT_GT(spread / (200 * 200), 4.0);
  EXPECT_EQ(load(":/pictures/buttonface.jpg", kJpeg, "jpeg", QSize(200, 200)), texture);

  // Light, and each in the hue range of its note (may pass 360); an empty range is a grey note.
  const std::tuple<const char*, int, int> notes[] = {
      {"Five", 0, 0},          {"Ten", 345, 375},      {"Twenty", 200, 240},      {"Fifty", 18, 38},
      {"Onehundred", 95, 150}, {"Twohundred", 40, 58}, {"Fivehundred", 260, 310},
  };
  std::vector<int> hues;
  for (const auto& [key, from, to] : notes) {
    const QString path = QStringLiteral(":/backgrounds/img%1.jpg").arg(key);
    SCOPED_TRACE(path.toStdString());
    const QColor tone = average(load(path, kJpeg, "jpeg", QSize(192, 149)));
    EXPECT_GT(tone.valueF(), 185 / 255.0) << "not a light tone";
    if (from == to) {
      EXPECT_LT(tone.saturationF(), 0.06);
      continue;
    }
    EXPECT_GT(tone.saturationF(), 0.12);
    const int hue = tone.hue() < from ? tone.hue() + 360 : tone.hue();
    EXPECT_TRUE(hue >= from && hue <= to) << hue;
    for (int other : hues)
      EXPECT_GT(std::min(std::abs(tone.hue() - other), 360 - std::abs(tone.hue() - other)), 10)
          << other;
    hues.push_back(tone.hue());
  }
}

TEST(HighDensity, EveryWindowPictureHasATwinOfTwiceTheSizeThatLooksTheSame) {
  QStringList designed{":/pictures/buttonface.jpg", ":/pictures/imgEuro.ico",
                       ":/pictures/kestrova.ico"};
  for (const char* folder : {":/flags", ":/backgrounds"})
    for (QDirIterator it(folder, QDir::Files); it.hasNext();)
      if (const QString path = it.next(); !path.contains('@')) designed << path;
  ASSERT_EQ(designed.size(), 3 + 12 + 8);
  for (const QString& path : designed) {
    const QString twin = QString(path).insert(path.lastIndexOf('.'), "@2x");
    SCOPED_TRACE(twin.toStdString());
    const QImage one = QImage(path).convertToFormat(QImage::Format_ARGB32);
    const QImage two = QImage(twin).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(QImageReader(twin).format(), QImageReader(path).format());
    ASSERT_EQ(two.size(), one.size() * 2);
    // Shrunk back, each 2 x 2 block is about its pixel of the designed picture.
    const QImage shrunk = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double off = 0;
    const int pixels = count(one, [&](int x, int y, QRgb c) {
      const QRgb d = shrunk.pixel(x, y);
      off += std::abs(qRed(c) - qRed(d)) + std::abs(qGreen(c) - qGreen(d)) +
             std::abs(qBlue(c) - qBlue(d)) + std::abs(qAlpha(c) - qAlpha(d));
      return true;
    });
    EXPECT_LT(off / pixels / 4, 8.0);
  }
}

QSet<QString> picturesUnder(const QString& root) {
  QSet<QString> out;
  for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
    const QString name = QDir(root).relativeFilePath(it.next());
    if (name.contains('/')) out.insert(name);  // files at the top are sources, not pictures
  }
  return out;
}

#ifdef KESTROVA_ASSETGEN
TEST(Generator, RedrawsTheCommittedFilesByteForByte) {
  QTemporaryDir out;
  QProcess generator;
  generator.start(KESTROVA_ASSETGEN, {out.filePath("assets"), out.filePath("icons")});
  ASSERT_TRUE(generator.waitForFinished(120000));
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
  int compared = 0;
  for (const auto& [made, committed] :
       {std::pair{out.filePath("assets"), QString(KESTROVA_ASSETS_DIR)},
        {out.filePath("icons"), QString(KESTROVA_ICONS_DIR)}}) {
    EXPECT_EQ(picturesUnder(made), picturesUnder(committed)) << committed.toStdString();
    for (const QString& name : picturesUnder(made)) {
      EXPECT_TRUE(bytesOf(made + "/" + name) == bytesOf(committed + "/" + name))
          << name.toStdString();
      ++compared;
    }
  }
  EXPECT_EQ(compared, 2 * (12 + 8 + 3) + 1 + 7);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
