// The committed pictures as the program sees them: through the linked
// resources and Qt's readers, plus the raw bytes where the reader hides what
// matters (GIF version and palette, icon depths). Also checks that the
// generator still draws exactly what is committed.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/hand_hotspot.h"

namespace {

QByteArray resourceBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return file.readAll();
}

int le16(const QByteArray& b, int at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}

struct Rgb {
  double r, g, b;
};

Rgb averageColour(const QImage& image) {
  double r = 0, g = 0, b = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y);
      r += qRed(c);
      g += qGreen(c);
      b += qBlue(c);
    }
  }
  const double n = double(image.width()) * image.height();
  return {r / n, g / n, b / n};
}

// Hue in degrees and saturation (0..1) of a colour, as on a colour wheel.
void hueSaturation(const Rgb& c, double& hue, double& saturation) {
  const double mx = std::max({c.r, c.g, c.b});
  const double mn = std::min({c.r, c.g, c.b});
  saturation = mx <= 0 ? 0 : (mx - mn) / mx;
  if (mx == mn) {
    hue = 0;
    return;
  }
  if (mx == c.r) {
    hue = 60 * std::fmod((c.g - c.b) / (mx - mn) + 6.0, 6.0);
  } else if (mx == c.g) {
    hue = 60 * ((c.b - c.r) / (mx - mn) + 2.0);
  } else {
    hue = 60 * ((c.r - c.g) / (mx - mn) + 4.0);
  }
}

// A coarse name for a flag colour: k black, w white, r red, o orange,
// y yellow, g green, b blue, ' ' transparent, ? anything else.
char colourClass(QRgb c) {
  if (qAlpha(c) == 0) {
    return ' ';
  }
  const Rgb rgb{double(qRed(c)), double(qGreen(c)), double(qBlue(c))};
  const double mx = std::max({rgb.r, rgb.g, rgb.b});
  const double mn = std::min({rgb.r, rgb.g, rgb.b});
  if (mx < 60) {
    return 'k';
  }
  if (mn > 200) {
    return 'w';
  }
  double hue = 0, sat = 0;
  hueSaturation(rgb, hue, sat);
  if (sat < 0.35) {
    return '?';
  }
  if (hue >= 340 || hue < 15) return 'r';
  if (hue < 40) return 'o';
  if (hue < 70) return 'y';
  if (hue < 170) return 'g';
  if (hue < 260) return 'b';
  return '?';
}

QImage readPicture(const QString& path, const QByteArray& format, QSize size) {
  QImageReader reader(path);
  EXPECT_TRUE(reader.canRead()) << path.toStdString();
  EXPECT_EQ(reader.format(), format) << path.toStdString();
  const QImage image = reader.read();
  EXPECT_FALSE(image.isNull()) << path.toStdString() << ": " << reader.errorString().toStdString();
  EXPECT_EQ(image.size(), size) << path.toStdString();
  return image.convertToFormat(QImage::Format_ARGB32);
}

// --- flags -----------------------------------------------------------------

struct FlagCase {
  const char* key;
  // Samples of the field, by column and by row counted from the field's top
  // row (negative: from its bottom row), with the colour class expected.
  std::vector<std::tuple<int, int, char>> samples;
};

const std::vector<FlagCase>& flagCases() {
  static const std::vector<FlagCase> cases{
      {"imgBEL", {{3, 10, 'k'}, {16, 10, 'y'}, {28, 10, 'r'}}},
      {"imgGER", {{16, 2, 'k'}, {16, 10, 'r'}, {16, -2, 'y'}}},
      {"imgFIN", {{2, 2, 'w'}, {11, 2, 'b'}, {26, 10, 'b'}, {26, -2, 'w'}, {2, 10, 'b'}}},
      {"imgFRA", {{3, 10, 'b'}, {16, 10, 'w'}, {28, 10, 'r'}}},
      {"imgGRI", {{20, 0, 'b'}, {20, 3, 'w'}, {20, -1, 'b'}, {1, 1, 'b'}, {2, 5, 'w'}, {5, 1, 'w'}}},
      {"imgIER", {{3, 10, 'g'}, {16, 10, 'w'}, {28, 10, 'o'}}},
      {"imgITA", {{3, 10, 'g'}, {16, 10, 'w'}, {28, 10, 'r'}}},
      {"imgLUX", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'b'}}},
      {"imgNED", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'b'}}},
      {"imgATS", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'r'}}},
      {"imgPOR", {{2, 2, 'g'}, {2, -2, 'g'}, {29, 2, 'r'}, {29, -2, 'r'}}},
      {"imgESP", {{28, 1, 'r'}, {28, 10, 'y'}, {28, -1, 'r'}, {22, 10, 'y'}}},
  };
  return cases;
}

// The raw file: GIF89a (the only GIF that can be transparent), a global
// table of 16 colours and a graphic control extension naming one of them as
// transparent.
void checkGifBytes(const QByteArray& gif, const std::string& key) {
  SCOPED_TRACE(key);
  ASSERT_GE(gif.size(), 13 + 48);
  EXPECT_EQ(gif.left(6), QByteArray("GIF89a"));
  EXPECT_EQ(le16(gif, 6), 32);
  EXPECT_EQ(le16(gif, 8), 32);
  const auto packed = static_cast<std::uint8_t>(gif[10]);
  EXPECT_TRUE(packed & 0x80) << "no global colour table";
  EXPECT_EQ(2 << (packed & 0x07), 16) << "palette size";
  const int extension = 13 + 3 * 16;
  ASSERT_GE(gif.size(), extension + 8);
  EXPECT_EQ(static_cast<std::uint8_t>(gif[extension]), 0x21);
  EXPECT_EQ(static_cast<std::uint8_t>(gif[extension + 1]), 0xF9);
  EXPECT_TRUE(static_cast<std::uint8_t>(gif[extension + 3]) & 0x01) << "no transparent colour";
  EXPECT_LT(static_cast<std::uint8_t>(gif[extension + 6]), 16);
}

TEST(Flags, AreTransparentSixteenColourGifsOfTheRightCountries) {
  ASSERT_EQ(flagCases().size(), 12u);
  for (const FlagCase& flag : flagCases()) {
    const QString path = QStringLiteral(":/flags/%1.gif").arg(flag.key);
    SCOPED_TRACE(path.toStdString());
    checkGifBytes(resourceBytes(path), flag.key);
    const QImage image = readPicture(path, "gif", QSize(32, 32));
    if (image.isNull()) {
      continue;
    }

    // A field of about 32 x 21, centred, wholly opaque; clear above and below.
    QSet<QRgb> colours;
    int first = -1, last = -1;
    for (int y = 0; y < 32; ++y) {
      int opaque = 0;
      for (int x = 0; x < 32; ++x) {
        colours.insert(image.pixel(x, y));
        opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
      }
      ASSERT_TRUE(opaque == 0 || opaque == 32) << "row " << y << " is partly transparent";
      if (opaque == 32) {
        if (first < 0) first = y;
        ASSERT_TRUE(last < 0 || last == y - 1) << "the field has a gap at row " << y;
        last = y;
      }
    }
    EXPECT_LE(colours.size(), 16);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(last - first + 1, 21, 1);
    EXPECT_LE(std::abs(first - (31 - last)), 1) << "field not centred";

    for (const auto& [x, row, expected] : flag.samples) {
      const int y = row >= 0 ? first + row : last + 1 + row;
      EXPECT_EQ(colourClass(image.pixel(x, y)), expected) << "at " << x << "," << y;
    }
  }
}

TEST(Flags, PortugalAndSpainCarryAnEmblem) {
  // Portugal: a yellow sphere on the border of green and red.
  const QImage portugal = readPicture(":/flags/imgPOR.gif", "gif", QSize(32, 32));
  int yellow = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 6; x < 20; ++x) {
      yellow += colourClass(portugal.pixel(x, y)) == 'y' ? 1 : 0;
    }
  }
  EXPECT_GE(yellow, 15);
  // Spain: something neither red nor yellow in the yellow band, near the hoist only.
  const QImage spain = readPicture(":/flags/imgESP.gif", "gif", QSize(32, 32));
  int nearHoist = 0, farSide = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const char c = colourClass(spain.pixel(x, y));
      if (c != 'r' && c != 'y' && c != ' ') {
        (x < 16 ? nearHoist : farSide) += 1;
      }
    }
  }
  EXPECT_GE(nearHoist, 10);
  EXPECT_EQ(farSide, 0);
}

// --- icons -----------------------------------------------------------------

struct IconEntry {
  int width, height, colourCount, bitCount;
};

std::vector<IconEntry> iconEntries(const QByteArray& ico) {
  std::vector<IconEntry> out;
  if (ico.size() < 6 || le16(ico, 0) != 0 || le16(ico, 2) != 1) {
    return out;
  }
  const int count = le16(ico, 4);
  for (int i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
    const int at = 6 + 16 * i;
    out.push_back({static_cast<std::uint8_t>(ico[at]), static_cast<std::uint8_t>(ico[at + 1]),
                   static_cast<std::uint8_t>(ico[at + 2]), le16(ico, at + 6)});
  }
  return out;
}

TEST(Icons, EuropeanFlagIsARingOfYellowStarsOnBlue) {
  const auto entries = iconEntries(resourceBytes(":/pictures/imgEuro.ico"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].width, 32);
  EXPECT_EQ(entries[0].height, 32);
  EXPECT_EQ(entries[0].bitCount, 8);

  const QImage image = readPicture(":/pictures/imgEuro.ico", "ico", QSize(32, 32));
  ASSERT_FALSE(image.isNull());
  for (int x = 0; x < 32; ++x) {
    EXPECT_EQ(qAlpha(image.pixel(x, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(x, 31)), 0);
    EXPECT_EQ(qAlpha(image.pixel(x, 15)), 255);
  }
  // Yellow pixels sit on a circle around the middle, which itself is blue.
  std::vector<double> distances;
  double sx = 0, sy = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (colourClass(image.pixel(x, y)) == 'y') {
        distances.push_back(std::hypot(x + 0.5 - 16.0, y + 0.5 - 15.5));
        sx += x + 0.5;
        sy += y + 0.5;
      }
    }
  }
  ASSERT_GE(distances.size(), 24u);
  EXPECT_NEAR(sx / distances.size(), 16.0, 0.6);
  EXPECT_NEAR(sy / distances.size(), 15.5, 0.6);
  for (double d : distances) {
    EXPECT_NEAR(d, 7.0, 2.5);
  }
  EXPECT_EQ(colourClass(image.pixel(16, 15)), 'b');
}

TEST(Icons, WindowIconIsAYellowEuroOnDarkBlueInEverySize) {
  const auto entries = iconEntries(resourceBytes(":/pictures/kestrova.ico"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].width, 32);
  EXPECT_EQ(entries[0].bitCount, 8);

  std::vector<QImage> images{readPicture(":/pictures/kestrova.ico", "ico", QSize(32, 32))};
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString path = QStringLiteral(KESTROVA_ICONS_DIR "/hicolor/%1x%1/apps/kestrova.png").arg(size);
    EXPECT_EQ(resourceBytes(path).left(8), QByteArray("\x89PNG\r\n\x1a\n", 8)) << size;
    images.push_back(readPicture(path, "png", QSize(size, size)));
  }
  for (const QImage& image : images) {
    SCOPED_TRACE(image.width());
    ASSERT_FALSE(image.isNull());
    const QRgb corner = image.pixel(0, 0);
    EXPECT_EQ(colourClass(corner), 'b');
    EXPECT_LT(qRed(corner) + qGreen(corner) + qBlue(corner), 3 * 100) << "not a dark blue";
    int yellow = 0, opaque = 0;
    double sx = 0, sy = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (colourClass(image.pixel(x, y)) == 'y') {
          ++yellow;
          sx += x + 0.5;
          sy += y + 0.5;
        }
        opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
      }
    }
    EXPECT_EQ(opaque, image.width() * image.height());
    const double share = double(yellow) / opaque;
    EXPECT_GT(share, 0.08);
    EXPECT_LT(share, 0.4);
    ASSERT_GT(yellow, 0);
    EXPECT_NEAR(sx / yellow / image.width(), 0.5, 0.1) << "sign not centred";
    EXPECT_NEAR(sy / yellow / image.height(), 0.5, 0.1) << "sign not centred";
  }
}

TEST(Icons, HandHoldsTwoSixteenColourImagesOfAnOutlinedWhiteHand) {
  const QByteArray bytes = resourceBytes(":/pictures/hand.ico");
  const auto entries = iconEntries(bytes);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].width, 32);
  EXPECT_EQ(entries[0].height, 32);
  EXPECT_EQ(entries[1].width, 16);
  EXPECT_EQ(entries[1].height, 16);
  for (const IconEntry& e : entries) {
    EXPECT_EQ(e.bitCount, 4);
    EXPECT_EQ(e.colourCount, 16);
  }

  QImageReader reader(":/pictures/hand.ico");
  EXPECT_EQ(reader.format(), "ico");
  ASSERT_EQ(reader.imageCount(), 2);
  for (int index : {0, 1}) {
    ASSERT_TRUE(reader.jumpToImage(index));
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull());
    const int size = index == 0 ? 32 : 16;
    ASSERT_EQ(image.size(), QSize(size, size));
    SCOPED_TRACE(size);
    int white = 0, black = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb c = image.pixel(x, y);
        if (qAlpha(c) == 0) {
          continue;
        }
        ASSERT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) << x << "," << y;
        if (c == qRgb(0, 0, 0)) {
          ++black;
          continue;
        }
        ++white;
        // The outline is closed: white never touches the transparent outside.
        ASSERT_TRUE(x > 0 && y > 0 && x < size - 1 && y < size - 1);
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          EXPECT_NE(qAlpha(image.pixel(x + dx, y + dy)), 0) << x << "," << y;
        }
      }
    }
    EXPECT_GT(white, size * size / 5);
    EXPECT_GT(black, size * 2);
    EXPECT_LT(white + black, size * size * 3 / 4) << "transparent elsewhere";

    if (size == 32) {
      // The hot spot is the fingertip: opaque, with nothing above it and the finger below.
      using kestrova::assets::kHandHotspotX;
      using kestrova::assets::kHandHotspotY;
      EXPECT_EQ(image.pixel(kHandHotspotX, kHandHotspotY), qRgb(0, 0, 0));
      EXPECT_EQ(image.pixel(kHandHotspotX, kHandHotspotY + 1), qRgb(255, 255, 255));
      for (int y = 0; y < kHandHotspotY; ++y) {
        for (int x = 0; x < size; ++x) {
          EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
        }
      }
      // A finger, not the palm: the rows below the tip stay narrow for a while.
      for (int y = kHandHotspotY + 1; y < kHandHotspotY + 8; ++y) {
        int opaque = 0;
        for (int x = 0; x < size; ++x) {
          opaque += qAlpha(image.pixel(x, y)) != 0 ? 1 : 0;
        }
        EXPECT_LE(opaque, 6) << "row " << y;
      }
    }
  }
}

// --- backgrounds -------------------------------------------------------------

bool isJpeg(const QByteArray& bytes) { return bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3)); }

TEST(Backgrounds, DefaultTextureIsGreyTealAndTheButtonFaceIsItsCopy) {
  for (const char* path : {":/backgrounds/imgDefault.jpg", ":/pictures/buttonface.jpg"}) {
    EXPECT_TRUE(isJpeg(resourceBytes(path))) << path;
  }
  const QImage texture = readPicture(":/backgrounds/imgDefault.jpg", "jpeg", QSize(200, 200));
  const QImage face = readPicture(":/pictures/buttonface.jpg", "jpeg", QSize(200, 200));
  ASSERT_FALSE(texture.isNull());
  const Rgb mean = averageColour(texture);
  EXPECT_NEAR(mean.r, 118, 3);
  EXPECT_NEAR(mean.g, 157, 3);
  EXPECT_NEAR(mean.b, 163, 3);
  // A texture, not a flat colour.
  double spread = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 200; ++x) {
      spread += std::abs(qGreen(texture.pixel(x, y)) - mean.g);
    }
  }
  EXPECT_GT(spread / (200 * 200), 4.0);
  EXPECT_EQ(face, texture);
}

TEST(Backgrounds, BanknotesAreLightAndEachInItsOwnTone) {
  struct Note {
    const char* key;
    double hueFrom, hueTo;  // empty range: a grey note
  };
  const Note notes[] = {
      {"imgFive", 0, 0},
      {"imgTen", 345, 375},
      {"imgTwenty", 200, 240},
      {"imgFifty", 18, 38},
      {"imgOnehundred", 95, 150},
      {"imgTwohundred", 40, 58},
      {"imgFivehundred", 260, 310},
  };
  std::vector<double> hues;
  for (const Note& note : notes) {
    const QString path = QStringLiteral(":/backgrounds/%1.jpg").arg(note.key);
    SCOPED_TRACE(path.toStdString());
    EXPECT_TRUE(isJpeg(resourceBytes(path)));
    const QImage image = readPicture(path, "jpeg", QSize(192, 149));
    ASSERT_FALSE(image.isNull());
    const Rgb mean = averageColour(image);
    EXPECT_GT(std::max({mean.r, mean.g, mean.b}), 185) << "not a light tone";
    double hue = 0, sat = 0;
    hueSaturation(mean, hue, sat);
    if (note.hueFrom == note.hueTo) {
      EXPECT_LT(sat, 0.06);
      continue;
    }
    EXPECT_GT(sat, 0.12);
    const double h = hue < note.hueFrom ? hue + 360 : hue;
    EXPECT_GE(h, note.hueFrom);
    EXPECT_LE(h, note.hueTo);
    hues.push_back(hue);
  }
  for (std::size_t i = 0; i < hues.size(); ++i) {
    for (std::size_t j = i + 1; j < hues.size(); ++j) {
      const double d = std::abs(hues[i] - hues[j]);
      EXPECT_GT(std::min(d, 360 - d), 10) << i << " and " << j << " look alike";
    }
  }
}

// --- regeneration ----------------------------------------------------------

QSet<QString> filesUnder(const QString& root, const QStringList& folders) {
  QSet<QString> out;
  for (const QString& folder : folders) {
    QDirIterator it(root + "/" + folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      out.insert(QDir(root).relativeFilePath(it.next()));
    }
  }
  return out;
}

TEST(Generator, RedrawsTheCommittedFilesByteForByte) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  QProcess generator;
  generator.start(KESTROVA_ASSETGEN, {out.filePath("assets"), out.filePath("icons")});
  ASSERT_TRUE(generator.waitForFinished(120000));
  ASSERT_EQ(generator.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

  const struct {
    QString generated, committed;
    QStringList folders;
  } trees[] = {
      {out.filePath("assets"), KESTROVA_ASSETS_DIR, {"flags", "backgrounds", "pictures"}},
      {out.filePath("icons"), KESTROVA_ICONS_DIR, {"hicolor"}},
  };
  int compared = 0;
  for (const auto& tree : trees) {
    const QSet<QString> made = filesUnder(tree.generated, tree.folders);
    QSet<QString> committed = filesUnder(tree.committed, tree.folders);
    EXPECT_EQ(made, committed) << "files drawn and files committed differ in "
                               << tree.committed.toStdString();
    for (const QString& name : made) {
      QFile a(tree.generated + "/" + name);
      QFile b(tree.committed + "/" + name);
      ASSERT_TRUE(a.open(QIODevice::ReadOnly));
      if (!b.open(QIODevice::ReadOnly)) {
        continue;  // reported above
      }
      EXPECT_TRUE(a.readAll() == b.readAll()) << name.toStdString() << " differs from the committed file";
      ++compared;
    }
  }
  EXPECT_EQ(compared, 12 + 8 + 4 + 7);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
