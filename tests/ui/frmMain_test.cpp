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

#include <functional>
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
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

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
  qint64 pictureOf(const QString& hidden) {
    return window_->hiddenImage(hidden)->picture().cacheKey();
  }
  QAction* entry(const char* name) { return control<QAction>(name); }
  void country(const char* key) { window_->mnuCountry_Click(*core::FindCountryByKey(key)); }

  void write(std::initializer_list<std::pair<std::string_view, std::string>> values) {
    settings::Registry::CreateSettingsKey(kKey);
    for (const auto& [name, value] : values)
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

  // What no key of a plain keyboard types arrives as a whole character, as an input method sends
  // it.
  void type(QWidget* box, const QString& text) {
    box->setFocus();
    for (const char32_t c : text.toUcs4()) {
      if (c < 0x80) {
        QTest::keyClick(box, char(c));
      } else {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                            Qt::NoModifier);
      }
    }
  }

  static void writeFile(const QString& path, const QByteArray& bytes) {
    QFile::remove(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // Presses a key where the focus is and releases it where the focus is then.
  void pressAndRelease(Qt::Key key) {
    QTest::keyPress(QApplication::focusWidget(), key);
    QTest::keyRelease(QApplication::focusWidget(), key);
  }

  // An empty spot of the background, away from every control on it.
  void doubleClickBackground() {
    QTest::mouseDClick(background(), Qt::LeftButton, {}, QPoint(185, 140));
  }

  // Opens the country pop-up with `open` and plays `keys` in it; returns its disabled entries.
  QStringList inPopup(const std::function<void()>& open, QList<Qt::Key> keys,
                      QPoint* shownAt = nullptr) {
    QStringList disabled;
    QTimer::singleShot(50, this, [&] {
      QWidget* popup = QApplication::activePopupWidget();
      QVERIFY(popup);
      if (shownAt) *shownAt = popup->geometry().topLeft();
      for (QAction* action : popup->actions()) {
        if (!action->isEnabled()) disabled << action->objectName();
      }
      for (Qt::Key key : keys) QTest::keyClick(popup, key);
    });
    open();
    return disabled;
  }

 private slots:
  void init() {
    store_ = std::make_unique<RecordingStore>();
    settings::Registry::SetStore(store_.get());
    messages_.clear();
    ui::platform::SetMessageHook(
        [this](const ui::platform::MessageRequest& m) { messages_.append(m); });
  }
  void cleanup() {
    window_.reset();
    settings::Registry::SetStore(nullptr);
    ui::platform::SetMessageHook({});
  }

  void firstRunShowsTheDesignedWindowOnBelgium() {
    start();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Kestrova"));
    QCOMPARE(window_->size(), QSize(204, 162));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    const std::pair<const char*, QRect> places[] = {
        {"SSPanel1", {0, 0, 204, 162}}, {"Picture1", {6, 6, 192, 149}},
        {"txtEURO", {54, 20, 122, 22}}, {"txtCURRENCIES", {54, 50, 122, 22}},
        {"imgFlags", {15, 45, 32, 32}}, {"imgEuro", {15, 15, 32, 32}},
        {"Label1", {56, 77, 115, 17}},  {"cmdAbout", {15, 102, 79, 27}},
        {"cmdExit", {97, 102, 79, 27}}};
    for (const auto& [name, place] : places) QCOMPARE(control<QWidget>(name)->geometry(), place);
    QCOMPARE(control<QPushButton>("cmdAbout")->text(), QStringLiteral("&About"));
    QCOMPARE(control<QPushButton>("cmdExit")->text(), QStringLiteral("E&xit"));
    QCOMPARE(flag()->toolTip(), QStringLiteral(" Double-click "));
    QCOMPARE(control<QWidget>("SSPanel1")->palette().color(QPalette::Window), QColor(0, 128, 128));
    for (const char* hidden : {"lblHIDDENimg", "lblHIDDENbg", "imgDefault", "imgFive",
                               "imgFivehundred", "imgBEL", "imgESP"}) {
      QVERIFY2(!window_->rect().intersects(control<QWidget>(hidden)->geometry()), hidden);
    }
    auto spoken = [this](const char* name) {
      return QAccessible::queryAccessibleInterface(control<QWidget>(name))->text(QAccessible::Name);
    };
    for (const char* visible :
         {"txtEURO", "txtCURRENCIES", "imgFlags", "Picture1", "cmdAbout", "cmdExit"}) {
      QVERIFY2(!spoken(visible).isEmpty(), visible);
    }
    QCOMPARE(spoken("Label1"), rateLine()->text());

    QCOMPARE(euro()->text(), QStringLiteral("1"));
    QCOMPARE(national()->text(), QStringLiteral("40.34"));
    QCOMPARE(rateLine()->text(), QStringLiteral("1 EUR = 40.3399 BEF"));
    QCOMPARE(rateLine()->toolTip(), QStringLiteral(" Belgian Francs "));
    QCOMPARE(key(), QStringLiteral("imgBEL"));
    QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
    QVERIFY(!flag()->picture().isNull());
    QCOMPARE(flag()->picture().cacheKey(), pictureOf("imgBEL"));
    // Own pictures, not imgDefault's, and the two designed colours.
    QVERIFY(!background()->picture().isNull());
    QVERIFY(background()->picture().cacheKey() != pictureOf("imgDefault"));
    QVERIFY(!control<PictureButton>("cmdAbout")->picture().isNull());
    QCOMPARE(control<PictureButton>("cmdAbout")->picture().cacheKey(),
             control<PictureButton>("cmdExit")->picture().cacheKey());
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00FFC0C0));
    QCOMPARE(national()->palette().color(QPalette::Base), Bgr(0x00FFFF00));
    QCOMPARE(euro()->selectedText(), QStringLiteral("1"));
    QCOMPARE(read(settings::kEuro), std::string("Error"));
    QVERIFY(messages_.isEmpty());

    // Tab walks the boxes, the buttons, the background and the flag, in that order.
    QCOMPARE(QApplication::focusWidget(), euro());
    for (const char* next :
         {"txtCURRENCIES", "cmdAbout", "cmdExit", "Picture1", "imgFlags", "txtEURO"}) {
      pressAndRelease(Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
    // The mended first-run text reads whole: one euro's worth converts back to one euro.
    national()->setFocus();
    pressAndRelease(Qt::Key_End);
    QCOMPARE(euro()->text(), QStringLiteral("1"));

    QMenu* menu = window_->countryMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("mnuCountries"));
    QStringList entries, table;
    for (QAction* action : menu->actions()) entries << action->objectName() + '=' + action->text();
    for (const core::CountryRecord& row : core::CountryTable())
      table << Q(row.menuEntry) + '=' + Q(row.caption);
    QCOMPARE(entries, table);
  }

  void typingIsFilteredAndConvertsOnRelease() {
    start();
    struct Typing {
      bool intoEuro;
      const char* before;
      QString typed;
      QList<Qt::Key> keys;
      const char* euro;
      const char* national;
    };
    const Typing cases[] = {
        {true, "", QStringLiteral("12.5"), {}, "12.5", "504.25"},
        {true, "7", QStringLiteral(",- +aZ\u00e9\u20ac\U0001F600"), {}, "7", "282.38"},
        {true, "2", {}, {Qt::Key_Return, Qt::Key_Escape}, "2", "80.68"},
        {true, "25", {}, {Qt::Key_Backspace}, "2", "80.68"},
        {true, "", QStringLiteral("1.2.3"), {}, "1.2.3", "48.41"},  // read as far as it makes sense
        {true, "123", {}, {Qt::Key_Left, Qt::Key_Delete}, "12", "484.08"},
        {false, "", QStringLiteral("40.34"), {}, "1", "40.34"},
    };
    for (const Typing& c : cases) {
      AmountBox* box = c.intoEuro ? euro() : national();
      box->setText(QString::fromUtf8(c.before));
      type(box, c.typed);
      for (Qt::Key key : c.keys) QTest::keyClick(box, key);
      QCOMPARE(euro()->text(), QString::fromUtf8(c.euro));
      QCOMPARE(national()->text(), QString::fromUtf8(c.national));
    }

    // A held key converts once, at its real release.
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

    // Tab's release converts in the box it lands in.
    country("imgGER");
    euro()->clear();
    type(euro(), QStringLiteral("12.345"));
    QCOMPARE(national()->text(), QStringLiteral("24.14"));
    pressAndRelease(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), national());
    QCOMPARE(euro()->text(), QStringLiteral("12.34"));
  }

  void shortcutsAreRefusedAndAboutGivesTheEuroTextBack() {
    start();
    QApplication::clipboard()->setText(QStringLiteral("99"));
    euro()->setText(QStringLiteral("5"));
    type(euro(), QStringLiteral("6"));
    euro()->selectAll();
    const std::pair<Qt::Key, Qt::KeyboardModifier> refused[] = {
        {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_X, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Backspace, Qt::ControlModifier}};
    for (const auto& [key, modifier] : refused) {
      QTest::keyClick(euro(), key, modifier);
      QCOMPARE(euro()->text(), QStringLiteral("56"));
    }
    // Other control combinations type nothing, but Ctrl+H is the backspace character.
    euro()->end(false);
    QTest::keyClick(euro(), Qt::Key_7, Qt::ControlModifier);
    QCOMPARE(euro()->text(), QStringLiteral("56"));
    QTest::keyClick(euro(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(euro()->text(), QStringLiteral("5"));
    type(euro(), QStringLiteral("6"));
    euro()->selectAll();
    QTest::keyClick(euro(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(euro()->selectedText(), QStringLiteral("56"));
    QTest::keyClick(euro(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("56"));

    // Text that arrives without typing is not filtered and waits for the next release.
    const QString before = national()->text();
    euro()->setText(QStringLiteral("-1"));
    window_->applyCountry(*core::FindCountryByKey("imgGER"));
    QCOMPARE(national()->text(), before);
    QTest::keyClick(euro(), Qt::Key_Shift);
    QCOMPARE(national()->text(), QStringLiteral("-1.96"));

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

  void doubleClicksCycleTheTwelveFlagsAndTheEightBackgrounds() {
    start();
    euro()->setText(QStringLiteral("100"));
    for (const char* next : {"imgGER", "imgFIN", "imgFRA", "imgGRI", "imgIER", "imgITA", "imgLUX",
                             "imgNED", "imgATS", "imgPOR", "imgESP", "imgBEL"}) {
      QTest::mouseDClick(flag(), Qt::LeftButton);
      const core::CountryRecord* row = core::FindCountryByKey(next);
      QCOMPARE(key(), QString::fromLatin1(next));
      QCOMPARE(flag()->picture().cacheKey(), pictureOf(key()));
      QCOMPARE(flag()->accessibleDescription(), Q(row->caption));
      QCOMPARE(rateLine()->text(), Q(row->rateLine));
      QCOMPARE(rateLine()->toolTip(), Q(row->currencyName));
    }
    QCOMPARE(euro()->text(), QStringLiteral("100"));
    QCOMPARE(national()->text(), QStringLiteral("4033.99"));

    // A menu entry converts the same euro amount at its own rate.
    country("imgATS");
    entry("mnuGreece")->trigger();
    QCOMPARE(euro()->text(), QStringLiteral("100"));
    QCOMPARE(national()->text(), QStringLiteral("34075"));
    QCOMPARE(rateLine()->toolTip(), QStringLiteral(" Greek Drachmas "));
    QCOMPARE(key(), QStringLiteral("imgGRI"));

    euro()->setText(QStringLiteral("9"));
    const QString national = this->national()->text();
    for (const ui::BackgroundRecord& row : ui::kBackgrounds) {
      const auto expected = &ui::NextBackground(row);
      doubleClickBackground();
      QCOMPARE(backgroundKey(), Q(expected->key));
      const qint64 picture = pictureOf(backgroundKey());
      QCOMPARE(background()->picture().cacheKey(), picture);
      for (const char* button : {"cmdAbout", "cmdExit"}) {
        QCOMPARE(control<PictureButton>(button)->picture().cacheKey(), picture);
      }
      QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(expected->boxColour));
      QCOMPARE(this->national()->palette().color(QPalette::Base), Bgr(expected->boxColour));
    }
    QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
    QCOMPARE(euro()->text(), QStringLiteral("9"));
    QCOMPARE(this->national()->text(), national);
    QCOMPARE(key(), QStringLiteral("imgGRI"));

    // Double-clicks on the controls lying on the background are theirs, not the background's.
    for (const char* name : {"Label1", "txtEURO", "cmdAbout", "imgEuro", "imgFlags"}) {
      QTest::mouseDClick(control<QWidget>(name), Qt::LeftButton);
      QCOMPARE(backgroundKey(), QStringLiteral("imgDefault"));
    }
  }

  void theFlagsMenuDisablesTheCountryOnShowAndAStrangeFlagIsNone() {
    start();
    country("imgITA");
    auto rightPress = [this] { QTest::mousePress(flag(), Qt::RightButton); };
    const QList<Qt::Key> toFrance = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                                     Qt::Key_Return};
    QCOMPARE(inPopup(rightPress, toFrance), QStringList{QStringLiteral("mnuItaly")});
    QCOMPARE(key(), QStringLiteral("imgFRA"));
    QVERIFY(entry("mnuItaly")->isEnabled());

    // Dismissed without a choice: the entry on show stays disabled.
    inPopup(rightPress, {Qt::Key_Escape});
    QVERIFY(!entry("mnuFrance")->isEnabled());
    QCOMPARE(key(), QStringLiteral("imgFRA"));

    // Left and middle presses show nothing and change no entry.
    QTest::mousePress(flag(), Qt::LeftButton);
    QTest::mouseRelease(flag(), Qt::LeftButton);
    QTest::mousePress(flag(), Qt::MiddleButton);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QVERIFY(!entry("mnuFrance")->isEnabled());
    QVERIFY(entry("mnuBelgium")->isEnabled());

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
    QTest::mouseDClick(flag(), Qt::LeftButton);
    QCOMPARE(flag()->picture().cacheKey(), shown);
    QCOMPARE(key(), QStringLiteral("imgFRA"));
    QVERIFY(entry("mnuFrance")->isEnabled());

    flag()->setPicture(QPixmap());
    QVERIFY(window_->findCountryByFlag() == nullptr);
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

    // Both menu keys open the pop-up under the flag; Down and Enter choose the first entry
    // that can be chosen.
    const std::tuple<Qt::Key, Qt::KeyboardModifier, const char*, const char*> menuKeys[] = {
        {Qt::Key_Menu, Qt::NoModifier, "mnuFrance", "imgBEL"},
        {Qt::Key_F10, Qt::ShiftModifier, "mnuBelgium", "imgGER"}};
    for (const auto& [menuKey, modifier, disabled, chosen] : menuKeys) {
      QPoint shownAt;
      QCOMPARE(inPopup([&] { QTest::keyClick(flag(), menuKey, modifier); },
                       {Qt::Key_Down, Qt::Key_Return}, &shownAt),
               QStringList{QString::fromLatin1(disabled)});
      QCOMPARE(shownAt, flag()->mapToGlobal(QPoint(0, flag()->height())));
      QCOMPARE(key(), QString::fromLatin1(chosen));
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
    QTimer::singleShot(50, this,
                       [] { QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape); });
    flagReader->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(!entry("mnuGermany")->isEnabled());
  }

  void closeWritesTheEightValuesAndStartRestoresEachByItself() {
    start();
    country("imgGER");
    euro()->setText(QStringLiteral("12,5"));
    doubleClickBackground();
    doubleClickBackground();
    window_->move(300, 200);
    store_->log.clear();
    window_->close();
    QCOMPARE(store_->log,
             QStringList({"begin", "set Top", "set Left", "set Euro", "set Currency", "set Image",
                          "set Description", "set Tooltip", "set Background", "commit"}));
    const std::string top = std::to_string(window_->frameGeometry().top() * 15);
    const std::pair<std::string_view, std::string> saved[] = {
        {settings::kEuro, "12,5"},
        {settings::kCurrency, "1.96"},
        {settings::kImage, "imgGER"},
        {settings::kDescription, "1 EUR = 1.95583 DEM"},
        {settings::kTooltip, " German Marks "},
        {settings::kBackground, "imgTen"},
        {settings::kTop, top},
        {settings::kLeft, std::to_string(window_->frameGeometry().left() * 15)}};
    for (const auto& [name, value] : saved) QCOMPARE(read(name), value);

    // Closing again writes nothing more.
    write({{settings::kEuro, "changed"}});
    window_->close();
    QCOMPARE(read(settings::kEuro), std::string("changed"));
    write({{settings::kEuro, "12,5"}});

    start();
    QCOMPARE(euro()->text(), QStringLiteral("12,5"));
    QCOMPARE(national()->text(), QStringLiteral("1.96"));
    QCOMPARE(rateLine()->toolTip(), QStringLiteral(" German Marks "));
    QCOMPARE(flag()->picture().cacheKey(), pictureOf("imgGER"));
    QCOMPARE(background()->picture().cacheKey(), pictureOf("imgTen"));
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00C0C0FF));
    QCOMPARE(std::to_string(window_->frameGeometry().top() * 15), top);
    QCOMPARE(euro()->selectedText(), QStringLiteral("12,5"));

    // Each value is restored by itself: the flag from its key, the rate line from its own value.
    window_.reset();
    init();
    write({{settings::kEuro, "1"},
           {settings::kImage, "imgGER"},
           {settings::kDescription, "1 EUR = 40.3399 BEF"},
           {settings::kTooltip, " Belgian Francs "},
           {settings::kBackground, "imgten"}});
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
    write({{settings::kImage, "imgXYZ"}});
    start();
    QVERIFY(flag()->picture().isNull());
    QTest::mouseDClick(flag(), Qt::LeftButton);
    QCOMPARE(key(), QStringLiteral("imgXYZ"));

    // "Euro" alone decides the first run, whatever else is stored.
    write({{settings::kEuro, "Error"}});
    start();
    QCOMPARE(national()->text(), QStringLiteral("40.34"));
    QCOMPARE(key(), QStringLiteral("imgBEL"));
    QCOMPARE(euro()->palette().color(QPalette::Base), Bgr(0x00FFC0C0));

    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    write({{settings::kEuro, "1"}, {settings::kTop, "1815"}, {settings::kLeft, "3000"}});
    start();
    QCOMPARE(window_->frameGeometry().topLeft(), QPoint(200, 121));

    write({{settings::kTop, "-120"}, {settings::kLeft, "300"}});
    start();
    // Centred by the outer size known while loading, before any frame is put around it.
    QCOMPARE(window_->frameGeometry().topLeft(), QPoint((screen.width() - window_->width()) / 2,
                                                        (screen.height() - window_->height()) / 2));

    // Not a number: the designed place stays.
    write({{settings::kTop, "Error"}, {settings::kLeft, "1e39"}});
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

    // A comma locale still shows points and saves whole twips.
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    start();
    country("imgGER");
    euro()->clear();
    type(euro(), QStringLiteral("100"));
    QCOMPARE(national()->text(), QStringLiteral("195.58"));
    window_->move(10, 20);
    window_->close();
    QLocale::setDefault(locale);
    QCOMPARE(read(settings::kTop), std::string("300"));
  }

  void startupRefusesASecondCopyAndReportsItsErrors() {
    ui::StartupEnvironment environment;
    environment.checkInstance = [] {
      return ui::StartupEnvironment::InstanceResult{
          ui::StartupEnvironment::Instance::AlreadyRunning, 0, {}};
    };
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(!window_->Form_Initialize(environment));
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, QStringLiteral("Kestrova is already running."));
    QCOMPARE(messages_[0].caption, QStringLiteral("Kestrova"));
    QCOMPARE(messages_[0].icon, ui::platform::MessageIcon::Information);
    QCOMPARE(store_->Revision(), std::uint64_t(0));

    const std::pair<int, const char*> reports[] = {
        {339, " 339 - x\r\n\r\nRe-install the program to fix this."},
        {-5, "-5 - x\r\n\r\nPlease inform the author with the error description above."},
        {50003,
         " 50003 - x\r\n\r\nRe-install the program to fix this, or get the latest Dornakits at "
         "Quillmere."}};
    for (const auto& [number, report] : reports) {
      QCOMPARE(ui::StartupErrorText(number, QStringLiteral("x")),
               QStringLiteral("An Error was generated:\r\nDescription: Error") +
                   QString::fromLatin1(report));
    }

    // A missing image format, a missing picture and a broken one: one report, the first error.
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("flags"));
    writeFile(root.filePath(QStringLiteral("flags/imgBEL.gif")), "GIF89a but not really");
    for (const bool withFormats : {false, true}) {
      messages_.clear();
      environment = {};
      environment.pictureRoot = root.path();
      if (!withFormats) environment.imageFormats = [] { return QByteArrayList{"png", "jpeg"}; };
      window_ = std::make_unique<ui::frmMain>();
      QVERIFY(window_->Form_Initialize(environment));
      QCOMPARE(messages_.size(), 1);
      QCOMPARE(messages_[0].caption, QStringLiteral("Error"));
      QCOMPARE(messages_[0].icon, ui::platform::MessageIcon::None);
      QVERIFY2(messages_[0].text.contains(withFormats ? QStringLiteral("Error 50003 - ")
                                                      : QStringLiteral("Error 339 - ")),
               qPrintable(messages_[0].text));
    }

    // A background is checked at start, and decoded only when first asked for.
    messages_.clear();
    QTemporaryDir full;
    const auto path = [&](const char* relative) {
      return full.filePath(QString::fromLatin1(relative));
    };
    for (const char* folder : {"flags", "backgrounds", "pictures"}) {
      QDir(full.path()).mkpath(QString::fromLatin1(folder));
      for (const QString& name : QDir(QStringLiteral(":/%1").arg(folder)).entryList()) {
        QVERIFY(QFile::copy(QStringLiteral(":/%1/%2").arg(folder, name),
                            full.filePath(QStringLiteral("%1/%2").arg(folder, name))));
      }
    }
    // A JPEG start, then nothing a decoder can use.
    writeFile(path("backgrounds/imgTen.jpg"), "\xFF\xD8\xFF not really");
    QFile::remove(path("backgrounds/imgTwenty.jpg"));

    environment = {};
    environment.pictureRoot = full.path();
    window_ = std::make_unique<ui::frmMain>();
    QVERIFY(window_->Form_Initialize(environment));
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].text.contains(
                 QStringLiteral("Error 50003 - Unexpected error loading backgrounds/imgTen.jpg")),
             qPrintable(messages_[0].text));
    auto picture = [this](const char* key) {
      return window_->hiddenImage(QString::fromLatin1(key))->picture();
    };
    QVERIFY(picture("imgTen").isNull());
    QVERIFY(picture("imgTwenty").isNull());

    // A sound one is read from where it was when first asked for, then kept.
    QFile::remove(path("backgrounds/imgFifty.jpg"));
    QVERIFY(
        QFile::copy(QStringLiteral(":/backgrounds/imgFive.jpg"), path("backgrounds/imgFifty.jpg")));
    const QPixmap fifty = picture("imgFifty");
    QCOMPARE(fifty.toImage(), picture("imgFive").toImage());
    QVERIFY(QFile::remove(path("backgrounds/imgFifty.jpg")));
    QCOMPARE(picture("imgFifty").cacheKey(), fifty.cacheKey());
  }
};

QTEST_MAIN(FrmMainTest)
#include "frmMain_test.moc"
