// Each language on the offscreen windows: what a person reads or hears is that language's (or
// data), no text is cut or shrunk, and what a close keeps is what it keeps in English.
#include <QtTest>
#include <QtWidgets>

#include "settings/MemoryStore.h"
#include "settings/Persisted.h"
#include "settings/Registry.h"
#include "ui/frmMain.h"
#include "ui/frmabout.h"
#include "ui/language.h"

using namespace kestrova;
using namespace Qt::StringLiterals;

namespace {
// The name, the author, amounts, rate lines, the rights line, the homepage: the same everywhere.
const QRegularExpression kData(u"^(Kestrova|Venstrup|[0-9.]*|1 EUR = .*|© .*|https://.*|)$"_s);

QString Plain(QString text) { return text.remove('&').trimmed(); }

// What a screen reader is offered: everything named, nothing that only holds or decorates.
void Spoken(QAccessibleInterface* node, QStringList& texts) {
  QVERIFY2(!node->text(QAccessible::Name).isEmpty(), node->object()->objectName().toLatin1());
  texts << node->text(QAccessible::Name) << node->text(QAccessible::Description);
  for (int i = 0; i < node->childCount(); ++i) Spoken(node->child(i), texts);
}
}  // namespace

class LanguagesTest : public QObject {
  Q_OBJECT
  std::optional<settings::MemoryStore> store_;

  // Over a file of an earlier version (its tooltip lost its leading blank), a start that only
  // closes, then one that picks Greece: what each close wrote. `look` sees the first window.
  QStringList closes(const QString& language, const std::function<void(ui::frmMain&)>& look) {
    ui::UseLanguage(language);
    settings::Registry::SetStore(&store_.emplace());
    const std::string key(settings::kSettingsKey);
    settings::Registry::CreateSettingsKey(key);
    QStringList written =
        u"1500|3000|100|195.58|imgGER|1 EUR = 1.95583 DEM|German Marks |imgFive"_s.split('|');
    for (const auto& saved : ui::frmMain::SavedValues())
      settings::Registry::WriteSettingValue(key, std::string(saved.name),
                                            written.takeFirst().toStdString());
    for (const bool first : {true, false}) {
      ui::frmMain window;
      window.Form_Initialize();
      window.Form_Load();
      window.show();
      first ? look(window) : window.findChild<QAction*>("mnuGreece")->trigger();
      window.close();
      for (const auto& saved : ui::frmMain::SavedValues())
        written << QString::fromStdString(
            *settings::Registry::ReadSettingValue(key, std::string(saved.name)));
    }
    return written;
  }

 private slots:
  void eachLanguage_data() {
    QTest::addColumn<bool>("qtToo");  // whether Qt's own texts (an amount box's menu) are there
    for (const char* language : {"de", "fr", "nl", "it", "es", "pt", "fi", "sv", "el"})
      QTest::newRow(language) << !QByteArray("sv el").contains(language);
  }
  void eachLanguage() {
    QFETCH(bool, qtToo);
    const QString language = QTest::currentDataTag();
    // The desktop's first language that is here; English first, or none of them, gives English.
    QCOMPARE(ui::ChooseLanguage({u"ru"_s, language + u"_AT"_s}) + ui::ChooseLanguage({u"ru"_s}) +
                 ui::ChooseLanguage({u"en_GB"_s, language}),
             language + u"enen"_s);
    QFile file(QStringLiteral(KESTROVA_TS_DIR "/kestrova_%1.ts").arg(language));
    QStringList translations;  // %1… stand for any text
    for (QXmlStreamReader ts(file.open(QIODevice::ReadOnly) ? &file : nullptr); !ts.atEnd();) {
      if (ts.readNext() != QXmlStreamReader::StartElement || ts.name() != u"translation") continue;
      QStringList parts = Plain(ts.readElementText()).split(QRegularExpression(u"%\\d"_s));
      for (QString& part : parts) part = QRegularExpression::escape(part);
      translations << parts.join(u".*");
    }
    const QRegularExpression translation(u"^(%1)$"_s.arg(translations.join('|')));
    const QStringList english = closes(u"en"_s, [](ui::frmMain&) {});
    const QStringList written = closes(language, [&](ui::frmMain& window) {
      QVERIFY(!qtToo || QCoreApplication::translate("QLineEdit", "&Copy") != u"&Copy"_s);
      QStringList texts = ui::StartupErrorText(ui::kErrorComponentMissing, {})
                              .split(QRegularExpression(u"( -?\\d+)? - |\r\n"_s));
      texts << window.countryMenu()->title();
      for (const QAction* entry : window.countryMenu()->actions()) texts << entry->text();
      ui::frmabout about(&window);
      for (QWidget* top : std::initializer_list<QWidget*>{&window, &about}) {
        Spoken(QAccessible::queryAccessibleInterface(top), texts);
        for (QWidget* control : top->findChildren<QWidget*>()) {
          QHelpEvent hover(QEvent::ToolTip, {1, 1}, control->mapToGlobal(QPoint(1, 1)));
          QApplication::sendEvent(control, &hover);
          texts << QToolTip::text();
          const QString shown = control->property("text").toString();  // labels, buttons
          if (!translation.match(Plain(shown)).hasMatch()) continue;  // data, and what holders hold
          const int room = std::min(control->contentsRect().width(),
                                    top->width() - control->mapTo(top, QPoint()).x());
          QVERIFY2(QFontMetrics(control->font()).horizontalAdvance(Plain(shown)) <= room &&
                       control->font().pointSizeF() >= top->font().pointSizeF(),
                   qPrintable(shown));
        }
      }
      for (const QString& text : texts)
        QVERIFY2(kData.match(Plain(text)).hasMatch() || translation.match(Plain(text)).hasMatch(),
                 qPrintable(text));
    });
    QCOMPARE(written, english);
  }
};

QTEST_MAIN(LanguagesTest)
#include "languages_test.moc"
