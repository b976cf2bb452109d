#include "mac/qt/Translations.h"

#include <QLibraryInfo>
#include <QTranslator>


namespace penmac::qt {

namespace {

// Texts the core hands to the application to show as they stand (the
// device name while no tablet is connected, the whole desktop's name in the
// screen window). They reach Tr() through a variable, so they are listed
// here for the translation files to keep them.
[[maybe_unused]] constexpr const char* kCoreTexts[] = {
    QT_TRANSLATE_NOOP("penmac", "Tablet Disconnected!"),
    QT_TRANSLATE_NOOP("penmac", "Multi Screens"),
    QT_TRANSLATE_NOOP("penmac", "Multi-Screen"),
    QT_TRANSLATE_NOOP("penmac", "Map Tablet to Multi-Screen"),
};

constexpr const char* kOwnName = "penmac-translator";
constexpr const char* kQtName = "penmac-qt-translator";

void RemoveInstalled(QApplication& app, const char* name) {
  for (auto* t : app.findChildren<QTranslator*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly)) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace

QString TranslationFor(const QLocale& locale) {
  switch (locale.language()) {
    case QLocale::Chinese: {
      const auto where = locale.territory();
      const bool traditional = locale.script() == QLocale::TraditionalHanScript || where == QLocale::Taiwan ||
                               where == QLocale::HongKong || where == QLocale::Macao;
      return traditional ? QStringLiteral("zh_TW") : QStringLiteral("zh_CN");
    }
    case QLocale::French: return QStringLiteral("fr");
    case QLocale::German: return QStringLiteral("de");
    case QLocale::Spanish: return QStringLiteral("es");
    default: return QStringLiteral("en");
  }
}

QString InstallTranslator(QApplication& app, const QLocale& locale) {
  // The first of the user's languages that has a translation; a system
  // language without one (Japanese, say) with German as second choice gets
  // German, and English only when none of them has one.
  QString chosen = QStringLiteral("en");
  QLocale chosenLocale(QLocale::English);
  for (const QString& name : locale.uiLanguages()) {
    const QLocale candidate(name);
    if (candidate.language() == QLocale::English) break;
    const QString lang = TranslationFor(candidate);
    if (lang != QLatin1String("en")) {
      chosen = lang;
      chosenLocale = candidate;
      break;
    }
  }

  RemoveInstalled(app, kOwnName);
  RemoveInstalled(app, kQtName);

  auto* own = new QTranslator(&app);
  own->setObjectName(QString::fromLatin1(kOwnName));
  if (own->load(QStringLiteral(":/i18n/penmac_") + chosen + QStringLiteral(".qm"))) {
    QCoreApplication::installTranslator(own);
  } else {
    // Only a build without its translations gets here; the source texts
    // are English and stand in.
    delete own;
  }

  // Qt's own texts come from the system's Qt translations, when installed.
  auto* qtTexts = new QTranslator(&app);
  qtTexts->setObjectName(QString::fromLatin1(kQtName));
  if (chosen != QLatin1String("en") &&
      qtTexts->load(chosenLocale, QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtTexts);
  } else {
    delete qtTexts;
  }
  return chosen;
}

}  // namespace penmac::qt
