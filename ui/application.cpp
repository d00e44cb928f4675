#include "ui/application.h"

#include <QApplication>
#include <QLocale>
#include <QSessionManager>

#include <cstdlib>

#include "settings/Registry.h"
#include "settings/UserStore.h"
#include "ui/frmMain.h"
#include "ui/language.h"
#include "ui/platform.h"

namespace kestrova::ui {

int Run(int argc, char** argv) {
  // No command line: Qt's own options (-style, -geometry, -platform, …) are not passed on either.
  int qtArgc = argc > 0 ? 1 : 0;
  char* qtArgv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
  QApplication app(qtArgc, qtArgv);
  QApplication::setApplicationName(QStringLiteral("Kestrova"));
  QApplication::setOrganizationName(QStringLiteral("Quillmere"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quillmere.Kestrova"));
  // The desktop's language, before anything is shown; there is no setting of its own.
  UseLanguage(ChooseLanguage(QLocale::system().uiLanguages()));

  platform::SingleInstance instance;
  frmMain window;
  StartupEnvironment environment;
  environment.checkInstance = [&instance] {
    StartupEnvironment::InstanceResult result;
    result.state = instance.Acquire(platform::SingleInstance::DefaultLockPath());
    result.errorNumber = instance.errorNumber();
    result.errorDescription = QString::fromLocal8Bit(instance.errorText().c_str());
    return result;
  };
  // A refused copy ends at once: it has touched nothing, and Qt 6.4's Wayland client can hang
  // taking its connection down on a loaded machine, which would leave the copy behind.
  if (!window.Form_Initialize(environment)) std::_Exit(0);
  QApplication::setWindowIcon(window.windowIcon());

  const auto store = settings::OpenUserStore();
  settings::Registry::SetStore(store.get());
  settings::Registry::SetMessageCallback([&window](const std::string& text) {
    platform::ShowMessage(&window, {QString::fromStdString(text), QStringLiteral("Kestrova"),
                                    platform::MessageIcon::None});
  });

  window.setEndsProgram(true);
  window.Form_Load();
  window.show();

  // Logging out and the usual termination signals close the window like its close box.
  QObject::connect(
      &app, &QGuiApplication::commitDataRequest, &window,
      [&window](QSessionManager&) { window.close(); }, Qt::DirectConnection);
  platform::InstallQuitSignals([&window] { window.close(); });

  const int code = QApplication::exec();
  settings::Registry::SetStore(nullptr);
  return code;
}

}  // namespace kestrova::ui
