#pragma once

#include <QByteArrayList>
#include <QPixmap>
#include <QString>

#include <functional>
#include <optional>

namespace kestrova::ui {

class StartupReport;

// Reads the window's pictures from under one root (flags/, backgrounds/, pictures/). On a dense
// screen a picture comes from its name@2x twin when there is one, at the same size in the
// window's units, so nothing is blown up. What is missing or cannot be read goes to the report;
// the picture is then none.
class PictureLoader {
 public:
  // Reports at once each of the formats the pictures need that `formats` lacks.
  PictureLoader(QString root, const QByteArrayList& formats, StartupReport& report);

  QPixmap load(const QString& relative);
  // The same checks from the file's header alone; the picture is decoded when first asked for.
  std::function<QPixmap()> loadLater(const QString& relative);

 private:
  std::optional<QString> find(const QString& relative);

  QString root_;
  StartupReport& report_;
  bool dense_;
};

}  // namespace kestrova::ui
