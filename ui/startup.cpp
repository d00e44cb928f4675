#include "ui/startup.h"

namespace kestrova::ui {

QString StartupErrorText(int number, const QString& description) {
  QString advice;
  switch (number) {
    case kErrorComponentMissing:
      advice = StartupReport::tr("Re-install the program to fix this.");
      break;
    case kErrorComponentFailed:
      advice = StartupReport::tr(
          "Re-install the program to fix this, or get the latest Dornakits at Quillmere.");
      break;
    default:
      advice = StartupReport::tr("Please inform the author with the error description above.");
  }
  const QString numberText =
      number < 0 ? QString::number(number) : QStringLiteral(" %1").arg(number);
  return StartupReport::tr("An Error was generated:") + QStringLiteral("\r\n") +
         StartupReport::tr("Description: Error") + numberText + QStringLiteral(" - ") +
         description + QStringLiteral("\r\n\r\n") + advice;
}

void StartupReport::fail(int number, const QString& description) {
  if (!first_) first_ = {number, description};
}

void StartupReport::show() const {
  if (!first_) return;
  platform::ShowMessage(nullptr, {StartupErrorText(first_->first, first_->second), tr("Error"),
                                  platform::MessageIcon::None});
}

}  // namespace kestrova::ui
