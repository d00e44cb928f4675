// The about window offscreen, its clock and browser replaced; the pointer also at double density.
#include <QtTest>
#include <QtWidgets>

#include "assets/hand_hotspot.h"
#include "kestrova/version.h"
#include "ui/frmabout.h"

using kestrova::ui::frmabout;

class FrmAboutTest : public QObject {
  Q_OBJECT
  QWidget main_;
  int year_ = 0;
  QStringList opened_;  // what the link opened, and how things stood then

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
    frmabout::SetYearClock([this] { return year_; });
    frmabout::SetUrlOpener([this](const QUrl& url) {
      opened_ << url.toString() + (main_.isMinimized() ? " minimised" : "") +
                     (QApplication::activeModalWidget() ? " shown" : "");
      return year_ > 2040;  // whether a browser came up
    });
  }

  // The version, the year of each opening and the homepage, which fits the window; Esc does
  // nothing; the link minimises the main window, opens the homepage and closes, whether a
  // browser came up or not.
  void textsKeysAndTheLink() {
    for (int year : {2031, 2044}) {
      year_ = year;
      main_.showNormal();
      opened_.clear();
      showAbout([&](frmabout* about, QLabel* link) {
        const auto text = [about](const char* name) { return about->findChild<QLabel*>(name); };
        QCOMPARE(text("lblversion")->text(), "Version " + QString(kestrova::kVersionText));
        QCOMPARE(text("lblcopyright")->text(), "\u00A9 2002-" + QString::number(year));
        QCOMPARE(link->text(), QString(kestrova::kHomepage));
        QVERIFY(link->fontMetrics().horizontalAdvance(link->text()) < about->width() - 48);
        QTest::keySequence(about->focusWidget(), QKeySequence(QStringLiteral("Esc")));
        const QPoint at = link->geometry().topLeft() + QPoint(5, 5);
        QTest::mouseClick(about->windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseClick(about->windowHandle(), Qt::LeftButton, {}, at + QPoint(0, -14));
        QVERIFY(about->isVisible() && opened_.empty());
        QTest::mouseClick(about->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(!about->isVisible() && main_.isMinimized());
      });
      QVERIFY2(opened_ == QStringList(QString(kestrova::kHomepage) + " minimised shown"),
               qPrintable(QString::number(year) + ": " + opened_.join(", ")));
    }
  }

  // A pointer reaches the screen unscaled: on a dense screen the hand is doubled by whole
  // pixels, with its fingertip.
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
      QCOMPARE(window->cursor().hotSpot(),
               QPoint(kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY) * ratio);
    });
  }
};

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
