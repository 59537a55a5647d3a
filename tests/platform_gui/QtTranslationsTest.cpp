// Qt's own texts in the interface's language: the buttons of a question.

#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "platform/gui/uQtTranslations.h"

class QtTranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void questionButtonsReadRussianWhileInstalled() {
    auto buttons = [] {
      QMessageBox box(QMessageBox::Question, QString(), QStringLiteral("Save?"),
                      QMessageBox::Yes | QMessageBox::No);
      return box.button(QMessageBox::Yes)->text() + "|" + box.button(QMessageBox::No)->text();
    };
    {
      const varnik::TQtTranslations translations;
      QVERIFY(translations.Loaded());
      QCOMPARE(buttons(), QStringLiteral("&Да|&Нет"));
    }
    QCOMPARE(buttons(), QStringLiteral("&Yes|&No"));
  }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
