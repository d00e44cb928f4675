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

// What the windows expect of each picture they load: its format and size.
std::pair<QByteArray, QSize> Expected(const QString& path) {
  if (path.startsWith(":/flags/")) return {"gif", {32, 32}};
  if (path.endsWith(".ico")) return {"ico", {32, 32}};
  if (path.contains("imgDefault") || path.contains("buttonface")) return {"jpeg", {200, 200}};
  return {"jpeg", {192, 149}};
}

// Each also has a twin of double size for dense screens; a flag is a GIF with a 16-colour table
// and one transparent colour in it.
TEST(Pictures, HaveTheirFormatSizeAndATwinForDenseScreens) {
  int checked = 0;
  for (const char* folder : {":/flags", ":/backgrounds", ":/pictures"}) {
    for (QDirIterator it(folder, QDir::Files); it.hasNext();) {
      const QString path = it.next();
      if (path.contains('@') || path.endsWith("hand.ico")) continue;
      SCOPED_TRACE(path.toStdString());
      const auto [format, size] = Expected(path);
      const QString twin = QString(path).insert(path.lastIndexOf('.'), "@2x");
      EXPECT_EQ(QImageReader(path).format(), format);
      EXPECT_EQ(QImageReader(twin).format(), format);
      EXPECT_EQ(QImage(path).size(), size);
      EXPECT_EQ(QImage(twin).size(), size * 2);
      if (format == "gif") {  // the global table, then a control extension naming the colour
        const QByteArray gif = BytesOf(path);
        EXPECT_EQ(ByteAt(gif, 10) & 0x87, 0x83);
        EXPECT_TRUE(ByteAt(gif, 61) == 0x21 && ByteAt(gif, 62) == 0xF9 && (ByteAt(gif, 64) & 1));
        EXPECT_LT(ByteAt(gif, 67), 16);
      }
      ++checked;
    }
  }
  EXPECT_EQ(checked, kPictures);
}

// The pointer's icon holds a large and a small 16-colour image; the large one's hot spot is the
// fingertip: black, with nothing of the hand above it.
TEST(Hand, TwoSixteenColourImagesWhoseHotSpotIsTheFingertip) {
  const QByteArray ico = BytesOf(":/pictures/hand.ico");
  QImageReader reader(":/pictures/hand.ico");
  ASSERT_EQ(reader.imageCount(), 2);
  for (const int entry : {6, 22}) {  // 16 colours, 4 bits a pixel
    EXPECT_EQ(ByteAt(ico, entry + 2), 16) << entry;
    EXPECT_EQ(ByteAt(ico, entry + 6), 4) << entry;
  }
  const QImage hand = reader.read().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(hand.size(), QSize(32, 32));
  using kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY;
  EXPECT_EQ(hand.pixel(kHandHotspotX, kHandHotspotY), qRgb(0, 0, 0));
  for (int y = 0; y < kHandHotspotY; ++y) {
    for (int x = 0; x < 32; ++x) EXPECT_EQ(qAlpha(hand.pixel(x, y)), 0) << x << "," << y;
  }
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
