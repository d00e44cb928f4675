#include "ui/startup.h"

namespace kestrova::ui {

QString StartupErrorText(int number, const QString& description) {
  QString advice;
  switch (number) {
    case kErrorComponentMissing:
      advice = QStringLiteral("Re-install the program to fix this.");
      break;
    case kErrorComponentFailed:
      advice = QStringLiteral(
          "Re-install the program to fix this, or get the latest Dornakits at Quillmere.");
      break;
    default: advice = QStringLiteral("Please inform the author with the error description above.");
  }
  const QString numberText =
      number < 0 ? QString::number(number) : QStringLiteral(" %1").arg(number);
  return QStringLiteral("An Error was generated:\r\nDescription: Error") + numberText +
         QStringLiteral(" - ") + description + QStringLiteral("\r\n\r\n") + advice;
}

void StartupReport::fail(int number, const QString& description) {
  if (!first_) first_ = {number, description};
}

void StartupReport::show() const {
  if (!first_) return;
  platform::ShowMessage(nullptr, {StartupErrorText(first_->first, first_->second),
                                  QStringLiteral("Error"), platform::MessageIcon::None});
}

}  // namespace kestrova::ui
