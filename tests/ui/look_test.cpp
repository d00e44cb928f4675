// The two windows as a person first sees them, against pictures of how they should look: a box
// of the wrong size, a missing picture, a colour or a font shows at once. The main window also at
// double density (every picture its sharp twin). KESTROVA_REWRITE_LOOK=1 rewrites look/*.png.
#include <QtTest>
#include <QtWidgets>

#include "settings/MemoryStore.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/frmabout.h"

using namespace kestrova;

class LookTest : public QObject {
  Q_OBJECT
  // Counts the pixels off by more than the faintest shade (a colour moved by 16 is off), and lets
  // 0.2% of them be: a font renderer of another version may move a few along the letters' edges.
  static void compare(QWidget* window, const QString& name) {
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString file = QStringLiteral(KESTROVA_LOOK_DIR "/%1%2.png")
                             .arg(name, window->devicePixelRatio() > 1 ? "@2x" : "");
    if (qEnvironmentVariableIsSet("KESTROVA_REWRITE_LOOK")) QVERIFY(shown.save(file));
    const QImage reference = QImage(file).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), reference.size());
    int off = 0;
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
        off += std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                         qAbs(qBlue(a) - qBlue(b))}) > 8;
      }
    }
    const int allowed = shown.width() * shown.height() / 500;
    if (off > allowed) shown.save(name + "-shown.png");  // beside the test, to look at
    QVERIFY2(off <= allowed, qPrintable(QString::number(off) + " pixels differ"));
  }

 private slots:
  void firstRun() {
    static settings::MemoryStore store;  // nothing stored: a first run
    settings::Registry::SetStore(&store);
    QApplication::setCursorFlashTime(0);  // the caret shows, whenever the picture is taken
    ui::frmMain window;
    QVERIFY(window.Form_Initialize());
    window.Form_Load();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    compare(&window, QStringLiteral("frmMain"));
  }

  void about() {
    QWidget owner;
    ui::frmabout::SetYearClock([] { return 2031; });
    ui::frmabout about(&owner);
    // The version and the homepage come from the build; these keep one picture for every build.
    about.findChild<QLabel*>("lblversion")->setText(QStringLiteral("Version 2.0.3"));
    QLabel* link = about.findChild<QLabel*>("lblurl");
    link->setText(QStringLiteral("https://www.quillmere.example/kestrova"));
    link->adjustSize();
    about.show();
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    compare(&about, QStringLiteral("frmabout"));
  }
};

QTEST_MAIN(LookTest)
#include "look_test.moc"
