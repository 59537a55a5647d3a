// The vector editor speaks the language of the user's locale: ctest runs this
// program under a Russian and under an English locale, and
// VARNIK_TEST_LANGUAGE says which texts to expect.

#include <QTest>

#include "VecWindowTestUtil.h"
#include "platform/gui/uInterfaceTranslations.h"

using namespace varnik;
using namespace varnik::test;

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void captionsAreInTheLanguageOfTheLocale() {
    QVERIFY2(qEnvironmentVariableIsSet("VARNIK_TEST_LANGUAGE"), "run by ctest, which sets the locale");
    const bool english = qEnvironmentVariable("VARNIK_TEST_LANGUAGE") == QStringLiteral("English");
    const TInterfaceTranslations translations(UserInterfaceLanguage());
    std::unique_ptr<MainForm> form = StartWindow({});
    QVERIFY(form);
    QVERIFY(CommandButton(*form, QString::fromUtf8(english ? "Export..." : "Экспорт...")) != nullptr);
    // The captions written in English stay, and so do the commands the
    // column inserts into the text.
    QVERIFY(ToolButton(*form, QStringLiteral("Open")) != nullptr);
    QVERIFY(CommandButton(*form, QStringLiteral("PenColor ")) != nullptr);
  }
};

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
