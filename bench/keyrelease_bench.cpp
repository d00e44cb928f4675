// One key release in an amount box until the other box holds the converted amount, on a
// loaded and shown main window (offscreen platform, settings in memory). The aim: well under
// 0.2 ms. Each iteration also puts a new amount into the source box, so the other box always
// changes; "painted" rows add drawing the changed box.
#include <QApplication>
#include <QKeyEvent>
#include <QtTest>

#include <memory>

#include "core/convert.h"
#include "core/currency.h"
#include "settings/MemoryStore.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/widgets.h"

using namespace kestrova;

class KeyReleaseBench : public QObject {
  Q_OBJECT

 private:
  settings::MemoryStore store_;
  std::unique_ptr<ui::frmMain> window_;

  ui::AmountBox* box(const char* name) {
    auto* found = window_->findChild<ui::AmountBox*>(QString::fromLatin1(name));
    if (!found) qFatal("no box %s", name);
    return found;
  }

 private slots:
  void initTestCase() {
    settings::Registry::SetStore(&store_);
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(window_->Form_Initialize());
    window_->Form_Load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanupTestCase() {
    window_.reset();
    settings::Registry::SetStore(nullptr);
  }

  void releaseFillsTheOtherBox_data() {
    QTest::addColumn<bool>("fromEuro");
    QTest::addColumn<bool>("painted");
    QTest::newRow("txtEURO to txtCURRENCIES") << true << false;
    QTest::newRow("txtCURRENCIES to txtEURO") << false << false;
    QTest::newRow("txtEURO to txtCURRENCIES, painted") << true << true;
  }
  void releaseFillsTheOtherBox() {
    QFETCH(bool, fromEuro);
    QFETCH(bool, painted);
    ui::AmountBox* source = box(fromEuro ? "txtEURO" : "txtCURRENCIES");
    ui::AmountBox* target = box(fromEuro ? "txtCURRENCIES" : "txtEURO");
    source->setFocus();
    const QString amounts[] = {QStringLiteral("1234.56"), QStringLiteral("7.5")};
    int turn = 0;
    QBENCHMARK {
      source->setText(amounts[++turn & 1]);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
      QCoreApplication::sendEvent(source, &release);
      if (painted) target->repaint();
    }
    // The last release did convert: Belgium is on show.
    const auto expected = core::Convert(
        amounts[turn & 1].toStdString(), "", &core::CountryTable().front(),
        fromEuro ? core::Operation::EuroToNational : core::Operation::NationalToEuro, ".");
    QVERIFY(expected);
    QCOMPARE(target->text(), QString::fromStdString(*expected));
  }
};

QTEST_MAIN(KeyReleaseBench)
#include "keyrelease_bench.moc"
