#pragma once
#include <QApplication>
#include <QLocale>
#include <QString>

namespace penmac::qt {

// The translation of the application's texts (Tr) for LOCALE: one of "en",
// "fr", "de", "es", "zh_CN", "zh_TW" - the languages the Windows edition
// ships. Traditional Chinese for Taiwan, Hong Kong, Macao and the
// Traditional script, Simplified Chinese for any other Chinese; English for
// every language without a translation of its own.
QString TranslationFor(const QLocale& locale);

// Installs the translation of the user's languages (QLocale's uiLanguages,
// in their order of preference; the first one translated wins, else English)
// into APP, in place of any installed before, together with Qt's own texts
// (standard buttons, dialogs) for that language when the system has them.
// Returns the translation chosen, as TranslationFor names it. The
// translations are built into the program, so this never depends on where
// it is installed.
QString InstallTranslator(QApplication& app, const QLocale& locale = QLocale::system());

}  // namespace penmac::qt
