#pragma once

#include <QString>
#include <QStringList>

#include <string_view>

namespace kestrova::ui {

// The language Kestrova speaks on a desktop whose languages, most wanted first, are `uiLanguages`
// (as QLocale gives them): the first of them it has texts for, or "en", the language the texts are
// written in, when English comes first or none of them is there.
QString ChooseLanguage(const QStringList& uiLanguages);

// The program's texts and Qt's own in `language` ("de", "el", …) from now on, in place of those of
// an earlier call; "en" needs none.
void UseLanguage(const QString& language);

// A text of one of the tables, marked there for translation in `context`, in the user's language.
QString Translated(const char* context, std::string_view text);

// What a person reads and hears for a stored currency name: a name of the table, whatever its
// blanks, in the user's language with the stored blanks; any other text as it is.
QString ShownCurrencyName(const QString& stored);

}  // namespace kestrova::ui
