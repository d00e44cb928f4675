// Drives the main window with real key and mouse events on the offscreen platform; the settings
// live in memory. How it looks is look_test's.
#include <QtTest>
#include <QtWidgets>

#include "settings/MemoryStore.h"
#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/units.h"
#include "ui/widgets.h"

using namespace kestrova;
using ui::Q;

static const std::string kKey(settings::kSettingsKey);

class FrmMainTest : public QObject {
  Q_OBJECT
  std::unique_ptr<settings::MemoryStore> store_;
  std::unique_ptr<ui::frmMain> window_;
  QList<ui::platform::MessageRequest> messages_;

  template <typename T = QWidget>
  T* control(const char* name) {
    if (T* found = window_->findChild<T*>(QString::fromLatin1(name))) return found;
    qFatal("no control %s", name);
  }
  ui::AmountBox* euro() { return control<ui::AmountBox>("txtEURO"); }
  ui::AmountBox* national() { return control<ui::AmountBox>("txtCURRENCIES"); }
  ui::ImageBox* flag() { return control<ui::ImageBox>("imgFlags"); }
  QString label(const char* name) { return control<QLabel>(name)->text(); }
  QStringList amounts() { return {euro()->text(), national()->text()}; }
  // "Name=value|…" into the store; the eight values out of it as "Name=value".
  void store(const QString& values) {
    settings::Registry::CreateSettingsKey(kKey);
    for (const QString& value : values.split('|'))
      settings::Registry::WriteSettingValue(kKey, value.section('=', 0, 0).toStdString(),
                                            value.section('=', 1).toStdString());
  }
  QStringList stored() {
    QStringList values;
    for (const auto& saved : ui::frmMain::SavedValues()) {
      const auto value = settings::Registry::ReadSettingValue(kKey, std::string(saved.name));
      values << Q(saved.name) + '=' + Q(value.value_or(""));
    }
    return values;
  }
  // A fresh window over the current store: created, loaded, shown and active.
  void start(const ui::StartupEnvironment& environment = {}) {
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(window_->Form_Initialize(environment));
    window_->Form_Load();
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  // The entries disabled in each country pop-up that `run` opens, each closed at once.
  QStringList popups(const std::function<void()>& run) {
    QStringList disabled;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        for (QAction* action : popup->actions())
          if (!action->isEnabled()) disabled << action->objectName();
        popup->close();
      }
    });
    closer.start(20);
    run();
    return disabled;
  }

 private slots:
  void init() {
    store_ = std::make_unique<settings::MemoryStore>();
    settings::Registry::SetStore(store_.get());
    messages_.clear();
    ui::platform::SetMessageHook([this](const auto& message) { messages_ << message; });
  }
  void cleanup() {
    window_.reset();
    settings::Registry::SetStore(nullptr);
    ui::platform::SetMessageHook({});
  }

  void typingIsFilteredAndConvertsAtTheRelease() {
    start();  // a first run: 1 euro, 40.34 Belgian francs
    const struct {
      bool intoEuro;
      const char *before, *typed, *keys, *after;  // before: none keeps the text; after: "€|nat"
    } cases[] = {
        {false, nullptr, "", "End", "1|40.34"},  // the first-run text reads whole
        {true, "", "12.5", "", "12.5|504.25"},
        {true, "7", ",- +aZ\u00e9\u20ac\U0001F600", "", "7|282.38"},
        {true, "2", "", "Return; Esc", "2|80.68"},
        {true, "25", "", "Backspace", "2|80.68"},
        {true, "123", "", "Left; Del", "12|484.08"},
        {true, "56", "", "Ctrl+V; Ctrl+X; Ctrl+Z; Shift+Ins; Ctrl+7; Ctrl+Backspace", "56|2259.03"},
        {true, "26", "", "Ctrl+H", "2|80.68"},  // the backspace character
        {false, "", "40.34x,", "", "1|40.34"},
        {false, "", "\u00e9", "Return", "0|"},
    };
    QApplication::clipboard()->setText(QStringLiteral("99"));
    for (const auto& c : cases) {
      ui::AmountBox* box = c.intoEuro ? euro() : national();
      if (c.before) box->setText(QString::fromUtf8(c.before));
      // Each character whole, as an input method sends it: the filter sees its text, not its key.
      for (const char32_t typed : QString::fromUtf8(c.typed).toUcs4())
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&typed, 1), {});
      for (const QKeySequence& keys : QKeySequence::listFromString(c.keys))
        QTest::keySequence(box, keys);
      QVERIFY2(
          amounts() == QString(c.after).split('|'),
          qPrintable(QString("%1%2, %3: %4").arg(c.before, c.typed, c.keys, amounts().join('|'))));
    }
  }

  // Each entry runs its own handler onto the shared step. Only the Menu key, Shift+F10 and a
  // screen reader's ShowMenu open the pop-up, without the country on show; its Press and Space
  // step once, Space held or not.
  void countriesComeFromTheMenuTheFlagAndItsKeys() {
    start();
    euro()->setText(QStringLiteral("100"));
    for (QAction* entry : window_->countryMenu()->actions()) {
      entry->trigger();
      const auto* row = core::FindCountryByKey(label("lblHIDDENimg").toStdString());
      QVERIFY2(row && Q(row->menuEntry) == entry->objectName(), qPrintable(entry->objectName()));
      const QPixmap& hidden = window_->hiddenImage(Q(row->flagKey))->picture();
      QVERIFY2(flag()->picture().cacheKey() == hidden.cacheKey(), row->flagKey.data());
      QCOMPARE(label("Label1"), Q(row->rateLine));
      QCOMPARE(control<QLabel>("Label1")->toolTip(), Q(row->currencyName));
    }
    QCOMPARE(amounts(), (QStringList{"100", "16638.6"}));  // the same euro, at Spain's rate
    window_->mnuPortugal_Click();
    flag()->setFocus(Qt::TabFocusReason);
    const QString reader = QAccessibleActionInterface::showMenuAction();
    for (const QString& opener :
         QStringList{"F10", "Ctrl+Menu", "A", "Shift+F10", "Menu", reader}) {
      const QStringList disabled = popups([&] {
        if (opener != reader) return QTest::keySequence(flag(), QKeySequence(opener));
        QAccessible::queryAccessibleInterface(flag())->actionInterface()->doAction(opener);
        QTest::qWait(50);  // the action runs from the event loop
      });
      const bool opens = opener == reader || opener == "Menu" || opener == "Shift+F10";
      QVERIFY2(disabled == (opens ? QStringList{"mnuPortugal"} : QStringList()),
               qPrintable(opener));
    }
    QAccessible::queryAccessibleInterface(flag())->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(label("lblHIDDENimg"), QStringLiteral("imgESP"));
    QTest::keyClick(flag(), Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, {}, QStringLiteral(" "), true);
    QApplication::sendEvent(flag(), &repeat);
    QCOMPARE(label("lblHIDDENimg"), QStringLiteral("imgBEL"));
    QVERIFY(control<QAction>("mnuPortugal")->isEnabled());
  }

  // What the flag's entries and the background's double-click chose is kept; a minimised
  // window's place is not.
  void aCloseSavesTheValuesButAMinimisedOneNotThePlace() {
    start();
    window_->mnuGermany_Click();
    euro()->setText(QStringLiteral("12,5"));
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton})  // one step, the left's
      QTest::mouseDClick(control("Picture1"), button, {}, {185, 140});
    window_->showMinimized();
    QTRY_VERIFY(window_->isMinimized());
    window_->close();
    QCOMPARE(stored(), QString("Top=Error|Left=Error|Euro=12,5|Currency=1.96|Image=imgGER|"
                               "Description=1 EUR = 1.95583 DEM|Tooltip= German Marks |"
                               "Background=imgFive")
                           .split('|'));
  }

  // Odd stored values, each by itself: keys that name nothing show nothing, a place that is no
  // number leaves the window where the design puts it.
  void oddStoredValuesComeBackByThemselves_data() {
    QTest::addColumn<QString>("values");
    QTest::addColumn<QStringList>("showing");  // the flag, the theme, the national box after a key
    QTest::newRow("unknown theme")
        << "Image=imgGER|Background=imgten" << QStringList{"flag", "-", "1.96"};
    QTest::newRow("unknown country") << "Image=imgXYZ" << QStringList{"-", "theme", "Error"};
    QTest::newRow("no numbers") << "Top=Error|Left=1e39" << QStringList{"flag", "theme", "40.34"};
  }
  void oddStoredValuesComeBackByThemselves() {
    QFETCH(QString, values);
    QFETCH(QStringList, showing);
    store("Euro=1|Image=imgBEL|Background=imgTen|" + values);
    start();
    QCOMPARE(window_->geometry().topLeft(), QPoint(180, 140));
    QCOMPARE(national()->text(), QStringLiteral("Error"));  // not stored: read as "Error"
    const bool themed = euro()->palette().color(QPalette::Base) == ui::ColorFromBgr(0x00C0C0FF);
    QTest::keyClick(euro(), Qt::Key_Shift);
    QCOMPARE((QStringList{flag()->picture().isNull() ? "-" : "flag", themed ? "theme" : "-",
                          national()->text()}),
             showing);
  }

  // Start-up tells its first failure with the advice for its number (here Qt reads no GIF, nor
  // icons); a second copy's box, whose words the end-to-end runs read, has the information icon.
  void startupShowsItsMessages() {
    ui::StartupEnvironment environment;
    environment.imageFormats = [] { return QByteArrayList{"png", "jpeg"}; };
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(window_->Form_Initialize(environment));
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].caption, QStringLiteral("Error"));
    const QString error = QStringLiteral("An Error was generated:\r\nDescription: Error");
    QCOMPARE(messages_[0].text, error +
                                    " 339 - Component 'GIF image support' or one of its "
                                    "dependencies is missing\r\n\r\nRe-install the "
                                    "program to fix this.");
    QCOMPARE(ui::StartupErrorText(-5, "x"),
             error + "-5 - x\r\n\r\nPlease inform the author with the error description above.");

    ui::platform::SetMessageHook({});  // the real box
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      icon = box->icon();
      box->accept();
    });
    ui::StartupEnvironment second;
    second.checkInstance = [] {
      ui::StartupEnvironment::InstanceResult running;
      running.state = ui::StartupEnvironment::Instance::AlreadyRunning;
      return running;
    };
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(!window_->Form_Initialize(second));
    QCOMPARE(icon, QMessageBox::Information);
  }
};

QTEST_MAIN(FrmMainTest)
#include "frmMain_test.moc"
