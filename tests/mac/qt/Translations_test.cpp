#include "mac/qt/Translations.h"

#include <gtest/gtest.h>

#include <QTranslator>
#include <string>

#include "mac/USBDelegate.h"
#include "mac/qt/QtApp.h"
#include "mac/qt/Tr.h"

namespace penmac::qt {
namespace {

// As text in a failure's message (a QString prints as its code units).
std::string Shown(const char* text) { return Tr(text).toStdString(); }

// Each case leaves the application in English, as the other tests expect it.
struct EnglishAfterwards {
  ~EnglishAfterwards() { InstallTranslator(test::QtApp(), QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST(Translations, AGermanSystemGetsTheGermanTexts) {
  auto& app = test::QtApp();
  EnglishAfterwards restore;
  EXPECT_EQ(InstallTranslator(app, QLocale(QStringLiteral("de_DE"))), QStringLiteral("de"));
  EXPECT_EQ(Shown("Exit Driver!"), "Treiber beenden!");
  EXPECT_EQ(Shown("Tablet Driver will Exit! \n Please Save Config First!"),
            "Der Tablett-Treiber wird beendet! \n Bitte zuerst die Konfiguration speichern!");
  // The core's name of the tablet while none is connected, shown as it comes.
  EXPECT_EQ(Shown(kTabletDisconnected), "Tablett nicht verbunden!");
}

TEST(Translations, EachShippedLanguageIsBuiltInAndChineseFollowsItsScript) {
  auto& app = test::QtApp();
  EnglishAfterwards restore;
  struct Case {
    const char* locale;
    const char* chosen;
    const char* exitDriver;
  };
  const Case cases[] = {
      {"fr_FR", "fr", "Quitter le pilote !"},
      {"fr_CA", "fr", "Quitter le pilote !"},
      {"es_MX", "es", "¡Salir del controlador!"},
      {"de_AT", "de", "Treiber beenden!"},
      {"zh_CN", "zh_CN", "退出驱动！"},
      {"zh_SG", "zh_CN", "退出驱动！"},
      {"zh_TW", "zh_TW", "結束驅動程式！"},
      {"zh_HK", "zh_TW", "結束驅動程式！"},
      {"zh_Hant_CN", "zh_TW", "結束驅動程式！"},
      {"en_GB", "en", "Exit Driver!"},
      // No translation of its own: English.
      {"ja_JP", "en", "Exit Driver!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(InstallTranslator(app, QLocale(QString::fromLatin1(c.locale))).toStdString(), c.chosen);
    EXPECT_EQ(Shown("Exit Driver!"), c.exitDriver);
  }
}

TEST(Translations, AnotherLanguageReplacesTheOneInstalledBefore) {
  auto& app = test::QtApp();
  EnglishAfterwards restore;
  InstallTranslator(app, QLocale(QStringLiteral("de_DE")));
  ASSERT_EQ(Shown("Cancel"), "Abbrechen");
  EXPECT_EQ(InstallTranslator(app, QLocale(QStringLiteral("ja_JP"))), QStringLiteral("en"));
  EXPECT_EQ(Shown("Cancel"), "Cancel");
  // German is gone, not only hidden behind English: a switch of language
  // must not pile up translators for each earlier choice.
  QStringList languages;
  for (const auto* t : app.findChildren<QTranslator*>()) languages << t->language();
  EXPECT_EQ(languages.join(u' ').toStdString(), "en");
}

}  // namespace
}  // namespace penmac::qt
