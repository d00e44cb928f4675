#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <utility>
#include <vector>

#include "assets/hand_hotspot.h"
#include "kestrova/version.h"
#include "ui/frmabout.h"
#include "ui/units.h"

using kestrova::ui::frmabout;

namespace {

constexpr char kUrl[] = "https://www.quillmere.example/kestrova";

QLabel* Label(QWidget* dlg, const char* name) {
  auto* label = dlg->findChild<QLabel*>(QString::fromLatin1(name));
  if (!label) qFatal("no label %s", name);
  return label;
}

QPushButton* Ok(QWidget* dlg) { return dlg->findChild<QPushButton*>(QStringLiteral("cmdok")); }

// How many pixels of a region pass a test.
template <typename Test>
int Count(const QImage& image, QRect region, Test test) {
  region &= image.rect();
  int n = 0;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x) n += test(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

auto Is(QColor wanted) {
  return [wanted](QColor c) { return c.rgb() == wanted.rgb(); };
}

// Antialiased text is never one flat colour: take what is clearly tinted blue.
bool Blueish(QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 60; }

}  // namespace

class FrmAboutTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> main_;
  int year_ = 2031;
  int clockCalls_ = 0;
  struct OpenCall {
    QUrl url;
    bool mainMinimised;
    bool aboutVisible;
  };
  std::vector<OpenCall> opened_;
  bool openerResult_ = true;
  QPointer<frmabout> shown_;

  frmabout* OpenShown() {
    shown_ = new frmabout(main_.get());
    shown_->show();
    // Activation arrives through the event queue, after the transient parent already counts.
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == shown_; })) {
      qWarning("about window never became active");
    }
    return shown_;
  }

 private slots:
  void init() {
    main_ = std::make_unique<QWidget>();
    main_->setGeometry(120, 90, 330, 220);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    year_ = 2031;
    clockCalls_ = 0;
    opened_.clear();
    openerResult_ = true;
    frmabout::SetYearClock([this] {
      ++clockCalls_;
      return year_;
    });
    frmabout::SetUrlOpener([this](const QUrl& url) {
      opened_.push_back({url, main_->isMinimized(), shown_ && shown_->isVisible()});
      return openerResult_;
    });
  }

  void cleanup() {
    delete shown_.data();
    main_.reset();
    frmabout::SetYearClock({});
    frmabout::SetUrlOpener({});
  }

  void textsAreFilledAtEachOpening() {
    frmabout first(main_.get());
    QCOMPARE(clockCalls_, 1);
    const QString version =
        QStringLiteral("Version ") + QString::fromLatin1(kestrova::kVersionText);
    const std::pair<const char*, QString> texts[] = {
        {"lblprogtitle", QStringLiteral("Kestrova")},
        {"lblversion", version},
        {"lblcopyright", QString::fromUtf8("\xC2\xA9 2002-2031")},
        {"lblcopyright2", QStringLiteral("Venstrup")},
        {"lbltext1", QStringLiteral("Kestrova is freeware.")},
        {"lbltext2", QStringLiteral("Copy it and pass it on freely.")},
        {"lbltext3", QStringLiteral("Play and enjoy!")},
        {"lbltext4", QStringLiteral("For updates and other freeware,")},
        {"lbltext5", QStringLiteral("Visit my homepage at")},
        {"lblurl", QString::fromLatin1(kUrl)},
    };
    // Every text a reader meets is also there for assistive tools.
    for (const auto& [name, text] : texts) {
      QCOMPARE(Label(&first, name)->text(), text);
      QCOMPARE(Label(&first, name)->accessibleName(), text);
    }
    QCOMPARE(Ok(&first)->text(), QStringLiteral("&Ok"));
    QCOMPARE(first.windowTitle(), QStringLiteral("About"));

    // The rights line sizes itself to the year it got.
    QLabel* rights = Label(&first, "lblcopyright");
    QVERIFY(rights->width() >= rights->fontMetrics().horizontalAdvance(rights->text()));

    QVERIFY(!Ok(&first)->accessibleName().isEmpty());

    // Opened twice through the real entry point, the year follows the clock each time.
    QStringList seen;
    for (int year : {2044, 2045}) {
      year_ = year;
      QTimer::singleShot(0, this, [&seen] {
        auto* dlg = qobject_cast<frmabout*>(QApplication::activeModalWidget());
        if (!dlg) return;
        seen << Label(dlg, "lblcopyright")->text();
        dlg->cmdok_Click();
      });
      kestrova::ui::ShowAbout(main_.get());
    }
    QCOMPARE(seen, QStringList({QString::fromUtf8("\xC2\xA9 2002-2044"),
                                QString::fromUtf8("\xC2\xA9 2002-2045")}));
    QCOMPARE(clockCalls_, 3);
  }

  void layoutColoursAndFonts() {
    frmabout dlg(main_.get());
    QCOMPARE(dlg.size(), QSize(220, 293));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QCOMPARE(Ok(&dlg)->geometry(), QRect(24, 240, 106, 26));
    QCOMPARE(Label(&dlg, "lblprogtitle")->geometry(), QRect(24, 23, 245, 22));
    QCOMPARE(Label(&dlg, "lblcopyright2")->geometry(), QRect(24, 76, 172, 16));
    QCOMPARE(Label(&dlg, "lblurl")->pos(), QPoint(24, 207));
    QCOMPARE(Label(&dlg, "lbltext4")->pos(), QPoint(24, 180));

    // The picture carrier sits on the bottom edge, one pixel row inside.
    QLabel* hand = Label(&dlg, "imghand");
    QCOMPARE(hand->geometry(), QRect(107, 292, 32, 32));

    QCOMPARE(Label(&dlg, "lblprogtitle")->font(), kestrova::ui::SansFont(13.5));
    QCOMPARE(Label(&dlg, "lblversion")->font(), kestrova::ui::SansFont(9.75, true));
    for (const char* name : {"lblcopyright", "lbltext1", "lbltext5"}) {
      QCOMPARE(Label(&dlg, name)->font(), kestrova::ui::SansFont(8.25));
    }
    // The address may narrow its font to stay inside the window, never below 6 pt.
    QVERIFY(Label(&dlg, "lblurl")->font().pointSizeF() <= 8.25);
    QVERIFY(Label(&dlg, "lblurl")->font().pointSizeF() >= 6.0);

    // Auto-sized labels hold their whole text, within the window and its left margin.
    for (const char* name : {"lblurl", "lbltext2", "lbltext4", "lbltext5", "lblcopyright"}) {
      QLabel* label = Label(&dlg, name);
      QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), name);
      QVERIFY2(label->geometry().right() < dlg.width() - label->x() + 1, name);
    }

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QImage shot = dlg.grab().toImage();
    const QColor dark(0x40, 0x00, 0x40);
    const QColor highlight = dlg.palette().color(QPalette::Light);
    const QColor face = dlg.palette().color(QPalette::Window);
    QVERIFY(highlight.rgb() != face.rgb());
    // Two etched separators: a dark row, then two rows of highlight, then the face again.
    for (int top : {103, 161}) {
      QCOMPARE(Count(shot, QRect(24, top, 175, 1), Is(dark)), 175);
      QCOMPARE(Count(shot, QRect(24, top + 1, 175, 2), Is(highlight)), 350);
      QCOMPARE(Count(shot, QRect(24, top + 3, 175, 1), Is(highlight)), 0);
      QCOMPARE(Count(shot, QRect(23, top - 1, 178, 1), Is(dark)), 0);
      QCOMPARE(Count(shot, QRect(23, top, 1, 1), Is(dark)), 0);
      QCOMPARE(Count(shot, QRect(199, top, 1, 1), Is(dark)), 0);
    }

    // Only the "updates" line paints its own background, in the window-background colour.
    const QColor windowBg = dlg.palette().color(QPalette::Base);
    QVERIFY(windowBg.rgb() != face.rgb());
    QLabel* updates = Label(&dlg, "lbltext4");
    QLabel* visit = Label(&dlg, "lbltext5");
    const int updatesArea = updates->width() * updates->height();
    QVERIFY(Count(shot, updates->geometry(), Is(windowBg)) > updatesArea / 2);
    QCOMPARE(Count(shot, visit->geometry(), Is(windowBg)), 0);

    // The link is dark blue; the terms are in the ordinary text colour.
    QLabel* link = Label(&dlg, "lblurl");
    QVERIFY(Count(shot, link->geometry(), Blueish) > 30);
    QCOMPARE(Count(shot, visit->geometry(), Blueish), 0);
  }

  void windowKindAndModality() {
    frmabout dlg(main_.get());
    QCOMPARE(dlg.windowType(), Qt::Tool);
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dlg.windowFlags() & Qt::WindowCloseButtonHint);

    // Driven through the real entry point: modal over the main window and gone afterwards.
    auto* mainButton = new QPushButton(QStringLiteral("Elsewhere"), main_.get());
    mainButton->setGeometry(10, 10, 80, 24);
    mainButton->show();
    QSignalSpy mainClicks(mainButton, &QPushButton::clicked);
    QPointer<frmabout> seen;
    bool wasModal = false;
    bool centred = false;
    QTimer::singleShot(0, this, [&] {
      seen = qobject_cast<frmabout*>(QApplication::activeModalWidget());
      if (!seen) return;
      QVERIFY(QTest::qWaitForWindowActive(seen));
      wasModal = seen->isVisible() && seen->windowModality() == Qt::ApplicationModal &&
                 seen->parentWidget() == main_.get();
      const QPoint delta = seen->frameGeometry().center() - main_->frameGeometry().center();
      centred = delta.manhattanLength() <= 2;
      // Through the window system, as a user's click would come.
      QTest::mouseClick(main_->windowHandle(), Qt::LeftButton, {},
                        mainButton->geometry().center());
      QTest::mouseClick(Ok(seen), Qt::LeftButton);
    });
    // Never hang here if the dialog did not react.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, this, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    guard.start(5000);
    kestrova::ui::ShowAbout(main_.get());
    QVERIFY(wasModal);
    QVERIFY(centred);
    QCOMPARE(mainClicks.count(), 0);
    QVERIFY(seen.isNull());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(!main_->isMinimized());
  }

  void keyboard_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                           << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << true;
    QTest::newRow("Alt+O") << int(Qt::Key_O) << Qt::KeyboardModifiers(Qt::AltModifier) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << false;
    QTest::newRow("O alone") << int(Qt::Key_O) << Qt::KeyboardModifiers() << false;
  }

  void keyboard() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, closes);
    frmabout* dlg = OpenShown();
    QCOMPARE(QApplication::focusWidget(), Ok(dlg));
    QSignalSpy finished(dlg, &QDialog::finished);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    // An access key presses the button with a short visible delay.
    if (closes) {
      QTRY_VERIFY(!dlg->isVisible());
    } else {
      QTest::qWait(300);
      QVERIFY(dlg->isVisible());
    }
    QCOMPARE(finished.count(), closes ? 1 : 0);
    QVERIFY(opened_.empty());
    QVERIFY(!main_->isMinimized());
    if (!closes) {
      // Still there, and the title bar's close still works.
      QVERIFY(dlg->close());
      QVERIFY(!dlg->isVisible());
    }
  }

  void linkMinimisesOpensThenCloses() {
    for (bool browserStarts : {true, false}) {
      openerResult_ = browserStarts;
      opened_.clear();
      main_->showNormal();
      QVERIFY(!main_->isMinimized());
      frmabout* dlg = OpenShown();
      QWindow* window = dlg->windowHandle();
      const QPoint onLink = Label(dlg, "lblurl")->geometry().topLeft() + QPoint(5, 5);

      // Only a left click counts, and only on the link.
      QTest::mouseClick(window, Qt::RightButton, {}, onLink);
      QTest::mouseClick(window, Qt::LeftButton, {}, Label(dlg, "lbltext5")->geometry().center());
      QVERIFY(opened_.empty());
      QVERIFY(dlg->isVisible());

      QTest::mouseClick(window, Qt::LeftButton, {}, onLink);
      QCOMPARE(opened_.size(), std::size_t(1));
      QCOMPARE(opened_[0].url, QUrl(QString::fromLatin1(kUrl)));
      QVERIFY2(opened_[0].mainMinimised, "main window minimised before the address is opened");
      QVERIFY2(opened_[0].aboutVisible, "about window still up while the address is opened");
      QVERIFY(main_->isMinimized());
      QVERIFY(!dlg->isVisible());
      delete shown_.data();
    }
  }

  void pointerOverLink() {
    frmabout* dlg = OpenShown();
    QWindow* window = dlg->windowHandle();
    QLabel* link = Label(dlg, "lblurl");
    QLabel* hand = Label(dlg, "imghand");
    const QPoint onLink = link->geometry().topLeft() + QPoint(10, link->height() / 2);
    const QPoint offLink = Label(dlg, "lbltext5")->geometry().topLeft() + QPoint(5, 5);

    QTest::mouseMove(window, offLink);
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);

    // The large image of the icon, pointing with the fingertip.
    QTest::mouseMove(window, onLink);
    QCOMPARE(hand->pixmap().size(), QSize(32, 32));
    QCOMPARE(window->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(window->cursor().pixmap().toImage(), hand->pixmap().toImage());
    QCOMPARE(window->cursor().hotSpot(),
             QPoint(kestrova::assets::kHandHotspotX, kestrova::assets::kHandHotspotY));

    // Off the link the arrow is back; on it again, the hand.
    QTest::mouseMove(window, offLink);
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(window, onLink);
    QVERIFY(window->cursor().shape() != Qt::ArrowCursor);
    QVERIFY(opened_.empty());
    QVERIFY(dlg->isVisible());
  }
};

QTEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
