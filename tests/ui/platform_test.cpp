// The single running copy, the lock's path and ending on a signal.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "ui/platform.h"

using kestrova::ui::platform::SingleInstance;
using State = SingleInstance::State;

class PlatformTest : public QObject {
  Q_OBJECT

 private slots:
  void oneCopyAtATime() {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Kestrova.lock")).toStdString();
    SingleInstance first;
    SingleInstance second;
    QCOMPARE(first.Acquire(path), State::First);
    QCOMPARE(second.Acquire(path), State::AlreadyRunning);
    first.Release();
    QCOMPARE(second.Acquire(path), State::First);
    QCOMPARE(QFile::permissions(QString::fromStdString(path)) & QFileDevice::ReadOther,
             QFileDevice::Permissions());

    // What the lock file holds does not matter: nothing in it is trusted.
    second.Release();
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(QCoreApplication::applicationPid()) + "\nsomeone\n");
    file.close();
    QCOMPARE(first.Acquire(path), State::First);

    SingleInstance nowhere;
    QCOMPARE(nowhere.Acquire(dir.filePath(QStringLiteral("missing/Kestrova.lock")).toStdString()),
             State::Failed);
    QCOMPARE(nowhere.errorNumber(), ENOENT);
    QVERIFY(!nowhere.errorText().empty());
  }

  void aDeadCopyLeavesNoLockBehind() {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Kestrova.lock")).toStdString();
    const pid_t child = ::fork();
    if (child == 0) {
      const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
      ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);  // dies holding it
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QVERIFY(QFile::exists(QString::fromStdString(path)));
    SingleInstance next;
    QCOMPARE(next.Acquire(path), State::First);
  }

  void programsStartedFromKestrovaDoNotHoldTheLock() {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Kestrova.lock")).toStdString();
    SingleInstance running;
    QCOMPARE(running.Acquire(path), State::First);
    QProcess browser;  // stands for anything the about window's link starts
    browser.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    QVERIFY(browser.waitForStarted());
    running.Release();
    SingleInstance next;
    QCOMPARE(next.Acquire(path), State::First);
    browser.kill();
    browser.waitForFinished();
  }

  void lockLivesInTheRuntimeFolderOrBesideTheSettings() {
    QTemporaryDir dir;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toUtf8());
    QCOMPARE(QString::fromStdString(SingleInstance::DefaultLockPath()),
             dir.filePath(QStringLiteral("run/Kestrova.lock")));
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const std::string path = SingleInstance::DefaultLockPath();
    QCOMPARE(QString::fromStdString(path),
             dir.filePath(QStringLiteral("config/Quillmere/Kestrova.lock")));
    SingleInstance instance;
    QCOMPARE(instance.Acquire(path), State::First);
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CONFIG_HOME", config);
  }

  void signalsCloseFromTheEventLoop() {
    int calls = 0;
    kestrova::ui::platform::InstallQuitSignals([&calls] { ++calls; });
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
      const int before = calls;
      ::raise(signal);
      QCOMPARE(calls, before);  // never inside the handler
      QTRY_COMPARE(calls, before + 1);
    }
  }
};

QTEST_GUILESS_MAIN(PlatformTest)
#include "platform_test.moc"
