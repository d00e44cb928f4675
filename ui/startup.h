#pragma once

#include <QByteArrayList>
#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

#include "ui/platform.h"

namespace kestrova::ui {

// What start-up needs from outside the window; tests replace parts of it.
struct StartupEnvironment {
  using Instance = platform::SingleInstance::State;
  struct InstanceResult {
    Instance state = Instance::First;
    int errorNumber = 0;
    QString errorDescription;
  };
  std::function<InstanceResult()> checkInstance;  // empty: always the first copy
  QString pictureRoot = QStringLiteral(":");      // where flags/, backgrounds/, pictures/ are
  std::function<QByteArrayList()> imageFormats;   // empty: what Qt can read
  std::function<bool()> knowsWindowPlace;         // empty: what the platform says
};

// Error numbers of the start-up report: a required part is missing / a part fails to load.
inline constexpr int kErrorComponentMissing = 339;
inline constexpr int kErrorComponentFailed = 50003;

// The text of the start-up error report.
QString StartupErrorText(int number, const QString& description);

// Start-up's failures: only the first is reported, in one box, and start-up goes on.
class StartupReport {
  Q_DECLARE_TR_FUNCTIONS(StartupReport)

 public:
  void fail(int number, const QString& description);
  void show() const;

 private:
  std::optional<std::pair<int, QString>> first_;
};

}  // namespace kestrova::ui
