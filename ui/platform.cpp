#include "ui/platform.h"

#include <private/qguiapplication_p.h>
#include <qpa/qplatformintegration.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSocketNotifier>

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

#include "ui/units.h"

namespace kestrova::ui::platform {

namespace {
std::function<void(const MessageRequest&)>& Hook() {
  static std::function<void(const MessageRequest&)> hook;
  return hook;
}
}  // namespace

void SetMessageHook(std::function<void(const MessageRequest&)> hook) { Hook() = std::move(hook); }

void ShowMessage(QWidget* parent, const MessageRequest& request) {
  if (Hook()) {
    Hook()(request);
    return;
  }
  QMessageBox box(
      request.icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
      request.caption, request.text, QMessageBox::Ok, parent);
  box.exec();
}

QSize ScreenSizeTwips() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize pixels = screen ? screen->geometry().size() : QSize(0, 0);
  return pixels * kTwipsPerPixel;
}

bool KnowsWindowPlace() {
  // Qt has no capability of its own for it. Taking a window's picture off the screen needs the
  // window's place on it, so a platform that can do that knows it: Qt 6.4's xcb and offscreen
  // platforms say they can, its wayland platform says it cannot.
  const QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration();
  return integration && integration->hasCapability(QPlatformIntegration::ScreenWindowGrabbing);
}

#ifdef _WIN32
// Windows has no such signals; a logoff or shutdown reaches the window as Qt's commitDataRequest.
void InstallQuitSignals(std::function<void()>) {}
#else
namespace {
int g_signalPipe[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
  errno = saved;
}
}  // namespace

void InstallQuitSignals(std::function<void()> onQuit) {
  if (g_signalPipe[0] < 0 &&
      ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
    return;
  auto* notifier =
      new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onQuit = std::move(onQuit)] {
    char byte = 0;
    [[maybe_unused]] const auto got = ::read(g_signalPipe[0], &byte, 1);
    onQuit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}
#endif

}  // namespace kestrova::ui::platform
