#pragma once
// Answers the export dialog the next time one opens: types a file name and
// accepts, as a user would. The dialog is modal, so the answer is queued
// before the key that opens it is pressed.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

namespace varnik::test {

// Gives up after `tries` looks, so that a dialog that never opens leaves no
// answer behind for a later test.
inline void AnswerNextFileDialog(const QString& path, int tries = 50) {
  QTimer::singleShot(10, [path, tries] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (tries > 1) AnswerNextFileDialog(path, tries - 1);  // not open yet
      return;
    }
    dialog->selectFile(path);
    // selectFile leaves the name box alone while it has the focus, and
    // whether it has it by now depends on how soon the window was
    // activated: type the name into the box as well.
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

}  // namespace varnik::test
