#include "platform/gui/uMessageBoxSink.h"

#include <QMessageBox>
#include <QWidget>

#include "platform/gui/uWindowCaption.h"
#include "platform/uQtText.h"

namespace varnik {

TMessageBoxSink::TMessageBoxSink(QWidget* parent, std::string caption)
    : parent_(parent), caption_(std::move(caption)) {}

void TMessageBoxSink::Show(const std::string& text, TMessageStyle style) {
  QMessageBox box(style == TMessageStyle::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                  ToQString(caption_), ToQString(text), QMessageBox::Ok, parent_);
  KeepEmptyCaptionEmpty(box);
  if (style == TMessageStyle::Foreground) {
    box.show();
    box.raise();
    box.activateWindow();
  }
  box.exec();
}

bool TMessageBoxSink::Ask(const std::string& text) {
  QMessageBox box(QMessageBox::Question, ToQString(caption_), ToQString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  KeepEmptyCaptionEmpty(box);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace varnik
