// The committed pictures as the program reads them from its resources, plus the raw bytes where
// Qt's reader hides what matters (GIF palette and transparency, icon depths).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "assets/hand_hotspot.h"
#include "core/currency.h"
#include "ui/backgrounds.h"

namespace {

// Every flag and background, and the button face, the European flag and the window icon.
constexpr int kPictures = kestrova::core::kCountryCount + std::size(kestrova::ui::kBackgrounds) + 3;

QByteArray BytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int ByteAt(const QByteArray& bytes, int at) { return static_cast<unsigned char>(bytes.at(at)); }

QImage Argb(const QString& path) { return QImage(path).convertToFormat(QImage::Format_ARGB32); }

// A coarse name for a colour: k black, w white, r o y g b by hue, ' ' transparent, ? other.
char ColourClass(QRgb rgb) {
  const QColor c = QColor::fromRgba(rgb);
  if (qAlpha(rgb) == 0) return ' ';
  if (c.value() < 60) return 'k';
  if (std::min({c.red(), c.green(), c.blue()}) > 200) return 'w';
  if (c.saturationF() < 0.35) return '?';
  for (auto [below, name] : {std::pair{15, 'r'}, {40, 'o'}, {70, 'y'}, {170, 'g'}, {260, 'b'}}) {
    if (c.hue() < below) return name;
  }
  return c.hue() < 340 ? '?' : 'r';
}

// What the windows expect of each picture they load: its format and size.
std::pair<QByteArray, QSize> Expected(const QString& path) {
  if (path.startsWith(":/flags/")) return {"gif", {32, 32}};
  if (path.endsWith(".ico")) return {"ico", {32, 32}};
  if (path.contains("imgDefault") || path.contains("buttonface")) return {"jpeg", {200, 200}};
  return {"jpeg", {192, 149}};
}

// Each also has a twin of double size for dense screens that looks the same once shrunk back.
TEST(Pictures, HaveTheirFormatSizeAndATwinForDenseScreens) {
  int checked = 0;
  for (const char* folder : {":/flags", ":/backgrounds", ":/pictures"}) {
    for (QDirIterator it(folder, QDir::Files); it.hasNext();) {
      const QString path = it.next();
      if (path.contains('@') || path.endsWith("hand.ico")) continue;
      SCOPED_TRACE(path.toStdString());
      const auto [format, size] = Expected(path);
      const QString twin = QString(path).insert(path.lastIndexOf('.'), "@2x");
      const QImage one = Argb(path), two = Argb(twin);
      EXPECT_EQ(QImageReader(path).format(), format);
      EXPECT_EQ(QImageReader(twin).format(), format);
      ASSERT_EQ(one.size(), size);
      ASSERT_EQ(two.size(), size * 2);
      const QImage shrunk = two.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      double off = 0;
      for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
          const QRgb a = one.pixel(x, y), b = shrunk.pixel(x, y);
          off += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                 std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
        }
      }
      EXPECT_LT(off / (4 * size.width() * size.height()), 8.0);
      ++checked;
    }
  }
  EXPECT_EQ(checked, kPictures);
  EXPECT_EQ(Argb(":/pictures/buttonface.jpg"), Argb(":/backgrounds/imgDefault.jpg"));
}

// Sample colours by column and by row of the field (negative rows count from its bottom).
TEST(Flags, AreSixteenColourGifsWithATransparentColourShowingTheirCountry) {
  const std::pair<const char*, std::vector<std::tuple<int, int, char>>> flags[] = {
      {"BEL", {{3, 10, 'k'}, {16, 10, 'y'}, {28, 10, 'r'}}},
      {"GER", {{16, 2, 'k'}, {16, 10, 'r'}, {16, -2, 'y'}}},
      {"FIN", {{2, 2, 'w'}, {11, 2, 'b'}, {26, 10, 'b'}, {26, -2, 'w'}}},
      {"FRA", {{3, 10, 'b'}, {16, 10, 'w'}, {28, 10, 'r'}}},
      {"GRI", {{20, 0, 'b'}, {20, 3, 'w'}, {20, -1, 'b'}, {2, 5, 'w'}, {5, 1, 'w'}}},
      {"IER", {{3, 10, 'g'}, {16, 10, 'w'}, {28, 10, 'o'}}},
      {"ITA", {{3, 10, 'g'}, {16, 10, 'w'}, {28, 10, 'r'}}},
      {"LUX", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'b'}}},
      {"NED", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'b'}}},
      {"ATS", {{16, 2, 'r'}, {16, 10, 'w'}, {16, -2, 'r'}}},
      {"POR", {{2, 2, 'g'}, {29, 2, 'r'}, {7, 9, 'y'}, {11, 8, 'w'}}},
      {"ESP", {{28, 1, 'r'}, {28, 10, 'y'}, {28, -1, 'r'}, {8, 5, 'w'}}}};
  for (const auto& [key, samples] : flags) {
    const QString path = QStringLiteral(":/flags/img%1.gif").arg(key);
    SCOPED_TRACE(path.toStdString());
    // A 16-colour global table, then a control extension naming a transparent index in it.
    const QByteArray gif = BytesOf(path);
    EXPECT_EQ(ByteAt(gif, 10) & 0x87, 0x83);
    EXPECT_TRUE(ByteAt(gif, 61) == 0x21 && ByteAt(gif, 62) == 0xF9 && (ByteAt(gif, 64) & 1));
    EXPECT_LT(ByteAt(gif, 67), 16);
    const QImage image = Argb(path);
    int first = -1, last = -1;  // the opaque field, transparent above and below
    for (int y = 0; y < 32; ++y) {
      if (qAlpha(image.pixel(16, y)) == 255) (first < 0 ? first : last) = y;
    }
    EXPECT_NEAR(last - first + 1, 21, 1);
    for (const auto& [x, row, expected] : samples) {
      EXPECT_EQ(ColourClass(image.pixel(x, row < 0 ? last + 1 + row : first + row)), expected)
          << x << "," << row;
    }
  }
}

TEST(Hand, TwoSixteenColourImagesOfAnOutlinedWhiteHandPointingAtItsHotSpot) {
  const QByteArray ico = BytesOf(":/pictures/hand.ico");
  QImageReader reader(":/pictures/hand.ico");
  ASSERT_EQ(reader.imageCount(), 2);
  for (const int entry : {6, 22}) {  // 16 colours, 4 bits a pixel
    EXPECT_EQ(ByteAt(ico, entry + 2), 16);
    EXPECT_EQ(ByteAt(ico, entry + 6), 4);
  }
  const QImage hand = reader.read().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(hand.size(), QSize(32, 32));
  const auto opaque = [&](int x, int y) { return hand.valid(x, y) && qAlpha(hand.pixel(x, y)); };
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      // Only black and white; white never touches the outside; nothing above the fingertip.
      if (!opaque(x, y)) continue;
      const QRgb c = hand.pixel(x, y);
      EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) << x << "," << y;
      if (c == qRgb(255, 255, 255)) {
        EXPECT_TRUE(opaque(x + 1, y) && opaque(x - 1, y) && opaque(x, y + 1) && opaque(x, y - 1));
      }
      EXPECT_GE(y, kestrova::assets::kHandHotspotY);
    }
  }
  EXPECT_EQ(hand.pixel(kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY),
            qRgb(0, 0, 0));
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
    for (QDirIterator it(made, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
      const QString name = QDir(made).relativeFilePath(it.next());
      EXPECT_TRUE(BytesOf(made + "/" + name) == BytesOf(committed + "/" + name))
          << name.toStdString();
      ++compared;
    }
  }
  EXPECT_EQ(compared, 2 * kPictures + 1 + 7);  // and the hand, and seven desktop icons
}
#endif

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
