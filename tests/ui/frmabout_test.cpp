// The about window offscreen, its browser replaced; the pointer also at double density.
#include <QtTest>
#include <QtWidgets>

#include "assets/hand_hotspot.h"
#include "kestrova/version.h"
#include "ui/frmabout.h"

using kestrova::ui::frmabout;

class FrmAboutTest : public QObject {
  Q_OBJECT
  QWidget main_;
  // What the link opened, whether the main window was minimised then and the about window up.
  QList<std::tuple<QString, bool, bool>> opened_;

  // Opens the window as the About button does, runs `check` while it is up, then closes it.
  void showAbout(const std::function<void(frmabout*, QLabel* link)>& check) {
    QTimer::singleShot(0, this, [&] {
      auto* about = qobject_cast<frmabout*>(QApplication::activeModalWidget());
      QVERIFY(about && QTest::qWaitForWindowActive(about));
      check(about, about->findChild<QLabel*>("lblurl"));
      if (about->isVisible()) about->close();
    });
    kestrova::ui::ShowAbout(&main_);
  }

 private slots:
  void initTestCase() {
    main_.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main_));
    frmabout::SetUrlOpener([this](const QUrl& url) {
      opened_ << std::tuple{url.toString(), main_.isMinimized(),
                            bool(QApplication::activeModalWidget())};
      return false;  // no browser came up
    });
  }

  // The build's version and homepage (the reference picture fixes both); Esc and a right click
  // do nothing; the link minimises the main window, opens the homepage and closes, browser or not.
  void textsKeysAndTheLink() {
    showAbout([&](frmabout* about, QLabel* link) {
      QCOMPARE(about->findChild<QLabel*>("lblversion")->text(),
               "Version " + QString(kestrova::kVersionText));
      QCOMPARE(link->text(), QString(kestrova::kHomepage));
      QTest::keySequence(about->focusWidget(), QKeySequence(QStringLiteral("Esc")));
      const QPoint at = link->geometry().topLeft() + QPoint(5, 5);
      QTest::mouseClick(about->windowHandle(), Qt::RightButton, {}, at);
      QVERIFY(about->isVisible() && opened_.empty());
      QTest::mouseClick(about->windowHandle(), Qt::LeftButton, {}, at);
      QVERIFY(!about->isVisible() && main_.isMinimized());
    });
    QVERIFY(opened_ == (QList{std::tuple{QString(kestrova::kHomepage), true, true}}));
  }

  // A pointer reaches the screen unscaled: on a dense screen the hand is doubled by whole
  // pixels, with its fingertip, a black pixel, as the hot spot.
  void thePointerIsTheHandOverTheLinkOnly() {
    showAbout([&](frmabout* about, QLabel* link) {
      QWindow* window = about->windowHandle();
      QTest::mouseMove(window, link->geometry().topLeft() - QPoint(0, 10));
      QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
      QTest::mouseMove(window, link->geometry().topLeft() + QPoint(10, link->height() / 2));
      const int ratio = int(about->devicePixelRatio());
      QImage hand = about->findChild<QLabel*>("imghand")->pixmap().toImage();
      hand = hand.scaled(hand.size() * ratio);
      hand.setDevicePixelRatio(ratio);
      QCOMPARE(hand.width(), 32 * ratio);  // the icon's large image
      QVERIFY(window->cursor().pixmap().toImage() == hand);
      const QPoint fingertip(kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY);
      QCOMPARE(window->cursor().hotSpot(), fingertip * ratio);
      QCOMPARE(hand.pixel(fingertip * ratio), qRgb(0, 0, 0));
    });
  }
};

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
