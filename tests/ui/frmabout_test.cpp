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

  // The texts top to bottom, each whole within the window's margins, the year of each opening;
  // Esc does nothing; the link minimises the main window, opens the homepage and closes,
  // whether a browser came up or not.
  void textsKeysAndTheLink() {
    for (int year : {2031, 2044}) {
      year_ = year;
      main_.showNormal();
      opened_.clear();
      showAbout([&](frmabout* about, QLabel* link) {
        QList<QLabel*> lines = about->findChildren<QLabel*>();
        std::sort(lines.begin(), lines.end(), [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
        QStringList seen;
        for (const QLabel* line : lines) {
          if (line->text().isEmpty()) continue;  // the hand's picture
          seen << line->objectName() + '=' + line->text();
          QVERIFY(line->accessibleName() == line->text() && line->x() == 24);
          QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) < about->width() - 48);
        }
        QCOMPARE(seen.join('|'),
                 QStringLiteral("lblprogtitle=Kestrova|lblversion=Version %1|"
                                "lblcopyright=\u00A9 2002-%2|lblcopyright2=Venstrup|"
                                "lbltext1=Kestrova is freeware.|lbltext2=Copy it and pass it on "
                                "freely.|lbltext3=Play and enjoy!|lbltext4=For updates and other "
                                "freeware,|lbltext5=Visit my homepage at|lblurl=%3")
                     .arg(kestrova::kVersionText, QString::number(year), kestrova::kHomepage));
        QTest::keySequence(about->focusWidget(), QKeySequence(QStringLiteral("Esc")));
        const QPoint at = link->geometry().topLeft() + QPoint(5, 5);
        QTest::mouseClick(about->windowHandle(), Qt::RightButton, {}, at);
        QTest::mouseClick(about->windowHandle(), Qt::LeftButton, {}, at + QPoint(0, -14));
        QVERIFY(about->isVisible() && opened_.empty());
        QTest::mouseClick(about->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(!about->isVisible() && main_.isMinimized());
      });
      QCOMPARE(opened_, QStringList(QString(kestrova::kHomepage) + " minimised shown"));
    }
  }

  // A pointer reaches the screen unscaled: on a dense screen the hand is doubled by whole
  // pixels, with its fingertip.
  void thePointerIsTheHandOverTheLinkOnly() {
    showAbout([&](frmabout* about, QLabel* link) {
      QWindow* window = about->windowHandle();
      for (int pass : {1, 2}) {  // the hand made once serves again
        QTest::mouseMove(window, link->geometry().topLeft() - QPoint(0, 10));
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(window, link->geometry().topLeft() + QPoint(10, link->height() / 2));
        const int ratio = int(about->devicePixelRatio());
        QImage hand = about->findChild<QLabel*>("imghand")->pixmap().toImage();
        hand = hand.scaled(hand.size() * ratio);
        hand.setDevicePixelRatio(ratio);
        QCOMPARE(hand.width(), 32 * ratio);  // the icon's large image
        QVERIFY2(window->cursor().pixmap().toImage() == hand, QByteArray::number(pass));
        QCOMPARE(window->cursor().hotSpot(),
                 QPoint(kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY) * ratio);
      }
    });
  }

  // The etched separators, each a dark line with its highlight right below; the hand's holder is
  // its picture's size and shows no more than its top row, at the bottom of the window.
  void separatorsAndTheHandsHolder() {
    showAbout([&](frmabout* about, QLabel*) {
      const auto at = [about](const char* name) {
        return about->findChild<QWidget*>(name)->geometry();
      };
      for (auto [dark, light] :
           {std::pair{"Line1", "Line2"}, {"Line5", "Line2"}, {"Line4", "Line3"}})
        QCOMPARE(at(light), QRect(at(dark).left(), at(dark).bottom() + 1, at(dark).width(), 2));
      const QLabel* hand = about->findChild<QLabel*>("imghand");
      QCOMPARE(hand->size(), hand->pixmap().deviceIndependentSize().toSize());
      QCOMPARE(hand->y(), about->height() - 1);
    });
  }
};

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
