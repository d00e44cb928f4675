// The main window on a screen of double density (QT_SCALE_FACTOR=2): the layout keeps its size in
// the window's own units while every picture comes from its @2x twin and reaches the screen one
// picture pixel to one screen pixel; the about window's hand pointer keeps its size.
#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "assets/hand_hotspot.h"

#include "settings/MemoryStore.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/frmabout.h"
#include "ui/widgets.h"

using namespace kestrova;

class HidpiTest : public QObject {
  Q_OBJECT

  // Whether `grabbed` shows `file` unscaled over the area, both in device pixels.
  static bool SameArea(const QImage& grabbed, QPoint at, const QString& file, QRect area) {
    const QImage picture = QImage(file).convertToFormat(QImage::Format_RGB32);
    const QImage shown = grabbed.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (shown.pixel(at.x() + x, at.y() + y) != picture.pixel(x, y)) return false;
    return true;
  }

 private slots:
  void picturesAreSharpAndTheLayoutKeepsItsSize() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    settings::MemoryStore store;
    settings::Registry::SetStore(&store);
    ui::frmMain window;
    QVERIFY(window.Form_Initialize());
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(204, 162));
    QCOMPARE(window.findChild<QWidget*>("Picture1")->geometry(), QRect(6, 6, 192, 149));

    QList<std::pair<QString, QPixmap>> pictures;
    for (const char* name : {"Picture1", "imgFlags", "imgEuro"})
      pictures.append({name, window.findChild<ui::ImageBox*>(name)->picture()});
    for (const char* name : {"cmdAbout", "cmdExit"})
      pictures.append({name, window.findChild<ui::PictureButton*>(name)->picture()});
    for (const char* key : {"imgBEL", "imgESP", "imgDefault", "imgFive", "imgFivehundred"})
      pictures.append({key, window.hiddenImage(key)->picture()});
    const QSize designed[] = {{200, 200}, {32, 32}, {32, 32},   {200, 200}, {200, 200},
                              {32, 32},   {32, 32}, {200, 200}, {192, 149}, {192, 149}};
    for (qsizetype i = 0; i < pictures.size(); ++i) {
      const auto& [name, picture] = pictures[i];
      QVERIFY2(picture.devicePixelRatio() == 2.0, qPrintable(name));
      QVERIFY2(picture.deviceIndependentSize() == QSizeF(designed[i]), qPrintable(name));
    }
    // The title bar's icon as well.
    const QPixmap icon = window.windowIcon().pixmap(QSize(32, 32));
    QCOMPARE(icon.size(), QSize(64, 64));
    QCOMPARE(icon.devicePixelRatio(), 2.0);
    // The flag on show is still the hidden image's own picture.
    QCOMPARE(pictures[1].second.cacheKey(), window.hiddenImage("imgBEL")->picture().cacheKey());

    // Shown unscaled: the flag's field, a bare corner of the background, and the button face cut
    // from its top left to the button's full width (the face starts inside a one-pixel border).
    const QImage flag = window.findChild<QWidget*>("imgFlags")->grab().toImage();
    QCOMPARE(flag.size(), QSize(64, 64));
    QVERIFY(SameArea(flag, {0, 0}, ":/flags/imgBEL@2x.gif", QRect(0, 12, 64, 40)));
    const QImage background = window.findChild<QWidget*>("Picture1")->grab().toImage();
    QVERIFY(
        SameArea(background, {0, 0}, ":/backgrounds/imgDefault@2x.jpg", QRect(356, 266, 24, 24)));
    const QImage button = window.findChild<QWidget*>("cmdAbout")->grab().toImage();
    QVERIFY(SameArea(button, {2, 2}, ":/pictures/buttonface@2x.jpg", QRect(2, 2, 24, 6)));
    QVERIFY(SameArea(button, {2, 2}, ":/pictures/buttonface@2x.jpg", QRect(118, 4, 20, 8)));

    settings::Registry::SetStore(nullptr);
  }

  // A pointer reaches the screen unscaled, hot spot and all: the hand over the link must come
  // doubled by whole pixels, pointing with the same fingertip.
  void theHandOverTheLinkKeepsItsSizeAndFingertip() {
    ui::frmabout about(nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    const QLabel* link = about.findChild<QLabel*>("lblurl");
    QTest::mouseMove(about.windowHandle(), QPoint(5, 5));
    QTest::mouseMove(about.windowHandle(),
                     link->geometry().topLeft() + QPoint(10, link->height() / 2));
    const QCursor cursor = about.windowHandle()->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    const QImage hand = about.findChild<QLabel*>("imghand")->pixmap().toImage();
    QCOMPARE(hand.size(), QSize(32, 32));
    QImage doubled = hand.scaled(64, 64);
    doubled.setDevicePixelRatio(2.0);
    QCOMPARE(cursor.pixmap().toImage(), doubled);
    QCOMPARE(cursor.hotSpot(), QPoint(2 * assets::kHandHotspotX, 2 * assets::kHandHotspotY));
  }
};

QTEST_MAIN(HidpiTest)
#include "hidpi_test.moc"
