// Drives the main window with real key and mouse events on the offscreen platform.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "settings/MemoryStore.h"
#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/frmabout.h"
#include "ui/platform.h"
#include "ui/units.h"
#include "ui/widgets.h"

using namespace kestrova;
using kestrova::ui::AmountBox;
using kestrova::ui::ImageBox;
using kestrova::ui::PictureButton;

namespace {

const std::string kKey(settings::kSettingsKey);

QColor Bgr(std::uint32_t value) { return ui::ColorFromBgr(value); }

// Remembers what the window asks of its store, in order.
class RecordingStore : public settings::MemoryStore {
 public:
  QStringList log;
  settings::Status SetValue(settings::KeyHandle key, const std::string& name,
                            const std::string& value) override {
    log << QString::fromStdString("set " + name);
    return MemoryStore::SetValue(key, name, value);
  }
  void BeginBatch() override { log << QStringLiteral("begin"); }
  settings::Status CommitBatch() override {
    log << QStringLiteral("commit");
    return settings::kSuccess;
  }
};

}  // namespace

class FrmMainTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<RecordingStore> store_;
  std::unique_ptr<ui::frmMain> window_;
  QList<ui::platform::MessageRequest> messages_;

  template <typename T>
  T* control(const char* name) {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  AmountBox* euro() { return control<AmountBox>("txtEURO"); }
  AmountBox* national() { return control<AmountBox>("txtCURRENCIES"); }
  ImageBox* flag() { return control<ImageBox>("imgFlags"); }
  ImageBox* background() { return control<ImageBox>("Picture1"); }
  QLabel* rateLine() { return control<QLabel>("Label1"); }
  QString key() { return control<QLabel>("lblHIDDENimg")->text(); }
  QString backgroundKey() { return control<QLabel>("lblHIDDENbg")->text(); }
  qint64 pictureOf(const char* hidden) {
    return window_->hiddenImage(QString::fromLatin1(hidden))->picture().cacheKey();
  }
  QAction* entry(const char* name) { return control<QAction>(name); }

  void write(std::string_view name, const std::string& value) {
    settings::Registry::CreateSettingsKey(kKey);
    settings::Registry::WriteSettingValue(kKey, std::string(name), value);
  }
  std::string read(std::string_view name) {
    return settings::Registry::ReadSettingValue(kKey, std::string(name)).value_or("<none>");
  }

  // A fresh window over the current store, loaded and shown and active.
  void start() {
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(window_->Form_Initialize());
    window_->Form_Load();
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

  void type(QWidget* box, const QString& keys) {
    box->setFocus();
    QTest::keyClicks(box, keys);
  }

  // Presses a key where the focus is and releases it where the focus is then.
  void pressAndRelease(Qt::Key key) {
    QTest::keyPress(QApplication::focusWidget(), key);
    QTest::keyRelease(QApplication::focusWidget(), key);
  }

  // An empty spot of the background, away from every control on it.
  void doubleClickBackground() { QTest::mouseDClick(background(), Qt::LeftButton, {}, QPoint(185, 140)); }

 private slots:
  void init() {
    store_ = std::make_unique<RecordingStore>();
    settings::Registry::SetStore(store_.get());
    messages_.clear();
    ui::platform::SetMessageHook([this](const ui::platform::MessageRequest& m) { messages_.append(m); });
  }
  void cleanup() {
    window_.reset();
    settings::Registry::SetStore(nullptr);
    ui::platform::SetMessageHook({});
  }

  void laysOutTheWindowAsDesigned() {
    start();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Kestrova"));
    QCOMPARE(window_->size(), QSize(204, 162));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    const std::pair<const char*, QRect> places[] = {
        {"SSPanel1", {0, 0, 204, 162}},    {"Picture1", {6, 6, 192, 149}},
        {"txtEURO", {54, 20, 122, 22}},    {"txtCURRENCIES", {54, 50, 122, 22}},
        {"imgFlags", {15, 45, 32, 32}},    {"imgEuro", {15, 15, 32, 32}},
        {"Label1", {56, 77, 115, 17}},     {"cmdAbout", {15, 102, 79, 27}},
        {"cmdExit", {97, 102, 79, 27}},
    };
    for (const auto& [name, place] : places) QCOMPARE(control<QWidget>(name)->geometry(), place);
    QCOMPARE(control<QPushButton>("cmdAbout")->text(), QStringLiteral("&About"));
    QCOMPARE(control<QPushButton>("cmdExit")->text(), QStringLiteral("E&xit"));
    QCOMPARE(flag()->toolTip(), QStringLiteral(" Double-click "));
    QCOMPARE(control<QWidget>("SSPanel1")->palette().color(QPalette::Window), QColor(0, 128, 128));

    // Everything that only holds state or pictures lies outside the client area.
    const QRect client = window_->rect();
    for (const char* hidden : {"lblHIDDENimg", "lblHIDDENbg", "imgDefault", "imgFive", "imgFivehundred",
                               "imgBEL", "imgESP"}) {
      QVERIFY2(!client.intersects(control<QWidget>(hidden)->geometry()), hidden);
    }
    // What a screen reader hears: a name for every visible control, the rate line as it reads.
    auto spoken = [this](const char* name) {
      return QAccessible::queryAccessibleInterface(control<QWidget>(name))->text(QAccessible::Name);
    };
    for (const char* visible : {"txtEURO", "txtCURRENCIES", "imgFlags", "Picture1", "cmdAbout", "cmdExit"}) {
      QVERIFY2(!spoken(visible).isEmpty(), visible);
    }
    QCOMPARE(spoken("Label1"), rateLine()->text());

    // Tab walks the boxes, the buttons, the background and the flag, in that order.
    QCOMPARE(QApplication::focusWidget(), euro());
    const char* order[] = {"txtCURRENCIES", "cmdAbout", "cmdExit", "Picture1", "imgFlags", "txtEURO"};
    for (const char* next : order) {
      pressAndRelease(Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }

    // The country menu is a pop-up only: twelve entries in table order.
    QMenu* menu = window_->countryMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("mnuCountries"));
    QStringList entries;
    for (QAction* action : menu->actions()) entries << action->objectName() + '=' + action->text();
    QCOMPARE(entries, QStringList({"mnuBelgium=Belgium", "mnuGermany=Germany", "mnuFinland=Finland",
                                   "mnuFrance=France", "mnuGreece=Greece", "mnuIreland=Ireland",
                                   "mnuItaly=Italy", "mnuLuxembourg=Luxembourg", "mnuHolland=Holland",
                                   "mnuAustria=Austria", "mnuPortugal=Portugal", "mnuSpain=Spain"}));
  }

  void firstRunShowsBelgiumAndTheDesignedLook() {
    start();
    QCOMPARE(euro()->text(), QStringLiteral("1"));
    QCOMPARE(national()->text(), QStringLiteral("40.34"));
    QCOMPARE(rateLine()->text(), QStringLiteral("1 EUR = 40.3399 BEF"));
    QCOMPARE(rateLine()->toolTip(), QStringLiteral(" Belgian Francs "));
    QCOMPARE(key(), QStringLiteral("imgBEL"));
    QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
    QCOMPARE(flag()->picture().cacheKey(), pictureOf("imgBEL"));
    QVERIFY(!flag()->picture().isNull());

    // The designed look: own pictures, not imgDefault's, and the two designed colours.
    QVERIFY(!background()->picture().isNull());
    QVERIFY(background()->picture().cacheKey() != pictureOf("imgDefault"));
    auto* about = control<PictureButton>("cmdAbout");
    QVERIFY(!about->picture().isNull());
    QCOMPARE(about->picture().cacheKey(), control<PictureButton>("cmdExit")->picture().cacheKey());
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00FFC0C0));
    QCOMPARE(national()->palette().color(QPalette::Base), Bgr(0x00FFFF00));

    // Focus in the euro box with its text selected; nothing written yet.
    QCOMPARE(QApplication::focusWidget(), euro());
    QCOMPARE(euro()->selectedText(), QStringLiteral("1"));
    QCOMPARE(read(settings::kEuro), std::string("Error"));
    QVERIFY(messages_.isEmpty());

    // The mended first-run text reads whole: one euro's worth converts back to one euro.
    national()->setFocus();
    pressAndRelease(Qt::Key_End);
    QCOMPARE(euro()->text(), QStringLiteral("1"));
  }

  void typingIsFilteredAndConvertsOnRelease() {
    start();
    type(euro(), QStringLiteral("12.5"));
    QCOMPARE(euro()->text(), QStringLiteral("12.5"));
    QCOMPARE(national()->text(), QStringLiteral("504.25"));

    // Comma, minus, plus, blank and letters insert nothing; their release still converts.
    euro()->setText(QStringLiteral("7"));
    type(euro(), QStringLiteral(",- +aZ"));
    for (const QString& text : {QStringLiteral("\u00e9"), QStringLiteral("\u20ac"), QStringLiteral("\U0001F600")}) {
      QTest::sendKeyEvent(QTest::Click, euro(), Qt::Key_unknown, text, Qt::NoModifier);
    }
    QCOMPARE(euro()->text(), QStringLiteral("7"));
    QCOMPARE(national()->text(), QStringLiteral("282.38"));

    // Enter and Escape insert nothing and convert on release.
    euro()->setText(QStringLiteral("2"));
    QTest::keyClick(euro(), Qt::Key_Return);
    QTest::keyClick(euro(), Qt::Key_Escape);
    QCOMPARE(euro()->text(), QStringLiteral("2"));
    QCOMPARE(national()->text(), QStringLiteral("80.68"));

    // Backspace deletes, and its release converts the shorter text.
    euro()->setText(QStringLiteral("25"));
    euro()->end(false);
    QTest::keyClick(euro(), Qt::Key_Backspace);
    QCOMPARE(euro()->text(), QStringLiteral("2"));
    QCOMPARE(national()->text(), QStringLiteral("80.68"));

    // A second point is typed as it comes and reads as far as it makes sense.
    euro()->clear();
    type(euro(), QStringLiteral("1.2.3"));
    QCOMPARE(euro()->text(), QStringLiteral("1.2.3"));
    QCOMPARE(national()->text(), QStringLiteral("48.41"));

    // Keys that type nothing keep their effect.
    euro()->setText(QStringLiteral("123"));
    euro()->setCursorPosition(3);
    QTest::keyClick(euro(), Qt::Key_Left);
    QTest::keyClick(euro(), Qt::Key_Delete);
    QCOMPARE(euro()->text(), QStringLiteral("12"));
    QTest::keyClick(euro(), Qt::Key_Home);
    QCOMPARE(euro()->cursorPosition(), 0);

    // Typing into the national box converts the other way.
    national()->clear();
    type(national(), QStringLiteral("40.34"));
    QCOMPARE(euro()->text(), QStringLiteral("1"));
  }

  void shortcutsThatChangeTheTextAreRefused() {
    start();
    QApplication::clipboard()->setText(QStringLiteral("99"));
    euro()->setText(QStringLiteral("5"));
    euro()->selectAll();
    QTest::keyClick(euro(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(euro(), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(euro()->text(), QStringLiteral("5"));
    QTest::keyClick(euro(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(euro()->text(), QStringLiteral("5"));
    euro()->end(false);
    type(euro(), QStringLiteral("6"));
    QTest::keyClick(euro(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(euro()->text(), QStringLiteral("56"));
    QTest::keyClick(euro(), Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(euro()->text(), QStringLiteral("56"));

    // Copy and select-all still work and change nothing.
    QTest::keyClick(euro(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(euro()->selectedText(), QStringLiteral("56"));
    QTest::keyClick(euro(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("56"));
    QCOMPARE(euro()->text(), QStringLiteral("56"));

    // Text that arrives without typing is not filtered and waits for the next release.
    const QString before = national()->text();
    euro()->setText(QStringLiteral("-1"));
    window_->applyCountry(*core::FindCountryByKey("imgGER"));
    QCOMPARE(national()->text(), before);
    QTest::keyClick(euro(), Qt::Key_Shift);
    QCOMPARE(national()->text(), QStringLiteral("-1.96"));
  }

  void aCommaLocaleStillShowsPoints() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    start();
    window_->mnuCountry_Click(*core::FindCountryByKey("imgGER"));
    euro()->clear();
    type(euro(), QStringLiteral("100"));
    QCOMPARE(national()->text(), QStringLiteral("195.58"));
    window_->move(10, 20);
    window_->close();
    QLocale::setDefault(saved);
    QCOMPARE(read(settings::kTop), std::string("300"));
  }

  void heldKeysConvertOnceAtTheirRealRelease() {
    start();
    euro()->clear();
    national()->setText(QStringLiteral("untouched"));
    for (int i = 0; i < 3; ++i) {
      QTest::sendKeyEvent(QTest::Press, euro(), Qt::Key_4, QStringLiteral("4"), Qt::NoModifier);
      QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_4, Qt::NoModifier, QStringLiteral("4"), true);
      QApplication::sendEvent(euro(), &repeat);
    }
    QCOMPARE(euro()->text(), QStringLiteral("444"));
    QCOMPARE(national()->text(), QStringLiteral("untouched"));
    QTest::keyRelease(euro(), Qt::Key_4);
    QCOMPARE(national()->text(), QStringLiteral("17910.92"));
  }

  void tabReleaseConvertsInTheBoxItLandsIn() {
    start();
    window_->mnuCountry_Click(*core::FindCountryByKey("imgGER"));
    euro()->clear();
    type(euro(), QStringLiteral("12.345"));
    QCOMPARE(national()->text(), QStringLiteral("24.14"));
    pressAndRelease(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), national());
    QCOMPARE(euro()->text(), QStringLiteral("12.34"));
  }

  void flagDoubleClicksCycleThroughTheTwelve() {
    start();
    euro()->setText(QStringLiteral("100"));
    const char* cycle[] = {"imgGER", "imgFIN", "imgFRA", "imgGRI", "imgIER", "imgITA",
                           "imgLUX", "imgNED", "imgATS", "imgPOR", "imgESP", "imgBEL"};
    for (const char* next : cycle) {
      QTest::mouseDClick(flag(), Qt::LeftButton);
      QCOMPARE(key(), QString::fromLatin1(next));
      QCOMPARE(flag()->picture().cacheKey(), pictureOf(next));
      const core::CountryRecord* row = core::FindCountryByKey(next);
      QCOMPARE(flag()->accessibleDescription(), QString::fromUtf8(row->caption.data(), row->caption.size()));
      QCOMPARE(rateLine()->text(), QString::fromUtf8(row->rateLine.data(), row->rateLine.size()));
      QCOMPARE(rateLine()->toolTip(),
               QString::fromUtf8(row->currencyName.data(), row->currencyName.size()));
    }
    QCOMPARE(euro()->text(), QStringLiteral("100"));
    QCOMPARE(national()->text(), QStringLiteral("4033.99"));

    // Luxembourg shares Belgium's rate: same amount, other labels.
    window_->mnuCountry_Click(*core::FindCountryByKey("imgLUX"));
    QCOMPARE(national()->text(), QStringLiteral("4033.99"));
    QCOMPARE(rateLine()->text(), QStringLiteral("1 EUR = 40.3399 LUF"));

    // Choosing Greece from Austria keeps the euro amount.
    window_->mnuCountry_Click(*core::FindCountryByKey("imgATS"));
    entry("mnuGreece")->trigger();
    QCOMPARE(euro()->text(), QStringLiteral("100"));
    QCOMPARE(national()->text(), QStringLiteral("34075"));
    QCOMPARE(rateLine()->toolTip(), QStringLiteral(" Greek Drachmas "));
    QCOMPARE(key(), QStringLiteral("imgGRI"));
  }

  void aFlagThatIsNoneOfTheTwelveFindsNoCountry() {
    start();
    // Same pixels, other picture: identity, not content, decides.
    flag()->setPicture(window_->hiddenImage(QStringLiteral("imgBEL"))->picture().copy());
    QVERIFY(window_->findCountryByFlag() == nullptr);
    euro()->setText(QStringLiteral("3"));
    national()->setText(QStringLiteral("7,5"));
    QTest::keyClick(euro(), Qt::Key_Shift);
    QCOMPARE(national()->text(), QStringLiteral("7.5"));  // only the comma step runs
    QTest::keyClick(national(), Qt::Key_Shift);
    QCOMPARE(euro()->text(), QStringLiteral("3"));

    const qint64 shown = flag()->picture().cacheKey();
    entry("mnuItaly")->setEnabled(false);
    QTest::mouseDClick(flag(), Qt::LeftButton);
    QCOMPARE(flag()->picture().cacheKey(), shown);
    QCOMPARE(key(), QStringLiteral("imgBEL"));
    QVERIFY(entry("mnuItaly")->isEnabled());

    // No picture at all is no country either.
    flag()->setPicture(QPixmap());
    QVERIFY(window_->findCountryByFlag() == nullptr);
  }

  void rightButtonShowsTheMenuWithTheCountryOnShowDisabled() {
    start();
    window_->mnuCountry_Click(*core::FindCountryByKey("imgITA"));
    QStringList disabled;
    QTimer::singleShot(50, this, [&] {
      auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(popup);
      for (QAction* action : popup->actions()) {
        if (!action->isEnabled()) disabled << action->objectName();
      }
      popup->findChild<QAction*>(QStringLiteral("mnuFrance"));
      for (QAction* action : popup->actions()) {
        if (action->objectName() == QLatin1String("mnuFrance")) popup->setActiveAction(action);
      }
      QTest::keyClick(popup, Qt::Key_Return);
    });
    QTest::mousePress(flag(), Qt::RightButton);
    QCOMPARE(disabled, QStringList{QStringLiteral("mnuItaly")});
    QCOMPARE(key(), QStringLiteral("imgFRA"));
    QVERIFY(entry("mnuItaly")->isEnabled());

    // Dismissed without a choice: the entry on show stays disabled.
    QTimer::singleShot(50, this, [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape); });
    QTest::mousePress(flag(), Qt::RightButton);
    QVERIFY(!entry("mnuFrance")->isEnabled());
    QCOMPARE(key(), QStringLiteral("imgFRA"));

    // Left and middle presses show nothing and change no entry.
    QTest::mousePress(flag(), Qt::LeftButton);
    QTest::mouseRelease(flag(), Qt::LeftButton);
    QTest::mousePress(flag(), Qt::MiddleButton);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(!entry("mnuFrance")->isEnabled());
    QVERIFY(entry("mnuBelgium")->isEnabled());
  }

  void backgroundDoubleClicksCycleThroughTheEight() {
    start();
    euro()->setText(QStringLiteral("9"));
    const QString national = this->national()->text();
    for (const ui::BackgroundRecord& row : ui::kBackgrounds) {
      const auto expected = ui::FindBackground(row.successor);
      doubleClickBackground();
      const QString key = QString::fromLatin1(expected->key.data(), expected->key.size());
      QCOMPARE(backgroundKey(), key);
      const qint64 picture = window_->hiddenImage(key)->picture().cacheKey();
      QCOMPARE(background()->picture().cacheKey(), picture);
      QCOMPARE(control<PictureButton>("cmdAbout")->picture().cacheKey(), picture);
      QCOMPARE(control<PictureButton>("cmdExit")->picture().cacheKey(), picture);
      QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(expected->boxColour));
      QCOMPARE(this->national()->palette().color(QPalette::Base), Bgr(expected->boxColour));
    }
    QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
    QCOMPARE(euro()->text(), QStringLiteral("9"));
    QCOMPARE(this->national()->text(), national);
    QCOMPARE(key(), QStringLiteral("imgBEL"));

    // Double-clicks on the controls lying on the background are theirs, not the background's.
    for (const char* name : {"Label1", "txtEURO", "cmdAbout", "imgEuro"}) {
      QTest::mouseDClick(control<QWidget>(name), Qt::LeftButton);
      QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
    }
    QTest::mouseDClick(flag(), Qt::LeftButton);
    QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
  }

  void keysOnTheFlagAndTheBackgroundRunTheirMouseHandlers() {
    start();
    euro()->setText(QStringLiteral("100"));
    // A click leaves the focus where it was; only the keyboard reaches the two.
    QTest::mouseClick(flag(), Qt::LeftButton);
    QTest::mouseClick(background(), Qt::LeftButton, {}, QPoint(185, 140));
    QCOMPARE(QApplication::focusWidget(), euro());

    const QImage unfocused = flag()->grab().toImage();
    flag()->setFocus(Qt::TabFocusReason);
    QVERIFY(flag()->grab().toImage() != unfocused);  // the focus shows
    QTest::keyClick(flag(), Qt::Key_Space);
    QCOMPARE(key(), QStringLiteral("imgGER"));
    QCOMPARE(national()->text(), QStringLiteral("195.58"));
    QTest::keyClick(flag(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(key(), QStringLiteral("imgFIN"));
    QTest::sendKeyEvent(QTest::Press, flag(), Qt::Key_Space, QStringLiteral(" "), Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(flag(), &repeat);
    QTest::keyClick(flag(), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(key(), QStringLiteral("imgFRA"));  // a held key steps once, Ctrl+Space not at all

    // Both menu keys open the pop-up under the flag, the country on show disabled; Down and
    // Enter then choose the first entry that can be chosen.
    struct MenuKey {
      Qt::Key key;
      Qt::KeyboardModifier modifier;
      const char* disabled;
      const char* chosen;
    };
    for (const MenuKey& menuKey : {MenuKey{Qt::Key_Menu, Qt::NoModifier, "mnuFrance", "imgBEL"},
                                   MenuKey{Qt::Key_F10, Qt::ShiftModifier, "mnuBelgium", "imgGER"}}) {
      QStringList disabled;
      QPoint shownAt;
      QTimer::singleShot(50, this, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        QVERIFY(popup);
        shownAt = popup->geometry().topLeft();
        for (QAction* action : popup->actions()) {
          if (!action->isEnabled()) disabled << action->objectName();
        }
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
      });
      QTest::keyClick(flag(), menuKey.key, menuKey.modifier);
      QCOMPARE(shownAt, flag()->mapToGlobal(QPoint(0, flag()->height())));
      QCOMPARE(disabled, QStringList{QString::fromLatin1(menuKey.disabled)});
      QCOMPARE(key(), QString::fromLatin1(menuKey.chosen));
    }
    QCOMPARE(national()->text(), QStringLiteral("195.58"));

    // Space and Enter on the background step it; Enter that a button lying on it ignores
    // does not, nor do the flag's menu keys.
    background()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(background(), Qt::Key_Space);
    QCOMPARE(backgroundKey(), QStringLiteral("imgFive"));
    QTest::keyClick(background(), Qt::Key_Return);
    QCOMPARE(backgroundKey(), QStringLiteral("imgTen"));
    QTest::keyClick(background(), Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    auto* exit = control<QPushButton>("cmdExit");
    exit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(exit, Qt::Key_Return);
    QCOMPARE(backgroundKey(), QStringLiteral("imgTen"));
    QVERIFY(window_->isVisible());

    // A screen reader finds the same two as actions, and the background it cannot see.
    QAccessibleInterface* flagReader = QAccessible::queryAccessibleInterface(flag());
    QCOMPARE(flagReader->role(), QAccessible::ButtonMenu);
    QCOMPARE(flagReader->text(QAccessible::Description), QStringLiteral("Germany"));
    QAccessibleInterface* backgroundReader = QAccessible::queryAccessibleInterface(background());
    QCOMPARE(backgroundReader->text(QAccessible::Description), QStringLiteral("10 euro banknote"));
    backgroundReader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(backgroundKey(), QStringLiteral("imgTwenty"));
    QVERIFY(!backgroundReader->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
    QTimer::singleShot(50, this, [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape); });
    flagReader->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(!entry("mnuGermany")->isEnabled());
  }

  void closeWritesTheEightValuesAndTheNextStartRestoresThem() {
    start();
    window_->mnuCountry_Click(*core::FindCountryByKey("imgGER"));
    euro()->setText(QStringLiteral("12,5"));
    doubleClickBackground();
    doubleClickBackground();
    window_->move(300, 200);
    store_->log.clear();
    window_->close();
    // One batch, the eight values in their order.
    QCOMPARE(store_->log, QStringList({"begin", "set Top", "set Left", "set Euro", "set Currency",
                                       "set Image", "set Description", "set Tooltip",
                                       "set Background", "commit"}));
    QCOMPARE(read(settings::kEuro), std::string("12,5"));
    QCOMPARE(read(settings::kCurrency), std::string("1.96"));
    QCOMPARE(read(settings::kImage), std::string("imgGER"));
    QCOMPARE(read(settings::kDescription), std::string("1 EUR = 1.95583 DEM"));
    QCOMPARE(read(settings::kTooltip), std::string(" German Marks "));
    QCOMPARE(read(settings::kBackground), std::string("imgTen"));
    const std::string top = read(settings::kTop);
    const std::string left = read(settings::kLeft);
    QCOMPARE(top, std::to_string(window_->frameGeometry().top() * 15));
    QCOMPARE(left, std::to_string(window_->frameGeometry().left() * 15));

    // Closing again writes nothing more.
    write(settings::kEuro, "changed");
    window_->close();
    QCOMPARE(read(settings::kEuro), std::string("changed"));
    write(settings::kEuro, "12,5");

    start();
    QCOMPARE(euro()->text(), QStringLiteral("12,5"));
    QCOMPARE(national()->text(), QStringLiteral("1.96"));
    QCOMPARE(rateLine()->toolTip(), QStringLiteral(" German Marks "));
    QCOMPARE(flag()->picture().cacheKey(), pictureOf("imgGER"));
    QCOMPARE(background()->picture().cacheKey(), pictureOf("imgTen"));
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00C0C0FF));
    QCOMPARE(QString::number(window_->frameGeometry().top() * 15), QString::fromStdString(top));
    QCOMPARE(euro()->selectedText(), QStringLiteral("12,5"));
  }

  void restoreTakesEachValueByItself() {
    // Flag from the key, rate line from its own value: the flag decides the rate.
    write(settings::kEuro, "1");
    write(settings::kImage, "imgGER");
    write(settings::kDescription, "1 EUR = 40.3399 BEF");
    write(settings::kTooltip, " Belgian Francs ");
    write(settings::kBackground, "imgten");
    start();
    QCOMPARE(national()->text(), QStringLiteral("Error"));
    QCOMPARE(rateLine()->text(), QStringLiteral("1 EUR = 40.3399 BEF"));
    QCOMPARE(flag()->picture().cacheKey(), pictureOf("imgGER"));
    QTest::keyClick(euro(), Qt::Key_Shift);
    QCOMPARE(national()->text(), QStringLiteral("1.96"));
    // A background key in the wrong case applies nothing, and cannot be stepped from.
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00FFC0C0));
    doubleClickBackground();
    QCOMPARE(backgroundKey(), QStringLiteral("imgten"));
    window_->close();
    QCOMPARE(read(settings::kBackground), std::string("imgten"));
    QCOMPARE(read(settings::kCurrency), std::string("1.96"));

    // A key that names no country shows no flag; a double-click then changes nothing.
    write(settings::kImage, "imgXYZ");
    start();
    QVERIFY(flag()->picture().isNull());
    QTest::mouseDClick(flag(), Qt::LeftButton);
    QCOMPARE(key(), QStringLiteral("imgXYZ"));
    window_.reset();

    // "Euro" alone decides the first run, whatever else is stored.
    write(settings::kEuro, "Error");
    start();
    QCOMPARE(national()->text(), QStringLiteral("40.34"));
    QCOMPARE(key(), QStringLiteral("imgBEL"));
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00FFC0C0));
  }

  void positionIsRestoredOrCentred() {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    write(settings::kEuro, "1");
    write(settings::kTop, "1815");
    write(settings::kLeft, "3000");
    start();
    QCOMPARE(window_->frameGeometry().topLeft(), QPoint(200, 121));
    window_.reset();

    write(settings::kTop, "-120");
    write(settings::kLeft, "300");
    start();
    // Centred by the outer size known while loading, before any frame is put around it.
    const QRect frame = window_->frameGeometry();
    QCOMPARE(frame.left(), (screen.width() - window_->width()) / 2);
    QCOMPARE(frame.top(), (screen.height() - window_->height()) / 2);
    window_.reset();

    // Not a number: the designed place stays.
    write(settings::kTop, "Error");
    write(settings::kLeft, "1e39");
    start();
    QCOMPARE(window_->geometry().topLeft(), QPoint(180, 140));
    window_->showMinimized();
    QTRY_VERIFY(window_->isMinimized());
    store_->log.clear();
    window_->close();
    QCOMPARE(store_->log.size(), 8);  // the six texts inside one batch, no position
    QCOMPARE(read(settings::kTop), std::string("Error"));
    QCOMPARE(read(settings::kLeft), std::string("1e39"));
    QCOMPARE(read(settings::kEuro), std::string("1"));
  }

  void startupRefusesASecondCopyAndReportsItsErrors() {
    ui::StartupEnvironment environment;
    environment.checkInstance = [] {
      return ui::StartupEnvironment::InstanceResult{ui::StartupEnvironment::Instance::AlreadyRunning, 0, {}};
    };
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(!window_->Form_Initialize(environment));
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, QStringLiteral("Kestrova is already running."));
    QCOMPARE(messages_[0].caption, QStringLiteral("Kestrova"));
    QCOMPARE(messages_[0].icon, ui::platform::MessageIcon::Information);
    QCOMPARE(store_->Revision(), std::uint64_t(0));

    QCOMPARE(ui::StartupErrorText(339, QStringLiteral("x")),
             QStringLiteral("An Error was generated:\r\nDescription: Error 339 - x\r\n\r\n"
                            "Re-install the program to fix this."));
    QCOMPARE(ui::StartupErrorText(-5, QStringLiteral("y")),
             QStringLiteral("An Error was generated:\r\nDescription: Error-5 - y\r\n\r\n"
                            "Please inform the author with the error description above."));
    QVERIFY(ui::StartupErrorText(50003, QStringLiteral("z"))
                .endsWith(QStringLiteral("or get the latest Dornakits at Quillmere.")));

    // A missing image format, a missing picture and a broken one: one report, the first error.
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("flags"));
    QFile broken(root.filePath(QStringLiteral("flags/imgBEL.gif")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("GIF89a but not really");
    broken.close();
    for (const bool withFormats : {false, true}) {
      messages_.clear();
      ui::StartupEnvironment broken;
      broken.pictureRoot = root.path();
      if (!withFormats) broken.imageFormats = [] { return QByteArrayList{"png", "jpeg"}; };
      window_ = std::make_unique<ui::frmMain>();
      QVERIFY(window_->Form_Initialize(broken));
      QCOMPARE(messages_.size(), 1);
      QCOMPARE(messages_[0].caption, QStringLiteral("Error"));
      QCOMPARE(messages_[0].icon, ui::platform::MessageIcon::None);
      QVERIFY2(messages_[0].text.contains(withFormats ? QStringLiteral("Error 50003 - ")
                                                      : QStringLiteral("Error 339 - ")),
               qPrintable(messages_[0].text));
    }
  }

  void aBackgroundIsCheckedAtStartAndDecodedOnlyWhenAskedFor() {
    QTemporaryDir root;
    for (const char* folder : {"flags", "backgrounds", "pictures"}) {
      QDir(root.path()).mkpath(QString::fromLatin1(folder));
      for (const QString& name : QDir(QStringLiteral(":/%1").arg(folder)).entryList()) {
        QVERIFY(QFile::copy(QStringLiteral(":/%1/%2").arg(folder, name),
                            root.filePath(QStringLiteral("%1/%2").arg(folder, name))));
      }
    }
    // A JPEG start, then nothing a decoder can use.
    const QString tenPath = root.filePath(QStringLiteral("backgrounds/imgTen.jpg"));
    QFile::remove(tenPath);
    QFile ten(tenPath);
    QVERIFY(ten.open(QIODevice::WriteOnly));
    ten.write("\xFF\xD8\xFF not really");
    ten.close();
    QFile::remove(root.filePath(QStringLiteral("backgrounds/imgTwenty.jpg")));

    ui::StartupEnvironment environment;
    environment.pictureRoot = root.path();
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(window_->Form_Initialize(environment));
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].text.contains(QStringLiteral("Error 50003 - Unexpected error loading backgrounds/imgTen.jpg")),
             qPrintable(messages_[0].text));
    QVERIFY(window_->hiddenImage(QStringLiteral("imgTen"))->picture().isNull());
    QVERIFY(window_->hiddenImage(QStringLiteral("imgTwenty"))->picture().isNull());

    // A sound one is read from where it was when first asked for, then kept.
    QFile::remove(root.filePath(QStringLiteral("backgrounds/imgFifty.jpg")));
    QVERIFY(QFile::copy(QStringLiteral(":/backgrounds/imgFive.jpg"), root.filePath(QStringLiteral("backgrounds/imgFifty.jpg"))));
    const QPixmap fifty = window_->hiddenImage(QStringLiteral("imgFifty"))->picture();
    QCOMPARE(fifty.toImage(), window_->hiddenImage(QStringLiteral("imgFive"))->picture().toImage());
    QVERIFY(QFile::remove(root.filePath(QStringLiteral("backgrounds/imgFifty.jpg"))));
    QCOMPARE(window_->hiddenImage(QStringLiteral("imgFifty"))->picture().cacheKey(), fifty.cacheKey());
  }

  void activationFromTheAboutWindowSelectsTheEuroText() {
    start();
    euro()->setText(QStringLiteral("42"));
    national()->setFocus();
    QTimer::singleShot(100, this, [] {
      QWidget* about = QApplication::activeModalWidget();
      QVERIFY(about);
      about->close();
    });
    control<QPushButton>("cmdAbout")->click();
    QTRY_COMPARE(QApplication::focusWidget(), euro());
    QCOMPARE(euro()->selectedText(), QStringLiteral("42"));
  }
};

QTEST_MAIN(FrmMainTest)
#include "frmMain_test.moc"
