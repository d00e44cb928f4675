#include "ui/language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTranslator>

#include <string>

#include "core/currency.h"
#include "ui/units.h"

namespace kestrova::ui {

namespace {

// Compiled in by ui/CMakeLists.txt from translations/ and from Qt's own translations.
QString TranslationFile(const char* name, const QString& language) {
  return QStringLiteral(":/i18n/%1_%2.qm").arg(QLatin1String(name), language);
}

}  // namespace

QString ChooseLanguage(const QStringList& uiLanguages) {
  for (const QString& name : uiLanguages) {
    const QLocale::Language language = QLocale(name).language();
    if (language == QLocale::English) break;
    const QString code = QLocale::languageToCode(language);
    if (QFile::exists(TranslationFile("kestrova", code))) return code;
  }
  return QStringLiteral("en");
}

void UseLanguage(const QString& language) {
  static QTranslator own;
  static QTranslator qt;
  QCoreApplication::removeTranslator(&own);
  QCoreApplication::removeTranslator(&qt);
  if (language == QStringLiteral("en")) return;
  if (own.load(TranslationFile("kestrova", language))) QCoreApplication::installTranslator(&own);
  // Not every language has Qt's own; its texts then stay English.
  if (qt.load(TranslationFile("qtbase", language))) QCoreApplication::installTranslator(&qt);
}

QString Translated(const char* context, std::string_view text) {
  return QCoreApplication::translate(context, std::string(text).c_str());
}

QString ShownCurrencyName(const QString& stored) {
  const QString name = stored.trimmed();
  for (const core::CountryRecord& row : core::CountryTable()) {
    if (name.isEmpty() || Q(row.currencyName).trimmed() != name) continue;
    // A restore drops leading blanks: the blanks shown are the stored ones, not the table's.
    const qsizetype start = stored.indexOf(name);
    return stored.left(start) + Translated("Currency", row.currencyName).trimmed() +
           stored.mid(start + name.size());
  }
  return stored;
}

}  // namespace kestrova::ui
