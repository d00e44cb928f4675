// The committed pictures as the program reads them from its resources.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "core/currency.h"
#include "ui/backgrounds.h"

namespace {

// Every flag and background, and the button face, the European flag and the window icon.
constexpr int kPictures = kestrova::core::kCountryCount + std::size(kestrova::ui::kBackgrounds) + 3;

QByteArray BytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the windows expect of each picture they load: its format and size.
std::pair<QByteArray, QSize> Expected(const QString& path) {
  if (path.startsWith(":/flags/")) return {"gif", {32, 32}};
  if (path.endsWith(".ico")) return {"ico", {32, 32}};
  if (path.contains("imgDefault") || path.contains("buttonface")) return {"jpeg", {200, 200}};
  return {"jpeg", {192, 149}};
}

// Each also has a twin of double size for dense screens.
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
      ++checked;
    }
  }
  EXPECT_EQ(checked, kPictures);
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
