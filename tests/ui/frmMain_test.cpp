// Drives the main window with real key and mouse events on the offscreen platform; the settings
// live in memory. The density test also runs at double density (see CMakeLists.txt).
#include <QtTest>
#include <QtWidgets>

#include "settings/MemoryStore.h"
#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/units.h"
#include "ui/widgets.h"

using namespace kestrova;
using ui::AmountBox;

namespace {
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
const std::string kKey(settings::kSettingsKey);

// Remembers the names the window writes, and its batch, in order.
struct RecordingStore : settings::MemoryStore {
  QStringList log;
  settings::Status SetValue(settings::KeyHandle key, const std::string& name,
                            const std::string& value) override {
    log << QString::fromStdString(name);
    return MemoryStore::SetValue(key, name, value);
  }
  void BeginBatch() override { log << QStringLiteral("begin"); }
  settings::Status CommitBatch() override { return log << QStringLiteral("commit"), 0; }
};
}  // namespace

class FrmMainTest : public QObject {
  Q_OBJECT
  std::unique_ptr<RecordingStore> store_;
  std::unique_ptr<ui::frmMain> window_;
  QList<ui::platform::MessageRequest> messages_;

  template <typename T = QWidget>
  T* control(const char* name) {
    if (T* found = window_->findChild<T*>(QString::fromLatin1(name))) return found;
    qFatal("no control %s", name);
  }
  AmountBox* euro() { return control<AmountBox>("txtEURO"); }
  AmountBox* national() { return control<AmountBox>("txtCURRENCIES"); }
  ui::ImageBox* flag() { return control<ui::ImageBox>("imgFlags"); }
  QString label(const char* name) { return control<QLabel>(name)->text(); }
  QString amounts() { return euro()->text() + '|' + national()->text(); }
  qint64 hidden(std::string_view key) { return window_->hiddenImage(Q(key))->picture().cacheKey(); }
  void onBackground() { QTest::mouseDClick(control("Picture1"), Qt::LeftButton, {}, {185, 140}); }

  // "Name=value|…" into the store; the eight values out of it, in the same form.
  void store(const QString& values) {
    settings::Registry::CreateSettingsKey(kKey);
    for (const QString& value : values.split('|'))
      settings::Registry::WriteSettingValue(kKey, value.section('=', 0, 0).toStdString(),
                                            value.section('=', 1).toStdString());
  }
  QString stored(int from = 0, int to = 7) {
    QStringList values;
    for (const auto& saved : ui::frmMain::SavedValues()) {
      const auto value = settings::Registry::ReadSettingValue(kKey, std::string(saved.name));
      values << Q(saved.name) + '=' + Q(value.value_or(""));
    }
    return values.mid(from, to - from + 1).join('|');
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
  // Each character whole, as an input method sends it: the filter sees its text, not its key.
  void type(QWidget* box, const QString& text) {
    for (const char32_t c : text.toUcs4())
      QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUcs4(&c, 1), {});
  }
 private slots:
  void init() {
    store_ = std::make_unique<RecordingStore>();
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
      AmountBox* box = c.intoEuro ? euro() : national();
      if (c.before) box->setText(QString::fromUtf8(c.before));
      type(box, QString::fromUtf8(c.typed));
      for (const QKeySequence& keys : QKeySequence::listFromString(c.keys))
        QTest::keySequence(box, keys);
      QCOMPARE(amounts(), QString(c.after));
    }
    // A held key converts once, at its real release.
    euro()->clear();
    for (int i = 0; i < 3; ++i) {
      QTest::sendKeyEvent(QTest::Press, euro(), Qt::Key_4, QStringLiteral("4"), {});
      QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_4, {}, QStringLiteral("4"), true);
      QApplication::sendEvent(euro(), &repeat);
    }
    QCOMPARE(amounts(), QStringLiteral("444|"));
    QTest::keyRelease(euro(), Qt::Key_4);
    QCOMPARE(amounts(), QStringLiteral("444|17910.92"));
    // Pasted text is not cut and waits for a release; an amount too large leaves the other box.
    for (const QString& text : {QString(99999, '0') + '2', QString(100000, '9')}) {
      euro()->clear();
      national()->setText(QStringLiteral("waits"));
      QApplication::clipboard()->setText(text);
      euro()->paste();  // what the box's own menu does
      QCOMPARE(amounts(), text + "|waits");
      QTest::keyClick(euro(), Qt::Key_Shift);
      QCOMPARE(national()->text(), text.startsWith('0') ? QStringLiteral("80.68") : "waits");
    }
  }

  void countriesComeFromTheMenuAndTheFlag() {
    start();
    euro()->setText(QStringLiteral("100"));
    // Each entry runs its own handler onto the shared step: the same euro at the entry's rate.
    for (QAction* entry : window_->countryMenu()->actions()) {
      entry->trigger();
      const core::CountryRecord* row = core::FindCountryByKey(label("lblHIDDENimg").toStdString());
      QCOMPARE(flag()->picture().cacheKey(), hidden(row->flagKey));
      QCOMPARE(entry->objectName() + label("Label1") + control<QLabel>("Label1")->toolTip(),
               Q(row->menuEntry) + Q(row->rateLine) + Q(row->currencyName));
    }
    window_->mnuPortugal_Click();
    QCOMPARE(amounts(), QStringLiteral("100|20048.2"));
    // The pop-up opens at the press without the entry on show; held Space steps once.
    QString seen;
    QTimer::singleShot(50, this, [&] {
      QWidget* popup = QApplication::activePopupWidget();
      QVERIFY(popup);
      for (QAction* action : popup->actions())
        if (!action->isEnabled()) seen += action->objectName() + ' ';
      const QPoint at = flag()->mapFromGlobal(popup->pos());
      seen += QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
      QTest::keyClick(popup, Qt::Key_Escape);
    });
    QTest::mousePress(flag(), Qt::RightButton, {}, {7, 9});
    QCOMPARE(seen, QStringLiteral("mnuPortugal 7,9"));
    flag()->setFocus(Qt::TabFocusReason);
    int popups = 0;  // only the Menu key and Shift+F10 open it from the keyboard
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close(), ++popups;
    });
    closer.start(20);
    for (const char* keys : {"F10", "Ctrl+Menu", "A", "Shift+F10", "Menu"})
      QTest::keySequence(flag(), QKeySequence(QString::fromLatin1(keys)));
    QCOMPARE(popups, 2);
    QTest::keyClick(flag(), Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, {}, QStringLiteral(" "), true);
    QApplication::sendEvent(flag(), &repeat);
    QVERIFY(label("lblHIDDENimg") == "imgESP" && control<QAction>("mnuPortugal")->isEnabled());
    // Same pixels, other picture: no country to step from or convert with; the comma is mended.
    flag()->setPicture(window_->hiddenImage("imgBEL")->picture().copy());
    QTest::mouseDClick(flag(), Qt::LeftButton);
    national()->setText(QStringLiteral("7,5"));
    QTest::keyClick(euro(), Qt::Key_Shift);
    QCOMPARE(label("lblHIDDENimg") + amounts(), QStringLiteral("imgESP100|7.5"));
  }

  void aCloseSavesOnceAndEachValueComesBackByItself() {
    start();
    window_->mnuGermany_Click();
    euro()->setText(QStringLiteral("12,5"));
    onBackground();
    window_->move(300, 200);
    store_->log.clear();
    window_->close();
    window_->close();  // once only
    QCOMPARE(store_->log.join(' '),
             "begin Top Left Euro Currency Image Description Tooltip Background commit");
    QCOMPARE(stored(),
             "Top=3000|Left=4500|Euro=12,5|Currency=1.96|Image=imgGER|Description="
             "1 EUR = 1.95583 DEM|Tooltip= German Marks |Background=imgFive");
    // Odd stored values, each by itself: keys that name nothing show and step nothing, a place
    // off the screen is centred, one that is no number unused; a minimised close keeps the place.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint centred((screen.width() - 204) / 2, (screen.height() - 162) / 2);
    const struct {
      const char* values;
      QPoint frame;       // none: the client area where the design puts it
      const char* shows;  // the flag, the theme, the national box after a release
    } odd[] = {
        {"Image=imgGER|Background=imgten|Top=0|Left=3000", {200, 0}, "flag - 1.96"},
        {"Image=imgXYZ|Top=-120|Left=300", centred, "- theme Error"},
        {"Top=Error|Left=1e39", {}, "flag theme 40.34"},
    };
    for (const auto& c : odd) {
      init();
      store("Euro=1|Image=imgBEL|Background=imgTen|" + QString(c.values));
      start();
      QCOMPARE(
          c.frame.isNull() ? window_->geometry().topLeft() : window_->frameGeometry().topLeft(),
          c.frame.isNull() ? QPoint(180, 140) : c.frame);
      QCOMPARE(national()->text(), QStringLiteral("Error"));  // not stored: read as "Error"
      const bool themed = euro()->palette().color(QPalette::Base) == ui::ColorFromBgr(0x00C0C0FF);
      QTest::keyClick(euro(), Qt::Key_Shift);
      const QString shown = flag()->picture().isNull() ? "-" : "flag";
      QCOMPARE(shown + (themed ? " theme " : " - ") + national()->text(), c.shows);
      const QString place = stored(0, 1), image = stored(4, 4), background = stored(7, 7);
      onBackground();
      QTest::mouseDClick(flag(), Qt::LeftButton);
      window_->showMinimized();
      QTRY_VERIFY(window_->isMinimized());
      window_->close();
      QVERIFY(stored(0, 1) == place && (stored(7, 7) == background) != themed);
      QVERIFY((stored(4, 4) == image) == flag()->picture().isNull());
    }
    // Where the platform does not tell the window's place, none is read, made up or written.
    store(QStringLiteral("Euro=3|Top=-120|Left=2400"));
    ui::StartupEnvironment wayland;
    wayland.knowsWindowPlace = [] { return false; };
    start(wayland);
    QCOMPARE(window_->geometry().topLeft(), QPoint(180, 140));
    window_->close();
    QCOMPARE(stored(0, 2), QStringLiteral("Top=-120|Left=2400|Euro=3"));
  }

  void startupReportsItsFirstError() {
    for (const auto& [number, advice] :
         {std::pair{339, " 339 - x\r\n\r\nRe-install the program to fix this."},
          {-5, "-5 - x\r\n\r\nPlease inform the author with the error description above."},
          {50003,
           " 50003 - x\r\n\r\nRe-install the program to fix this, or get the latest "
           "Dornakits at Quillmere."}})
      QCOMPARE(ui::StartupErrorText(number, "x"),
               "An Error was generated:\r\nDescription: Error" + QString(advice));

    // A broken flag, a background that is no JPEG, the rest missing: one report, the first.
    QTemporaryDir root;
    auto put = [&](const QString& file, const QByteArray& bytes) {
      QDir(root.path()).mkpath(file.section('/', 0, 0));
      QFile out(root.filePath(file));
      QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) > 0);
    };
    put("flags/imgBEL.gif", "GIF89a but not really");
    put("backgrounds/imgTen.jpg", "\xFF\xD8\xFF not really");
    for (const auto& [formats, first] :
         {std::pair{QByteArrayList{"png", "jpeg"}, "Error 339 - Component 'GIF image support'"},
          {QImageReader::supportedImageFormats(),
           "Error 50003 - Unexpected error loading flags/imgBEL.gif"}}) {
      messages_.clear();
      ui::StartupEnvironment environment;
      environment.pictureRoot = root.path();
      environment.imageFormats = [formats = formats] { return formats; };
      window_ = std::make_unique<ui::frmMain>();
      QVERIFY(window_->Form_Initialize(environment));
      QCOMPARE(messages_.size(), 1);
      QVERIFY2(messages_[0].caption == "Error" && messages_[0].text.contains(first),
               qPrintable(messages_[0].text));
    }
    QVERIFY(window_->hiddenImage("imgBEL")->picture().isNull());
    QVERIFY(window_->hiddenImage("imgTen")->picture().isNull());
  }

  // Every picture at the screen's density in its designed size, shown unscaled.
  void picturesFollowTheScreensDensity() {
    start();
    const qreal ratio = qApp->devicePixelRatio();
    QList<std::pair<QPixmap, QString>> pictures{
        {window_->windowIcon().pixmap(32), "pictures/kestrova.ico"},
        {control<ui::PictureButton>("cmdExit")->picture(), "pictures/buttonface.jpg"}};
    for (const core::CountryRecord& row : core::CountryTable())
      pictures.append(
          {window_->hiddenImage(Q(row.flagKey))->picture(), "flags/" + Q(row.flagKey) + ".gif"});
    for (const ui::BackgroundRecord& row : ui::kBackgrounds)
      pictures.append(
          {window_->hiddenImage(Q(row.key))->picture(), "backgrounds/" + Q(row.key) + ".jpg"});
    for (const auto& [picture, file] : pictures)
      QVERIFY2(picture.devicePixelRatio() == ratio &&
                   picture.deviceIndependentSize() == QSizeF(QImage(":/" + file).size()),
               qPrintable(file));
    for (ui::ImageBox* holder : window_->findChildren<ui::ImageBox*>())  // sized as their pictures
      if (window_->hiddenImage(holder->objectName()) == holder)
        QCOMPARE(QSizeF(holder->size()), holder->picture().deviceIndependentSize());
    const QString file = ratio > 1 ? ":/flags/imgBEL@2x.gif" : ":/flags/imgBEL.gif";
    const QRect field(0, int(6 * ratio), int(32 * ratio), int(20 * ratio));  // its opaque rows
    QCOMPARE(flag()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(field),
             QImage(file).convertToFormat(QImage::Format_RGB32).copy(field));
  }
};

QTEST_MAIN(FrmMainTest)
#include "frmMain_test.moc"
