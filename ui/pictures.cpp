#include "ui/pictures.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <utility>

#include "ui/startup.h"

namespace kestrova::ui {

namespace {

// Not QPixmap::load: its cache would hand two loads of one file the same picture, and the
// window tells its pictures apart by identity.
QPixmap LoadPicture(const QString& path, bool dense) {
  if (dense) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    QImage sharp(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
    if (!sharp.isNull()) {
      sharp.setDevicePixelRatio(2.0);
      return QPixmap::fromImage(sharp);
    }
  }
  return QPixmap::fromImage(QImage(path));
}

QString Undecodable(const QString& relative) {
  return StartupReport::tr("Unexpected error loading %1").arg(relative);
}

}  // namespace

PictureLoader::PictureLoader(QString root, const QByteArrayList& formats, StartupReport& report)
    : root_(std::move(root)), report_(report), dense_(qApp->devicePixelRatio() > 1.0) {
  for (const char* format : {"gif", "jpeg", "ico"}) {
    if (!formats.contains(format)) {
      report_.fail(
          kErrorComponentMissing,
          StartupReport::tr("Component '%1 image support' or one of its dependencies is missing")
              .arg(QString::fromLatin1(format).toUpper()));
    }
  }
}

std::optional<QString> PictureLoader::find(const QString& relative) {
  const QString path = root_ + QLatin1Char('/') + relative;
  if (QFile::exists(path)) return path;
  report_.fail(kErrorComponentMissing, StartupReport::tr("File not found: %1").arg(relative));
  return std::nullopt;
}

QPixmap PictureLoader::load(const QString& relative) {
  QPixmap picture;
  if (const auto path = find(relative)) {
    picture = LoadPicture(*path, dense_);
    if (picture.isNull()) report_.fail(kErrorComponentFailed, Undecodable(relative));
  }
  return picture;
}

std::function<QPixmap()> PictureLoader::loadLater(const QString& relative) {
  const auto path = find(relative);
  if (!path) return {};
  if (QImageReader header(*path); !header.canRead() || !header.size().isValid()) {
    report_.fail(kErrorComponentFailed, Undecodable(relative));
    return {};
  }
  return [path = *path, dense = dense_] { return LoadPicture(path, dense); };
}

}  // namespace kestrova::ui
