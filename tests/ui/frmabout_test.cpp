#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "assets/hand_hotspot.h"
#include "kestrova/version.h"
#include "ui/frmabout.h"
#include "ui/units.h"

namespace assets = kestrova::assets;
using kestrova::ui::frmabout;

namespace {

const QString kUrl = QStringLiteral("https://www.quillmere.example/kestrova");

QLabel* Label(QWidget* dlg, const char* name) {
  auto* label = dlg->findChild<QLabel*>(QString::fromLatin1(name));
  if (!label) qFatal("no label %s", name);
  return label;
}

QPushButton* Ok(QWidget* dlg) { return dlg->findChild<QPushButton*>(QStringLiteral("cmdok")); }

// How many pixels of a region pass a test.
template <typename Test>
int Count(const QImage& image, QRect region, Test test) {
  int n = 0;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

}  // namespace

class FrmAboutTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> main_;
  int year_ = 2031;
  bool openerResult_ = true;
  QStringList opened_;  // what the opener got, and how things stood then
  QPointer<frmabout> shown_;

  frmabout* OpenShown() {
    shown_ = new frmabout(main_.get());
    shown_->show();
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == shown_; }))
      qWarning("never active");
    return shown_;
  }

 private slots:
  void init() {
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(120, 90, 330, 220);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    opened_.clear();
    frmabout::SetYearClock([this] { return year_; });
    frmabout::SetUrlOpener([this](const QUrl& url) {
      opened_ << url.toString() + (main_->isMinimized() ? " minimised" : "") +
                     (shown_ && shown_->isVisible() ? " shown" : "");
      return openerResult_;
    });
  }

  void cleanup() {
    delete shown_.data();
    main_.reset();
    frmabout::SetYearClock({});
    frmabout::SetUrlOpener({});
  }

  void textsPlacesAndLooks() {
    year_ = 2031;
    frmabout dlg(main_.get());
    const std::pair<const char*, QString> texts[] = {
        {"lblprogtitle", "Kestrova"},
        {"lblversion", QString("Version ") + kestrova::kVersionText},
        {"lblcopyright", "\u00A9 2002-2031"},
        {"lblcopyright2", "Venstrup"},
        {"lbltext1", "Kestrova is freeware."},
        {"lbltext2", "Copy it and pass it on freely."},
        {"lbltext3", "Play and enjoy!"},
        {"lbltext4", "For updates and other freeware,"},
        {"lbltext5", "Visit my homepage at"},
        {"lblurl", kUrl},
    };
    for (const auto& [name, text] : texts) {  // also there for assistive tools
      QCOMPARE(Label(&dlg, name)->text(), text);
      QCOMPARE(Label(&dlg, name)->accessibleName(), text);
    }
    QVERIFY(Ok(&dlg)->text() == "&Ok" && !Ok(&dlg)->accessibleName().isEmpty());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About"));

    QVERIFY(dlg.size() == QSize(220, 293) && dlg.minimumSize() == dlg.maximumSize());
    for (const auto& [name, place] :
         {std::pair{"cmdok", QRect(24, 240, 106, 26)},
          {"lblprogtitle", QRect(24, 23, 245, 22)},
          {"lblcopyright2", QRect(24, 76, 172, 16)},
          {"imghand", QRect(107, 292, 32, 32)}})  // one pixel row inside
      QCOMPARE(dlg.findChild<QWidget*>(name)->geometry(), place);
    QCOMPARE(Label(&dlg, "lblprogtitle")->font(), kestrova::ui::SansFont(13.5));
    QCOMPARE(Label(&dlg, "lblversion")->font(), kestrova::ui::SansFont(9.75, true));
    for (const char* name : {"lblcopyright", "lbltext5"})
      QCOMPARE(Label(&dlg, name)->font(), kestrova::ui::SansFont(8.25));
    // Auto-sized labels hold their whole text inside the window's margins; the address may
    // narrow its font for that, but not below 6 pt.
    for (const auto& [name, top] : {std::pair{"lblurl", 207},
                                    {"lbltext2", 126},
                                    {"lbltext4", 180},
                                    {"lbltext5", 193},
                                    {"lblcopyright", 62}}) {
      QLabel* label = Label(&dlg, name);
      QCOMPARE(label->pos(), QPoint(24, top));
      QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), name);
      QVERIFY2(label->geometry().right() < dlg.width() - 24, name);
    }
    const qreal urlPoints = Label(&dlg, "lblurl")->font().pointSizeF();
    QVERIFY(urlPoints >= 6.0 && urlPoints <= 8.25);

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QImage shot = dlg.grab().toImage();
    const QColor dark(0x40, 0x00, 0x40), light = dlg.palette().color(QPalette::Light);
    const QColor base = dlg.palette().color(QPalette::Base);
    const auto is = [](QColor wanted) {
      return [wanted](QColor c) { return c.rgb() == wanted.rgb(); };
    };
    const auto etched = [&](QColor c) { return is(dark)(c) || is(light)(c); };
    // Two etched separators: a dark line over two rows of highlight, and nothing of either around.
    for (int top : {103, 161}) {
      QCOMPARE(Count(shot, QRect(24, top, 175, 1), is(dark)), 175);
      QCOMPARE(Count(shot, QRect(24, top + 1, 175, 2), is(light)), 350);
      QCOMPARE(Count(shot, QRect(23, top - 1, 177, 5), etched), 525);
    }
    // Only the "updates" line paints its background (the window background); only the link is blue.
    const QRect updates = Label(&dlg, "lbltext4")->geometry(),
                visit = Label(&dlg, "lbltext5")->geometry();
    QVERIFY(base != dlg.palette().color(QPalette::Window));
    QVERIFY(Count(shot, updates, is(base)) > updates.width() * updates.height() / 2);
    const auto blueish = [](QColor c) {
      return c.blue() > c.red() + 60 && c.blue() > c.green() + 60;
    };
    QVERIFY(Count(shot, Label(&dlg, "lblurl")->geometry(), blueish) > 30);
    QCOMPARE(Count(shot, visit, is(base)) + Count(shot, visit, blueish), 0);
  }

  void showAboutIsAModalToolWindowTakingTheYearEachTime() {
    auto* mainButton = new QPushButton(QStringLiteral("Elsewhere"), main_.get());
    mainButton->setGeometry(10, 10, 80, 24);
    mainButton->show();
    QSignalSpy mainClicks(mainButton, &QPushButton::clicked);
    QTimer guard;  // never hang in the modal loop should the window not react
    connect(&guard, &QTimer::timeout, this, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    for (int year : {2044, 2045}) {
      year_ = year;
      QPointer<frmabout> seen;
      bool checked = false;
      QTimer::singleShot(0, this, [&] {
        seen = qobject_cast<frmabout*>(QApplication::activeModalWidget());
        QVERIFY(seen);
        QVERIFY(QTest::qWaitForWindowActive(seen));
        QCOMPARE(Label(seen, "lblcopyright")->text(), QString("\u00A9 2002-%1").arg(year));
        QCOMPARE(seen->windowType(), Qt::Tool);  // out of the task bar
        QCOMPARE(seen->windowFlags() & (Qt::WindowMinimizeButtonHint |
                                        Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
                 Qt::WindowFlags(Qt::WindowCloseButtonHint));
        QVERIFY(seen->windowModality() == Qt::ApplicationModal &&
                seen->parentWidget() == main_.get());
        QVERIFY(
            (seen->frameGeometry().center() - main_->frameGeometry().center()).manhattanLength() <=
            2);
        // As a user's click would come, through the window system.
        QTest::mouseClick(main_->windowHandle(), Qt::LeftButton, {},
                          mainButton->geometry().center());
        checked = true;
        QTest::mouseClick(Ok(seen), Qt::LeftButton);
      });
      guard.start(5000);
      kestrova::ui::ShowAbout(main_.get());
      guard.stop();
      QVERIFY2(checked && seen.isNull(), "returns only once the window closed and is gone");
    }
    QVERIFY(mainClicks.count() == 0 && !main_->isMinimized());
  }

  void keysPressOkButEscDoesNot() {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, bool> presses[] = {
        {Qt::Key_Return, {}, true},  {Qt::Key_Enter, Qt::KeypadModifier, true},
        {Qt::Key_Space, {}, true},   {Qt::Key_O, Qt::AltModifier, true},
        {Qt::Key_Escape, {}, false}, {Qt::Key_O, {}, false}};
    for (const auto& [key, modifiers, closes] : presses) {
      frmabout* dlg = OpenShown();
      QCOMPARE(QApplication::focusWidget(), Ok(dlg));
      QSignalSpy finished(dlg, &QDialog::finished);
      QTest::keyClick(QApplication::focusWidget(), key, modifiers);
      QTest::qWait(closes ? 0 : 300);  // an access key presses the button after a short delay
      QTRY_COMPARE(finished.count(), closes ? 1 : 0);
      QVERIFY2(dlg->isVisible() != closes, QByteArray::number(key));
      QVERIFY(opened_.empty() && !main_->isMinimized());
      if (!closes) QVERIFY(dlg->close());  // the title bar's close still works
      delete dlg;
    }
  }

  void linkMinimisesOpensThenCloses() {
    for (bool browserStarts : {true, false}) {
      openerResult_ = browserStarts;
      opened_.clear();
      main_->showNormal();
      frmabout* dlg = OpenShown();
      const QPoint onLink = Label(dlg, "lblurl")->geometry().topLeft() + QPoint(5, 5);
      // Only a left click counts, and only on the link.
      QTest::mouseClick(dlg->windowHandle(), Qt::RightButton, {}, onLink);
      QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {},
                        Label(dlg, "lbltext5")->geometry().center());
      QVERIFY(opened_.empty() && dlg->isVisible());
      QTest::mouseClick(dlg->windowHandle(), Qt::LeftButton, {}, onLink);
      // Minimised first, then opened while the window is still up, then closed.
      QCOMPARE(opened_, QStringList(kUrl + " minimised shown"));
      QVERIFY(main_->isMinimized() && !dlg->isVisible());
      delete dlg;
    }
  }

  void pointerIsTheHandOverTheLinkOnly() {
    frmabout* dlg = OpenShown();
    QWindow* window = dlg->windowHandle();
    const QRect link = Label(dlg, "lblurl")->geometry();
    for (int pass : {1, 2}) {
      QTest::mouseMove(window, Label(dlg, "lbltext5")->geometry().topLeft() + QPoint(5, 5));
      QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
      // The large image of the icon, pointing with the fingertip.
      QTest::mouseMove(window, link.topLeft() + QPoint(10, link.height() / 2));
      const QPixmap hand = Label(dlg, "imghand")->pixmap();
      QVERIFY2(hand.size() == QSize(32, 32) && window->cursor().shape() == Qt::BitmapCursor,
               QByteArray::number(pass));
      QCOMPARE(window->cursor().pixmap().toImage(), hand.toImage());
      QCOMPARE(window->cursor().hotSpot(), QPoint(assets::kHandHotspotX, assets::kHandHotspotY));
    }
    QVERIFY(opened_.empty() && dlg->isVisible());
  }
};

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
